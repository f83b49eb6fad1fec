#pragma once
// An image paper: a paper sold with a pre-printed design. For each card
// position it keeps a list of drawing objects that shows that design under
// the user's objects. The component stream carries the published values
// only; the designs are kept in a storage of their own, one stream each.

#include "paper/ExtraPaperInfo.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vellum {

class TDocStorage;
class TDOList;
class TOwnedDOList;
class TPaperInfo;

class TImagePaperInfo : public TExtraPaperInfo {
    VELLUM_CLASS(TImagePaperInfo)
public:
    explicit TImagePaperInfo(TComponent* owner = nullptr);
    ~TImagePaperInfo() override;

    // The stream beside the designs that holds the record itself.
    static QString ImageInfoStreamName() { return QStringLiteral("ImageInfo"); }

    bool SeparatelyDesign() const { return FSeparatelyDesign; }
    void SetSeparatelyDesign(bool v) { FSeparatelyDesign = v; }
    // The number of card positions the designs were made for.
    int32_t LabelCount() const { return FLabelCount; }
    void SetLabelCount(int32_t v) { FLabelCount = v; }
    int DesignCount() const { return int(FDesigns.size()); }

    // No design holds an object.
    bool IsEmpty() const override;
    // Frees every design; SeparatelyDesign false, LabelCount 0.
    void Clear() override;
    // The designs must match too, compared in the object-list stream format.
    bool SameAs(const TExtraPaperInfo* other) const override;
    // PaperName, SeparatelyDesign, LabelCount and copies of all designs.
    void Assign(const TPersistent* source) override;

    // Every stream of storage but ImageInfo, in ascending name order, is one
    // design. On a read error the designs held before stay.
    void LoadDesigns(TDocStorage& storage);
    // Replaces every stream of storage but ImageInfo with design i as
    // "$" + 8 hex digits of i + 1.
    void SaveDesigns(TDocStorage& storage) const;

    // Both first empty list; i counts as 0 unless SeparatelyDesign; past
    // the stored designs list stays empty.
    // Copies of design i's objects: list frees what it held and owns them.
    void GetDesign(int i, TOwnedDOList& list) const;
    // The design's own objects: list refers to them, the design owns them.
    void GetDesignRefs(int i, TDOList& list) const;
    // Design i (empty designs appended until it exists) frees the objects it
    // held and takes list's objects. Raises EListError for i < 0.
    void SetDesign(int i, TOwnedDOList list);

private:
    int DesignIndex(int i) const { return FSeparatelyDesign ? i : 0; }

    bool FSeparatelyDesign = true;
    int32_t FLabelCount = 0;
    std::vector<std::unique_ptr<TOwnedDOList>> FDesigns;
};

// Turns the objects of face i's design (card coordinates of the upright
// face) for a landscape sheet, so the design turns with the sheet: an object
// centred at (x, y) ends up centred at about (y, w - x), w the upright face's
// width, and turned a quarter counter-clockwise.
void TurnDesignForLandscape(const TPaperInfo& paper, int face, const TDOList& objects);

} // namespace vellum
