#include "commands/DocumentSession.h"

#include "appframe/AppFrame.h"
#include "appframe/HistoryManager.h"
#include "base/DateTime.h"
#include "base/Format.h"
#include "base/Guid.h"
#include "commands/BackPaper.h"
#include "commands/CardImage.h"
#include "commands/FileDialogs.h"
#include "core/DOList.h"
#include "document/LabelData.h"
#include "imaging/PictureEx.h"
#include "paper/FreePaperInfo.h"
#include "paper/PaperInfo.h"
#include "paper/Papers.h"
#include "profile/ProfileDB2.h"
#include "profile/ProfileInfo2.h"

#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>

#include <exception>

namespace vellum {

namespace {

const QString kAskSave = QStringLiteral("データが修正されています\r\n保存しますか？");
const QString kNotOurData = QStringLiteral("指定されたファイルは「%s」のデータではありません");
const QString kSaveFailed = QStringLiteral("データの保存に失敗しました");
const QString kCompressFailed = QStringLiteral("データの圧縮保存に失敗しました");
const QString kAskOrientation =
    QStringLiteral("用紙の方向を変更すると\r\nデータの位置関係が変わります\r\nよろしいですか？");
const QString kAskSeparate = QStringLiteral("現在表示中の用紙を個別デザイン可能にします\r\nよろしいですか？");
const QString kAskAlikeCard =
    QStringLiteral("現在表示中のラベルで用紙の全てのラベルを同一デザインにします\r\nよろしいですか？");
const QString kAskAlikeSheet =
    QStringLiteral("現在選択中のラベルで用紙の全てのラベルを同一デザインにします\r\nよろしいですか？");
const QString kNewTitle = QStringLiteral("新規作成");
const QString kBackSheetName = QStringLiteral("裏面");
constexpr int kFrontSheet = 0;
constexpr int kBackSheet = 1;

// The answer of the frame's message box; the default button without a frame.
int Ask(const QString& text, TMsgDlgButtons buttons, TMsgDlgBtn def, TMsgDlgBtn cancel) {
    if (TAppFrame* frame = AppFrame()) return frame->MessageBox(text, buttons, def, cancel);
    return ModalResultOf(def);
}

// The message with the error's reason on a line of its own; the reason (it
// names files) never goes through macro expansion.
void TellWithReason(const QString& text, const std::exception& error) {
    if (TAppFrame* frame = AppFrame())
        frame->MessageBoxFmt(text + QStringLiteral("\r\n%s"), mbOK, mbOK, mbOK,
                             QString::fromUtf8(error.what()));
}

QString AppTitle() { return Expand(QStringLiteral("$(AppName)")); }

// The wait cursor while a long command runs, when there is a screen.
class TWaitCursor {
public:
    TWaitCursor() : FOn(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        if (FOn) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~TWaitCursor() {
        if (FOn) QGuiApplication::restoreOverrideCursor();
    }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
    bool FOn;
};

std::unique_ptr<THistoryManager> MakeHistory(const QString& key) {
    auto history = std::make_unique<THistoryManager>();
    history->SetRegistryKey(key);
    history->SetUseAccelerator(true);
    history->SetClearHistoryCaption(QStringLiteral("履歴の消去"));
    try {
        history->Load();
    } catch (const std::exception&) {
        // Without a settings store the list stays empty.
    }
    return history;
}

bool ReadSetting(const QString& name, bool def) {
    TAppFrame* frame = AppFrame();
    return frame ? frame->ReadBool(name, def) : def;
}

QString ReadSetting(const QString& name, const QString& def) {
    TAppFrame* frame = AppFrame();
    return frame ? frame->ReadString(name, def) : def;
}

} // namespace

TDocumentSession::TDocumentSession(TPapers* catalogue, IFileDialogs* dialogs)
    : FCatalogue(catalogue), FDialogs(dialogs), FDocument(std::make_unique<TLabelData>()),
      FRecentFiles(MakeHistory(QStringLiteral("$(OpenFileHistory)"))),
      FRecentFolders(MakeHistory(QStringLiteral("$(LabelDataHistory)"))) {
    FRecentFiles->SetName(QStringLiteral("hmOpenFile"));
    FRecentFolders->SetName(QStringLiteral("hmFileFolder"));
}

TDocumentSession::~TDocumentSession() = default;

QString TDocumentSession::Title() const {
    const QString name = FFileName.isEmpty() ? kNewTitle : QFileInfo(FFileName).fileName();
    return Format(Expand(QStringLiteral("$(TitleBarFormat)")), name);
}

QString TDocumentSession::PrintTitle() const {
    const QString name = FFileName.isEmpty() ? kNewTitle : QFileInfo(FFileName).fileName();
    return Format(Expand(QStringLiteral("$(PrintTitleFormat)")), name);
}

QString TDocumentSession::DocumentFilter() {
    const QString ext = DocumentExtension();
    return Format(QStringLiteral("%sﾃﾞｰﾀ(*.%s)|*.%s|すべてのﾌｧｲﾙ(*.*)|*.*"), AppTitle(), ext, ext);
}

// --- state

bool TDocumentSession::IsModified() const {
    return FDocument->Modified() || (OnViewModified && OnViewModified());
}

bool TDocumentSession::CheckModified() {
    if (!IsModified()) return true;
    const int answer = Ask(kAskSave, mbYes | mbNo | mbCancel, mbYes, mbCancel);
    if (answer == mrNo) return true;
    if (answer != mrYes) return false;
    Save();
    return !IsModified();
}

void TDocumentSession::CommitEdits() {
    if (OnCommitEdits) OnCommitEdits();
}

void TDocumentSession::Replace(std::unique_ptr<TLabelData> document) {
    FDocument = std::move(document);
    if (OnDocumentReplaced) OnDocumentReplaced();
}

void TDocumentSession::Changed() {
    if (OnDocumentChanged) OnDocumentChanged();
}

void TDocumentSession::Remember(const QString& fileName) {
    try {
        FRecentFiles->Add(fileName);
        FRecentFolders->Add(QFileInfo(fileName).absolutePath());
    } catch (const std::exception&) {
        // The recent lists are a convenience; a settings failure must not fail the command.
    }
}

// --- papers

std::unique_ptr<TPaperInfo> TDocumentSession::DefaultPaper(const std::optional<QString>& name) const {
    if (!FCatalogue || FCatalogue->Count() == 0) return nullptr;
    const QString wanted = name ? *name : ReadSetting(QStringLiteral("DefaultPaperName"), QString());
    int index = wanted.isEmpty() ? -1 : FCatalogue->IndexOfName(wanted);
    if (index < 0 || index >= FCatalogue->Count()) index = 0;
    return FCatalogue->Papers(index)->Clone();
}

void TDocumentSession::SetFrontAndBackPaper(const TPaperInfo& front, bool separately) {
    TLabelData& d = *FDocument;
    const int current = d.CurrentSheet();
    d.SwitchSheet(kFrontSheet);
    d.SetPaper(&front);
    d.SetSeparatelyDesign(separately);
    if (d.SheetCount() > kBackSheet) {
        std::unique_ptr<TPaperInfo> back = FCatalogue ? DeriveBackPaper(front, *FCatalogue) : nullptr;
        if (!back) {
            // A paper the catalogue lacks still needs a back: its own faces mirrored.
            back = front.Clone();
            MirrorPaper(*back);
        }
        d.SwitchSheet(kBackSheet);
        d.SetPaper(back.get());
        d.SetSeparatelyDesign(separately);
    }
    d.SwitchSheet(current >= 0 && current < d.SheetCount() ? current : kFrontSheet);
}

int32_t TDocumentSession::MappedCardNo(int32_t card) const {
    TLabelData& d = *FDocument;
    const TPaperInfo* paper = d.Paper();
    if (!paper) return card;
    const bool same =
        d.SheetCount() <= kBackSheet || d.IsSheetLandscape(kFrontSheet) == d.IsSheetLandscape(kBackSheet);
    return MapBackCardNo(*paper, card, d.CurrentSheet() == kFrontSheet, same);
}

bool TDocumentSession::CardHasObjects(int card) const {
    if (!FDocument->HasCard(card)) return false;
    TOwnedDOList objects;
    FDocument->LoadCard(card, objects);
    return !objects.Empty();
}

// --- commands

bool TDocumentSession::New() {
    if (!CheckModified()) return false;
    NewDocument();
    return true;
}

void TDocumentSession::NewDocument(const TNewDocumentOptions& options) {
    std::unique_ptr<TPaperInfo> paper = DefaultPaper(options.PaperName);
    bool separately = false;
    if (paper) {
        paper->SetLandscape(options.Landscape ? *options.Landscape
                                              : ReadSetting(QStringLiteral("DefaultLandScape"), false));
        separately = dynamic_cast<TFreePaperInfo*>(paper.get()) != nullptr ||
                     (options.SeparatelyDesign ? *options.SeparatelyDesign
                                               : ReadSetting(QStringLiteral("DefaultDesign"), false));
    }
    FFileName.clear();
    std::unique_ptr<TLabelData> previous = std::move(FDocument);
    FDocument = std::make_unique<TLabelData>();
    if (paper) SetFrontAndBackPaper(*paper, separately);
    FDocument->SwitchSheet(kFrontSheet);
    if (FProfileDB && FProfileDB->Count() > 0) {
        try {
            FProfileDB->Read(0, FDocument->Profile());
        } catch (const std::exception&) {
            // A damaged first record leaves the new document its empty profile.
        }
    }
    FDocument->SetModified(false);
    previous.reset();
    if (OnDocumentReplaced) OnDocumentReplaced();
    if (TAppFrame* frame = AppFrame()) {
        if (frame->ReadString(QStringLiteral("ProfileDB"), QString()).isEmpty())
            frame->WriteString(QStringLiteral("ProfileDB"), frame->Expand(QStringLiteral("$(ProfileDB)")));
    }
}

void TDocumentSession::TakeFirstProfile() {
    TProfileInfo2& profile = FDocument->Profile();
    if (FProfileDB && FProfileDB->Count() > 0) {
        FProfileDB->Read(0, profile);
    } else {
        profile.SetGuid(CreateGUID());
        profile.Clear();
        profile.SetFace(TPictureEx());
        profile.SetMark(TPictureEx());
    }
    FDocument->SetModified(true);
}

bool TDocumentSession::Open(const QString& fileName) {
    if (!CheckModified()) return false;
    QString name = fileName;
    if (name.isEmpty()) {
        if (!FDialogs) return false;
        TFileDialogRequest request = DocumentRequest(QStringLiteral("ファイルを開く"));
        request.Preview = DocumentFilePreview;
        const TFileDialogAnswer answer = FDialogs->OpenFile(request);
        if (!answer.Accepted || answer.FileName.isEmpty()) return false;
        name = answer.FileName;
    }
    auto document = std::make_unique<TLabelData>();
    try {
        TWaitCursor wait;
        document->Load(name);
    } catch (const std::exception&) {
        try {
            FRecentFiles->Remove(name);
        } catch (const std::exception&) {
        }
        if (TAppFrame* frame = AppFrame()) frame->MessageBoxFmt(kNotOurData, mbOK, mbOK, mbOK, AppTitle());
        return false;
    }
    FFileName = name;
    if (QFileInfo(name).suffix().compare(DocumentExtension(), Qt::CaseInsensitive) != 0) {
        // Converted from another format: the next Save asks for a name.
        FFileName.clear();
        document->SetModified(true);
    }
    Replace(std::move(document));
    Remember(name);
    return true;
}

bool TDocumentSession::Save() {
    if (FFileName.isEmpty()) return SaveAs();
    return SaveTo(FFileName);
}

TFileDialogRequest TDocumentSession::DocumentRequest(const QString& title) const {
    TFileDialogRequest request;
    request.Title = title;
    request.Filter = DocumentFilter();
    request.DefaultExt = DocumentExtension();
    // A named document's own folder wins over the last one used.
    const QStringList folders = FRecentFolders->Items();
    if (!FFileName.isEmpty())
        request.InitialDir = QFileInfo(FFileName).absolutePath();
    else if (!folders.isEmpty())
        request.InitialDir = folders.front();
    return request;
}

bool TDocumentSession::AskSaveName(QString& fileName) {
    if (!FDialogs) return false;
    TFileDialogRequest request = DocumentRequest(QStringLiteral("名前を付けて保存"));
    request.FileName = FFileName;
    const TFileDialogAnswer answer = FDialogs->SaveFile(request);
    if (!answer.Accepted) return false;
    fileName = answer.FileName;
    return true;
}

bool TDocumentSession::SaveAs() {
    QString name;
    if (!AskSaveName(name) || name.isEmpty()) return false;
    return SaveTo(name);
}

bool TDocumentSession::SaveTo(const QString& fileName) { return Store(fileName, false); }

bool TDocumentSession::SaveCompressed() {
    QString name;
    if (!AskSaveName(name)) return false;
    if (name.isEmpty()) return SaveAs();
    return Store(name, true);
}

bool TDocumentSession::Store(const QString& fileName, bool compressed) {
    try {
        TWaitCursor wait;
        CommitEdits();
        FDocument->SetLastSave(NowDateTime());
        if (const TPaperInfo* paper = compressed ? FDocument->Paper() : nullptr)
            for (int i = 0; i < paper->FaceCount(); ++i)
                if (FDocument->HasCard(i)) FDocument->CompressCard(i);
        FDocument->Save(fileName);
    } catch (const std::exception& error) {
        FDocument->SetModified(true);
        TellWithReason(compressed ? kCompressFailed : kSaveFailed, error);
        return false;
    }
    FFileName = fileName;
    Changed();
    Remember(fileName);
    return true;
}

bool TDocumentSession::SetLandscape(bool landscape) {
    CommitEdits();
    TLabelData& d = *FDocument;
    const TPaperInfo* paper = d.Paper();
    if (!paper || paper->Landscape() == landscape) return false;
    const int cards = d.SeparatelyDesign() ? paper->FaceCount() : std::min(paper->FaceCount(), 1);
    bool hasObjects = false;
    for (int i = 0; i < cards && !hasObjects; ++i) hasObjects = CardHasObjects(i);
    if (hasObjects && Ask(kAskOrientation, mbYes | mbNo, mbYes, mbNo) != mrYes) return false;
    std::unique_ptr<TPaperInfo> next = paper->Clone();
    if (d.CurrentSheet() == kBackSheet) {
        const int32_t front = MappedCardNo(d.CurrentLabelNo());
        MirrorPaper(*next);
        next->SetLandscape(landscape);
        MirrorPaper(*next);
        d.SetPaper(next.get());
        d.SetCurrentLabelNo(MappedCardNo(front));
    } else {
        next->SetLandscape(landscape);
        d.SetPaper(next.get());
    }
    Changed();
    return true;
}

bool TDocumentSession::SetSeparatelyDesign(bool separately, bool sheetView) {
    CommitEdits();
    TLabelData& d = *FDocument;
    const TPaperInfo* paper = d.Paper();
    if (!paper || d.SeparatelyDesign() == separately) return false;
    const int cards = paper->FaceCount();
    if (cards <= 1) {
        d.SetSeparatelyDesign(separately);
        Changed();
        return true;
    }
    const int current = std::clamp(d.CurrentLabelNo(), 0, cards - 1);
    bool ask = false;
    if (separately) {
        ask = CardHasObjects(0);
    } else {
        for (int i = 0; i < cards && !ask; ++i) ask = i != current && CardHasObjects(i);
    }
    const QString& question = separately ? kAskSeparate : (sheetView ? kAskAlikeSheet : kAskAlikeCard);
    if (ask && Ask(question, mbYes | mbNo, mbYes, mbNo) != mrYes) return false;
    TOwnedDOList copy;
    d.LoadCard(separately ? 0 : current, copy);
    if (separately) {
        d.SetSeparatelyDesign(true);
        for (int i = 0; i < cards; ++i) d.SaveCard(i, copy);
    } else {
        // Cleared while every card still has its own stream.
        for (int i = cards - 1; i >= 0; --i) d.ClearCard(i);
        d.SetSeparatelyDesign(false);
        d.SaveCard(0, copy);
        d.SetCurrentLabelNo(0);
    }
    Changed();
    return true;
}

} // namespace vellum
