#pragma once
// A paper: a pre-cut sheet with the position, size and shape of every face
// (card) on it. The sheet may be used turned (landscape); faces are defined
// on the upright sheet and turned when placed.

#include "base/Component.h"
#include "paper/FaceInfo.h"
#include "paper/PurposeList.h"

#include <QString>

#include <memory>

namespace vellum {

struct TFaceProps;

class TPaperInfo : public TComponent {
    VELLUM_CLASS(TPaperInfo)
public:
    explicit TPaperInfo(TComponent* owner = nullptr);
    ~TPaperInfo() override;

    virtual int FaceCount() const = 0;
    virtual TFaceShape FaceShape(int i) const;
    // Passed through the purpose validator.
    virtual QString FacePurposeName(int i) const;
    // On the upright sheet, without margin; empty for an index out of range.
    virtual TRect FaceRect(int i) const = 0;
    virtual int32_t FaceMargin(int i) const;
    virtual void CutCenter(int i, int32_t& width, int32_t& height) const;
    virtual int32_t RoundSize(int i) const;
    virtual TCenterShape CenterShape(int i) const;

    // Copies sheet size, names, ReadOnly, Landscape and purposes; the kinds
    // add their own part when the source is of the same kind.
    void Assign(const TPersistent* source) override;
    std::unique_ptr<TPaperInfo> Clone() const;

    int32_t PortraitWidth() const { return FPortraitWidth; }
    int32_t PortraitHeight() const { return FPortraitHeight; }
    void SetPortraitSize(int32_t width, int32_t height) {
        FPortraitWidth = width;
        FPortraitHeight = height;
    }
    // Oriented: with Landscape set, Width is the portrait height and Height the portrait width.
    int32_t Width() const { return FLandscape ? FPortraitHeight : FPortraitWidth; }
    int32_t Height() const { return FLandscape ? FPortraitWidth : FPortraitHeight; }
    void SetWidth(int32_t v) { (FLandscape ? FPortraitHeight : FPortraitWidth) = v; }
    void SetHeight(int32_t v) { (FLandscape ? FPortraitWidth : FPortraitHeight) = v; }
    const QString& PaperName() const { return FPaperName; }
    void SetPaperName(const QString& name) { FPaperName = name; }
    const QString& GroupName() const { return FGroupName; }
    void SetGroupName(const QString& name) { FGroupName = name; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    bool Landscape() const { return FLandscape; }
    void SetLandscape(bool v) { FLandscape = v; }
    TPurposeList& PurposeList() const { return *FPurposeList; }
    // While set, streaming writes the purpose list (a catalogue sets it to store the paper).
    bool StorePurposes() const { return FStorePurposes; }
    void SetStorePurposes(bool v) { FStorePurposes = v; }

    // FaceRect enlarged by the margin, turned when Landscape.
    TRect FacePlacedRect(int i) const;
    void GetFaceInfo(int i, TFaceInfo& info) const;
    // The first face whose placed rectangle leaves (0, 0, Width, Height); -1 when all fit.
    int FirstFaceOutside() const;
    // The first face whose region (margin included, no hole) meets the faces before it; -1 when none.
    int FirstOverlappingFace() const;
    // The upright rectangle turned a quarter counter-clockwise when Landscape.
    TRect Oriented(const TRect& r) const;

protected:
    // The face description of face i, null out of range.
    virtual const TFaceProps* FaceProps(int i) const = 0;

private:
    int32_t FPortraitWidth = 0;
    int32_t FPortraitHeight = 0;
    QString FPaperName;
    QString FGroupName;
    bool FReadOnly = false;
    bool FLandscape = false;
    std::unique_ptr<TPurposeList> FPurposeList;
    bool FStorePurposes = false;
};

} // namespace vellum
