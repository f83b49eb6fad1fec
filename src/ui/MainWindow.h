#pragma once
// The main window: owns the document session, carries the document commands
// as named actions and hosts one view at a time, the card view or the sheet
// view.

#include <QMainWindow>
#include <QStringList>

#include <memory>

class QAction;
class QActionGroup;
class QComboBox;
class QMenu;
class QSpinBox;
class QStackedWidget;

namespace vellum {

class IFileDialogs;
class TCardView;
class TDocumentSession;
class THistoryMenu;
class TPapers;
class TProfileCommands;
class TProfileDB2;
class TSheetView;

class TfrmMain : public QMainWindow {
public:
    // catalogue: the program's paper catalogue (not owned); dialogs: the file
    // dialogs to ask through (not owned), or null for the window's own.
    explicit TfrmMain(TPapers* catalogue, IFileDialogs* dialogs = nullptr, QWidget* parent = nullptr);
    ~TfrmMain() override;

    TDocumentSession& Session() const { return *FSession; }
    // The program's profile database, opened with the window (inactive when it could not be).
    TProfileDB2& ProfileDB() const { return *FProfileDB; }
    TProfileCommands& ProfileCommands() const { return *FProfileCommands; }
    // The command of that name ("actNew", ...), or null.
    QAction* Action(const QString& name) const;
    TCardView& CardView() const { return *FCardView; }
    TSheetView& SheetView() const { return *FSheetView; }
    bool SheetShown() const;

    // The first idle moment: the document named first on the command line, or a new one.
    void OpenOnStart(const QStringList& arguments);
    // Shows the about box as a splash while the program starts.
    void ShowSplash();

    // --- commands
    void ShowLayout();
    void ShowSheet();
    void ExportImage();
    void SwitchSheet(int sheet);
    void SelectCard(int card);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Keys the window gets go to the hosted view first.
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QAction* AddAction(const char* name, const QString& caption, const QKeySequence& shortcut = {});
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void ApplySpecialMenu();
    // After every command: title, view, check marks and enabled states.
    void DocumentReplaced();
    void DocumentChanged();
    void UpdateTitle();
    void UpdateCommands();
    void ReloadView();
    void CommitEdits();
    void About();
    void Environment();
    void ComponentViewer();
    void EditUpdateUrl();
    // True when the hosted view took the key.
    bool ForwardKey(QKeyEvent* event);
    void ChangeOrientation(bool landscape);
    void ChangeDesign(bool separately);

    std::unique_ptr<IFileDialogs> FOwnDialogs;
    IFileDialogs* FDialogs;
    std::unique_ptr<TProfileDB2> FProfileDB;
    std::unique_ptr<TDocumentSession> FSession;
    std::unique_ptr<TProfileCommands> FProfileCommands;
    QStackedWidget* FStack;
    TCardView* FCardView;
    TSheetView* FSheetView;
    QComboBox* FSheetBox = nullptr;
    QSpinBox* FCardBox = nullptr;
    QComboBox* FZoomBox = nullptr;
    QMenu* FRecentMenu = nullptr;
    std::unique_ptr<THistoryMenu> FRecentEntries;
    QActionGroup* FOrientation = nullptr;
    QActionGroup* FDesign = nullptr;
    QAction* FSaveCompressItem = nullptr;
    bool FAdvancedPaper = false;
    bool FUpdating = false;
    bool FForwardingKey = false;
};

} // namespace vellum
