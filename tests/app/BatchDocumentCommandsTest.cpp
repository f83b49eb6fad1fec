#include "app/BatchDocumentCommands.h"

#include "app/BatchTool.h"
#include "app/StartupRegistrations.h"
#include "appframe/AppFrame.h"
#include "appframe/StartupMacros.h"
#include "core/DOList.h"
#include "document/LabelData.h"
#include "objects/LORect.h"
#include "paper/ImagePaperInfo.h"
#include "paper/MatrixPaperInfo.h"
#include "paper/Papers.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace vellum {
namespace {

struct TRun {
    int Code;
    QString Out, Err;
};

std::unique_ptr<TMatrixPaperInfo> TestPaper(const QString& name, int columns, int rows) {
    auto paper = std::make_unique<TMatrixPaperInfo>();
    paper->SetPortraitSize(2100, 2970);
    paper->FaceWidth = 910;
    paper->FaceHeight = 550;
    paper->FaceCountX = columns;
    paper->FaceCountY = rows;
    paper->SetPaperName(name);
    paper->SetGroupName(QStringLiteral("名刺"));
    return paper;
}

// A frame over fresh user folders and a saved document: the front designed
// card by card with a filled rectangle on card 2, the back turned to
// landscape with one design for both its cards.
class BatchDocumentTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterStartupClasses(); }

    void SetUp() override {
        ASSERT_TRUE(Home.isValid());
        qputenv("XDG_CONFIG_HOME", Path(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_HOME", Path(QStringLiteral("data")).toUtf8());
        Frame = std::make_unique<TAppFrame>(nullptr, Path(QStringLiteral("install/bin/vellum4")));
        LoadStartupMacros(*Frame);
        Frame->OnMessageBox = [this](const QString& text, TMsgDlgButtons, TMsgDlgBtn def, TMsgDlgBtn) {
            Boxes << text;
            return ModalResultOf(def);
        };

        TLabelData document;
        document.SetPaper(TestPaper(QStringLiteral("テスト用紙"), 2, 5).get());
        document.SetSeparatelyDesign(true);
        TOwnedDOList card;
        TLORect& rect = card.Give(std::make_unique<TLORect>());
        rect.SetRect({100, 100, 500, 300});
        rect.SetFillInside(true);
        card.Give(std::make_unique<TLORect>());
        document.SaveCard(1, card);
        document.SwitchSheet(1);
        const auto turned = TestPaper(QStringLiteral("横の用紙"), 1, 2);
        turned->SetLandscape(true);
        document.SetPaper(turned.get());
        document.SetSeparatelyDesign(false);
        document.SwitchSheet(0);
        Document = Path(QStringLiteral("card.lbl"));
        document.Save(Document);
    }

    QString Path(const QString& rel) const { return Home.path() + u'/' + rel; }

    static TRun Run(const QStringList& args) {
        TBatchTool tool;
        AddFrameCommands(tool);
        AddDocumentCommands(tool);
        QString out, err;
        QTextStream o(&out), e(&err);
        const int code = tool.Run(args, o, e);
        return {code, out, err};
    }

    // The shipped catalogue the program home is seeded from.
    QString InstallShippedCatalogue() {
        const QString shipped = Path(QStringLiteral("install/share/vellum4/vellum4.ppr"));
        QDir().mkpath(QFileInfo(shipped).absolutePath());
        TPapers papers;
        papers.Open(shipped, false);
        papers.Store(*TestPaper(QStringLiteral("A4 10面"), 2, 5));
        papers.Store(*TestPaper(QStringLiteral("A4 1面"), 1, 1));
        papers.Close();
        return shipped;
    }

    QTemporaryDir Home;
    std::unique_ptr<TAppFrame> Frame;
    QString Document;
    QStringList Boxes;
};

TEST_F(BatchDocumentTest, InfoListsSheetsPapersAndCards) {
    const TRun r = Run({QStringLiteral("info"), Document});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    const QStringList lines = r.Out.split(u'\n');
    const QStringList expected{
        QStringLiteral("シート数: 2"),
        QStringLiteral("シート 1: 表面"),
        QStringLiteral("  用紙: テスト用紙"),
        QStringLiteral("  用紙サイズ: 2100 x 2970 (0.1mm)"),
        QStringLiteral("  面数: 10"),
        QStringLiteral("  向き: 縦"),
        QStringLiteral("  個別デザイン: はい"),
        QStringLiteral("  カード 1: オブジェクト 0"),
        QStringLiteral("  カード 2: オブジェクト 2 (TLORect, TLORect)"),
        QStringLiteral("  カード 10: オブジェクト 0"),
        QStringLiteral("シート 2: 裏面"),
        QStringLiteral("  用紙: 横の用紙"),
        QStringLiteral("  用紙サイズ: 2970 x 2100 (0.1mm)"),
        QStringLiteral("  向き: 横"),
        QStringLiteral("  個別デザイン: いいえ"),
    };
    for (const QString& line : expected)
        EXPECT_TRUE(lines.contains(line)) << line.toStdString() << "\n" << r.Out.toStdString();
    EXPECT_FALSE(lines.contains(QStringLiteral("  カード 11: オブジェクト 0")));
    // The back's one design.
    EXPECT_EQ(lines.count(QStringLiteral("  カード 1: オブジェクト 0")), 2) << r.Out.toStdString();
    EXPECT_EQ(lines.count(QStringLiteral("  カード 2: オブジェクト 2 (TLORect, TLORect)")), 1);
    EXPECT_FALSE(lines.contains(QStringLiteral("  カード 2: オブジェクト 0")));
    EXPECT_TRUE(r.Err.isEmpty());
}

TEST_F(BatchDocumentTest, DumpShowsTheTreeAndReadableComponentStreams) {
    // Compressed cards are shown unpacked; an image paper's design is an
    // object list.
    {
        TLabelData document;
        document.Load(Document);
        document.CompressCard(1);
        TImagePaperInfo image;
        image.SetPaperName(QStringLiteral("テスト用紙"));
        TOwnedDOList design;
        design.Give(std::make_unique<TLORect>());
        image.SetDesign(0, std::move(design));
        document.SetImagePaperInfo(&image);
        document.Save(Document);
    }
    const TRun r = Run({QStringLiteral("dump"), Document});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.startsWith(QStringLiteral("ストレージ構成:\n\\ (ルート, ")));
    EXPECT_TRUE(r.Out.contains(QStringLiteral("(ストレージ, "))) << r.Out.toStdString();
    EXPECT_TRUE(r.Out.contains(QStringLiteral("(ストリーム, "))) << r.Out.toStdString();
    EXPECT_TRUE(r.Out.contains(QStringLiteral("(圧縮, 展開後 "))) << r.Out.toStdString();
    // The card's objects and the design's, with their properties.
    EXPECT_EQ(r.Out.count(QStringLiteral("TLORect")), 3) << r.Out.toStdString();
    EXPECT_TRUE(
        r.Out.contains(QStringLiteral("PaperImages\\$00000001 ==\nオブジェクト数 1\nobject <>: TLORect")))
        << r.Out.toStdString();
    EXPECT_TRUE(r.Out.contains(QStringLiteral("FillInside"))) << r.Out.toStdString();
    EXPECT_FALSE(r.Out.contains(QStringLiteral("!! "))) << r.Out.toStdString();
}

TEST_F(BatchDocumentTest, ExportWritesTheCardAsBitmapOrJpeg) {
    for (const QString& name : {QStringLiteral("card.bmp"), QStringLiteral("card.JPG")}) {
        const QString out = Path(name);
        const TRun r = Run({QStringLiteral("export"), Document, QStringLiteral("--sheet"),
                            QStringLiteral("1"), QStringLiteral("--card"), QStringLiteral("2"), out});
        ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
        QImage image;
        ASSERT_TRUE(image.load(out)) << name.toStdString();
        EXPECT_EQ(image.size(), QSize(344, 208));
        // The filled rectangle (black by default) around (300, 200) units.
        EXPECT_LT(qGray(image.pixel(113, 76)), 60) << name.toStdString();
        EXPECT_GT(qGray(image.pixel(300, 180)), 200) << name.toStdString();
    }
}

TEST_F(BatchDocumentTest, BadInputIsOneLineAndExitCodeOne) {
    const QString corrupt = Path(QStringLiteral("corrupt.lbl"));
    {
        QFile f(corrupt);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        QByteArray bytes = QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(600, '\x7F');
        f.write(bytes);
    }
    const QString missing = Path(QStringLiteral("none.lbl"));
    const QString out = Path(QStringLiteral("out.bmp"));
    const struct {
        QStringList Args;
        const char* Expect; // in the message
    } cases[] = {
        {{"info", missing}, "が見つかりません"},
        {{"dump", missing}, "が見つかりません"},
        {{"export", missing, out}, "が見つかりません"},
        {{"info", corrupt}, "を読み込めません"},
        {{"dump", corrupt}, "を読み込めません"},
        {{"export", corrupt, out}, "を読み込めません"},
        {{"info"}, "使い方"},
        {{"dump", Document, "x"}, "使い方"},
        {{"papers", "x"}, "使い方"},
        {{"export", Document}, "使い方"},
        {{"export", Document, "--sheet", "x", out}, "番号ではありません"},
        {{"export", Document, "--card", "0", out}, "範囲外"},
        {{"export", Document, "--card", "11", out}, "範囲外"},
        {{"export", Document, "--sheet", "3", out}, "範囲外"},
        {{"export", Document, out, "--card"}, "番号がありません"},
        {{"export", Document, "--scale", "2", out}, "不明なオプション"},
        {{"export", Document, Path("out.png")}, "拡張子"},
        {{"export", Document, Path("none/out.bmp")}, "保存できません"},
    };
    for (const auto& c : cases) {
        const TRun r = Run(c.Args);
        const std::string args = c.Args.join(u' ').toStdString();
        EXPECT_EQ(r.Code, 1) << args;
        EXPECT_EQ(r.Err.count(u'\n'), 1) << args << ": " << r.Err.toStdString();
        EXPECT_TRUE(r.Err.endsWith(u'\n')) << args;
        EXPECT_TRUE(r.Err.contains(QString::fromUtf8(c.Expect))) << args << ": " << r.Err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(BatchDocumentTest, PapersListsTheCatalogueSeededFromTheShippedData) {
    // No catalogue anywhere: the start-up message.
    TRun r = Run({QStringLiteral("papers")});
    EXPECT_EQ(r.Code, 1);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("アプリケーションに必要なファイル"))) << r.Err.toStdString();

    const QString shipped = InstallShippedCatalogue();
    const QByteArray before = [&] {
        QFile f(shipped);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    r = Run({QStringLiteral("papers")});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.contains(QStringLiteral("(2 件)"))) << r.Out.toStdString();
    EXPECT_TRUE(r.Out.contains(QStringLiteral("\tA4 10面\t名刺\t10面\t2100 x 2970\n")))
        << r.Out.toStdString();
    EXPECT_TRUE(r.Out.contains(QStringLiteral("\tA4 1面\t名刺\t1面\t2100 x 2970\n"))) << r.Out.toStdString();
    // The user's copy is the one read, and neither file is written.
    EXPECT_TRUE(QFile::exists(Frame->Expand(QStringLiteral("$(PaperInfo)"))));
    QFile f(shipped);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(BatchDocumentTest, NewAndConvertMakeDocumentsAsTheProgramDoes) {
    InstallShippedCatalogue();
    const QString made = Path(QStringLiteral("new.xv4"));
    TRun r = Run({QStringLiteral("new"), made});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    {
        TLabelData d;
        d.Load(made);
        EXPECT_EQ(d.Paper()->PaperName(), QStringLiteral("A4 10面"));
        EXPECT_FALSE(d.Paper()->Landscape());
        d.SwitchSheet(1);
        // The back is the front seen from behind: 2100 - 2 x 910.
        EXPECT_EQ(dynamic_cast<const TMatrixPaperInfo&>(*d.Paper()).LeftOffset, 280);
    }
    r = Run({QStringLiteral("new"), QStringLiteral("--paper"), QStringLiteral("A4 1面"),
             QStringLiteral("--landscape"), made});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    {
        TLabelData d;
        d.Load(made);
        EXPECT_EQ(d.Paper()->PaperName(), QStringLiteral("A4 1面"));
        EXPECT_TRUE(d.Paper()->Landscape());
    }
    r = Run({QStringLiteral("new"), QStringLiteral("--paper"), QStringLiteral("ない"), made});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Err.count(u'\n'), 1);

    // Any document converts, here one under another extension.
    const QString converted = Path(QStringLiteral("converted.xv4"));
    r = Run({QStringLiteral("convert"), Document, converted});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    {
        TLabelData d;
        d.Load(converted);
        TOwnedDOList objects;
        d.LoadCard(1, objects);
        EXPECT_EQ(objects.Count(), 2);
    }
    const QString corrupt = Path(QStringLiteral("corrupt.xv4"));
    QFile f(corrupt);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a document");
    f.close();
    r = Run({QStringLiteral("convert"), corrupt, Path(QStringLiteral("x.xv4"))});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(Boxes.value(0), QStringLiteral("指定されたファイルは「Vellum4」のデータではありません"));
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("x.xv4"))));
}

TEST_F(BatchDocumentTest, HelpListsEveryCommand) {
    const TRun r = Run({QStringLiteral("--help")});
    EXPECT_EQ(r.Code, 0);
    for (const char* synopsis :
         {"new [--paper NAME] [--landscape] OUT", "convert IN OUT", "info FILE", "dump FILE", "papers",
          "export FILE [--sheet N] [--card N] OUT.bmp|OUT.jpg", "expand TEXT"})
        EXPECT_TRUE(r.Out.contains(QString::fromUtf8(synopsis))) << synopsis;
}

} // namespace
} // namespace vellum
