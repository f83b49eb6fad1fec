#include "paper/FaceInfo.h"

#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vellum;

namespace {

TFaceInfo Face(TRect r, TFaceShape shape, int32_t margin = 0) {
    TFaceInfo f;
    f.FaceRect = r;
    f.Shape = shape;
    f.Margin = margin;
    return f;
}

// The canvas draws outlines through Left..Right-1 and Top..Bottom-1: this gives back the rectangle.
TRect BoundsOf(const TDevicePath& path) {
    TRect r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (const TPoint& p : path.Points) {
        r.Left = std::min(r.Left, p.X);
        r.Top = std::min(r.Top, p.Y);
        r.Right = std::max(r.Right, p.X);
        r.Bottom = std::max(r.Bottom, p.Y);
    }
    return {r.Left, r.Top, r.Right + 1, r.Bottom + 1};
}

bool HasPoint(const TDevicePath& path, TPoint p) {
    return std::find(path.Points.begin(), path.Points.end(), p) != path.Points.end();
}

} // namespace

TEST(FaceInfo, DerivedRectangles) {
    TFaceInfo f = Face({0, 0, 1200, 1200}, TFaceShape::fsDoughnut);
    EXPECT_EQ(f.CutOutRect(), (TRect{395, 395, 805, 805}));
    f.Margin = 20;
    EXPECT_EQ(f.HoleRect(), (TRect{415, 415, 785, 785}));
    EXPECT_EQ(f.OuterRect(), (TRect{-20, -20, 1220, 1220}));
    f.SetFromOuterRect({100, 100, 500, 400});
    EXPECT_EQ(f.FaceRect, (TRect{120, 120, 480, 380}));
    // Odd differences truncate toward zero, also when the cut-out is the larger.
    TFaceInfo odd = Face({0, 0, 101, 101}, TFaceShape::fsRectCD);
    odd.CutWidth = odd.CutHeight = 410;
    EXPECT_EQ(odd.CutOutRect(), (TRect{-154, -154, 256, 256}));
    // A negative margin shrinks the outer rectangle.
    EXPECT_EQ(Face({0, 0, 100, 100}, TFaceShape::fsRect, -10).OuterRect(), (TRect{10, 10, 90, 90}));

    for (auto [shape, hole] : {std::pair{TFaceShape::fsRect, false},
                               {TFaceShape::fsDoughnut, true},
                               {TFaceShape::fsEllipse, false},
                               {TFaceShape::fsRoundRect, false},
                               {TFaceShape::fsRectCD, true},
                               {TFaceShape::fsBarrelCD, true}})
        EXPECT_EQ(Face({}, shape).HasCenterHole(), hole) << int(shape);

    TFaceInfo copy;
    f.Purpose = QStringLiteral("CD");
    f.RoundSize = 33;
    f.CenterShape = TCenterShape::csBarrel;
    copy.Assign(&f);
    EXPECT_EQ(copy.FaceRect, f.FaceRect);
    EXPECT_EQ(copy.Purpose, f.Purpose);
    EXPECT_EQ(copy.RoundSize, 33);
    EXPECT_EQ(copy.CenterShape, TCenterShape::csBarrel);
    EXPECT_EQ(copy.Margin, 20);
}

TEST(FaceInfo, BarrelGeometry) {
    const TBarrel wide = BarrelOf({0, 0, 910, 550});
    EXPECT_TRUE(wide.Wide);
    EXPECT_EQ(wide.Points[0], (TPoint{93, 0}));
    EXPECT_EQ(wide.Points[1], (TPoint{817, 0}));
    EXPECT_EQ(wide.Points[2], (TPoint{817, 550}));
    EXPECT_EQ(wide.Points[3], (TPoint{93, 550}));
    EXPECT_EQ(wide.Middle[0], (TPoint{0, 275}));
    EXPECT_EQ(wide.Middle[1], (TPoint{910, 275}));
    const TBarrel tall = BarrelOf({0, 0, 550, 910});
    EXPECT_FALSE(tall.Wide);
    EXPECT_EQ(tall.Points[0], (TPoint{0, 93}));
    EXPECT_EQ(tall.Points[2], (TPoint{550, 817}));
    EXPECT_EQ(tall.Middle[1], (TPoint{275, 910}));

    // The region: the rectangle cut by the circle of diameter 910 round its centre.
    const TRegion barrel = BarrelRegion({0, 0, 910, 550});
    EXPECT_EQ(barrel.BoundingBox(), (TRect{0, 0, 910, 550}));
    EXPECT_TRUE(barrel.Contains({93, 0}));
    EXPECT_TRUE(barrel.Contains({816, 549}));
    EXPECT_FALSE(barrel.Contains({91, 0}));
    EXPECT_FALSE(barrel.Contains({819, 549}));
    EXPECT_TRUE(barrel.Contains({0, 275}));
    EXPECT_FALSE(barrel.Contains({0, 200}));
}

TEST(FaceInfo, RegionsWithAndWithoutTheHole) {
    TFaceInfo cd = Face({0, 0, 1200, 1200}, TFaceShape::fsDoughnut, 20);
    const TRegion ring = cd.Region(nullptr, true), disc = cd.Region(nullptr, false);
    EXPECT_EQ(disc.BoundingBox(), (TRect{-20, -20, 1220, 1220}));
    EXPECT_TRUE(disc.Contains({600, 600}));
    EXPECT_FALSE(ring.Contains({600, 600}));
    EXPECT_TRUE(ring.Contains({600, 300}));
    EXPECT_EQ(disc.Subtracted(ring), TRegion::Ellipse({415, 415, 785, 785}));
    cd.CenterShape = TCenterShape::csBarrel;
    EXPECT_EQ(disc.Subtracted(cd.Region(nullptr, true)), BarrelRegion({415, 415, 785, 785}));
    // Shapes without a hole ignore the request.
    const TFaceInfo round = Face({0, 0, 910, 550}, TFaceShape::fsRoundRect);
    EXPECT_EQ(round.Region(nullptr, true), TRegion::RoundRect({0, 0, 910, 550}, 100, 100));
    EXPECT_FALSE(round.Region(nullptr, true).Contains({0, 0}));

    // Through a canvas: device units of a tenth, the rounding size mapped as a vector.
    TRecordingCanvas canvas;
    canvas.SetMapMode(TMapMode::mmAnisotropic);
    canvas.SetWindowExt({10, 10});
    canvas.SetViewportExt({1, 1});
    canvas.SetViewportOrg({5, 7});
    EXPECT_EQ(round.Region(&canvas, false), TRegion::RoundRect({5, 7, 96, 62}, 10, 10));
}

TEST(FaceInfo, DrawShapeHoleCrossAndCutLine) {
    TRecordingCanvas canvas({0, 0, 4000, 4000});
    TFaceInfo cd = Face({100, 200, 1300, 1400}, TFaceShape::fsDoughnut, 20);
    cd.DrawShape(canvas, false, true);
    auto records = canvas.Records();
    ASSERT_EQ(records.size(), 4u) << canvas.Log().join(u'\n').toStdString();
    EXPECT_EQ(records[0].Figure, TFigureKind::fkEllipse);
    EXPECT_EQ(BoundsOf(records[0].Path), (TRect{80, 180, 1320, 1420}));
    EXPECT_EQ(records[1].Figure, TFigureKind::fkEllipse);
    EXPECT_EQ(BoundsOf(records[1].Path), (TRect{515, 615, 885, 985}));
    // The cross goes through the hole's middle.
    EXPECT_EQ(records[2].Path.Points, (std::vector<TPoint>{{650, 800}, {750, 800}}));
    EXPECT_EQ(records[3].Path.Points, (std::vector<TPoint>{{700, 750}, {700, 850}}));

    canvas.ClearLog();
    cd.DrawShape(canvas, true, false);
    ASSERT_EQ(canvas.Records().size(), 2u);
    EXPECT_EQ(BoundsOf(canvas.Records()[0].Path), (TRect{0, 0, 1240, 1240}));
    EXPECT_EQ(BoundsOf(canvas.Records()[1].Path), (TRect{435, 435, 805, 805}));

    canvas.ClearLog();
    cd.DrawCutLine(canvas, false);
    ASSERT_EQ(canvas.Records().size(), 2u);
    EXPECT_EQ(BoundsOf(canvas.Records()[0].Path), (TRect{100, 200, 1300, 1400}));
    EXPECT_EQ(BoundsOf(canvas.Records()[1].Path), (TRect{495, 595, 905, 1005}));

    canvas.ClearLog();
    cd.DrawHole(canvas, true);
    ASSERT_EQ(canvas.Records().size(), 1u);
    EXPECT_EQ(BoundsOf(canvas.Records()[0].Path), (TRect{0, 0, 370, 370}));

    // No margin: no cut line; no hole: nothing for DrawHole; a plain face's cross is at its middle.
    canvas.ClearLog();
    TFaceInfo card = Face({0, 0, 910, 550}, TFaceShape::fsRect);
    card.DrawCutLine(canvas, false);
    card.DrawHole(canvas, false);
    EXPECT_TRUE(canvas.Records().empty());
    card.DrawShape(canvas, false, true);
    ASSERT_EQ(canvas.Records().size(), 3u);
    EXPECT_EQ(canvas.Records()[0].Figure, TFigureKind::fkRectangle);
    EXPECT_EQ(canvas.Records()[1].Path.Points, (std::vector<TPoint>{{405, 275}, {505, 275}}));
}

TEST(FaceInfo, DrawsTheBarrelAsArcsAndStraightEdges) {
    TRecordingCanvas canvas({0, 0, 2000, 2000});
    TFaceInfo barrel = Face({0, 0, 910, 550}, TFaceShape::fsBarrelCD);
    barrel.DrawShape(canvas, false, false);
    ASSERT_GE(canvas.Records().size(), 1u);
    const TCanvasRecord& outline = canvas.Records()[0];
    EXPECT_EQ(outline.Figure, TFigureKind::fkStrokeAndFillPath);
    EXPECT_TRUE(outline.Fill && outline.Stroke);
    for (TPoint p :
         {TPoint{93, 0}, TPoint{817, 0}, TPoint{817, 550}, TPoint{93, 550}, TPoint{0, 275}, TPoint{910, 275}})
        EXPECT_TRUE(HasPoint(outline.Path, p)) << p.X << "," << p.Y << "\n"
                                               << outline.ToString().toStdString();
    const TRect bounds = BoundsOf(outline.Path);
    EXPECT_EQ(bounds.Top, 0);
    EXPECT_EQ(bounds.Bottom, 551);
    // The arcs bulge to the rectangle's short sides and no further.
    EXPECT_GE(bounds.Left, -2);
    EXPECT_LE(bounds.Right, 913);
}

TEST(FaceInfo, LegacyTypesAndDisplayNames) {
    struct {
        int code;
        TFaceShape shape;
        const char* purpose;
    } const cases[] = {{0, TFaceShape::fsRect, ""},         {1, TFaceShape::fsDoughnut, "CD"},
                       {2, TFaceShape::fsRect, "CDCover"},  {3, TFaceShape::fsRect, "CDCaseTray"},
                       {4, TFaceShape::fsRect, "MOSquare"}, {5, TFaceShape::fsRect, "MOSquare"},
                       {6, TFaceShape::fsEllipse, ""},      {7, TFaceShape::fsRoundRect, ""},
                       {8, TFaceShape::fsBarrelCD, "keep"}, {-1, TFaceShape::fsBarrelCD, "keep"}};
    for (const auto& c : cases) {
        TFaceInfo f = Face({}, TFaceShape::fsBarrelCD);
        f.Purpose = QStringLiteral("keep");
        f.SetFromLegacyType(c.code);
        EXPECT_EQ(f.Shape, c.shape) << c.code;
        EXPECT_EQ(f.Purpose, QString::fromLatin1(c.purpose)) << c.code;
    }
    EXPECT_EQ(ShapeDisplayNames().split(u',').size(), FaceShapeNames().size());
    EXPECT_EQ(ShapeDisplayNames().split(u',')[4], QStringLiteral("名刺CDラベル"));
}
