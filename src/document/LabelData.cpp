#include "document/LabelData.h"

#include "base/DateTime.h"
#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Format.h"
#include "base/Stream.h"
#include "base/StringList.h"
#include "core/Capabilities.h"
#include "core/CompressedStream.h"
#include "core/DOGroup.h"
#include "core/DOList.h"
#include "core/DocNameList.h"
#include "core/DocStorage.h"
#include "core/DocStream.h"
#include "core/ObjectHelpers.h"
#include "document/CardObjectHooks.h"
#include "document/DataInfo.h"
#include "document/Grid.h"
#include "document/Guide.h"
#include "document/LDObjects.h"
#include "imaging/PNGImage.h"
#include "imaging/PictureEx.h"
#include "imaging/SafetyBitmap.h"
#include "paper/ExMeishiInfo.h"
#include "paper/ExPaperInfo.h"
#include "paper/ImagePaperInfo.h"
#include "paper/PaperInfo.h"
#include "profile/ProfileInfo.h"
#include "profile/ProfileInfo2.h"
#include "render/CardRenderer.h"

#include <QDateTime>
#include <QFileInfo>
#include <QScopeGuard>
#include <algorithm>
#include <functional>
#include <optional>

namespace vellum {

namespace {

const QString kInfo = QStringLiteral("Info");
const QString kSeparateInfo = QStringLiteral("SeparateInfo");
const QString kPaperInfo = QStringLiteral("PaperInfo");
const QString kPaperExtraInfo = QStringLiteral("PaperExtraInfo");
const QString kExtraMeishiInfo = QStringLiteral("ExtraMeishiInfo");
const QString kPaperImageInfo = QStringLiteral("PaperImageInfo");
const QString kPaperImages = QStringLiteral("PaperImages");
const QString kDataInfo = QStringLiteral("DataInfo");
const QString kProfileInfo2 = QStringLiteral("ProfileInfo2");
const QString kProfileInfo = QStringLiteral("ProfileInfo");
const QString kCardList = QStringLiteral("NameList");
const QString kPreviewList = QStringLiteral("Preview");
const QString kSheetList = QStringLiteral("Sheets\\NameList");
// The program is version 4.0.
constexpr int32_t kProgramDataVersion = 400;
constexpr int kMaxNameTries = 1000;
// Previews fit a square of this many pixels.
constexpr int kPreviewSize = 200;
// Older documents hold objects of retired kinds.
constexpr int32_t kUpgradedVersion = 300;

void WriteFlag(TDocStorage& storage, const QString& path, bool value) {
    TDocStream stream(storage, kModeCreate, path);
    WriteU8(stream, value ? 1 : 0);
}

bool ReadFlag(TDocStorage& storage, const QString& path) {
    TDocStream stream(storage, 0, path);
    return ReadU8(stream) != 0;
}

// A sheet's design mode as stored: the sheet's own flag, else the one of
// the sheet saved last, else separate.
bool StoredSeparatelyDesign(TDocStorage& root, TDocStorage& sheet) {
    if (sheet.StreamExists(kSeparateInfo)) return ReadFlag(sheet, kSeparateInfo);
    return root.StreamExists(kSeparateInfo) ? ReadFlag(root, kSeparateInfo) : true;
}

// Deletes items (and their elements) from the end down to count.
void DropItemsFrom(TDocNameList& list, int count) {
    while (list.Count() > std::max(count, 0)) list.DeleteItem(list.Count() - 1);
}

// A preview stream: a plain bitmap file when it begins with "BM", else the
// stored form of a picture. False for an empty picture.
bool ReadPreview(TStream& stream, TPictureEx& picture) {
    const QByteArray head = stream.ReadBytes(std::min<int64_t>(2, stream.Remaining()));
    stream.SetPosition(0);
    std::unique_ptr<TGraphic> graphic;
    if (head == "BM") {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->LoadFromStream(stream);
        graphic = std::move(bitmap);
    } else {
        TPictureEx read;
        ReadPictureFromStream(read, stream);
        if (read.Empty()) return false;
        graphic = read.Graphic()->Clone();
    }
    if (graphic->Empty()) return false;
    picture.SetGraphic(std::move(graphic));
    return true;
}

// The held record takes the value, or is emptied when there is none.
void AssignOrClear(TExtraPaperInfo& held, const TExtraPaperInfo* value) {
    if (value) {
        held.Assign(value);
        return;
    }
    held.Clear();
    held.SetPaperName(QString());
}

// A sheet's record: written when it holds something, else its stream goes.
void StoreExtraInfo(TDocStorage& sheet, const QString& name, const TExtraPaperInfo& info) {
    if (info.IsEmpty()) {
        sheet.DeleteElement(name);
        return;
    }
    TDocStream stream(sheet, kModeCreate, name);
    WriteComponentRes(stream, name, info);
}

// The component a sheet stores under the name, or none when it has none;
// one of another kind is a damaged stream.
template <class T>
std::unique_ptr<T> ReadStoredComponent(TDocStorage& sheet, const QString& name) {
    if (!sheet.StreamExists(name)) return nullptr;
    TDocStream stream(sheet, 0, name);
    std::unique_ptr<TComponent> read(ReadComponentRes(stream));
    std::unique_ptr<T> info = TakeAs<T>(read);
    if (!info) throw EFilerError(InvalidStreamMessage());
    return info;
}

std::unique_ptr<TDrawObject> Upgraded(TDrawObject& object);

// Upgrades a group's members in place, keeping their order: each leaves
// the group and joins it again at the end, an upgraded one in its stead.
void UpgradeMembers(TDOGroup& group) {
    for (TDrawObject* member : group.Members()) {
        std::unique_ptr<TDrawObject> next = Upgraded(*member);
        std::unique_ptr<TDrawObject> kept = group.Disown(*member);
        group.Adopt(next ? std::move(next) : std::move(kept));
    }
}

// The newest kind of an object offering the upgrade, assigned from it; none
// when the object stays (groups are upgraded inside).
std::unique_ptr<TDrawObject> Upgraded(TDrawObject& object) {
    if (auto* group = dynamic_cast<TDOGroup*>(&object)) {
        UpgradeMembers(*group);
        return nullptr;
    }
    const IDOUpgrade* upgrade = object.Capability<IDOUpgrade>();
    if (!upgrade) return nullptr;
    std::unique_ptr<TLabelObject> next = upgrade->Upgrade();
    if (!next) return nullptr;
    next->Assign(&object);
    return next;
}

TLabelData::TVersion1Converter& Version1Converter() {
    static TLabelData::TVersion1Converter converter;
    return converter;
}

// "xva" and "xvb", the first version's extensions.
bool IsVersion1FileName(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix();
    return suffix.compare(QStringLiteral("xva"), Qt::CaseInsensitive) == 0 ||
           suffix.compare(QStringLiteral("xvb"), Qt::CaseInsensitive) == 0;
}

// A field number of the older layout, which lacked the merge mark and the
// reading: 1 (the name) becomes 2, the later ones move by two, 0 stays.
int FieldNoOfNewerLayout(int fieldNo) {
    if (fieldNo == 1) return 2;
    return fieldNo > 1 ? fieldNo + 2 : fieldNo;
}

// Renumbers the bound objects of a list, group members included; true when
// any changed.
bool RenumberProfileFields(const TDOList& objects, const std::vector<TCardObjectHooks>& hooks) {
    bool changed = false;
    for (TDrawObject* object : objects) {
        if (auto* group = dynamic_cast<TDOGroup*>(object))
            changed |= RenumberProfileFields(TDOList(group->Members()), hooks);
        for (const TCardObjectHooks& hook : hooks) {
            if (!hook.ProfileField || !hook.SetProfileField) continue;
            const std::optional<int> fieldNo = hook.ProfileField(*object);
            if (!fieldNo) continue;
            const int next = FieldNoOfNewerLayout(*fieldNo);
            if (next != *fieldNo) {
                hook.SetProfileField(*object, next);
                changed = true;
            }
            break;
        }
    }
    return changed;
}

} // namespace

struct TLabelData::TContent {
    // Declared first so that the lists on it go first.
    std::unique_ptr<TTemporaryStorage> Storage;
    std::unique_ptr<TDocStorageList> Sheets;
    int CurrentSheet = -1;
    bool Modified = false;
    std::unique_ptr<TGuide> Guide = std::make_unique<TGuide>();
    std::unique_ptr<TGrid> Grid = MakeGrid();
    int32_t CurrentLabelNo = 0;
    bool SeparatelyDesign = true;
    QString SheetName;
    QString DataIDType;
    int32_t DataIDVer = 0;
    std::unique_ptr<TPaperInfo> Paper;
    std::unique_ptr<TExPaperInfo> ExtraPaperInfo = std::make_unique<TExPaperInfo>();
    std::unique_ptr<TImagePaperInfo> ImagePaperInfo = EmptyImagePaperInfo();
    std::unique_ptr<TExMeishiInfo> ExtraCardInfo = std::make_unique<TExMeishiInfo>();
    QString DataName;
    bool SheetMode = false;
    int32_t DataVersion = 0;
    double LastPrint = 0;
    double LastSave = 0;
    double OpenTime = 0;
    std::unique_ptr<TProfileInfo2> Profile = std::make_unique<TProfileInfo2>();
    // The profile read had the field layout before the merge mark and the reading.
    bool OlderProfileLayout = false;

    static std::unique_ptr<TImagePaperInfo> EmptyImagePaperInfo() {
        auto info = std::make_unique<TImagePaperInfo>();
        info->Clear();
        return info;
    }

    // A new document's grid: 5 mm.
    static std::unique_ptr<TGrid> MakeGrid() {
        auto grid = std::make_unique<TGrid>();
        grid->SetSize(50);
        return grid;
    }
};

const TClassInfo& TLabelData::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TLabelData, TComponent>("TLabelData", [](auto& b) {
        b.Owned("Guide", TPropKind::Object, [](const TLabelData& o) { return &o.Guide(); });
        b.Owned("Grid", TPropKind::Object, [](const TLabelData& o) { return &o.Grid(); });
        b.Integer("CurrentLabelNo", &TLabelData::CurrentLabelNo, &TLabelData::SetCurrentLabelNo);
        b.Boolean("SeparatelyDesign", &TLabelData::SeparatelyDesign, &TLabelData::SetSeparatelyDesign);
        b.String("SheetName", &TLabelData::SheetName, &TLabelData::SetSheetName);
        b.String("DataIDType", &TLabelData::DataIDType, &TLabelData::SetDataIDType);
        b.Integer("DataIDVer", &TLabelData::DataIDVer, &TLabelData::SetDataIDVer);
    });
    return info;
}

TLabelData::TLabelData(TComponent* owner) : TComponent(owner), F(std::make_unique<TContent>()) { InitNew(); }

TLabelData::~TLabelData() = default;

int32_t TLabelData::ProgramDataVersion() { return kProgramDataVersion; }

void TLabelData::InitNew() {
    F->Storage = std::make_unique<TTemporaryStorage>();
    OpenSheetList();
    F->DataVersion = kProgramDataVersion;
    F->Profile->Clear();
    F->SeparatelyDesign = true;
    F->LastPrint = F->LastSave = F->OpenTime = NowDateTime();
    AddNewSheet();
    SetSheetName(QStringLiteral("表面"));
    SaveSheetState();
    AddNewSheet();
    SetSheetName(QStringLiteral("裏面"));
    SaveSheetState();
    SwitchSheet(0);
    F->Modified = false;
}

void TLabelData::OpenSheetList() {
    F->Sheets.reset();
    F->Sheets = std::make_unique<TDocStorageList>(*F->Storage, kSheetList);
}

// --- sheets

int TLabelData::SheetCount() const { return F->Sheets->Count(); }

int TLabelData::CurrentSheet() const { return F->CurrentSheet; }

QString TLabelData::SheetPath() const {
    if (F->CurrentSheet < 0) return QString();
    return F->Sheets->ItemPath(F->CurrentSheet);
}

std::unique_ptr<TDocStorage> TLabelData::SheetStorage() const {
    if (F->CurrentSheet < 0) throw EListError(QStringLiteral("No sheet is current"));
    return F->Sheets->OpenItemStorage(F->CurrentSheet, true);
}

void TLabelData::MakeCurrent(int i) {
    if (i < 0 || i >= SheetCount())
        throw EListError(Format(QStringLiteral("リストのインデックスが範囲を超えています (%d)"), i));
    F->CurrentSheet = i;
}

void TLabelData::SwitchSheet(int i) {
    if (i == F->CurrentSheet) return;
    SaveSheetState();
    const int previous = F->CurrentSheet;
    MakeCurrent(i);
    // Memory still holds the previous sheet's values when loading fails: it
    // stays current, or they would be stored over the sheet that failed.
    auto stay = qScopeGuard([this, previous] { F->CurrentSheet = previous; });
    LoadSheetState();
    stay.dismiss();
}

void TLabelData::AddSheet(const QString& nameFormat) {
    AddSheetNamed([&nameFormat](int j) { return Format(nameFormat, j); });
}

void TLabelData::AddNewSheet() { AddSheet(QStringLiteral("新規シート%d")); }

void TLabelData::AddSheetNamed(const std::function<QString(int)>& nameOf) {
    // The current sheet's unsaved settings would be lost otherwise.
    SaveSheetState();
    TStringList names;
    GetSheetNames(names);
    const int index = F->Sheets->AddNew();
    F->CurrentSheet = -1;
    SwitchSheet(index);
    QString name;
    for (int j = 1; j <= kMaxNameTries + 1; ++j) {
        name = nameOf(j);
        bool taken = false;
        for (const QString& other : names.Items())
            if (other.compare(name, Qt::CaseInsensitive) == 0) taken = true;
        if (!taken) break;
    }
    SetSheetName(name);
    F->Modified = true;
}

void TLabelData::CopySheet() {
    if (F->CurrentSheet < 0) return;
    SaveSheetState();
    const QString sourcePath = SheetPath();
    const QString sourceName = F->SheetName;
    // Built by concatenation: the name may hold a "%".
    AddSheetNamed(
        [&sourceName](int j) { return sourceName + QStringLiteral("のコピー") + QString::number(j); });
    TDocStorage source(*F->Storage, false, sourcePath);
    source.CopyTo(*SheetStorage());
    // The copied Info carries the source's name: store the new one.
    SaveSheetState();
}

void TLabelData::DeleteSheet(int i) {
    const int previous = F->CurrentSheet;
    F->Sheets->DeleteItem(i);
    F->CurrentSheet = -1;
    F->Modified = true;
    if (SheetCount() == 0) return;
    MakeCurrent(std::min(previous, SheetCount() - 1));
    // When loading fails, the values in memory belong to no sheet.
    auto none = qScopeGuard([this] { F->CurrentSheet = -1; });
    LoadSheetState();
    none.dismiss();
}

void TLabelData::MoveSheet(int to) {
    if (to == F->CurrentSheet) return;
    if (to < 0 || to >= SheetCount())
        throw EListError(Format(QStringLiteral("リストのインデックスが範囲を超えています (%d)"), to));
    SaveSheetState();
    QStringList items = F->Sheets->Items();
    items.move(F->CurrentSheet, to);
    F->Sheets->SetItems(items);
    F->CurrentSheet = to;
    LoadSheetState();
    F->Modified = true;
}

void TLabelData::GetSheetNames(TStringList& names) {
    // Read from the stored states, the current sheet's from memory.
    for (int i = 0; i < SheetCount(); ++i) {
        if (i == F->CurrentSheet) {
            names.Add(F->SheetName);
            continue;
        }
        names.Add(ReadSheetName(i));
    }
}

QString TLabelData::ReadSheetName(int i) const {
    std::unique_ptr<TDocStorage> sheet = F->Sheets->OpenItemStorage(i, true);
    if (!sheet->StreamExists(kInfo)) return QString();
    // A bare holder of the sheet values: no working copy of its own.
    TLabelData holder(nullptr, TBare{});
    TDocStream stream(*sheet, 0, kInfo);
    ReadComponentRes(stream, &holder);
    return holder.F->SheetName;
}

TLabelData::TLabelData(TComponent* owner, TBare) : TComponent(owner), F(std::make_unique<TContent>()) {}

void TLabelData::SaveSheetState() {
    if (F->CurrentSheet < 0) return;
    std::unique_ptr<TDocStorage> sheet = SheetStorage();
    {
        TDocStream stream(*sheet, kModeCreate, kInfo);
        WriteComponentRes(stream, kInfo, *this);
    }
    WriteFlag(*F->Storage, kSeparateInfo, F->SeparatelyDesign);
    WriteFlag(*sheet, kSeparateInfo, F->SeparatelyDesign);
    if (F->Paper) {
        TDocStream stream(*sheet, kModeCreate, kPaperInfo);
        WriteComponentRes(stream, kPaperInfo, *F->Paper);
    }
    StoreExtraInfo(*sheet, kPaperExtraInfo, *F->ExtraPaperInfo);
    StoreExtraInfo(*sheet, kExtraMeishiInfo, *F->ExtraCardInfo);
    StoreExtraInfo(*sheet, kPaperImageInfo, *F->ImagePaperInfo);
    if (F->ImagePaperInfo->IsEmpty()) {
        sheet->DeleteElement(kPaperImages);
    } else {
        TDocStorage images(*sheet, true, kPaperImages);
        F->ImagePaperInfo->SaveDesigns(images);
    }
}

void TLabelData::LoadSheetState() {
    if (F->CurrentSheet < 0) return;
    const bool modified = F->Modified;
    const auto keepModified = qScopeGuard([this, modified] { F->Modified = modified; });
    // Everything is read before anything is taken: a damaged stream
    // leaves the sheet values in memory as they were.
    std::unique_ptr<TDocStorage> sheet = SheetStorage();
    std::unique_ptr<TLabelData> values;
    bool separatelyDesign = F->SeparatelyDesign;
    const bool stored = sheet->StreamExists(kInfo);
    if (stored) {
        // Values the stream leaves out keep theirs.
        values.reset(new TLabelData(nullptr, TBare{}));
        values->TakeSheetValues(*this);
        TDocStream stream(*sheet, 0, kInfo);
        ReadComponentRes(stream, values.get());
        separatelyDesign = StoredSeparatelyDesign(*F->Storage, *sheet);
    }
    std::unique_ptr<TPaperInfo> paper = ReadStoredComponent<TPaperInfo>(*sheet, kPaperInfo);
    std::unique_ptr<TExPaperInfo> extra = ReadStoredComponent<TExPaperInfo>(*sheet, kPaperExtraInfo);
    std::unique_ptr<TExMeishiInfo> card = ReadStoredComponent<TExMeishiInfo>(*sheet, kExtraMeishiInfo);
    std::unique_ptr<TImagePaperInfo> image = ReadStoredComponent<TImagePaperInfo>(*sheet, kPaperImageInfo);
    if (image && sheet->StorageExists(kPaperImages)) {
        TDocStorage images(*sheet, false, kPaperImages);
        image->LoadDesigns(images);
    }

    if (values) TakeSheetValues(*values);
    F->SeparatelyDesign = separatelyDesign;
    // A sheet without a stored state takes over the records in memory;
    // one with a state has none but those it stores.
    if (extra || stored) F->ExtraPaperInfo = extra ? std::move(extra) : std::make_unique<TExPaperInfo>();
    if (card || stored) F->ExtraCardInfo = card ? std::move(card) : std::make_unique<TExMeishiInfo>();
    if (image || stored) F->ImagePaperInfo = image ? std::move(image) : TContent::EmptyImagePaperInfo();
    // A sheet without a paper of its own takes over the one in memory.
    if (paper) SetPaper(paper.get());
}

void TLabelData::TakeSheetValues(const TLabelData& from) {
    F->Guide->Assign(from.F->Guide.get());
    F->Grid->Assign(from.F->Grid.get());
    F->CurrentLabelNo = from.F->CurrentLabelNo;
    F->SeparatelyDesign = from.F->SeparatelyDesign;
    F->SheetName = from.F->SheetName;
    F->DataIDType = from.F->DataIDType;
    F->DataIDVer = from.F->DataIDVer;
}

// --- values of the current sheet

const QString& TLabelData::SheetName() const { return F->SheetName; }

void TLabelData::SetSheetName(const QString& name) {
    if (name == F->SheetName) return;
    F->SheetName = name;
    F->Modified = true;
}

bool TLabelData::SeparatelyDesign() const { return F->SeparatelyDesign; }

void TLabelData::SetSeparatelyDesign(bool value) {
    if (value == F->SeparatelyDesign) return;
    F->SeparatelyDesign = value;
    F->Modified = true;
}

TGuide& TLabelData::Guide() const { return *F->Guide; }
TGrid& TLabelData::Grid() const { return *F->Grid; }
int32_t TLabelData::CurrentLabelNo() const { return F->CurrentLabelNo; }
void TLabelData::SetCurrentLabelNo(int32_t value) { F->CurrentLabelNo = value; }
const QString& TLabelData::DataIDType() const { return F->DataIDType; }
void TLabelData::SetDataIDType(const QString& value) { F->DataIDType = value; }
int32_t TLabelData::DataIDVer() const { return F->DataIDVer; }
void TLabelData::SetDataIDVer(int32_t value) { F->DataIDVer = value; }

// --- paper

TPaperInfo* TLabelData::Paper() const { return F->Paper.get(); }

void TLabelData::SetPaper(const TPaperInfo* paper) {
    F->Paper = paper ? paper->Clone() : nullptr;
    DropSurplusCards();
    F->Modified = true;
}

void TLabelData::SetPaperAndClearPreviews(const TPaperInfo* paper) {
    SetPaper(paper);
    // Every item, also those a shared design does not use now: each would
    // show the old paper once the cards are designed separately again.
    if (std::unique_ptr<TDocStreamList> previews = PreviewList(false))
        for (int k = 0; k < previews->Count(); ++k) F->Storage->DeleteElement(previews->ItemPath(k));
}

TExPaperInfo& TLabelData::ExtraPaperInfo() const { return *F->ExtraPaperInfo; }
TImagePaperInfo& TLabelData::ImagePaperInfo() const { return *F->ImagePaperInfo; }
TExMeishiInfo& TLabelData::ExtraCardInfo() const { return *F->ExtraCardInfo; }

void TLabelData::SetExtraPaperInfo(const TExPaperInfo* value) {
    AssignOrClear(*F->ExtraPaperInfo, value);
    F->Modified = true;
}

void TLabelData::SetImagePaperInfo(const TImagePaperInfo* value) {
    AssignOrClear(*F->ImagePaperInfo, value);
    F->Modified = true;
}

void TLabelData::SetExtraCardInfo(const TExMeishiInfo* value) {
    AssignOrClear(*F->ExtraCardInfo, value);
    F->Modified = true;
}

bool TLabelData::IsSheetLandscape(int i) {
    std::unique_ptr<TDocStorage> sheet = F->Sheets->OpenItemStorage(i, true);
    if (!sheet->StreamExists(kPaperInfo)) return false;
    TDocStream stream(*sheet, 0, kPaperInfo);
    std::unique_ptr<TComponent> read(ReadComponentRes(stream));
    auto* paper = dynamic_cast<TPaperInfo*>(read.get());
    return paper && paper->Landscape();
}

// --- cards

int TLabelData::CardIndex(int i) const { return F->SeparatelyDesign ? i : 0; }

int TLabelData::FacesWithItems(int items) const {
    // A damaged paper may claim millions of faces; only those with an item count.
    const int faces = F->Paper ? F->Paper->FaceCount() : 0;
    return std::min({faces, items, F->SeparatelyDesign ? faces : 1});
}

std::unique_ptr<TDocStreamList> TLabelData::CardList() const {
    return std::make_unique<TDocStreamList>(*F->Storage, SheetPath() + u'\\' + kCardList);
}

std::unique_ptr<TStream> TLabelData::CardStream(int i, bool create, bool decompress) {
    if (i < 0) throw EListError(Format(QStringLiteral("リストのインデックスが範囲を超えています (%d)"), i));
    const int k = CardIndex(i);
    std::unique_ptr<TDocStreamList> list = CardList();
    if (create) {
        // Whatever is written next makes the preview stale.
        DeletePreview(i);
        return NewCardStream(k);
    }
    if (k >= list->Count() || !list->ItemStreamExists(k)) return nullptr;
    auto stream = std::make_unique<TDocStream>(*F->Storage, 0, list->ItemPath(k));
    int32_t length = 0;
    if (!decompress || !IsCompressed(*stream, length)) {
        stream->SetPosition(0);
        return stream;
    }
    auto data = std::make_unique<TMemoryStream>();
    DecompressTo(*stream, *data, length);
    data->SetPosition(0);
    return data;
}

std::unique_ptr<TStream> TLabelData::NewCardStream(int k) {
    std::unique_ptr<TDocStreamList> list = CardList();
    while (list->Count() <= k) list->AddNew();
    return std::make_unique<TDocStream>(*F->Storage, kModeCreate, list->ItemPath(k));
}

bool TLabelData::HasCard(int i) {
    std::unique_ptr<TStream> stream = CardStream(i, false, false);
    return stream && stream->Size() > 0;
}

void TLabelData::LoadCard(int i, TOwnedDOList& list) {
    std::unique_ptr<TStream> stream = CardStream(i, false, true);
    if (!stream || stream->Size() == 0) return;
    std::unique_ptr<TComponent> read(ReadComponentRes(*stream));
    auto* objects = dynamic_cast<TLDObjects*>(read.get());
    if (!objects) throw EFilerError(InvalidStreamMessage());
    TOwnedDOList taken;
    objects->TakeObjects(taken);
    // Each object is fixed up as it joins: what a fix-up inserts is never
    // fixed up as if it had been read.
    const std::vector<TCardObjectHooks> hooks = InstalledCardObjectHooks();
    TOwnedDOList loaded;
    for (std::unique_ptr<TDrawObject>& owned : taken.TakeAll()) {
        TDrawObject* object = &loaded.Give(std::move(owned));
        for (const TCardObjectHooks& hook : hooks)
            if (hook.Loaded && object) hook.Loaded(*this, i, loaded, object);
    }
    // Coordinates inside a card are relative to its placed rectangle.
    if (F->Paper) {
        const TRect face = F->Paper->FacePlacedRect(i);
        if (!face.IsEmpty()) KeepObjectsInside(loaded, TRect{0, 0, face.Width(), face.Height()});
    }
    for (std::unique_ptr<TDrawObject>& object : loaded.TakeAll()) list.Give(std::move(object));
}

void TLabelData::SaveCard(int i, const TDOList& list) {
    // Creating the stream also deletes the card's preview.
    std::unique_ptr<TStream> stream = CardStream(i, true, false);
    bool storesNothing = list.Empty();
    for (const TCardObjectHooks& hook : InstalledCardObjectHooks())
        if (hook.StoresNothing && hook.StoresNothing(list)) storesNothing = true;
    if (!storesNothing) {
        const TLDObjects holder(list);
        WriteComponentRes(*stream, QStringLiteral("LabelData"), holder);
    }
    F->Modified = true;
}

void TLabelData::ClearCard(int i) {
    std::unique_ptr<TDocStreamList> list = CardList();
    const int k = CardIndex(i);
    if (k >= 0 && k < list->Count()) F->Storage->DeleteElement(list->ItemPath(k));
    DeletePreview(i);
    F->Modified = true;
}

void TLabelData::DropSurplusCards() {
    if (!F->Paper || F->CurrentSheet < 0) return;
    DropItemsFrom(*CardList(), F->Paper->FaceCount());
    // A preview left beyond the faces would show on a card made there later.
    if (std::unique_ptr<TDocStreamList> previews = PreviewList(false))
        DropItemsFrom(*previews, F->Paper->FaceCount());
}

bool TLabelData::IsCardCompressed(int i) {
    std::unique_ptr<TStream> stream = CardStream(i, false, false);
    int32_t length = 0;
    return stream && IsCompressed(*stream, length);
}

void TLabelData::CompressCard(int i) {
    if (IsCardCompressed(i)) return;
    std::unique_ptr<TStream> stream = CardStream(i, false, false);
    if (!stream) return;
    TMemoryStream data(stream->ReadAll());
    stream.reset();
    if (data.Size() == 0) return;
    // The same card: its preview stays.
    std::unique_ptr<TStream> packed = NewCardStream(CardIndex(i));
    CompressTo(data, *packed);
}

// --- previews

std::unique_ptr<TDocStreamList> TLabelData::PreviewList(bool create) const {
    const QString path = SheetPath() + u'\\' + kPreviewList;
    if (!create && !F->Storage->StreamExists(path)) return nullptr;
    return std::make_unique<TDocStreamList>(*F->Storage, path);
}

std::unique_ptr<TStream> TLabelData::PreviewStream(int i, bool forReading) {
    if (i < 0) throw EListError(Format(QStringLiteral("リストのインデックスが範囲を超えています (%d)"), i));
    const int k = CardIndex(i);
    std::unique_ptr<TDocStreamList> list = PreviewList(!forReading);
    if (!forReading) {
        while (list->Count() <= k) list->AddNew();
        return std::make_unique<TDocStream>(*F->Storage, kModeCreate, list->ItemPath(k));
    }
    if (!list || !list->ItemStreamExists(k)) return nullptr;
    return std::make_unique<TDocStream>(*F->Storage, 0, list->ItemPath(k));
}

bool TLabelData::HasPreview(int i) {
    std::unique_ptr<TStream> stream = PreviewStream(i, true);
    return stream && stream->Size() > 0;
}

void TLabelData::DeletePreview(int i) {
    std::unique_ptr<TDocStreamList> list = PreviewList(false);
    const int k = CardIndex(i);
    if (list && k >= 0 && k < list->Count()) F->Storage->DeleteElement(list->ItemPath(k));
}

void TLabelData::MakePreview(int i) {
    if (!F->Paper || !HasCard(i) || HasPreview(i)) return;
    TOwnedDOList objects;
    LoadCard(i, objects);
    if (objects.Empty()) return;
    TFaceInfo face;
    F->Paper->GetFaceInfo(i, face);
    // The zoom that makes the card as wide as the preview, the result fitted.
    const QImage image = RenderObjectsToImage(face, objects, kPreviewSize, kPreviewSize);
    auto png = std::make_unique<TPNGImage>();
    png->SetBitmap(TDIB::FromImage(image).To24Bit());
    TPictureEx picture;
    picture.SetGraphic(std::move(png));
    TMemoryStream data;
    WritePictureToStream(picture, data);
    // Written only once complete.
    PreviewStream(i, false)->WriteBytes(data.Data());
}

bool TLabelData::ReadPreviewFromFile(const QString& fileName, int sheet, int card, TPictureEx& picture) {
    if (sheet < 0 || card < 0) return false;
    try {
        std::unique_ptr<TFileStorage> root = TFileStorage::OpenFile(fileName, 0);
        const TDocStorageList sheets(*root, kSheetList);
        if (sheet >= sheets.Count()) return false;
        const QString sheetPath = sheets.ItemPath(sheet);
        if (!root->StorageExists(sheetPath)) return false;
        TDocStorage storage(*root, false, sheetPath);
        const int k = StoredSeparatelyDesign(*root, storage) ? card : 0;
        TDocStreamList previews(*root, sheetPath + u'\\' + kPreviewList);
        if (!previews.ItemStreamExists(k)) return false;
        std::unique_ptr<TDocStream> stream = previews.OpenItemStream(k, 0);
        return ReadPreview(*stream, picture);
    } catch (const std::exception&) {
        // A damaged file or picture shows no preview.
        return false;
    }
}

void TLabelData::RewriteEveryCard(const std::function<bool(TOwnedDOList&)>& change) {
    const int current = F->CurrentSheet;
    const auto restore = [this, current] {
        if (current >= 0 && current < SheetCount()) SwitchSheet(current);
    };
    try {
        for (int s = 0; s < SheetCount(); ++s) {
            SwitchSheet(s);
            // Every stored card, also those a shared design hides now: they
            // show again once the sheet is designed card by card.
            const auto keepDesign = qScopeGuard(
                [this, separatelyDesign = F->SeparatelyDesign] { F->SeparatelyDesign = separatelyDesign; });
            F->SeparatelyDesign = true;
            const int cards = CardList()->Count();
            for (int i = 0; i < cards; ++i) {
                if (!HasCard(i)) continue;
                TOwnedDOList objects;
                LoadCard(i, objects);
                if (!change(objects)) continue;
                ReverseList(objects);
                SaveCard(i, objects);
            }
        }
    } catch (...) {
        // Not a scope guard: switching back may fail as well, and that
        // failure is raised then.
        restore();
        throw;
    }
    restore();
}

void TLabelData::Upgrade() {
    // A back without a paper of its own takes over the front's.
    if (SheetCount() >= 2) {
        const int current = F->CurrentSheet;
        SwitchSheet(1);
        SwitchSheet(0);
        if (current >= 0 && current < SheetCount()) SwitchSheet(current);
    }
    RewriteEveryCard([](TOwnedDOList& objects) {
        for (int k = 0; k < objects.Count(); ++k)
            if (std::unique_ptr<TDrawObject> next = Upgraded(*objects.Items(k)))
                objects.Replace(k, std::move(next));
        return true;
    });
}

void TLabelData::RenumberProfileFields() {
    // Every sheet: the cards of all sheets bind the same profile.
    const std::vector<TCardObjectHooks> hooks = InstalledCardObjectHooks();
    RewriteEveryCard(
        [&hooks](TOwnedDOList& objects) { return vellum::RenumberProfileFields(objects, hooks); });
}

// --- document-wide values

const QString& TLabelData::DataName() const { return F->DataName; }
void TLabelData::SetDataName(const QString& name) {
    if (name == F->DataName) return;
    F->DataName = name;
    F->Modified = true;
}
bool TLabelData::SheetMode() const { return F->SheetMode; }
void TLabelData::SetSheetMode(bool value) { F->SheetMode = value; }
int32_t TLabelData::DataVersion() const { return F->DataVersion; }
double TLabelData::LastPrint() const { return F->LastPrint; }
void TLabelData::SetLastPrint(double value) { F->LastPrint = value; }
double TLabelData::LastSave() const { return F->LastSave; }
void TLabelData::SetLastSave(double value) { F->LastSave = value; }
double TLabelData::OpenTime() const { return F->OpenTime; }
TProfileInfo2& TLabelData::Profile() const { return *F->Profile; }
void TLabelData::SetProfile(const TProfileInfo2& profile) { F->Profile->Assign(&profile); }
bool TLabelData::OlderProfileLayout() const { return F->OlderProfileLayout; }
bool TLabelData::Modified() const { return F->Modified; }
void TLabelData::SetModified(bool value) { F->Modified = value; }

// --- whole document

void TLabelData::Save(const QString& fileName) {
    SaveSheetState();
    {
        TDataInfo info;
        info.SheetCount = SheetCount();
        info.DataName = F->DataName;
        info.CurrentSheetNo = F->CurrentSheet;
        info.LastPrint = F->LastPrint;
        info.LastSave = F->LastSave;
        info.SheetMode = F->SheetMode;
        // This program writes the document now.
        F->DataVersion = kProgramDataVersion;
        info.DataVersion = F->DataVersion;
        // The older form of the profile, for readers that know only that.
        info.ProfileInfo = new TProfileInfo(&info);
        info.ProfileInfo->SetName(kProfileInfo);
        info.ProfileInfo->FromProfile(*F->Profile);
        TDocStream stream(*F->Storage, kModeCreate, kDataInfo);
        WriteComponentRes(stream, kDataInfo, info);
    }
    {
        TDocStream stream(*F->Storage, kModeCreate, kProfileInfo2);
        F->Profile->Save(stream);
    }
    // Every card gets its preview and is stored compressed; the sheet
    // current before is current again.
    const int current = F->CurrentSheet;
    try {
        for (int s = 0; s < SheetCount(); ++s) {
            try {
                SwitchSheet(s);
            } catch (const Exception&) {
                // A sheet whose state cannot be read is saved as it is,
                // without new previews, rather than keep the others from
                // being saved.
                continue;
            }
            const int faces = FacesWithItems(CardList()->Count());
            for (int i = 0; i < faces; ++i) {
                try {
                    MakePreview(i);
                } catch (const std::exception&) {
                    // A card that cannot be drawn goes without a preview
                    // rather than keep the document from being saved.
                    DeletePreview(i);
                }
            }
            const int cards = CardList()->Count();
            for (int i = 0; i < cards; ++i)
                if (HasCard(i)) CompressCard(i);
        }
    } catch (...) {
        // Not a scope guard: switching back may fail as well.
        if (current >= 0) SwitchSheet(current);
        throw;
    }
    if (current >= 0) SwitchSheet(current);
    F->Storage->SaveToFile(fileName);
    F->Modified = false;
}

void TLabelData::Load(const QString& fileName) {
    // Loaded into a fresh state, swapped in only on success.
    std::unique_ptr<TContent> previous = std::move(F);
    F = std::make_unique<TContent>();
    auto keepPrevious = qScopeGuard([this, &previous] { F = std::move(previous); });
    LoadFrom(fileName);
    keepPrevious.dismiss();
}

bool TLabelData::ReadCompoundDocument(const QString& fileName, const QByteArray* image) {
    F->Storage = std::make_unique<TTemporaryStorage>();
    if (image)
        F->Storage->LoadFromImage(*image);
    else
        F->Storage->LoadFromFile(fileName);
    OpenSheetList();
    F->OpenTime = NowDateTime();
    bool current = false;
    bool hasProfile = false;
    if (F->Storage->StreamExists(kDataInfo)) {
        TDataInfo info;
        TDocStream stream(*F->Storage, 0, kDataInfo);
        ReadComponentRes(stream, &info);
        F->DataName = info.DataName;
        F->LastPrint = info.LastPrint;
        F->LastSave = info.LastSave;
        F->SheetMode = info.SheetMode;
        F->DataVersion = info.DataVersion;
        if (info.ProfileInfo) {
            info.ProfileInfo->ToProfile(*F->Profile);
            hasProfile = true;
        }
        current = info.DataVersion >= kUpgradedVersion;
        // A current sheet the file does not have falls back to the first.
        F->CurrentSheet =
            info.CurrentSheetNo >= 0 && info.CurrentSheetNo < SheetCount() ? info.CurrentSheetNo : 0;
    } else {
        F->CurrentSheet = 0;
    }
    if (SheetCount() == 0) F->CurrentSheet = -1;
    LoadSheetState();
    if (F->Storage->StreamExists(kProfileInfo2)) {
        TDocStream stream(*F->Storage, 0, kProfileInfo2);
        F->OlderProfileLayout = !F->Profile->Load(stream, true);
    } else if (!hasProfile) {
        // Only a document without either form shows the field names.
        F->Profile->Reset();
    }
    F->Profile->SetModified(false);
    return current;
}

void TLabelData::SetVersion1Converter(TVersion1Converter converter) {
    Version1Converter() = std::move(converter);
}

void TLabelData::LoadFrom(const QString& fileName) {
    std::optional<QByteArray> image;
    if (IsCompressedFile(fileName)) {
        // Unpacked in memory; a packed document inside a packed one is refused.
        TMemoryStream packed;
        packed.LoadFromFile(fileName);
        int32_t length = 0;
        IsCompressed(packed, length);
        TMemoryStream unpacked;
        DecompressTo(packed, unpacked, length);
        unpacked.SetPosition(0);
        if (IsCompressed(unpacked, length))
            throw EZDecompressionError(
                QStringLiteral("A compressed document holds another compressed document"));
        image = std::move(unpacked.Data());
    }
    const TVersion1Converter convert = Version1Converter();
    // What a packed file holds is known by its content only.
    bool version1 = convert && !image && IsVersion1FileName(fileName);
    bool current = false;
    if (!version1) {
        try {
            current = ReadCompoundDocument(fileName, image ? &*image : nullptr);
        } catch (...) {
            if (!convert) throw;
            // Not a current document: maybe one of the first version, whose
            // converter reports its own errors.
            version1 = true;
        }
    }
    if (version1) {
        F = std::make_unique<TContent>();
        InitNew();
        TMemoryStream source;
        if (image)
            source.Data() = *image;
        else
            source.LoadFromFile(fileName);
        convert(*this, source);
    }
    if (!current) Upgrade();
    if (F->OlderProfileLayout) RenumberProfileFields();
    // Every document has at least a front and a back.
    while (SheetCount() < 2) {
        AddNewSheet();
        SetSheetName(QStringLiteral("裏面"));
        SaveSheetState();
    }
    SwitchSheet(0);
    SetSheetName(QStringLiteral("表面"));
    SaveSheetState();
    F->Modified = false;
}

} // namespace vellum
