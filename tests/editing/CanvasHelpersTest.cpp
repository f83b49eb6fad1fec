#include "editing/CanvasSaver.h"
#include "editing/MemoryCanvas.h"
#include "editing/Scaler.h"
#include "platform/CoordMap.h"
#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

TEST(CanvasSaver, ToolsAndOptionallyTheWholeStateComeBack) {
    TRecordingCanvas canvas;
    const TPen pen{TPenStyle::psDot, 2, 0x0000FF};
    canvas.SetPen(pen);
    canvas.SetCopyMode(TCopyMode::cmSrcAnd);
    {
        TCanvasSaver saver(canvas);
        canvas.SetPen({});
        canvas.SetBrush({TBrushStyle::bsClear, clBlack});
        canvas.SetCopyMode(TCopyMode::cmSrcCopy);
        canvas.SetWindowOrg({5, 5}); // not covered without SaveDC
    }
    EXPECT_EQ(canvas.Pen(), pen);
    EXPECT_EQ(canvas.Brush(), TBrush{});
    EXPECT_EQ(canvas.CopyMode(), TCopyMode::cmSrcAnd);
    EXPECT_EQ(canvas.Mapping().WindowOrg, (TPoint{5, 5}));
    {
        TCanvasSaver saver(canvas, true);
        canvas.SetWindowOrg({0, 0});
        canvas.IntersectClipRect({0, 0, 10, 10});
    }
    EXPECT_EQ(canvas.Mapping().WindowOrg, (TPoint{5, 5}));
    EXPECT_FALSE(canvas.HasClip());
}

TEST(ClipSaver, TheClipOrItsAbsenceComesBack) {
    TRecordingCanvas canvas;
    {
        TClipSaver saver(canvas);
        canvas.IntersectClipRect({0, 0, 10, 10});
    }
    EXPECT_FALSE(canvas.HasClip());
    canvas.IntersectClipRect({0, 0, 20, 20});
    {
        TClipSaver saver(canvas);
        canvas.ExcludeClipRect({0, 0, 5, 5});
    }
    ASSERT_TRUE(canvas.HasClip());
    EXPECT_EQ(*canvas.ClipRegion(), QRegion(0, 0, 20, 20));
}

TEST(CoordMap, PlainPixelsForAWhileThenTheMappingWithItsOriginFolded) {
    TRecordingCanvas canvas({0, 0, 1000, 1000}, 96);
    TScaler scaler;
    scaler.SetUnitDPI(254);
    scaler.Apply(canvas);
    canvas.SetWindowOrg({-254, 0}); // one inch to the right
    const TPoint before = canvas.LPtoDP(TPoint{254, 254});
    const TCoordMap map = TCoordMap::Capture(canvas);
    TCoordMap::Reset(canvas);
    EXPECT_EQ(canvas.Mapping(), TCoordMapping{});
    EXPECT_EQ(canvas.LPtoDP(TPoint{7, 7}), (TPoint{7, 7}));
    map.Restore(canvas);
    EXPECT_EQ(canvas.Mapping().WindowOrg, (TPoint{0, 0}));
    EXPECT_EQ(canvas.LPtoDP(TPoint{254, 254}), before);
    EXPECT_EQ(before, (TPoint{192, 96}));
}

TEST(MemoryCanvas, ResolutionFromItsOwnDpiTheReferenceOrTheScreen) {
    TMemoryCanvas own;
    EXPECT_EQ(own.DpiY(), ScreenDPI());
    EXPECT_EQ(own.SelectedObject().size(), QSize(1, 1));
    TRecordingCanvas printer({0, 0, 10, 10}, 600, true);
    QImage band(20, 10, QImage::Format_RGB32);
    band.fill(Qt::white);
    {
        TMemoryCanvas canvas(&band, &printer);
        EXPECT_EQ(canvas.DpiY(), 600);
        canvas.SetDPI(300);
        EXPECT_EQ(canvas.DpiX(), 300);
        canvas.SetDPI(0);
        EXPECT_EQ(canvas.DpiY(), 600);
        EXPECT_EQ(&canvas.SelectedObject(), &band);
        EXPECT_TRUE(canvas.HasAccessibleBits());
        canvas.SetBrush({TBrushStyle::bsSolid, clBlack});
        canvas.FillRect({0, 0, 5, 5});
    }
    EXPECT_EQ(band.pixel(2, 2), qRgb(0, 0, 0));
    EXPECT_EQ(band.pixel(10, 2), qRgb(255, 255, 255));
}

} // namespace
} // namespace vellum
