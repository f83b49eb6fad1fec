#include "SiteFixture.h"

#include "editing/Scaler.h"
#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

namespace vellum::test {
namespace {

TEST(DrawSiteSize, CardSizeRoundsUpToWholePixels) {
    struct TCase {
        int Scale;
        int Dpi;
        int32_t LogWidth, LogHeight;
        int Width, Height;
    };
    const TCase cases[] = {
        {100, 96, 910, 550, 344, 208},  // 343.9 x 207.9
        {400, 96, 910, 550, 1376, 832}, // 1375.7 x 831.5
        {100, 254, 910, 550, 910, 550}, // one unit per pixel: exact
        {50, 96, 1, 1, 1, 1},           // a sliver still takes a pixel
    };
    for (const TCase& c : cases) {
        TDrawSite site;
        site.SetDeviceDPI(c.Dpi);
        site.Scaler().SetScale(c.Scale);
        site.SetLogWidth(c.LogWidth);
        site.SetLogHeight(c.LogHeight);
        EXPECT_EQ(site.Width(), c.Width) << c.Scale << "% " << c.Dpi << " dpi " << c.LogWidth;
        EXPECT_EQ(site.Height(), c.Height) << c.Scale << "% " << c.Dpi << " dpi " << c.LogHeight;
    }
}

TEST(DrawSiteSize, ConversionsTruncateLeftAndTopTowardZeroAndRoundRightAndBottomUp) {
    TDrawSite site;
    SetUpCard(site);
    // 10 units are 3.78 pixels at 96 dpi.
    EXPECT_EQ(site.LogicalToDevice(TRect{-10, -10, 10, 10}), (TRect{-3, -3, 4, 4}));
    EXPECT_EQ(site.LogicalToDevice(TRect{10, 10, 20, 20}), (TRect{3, 3, 8, 8}));
    EXPECT_EQ(site.LogicalToDevice(TRect{-1, -1, -1, -1}), (TRect{0, 0, 0, 0}));
    EXPECT_EQ(site.LogicalToDevice(TRect{-20, -20, -10, -10}), (TRect{-7, -7, -2, -2}));
    // Points round to the nearest pixel, halves away from zero.
    EXPECT_EQ(site.LogicalToDevice(TPoint{-10, 10}), (TPoint{-4, 4}));
    EXPECT_EQ(site.DeviceToLogical(TPoint{-4, 344}), (TPoint{-11, 910}));
    EXPECT_EQ(site.LogicalClientRect(), (TRect{0, 0, 910, 550}));
}

TEST(DrawSiteSize, FitScale) {
    TDrawSite site;
    SetUpCard(site); // 344 x 208 pixels at 100 %
    TRecordingCanvas canvas({0, 0, 2000, 2000}, 96);
    struct TCase {
        TRect Area;
        bool FitHeight, FitBoth;
        int Expected;
    };
    const TCase cases[] = {
        {{0, 0, 688, 312}, true, true, 150},  // width 200 %, height 150 %: the smaller
        {{0, 0, 344, 416}, true, true, 100},  // width 100 %, height 200 %
        {{0, 0, 688, 312}, false, true, 200}, // the width alone
        {{0, 0, 688, 312}, true, false, 150}, // the height alone
        {{0, 0, 688, 312}, false, false, 100},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(site.FitScale(canvas, c.Area, c.FitHeight, c.FitBoth), c.Expected)
            << c.Area.Right << "x" << c.Area.Bottom << " " << c.FitHeight << c.FitBoth;
    // The site's own zoom plays no part.
    site.Scaler().SetScale(400);
    EXPECT_EQ(site.FitScale(canvas, {0, 0, 688, 312}, true, true), 150);

    // A card without extent keeps 100 % on that axis instead of a negative zoom.
    TDrawSite empty;
    EXPECT_EQ(empty.FitScale(canvas, {0, 0, 688, 312}, true, true), 100);
}

TEST(Scaler, ChangesAssignmentAndGuards) {
    TScaler scaler;
    int changes = 0;
    scaler.OnChange = [&](TScaler*) { ++changes; };
    scaler.SetUnitDPI(254);
    scaler.SetScale(100); // unchanged
    scaler.SetScale(200);
    EXPECT_EQ(changes, 2);

    TScaler target;
    int targetChanges = 0;
    target.OnChange = [&](TScaler*) { ++targetChanges; };
    target.Assign(&scaler);
    EXPECT_EQ(target.Scale(), 200);
    EXPECT_EQ(target.UnitDPI(), 254);
    EXPECT_EQ(targetChanges, 1);

    // A zero zoom would divide by zero in every pixel-to-unit conversion.
    scaler.SetScale(0);
    EXPECT_EQ(scaler.Scale(), 1);
    scaler.SetUnitDPI(-5);
    EXPECT_EQ(scaler.UnitDPI(), 1);
}

TEST(Scaler, ApplyKeepsAnEarlierOriginShift) {
    TScaler scaler;
    scaler.SetUnitDPI(254);
    scaler.SetScale(200);
    TRecordingCanvas canvas({0, 0, 1000, 1000}, 96);
    canvas.SetViewportOrg({5, 5});
    canvas.SetWindowOrg({-10, -20}); // the site's top-left 10, 20 pixels further in
    scaler.Apply(canvas);
    EXPECT_EQ(canvas.Mapping().Mode, TMapMode::mmAnisotropic);
    EXPECT_EQ(canvas.LPtoDP(TPoint{0, 0}), (TPoint{15, 25}));
    // One inch at 200 % on a 96 dpi canvas is 192 pixels.
    EXPECT_EQ(canvas.LPtoDP(TPoint{254, 127}), (TPoint{15 + 192, 25 + 96}));
    // Extents reduced by their common divisor: 25400 / 19200.
    EXPECT_EQ(canvas.Mapping().WindowExt, (TPoint{127, 127}));
    EXPECT_EQ(canvas.Mapping().ViewportExt, (TPoint{96, 96}));
}

TEST(DrawSiteSize, RescaleReplacesObjectsAndAnnouncesIt) {
    TDrawSite site;
    SetUpCard(site);
    TTestShape& shape = AddShape(site, {254, 254, 508, 381});
    EXPECT_EQ(shape.BoundsRect(), (TRect{96, 96, 193, 145})); // one pixel more right and bottom
    int changes = 0;
    site.OnScalerChanged = [&](TDrawSite*) { ++changes; };
    site.Scaler().SetScale(200);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(site.Width(), 688);
    EXPECT_EQ(shape.BoundsRect(), (TRect{192, 192, 385, 289}));
    TScaler other;
    other.SetUnitDPI(254);
    other.SetScale(50);
    site.SetScaler(&other); // by value
    EXPECT_EQ(site.Scale(), 50);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(site.Width(), 172);
}

} // namespace
} // namespace vellum::test
