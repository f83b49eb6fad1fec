#include "objects/SimpleText.h"
#include "objects/FontRegistry.h"
#include "objects/Stroke.h"
#include "platform/FakeFontEngine.h"
#include "platform/PainterCanvas.h"
#include "platform/RecordingCanvas.h"

#include <QFileInfo>
#include <QImage>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <iostream>

namespace vellum {
namespace {

// Layout arithmetic on the fake engine. At 24 pt the em is 85 units: a
// half-width letter advances 42 with A = C = 8, a full-width one 85.
class SimpleTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        FPrevious = SetFontEngine(std::make_unique<TFakeFontEngine>());
        FText.Font().SetName(QStringLiteral("Fake"));
        FText.Font().SetSize(24);
    }
    void TearDown() override { SetFontEngine(std::move(FPrevious)); }
    void Lines(QStringList lines) { FText.Text().SetItems(lines); }

    std::unique_ptr<IFontEngine> FPrevious;
    TSimpleText FText;
    const TRect FFrame{100, 200, 500, 400};
};

TEST_F(SimpleTextTest, DisplayLinesAndConversions) {
    EXPECT_EQ(FText.DisplayLines(), QStringList{QStringLiteral("未入力項目")});
    Lines({QStringLiteral("-12"), QStringLiteral("2005")});
    FText.SetHanToZen(true);
    FText.SetMinusExc(true);
    EXPECT_EQ(FText.DisplayLines(), (QStringList{QStringLiteral("-１２"), QStringLiteral("２００５")}));
    FText.SetNumToKnj(true);
    EXPECT_EQ(FText.DisplayLines()[1], QStringLiteral("二〇〇五"));
    FText.SetHanToZen(false);
    // Kanji digits only replace digits that are already full-width.
    EXPECT_EQ(FText.DisplayLines()[1], QStringLiteral("2005"));
    // The stored text is never converted.
    EXPECT_EQ(FText.Text().Strings(0), QStringLiteral("-12"));
}

TEST_F(SimpleTextTest, HorizontalTextRect) {
    EXPECT_EQ(FText.LineHeight(), 85);
    Lines({QStringLiteral("AB"), QString(), QStringLiteral("A")});
    FText.SetLineSpacing(10);
    // Two letters: ink from 8 to 42 + 8 + 26 = 76; empty lines add height, no width.
    EXPECT_EQ(FText.GetTextRect(FFrame, false), (TRect{100, 200, 168, 200 + 3 * 95 - 10}));
    FText.SetAlign(taEnd);
    EXPECT_EQ(FText.GetTextRect(FFrame, false), (TRect{432, 200, 500, 475}));
    FText.SetAlign(taJustify);
    EXPECT_EQ(FText.GetTextRect(FFrame, false), (TRect{100, 200, 500, 475}));
    // An auto-sized justified text is laid out from the start.
    EXPECT_EQ(FText.GetTextRect(FFrame, true), (TRect{100, 200, 168, 475}));
    // The placeholder is laid out like any text.
    Lines({});
    EXPECT_EQ(FText.GetTextRect(FFrame, false).Height(), 85);
}

TEST_F(SimpleTextTest, VerticalTextRectStacksColumnsFromTheRight) {
    Lines({QStringLiteral("日本"), QStringLiteral("日")});
    FText.SetVertical(true);
    FText.SetLineSpacing(5);
    // Down the column: ink from 8 to 85 + 8 + 69 = 162, its start at the frame's top.
    EXPECT_EQ(FText.GetTextRect(FFrame, false), (TRect{500 - 175, 200, 500, 354}));
    FText.SetAlign(taEnd);
    EXPECT_EQ(FText.GetTextRect(FFrame, false), (TRect{325, 246, 500, 400}));
}

TEST_F(SimpleTextTest, FeedAngleSlantsLineStartsOnTheAlignedSide) {
    Lines({QStringLiteral("A"), QStringLiteral("A")});
    FText.SetFeedAngle(30);
    FText.GetTextRect(FFrame, false);
    // sin(-30) = -0.5, one line feed is 85: the first line starts 42.5 -> 42 (ties to even) further in.
    EXPECT_EQ(FText.Layouts()[0].InkLeft - FText.Layouts()[1].InkLeft, 42);
    EXPECT_EQ(FText.Layouts()[1].InkLeft, 0);
    for (int32_t align : {taCentre, taJustify}) {
        FText.SetAlign(align);
        FText.SetFeedAngle(0);
        const TRect plain = FText.GetTextRect(FFrame, false);
        FText.SetFeedAngle(30);
        EXPECT_EQ(FText.GetTextRect(FFrame, false), plain) << align;
    }
}

TEST_F(SimpleTextTest, DrawsFilledGlyphsAndBandsOnAnyCanvas) {
    Lines({QStringLiteral("A\tB")});
    FText.SetTextColor(0x0000FF);
    TRecordingCanvas canvas({0, 0, 1000, 1000});
    FText.Draw(canvas, FFrame);
    ASSERT_EQ(canvas.Records().size(), 1u);
    const TCanvasRecord& r = canvas.Records()[0];
    EXPECT_EQ(r.Figure, TFigureKind::fkFillPath);
    EXPECT_EQ(r.Brush.Color, 0x0000FFu);
    EXPECT_EQ(r.FillMode, TFillMode::fmWinding);
    // Two box glyphs of four corners each: the tab draws nothing.
    const QPainterPath plain = FText.TextPath(FFrame, true);
    EXPECT_EQ(plain.elementCount(), 2 * 5);

    // The bands are two more rectangles, the underline below the glyphs.
    FText.Font().SetStyle(fsUnderline | fsStrikeOut);
    const QPainterPath banded = FText.TextPath(FFrame, true);
    EXPECT_EQ(banded.elementCount(), 4 * 5);
    EXPECT_GT(banded.boundingRect().bottom(), plain.boundingRect().bottom());
    EXPECT_EQ(FText.TextPath(FFrame, false), plain);
}

TEST_F(SimpleTextTest, OutlineIsTheDrawnShapeTurnedAboutTheFrameCentre) {
    Lines({QStringLiteral("AB")});
    TStroke straight;
    FText.MakeOutline(straight, FFrame, false);
    // 68 units of ink from the frame's left, glyph boxes from 9 to 76 across the line.
    EXPECT_EQ(straight.GetBounds(), (TRect{100, 209, 168, 276}));
    FText.SetAngle(90);
    TStroke turned;
    FText.MakeOutline(turned, FFrame, false);
    // Clockwise a quarter turn about (300, 300): x' = 600 - y, y' = x.
    EXPECT_EQ(turned.GetBounds(), (TRect{324, 100, 391, 168}));
}

TEST_F(SimpleTextTest, ChangesNotifyOncePerUpdate) {
    int changes = 0;
    FText.OnChange = [&](TSimpleText&) { ++changes; };
    FText.SetAlign(taStart); // unchanged
    EXPECT_EQ(changes, 0);
    FText.BeginUpdate();
    FText.SetAlign(taEnd);
    FText.SetVertical(true);
    Lines({QStringLiteral("x")});
    FText.Font().SetSize(30);
    EXPECT_EQ(changes, 0);
    FText.EndUpdate();
    EXPECT_EQ(changes, 1);
    // A font change empties the layout: the next measure sees the new size.
    EXPECT_EQ(FText.LineHeight(), 106);

    TSimpleText copy;
    copy.Assign(&FText);
    EXPECT_EQ(copy.Text().Items(), FText.Text().Items());
    EXPECT_EQ(copy.Font().Size(), 30);
    EXPECT_TRUE(copy.Vertical());
    EXPECT_EQ(copy.Align(), taEnd);
}

// The real engine with the IPA faces.
class RealTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!FontEngine().IsInstalled(QStringLiteral("@IPAMincho")) ||
            !FontEngine().IsInstalled(QStringLiteral("IPAPMincho")))
            GTEST_SKIP() << "the IPA fonts are not installed (Debian package fonts-ipafont)";
    }
};

TEST_F(RealTextTest, WindowsFaceNamesDrawWithTheirAliasAndStayStored) {
    TSimpleText windows, installed;
    windows.Font().SetName(QStringLiteral("ＭＳ Ｐ明朝"));
    installed.Font().SetName(QStringLiteral("IPAPMincho"));
    for (TSimpleText* t : {&windows, &installed}) {
        t->Font().SetSize(12);
        t->Text().SetItems({QStringLiteral("名刺 Card")});
    }
    const TRect frame{0, 0, 800, 200};
    EXPECT_EQ(windows.TextPath(frame, true), installed.TextPath(frame, true));
    EXPECT_EQ(windows.Font().Name(), QStringLiteral("ＭＳ Ｐ明朝"));
    // Pickers offer installed families only; an alias still reports its face's charset.
    QStringList names;
    UsableFontNames(names);
    EXPECT_TRUE(names.contains(QStringLiteral("IPAPMincho")));
    EXPECT_FALSE(names.contains(QStringLiteral("ＭＳ Ｐ明朝")));
    EXPECT_FALSE(names.contains(QStringLiteral("@IPAMincho")));
    EXPECT_EQ(FontCharset(QStringLiteral("ＭＳ Ｐ明朝")), 128);
}

// Prints the text to a PDF at 600 dpi, as embedded font text or as shapes.
void PrintToPdf(const TSimpleText& text, const QString& file, bool asShapes) {
    QPdfWriter writer(file);
    writer.setResolution(600);
    TPainterCanvas canvas(writer);
    canvas.SetMapMode(TMapMode::mmAnisotropic);
    canvas.SetWindowExt({254, 254});
    canvas.SetViewportExt({600, 600});
    for (int row = 0; row < 10; ++row) {
        const TRect frame{100, 100 + row * 150, 1900, 250 + row * 150};
        if (asShapes)
            canvas.FillGlyphs(text.TextPath(frame, true), text.TextColor());
        else
            text.Draw(canvas, frame);
    }
}

QString RunTool(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST_F(RealTextTest, PdfCarriesSelectableTextOfTheSameShapes) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "poppler-utils is not installed";
    TSimpleText text;
    text.Font().SetName(QStringLiteral("ＭＳ Ｐゴシック"));
    text.Font().SetSize(14);
    text.Text().SetItems({QStringLiteral("山田太郎 Taro Yamada")});
    text.SetAngle(10);
    QTemporaryDir dir;
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("VELLUM_KEEP"));
    const QString glyphs = dir.filePath("glyphs.pdf"), shapes = dir.filePath("shapes.pdf");
    PrintToPdf(text, glyphs, false);
    PrintToPdf(text, shapes, true);
    if (!dir.autoRemove()) std::cerr << dir.path().toStdString() << "\n";
    EXPECT_TRUE(RunTool("pdftotext", {"-raw", glyphs, "-"}).contains(QStringLiteral("Yamada")));
    EXPECT_TRUE(RunTool("pdftotext", {"-raw", glyphs, "-"}).contains(QStringLiteral("山田太郎")));
    EXPECT_LT(QFileInfo(glyphs).size() * 2, QFileInfo(shapes).size());
    // Both rasterise to the same picture, up to the rasteriser's treatment of text edges.
    RunTool("pdftoppm", {"-r", "300", "-gray", "-singlefile", "-png", glyphs, dir.filePath("glyphs")});
    RunTool("pdftoppm", {"-r", "300", "-gray", "-singlefile", "-png", shapes, dir.filePath("shapes")});
    const QImage a(dir.filePath("glyphs.png")), b(dir.filePath("shapes.png"));
    ASSERT_FALSE(a.isNull());
    ASSERT_EQ(a.size(), b.size());
    auto inkOf = [](const QImage& image, QRect& box) {
        int ink = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128) {
                    ++ink;
                    box |= QRect(x, y, 1, 1);
                }
        return ink;
    };
    QRect boxA, boxB;
    const int inkA = inkOf(a, boxA), inkB = inkOf(b, boxB);
    EXPECT_GT(inkA, 10000);
    EXPECT_NEAR(inkA, inkB, inkB / 20);
    EXPECT_NEAR(boxA.left(), boxB.left(), 2);
    EXPECT_NEAR(boxA.top(), boxB.top(), 2);
    EXPECT_NEAR(boxA.right(), boxB.right(), 2);
    EXPECT_NEAR(boxA.bottom(), boxB.bottom(), 2);
}

// Renders the vertical sample the way a card shows it, 4 pixels per unit.
QImage RenderVertical() {
    TSimpleText text;
    text.Font().SetName(QStringLiteral("IPAMincho"));
    text.Font().SetSize(12);
    text.SetVertical(true);
    text.Text().SetItems({QStringLiteral("「縦書き。」"), QStringLiteral("ABC")});
    QImage image(220, 360, QImage::Format_RGB32);
    image.fill(Qt::white);
    TPainterCanvas canvas(image);
    canvas.SetMapMode(TMapMode::mmAnisotropic);
    canvas.SetWindowExt({1, 1});
    canvas.SetViewportExt({2, 2});
    text.Draw(canvas, TRect{0, 0, 105, 175});
    return image;
}

TEST_F(RealTextTest, VerticalSampleMatchesItsPicture) {
    const QImage image = RenderVertical();
    const QString fixture =
        qEnvironmentVariable("VELLUM_SOURCE_DIR") + "/tests/objects/fixtures/vertical.png";
    if (qEnvironmentVariableIsSet("VELLUM_WRITE_FIXTURES")) image.save(fixture);
    const QImage expected(fixture);
    ASSERT_FALSE(expected.isNull()) << fixture.toStdString();
    ASSERT_EQ(expected.size(), image.size());
    // Anti-aliased edges may differ by a shade between FreeType builds; shapes may not.
    int differing = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (std::abs(qGray(image.pixel(x, y)) - qGray(expected.pixel(x, y))) > 64) ++differing;
    EXPECT_LT(differing, 20);
    // The first column stands at the right and runs to the bottom; the short second column
    // leaves the bottom left blank.
    auto ink = [&](int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += qGray(image.pixel(x, y)) < 128;
        return n;
    };
    EXPECT_GT(ink(120, 0, 210, 40), 0);
    EXPECT_GT(ink(120, 280, 210, 340), 0);
    EXPECT_GT(ink(20, 0, 110, 120), 0);
    EXPECT_EQ(ink(0, 200, 110, 360), 0);
}

} // namespace
} // namespace vellum
