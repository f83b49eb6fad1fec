#include "ui/MainWindow.h"

#include "../appframe/FrameFixture.h"
#include "../support/CardClasses.h"
#include "../support/ScriptedDialogs.h"
#include "../support/TestCatalogue.h"
#include "commands/DocumentSession.h"
#include "commands/FileDialogs.h"
#include "core/DOList.h"
#include "core/DrawObject.h"
#include "document/LabelData.h"
#include "editing/DrawSite.h"
#include "objects/LORect.h"
#include "ui/CardView.h"
#include "ui/SheetView.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>

namespace vellum::test {
namespace {

class MainWindowTest : public FrameTest {
protected:
    void SetUp() override {
        RegisterCardClassesOnce();
        FrameTest::SetUp();
        OpenTestCatalogue(Catalogue, Path(QStringLiteral("papers.ppr")));
        Window = std::make_unique<TfrmMain>(&Catalogue, &Dialogs);
    }
    void TearDown() override {
        Window.reset();
        Catalogue.Close();
        FrameTest::TearDown();
    }
    TLabelData& Document() { return Window->Session().Document(); }
    // Draws a rectangle on the card view as the user would.
    void DrawRect(const TRect& r = {20, 20, 400, 300}) {
        TDrawSite* site = Window->CardView().Site();
        ASSERT_NE(site, nullptr);
        auto* rect = new TLORect(site);
        rect->SetRect(r);
        site->PlaceObject(*rect);
    }
    int ObjectsOnFile(const QString& fileName, int card = 0) {
        TLabelData d;
        d.Load(fileName);
        TOwnedDOList objects;
        d.LoadCard(card, objects);
        return objects.Count();
    }

    TPapers Catalogue;
    TScriptedDialogs Dialogs;
    std::unique_ptr<TfrmMain> Window;
};

TEST_F(MainWindowTest, CommandsCarryTheirCaptionsAndShortcuts) {
    struct {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
    } commands[] = {
        {"actNew", "新規作成(&N)...", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"actOpen", "開く(&O)...", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"actSave", "保存(&S)", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"actSaveAs", "名前を付けて保存(&A)...", {}},
        {"actSaveCompress", "圧縮して保存", {}},
        {"actTemplate", "名刺テンプレートの呼び出し(&T)...", {}},
        {"actSelectPaper", "用紙選択(&L)...", {}},
        {"actEnvironment", "環境設定(&E)...", {}},
        {"actPrinterSetup", "プリンタ設定(&R)...", {}},
        {"actPrint", "印刷(&P)...", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"actExit", "Vellum4の終了(&X)", {}},
        {"actHelp", "Vellum4の使い方(&C)", {}},
        {"actAbout", "バージョン情報(&A)...", {}},
        {"actComponentViewer", "Component Viewer", {}},
        {"actSheet", "ラベルシート表示(&S)", {}},
        {"actLayout", "ラベル表示(&L)", {}},
        {"actExport", "名刺イメージの出力(&H)...", {}},
        {"actAdvancedPaper", "用紙選択機能の拡張", {}},
        {"actUpdatePaper", "用紙情報の自動更新(&U)...", {}},
        {"actAdvancedURL", "アップデートURLの変更", {}},
        {"actImportCSV", "プロフィールデータの入力(&V)...", {}},
        {"actExportCSV", "プロフィールデータの出力(&P)...", {}},
        {"actPaperLandscapeTrue", "横長", {}},
        {"actPaperLandscapeFalse", "縦長", {}},
        {"actPaperSeparatelyDesignTrue", "個別", {}},
        {"actPaperSeparatelyDesignFalse", "全て", {}},
        {"actSaveProfileFile", "プロフィールファイルの保存(&F)...", {}},
    };
    for (const auto& c : commands) {
        QAction* action = Window->Action(QString::fromLatin1(c.name));
        ASSERT_NE(action, nullptr) << c.name;
        EXPECT_EQ(action->text(), QString::fromUtf8(c.caption)) << c.name;
        EXPECT_EQ(action->shortcut(), c.shortcut) << c.name;
    }
    // The hidden commands show only with the special menu.
    EXPECT_FALSE(Window->Action(QStringLiteral("actComponentViewer"))->isVisible());
    FFrame->WriteBool(QStringLiteral("EnableSpecialMenu"), true);
    TfrmMain special(&Catalogue, &Dialogs);
    EXPECT_TRUE(special.Action(QStringLiteral("actComponentViewer"))->isVisible());
    EXPECT_TRUE(special.Action(QStringLiteral("actSaveCompress"))->isVisible());
}

TEST_F(MainWindowTest, StartsIntoANewDocumentOrTheNamedOne) {
    Window->OpenOnStart({Path(QStringLiteral("missing.xv4"))});
    EXPECT_EQ(Window->windowTitle(), QStringLiteral("Vellum4 - 新規作成"));
    EXPECT_FALSE(Window->SheetShown());
    ASSERT_NE(Window->CardView().Site(), nullptr);
    // The card view shows the default paper's card: 910 x 550 units.
    EXPECT_EQ(Window->CardView().Site()->LogWidth(), 910);
    EXPECT_EQ(Window->CardView().Site()->LogHeight(), 550);
    EXPECT_TRUE(Shown.empty());
    auto* sheets = Window->findChild<QComboBox*>(QStringLiteral("cbSheet"));
    ASSERT_NE(sheets, nullptr);
    ASSERT_EQ(sheets->count(), 2);
    EXPECT_EQ(sheets->itemText(0), QStringLiteral("表面"));
    EXPECT_EQ(sheets->itemText(1), QStringLiteral("裏面"));
    EXPECT_FALSE(Window->Session().IsModified());

    const QString a = Path(QStringLiteral("a.xv4"));
    ASSERT_TRUE(Window->Session().SaveTo(a));
    TfrmMain second(&Catalogue, &Dialogs);
    second.OpenOnStart({a});
    EXPECT_EQ(second.windowTitle(), QStringLiteral("Vellum4 - a.xv4"));
}

TEST_F(MainWindowTest, EditsOnTheCardViewAreSavedAndAskedFor) {
    Window->OpenOnStart({});
    const QString a = Path(QStringLiteral("a.xv4"));
    const QString b = Path(QStringLiteral("b.xv4"));
    Dialogs.Answers = {{true, a, 1}};
    Window->Action(QStringLiteral("actSaveAs"))->trigger();
    EXPECT_EQ(Window->windowTitle(), QStringLiteral("Vellum4 - a.xv4"));
    ASSERT_TRUE(QFile::copy(a, b));
    DrawRect();
    EXPECT_TRUE(Window->Session().IsModified());

    // Open another, Cancel: the drawing stays on the view, unsaved.
    Answers = {mrCancel};
    Dialogs.Answers = {{true, b, 1}};
    Window->Action(QStringLiteral("actOpen"))->trigger();
    EXPECT_EQ(Window->windowTitle(), QStringLiteral("Vellum4 - a.xv4"));
    EXPECT_TRUE(Window->Session().IsModified());
    EXPECT_EQ(Window->CardView().Site()->ObjectCount(), 1);
    EXPECT_EQ(ObjectsOnFile(a), 0);

    // Yes: saved first, then the other one opens.
    Answers = {mrYes};
    Dialogs.Answers = {{true, b, 1}};
    Window->Action(QStringLiteral("actOpen"))->trigger();
    EXPECT_EQ(Window->windowTitle(), QStringLiteral("Vellum4 - b.xv4"));
    EXPECT_EQ(ObjectsOnFile(a), 1);
    EXPECT_EQ(Window->CardView().Site()->ObjectCount(), 0);
    EXPECT_FALSE(Window->Session().IsModified());

    // Closing a modified document: Cancel keeps the window.
    DrawRect();
    Answers = {mrCancel};
    QCloseEvent close;
    QCoreApplication::sendEvent(Window.get(), &close);
    EXPECT_FALSE(close.isAccepted());
}

TEST_F(MainWindowTest, TheCardViewKeepsTheStackingOrder) {
    Window->OpenOnStart({});
    TOwnedDOList card;
    for (int left : {10, 20, 30}) {
        TLORect& rect = card.Give(std::make_unique<TLORect>());
        rect.SetRect({left, 10, left + 100, 100});
        rect.SetFillInside(true);
    }
    Document().SaveCard(0, card);
    Window->ShowLayout();
    TDrawSite* site = Window->CardView().Site();
    ASSERT_EQ(site->ObjectCount(), 3);
    // A card is saved topmost first.
    EXPECT_EQ(dynamic_cast<TLORect&>(*site->ObjectAt({95, 50})).FrameRect().Left, 10);
    site->SetModified(true);
    const QString a = Path(QStringLiteral("a.xv4"));
    ASSERT_TRUE(Window->Session().SaveTo(a));
    TLabelData saved;
    saved.Load(a);
    TOwnedDOList objects;
    saved.LoadCard(0, objects);
    ASSERT_EQ(objects.Count(), 3);
    // Read back in the stream's order, bottom first, as before the view.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(dynamic_cast<TLORect&>(*objects.Items(i)).FrameRect().Left, 30 - 10 * i);
}

TEST_F(MainWindowTest, SheetViewIsRememberedAndExportWritesTheCard) {
    Window->OpenOnStart({});
    DrawRect({20, 20, 455, 275});
    Window->Action(QStringLiteral("actSheet"))->trigger();
    EXPECT_TRUE(Window->SheetShown());
    EXPECT_TRUE(Document().SheetMode());
    // Every card of an all-alike sheet shows the design: the view picks cards.
    Window->SheetView().OnCardSelected(3);
    EXPECT_EQ(Document().CurrentLabelNo(), 3);
    // VELLUM_UI_SHOTS=folder keeps a picture of the sheet view.
    if (const QString folder = qEnvironmentVariable("VELLUM_UI_SHOTS"); !folder.isEmpty()) {
        Window->resize(900, 700);
        Window->grab().save(folder + QStringLiteral("/sheetview.png"));
    }
    const QString a = Path(QStringLiteral("a.xv4"));
    ASSERT_TRUE(Window->Session().SaveTo(a));
    TfrmMain again(&Catalogue, &Dialogs);
    ASSERT_TRUE(again.Session().Open(a));
    EXPECT_TRUE(again.SheetShown());

    for (const auto& [name, index] : {std::pair{"card.bmp", 1}, std::pair{"card.jpg", 2}}) {
        const QString file = Path(QString::fromLatin1(name));
        Dialogs.Answers = {{true, file, index}};
        again.Action(QStringLiteral("actExport"))->trigger();
        EXPECT_EQ(Dialogs.Asked.back().Filter,
                  QStringLiteral("ビットマップ (*.bmp)|*.bmp|JPEG イメージファイル (*.jpg)|*.jpg"));
        QImage image(file);
        ASSERT_FALSE(image.isNull()) << name;
        // 910 x 550 units of 0.1 mm at 100 % on the screen's resolution.
        EXPECT_GT(image.width(), image.height()) << name;
        // The rectangle's 1 mm black frame crosses the row 10 mm down near
        // its left edge, 2 mm in; the card is white beyond it.
        const int row = image.height() * 100 / 550;
        int darkest = 255;
        for (int x = 0; x < image.width() * 40 / 910; ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, row)));
        EXPECT_LT(darkest, 80) << name;
        EXPECT_GT(qGray(image.pixel(image.width() * 100 / 910, row)), 200) << name;
        EXPECT_GT(qGray(image.pixel(image.width() - 3, image.height() - 3)), 200) << name;
    }
}

TEST_F(MainWindowTest, ADroppedFileOpens) {
    Window->OpenOnStart({});
    const QString a = Path(QStringLiteral("dropped.xv4"));
    {
        TDocumentSession other(&Catalogue, nullptr);
        other.NewDocument();
        ASSERT_TRUE(other.SaveTo(a));
    }
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(a)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Window.get(), &drop);
    EXPECT_EQ(Window->windowTitle(), QStringLiteral("Vellum4 - dropped.xv4"));
}

TEST_F(MainWindowTest, KeysReachTheHostedViewOnce) {
    Window->OpenOnStart({});
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QCoreApplication::sendEvent(Window.get(), &press); // must come back, not loop
    Window->ShowSheet();
    QCoreApplication::sendEvent(Window.get(), &press);
    SUCCEED();
}

TEST_F(MainWindowTest, OrientationAndDesignCommandsFollowTheDocument) {
    Window->OpenOnStart({});
    QAction* landscape = Window->Action(QStringLiteral("actPaperLandscapeTrue"));
    QAction* separately = Window->Action(QStringLiteral("actPaperSeparatelyDesignTrue"));
    EXPECT_FALSE(landscape->isChecked());
    landscape->trigger();
    EXPECT_TRUE(Document().Paper()->Landscape());
    EXPECT_TRUE(landscape->isChecked());
    EXPECT_TRUE(landscape->isEnabled());
    EXPECT_EQ(Window->CardView().Site()->LogWidth(), 550);
    separately->trigger();
    EXPECT_TRUE(Document().SeparatelyDesign());
    EXPECT_TRUE(separately->isChecked());
    EXPECT_TRUE(Shown.empty());
}

} // namespace
} // namespace vellum::test
