#include "commands/CardImage.h"

#include "../core/CoreTestKinds.h"
#include "base/ClassRegistry.h"
#include "base/Exceptions.h"
#include "core/DOList.h"
#include "document/DocumentClasses.h"
#include "document/LabelData.h"
#include "editing/DrawSite.h"
#include "editing/Scaler.h"
#include "paper/MatrixPaperInfo.h"
#include "paper/PaperClasses.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vellum::test {
namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

// A document on a paper of two round-cornered 910 x 550 faces; the sheet is
// designed card by card, card 1 holding one shape an inch in.
class CardImageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterPaperClasses();
        RegisterDocumentClasses();
        RegisterClass(TTestShape::StaticClass());
    }

    void SetUp() override {
        TMatrixPaperInfo paper;
        paper.SetPortraitSize(2100, 2970);
        paper.LeftOffset = 140;
        paper.TopOffset = 200;
        paper.FaceWidth = 910;
        paper.FaceHeight = 550;
        paper.FaceCountX = 2;
        paper.FaceCountY = 1;
        paper.Face.Shape = TFaceShape::fsRoundRect;
        paper.SetPaperName(QStringLiteral("テスト用紙"));
        Doc.SetPaper(&paper);
        Doc.SetSeparatelyDesign(true);
        TOwnedDOList card;
        card.Give(std::make_unique<TTestShape>()).SetRect({254, 254, 508, 381});
        Doc.SaveCard(1, card);
    }

    QString PathOf(const QString& name) const { return Dir.filePath(name); }

    TLabelData Doc;
    QTemporaryDir Dir;
};

QRect BlackBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == kBlack) box |= QRect(x, y, 1, 1);
    return box;
}

TEST_F(CardImageTest, TheCardIsDrawnInItsFaceAtTheZoom) {
    ASSERT_EQ(ScreenDPI(), 96);
    const QImage image = RenderCardImage(Doc, 1);
    EXPECT_EQ(image.size(), QSize(344, 208));
    EXPECT_EQ(image.depth(), 24);
    EXPECT_EQ(BlackBox(image), QRect(QPoint(96, 96), QPoint(191, 143)));
    // The rounded corner lies outside the face: background there too.
    EXPECT_EQ(image.pixel(0, 0), kWhite);

    const QImage doubled = RenderCardImage(Doc, 1, 200);
    EXPECT_EQ(doubled.size(), QSize(688, 416));
    EXPECT_EQ(BlackBox(doubled), QRect(QPoint(192, 192), QPoint(383, 287)));
    // Half the units per inch draw twice as large.
    EXPECT_EQ(RenderCardImage(Doc, 1, 100, 127).size(), QSize(688, 416));

    // The other card is empty.
    EXPECT_TRUE(BlackBox(RenderCardImage(Doc, 0)).isEmpty());
}

TEST_F(CardImageTest, TheSiteTakesTheCardsSizeAndObjects) {
    TDrawSite site;
    LoadCardOnSite(Doc, 1, site);
    EXPECT_EQ(site.LogWidth(), 910);
    EXPECT_EQ(site.LogHeight(), 550);
    ASSERT_EQ(site.ObjectCount(), 1);
    TDOList objects;
    site.AllObjects(objects);
    EXPECT_EQ(objects.Items(0)->Owner(), &site);
    EXPECT_EQ(objects.Items(0)->GetBounds(), (TRect{254, 254, 508, 381}));
}

TEST_F(CardImageTest, CardsOutsideThePaperAreRefused) {
    TDrawSite site;
    for (int card : {-1, 2}) {
        EXPECT_THROW(LoadCardOnSite(Doc, card, site), EListError) << card;
        EXPECT_THROW(RenderCardImage(Doc, card), EListError) << card;
    }
    EXPECT_EQ(site.ObjectCount(), 0);
}

TEST_F(CardImageTest, ExportedFilesReadBackAtTheBitmapsSize) {
    const struct {
        TCardImageFormat Format;
        const char* Name;
        const char* QtFormat;
    } cases[] = {{TCardImageFormat::cfBitmap, "card.bmp", "BMP"},
                 {TCardImageFormat::cfJpeg, "card.jpg", "JPEG"}};
    for (const auto& c : cases) {
        const QString path = PathOf(QString::fromLatin1(c.Name));
        ExportCardImage(Doc, 1, path, c.Format);
        QImage image;
        ASSERT_TRUE(image.load(path, c.QtFormat)) << c.Name;
        EXPECT_EQ(image.size(), QSize(344, 208)) << c.Name;
        if (c.Format == TCardImageFormat::cfBitmap) {
            // Qt reads 24-bit files into 32-bit images: the file's header tells.
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray header = file.read(30);
            ASSERT_EQ(header.size(), 30);
            EXPECT_EQ(header.left(2), QByteArray("BM"));
            EXPECT_EQ(uint8_t(header[28]) | uint8_t(header[29]) << 8, 24);
            EXPECT_EQ(BlackBox(image), QRect(QPoint(96, 96), QPoint(191, 143)));
        } else {
            // Lossy: the middle of the shape is dark, the card's middle light.
            EXPECT_LT(qGray(image.pixel(140, 120)), 40);
            EXPECT_GT(qGray(image.pixel(250, 150)), 215);
        }
    }
    // Nothing is left beside the files.
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), (QStringList{"card.bmp", "card.jpg"}));
}

TEST_F(CardImageTest, AFailedExportLeavesWhatWasThere) {
    const QString path = PathOf(QStringLiteral("card.bmp"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    // A card that cannot be drawn.
    EXPECT_THROW(ExportCardImage(Doc, 5, path, TCardImageFormat::cfBitmap), EListError);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));

    // Targets that cannot be written (a folder in the way, a missing folder)
    // fail with one line naming the file, and leave nothing behind.
    ASSERT_TRUE(QDir().mkdir(PathOf(QStringLiteral("folder.bmp"))));
    for (const QString& target :
         {PathOf(QStringLiteral("folder.bmp")), PathOf(QStringLiteral("none/card.jpg"))}) {
        try {
            ExportCardImage(Doc, 1, target, TCardImageFormat::cfJpeg);
            ADD_FAILURE() << "written: " << target.toStdString();
        } catch (const EWriteError& e) {
            EXPECT_TRUE(e.Message().startsWith(QStringLiteral("名刺イメージ ") + target)) << e.what();
            EXPECT_FALSE(e.Message().contains(u'\n')) << e.what();
        }
    }
    EXPECT_TRUE(QFileInfo(PathOf(QStringLiteral("folder.bmp"))).isDir());
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"card.bmp"}));
}

} // namespace
} // namespace vellum::test
