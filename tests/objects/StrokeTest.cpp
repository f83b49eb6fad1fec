#include "objects/Stroke.h"

#include "core/Transformer.h"
#include "platform/Canvas.h"
#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

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
    ExpectPoints(s, {{{100, 30}, 6}, {{100, 13}, 4}, {{78, 0}, 4}, {{50, 0}, 4}, {{22, 0}, 4},
                     {{0, 13}, 4},   {{0, 30}, 4},   {{0, 47}, 4}, {{22, 60}, 4}, {{50, 60}, 4},
                     {{78, 60}, 4},  {{100, 47}, 4}, {{100, 30}, 5}});
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
    ExpectPoints(s, {{{0, 0}, 6}, {{8, 0}, 2}, {{10, 0}, 2}, {{10, 8}, 2}, {{10, 10}, 2}, {{2, 10}, 2},
                     {{0, 10}, 2}, {{0, 2}, 3}});

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

} // namespace
} // namespace vellum
