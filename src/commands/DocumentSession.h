#pragma once
// The one open label document and the document commands on it: new, open,
// save, save as, compressed save, orientation and design mode. The main
// window and the command-line tool drive the same session; questions go
// through the application frame's message box and file names through the
// file dialogs given.

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace vellum {

class IFileDialogs;
struct TFileDialogRequest;
class THistoryManager;
class TLabelData;
class TPaperInfo;
class TPapers;
class TProfileDB2;

struct TNewDocumentOptions {
    // Unset: from the settings.
    std::optional<QString> PaperName;
    std::optional<bool> Landscape;
    std::optional<bool> SeparatelyDesign;
};

class TDocumentSession {
public:
    // Neither is owned; dialogs may be null (then every dialog is cancelled).
    TDocumentSession(TPapers* catalogue, IFileDialogs* dialogs);
    ~TDocumentSession();
    TDocumentSession(const TDocumentSession&) = delete;
    TDocumentSession& operator=(const TDocumentSession&) = delete;

    TLabelData& Document() const { return *FDocument; }
    TPapers* Catalogue() const { return FCatalogue; }
    void SetDialogs(IFileDialogs* dialogs) { FDialogs = dialogs; }
    // The program's profile database (not owned): a new document takes its first profile.
    void SetProfileDB(TProfileDB2* db) { FProfileDB = db; }
    TProfileDB2* ProfileDB() const { return FProfileDB; }
    // After an import: the database's first profile, or an empty one when it has none.
    void TakeFirstProfile();
    // Empty while the document was never saved (or came from another format).
    const QString& FileName() const { return FFileName; }
    // "$(TitleBarFormat)" with the file name without folder, or "新規作成".
    QString Title() const;
    QString PrintTitle() const;

    // Recent files ("$(OpenFileHistory)") and their folders ("$(LabelDataHistory)").
    THistoryManager& RecentFiles() const { return *FRecentFiles; }
    THistoryManager& RecentFolders() const { return *FRecentFolders; }

    // The hosted view: commits its pending edits, reports unsaved ones, and
    // hears when the document was replaced or changed in a way it must redraw.
    std::function<void()> OnCommitEdits;
    std::function<bool()> OnViewModified;
    std::function<void()> OnDocumentReplaced;
    std::function<void()> OnDocumentChanged;

    // --- the document's state
    bool IsModified() const;
    // Asks to save a modified document; false when the command must stop.
    bool CheckModified();

    // --- commands; false when cancelled or failed (the user has been told)
    bool New();
    // New without the modified check.
    void NewDocument(const TNewDocumentOptions& options = {});
    // Without a name the open dialog asks for one.
    bool Open(const QString& fileName = QString());
    bool Save();
    bool SaveAs();
    // Saves to fileName and makes it the current name.
    bool SaveTo(const QString& fileName);
    bool SaveCompressed();
    // Orientation of the current sheet's paper; true when it changed.
    bool SetLandscape(bool landscape);
    // sheetView: the question names the selected card rather than the shown one.
    bool SetSeparatelyDesign(bool separately, bool sheetView = false);

    // --- helpers the commands share
    // The paper New takes: DefaultPaperName, else the catalogue's first.
    std::unique_ptr<TPaperInfo> DefaultPaper(const std::optional<QString>& name = std::nullopt) const;
    // Sets paper on the front sheet and the paper derived from it on the back.
    void SetFrontAndBackPaper(const TPaperInfo& front, bool separately);
    // Card number of the current card mapped to the other side.
    int32_t MappedCardNo(int32_t card) const;
    bool CardHasObjects(int card) const;
    // The document file filter and its default extension.
    static QString DocumentFilter();
    static QString DocumentExtension() { return QStringLiteral("xv4"); }

private:
    void CommitEdits();
    void Replace(std::unique_ptr<TLabelData> document);
    void Changed();
    void Remember(const QString& fileName);
    // The document filter, extension and starting folder under a title.
    TFileDialogRequest DocumentRequest(const QString& title) const;
    bool AskSaveName(QString& fileName);
    // Saves (compressing the current sheet's cards first) and takes the name.
    bool Store(const QString& fileName, bool compressed);

    TPapers* FCatalogue;
    IFileDialogs* FDialogs;
    TProfileDB2* FProfileDB = nullptr;
    std::unique_ptr<TLabelData> FDocument;
    QString FFileName;
    std::unique_ptr<THistoryManager> FRecentFiles;
    std::unique_ptr<THistoryManager> FRecentFolders;
};

} // namespace vellum
