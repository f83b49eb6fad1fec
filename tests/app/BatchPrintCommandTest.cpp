#include "app/BatchPrintCommand.h"

#include "app/BatchTool.h"
#include "app/StartupRegistrations.h"
#include "appframe/AppFrame.h"
#include "appframe/StartupMacros.h"
#include "core/DOList.h"
#include "document/LabelData.h"
#include "objects/LORect.h"
#include "paper/MatrixPaperInfo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vellum {
namespace {

// A saved document of ten 91 x 55 cards, card 1 holding a filled rectangle.
class BatchPrintTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterStartupClasses(); }

    void SetUp() override {
        ASSERT_TRUE(Home.isValid());
        qputenv("XDG_CONFIG_HOME", Path(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_HOME", Path(QStringLiteral("data")).toUtf8());
        Frame = std::make_unique<TAppFrame>(nullptr, Path(QStringLiteral("install/bin/vellum4")));
        LoadStartupMacros(*Frame);
        Frame->OnMessageBox = [](const QString&, TMsgDlgButtons, TMsgDlgBtn def, TMsgDlgBtn) {
            return ModalResultOf(def);
        };
        TMatrixPaperInfo paper;
        paper.SetPaperName(QStringLiteral("A4 10面"));
        paper.SetPortraitSize(2100, 2970);
        paper.LeftOffset = 140;
        paper.TopOffset = 110;
        paper.FaceWidth = 910;
        paper.FaceHeight = 550;
        paper.FaceCountX = 2;
        paper.FaceCountY = 5;
        TLabelData document;
        document.SetPaper(&paper);
        document.SetSeparatelyDesign(true);
        TOwnedDOList card;
        TLORect& rect = card.Give(std::make_unique<TLORect>());
        rect.SetRect({100, 100, 500, 300});
        rect.SetFillInside(true);
        document.SaveCard(0, card);
        Document = Path(QStringLiteral("card.xv4"));
        document.Save(Document);
    }

    QString Path(const QString& rel) const { return Home.path() + u'/' + rel; }

    struct TRun {
        int Code;
        QString Out, Err;
    };
    static TRun Run(const QStringList& args) {
        TBatchTool tool;
        AddPrintCommand(tool);
        QString out, err;
        QTextStream o(&out), e(&err);
        const int code = tool.Run(args, o, e);
        return {code, out, err};
    }
    QByteArray Read(const QString& rel) const {
        QFile file(Path(rel));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir Home;
    std::unique_ptr<TAppFrame> Frame;
    QString Document;
};

TEST_F(BatchPrintTest, PrintsTheSheetsToPdf) {
    const TRun r = Run({QStringLiteral("print"), Document, QStringLiteral("--pdf"),
                        Path(QStringLiteral("out.pdf")), QStringLiteral("--count"), QStringLiteral("3"),
                        QStringLiteral("--cards"), QStringLiteral("1,3-4"), QStringLiteral("--cut"),
                        QStringLiteral("cross"), QStringLiteral("--frame"), QStringLiteral("--offset"),
                        QStringLiteral("5,-5"), QStringLiteral("--banding"), QStringLiteral("0")});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out,
              QStringLiteral("%1 に 3 枚印刷しました (シート 1)\n").arg(Path(QStringLiteral("out.pdf"))));
    const QByteArray pdf = Read(QStringLiteral("out.pdf"));
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_TRUE(pdf.contains("/Count 3"));
    // The job's title names the document (PDF strings are UTF-16 big-endian).
    QByteArray title;
    for (const QChar c : QStringLiteral("card.xv4 - "))
        title.append(char(c.unicode() >> 8)).append(char(c.unicode()));
    EXPECT_TRUE(pdf.contains(title));
}

TEST_F(BatchPrintTest, BadInputIsOneLineAndExitCodeOneAndLeavesNoFile) {
    const QString out = Path(QStringLiteral("bad.pdf"));
    const QStringList cases[] = {
        {QStringLiteral("print"), Document},
        {QStringLiteral("print"), Document, QStringLiteral("--pdf"), Path(QStringLiteral("bad.png"))},
        {QStringLiteral("print"), Document, QStringLiteral("--pdf"), out, QStringLiteral("--cut"),
         QStringLiteral("zigzag")},
        {QStringLiteral("print"), Document, QStringLiteral("--pdf"), out, QStringLiteral("--cards"),
         QStringLiteral("11")},
        {QStringLiteral("print"), Document, QStringLiteral("--pdf"), out, QStringLiteral("--sheet"),
         QStringLiteral("3")},
        {QStringLiteral("print"), Document, QStringLiteral("--pdf"), out, QStringLiteral("--count")},
        {QStringLiteral("print"), Path(QStringLiteral("none.xv4")), QStringLiteral("--pdf"), out},
        {QStringLiteral("print"), Document, QStringLiteral("--pdf"),
         Path(QStringLiteral("no/such/dir/x.pdf"))},
    };
    for (const QStringList& args : cases) {
        const TRun r = Run(args);
        EXPECT_EQ(r.Code, 1) << args.join(u' ').toStdString();
        EXPECT_EQ(r.Err.count(u'\n'), 1) << r.Err.toStdString();
    }
    EXPECT_EQ(QDir(Home.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("card.xv4")});
}

} // namespace
} // namespace vellum
