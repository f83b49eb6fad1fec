#include "imaging/ColorSpec.h"
#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Stream.h"
#include "core/DocStorage.h"
#include "imaging/ColorSpecHistory.h"
#include "imaging/GradFill.h"
#include "imaging/PictureEx.h"
#include "imaging/SafetyBitmap.h"
#include "platform/PainterCanvas.h"
#include "platform/RecordingCanvas.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vellum;

namespace {

int Blue(const TDIB& dib, int x, int y) { return dib.ScanLine(y)[x * (dib.BitCount() / 8)]; }

// The gradation's picture row 0, as light (true) or dark runs.
int Bands(const TDIB& dib) {
    int bands = 0;
    bool last = false;
    for (int x = 0; x < dib.Width(); ++x) {
        const bool light = Blue(dib, x, 0) >= 128;
        if (x == 0 || light != last) ++bands;
        last = light;
    }
    return bands;
}

QByteArray Properties(const TPersistent& object) {
    TMemoryStream s;
    TWriter w(s);
    w.WriteProperties(object);
    return s.Data();
}

// The record of a binary property: name, vaBinary, int32 length, bytes.
QByteArray BinaryProp(const char* name, const QByteArray& data) {
    QByteArray out(1, char(std::strlen(name)));
    out += name;
    out += char(0x0A);
    char len[4];
    PutLE32(len, uint32_t(data.size()));
    out += QByteArray(len, 4) + data;
    return out;
}

QByteArray Stream(const TColorSpecWrapper& wrapper) {
    TMemoryStream s;
    WriteComponent(s, wrapper);
    return s.Data();
}

void ReadInto(const QByteArray& bytes, TColorSpecWrapper& wrapper) {
    TMemoryStream s(bytes);
    ReadComponent(s, &wrapper);
}

TDIB Solid(int w, int h, TColor c) {
    TDIB dib(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            dib.SetRawPixel(x, y, ((c >> 16) & 0xFF) | (c & 0xFF00) | ((c & 0xFF) << 16));
    return dib;
}

void SetPicture(TColorSpec& colorSpec, TDIB dib) {
    auto bitmap = std::make_unique<TSafetyBitmap>();
    bitmap->SetDIB(std::move(dib));
    colorSpec.ImageData().Picture().SetGraphic(std::move(bitmap));
}

} // namespace

TEST(GradientTest, SimpleWhiteToBlackAt270RunsLeftToRight) {
    TGradFillAngled fill;
    const std::vector<TColor> colors{clWhite, clBlack};
    const TGradTable table = fill.Table(colors);
    EXPECT_EQ(table[0], clWhite);
    EXPECT_EQ(table[512], 0x808080u);
    EXPECT_EQ(table[1023], 0x010101u);
    const TGradIndexMap map = fill.IndexMap(270);
    EXPECT_EQ(map[0], 0);
    EXPECT_EQ(map[127], 1023);
    const TDIB picture = fill.Render(colors, 270);
    ASSERT_EQ(picture.Width(), 128);
    for (int y : {0, 64, 127}) {
        EXPECT_EQ(Blue(picture, 0, y), 255);
        EXPECT_EQ(Blue(picture, 127, y), 1);
    }
    // Angle 0 runs top to bottom instead.
    const TDIB down = fill.Render(colors, 0);
    EXPECT_EQ(Blue(down, 64, 0), 255);
    EXPECT_EQ(Blue(down, 64, 127), 1);
}

TEST(GradientTest, RepeatCountRepeatsTheBands) {
    TGradationColors colors;
    colors.SetRepeatCount(3);
    EXPECT_EQ(colors.Expanded(), (std::vector<TColor>{clWhite, clBlack, clWhite, clBlack, clWhite, clBlack}));
    TGradFillAngled fill;
    EXPECT_EQ(Bands(fill.Render(colors.Expanded(), 270)), 6);
    colors.SetRepeatCount(1);
    EXPECT_EQ(Bands(fill.Render(colors.Expanded(), 270)), 2);
}

TEST(GradientTest, ShapesPutTheFirstColourWhereTheirNameSays) {
    const std::vector<TColor> colors{clWhite, clBlack};
    struct TCase {
        rgGradationKind Kind;
        int CentreAtLeast, CornerAtMost; // blue channel values
    };
    const TCase whiteCentre[] = {{rgGradationKind::rgkCircleToCenter, 250, 5},
                                 {rgGradationKind::rgkBoxToCenter, 250, 5}};
    for (const TCase& c : whiteCentre) {
        const TDIB p = TGradFill::Create(c.Kind)->Render(colors, 0);
        EXPECT_GE(Blue(p, 63, 63), c.CentreAtLeast) << int(c.Kind);
        EXPECT_LE(Blue(p, 0, 0), c.CornerAtMost) << int(c.Kind);
    }
    for (rgGradationKind kind : {rgGradationKind::rgkCircleToRim, rgGradationKind::rgkBoxToRim}) {
        const TDIB p = TGradFill::Create(kind)->Render(colors, 0);
        EXPECT_LE(Blue(p, 63, 63), 5) << int(kind);
        EXPECT_GE(Blue(p, 0, 0), 250) << int(kind);
    }
    // The cone closes: both sides of its seam (straight down) have the first colour's neighbourhood.
    const TGradFillCone cone(rgGradationKind::rgkConeCounterClockwise);
    const TGradTable table = cone.Table(colors);
    EXPECT_EQ(table[0], clWhite);
    EXPECT_EQ(table[1023] & 0xFF, 254u);
    const TGradIndexMap map = cone.IndexMap(0);
    EXPECT_GT(map[size_t(127 * 128 + 64)], 0);
    EXPECT_LT(map[size_t(127 * 128 + 63)], 1023);
    // The corners of a circle reach the rim index.
    const TGradIndexMap circle = TGradFillCircle(rgGradationKind::rgkCircleToCenter).IndexMap(0);
    EXPECT_EQ(circle[0], 1023);
    EXPECT_EQ(circle[size_t(63 * 128 + 63)], 8); // MulDiv(Round(4096 * 0.7071), 1024, 367831)
}

TEST(GradientTest, FewColoursPaintNothingOrSolid) {
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TPainterCanvas canvas(image);
        PaintGradation(canvas, {0, 0, 10, 10}, {}, 270, rgGradationKind::rgkSimple, false);
    }
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255));
    {
        TPainterCanvas canvas(image);
        PaintGradation(canvas, {0, 0, 10, 10}, {0x0000FF}, 270, rgGradationKind::rgkConeClockwise, false);
    }
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(9, 9), qRgb(255, 0, 0));
    TGradationColors colors;
    colors.SetRepeatCount(0);
    EXPECT_EQ(colors.RepeatCount(), 1);
    colors.SetRepeatCount(-4);
    EXPECT_EQ(colors.Expanded().size(), 2u);
}

TEST(ColorSpecTest, PaintsOnlyInsideTheClip) {
    TColorSpec colorSpec;
    colorSpec.SetKind(TColorSpecKind::cskGradation);
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(QColor(1, 2, 3));
    {
        TPainterCanvas canvas(image);
        canvas.IntersectClipRect({0, 0, 10, 10});
        colorSpec.Paint(canvas, {0, 0, 20, 10});
        EXPECT_TRUE(canvas.HasClip()); // the caller's clip survives
    }
    EXPECT_GT(qRed(image.pixel(0, 5)), 240);
    EXPECT_EQ(image.pixel(15, 5), qRgb(1, 2, 3));

    colorSpec.SetKind(TColorSpecKind::cskSolid);
    colorSpec.SetColor(0x00FF00);
    {
        TPainterCanvas canvas(image);
        colorSpec.Paint(canvas, {10, 0, 20, 10});
    }
    EXPECT_EQ(image.pixel(15, 5), qRgb(0, 255, 0));
    EXPECT_TRUE(colorSpec.IsPureColor(TRecordingCanvas()));
    colorSpec.SetStyle(TBrushStyle::bsCross);
    EXPECT_FALSE(colorSpec.IsPureColor(TRecordingCanvas()));
}

TEST(ColorSpecTest, TilesLayRowsFromTheTopLeftAndShiftEverySecondRow) {
    TColorSpec colorSpec;
    SetPicture(colorSpec, Solid(4, 3, 0x0000FF));
    colorSpec.SetKind(TColorSpecKind::cskBitmap);
    colorSpec.SetTile(true);
    colorSpec.SetTileShift(true);
    TRecordingCanvas canvas;
    colorSpec.Paint(canvas, {10, 20, 18, 26});
    QStringList dests;
    for (const TCanvasRecord& r : canvas.Records())
        if (r.Kind == TCanvasRecord::TKind::rkImage)
            dests << QStringLiteral("%1,%2").arg(r.Image.Dest.Left).arg(r.Image.Dest.Top);
    EXPECT_EQ(dests, (QStringList{"10,20", "14,20", "8,23", "12,23", "16,23"}));
}

TEST(ColorSpecTest, ABitmapWithoutPictureIsSolid) {
    TColorSpec colorSpec;
    colorSpec.SetKind(TColorSpecKind::cskBitmap);
    EXPECT_EQ(colorSpec.Kind(), TColorSpecKind::cskSolid);
    EXPECT_EQ(Properties(colorSpec), QByteArray()); // Kind is written as the effective one: the default
    SetPicture(colorSpec, Solid(2, 2, clBlack));
    EXPECT_EQ(colorSpec.Kind(), TColorSpecKind::cskBitmap);
    colorSpec.ImageData().Clear();
    EXPECT_EQ(colorSpec.Kind(), TColorSpecKind::cskSolid);
}

TEST(ColorSpecTest, AnEmptyBitmapDoesNotReplaceAPicture) {
    TColorSpec colorSpec;
    TSafetyBitmap red;
    red.SetDIB(Solid(3, 2, 0x0000FF));
    colorSpec.SetBitmap(red);
    EXPECT_EQ(colorSpec.Bitmap().Width(), 3);
    colorSpec.SetBitmap(TSafetyBitmap());
    EXPECT_EQ(colorSpec.Bitmap().DIB().Pixel(1, 1), 0x0000FFu);
}

TEST(ColorSpecTest, ChangesAreAnnouncedOnceAndOnlyWhenValuesDiffer) {
    TColorSpec colorSpec;
    int changes = 0;
    colorSpec.OnChange = [&] { ++changes; };
    colorSpec.SetGradAngle(270);
    colorSpec.SetGradColor(5, clBlack); // outside a two-colour list: ignored
    EXPECT_EQ(changes, 0);
    colorSpec.SetGradColor(1, 0x123456);
    EXPECT_EQ(changes, 1);
    colorSpec.SetGradDir(rgGradationDir::rgdCenterToRim);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(colorSpec.GradKind(), rgGradationKind::rgkBoxToRim);
    EXPECT_EQ(colorSpec.GradAngle(), 0);
    EXPECT_THROW(colorSpec.GradColor(2), EListError);
}

TEST(ColorSpecTest, DirectionsMapBothWays) {
    TColorSpec colorSpec;
    for (int d = 0; d <= int(rgGradationDir::rgdRimToCenter); ++d) {
        colorSpec.SetGradDir(rgGradationDir(d));
        EXPECT_EQ(int(colorSpec.GradDir()), d);
    }
    colorSpec.SetGradKind(rgGradationKind::rgkSimple);
    colorSpec.SetGradAngle(30);
    EXPECT_EQ(colorSpec.GradDir(), rgGradationDir::rgdLeftToRight);
    colorSpec.SetGradKind(rgGradationKind::rgkBoxToCenter);
    EXPECT_EQ(colorSpec.GradDir(), rgGradationDir::rgdRimToCenter);
}

TEST(ColorSpecPersistenceTest, ColorsAreWrittenOnlyWhenNotTheDefaultPair) {
    TColorSpec colorSpec;
    EXPECT_EQ(Properties(colorSpec.GradColors()), QByteArray());
    colorSpec.GradColors().SetColors({0x0000FF, 0xFF0000});
    EXPECT_EQ(Properties(colorSpec.GradColors()),
              BinaryProp("Colors", QByteArray::fromHex("02000000FF0000000000FF00")));
    // Nested under the colour property's name.
    EXPECT_TRUE(Properties(colorSpec).contains("GradColors.Colors"));
    colorSpec.GradColors().SetColors({clWhite, clBlack});
    colorSpec.GradColors().SetRepeatCount(3);
    EXPECT_EQ(Properties(colorSpec.GradColors()), QByteArray("\x0BRepeatCount\x02\x03", 14));
}

TEST(ColorSpecPersistenceTest, ARoundTripKeepsEveryProperty) {
    TColorSpecWrapper wrapper;
    TColorSpec& colorSpec = wrapper.ColorSpec();
    colorSpec.SetKind(TColorSpecKind::cskGradation);
    colorSpec.SetColor(0x123456);
    colorSpec.SetStyle(TBrushStyle::bsFDiagonal);
    colorSpec.SetTile(true);
    colorSpec.SetTileShift(true);
    colorSpec.SetGradAngle(45);
    colorSpec.SetGradKind(rgGradationKind::rgkConeClockwise);
    colorSpec.GradColors().SetColors({1, 2, 3});
    colorSpec.GradColors().SetRepeatCount(2);
    colorSpec.ImageData().LightFilter().SetContrast(20);
    colorSpec.ImageData().BlurFilter().SetBlurCount(-3);
    colorSpec.ImageData().MonotoneFilter().SetRefColor(0x0000FF);
    colorSpec.ImageData().SetTransparentColor(clWhite);
    const QByteArray bytes = Stream(wrapper);

    TColorSpecWrapper back;
    ReadInto(bytes, back);
    const TColorSpec& r = back.ColorSpec();
    EXPECT_EQ(r.Kind(), TColorSpecKind::cskGradation);
    EXPECT_EQ(r.Color(), 0x123456u);
    EXPECT_EQ(r.Style(), TBrushStyle::bsFDiagonal);
    EXPECT_TRUE(r.Tile());
    EXPECT_TRUE(r.TileShift());
    EXPECT_EQ(r.GradAngle(), 45);
    EXPECT_EQ(r.GradKind(), rgGradationKind::rgkConeClockwise);
    EXPECT_EQ(r.GradColors().Colors(), (std::vector<TColor>{1, 2, 3}));
    EXPECT_EQ(r.GradColors().RepeatCount(), 2);
    EXPECT_EQ(r.ImageData().LightFilter().Contrast(), 20);
    EXPECT_EQ(r.ImageData().BlurFilter().BlurCount(), -3);
    EXPECT_EQ(r.ImageData().MonotoneFilter().RefColor(), 0x0000FFu);
    EXPECT_EQ(r.ImageData().TransparentColor(), clWhite);
    EXPECT_EQ(Stream(back), bytes);
}

TEST(ColorSpecPersistenceTest, AColourCountThatDisagreesWithTheDataIsRefused) {
    for (const char* hex : {"03000000FF0000000000FF00", "01000000FF0000000000FF00", "FFFFFFFF", "0200"}) {
        TGradationColors colors;
        TMemoryStream s(QByteArray::fromHex(hex));
        EXPECT_THROW(colors.ReadColors(s), EReadError) << hex;
        EXPECT_EQ(colors.Count(), 2);
    }
    TGradationColors colors;
    TMemoryStream none(QByteArray::fromHex("00000000"));
    colors.ReadColors(none);
    EXPECT_EQ(colors.Count(), 0);
}

class ColorSpecHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        History.SetFilename(Dir.filePath("sub/ColorSpec.hst"));
    }
    static std::unique_ptr<TColorSpec> SolidColorSpec(TColor c) {
        auto colorSpec = std::make_unique<TColorSpec>();
        colorSpec->SetColor(c);
        return colorSpec;
    }
    QTemporaryDir Dir;
    TColorSpecHistory History;
};

TEST_F(ColorSpecHistoryTest, AddingTheSameColorSpecTwiceKeepsOneEntryAtTheFront) {
    EXPECT_EQ(History.Count(), 0); // no file yet
    History.Add(*SolidColorSpec(0x0000FF));
    History.Add(*SolidColorSpec(0x00FF00));
    History.Add(*SolidColorSpec(0x0000FF));
    ASSERT_EQ(History.Count(), 2);
    TColorSpec first;
    ASSERT_TRUE(History.Read(0, first));
    EXPECT_EQ(first.Color(), 0x0000FFu);
    TPictureEx swatch;
    ASSERT_TRUE(History.ReadPreview(0, swatch));
    EXPECT_EQ(swatch.Graphic()->ClassName(), "TPNGImage");
    EXPECT_EQ(swatch.Width(), 48);
    EXPECT_EQ(swatch.Graphic()->Raster().Pixel(20, 20), 0x0000FFu);
    EXPECT_FALSE(History.Read(2, first));
}

TEST_F(ColorSpecHistoryTest, ElevenColorSpecsLeaveTenAndTheOldestStreamsGo) {
    for (int i = 0; i < 11; ++i) History.Add(*SolidColorSpec(TColor(i * 0x10)));
    EXPECT_EQ(History.Count(), 10);
    TColorSpec newest;
    ASSERT_TRUE(History.Read(0, newest));
    EXPECT_EQ(newest.Color(), 0xA0u);
    const QString oldest = TColorSpecHistory::EntryName(*SolidColorSpec(0));
    const QString second = TColorSpecHistory::EntryName(*SolidColorSpec(0x10));
    auto root = TFileStorage::OpenFile(History.Filename(), 0);
    EXPECT_FALSE(root->StreamExists("ColorSpec\\" + oldest));
    EXPECT_FALSE(root->StreamExists("Preview\\" + oldest));
    EXPECT_TRUE(root->StreamExists("ColorSpec\\" + second));
    EXPECT_TRUE(root->StreamExists("Preview\\" + second));
    root.reset();
    History.Clear();
    EXPECT_EQ(History.Count(), 0);
}

TEST_F(ColorSpecHistoryTest, EntryNamesAreTheHashOfTheStreamWithoutThePicture) {
    auto a = SolidColorSpec(0x0000FF);
    auto b = SolidColorSpec(0x0000FF);
    SetPicture(*b, Solid(2, 2, clBlack)); // the bitmap kind is not set: the swatch stays the same
    EXPECT_EQ(TColorSpecHistory::EntryName(*a), TColorSpecHistory::EntryName(*b));
    EXPECT_NE(TColorSpecHistory::EntryName(*a), TColorSpecHistory::EntryName(*SolidColorSpec(0x0000FE)));
}

TEST(GradientTest, PrintersGetTheGradientResampledToTheAreaInLogicalUnits) {
    TRecordingCanvas printer({0, 0, 2000, 2000}, 600, true);
    PaintGradation(printer, {0, 0, 300, 200}, {clWhite, clBlack}, 270, rgGradationKind::rgkSimple, true);
    TRecordingCanvas screen;
    PaintGradation(screen, {0, 0, 300, 200}, {clWhite, clBlack}, 270, rgGradationKind::rgkSimple, false);
    const TCanvasRecord* printed = nullptr;
    for (const TCanvasRecord& r : printer.Records())
        if (r.Kind == TCanvasRecord::TKind::rkImage) printed = &r;
    ASSERT_TRUE(printed);
    EXPECT_EQ(printed->ImageSize, QSize(300, 200));
    EXPECT_EQ(printed->CopyMode, TCopyMode::cmSrcInvert);
    for (const TCanvasRecord& r : screen.Records())
        if (r.Kind == TCanvasRecord::TKind::rkImage) {
            EXPECT_EQ(r.CopyMode, TCopyMode::cmSrcCopy);
        }
}

TEST(ColorSpecTest, AssignCopiesTheGradationOnlyForGradations) {
    TColorSpec source;
    source.SetColor(0x0000FF);
    source.SetTileShift(true);
    source.SetGradAngle(90);
    source.GradColors().SetColors({1, 2, 3});
    TColorSpec solid;
    solid.Assign(&source);
    EXPECT_EQ(solid.Color(), 0x0000FFu);
    EXPECT_TRUE(solid.TileShift());
    EXPECT_EQ(solid.GradAngle(), 270);
    EXPECT_EQ(solid.GradColNum(), 2);

    source.SetKind(TColorSpecKind::cskGradation);
    TColorSpec gradation;
    int changes = 0;
    gradation.OnChange = [&] { ++changes; };
    gradation.Assign(&source);
    EXPECT_EQ(changes, 1); // one update
    EXPECT_EQ(gradation.GradAngle(), 90);
    EXPECT_EQ(gradation.GradColors().Colors(), (std::vector<TColor>{1, 2, 3}));
}

TEST(ColorSpecTest, PreviewsLieOnACheckerboard) {
    TColorSpec colorSpec;
    colorSpec.SetStyle(TBrushStyle::bsClear);
    QImage image(24, 16, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        TPainterCanvas canvas(image);
        colorSpec.PaintPreview(canvas, {0, 0, 24, 16});
    }
    EXPECT_EQ(image.pixel(0, 0), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(8, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(16, 7), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(0, 8), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(8, 8), qRgb(128, 128, 128));
    colorSpec.SetStyle(TBrushStyle::bsSolid);
    {
        TPainterCanvas canvas(image);
        colorSpec.PaintPreview(canvas, {0, 0, 24, 16});
    }
    EXPECT_EQ(image.pixel(8, 0), qRgb(0, 0, 0)); // a solid colour covers the board
}
