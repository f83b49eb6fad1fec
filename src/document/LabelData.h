#pragma once
// The label document: sheets, each with its own paper and cards, and the
// document-wide values, kept in a working copy (a compound file in memory).
// Only the current sheet's settings are held in memory; cards never are:
// callers load a card into an object list and save it back.
#include "base/Component.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

namespace vellum {

class TDOList;
class TOwnedDOList;
class TDocStorage;
class TDocStorageList;
class TDocStreamList;
class TExMeishiInfo;
class TExPaperInfo;
class TImagePaperInfo;
class TGrid;
class TGuide;
class TPaperInfo;
class TPictureEx;
class TProfileInfo2;
class TStream;
class TStringList;
class TTemporaryStorage;

class TLabelData : public TComponent {
    VELLUM_CLASS(TLabelData)

public:
    // A new document: sheets 表面 and 裏面, sheet 0 current, not modified.
    explicit TLabelData(TComponent* owner = nullptr);
    ~TLabelData() override;

    // --- sheets
    int SheetCount() const;
    int CurrentSheet() const;
    // The current sheet's storage path relative to the root.
    QString SheetPath() const;
    void SwitchSheet(int i);
    // nameFormat holds one %d.
    void AddSheet(const QString& nameFormat);
    void AddNewSheet();
    void CopySheet();
    void DeleteSheet(int i);
    void MoveSheet(int to);
    void GetSheetNames(TStringList& names);
    void SaveSheetState();
    void LoadSheetState();

    // --- values of the current sheet ("Info")
    TGuide& Guide() const;
    TGrid& Grid() const;
    const QString& SheetName() const;
    void SetSheetName(const QString& name);
    bool SeparatelyDesign() const;
    void SetSeparatelyDesign(bool value);
    int32_t CurrentLabelNo() const;
    void SetCurrentLabelNo(int32_t value);
    const QString& DataIDType() const;
    void SetDataIDType(const QString& value);
    int32_t DataIDVer() const;
    void SetDataIDVer(int32_t value);

    // --- paper
    TPaperInfo* Paper() const;
    // Keeps a clone; surplus cards are dropped.
    void SetPaper(const TPaperInfo* paper);
    // The same, and every face's preview is deleted.
    void SetPaperAndClearPreviews(const TPaperInfo* paper);
    bool IsSheetLandscape(int i);
    // The current sheet's extra paper records, empty when its paper has none.
    TExPaperInfo& ExtraPaperInfo() const;
    TImagePaperInfo& ImagePaperInfo() const;
    TExMeishiInfo& ExtraCardInfo() const;
    // Each takes a copy of the value, or empties the record for none.
    void SetExtraPaperInfo(const TExPaperInfo* value);
    void SetImagePaperInfo(const TImagePaperInfo* value);
    void SetExtraCardInfo(const TExMeishiInfo* value);

    // --- cards
    // Index 0 while the sheet is not designed separately. With create set,
    // the card list grows up to i, the stream is created empty and the
    // card's preview is deleted; else the stream is opened for reading when
    // it exists (decompressed into memory with decompress set).
    std::unique_ptr<TStream> CardStream(int i, bool create, bool decompress);
    bool HasCard(int i);
    // Appends the card's objects, in stream order.
    void LoadCard(int i, TOwnedDOList& list);
    // Writes the list last to first.
    void SaveCard(int i, const TDOList& list);
    void ClearCard(int i);
    void DropSurplusCards();
    bool IsCardCompressed(int i);
    void CompressCard(int i);

    // --- previews (one picture per card, index 0 while not designed separately)
    // For writing, the preview list grows up to i and the stream is created;
    // for reading, none when the stream does not exist.
    std::unique_ptr<TStream> PreviewStream(int i, bool forReading);
    bool HasPreview(int i);
    void DeletePreview(int i);
    // Draws the card into a PNG picture that fits 200 x 200 pixels, when the
    // card has objects and no preview yet.
    void MakePreview(int i);
    // Reads the preview of a card of a document file, without a working
    // copy; false (picture unchanged) when there is none or it is unreadable.
    static bool ReadPreviewFromFile(const QString& fileName, int sheet, int card, TPictureEx& picture);

    // --- document-wide values
    const QString& DataName() const;
    void SetDataName(const QString& name);
    bool SheetMode() const;
    void SetSheetMode(bool value);
    int32_t DataVersion() const;
    double LastPrint() const;
    void SetLastPrint(double value);
    double LastSave() const;
    void SetLastSave(double value);
    double OpenTime() const;
    // The profile the document was designed with.
    TProfileInfo2& Profile() const;
    void SetProfile(const TProfileInfo2& profile);
    // The loaded profile had the older field layout (its fields, and the
    // cards' references to them, were renumbered).
    bool OlderProfileLayout() const;
    bool Modified() const;
    void SetModified(bool value);

    // --- whole document
    // The file on disk is replaced only once everything was written.
    void Save(const QString& fileName);
    // A failed load leaves the document as it was.
    void Load(const QString& fileName);

    // Reads a first-version document from the file's bytes (unpacked when
    // the file was compressed) into doc, which then is a new document with
    // a front and a back; raises when it cannot. Load hands it the files
    // named "*.xva" or "*.xvb" and the files it cannot read itself.
    using TVersion1Converter = std::function<void(TLabelData& doc, TStream& file)>;
    // Installed by the converter; an empty one leaves such files unreadable.
    static void SetVersion1Converter(TVersion1Converter converter);

    // The program's data version (major × 100 + minor).
    static int32_t ProgramDataVersion();

private:
    struct TContent;
    struct TBare {};
    // A holder of sheet values without a working copy.
    TLabelData(TComponent* owner, TBare);
    void AddSheetNamed(const std::function<QString(int)>& nameOf);
    QString ReadSheetName(int i) const;
    // Copies the values stored in a sheet's Info.
    void TakeSheetValues(const TLabelData& from);
    // Replaces the objects of retired kinds on every card of every sheet.
    void Upgrade();
    // Moves the profile fields cards refer to from the older field layout.
    void RenumberProfileFields();
    // Loads every card of every sheet and saves those change reports as
    // changed; the sheet current before is current again.
    void RewriteEveryCard(const std::function<bool(TOwnedDOList&)>& change);
    void InitNew();
    void LoadFrom(const QString& fileName);
    // Reads a compound document, from image when given; true when its data
    // version needs no upgrade.
    bool ReadCompoundDocument(const QString& fileName, const QByteArray* image);
    void OpenSheetList();
    std::unique_ptr<TDocStorage> SheetStorage() const;
    std::unique_ptr<TDocStreamList> CardList() const;
    // None when the sheet has no preview list and create is not set.
    std::unique_ptr<TDocStreamList> PreviewList(bool create) const;
    // A new empty stream for card item k, its preview untouched.
    std::unique_ptr<TStream> NewCardStream(int k);
    int CardIndex(int i) const;
    // The faces from 0 whose card or preview items can exist, of a list of that many.
    int FacesWithItems(int items) const;
    void MakeCurrent(int i);
    std::unique_ptr<TContent> F;
};

} // namespace vellum
