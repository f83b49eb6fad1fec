#include "paper/Region.h"

#include "platform/Canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace vellum;

namespace {

// Every unit of the box agrees with the ideal shape tested at its centre.
void ExpectMatches(const TRegion& region, const TRect& box,
                   const std::function<bool(double, double)>& inside) {
    for (int y = box.Top; y < box.Bottom; ++y)
        for (int x = box.Left; x < box.Right; ++x)
            ASSERT_EQ(region.Contains({x, y}), inside(x + 0.5, y + 0.5)) << "unit " << x << "," << y;
}

bool InEllipse(double px, double py, double l, double t, double r, double b) {
    const double cx = (l + r) / 2, cy = (t + b) / 2, a = (r - l) / 2, c = (b - t) / 2;
    return (px - cx) * (px - cx) / (a * a) + (py - cy) * (py - cy) / (c * c) < 1;
}

} // namespace

TEST(Region, ShapesFollowThePixelRuleAtEveryUnit) {
    ExpectMatches(TRegion::FromRect({3, 4, 13, 9}), {0, 0, 20, 20},
                  [](double x, double y) { return x > 3 && x < 13 && y > 4 && y < 9; });
    // Odd and even sizes, off the origin and below it.
    for (const TRect& r :
         {TRect{0, 0, 10, 10}, TRect{-7, 3, 24, 14}, TRect{5, -9, 6, 30}, TRect{0, 0, 91, 55}}) {
        SCOPED_TRACE(testing::Message() << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom);
        ExpectMatches(TRegion::Ellipse(r), {r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2},
                      [&](double x, double y) { return InEllipse(x, y, r.Left, r.Top, r.Right, r.Bottom); });
    }
    // Corner ellipse 20 x 12 on a 50 x 30 rectangle.
    const TRect rr{10, 10, 60, 40};
    ExpectMatches(TRegion::RoundRect(rr, 20, 12), {5, 5, 65, 45}, [&](double x, double y) {
        if (!(x > 10 && x < 60 && y > 10 && y < 40)) return false;
        const double cx = x < 20 ? 20 : x > 50 ? 50 : x, cy = y < 16 ? 16 : y > 34 ? 34 : y;
        return (x - cx) * (x - cx) / 100 + (y - cy) * (y - cy) / 36 < 1;
    });
    // A triangle: inside when the centre is right of the slanted edge.
    ExpectMatches(TRegion::Polygon({{0, 0}, {30, 0}, {0, 20}}), {-2, -2, 32, 22},
                  [](double x, double y) { return x > 0 && y > 0 && 2 * x + 3 * y < 60; });
}

TEST(Region, TouchingShapesShareNoUnitOverlappingOnesDo) {
    const TRegion a = TRegion::FromRect({0, 0, 910, 550});
    EXPECT_FALSE(a.Intersects(TRegion::FromRect({910, 0, 1820, 550})));
    EXPECT_TRUE(a.Intersects(TRegion::FromRect({909, 0, 1820, 550})));
    EXPECT_EQ(a.Intersected(TRegion::FromRect({909, 549, 1820, 1100})).Area(), 1);
    // Circles whose boxes overlap in a corner, but not the circles themselves.
    EXPECT_FALSE(TRegion::Ellipse({0, 0, 100, 100}).Intersects(TRegion::Ellipse({90, 90, 190, 190})));
    // Two triangles sharing the diagonal make the rectangle without sharing a unit.
    const TRegion lower = TRegion::Polygon({{0, 0}, {37, 23}, {0, 23}});
    const TRegion upper = TRegion::Polygon({{0, 0}, {37, 0}, {37, 23}});
    EXPECT_FALSE(lower.Intersects(upper));
    EXPECT_EQ(lower.United(upper), TRegion::FromRect({0, 0, 37, 23}));
}

TEST(Region, SetOperationsAndCanonicalForm) {
    const TRegion a = TRegion::Ellipse({0, 0, 80, 60});
    const TRegion b = TRegion::RoundRect({40, 20, 120, 90}, 30, 30);
    const TRegion both = a.Intersected(b);
    EXPECT_EQ(a.United(b).Area(), a.Area() + b.Area() - both.Area());
    EXPECT_EQ(a.Subtracted(b).Area(), a.Area() - both.Area());
    EXPECT_TRUE(a.Subtracted(b).Intersected(b).IsEmpty());
    EXPECT_EQ(a.Subtracted(b).United(both), a);
    // Halves united are the same value as the whole.
    EXPECT_EQ(TRegion::FromRect({0, 0, 5, 10}).United(TRegion::FromRect({5, 0, 10, 10})),
              TRegion::FromRect({0, 0, 10, 10}));
    EXPECT_EQ(TRegion::FromRect({0, 0, 10, 5}).United(TRegion::FromRect({0, 5, 10, 10})),
              TRegion::FromRect({0, 0, 10, 10}));
    EXPECT_EQ(a.United(b).BoundingBox(), (TRect{0, 0, 120, 90}));
    EXPECT_EQ(TRegion().BoundingBox(), TRect{});
    EXPECT_TRUE(TRegion::FromRect({5, 5, 5, 9}).IsEmpty());
    EXPECT_EQ(TRegion::FromRect({9, 9, 1, 1}), TRegion::FromRect({1, 1, 9, 9})); // normalised
    EXPECT_EQ(a.Translated(-3, 7).BoundingBox(), (TRect{-3, 7, 77, 67}));
    int64_t area = 0;
    for (const TRect& r : b.Rects()) area += int64_t(r.Width()) * r.Height();
    EXPECT_EQ(area, b.Area());
    EXPECT_EQ(b.ToQRegion().boundingRect(), QRect(40, 20, 80, 70));
}

TEST(Region, PolygonFillModes) {
    // A pentagram: its centre is inside by winding, outside by alternation.
    std::vector<TPoint> star;
    for (int i = 0; i < 5; ++i) {
        const double a = -M_PI / 2 + i * 4 * M_PI / 5;
        star.push_back(
            {int32_t(std::lround(100 + 90 * std::cos(a))), int32_t(std::lround(100 + 90 * std::sin(a)))});
    }
    EXPECT_TRUE(TRegion::Polygon(star, TRegionFillMode::Winding).Contains({100, 100}));
    EXPECT_FALSE(TRegion::Polygon(star, TRegionFillMode::Alternate).Contains({100, 100}));
    EXPECT_TRUE(TRegion::Polygon(star, TRegionFillMode::Alternate).Contains({100, 20}));
    // Two polygons: a square with a square hole (alternate), or both filled (winding, same direction).
    const std::vector<TPoint> outer{{0, 0}, {30, 0}, {30, 30}, {0, 30}},
        inner{{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    EXPECT_EQ(TRegion::PolyPolygon({outer, inner}).Area(), 900 - 100);
    EXPECT_EQ(TRegion::PolyPolygon({outer, inner}, TRegionFillMode::Winding).Area(), 900);
    EXPECT_EQ(TRegion::Polygon({outer}), TRegion::FromRect({0, 0, 30, 30}));
    EXPECT_TRUE(TRegion::Polygon({{0, 0}, {10, 0}}).IsEmpty());
}

TEST(Region, PathsWithLinesAndCurves) {
    // Two figures given as a path: the same as the polygons.
    const std::vector<TPoint> points{{0, 0},   {30, 0},  {30, 30}, {0, 30},
                                     {10, 10}, {20, 10}, {20, 20}, {10, 20}};
    const std::vector<uint8_t> kinds{PT_MOVETO, PT_LINETO, PT_LINETO, PT_LINETO | PT_CLOSEFIGURE,
                                     PT_MOVETO, PT_LINETO, PT_LINETO, PT_LINETO};
    EXPECT_EQ(TRegion::Path(points, kinds), TRegion::PolyPolygon({{points.begin(), points.begin() + 4},
                                                                  {points.begin() + 4, points.end()}}));
    // A half disc of radius 100 from one Bézier: close to the ideal area and inside its box.
    const int k = 55; // 100 * 0.5523, the quarter-circle control distance
    const TRegion half =
        TRegion::Path({{-100, 0}, {-100, -k}, {-k, -100}, {0, -100}, {k, -100}, {100, -k}, {100, 0}},
                      {PT_MOVETO, PT_BEZIERTO, PT_BEZIERTO, PT_BEZIERTO, PT_BEZIERTO, PT_BEZIERTO,
                       PT_BEZIERTO});
    EXPECT_EQ(half.BoundingBox(), (TRect{-100, -100, 100, 0}));
    EXPECT_NEAR(double(half.Area()), M_PI * 100 * 100 / 2, 150);
    // A truncated Bézier group ends the path.
    EXPECT_EQ(TRegion::Path({{0, 0}, {10, 0}, {10, 10}, {5, 5}},
                            {PT_MOVETO, PT_LINETO, PT_LINETO, PT_BEZIERTO}),
              TRegion::Polygon({{0, 0}, {10, 0}, {10, 10}}));
}
