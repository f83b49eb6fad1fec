#include "commands/DocumentSession.h"

#include "../appframe/FrameFixture.h"
#include "../support/CardClasses.h"
#include "../support/ScriptedDialogs.h"
#include "../support/TestCatalogue.h"
#include "appframe/HistoryManager.h"
#include "commands/FileDialogs.h"
#include "core/DOList.h"
#include "document/LabelData.h"
#include "objects/LORect.h"

#include <QFile>
#include <QImage>

namespace vellum::test {
namespace {

class SessionTest : public FrameTest {
protected:
    void SetUp() override {
        RegisterCardClassesOnce();
        FrameTest::SetUp();
        OpenTestCatalogue(Catalogue, Path(QStringLiteral("papers.ppr")));
        Session = std::make_unique<TDocumentSession>(&Catalogue, &Dialogs);
    }
    void TearDown() override {
        Session.reset();
        Catalogue.Close();
        FrameTest::TearDown();
    }

    void AddRect(int card, const TRect& r = {10, 10, 200, 100}) {
        TOwnedDOList objects;
        Session->Document().LoadCard(card, objects);
        objects.Give(std::make_unique<TLORect>()).SetRect(r);
        Session->Document().SaveCard(card, objects);
    }
    int ObjectsOn(int card) {
        TOwnedDOList objects;
        Session->Document().LoadCard(card, objects);
        return objects.Count();
    }
    QString PaperName() { return Session->Document().Paper()->PaperName(); }
    const TMatrixPaperInfo& MatrixPaper() {
        return dynamic_cast<const TMatrixPaperInfo&>(*Session->Document().Paper());
    }

    TPapers Catalogue;
    TScriptedDialogs Dialogs;
    std::unique_ptr<TDocumentSession> Session;
};

TEST_F(SessionTest, CancelKeepsTheModifiedDocumentAndYesSavesIt) {
    const QString a = Path(QStringLiteral("a.xv4"));
    const QString b = Path(QStringLiteral("b.xv4"));
    {
        TDocumentSession other(&Catalogue, nullptr);
        other.NewDocument();
        ASSERT_TRUE(other.SaveTo(b));
    }
    Session->NewDocument();
    EXPECT_EQ(Session->Title(), QStringLiteral("Vellum4 - 新規作成"));
    Dialogs.Answers = {{true, a, 1}};
    ASSERT_TRUE(Session->SaveAs());
    EXPECT_EQ(Session->Title(), QStringLiteral("Vellum4 - a.xv4"));
    EXPECT_EQ(Dialogs.Asked.back().DefaultExt, QStringLiteral("xv4"));
    EXPECT_EQ(Dialogs.Asked.back().Filter, QStringLiteral("Vellum4ﾃﾞｰﾀ(*.xv4)|*.xv4|すべてのﾌｧｲﾙ(*.*)|*.*"));
    AddRect(0);
    ASSERT_TRUE(Session->IsModified());

    Answers = {mrCancel};
    EXPECT_FALSE(Session->Open(b));
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_EQ(Shown[0].Text, QStringLiteral("データが修正されています\r\n保存しますか？"));
    EXPECT_EQ(Shown[0].Buttons, unsigned(mbYes | mbNo | mbCancel));
    EXPECT_TRUE(Session->IsModified());
    EXPECT_EQ(Session->FileName(), a);
    EXPECT_EQ(ObjectsOn(0), 1);

    Answers = {mrYes};
    EXPECT_TRUE(Session->Open(b));
    EXPECT_EQ(Session->FileName(), b);
    EXPECT_FALSE(Session->IsModified());
    EXPECT_EQ(ObjectsOn(0), 0);
    TLabelData saved;
    saved.Load(a);
    TOwnedDOList objects;
    saved.LoadCard(0, objects);
    EXPECT_EQ(objects.Count(), 1);
    EXPECT_EQ(Session->RecentFiles().Items().front(), b);
    EXPECT_EQ(Session->RecentFolders().Items().front(), FHome.path());

    // A view with unsaved edits counts too; No goes on without saving.
    Session->OnViewModified = [] { return true; };
    Answers = {mrNo};
    EXPECT_TRUE(Session->New());
    EXPECT_EQ(Shown.size(), 3u);
}

TEST_F(SessionTest, NewTakesTheDefaultPaperOrTheFirst) {
    struct {
        QString setting;
        bool landscape, design;
        QString paper;
        bool separately;
    } cases[] = {
        {QString(), false, false, QStringLiteral("名刺10面"), false},
        {QStringLiteral("ない用紙"), true, true, QStringLiteral("名刺10面"), true},
        {QStringLiteral("名刺1面"), false, true, QStringLiteral("名刺1面"), true},
        // A free paper is always designed card by card.
        {QStringLiteral("自由配置"), false, false, QStringLiteral("自由配置"), true},
    };
    for (const auto& c : cases) {
        FFrame->WriteString(QStringLiteral("DefaultPaperName"), c.setting);
        FFrame->WriteBool(QStringLiteral("DefaultLandScape"), c.landscape);
        FFrame->WriteBool(QStringLiteral("DefaultDesign"), c.design);
        Session->NewDocument();
        TLabelData& d = Session->Document();
        EXPECT_EQ(d.CurrentSheet(), 0);
        EXPECT_FALSE(d.Modified());
        EXPECT_TRUE(Session->FileName().isEmpty());
        EXPECT_EQ(PaperName(), c.paper) << c.setting.toStdString();
        EXPECT_EQ(d.Paper()->Landscape(), c.landscape) << c.setting.toStdString();
        EXPECT_EQ(d.SeparatelyDesign(), c.separately) << c.setting.toStdString();
        d.SwitchSheet(1);
        EXPECT_EQ(PaperName(), c.paper);
        EXPECT_EQ(d.Paper()->Landscape(), c.landscape);
        EXPECT_EQ(d.SeparatelyDesign(), c.separately);
        d.SwitchSheet(0);
    }
    // The back of the 2-column paper is mirrored: 2100 - (100 + 910 + 910).
    FFrame->WriteString(QStringLiteral("DefaultPaperName"), QString());
    FFrame->WriteBool(QStringLiteral("DefaultLandScape"), false);
    Session->NewDocument();
    Session->Document().SwitchSheet(1);
    EXPECT_EQ(MatrixPaper().LeftOffset, 180);
    EXPECT_EQ(FFrame->ReadString(QStringLiteral("ProfileDB"), QString()),
              FFrame->Expand(QStringLiteral("$(ProfileDB)")));
}

TEST_F(SessionTest, OpenRefusesForeignFilesAndUnnamesOtherFormats) {
    Session->NewDocument();
    AddRect(0);
    Session->Document().SetModified(false);
    const QString junk = Path(QStringLiteral("junk.xv4"));
    WriteFile(junk, "not a document at all");
    Session->RecentFiles().Add(junk);
    EXPECT_FALSE(Session->Open(junk));
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_EQ(Shown[0].Text, QStringLiteral("指定されたファイルは「Vellum4」のデータではありません"));
    EXPECT_EQ(ObjectsOn(0), 1);
    EXPECT_FALSE(Session->RecentFiles().Items().contains(junk));
    EXPECT_FALSE(Session->Open(Path(QStringLiteral("missing.xv4"))));

    // An earlier version's file opens unnamed and modified; Save asks for a name.
    const QString old = Path(QStringLiteral("old.xv3"));
    ASSERT_TRUE(Session->SaveTo(Path(QStringLiteral("x.xv4"))));
    ASSERT_TRUE(QFile::copy(Path(QStringLiteral("x.xv4")), old));
    ASSERT_TRUE(Session->Open(old));
    EXPECT_TRUE(Session->FileName().isEmpty());
    EXPECT_TRUE(Session->IsModified());
    EXPECT_EQ(ObjectsOn(0), 1);
    const size_t asked = Dialogs.Asked.size();
    EXPECT_FALSE(Session->Save()); // the dialog is cancelled
    EXPECT_EQ(Dialogs.Asked.size(), asked + 1);
    EXPECT_TRUE(Session->IsModified());
}

TEST_F(SessionTest, TheOpenDialogShowsTheSavedPreview) {
    Session->NewDocument();
    AddRect(0, {0, 0, 910, 550});
    const QString a = Path(QStringLiteral("a.xv4"));
    ASSERT_TRUE(Session->SaveTo(a));
    Session->Open();
    ASSERT_FALSE(Dialogs.Asked.empty());
    ASSERT_TRUE(bool(Dialogs.Asked.back().Preview));
    const QImage preview = Dialogs.Asked.back().Preview(a);
    ASSERT_FALSE(preview.isNull());
    EXPECT_EQ(preview.width(), 200); // 910 x 550 fitted into 200 x 200
    EXPECT_LE(preview.height(), 121);
    EXPECT_LT(qGray(preview.pixel(0, preview.height() / 2)), 100); // the frame at the left edge
    const QString junk = Path(QStringLiteral("junk.xv4"));
    WriteFile(junk, "not a document");
    EXPECT_TRUE(Dialogs.Asked.back().Preview(junk).isNull());
}

TEST_F(SessionTest, AFailedSaveKeepsTheOldFileAndTheModifiedDocument) {
    Session->NewDocument();
    const QString a = Path(QStringLiteral("a.xv4"));
    ASSERT_TRUE(Session->SaveTo(a));
    QFile f(a);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    AddRect(0);
    const QString missing = Path(QStringLiteral("no/such/folder/b.xv4"));
    EXPECT_FALSE(Session->SaveTo(missing));
    ASSERT_EQ(Shown.size(), 1u);
    // The message, then the file and the reason.
    EXPECT_EQ(Shown[0].Text,
              QStringLiteral(
                  "データの保存に失敗しました\r\nファイル %1 を保存できません（フォルダーが見つかりません）")
                  .arg(missing));
    EXPECT_TRUE(Session->IsModified());
    EXPECT_EQ(Session->FileName(), a);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_EQ(ObjectsOn(0), 1);
}

TEST_F(SessionTest, CompressedSaveLoadsBack) {
    Session->NewDocument();
    AddRect(0);
    const QString c = Path(QStringLiteral("c.xv4"));
    Dialogs.Answers = {{true, c, 1}};
    ASSERT_TRUE(Session->SaveCompressed());
    EXPECT_TRUE(Session->Document().IsCardCompressed(0));
    EXPECT_EQ(Session->FileName(), c);
    TLabelData again;
    again.Load(c);
    TOwnedDOList objects;
    again.LoadCard(0, objects);
    EXPECT_EQ(objects.Count(), 1);
    // Cancelling asks nothing more.
    EXPECT_FALSE(Session->SaveCompressed());
}

TEST_F(SessionTest, DesignModeCopiesOrMergesCards) {
    FFrame->WriteString(QStringLiteral("DefaultPaperName"), QStringLiteral("名刺1面"));
    Session->NewDocument();
    AddRect(0);
    // One card: never a question.
    EXPECT_TRUE(Session->SetSeparatelyDesign(true));
    EXPECT_TRUE(Session->SetSeparatelyDesign(false));
    EXPECT_TRUE(Shown.empty());

    FFrame->WriteString(QStringLiteral("DefaultPaperName"), QString());
    Session->NewDocument();
    EXPECT_TRUE(Session->SetSeparatelyDesign(true)); // nothing to copy, no question
    EXPECT_TRUE(Shown.empty());
    EXPECT_TRUE(Session->SetSeparatelyDesign(false));
    AddRect(0);
    Answers = {mrNo};
    EXPECT_FALSE(Session->SetSeparatelyDesign(true));
    EXPECT_EQ(Shown.back().Text,
              QStringLiteral("現在表示中の用紙を個別デザイン可能にします\r\nよろしいですか？"));
    EXPECT_FALSE(Session->Document().SeparatelyDesign());
    Answers = {mrYes};
    EXPECT_TRUE(Session->SetSeparatelyDesign(true));
    for (int i = 0; i < 10; ++i) EXPECT_EQ(ObjectsOn(i), 1) << i;

    // Back to one design: the current card's objects, card 0 current.
    AddRect(3);
    Session->Document().SetCurrentLabelNo(3);
    Answers = {mrYes};
    EXPECT_TRUE(Session->SetSeparatelyDesign(false, true));
    EXPECT_EQ(Shown.back().Text,
              QStringLiteral(
                  "現在選択中のラベルで用紙の全てのラベルを同一デザインにします\r\nよろしいですか？"));
    EXPECT_EQ(Session->Document().CurrentLabelNo(), 0);
    EXPECT_EQ(ObjectsOn(0), 2);
    Session->Document().SetSeparatelyDesign(true);
    for (int i = 1; i < 10; ++i) EXPECT_EQ(ObjectsOn(i), 0) << i;
}

TEST_F(SessionTest, OrientationAsksWhenCardsHoldObjectsAndKeepsTheBackCard) {
    Session->NewDocument();
    EXPECT_TRUE(Session->SetLandscape(true)); // empty cards: no question
    EXPECT_TRUE(Shown.empty());
    EXPECT_FALSE(Session->SetLandscape(true));
    AddRect(0);
    Answers = {mrNo};
    EXPECT_FALSE(Session->SetLandscape(false));
    EXPECT_EQ(Shown.back().Text,
              QStringLiteral("用紙の方向を変更すると\r\nデータの位置関係が変わります\r\nよろしいですか？"));
    EXPECT_TRUE(Session->Document().Paper()->Landscape());

    // The back sheet is un-mirrored, turned and mirrored again.
    TLabelData& d = Session->Document();
    ASSERT_TRUE(Session->SetLandscape(false));
    d.SwitchSheet(1);
    d.SetCurrentLabelNo(1); // front card 0 seen from behind
    ASSERT_TRUE(Session->SetLandscape(true));
    EXPECT_TRUE(d.Paper()->Landscape());
    EXPECT_EQ(MatrixPaper().LeftOffset, 100);
    EXPECT_EQ(MatrixPaper().TopOffset, 2970 - (100 + 4 * 550 + 550));
    EXPECT_EQ(d.CurrentLabelNo(), 8);
}

} // namespace
} // namespace vellum::test
