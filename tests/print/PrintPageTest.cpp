#include "print/PrintPage.h"

#include "../core/CoreTestKinds.h"
#include "core/DOList.h"
#include "paper/FaceInfo.h"
#include "platform/RecordingCanvas.h"
#include "render/CardRenderer.h"

#include <gtest/gtest.h>

namespace vellum::test {
namespace {

TFaceInfo Face(const TRect& r, int32_t margin = 0) {
    TFaceInfo face;
    face.FaceRect = r;
    face.Margin = margin;
    return face;
}

TEST(PrintPage, TheCardRectangleIsRoundedOutwardAndGrownByTenPixels) {
    EXPECT_EQ(CardDeviceRect(Face({140, 110, 1050, 660}), 1200), (TRect{651, 509, 4971, 3129}));
    // The margin belongs to the card.
    EXPECT_EQ(CardDeviceRect(Face({140, 110, 1050, 660}, 20), 254), (TRect{110, 80, 1080, 690}));
}

TEST(PrintPage, BandsJoinWithoutGapOrOverlapAndStayWithinTheirPixelLimit) {
    const TRect rect = CardDeviceRect(Face({140, 110, 1050, 660}), 1200);
    TRecordingCanvas printer({0, 0, 9921, 14031}, 1200, true);
    {
        TStretchPrintPage page(printer, rect, {0, 0}, true, 1200);
        ASSERT_EQ(page.BandCount(), 3);
        std::vector<int> heights;
        int32_t top = rect.Top;
        for (const auto& band : page.Bands()) {
            heights.push_back(band.Height);
            EXPECT_EQ(band.Width, 4320);
            EXPECT_LE(int64_t(band.Width) * band.Height, kMaxBandPixels);
            EXPECT_EQ(band.Rect.Top, top);
            EXPECT_EQ(band.Rect.Left, rect.Left);
            EXPECT_EQ(band.Rect.Right, rect.Right);
            top = band.Rect.Bottom;
        }
        EXPECT_EQ(top, rect.Bottom);
        EXPECT_EQ(heights, (std::vector<int>{873, 873, 874}));
        int bands = 0;
        while (page.NextBand()) {
            ASSERT_NE(page.BandBitmap(), nullptr);
            EXPECT_EQ(page.BandBitmap()->height(), heights[size_t(bands)]);
            ++bands;
        }
        EXPECT_EQ(bands, 3);
    }
    // Each band went onto the printer over its own rows.
    std::vector<TRect> stamped;
    for (const TCanvasRecord& r : printer.Records())
        if (r.Kind == TCanvasRecord::TKind::rkImage) stamped.push_back(r.Image.Dest);
    ASSERT_EQ(stamped.size(), 3u);
    EXPECT_EQ(stamped[0].Top, rect.Top);
    EXPECT_EQ(stamped[1].Top, stamped[0].Bottom);
    EXPECT_EQ(stamped[2].Bottom, rect.Bottom);

    TStretchPrintPage standard(printer, rect, {0, 0}, true, 254);
    ASSERT_EQ(standard.BandCount(), 1);
    EXPECT_EQ(standard.Bands()[0].Width, 914);
    EXPECT_EQ(standard.Bands()[0].Height, 555);
}

TEST(PrintPage, AStripTooWideForOneRowStillGetsOneRowPerBand) {
    TRecordingCanvas printer({0, 0, 1000, 1000}, 254, true);
    TStretchPrintPage page(printer, {0, 0, 6000000, 3}, {0, 0}, true, 254);
    EXPECT_EQ(page.BandCount(), 3);
}

TEST(PrintPage, WithoutBandingTheCardIsDrawnOnThePrinterItself) {
    TRecordingCanvas printer({0, 0, 1000, 1000}, 600, true);
    TStretchPrintPage page(printer, {0, 0, 100, 100}, {-65, -144}, false, 600);
    ASSERT_TRUE(page.NextBand());
    EXPECT_EQ(&page.Canvas(), &printer);
    EXPECT_EQ(page.BandBitmap(), nullptr);
    EXPECT_EQ(printer.LPtoDP(TPoint{0, 0}), (TPoint{-65, -144}));
    EXPECT_FALSE(page.NextBand());
}

TEST(PrintPage, TheDeviceOffsetPutsTheSheetCornerAtLogicalZeroShiftedByTheOffset) {
    EXPECT_EQ(DeviceOffset({100, 120}, {15, -10}, 600), (TPoint{-65, -144}));
    EXPECT_EQ(DeviceOffset({0, 0}, {0, 0}, 1200), (TPoint{0, 0}));
}

// The band tells objects it is a printer even when the context does not.
TEST(PrintPage, ABandLeavesOutWhatIsNotPrinted) {
    TOwnedDOList objects;
    auto& shown = objects.Give(std::make_unique<TTestShape>());
    shown.SetRect({0, 0, 254, 254});
    auto& hidden = objects.Give(std::make_unique<TTestShape>());
    hidden.SetRect({254, 0, 508, 254});
    hidden.SetDontPrint(true);
    TRecordingCanvas printer({0, 0, 1000, 1000}, 254, true);
    TStretchPrintPage page(printer, {0, 0, 508, 254}, {0, 0}, true, 254);
    ASSERT_TRUE(page.NextBand());
    ASSERT_TRUE(page.Canvas().IsPrinter());
    DrawCard(page.Canvas(), objects, Face({0, 0, 508, 254}), TRenderContext::Bitmap({254, 100, 254}));
    const QImage band = *page.BandBitmap();
    EXPECT_EQ(band.pixel(100, 100), qRgb(0, 0, 0));
    EXPECT_EQ(band.pixel(400, 100), qRgb(255, 255, 255));
}

} // namespace
} // namespace vellum::test
