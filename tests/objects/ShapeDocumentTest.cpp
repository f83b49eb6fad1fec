// Shapes on a card of a label document: saved, loaded, saved again, drawn.
#include "objects/LOCircle.h"
#include "objects/LORect.h"
#include "objects/ObjectClasses.h"

#include "../support/StoredStreams.h"

#include "base/ClassRegistry.h"
#include "base/ComponentDump.h"
#include "base/Filer.h"
#include "base/Stream.h"
#include "base/StringList.h"
#include "core/DOList.h"
#include "core/DocStorage.h"
#include "core/DocStream.h"
#include "core/ObjectHelpers.h"
#include "document/DocumentClasses.h"
#include "document/LabelData.h"
#include "editing/DrawSite.h"
#include "paper/MatrixPaperInfo.h"
#include "paper/PaperClasses.h"
#include "platform/PainterCanvas.h"

#include <QFile>
#include <QImage>
#include <QMap>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

namespace vellum {
namespace {

constexpr TColor Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000, Yellow = 0x00FFFF;

// A turned rounded rectangle with a 3 mm frame over a gradation, and a circle.
void AddShapes(TOwnedDOList& card) {
    auto rect = std::make_unique<TLORect>();
    rect->SetRect(Bounds(100, 100, 300, 100));
    rect->SetRoundRect(true);
    rect->SetFrameWidth(30);
    rect->SetAngle(30);
    TColorSpec frame;
    frame.SetColor(Red);
    rect->SetFrameColor(frame);
    TColorSpec gradation;
    gradation.SetKind(TColorSpecKind::cskGradation);
    gradation.SetGradColNum(2);
    gradation.SetGradColor(0, Green);
    gradation.SetGradColor(1, Blue);
    gradation.SetGradDir(rgGradationDir::rgdLeftToRight);
    rect->SetFillColor(gradation);
    rect->SetFillInside(true);
    card.Give(std::move(rect));

    auto circle = std::make_unique<TLOCircle>();
    circle->SetRect(Bounds(600, 150, 200, 200));
    circle->SetFrameWidth(20);
    TColorSpec yellow;
    yellow.SetColor(Yellow);
    circle->SetFillColor(yellow);
    circle->SetFillInside(true);
    card.Give(std::move(circle));
}

// The objects on a card site drawn at 100 %; they stay with the caller.
void DrawCard(const TDOList& objects, TCanvas& canvas) {
    TDrawSite site;
    site.SetLogWidth(910);
    site.SetLogHeight(550);
    site.SetBorder(false);
    for (TDrawObject* object : objects) {
        site.InsertComponent(object);
        site.PlaceObject(*object);
    }
    site.DrawTo(canvas, {0, 0}, 100);
    for (TDrawObject* object : objects) {
        site.RemoveObject(*object);
        site.RemoveComponent(object);
    }
}

// One pixel per logical unit.
QImage Drawn(const TDOList& objects) {
    QImage image(910, 550, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TPainterCanvas canvas(image);
        canvas.SetResolution(254);
        DrawCard(objects, canvas);
    }
    return image;
}

template <class T>
T* FindShape(const TDOList& list) {
    for (TDrawObject* object : list)
        if (&object->ClassType() == &T::StaticClass()) return static_cast<T*>(object);
    return nullptr;
}

void ExpectCardPixels(const QImage& card) {
    // The frame of the turned rectangle: the middle of its top edge turned 30 degrees about (250, 150).
    EXPECT_EQ(card.pixel(275, 107), qRgb(255, 0, 0));
    // Inside, the gradation runs from green on the left to blue on the right.
    const QRgb centre = card.pixel(250, 150), left = card.pixel(164, 101), right = card.pixel(336, 199);
    for (const QRgb fill : {centre, left, right}) {
        EXPECT_NE(fill, qRgb(255, 255, 255));
        EXPECT_NE(fill, qRgb(255, 0, 0));
    }
    EXPECT_GT(qGreen(left), qGreen(right));
    EXPECT_LT(qBlue(left), qBlue(right));
    EXPECT_EQ(card.pixel(250, 40), qRgb(255, 255, 255));
    // The circle: black frame, yellow inside, nothing in the corner of its box.
    EXPECT_EQ(card.pixel(799, 250), qRgb(0, 0, 0));
    EXPECT_EQ(card.pixel(700, 150), qRgb(0, 0, 0));
    EXPECT_EQ(card.pixel(700, 250), qRgb(255, 255, 0));
    EXPECT_EQ(card.pixel(606, 156), qRgb(255, 255, 255));
}

class ShapeDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearClassRegistry();
        RegisterPaperClasses();
        RegisterDocumentClasses();
        RegisterObjectClasses();
    }
    void TearDown() override { ClearClassRegistry(); }
    QString PathOf(const char* name) const { return Dir.filePath(QString::fromLatin1(name)); }

    static void SetPaper(TLabelData& doc) {
        TMatrixPaperInfo paper;
        paper.SetPortraitSize(2100, 2970);
        paper.FaceWidth = 910;
        paper.FaceHeight = 550;
        paper.FaceCountX = 2;
        paper.FaceCountY = 5;
        paper.SetPaperName(QStringLiteral("名刺用紙"));
        doc.SetPaper(&paper);
    }

    QTemporaryDir Dir;
};

TEST_F(ShapeDocumentTest, ShapesSurviveSaveLoadSaveAndDrawTheSame) {
    TOwnedDOList original;
    AddShapes(original);
    TLabelData doc;
    SetPaper(doc);
    doc.SaveCard(0, original);
    doc.Save(PathOf("first.vlm"));
    // VELLUM_KEEP_DOCUMENT=file keeps the document for a look in the program.
    if (const QString keep = qEnvironmentVariable("VELLUM_KEEP_DOCUMENT"); !keep.isEmpty()) {
        QFile::remove(keep);
        QFile::copy(PathOf("first.vlm"), keep);
    }

    TLabelData reopened;
    reopened.Load(PathOf("first.vlm"));
    TOwnedDOList loaded;
    reopened.LoadCard(0, loaded);
    ASSERT_EQ(loaded.Count(), 2);
    auto* rect = FindShape<TLORect>(loaded);
    auto* circle = FindShape<TLOCircle>(loaded);
    ASSERT_NE(rect, nullptr);
    ASSERT_NE(circle, nullptr);

    EXPECT_EQ(rect->FrameRect(), Bounds(100, 100, 300, 100));
    EXPECT_EQ(rect->Angle(), 30);
    EXPECT_TRUE(rect->RoundRect());
    EXPECT_EQ(rect->FrameWidth(), 30);
    EXPECT_TRUE(rect->FillInside());
    EXPECT_EQ(rect->FrameColor().Kind(), TColorSpecKind::cskSolid);
    EXPECT_EQ(rect->FrameColor().Color(), Red);
    EXPECT_EQ(rect->FillColor().Kind(), TColorSpecKind::cskGradation);
    EXPECT_EQ(rect->FillColor().GradColors().Colors(), (std::vector<TColor>{Green, Blue}));
    EXPECT_EQ(rect->FillColor().GradDir(), rgGradationDir::rgdLeftToRight);
    EXPECT_EQ(circle->FrameRect(), Bounds(600, 150, 200, 200));
    EXPECT_EQ(circle->Angle(), 0);
    EXPECT_EQ(circle->FrameWidth(), 20);
    EXPECT_EQ(circle->FrameColor().Color(), clBlack);
    EXPECT_EQ(circle->FillColor().Color(), Yellow);
    EXPECT_TRUE(circle->FillInside());

    // Written back in the order it was read, the card gives the same bytes.
    ReverseList(loaded);
    reopened.SaveCard(0, loaded);
    ReverseList(loaded);
    reopened.Save(PathOf("second.vlm"));
    const QMap<QString, QByteArray> first = test::StreamsOf(PathOf("first.vlm"));
    const QMap<QString, QByteArray> second = test::StreamsOf(PathOf("second.vlm"));
    EXPECT_FALSE(first.value(QStringLiteral("Sheets\\NameList0\\NameList0")).isEmpty()); // the card
    EXPECT_EQ(first.keys(), second.keys());
    for (auto it = first.begin(); it != first.end(); ++it)
        EXPECT_EQ(second.value(it.key()), it.value()) << it.key().toStdString();

    const QImage before = Drawn(original);
    const QImage after = Drawn(loaded);
    EXPECT_TRUE(after == before);

    ExpectCardPixels(after);
}

TEST_F(ShapeDocumentTest, APdfPageShowsWhatTheBitmapShows) {
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm is missing";
    TOwnedDOList shapes;
    AddShapes(shapes);
    const QString file = PathOf("card.pdf");
    {
        QPdfWriter pdf(file);
        pdf.setResolution(254);
        pdf.setPageSize(QPageSize(QSizeF(91, 55), QPageSize::Millimeter));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        TPainterCanvas canvas(pdf);
        DrawCard(shapes, canvas);
    }
    QProcess tool;
    tool.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-aa"),
                          QStringLiteral("no"), QStringLiteral("-aaVector"), QStringLiteral("no"),
                          QStringLiteral("-singlefile"), file, PathOf("card")});
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QImage page = QImage(PathOf("card.ppm")).convertToFormat(QImage::Format_RGB32);
    ASSERT_GE(page.width(), 910);
    ASSERT_GE(page.height(), 550);
    ExpectCardPixels(page);

    // Apart from the renderers' edge rules the page is the bitmap.
    const QImage bitmap = Drawn(shapes);
    int differing = 0;
    for (int y = 0; y < 550; ++y)
        for (int x = 0; x < 910; ++x) {
            const QRgb a = page.pixel(x, y), b = bitmap.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) > 24 || std::abs(qGreen(a) - qGreen(b)) > 24 ||
                std::abs(qBlue(a) - qBlue(b)) > 24)
                ++differing;
        }
    EXPECT_LT(differing, 910 * 550 / 100);
}

// The component viewer reads every value the shapes write.
TEST(ShapeDump, EveryValueOfTheShapesIsReadable) {
    TOwnedDOList shapes;
    AddShapes(shapes);
    for (TDrawObject* shape : shapes) {
        TMemoryStream stream;
        WriteComponentRes(stream, QStringLiteral("LabelData"), *shape);
        QString text;
        ASSERT_NO_THROW(text = DumpComponentBytes(stream.Data())) << shape->ClassName().toStdString();
        EXPECT_TRUE(text.endsWith(QStringLiteral("end\n"))) << text.toStdString();
    }
}

} // namespace
} // namespace vellum
