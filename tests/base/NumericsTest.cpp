#include "base/Numerics.h"

#include <gtest/gtest.h>

using namespace vellum;

TEST(Numerics, MulDivRoundsHalfAwayFromZero) {
    struct Case {
        int32_t a, b, c, expected;
    } cases[] = {
        {10, 1, 4, 3},   // 2.5 -> 3
        {-10, 1, 4, -3}, // -2.5 -> -3
        {10, -1, 4, -3}, //
        {-10, -1, 4, 3}, //
        {10, 1, -4, -3}, // negative divisor
        {9, 1, 4, 2},    // 2.25 -> 2
        {-9, 1, 4, -2},  //
        {11, 1, 4, 3},   // 2.75 -> 3
        {910, 96 * 100, 254 * 100, 344},
        {550, 96 * 100, 254 * 100, 208},
        {-300, 600, 2540, -71},
        {2000000000, 3, 3, 2000000000},  // 64-bit intermediate
        {7, 0, 0, -1},                   // zero divisor
        {2000000000, 2000000000, 1, -1}, // result outside int32
        {0, 5, 7, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST(Numerics, RoundingModes) {
    struct Case {
        double x;
        int64_t away, even;
    } cases[] = {{0.5, 1, 0},    {1.5, 2, 2},     {2.5, 3, 2}, {-0.5, -1, 0}, {-2.5, -3, -2},
                 {-1.4, -1, -1}, {1.49999, 1, 1}, {0, 0, 0},   {-3.6, -4, -4}};
    for (const auto& c : cases) {
        EXPECT_EQ(Round(c.x), c.away) << c.x;
        EXPECT_EQ(RoundHalfEven(c.x), c.even) << c.x;
    }
}

TEST(Numerics, DivAndModTruncateTowardZero) {
    EXPECT_EQ(Div(-7, 2), -3);
    EXPECT_EQ(Div(7, -2), -3);
    EXPECT_EQ(Mod(-7, 2), -1);
    EXPECT_EQ(Mod(0 - 90, 360), -90);
    EXPECT_EQ(Div(5, 0), 0);
}

TEST(Numerics, RectangleHelpers) {
    EXPECT_EQ(NormalizeRect(Rect(10, 20, -5, 3)), Rect(-5, 3, 10, 20));
    EXPECT_EQ(RectCenter(Rect(0, 0, 5, 5)), (TPoint{2, 2}));
    EXPECT_EQ(RectCenter(Rect(-5, -5, 0, 0)), (TPoint{-2, -2})); // toward zero, not floor
    EXPECT_EQ(RectCenter(Rect(-3, 0, 0, 1)), (TPoint{-1, 0}));
    EXPECT_EQ(Bounds(140, 110, 910, 550), Rect(140, 110, 1050, 660));
    EXPECT_EQ(IntersectRect(Rect(0, 0, 10, 10), Rect(5, 5, 20, 20)), Rect(5, 5, 10, 10));
    EXPECT_EQ(IntersectRect(Rect(0, 0, 10, 10), Rect(10, 0, 20, 10)), TRect{});
    EXPECT_EQ(UnionRect(Rect(0, 0, 1, 1), Rect(5, -2, 6, 0)), Rect(0, -2, 6, 1));
    EXPECT_TRUE(PtInRect(Rect(0, 0, 2, 2), {1, 1}));
    EXPECT_FALSE(PtInRect(Rect(0, 0, 2, 2), {2, 1}));
}
