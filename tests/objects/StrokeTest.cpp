#include "objects/Stroke.h"

#include "core/Transformer.h"
#include "imaging/AALine.h"
#include "imaging/DIB.h"
#include "platform/Canvas.h"
#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vellum {
namespace {

struct TExpected {
    TPoint P;
    uint8_t Kind;
};

void ExpectPoints(const TStroke& s, const std::vector<TExpected>& expected) {
    ASSERT_EQ(s.Count(), int(expected.size()));
    for (int i = 0; i < s.Count(); ++i) {
        EXPECT_EQ(s.Point(i), expected[size_t(i)].P) << "point " << i;
        EXPECT_EQ(s.Kind(i), expected[size_t(i)].Kind) << "point " << i;
    }
}

TEST(Stroke, EllipseIsFourQuarterArcs) {
    TStroke s;
    s.SetEllipse({0, 0, 100, 60});
    // a = Round(100 * 0.5522847 / 2) = 28, b = Round(60 * 0.5522847 / 2) = 17.
    ExpectPoints(s, {{{100, 30}, 6},
                     {{100, 13}, 4},
                     {{78, 0}, 4},
                     {{50, 0}, 4},
                     {{22, 0}, 4},
                     {{0, 13}, 4},
                     {{0, 30}, 4},
                     {{0, 47}, 4},
                     {{22, 60}, 4},
                     {{50, 60}, 4},
                     {{78, 60}, 4},
                     {{100, 47}, 4},
                     {{100, 30}, 5}});
}

TEST(Stroke, RectangleAndRoundRectangle) {
    TStroke s;
    s.SetRect({1, 2, 11, 22});
    ExpectPoints(s, {{{1, 2}, 6}, {{11, 2}, 2}, {{11, 22}, 2}, {{1, 22}, 3}});

    // d = 10: radius 5, control offset Round(2.76) = 3; each edge is its midpoint and its end.
    s.SetRoundRect({0, 0, 30, 90}, 10);
    ExpectPoints(s, {{{30, 5}, 6},  {{30, 2}, 4},  {{28, 0}, 4},  {{25, 0}, 4},  {{15, 0}, 2},  {{5, 0}, 2},
                     {{2, 0}, 4},   {{0, 2}, 4},   {{0, 5}, 4},   {{0, 45}, 2},  {{0, 85}, 2},  {{0, 88}, 4},
                     {{2, 90}, 4},  {{5, 90}, 4},  {{15, 90}, 2}, {{25, 90}, 2}, {{28, 90}, 4}, {{30, 88}, 4},
                     {{30, 85}, 4}, {{30, 45}, 2}, {{30, 5}, 3}});
    EXPECT_EQ(s.GetBounds(), (TRect{0, 0, 30, 90}));
}

std::vector<TExpected> ReplayedPath(const TStroke& s, TRecordingCanvas& canvas) {
    s.SelectAsPath(canvas);
    std::vector<TPoint> points;
    std::vector<uint8_t> kinds;
    canvas.GetPath(points, kinds);
    std::vector<TExpected> out;
    for (size_t i = 0; i < points.size(); ++i) out.push_back({points[i], kinds[i]});
    return out;
}

TEST(Stroke, ReplayOfEmptyAndStraightStrokes) {
    TRecordingCanvas canvas;
    TStroke s;
    const auto empty = ReplayedPath(s, canvas);
    ASSERT_EQ(empty.size(), 2u);
    EXPECT_EQ(empty[0].P, (TPoint{0, 0}));
    EXPECT_EQ(empty[0].Kind, PT_MOVETO);
    EXPECT_EQ(empty[1].P, (TPoint{0, 0}));
    EXPECT_EQ(empty[1].Kind, PT_LINETO | PT_CLOSEFIGURE);

    s.SetRect({10, 20, 50, 80});
    const auto rect = ReplayedPath(s, canvas);
    ASSERT_GE(rect.size(), 4u);
    EXPECT_EQ(rect[0].P, (TPoint{10, 20}));
    EXPECT_EQ(rect[3].P, (TPoint{10, 80}));
    EXPECT_TRUE(rect.back().Kind & PT_CLOSEFIGURE);
}

TEST(Stroke, UnknownKindStopsTheReplay) {
    TRecordingCanvas canvas;
    TStroke s;
    s.AddPoint(0, 0, PT_MOVETO);
    s.AddPoint(100, 0, PT_LINETO);
    s.AddPoint(100, 100, 0x20);
    s.AddPoint(0, 100, PT_LINETO);
    const auto path = ReplayedPath(s, canvas);
    ASSERT_EQ(path.size(), 2u);
    EXPECT_EQ(path[1].P, (TPoint{100, 0}));
    EXPECT_TRUE(path[1].Kind & PT_CLOSEFIGURE);
}

TEST(Stroke, CurvesSkipPointsOnTheSameDevicePixel) {
    TStroke s;
    s.SetEllipse({0, 0, 1000, 1000});
    TRecordingCanvas fine;
    const size_t fineCount = ReplayedPath(s, fine).size();
    TRecordingCanvas coarse;
    coarse.SetMapMode(TMapMode::mmAnisotropic);
    coarse.SetWindowExt({100, 100});
    coarse.SetViewportExt({1, 1});
    const auto small = ReplayedPath(s, coarse);
    // One point per step on the fine device, then the closing line.
    EXPECT_EQ(fineCount, 1u + 4 * 63 + 1);
    EXPECT_LT(small.size(), fineCount / 4);
    // The figure still ends on its start.
    EXPECT_EQ(small.front().P, (TPoint{1000, 500}));
    EXPECT_TRUE(small.back().Kind & PT_CLOSEFIGURE);
}

TEST(Stroke, AppendPathTakesTheCanvasPath) {
    TRecordingCanvas canvas;
    TStroke s;
    s.SetRect({10, 20, 50, 80});
    s.SelectAsPath(canvas);
    TStroke copy;
    copy.AddPoint(1, 1, PT_MOVETO);
    copy.AppendPath(canvas);
    ASSERT_EQ(copy.Count(), 1 + 5);
    EXPECT_EQ(copy.Point(1), (TPoint{10, 20}));
    EXPECT_EQ(copy.Kind(1), PT_MOVETO);
    EXPECT_TRUE(copy.Kind(5) & PT_CLOSEFIGURE);
}

TEST(Stroke, SubdivideKeepsEndPointsWithoutDuplicates) {
    TStroke s;
    s.AddPoint(0, 0, PT_MOVETO);
    s.AddPoint(20, 0, PT_LINETO);
    s.AddPoint(20, 4, PT_LINETO);
    s.Subdivide();
    ExpectPoints(s, {{{0, 0}, 6}, {{8, 0}, 2}, {{16, 0}, 2}, {{20, 0}, 2}, {{20, 4}, 2}});

    // A closed figure: the closing segment is split too and its last point closes.
    s.SetRect({0, 0, 10, 10});
    s.Subdivide();
    ExpectPoints(s, {{{0, 0}, 6},
                     {{8, 0}, 2},
                     {{10, 0}, 2},
                     {{10, 8}, 2},
                     {{10, 10}, 2},
                     {{2, 10}, 2},
                     {{0, 10}, 2},
                     {{0, 2}, 3}});

    TStroke empty;
    empty.Subdivide();
    EXPECT_EQ(empty.Count(), 0);
}

TEST(Stroke, RotatorTurnsEveryPointAndAssignCopies) {
    TStroke s;
    s.SetRect({0, 0, 10, 20});
    s.Transform(TRotator(90, {5, 10}));
    ExpectPoints(s, {{{15, 5}, 6}, {{15, 15}, 2}, {{-5, 15}, 2}, {{-5, 5}, 3}});
    TStroke copy;
    copy.Assign(&s);
    EXPECT_EQ(copy.Count(), 4);
    EXPECT_EQ(copy.Point(2), (TPoint{-5, 15}));
    TRotator notAStroke;
    copy.Assign(&notAStroke);
    EXPECT_EQ(copy.Count(), 4);
    EXPECT_EQ(TStroke().GetBounds(), TRect{});
}

int At(const TDIB& map, int x, int y) { return int(map.RawPixel(x, y)); }

void SetOpenSquare(TStroke& s) {
    s.Clear();
    s.AddPoint(10, 10, PT_MOVETO);
    s.AddPoint(30, 10, PT_LINETO);
    s.AddPoint(30, 30, PT_LINETO);
    s.AddPoint(10, 30, PT_LINETO);
}

TEST(StrokeAntialiased, ClosedAndOpenFiguresDrawTheirEdgesOnly) {
    TStroke closed;
    closed.SetRect({10, 10, 30, 30});
    TStroke open;
    SetOpenSquare(open);
    struct TCase {
        TPoint P;
        int Closed, Open;
    };
    const TRecordingCanvas pixels; // one logical unit per pixel
    TDIB closedMap(40, 40, 8), openMap(40, 40, 8);
    closed.DrawAntialiased(closedMap, pixels);
    open.DrawAntialiased(openMap, pixels);
    for (const TCase& k :
         {TCase{{20, 10}, 255, 255}, TCase{{30, 20}, 255, 255}, TCase{{20, 30}, 255, 255},
          TCase{{10, 20}, 255, 0}, // only the closed figure goes back to its start
          TCase{{10, 10}, 255, 255}, TCase{{20, 20}, 0, 0}, TCase{{20, 9}, 0, 0}, TCase{{5, 20}, 0, 0}}) {
        EXPECT_EQ(At(closedMap, k.P.X, k.P.Y), k.Closed) << "closed " << k.P.X << "," << k.P.Y;
        EXPECT_EQ(At(openMap, k.P.X, k.P.Y), k.Open) << "open " << k.P.X << "," << k.P.Y;
    }

    // A wide line: the corners get the round dot, which a bare line would not reach.
    TDIB wide(40, 40, 8);
    TAALineAlphaMap line(wide);
    line.SetHalfWidth(2);
    closed.DrawAntialiased(line, pixels);
    EXPECT_EQ(At(wide, 20, 9), 255);
    EXPECT_EQ(At(wide, 20, 8), 128); // the filter disc half over the line's edge
    EXPECT_EQ(At(wide, 9, 9), 255);  // 1.4 from the corner: inside the dot
    EXPECT_EQ(At(wide, 7, 7), 0);    // 4.2 away: beyond W + R
    EXPECT_EQ(At(wide, 20, 20), 0);
}

TEST(StrokeAntialiased, CurvesThroughTheMappingHaveSoftEdges) {
    TStroke s;
    s.SetEllipse({100, 100, 300, 300}); // a circle of radius 10 pixels at (20, 20)
    TRecordingCanvas tenth;
    tenth.SetMapMode(TMapMode::mmAnisotropic);
    tenth.SetWindowExt({10, 10});
    tenth.SetViewportExt({1, 1});
    TDIB map(41, 41, 8);
    s.DrawAntialiased(map, tenth);
    for (const TPoint p : {TPoint{30, 20}, TPoint{20, 10}, TPoint{10, 20}, TPoint{20, 30}})
        EXPECT_EQ(At(map, p.X, p.Y), 255) << p.X << "," << p.Y;
    EXPECT_EQ(At(map, 20, 20), 0);
    int partial = 0, covered = 0;
    for (int y = 0; y < map.Height(); ++y)
        for (int x = 0; x < map.Width(); ++x) {
            const int v = At(map, x, y);
            if (v == 0) continue;
            ++covered;
            if (v < 255) ++partial;
            // Nothing beyond the line's reach, give or take the vertices' rounding to pixels.
            const double r = std::hypot(x - 20.0, y - 20.0);
            EXPECT_NEAR(r, 10.0, 1.8) << x << "," << y;
        }
    // Between the axes the curve passes between pixel centres.
    EXPECT_GT(partial, 16);
    EXPECT_GT(covered, 56); // about the circumference of 63 pixels
}

TEST(StrokeAntialiased, EmptyUnknownAndFarOutsideStrokes) {
    const TRecordingCanvas pixels;
    TDIB map(20, 20, 8);
    const std::vector<uint32_t> blank = [&] {
        std::vector<uint32_t> v;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) v.push_back(map.RawPixel(x, y));
        return v;
    }();
    TStroke().DrawAntialiased(map, pixels);
    EXPECT_EQ(At(map, 0, 0), 0); // no stand-in dot at the origin
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(map.RawPixel(x, y), blank[size_t(y * 20 + x)]);

    // A point of unknown kind ends the outline there.
    TStroke s;
    s.AddPoint(2, 5, PT_MOVETO);
    s.AddPoint(17, 5, PT_LINETO);
    s.AddPoint(17, 15, 0x20);
    s.AddPoint(2, 15, PT_LINETO);
    s.DrawAntialiased(map, pixels);
    EXPECT_EQ(At(map, 10, 5), 255);
    EXPECT_EQ(At(map, 10, 15), 0);

    // Ends billions of pixels away: only the part over the map is walked.
    TStroke far;
    far.AddPoint(-2000000000, 12, PT_MOVETO);
    far.AddPoint(2000000000, 12, PT_LINETO);
    far.AddPoint(2000000000, -2000000000, PT_LINETO);
    far.DrawAntialiased(map, pixels);
    for (int x = 0; x < 20; ++x) EXPECT_EQ(At(map, x, 12), 255) << x;
}

} // namespace
} // namespace vellum
