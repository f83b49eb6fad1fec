#include "objects/CharLayout.h"
#include "objects/RegionFit.h"
#include "platform/FakeFontEngine.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

TEST(CharLayoutTest, PlaceCharsByAlignment) {
    const TABCArray abcs{{2, 10, 1}, {-1, 12, 3}, {2, 10, 1}};
    struct TCase {
        int32_t Align;
        TIntArray Positions;
        int32_t InkLeft, InkRight;
    };
    const TCase cases[] = {
        {taStart, {-2, 14, 31}, 0, 43},
        {taEnd, {15, 31, 48}, 17, 60},
        {taCentre, {6, 22, 39}, 8, 51},
        {taJustify, {-2, 22, 48}, 0, 60},
    };
    for (const TCase& c : cases) {
        const TPlacement p = PlaceChars(abcs, 60, 3, c.Align);
        EXPECT_EQ(p.Positions, c.Positions) << c.Align;
        EXPECT_EQ(p.InkLeft, c.InkLeft) << c.Align;
        EXPECT_EQ(p.InkRight, c.InkRight) << c.Align;
    }
    // One justified character has no gap to spread: it starts the line.
    EXPECT_EQ(PlaceChars({{2, 10, 1}}, 60, 3, taJustify).Positions, TIntArray{-2});
    const TPlacement none = PlaceChars({}, 60, 3, taEnd);
    EXPECT_TRUE(none.Positions.empty());
    EXPECT_EQ(none.InkLeft, 60);
    const TPlacement cells = PlaceCells({10, 20}, 0, 5, taStart);
    EXPECT_EQ(cells.Positions, (TIntArray{0, 15}));
    EXPECT_EQ(cells.InkRight, 35);
}

TEST(CharLayoutTest, TabsStopEveryEightZeroWidthsCountedInCharacters) {
    auto previous = SetFontEngine(std::make_unique<TFakeFontEngine>());
    const TFontRequest font{QStringLiteral("Fake"), 100};
    const int32_t zero = FontEngine().CharABC(font, U'0').Advance();
    TCharLayout layout;
    MeasureLine(font, layout, QStringLiteral("abc\t"), 0, taStart, 0);
    EXPECT_EQ(layout.ABCs[3], (TABC{0, 5 * zero, 0}));
    MeasureLine(font, layout, QStringLiteral("日本\t"), 0, taStart, 0);
    EXPECT_EQ(layout.ABCs[2], (TABC{0, 6 * zero, 0}));
    EXPECT_EQ(layout.Height, 100);
    EXPECT_EQ(layout.Text, QStringLiteral("日本\t"));
    SetFontEngine(std::move(previous));
}

TEST(RegionFitTest, RestsAgainstTheInnerEdgeOfTheStripsItSpans) {
    // A region wider at the bottom: the rectangle's rows decide.
    QRegion region(QRect(10, 0, 80, 50));
    region += QRect(0, 50, 100, 50);
    const TRect top{40, 10, 60, 30}, bottom{40, 60, 60, 80}, both{40, 40, 60, 60};
    EXPECT_EQ(FitLeft(region, top), (TRect{10, 10, 30, 30}));
    EXPECT_EQ(FitLeft(region, bottom), (TRect{0, 60, 20, 80}));
    EXPECT_EQ(FitLeft(region, both), (TRect{10, 40, 30, 60}));
    EXPECT_EQ(FitRight(region, both), (TRect{70, 40, 90, 60}));
    EXPECT_EQ(FitTop(region, TRect{95, 70, 99, 80}), (TRect{95, 50, 99, 60}));
    EXPECT_EQ(FitBottom(region, top), (TRect{40, 80, 60, 100}));
    // Nothing to rest against: unchanged.
    EXPECT_EQ(FitLeft(QRegion(), top), top);
    EXPECT_EQ(FitLeft(region, TRect{0, 200, 10, 210}), (TRect{0, 200, 10, 210}));
}

} // namespace
} // namespace vellum
