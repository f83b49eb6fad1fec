#include "ui/MainWindow.h"

#include "appframe/AppFrame.h"
#include "appframe/HistoryManager.h"
#include "appgui/HistoryMenu.h"
#include "appgui/WindowPlacement.h"
#include "base/StringList.h"
#include "commands/CardImage.h"
#include "commands/DocumentDump.h"
#include "commands/DocumentSession.h"
#include "commands/FileDialogs.h"
#include "commands/ProfileDBFile.h"
#include "document/LabelData.h"
#include "editing/GhostList.h"
#include "paper/PaperInfo.h"
#include "profile/ProfileDB2.h"
#include "ui/AboutForm.h"
#include "ui/CardView.h"
#include "ui/EnvironmentForm.h"
#include "ui/HintSwitch.h"
#include "ui/PrintCommand.h"
#include "ui/ProfileCommands.h"
#include "ui/QtFileDialogs.h"
#include "ui/SheetView.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <QToolBar>
#include <QVBoxLayout>

#include <exception>

namespace vellum {

namespace {

const QString kImageFilter = QStringLiteral("ビットマップ (*.bmp)|*.bmp|JPEG イメージファイル (*.jpg)|*.jpg");
const QString kExportFailed = QStringLiteral("名刺イメージの出力に失敗しました");
constexpr int kZooms[] = {25, 50, 75, 100, 150, 200, 300, 400};

bool SpecialMenu() {
    TAppFrame* frame = AppFrame();
    return frame && frame->ReadBool(QStringLiteral("EnableSpecialMenu"), false);
}

} // namespace

TfrmMain::TfrmMain(TPapers* catalogue, IFileDialogs* dialogs, QWidget* parent)
    : QMainWindow(parent), FDialogs(dialogs) {
    setObjectName(QStringLiteral("frmMain"));
    if (!FDialogs) {
        FOwnDialogs = std::make_unique<TQtFileDialogs>(this);
        FDialogs = FOwnDialogs.get();
    }
    // Opened for the window's whole life; a failure leaves its commands disabled.
    FProfileDB = std::make_unique<TProfileDB2>();
    FProfileDB->SetFileName(ProfileDBFileName());
    FProfileDB->TryOpen();
    FSession = std::make_unique<TDocumentSession>(catalogue, FDialogs);
    if (FProfileDB->Active()) FSession->SetProfileDB(FProfileDB.get());
    FProfileCommands = std::make_unique<TProfileCommands>(this, *FDialogs, *FProfileDB, *FSession);
    FSession->OnCommitEdits = [this] { CommitEdits(); };
    FSession->OnViewModified = [this] { return !SheetShown() && FCardView->Modified(); };
    FSession->OnDocumentReplaced = [this] { DocumentReplaced(); };
    FSession->OnDocumentChanged = [this] { DocumentChanged(); };

    FStack = new QStackedWidget(this);
    FCardView = new TCardView(FStack);
    FSheetView = new TSheetView(FStack);
    FStack->addWidget(FCardView);
    FStack->addWidget(FSheetView);
    setCentralWidget(FStack);
    FSheetView->OnCardSelected = [this](int card) { SelectCard(card); };
    FSheetView->OnCardOpened = [this](int card) {
        SelectCard(card);
        ShowLayout();
    };

    CreateActions();
    CreateMenus();
    CreateToolBar();
    ApplySpecialMenu();
    setAcceptDrops(true);
    statusBar();
    if (TAppFrame* frame = AppFrame())
        THintSwitch::Apply(frame->ReadBool(QStringLiteral("DefaultShowHint"), true));
    DocumentReplaced();
}

TfrmMain::~TfrmMain() = default;

QAction* TfrmMain::Action(const QString& name) const { return findChild<QAction*>(name); }

bool TfrmMain::SheetShown() const { return FStack->currentWidget() == FSheetView; }

QAction* TfrmMain::AddAction(const char* name, const QString& caption, const QKeySequence& shortcut) {
    auto* action = new QAction(Expand(caption), this);
    action->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    // Toolbar buttons without the menu's accelerator and ellipsis.
    QString icon = action->text();
    icon.remove(QRegularExpression(QStringLiteral("\\(&.\\)|\\.\\.\\.$")));
    action->setIconText(icon.remove(u'&'));
    return action;
}

void TfrmMain::CreateActions() {
    const auto on = [this](QAction* action, auto&& body) {
        connect(action, &QAction::triggered, this, [this, body] {
            try {
                body();
            } catch (const std::exception& e) {
                if (TAppFrame* frame = AppFrame()) frame->HandleException(e);
            }
            UpdateCommands();
        });
    };
    on(AddAction("actNew", QStringLiteral("新規作成(&N)..."), QKeySequence(Qt::CTRL | Qt::Key_N)),
       [this] { FSession->New(); });
    on(AddAction("actOpen", QStringLiteral("開く(&O)..."), QKeySequence(Qt::CTRL | Qt::Key_O)),
       [this] { FSession->Open(); });
    on(AddAction("actSave", QStringLiteral("保存(&S)"), QKeySequence(Qt::CTRL | Qt::Key_S)),
       [this] { FSession->Save(); });
    on(AddAction("actSaveAs", QStringLiteral("名前を付けて保存(&A)...")), [this] { FSession->SaveAs(); });
    on(AddAction("actSaveCompress", QStringLiteral("圧縮して保存")), [this] { FSession->SaveCompressed(); });
    AddAction("actTemplate", QStringLiteral("名刺テンプレートの呼び出し(&T)..."));
    AddAction("actSelectPaper", QStringLiteral("用紙選択(&L)..."));
    on(AddAction("actEnvironment", QStringLiteral("環境設定(&E)...")), [this] { Environment(); });
    AddAction("actPrinterSetup", QStringLiteral("プリンタ設定(&R)..."));
    on(AddAction("actPrint", QStringLiteral("印刷(&P)..."), QKeySequence(Qt::CTRL | Qt::Key_P)), [this] {
        CommitEdits();
        RunPrintCommand(*this, *FSession, *FDialogs);
    });
    on(AddAction("actExit", QStringLiteral("$(AppName)の終了(&X)")), [this] { close(); });
    AddAction("actHelp", QStringLiteral("$(AppName)の使い方(&C)"));
    on(AddAction("actAbout", QStringLiteral("バージョン情報(&A)...")), [this] { About(); });
    on(AddAction("actComponentViewer", QStringLiteral("Component Viewer")), [this] { ComponentViewer(); });
    QAction* sheet = AddAction("actSheet", QStringLiteral("ラベルシート表示(&S)"));
    QAction* layout = AddAction("actLayout", QStringLiteral("ラベル表示(&L)"));
    sheet->setCheckable(true);
    layout->setCheckable(true);
    auto* views = new QActionGroup(this);
    views->addAction(sheet);
    views->addAction(layout);
    on(sheet, [this] { ShowSheet(); });
    on(layout, [this] { ShowLayout(); });
    on(AddAction("actExport", QStringLiteral("名刺イメージの出力(&H)...")), [this] { ExportImage(); });
    QAction* advanced = AddAction("actAdvancedPaper", QStringLiteral("用紙選択機能の拡張"));
    advanced->setCheckable(true);
    on(advanced, [this, advanced] { FAdvancedPaper = advanced->isChecked(); });
    AddAction("actUpdatePaper", QStringLiteral("用紙情報の自動更新(&U)..."));
    on(AddAction("actAdvancedURL", QStringLiteral("アップデートURLの変更")), [this] { EditUpdateUrl(); });
    on(AddAction("actImportCSV", QStringLiteral("プロフィールデータの入力(&V)...")), [this] {
        CommitEdits();
        FProfileCommands->ImportCSV();
        ReloadView();
    });
    on(AddAction("actExportCSV", QStringLiteral("プロフィールデータの出力(&P)...")),
       [this] { FProfileCommands->ExportCSV(); });
    AddAction("actPaperInfoToPrinter", QString());
    on(AddAction("actSaveProfileFile", QStringLiteral("プロフィールファイルの保存(&F)...")),
       [this] { FProfileCommands->SaveProfileFile(); });
    for (const char* name : {"actImportCSV", "actExportCSV", "actSaveProfileFile"})
        Action(QString::fromLatin1(name))->setEnabled(FProfileDB->Active());

    FOrientation = new QActionGroup(this);
    for (const auto& [name, caption, value] : {std::tuple{"actPaperLandscapeTrue", "横長", true},
                                               std::tuple{"actPaperLandscapeFalse", "縦長", false}}) {
        QAction* a = AddAction(name, QString::fromUtf8(caption));
        a->setCheckable(true);
        FOrientation->addAction(a);
        const bool landscape = value;
        on(a, [this, landscape] { ChangeOrientation(landscape); });
    }
    FDesign = new QActionGroup(this);
    for (const auto& [name, caption, value] : {std::tuple{"actPaperSeparatelyDesignTrue", "個別", true},
                                               std::tuple{"actPaperSeparatelyDesignFalse", "全て", false}}) {
        QAction* a = AddAction(name, QString::fromUtf8(caption));
        a->setCheckable(true);
        FDesign->addAction(a);
        const bool separately = value;
        on(a, [this, separately] { ChangeDesign(separately); });
    }
    // Commands whose subsystems come later stay visible but disabled.
    for (const char* later : {"actTemplate", "actSelectPaper", "actPrinterSetup", "actHelp", "actUpdatePaper",
                              "actPaperInfoToPrinter"})
        Action(QString::fromLatin1(later))->setEnabled(false);
}

void TfrmMain::CreateMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("ファイル(&F)"));
    file->addAction(Action(QStringLiteral("actNew")));
    file->addAction(Action(QStringLiteral("actOpen")));
    FRecentMenu = file->addMenu(QStringLiteral("最近使ったファイル(&D)"));
    QAction* placeholder = FRecentMenu->addAction(QString());
    FRecentEntries = std::make_unique<THistoryMenu>(FSession->RecentFiles(), FRecentMenu, placeholder);
    FSession->RecentFiles().OnMenuClick = [this](THistoryManager*, const QString& item) {
        FSession->Open(item);
        UpdateCommands();
    };
    file->addSeparator();
    file->addAction(Action(QStringLiteral("actSave")));
    file->addAction(Action(QStringLiteral("actSaveAs")));
    FSaveCompressItem = file->addAction(QStringLiteral("名前を付けて圧縮保存(&C)..."));
    connect(FSaveCompressItem, &QAction::triggered, Action(QStringLiteral("actSaveCompress")),
            &QAction::trigger);
    QAction* exportItem = file->addAction(QStringLiteral("他形式保存(&H)..."));
    connect(exportItem, &QAction::triggered, Action(QStringLiteral("actExport")), &QAction::trigger);
    file->addSeparator();
    file->addAction(Action(QStringLiteral("actTemplate")));
    QMenu* profile = file->addMenu(QStringLiteral("プロフィールデータ(&M)"));
    for (const auto& [caption, target] : {std::pair{"CSV形式で入力(&V)...", "actImportCSV"},
                                          std::pair{"バックアップ(&B)...", "actSaveProfileFile"},
                                          std::pair{"CSV形式で出力(&P)...", "actExportCSV"}}) {
        QAction* item = profile->addAction(QString::fromUtf8(caption));
        QAction* command = Action(QString::fromLatin1(target));
        item->setEnabled(command->isEnabled());
        connect(item, &QAction::triggered, command, &QAction::trigger);
    }
    file->addSeparator();
    file->addAction(Action(QStringLiteral("actPrinterSetup")));
    file->addAction(Action(QStringLiteral("actPrint")));
    file->addSeparator();
    file->addAction(Action(QStringLiteral("actExit")));

    QMenu* view = bar->addMenu(QStringLiteral("表示(&V)"));
    view->addAction(Action(QStringLiteral("actLayout")));
    view->addAction(Action(QStringLiteral("actSheet")));

    QMenu* paper = bar->addMenu(QStringLiteral("用紙(&P)"));
    paper->addAction(Action(QStringLiteral("actSelectPaper")));
    paper->addSeparator();
    QMenu* orientation = paper->addMenu(QStringLiteral("用紙の方向(&D)"));
    orientation->addActions(FOrientation->actions());
    QMenu* design = paper->addMenu(QStringLiteral("デザイン(&G)"));
    design->addActions(FDesign->actions());
    paper->addSeparator();
    paper->addAction(Action(QStringLiteral("actUpdatePaper")));
    paper->addAction(Action(QStringLiteral("actAdvancedPaper")));
    paper->addAction(Action(QStringLiteral("actAdvancedURL")));

    QMenu* tools = bar->addMenu(QStringLiteral("ツール(&T)"));
    tools->addAction(Action(QStringLiteral("actEnvironment")));
    tools->addAction(Action(QStringLiteral("actComponentViewer")));

    QMenu* help = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->addAction(Action(QStringLiteral("actHelp")));
    help->addAction(Action(QStringLiteral("actAbout")));
}

void TfrmMain::CreateToolBar() {
    QToolBar* tools = addToolBar(QStringLiteral("標準"));
    tools->setObjectName(QStringLiteral("tbStandard"));
    tools->setMovable(false);
    for (const char* name : {"actNew", "actOpen", "actSave"})
        tools->addAction(Action(QString::fromLatin1(name)));
    tools->addSeparator();
    tools->addAction(Action(QStringLiteral("actLayout")));
    tools->addAction(Action(QStringLiteral("actSheet")));
    tools->addSeparator();
    FSheetBox = new QComboBox(tools);
    FSheetBox->setObjectName(QStringLiteral("cbSheet"));
    tools->addWidget(FSheetBox);
    connect(FSheetBox, &QComboBox::activated, this, [this](int index) { SwitchSheet(index); });
    tools->addWidget(new QLabel(QStringLiteral(" ラベル "), tools));
    FCardBox = new QSpinBox(tools);
    FCardBox->setObjectName(QStringLiteral("seCard"));
    tools->addWidget(FCardBox);
    connect(FCardBox, &QSpinBox::valueChanged, this, [this](int value) {
        if (!FUpdating) SelectCard(value - 1);
    });
    tools->addWidget(new QLabel(QStringLiteral(" 表示倍率 "), tools));
    FZoomBox = new QComboBox(tools);
    FZoomBox->setObjectName(QStringLiteral("cbZoom"));
    for (int zoom : kZooms) FZoomBox->addItem(QStringLiteral("%1%").arg(zoom), zoom);
    FZoomBox->setCurrentIndex(3);
    tools->addWidget(FZoomBox);
    connect(FZoomBox, &QComboBox::activated, this, [this](int index) {
        CommitEdits();
        FCardView->SetZoom(FZoomBox->itemData(index).toInt());
        ReloadView();
    });
    tools->addSeparator();
    tools->addActions(FOrientation->actions());
    tools->addSeparator();
    tools->addActions(FDesign->actions());
}

void TfrmMain::ApplySpecialMenu() {
    const bool special = SpecialMenu();
    for (const char* name : {"actSaveCompress", "actAdvancedPaper", "actAdvancedURL", "actComponentViewer"})
        Action(QString::fromLatin1(name))->setVisible(special);
    FSaveCompressItem->setVisible(special);
}

// --- state shown

void TfrmMain::UpdateTitle() { setWindowTitle(FSession->Title()); }

void TfrmMain::UpdateCommands() {
    FUpdating = true;
    TLabelData& d = FSession->Document();
    const TPaperInfo* paper = d.Paper();
    Action(QStringLiteral("actPaperLandscapeTrue"))->setChecked(paper && paper->Landscape());
    Action(QStringLiteral("actPaperLandscapeFalse"))->setChecked(paper && !paper->Landscape());
    Action(QStringLiteral("actPaperSeparatelyDesignTrue"))->setChecked(d.SeparatelyDesign());
    Action(QStringLiteral("actPaperSeparatelyDesignFalse"))->setChecked(!d.SeparatelyDesign());
    Action(QStringLiteral("actSheet"))->setChecked(SheetShown());
    Action(QStringLiteral("actLayout"))->setChecked(!SheetShown());
    FRecentMenu->setEnabled(!FSession->RecentFiles().Items().isEmpty());
    const int faces = paper ? paper->FaceCount() : 0;
    FCardBox->setRange(faces > 0 ? 1 : 0, std::max(faces, 0));
    FCardBox->setValue(d.CurrentLabelNo() + 1);
    FCardBox->setEnabled(d.SeparatelyDesign() && faces > 1);
    FSheetBox->setCurrentIndex(d.CurrentSheet());
    FZoomBox->setEnabled(!SheetShown());
    UpdateTitle();
    FUpdating = false;
}

void TfrmMain::DocumentReplaced() {
    TLabelData& d = FSession->Document();
    FUpdating = true;
    FSheetBox->clear();
    TStringList names;
    d.GetSheetNames(names);
    for (int i = 0; i < d.SheetCount(); ++i)
        FSheetBox->addItem(i == d.CurrentSheet() ? d.SheetName()
                           : names.Count() > i   ? names.Strings(i)
                                                 : QString());
    FUpdating = false;
    GhostList().Clear();
    FStack->setCurrentWidget(d.SheetMode() ? static_cast<QWidget*>(FSheetView) : FCardView);
    ReloadView();
    UpdateCommands();
}

void TfrmMain::DocumentChanged() {
    ReloadView();
    UpdateCommands();
}

void TfrmMain::ReloadView() {
    TLabelData& d = FSession->Document();
    if (SheetShown())
        FSheetView->ShowSheet(d);
    else
        FCardView->ShowCard(d, d.CurrentLabelNo());
}

void TfrmMain::CommitEdits() {
    if (!SheetShown()) FCardView->Commit(FSession->Document());
}

// --- commands

void TfrmMain::OpenOnStart(const QStringList& arguments) {
    if (!arguments.isEmpty() && QFileInfo(arguments.front()).isFile() && FSession->Open(arguments.front())) {
        UpdateCommands();
        return;
    }
    FSession->NewDocument();
    UpdateCommands();
}

void TfrmMain::ShowLayout() {
    CommitEdits();
    GhostList().Clear();
    FSession->Document().SetSheetMode(false);
    FStack->setCurrentWidget(FCardView);
    ReloadView();
    UpdateCommands();
}

void TfrmMain::ShowSheet() {
    CommitEdits();
    GhostList().Clear();
    FSession->Document().SetSheetMode(true);
    FStack->setCurrentWidget(FSheetView);
    ReloadView();
    UpdateCommands();
}

void TfrmMain::SwitchSheet(int sheet) {
    TLabelData& d = FSession->Document();
    if (sheet < 0 || sheet >= d.SheetCount() || sheet == d.CurrentSheet()) return;
    CommitEdits();
    const bool modified = d.Modified();
    d.SwitchSheet(sheet);
    d.SetModified(modified);
    ReloadView();
    UpdateCommands();
}

void TfrmMain::SelectCard(int card) {
    TLabelData& d = FSession->Document();
    const TPaperInfo* paper = d.Paper();
    if (!paper || card < 0 || card >= paper->FaceCount() || card == d.CurrentLabelNo()) return;
    CommitEdits();
    d.SetCurrentLabelNo(card);
    if (SheetShown())
        FSheetView->SetCurrentCard(card);
    else
        ReloadView();
    UpdateCommands();
}

void TfrmMain::ExportImage() {
    CommitEdits();
    TFileDialogRequest request;
    request.Title = QStringLiteral("名刺イメージの出力");
    request.Filter = kImageFilter;
    request.DefaultExt = QStringLiteral("bmp");
    request.DefaultExtFromFilter = true;
    const TFileDialogAnswer answer = FDialogs->SaveFile(request);
    if (!answer.Accepted || answer.FileName.isEmpty()) return;
    const TCardImageFormat format =
        answer.FilterIndex == 2 ? TCardImageFormat::cfJpeg : TCardImageFormat::cfBitmap;
    TLabelData& d = FSession->Document();
    try {
        ExportCardImage(d, d.CurrentLabelNo(), answer.FileName, format);
    } catch (const std::exception&) {
        if (TAppFrame* frame = AppFrame()) frame->ShowMessage(kExportFailed);
    }
}

void TfrmMain::ChangeOrientation(bool landscape) {
    QAction* on = Action(QStringLiteral("actPaperLandscapeTrue"));
    QAction* off = Action(QStringLiteral("actPaperLandscapeFalse"));
    on->setEnabled(false);
    off->setEnabled(false);
    const auto enable = qScopeGuard([on, off] {
        on->setEnabled(true);
        off->setEnabled(true);
    });
    FSession->SetLandscape(landscape);
}

void TfrmMain::ChangeDesign(bool separately) { FSession->SetSeparatelyDesign(separately, SheetShown()); }

void TfrmMain::ShowSplash() { TfrmAbout::ShowSplash(this); }

void TfrmMain::About() { TfrmAbout::Execute(this); }

void TfrmMain::Environment() {
    TAppFrame* frame = AppFrame();
    if (!frame) return;
    TfrmEnvironment form(*frame, this);
    form.exec();
}

void TfrmMain::ComponentViewer() {
    CommitEdits();
    TLabelData& d = FSession->Document();
    // The working copy as it would be saved, without touching the user's file.
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("view.xv4"));
    QString text;
    {
        const auto keepModified = qScopeGuard([&d, modified = d.Modified()] { d.SetModified(modified); });
        d.Save(fileName);
        QTextStream out(&text);
        DumpDocumentFile(fileName, out);
    }
    QDialog viewer(this);
    viewer.setWindowTitle(QStringLiteral("Component Viewer"));
    auto* layout = new QVBoxLayout(&viewer);
    auto* edit = new QPlainTextEdit(text, &viewer);
    edit->setReadOnly(true);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &viewer);
    connect(buttons, &QDialogButtonBox::rejected, &viewer, &QDialog::reject);
    layout->addWidget(buttons);
    viewer.resize(800, 600);
    viewer.exec();
}

void TfrmMain::EditUpdateUrl() {
    TAppFrame* frame = AppFrame();
    if (!frame) return;
    bool ok = false;
    const QString url =
        QInputDialog::getText(this, QStringLiteral("アップデートURLの変更"), QStringLiteral("URL:"),
                              QLineEdit::Normal,
                              frame->ReadString(QStringLiteral("PPRUpdaterURL"), QString()), &ok);
    if (ok) frame->WriteString(QStringLiteral("PPRUpdaterURL"), url);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (!FSession->CheckModified()) {
        event->ignore();
        return;
    }
    if (TAppFrame* frame = AppFrame()) SaveWindowPlacement(*frame, this);
    QMainWindow::closeEvent(event);
}

bool TfrmMain::ForwardKey(QKeyEvent* event) {
    QWidget* view = SheetShown() ? static_cast<QWidget*>(FSheetView) : FCardView->widget();
    // An unaccepted key travels back up to this window: forward only once.
    if (!view || view->hasFocus() || FForwardingKey) return false;
    FForwardingKey = true;
    QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(), event->isAutoRepeat(),
                   ushort(event->count()));
    QCoreApplication::sendEvent(view, &copy);
    FForwardingKey = false;
    return copy.isAccepted();
}

void TfrmMain::keyPressEvent(QKeyEvent* event) {
    if (!ForwardKey(event)) QMainWindow::keyPressEvent(event);
}

void TfrmMain::keyReleaseEvent(QKeyEvent* event) {
    if (!ForwardKey(event)) QMainWindow::keyReleaseEvent(event);
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.front().isLocalFile()) event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile()) return;
    event->acceptProposedAction();
    FSession->Open(urls.front().toLocalFile());
    UpdateCommands();
}

} // namespace vellum
