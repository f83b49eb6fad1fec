#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

using namespace vellum;

namespace {

// 0.1 mm logical units on a 96 dpi device at 100 %: 25400 : 9600 = 127 : 48.
void MapTenthMillimetres(TCanvas& c, TPoint viewportOrg = {}) {
    c.SetMapMode(TMapMode::mmAnisotropic);
    c.SetWindowExt({127, 127});
    c.SetViewportExt({48, 48});
    c.SetViewportOrg(viewportOrg);
}

} // namespace

TEST(CanvasMapping, LogicalToDeviceRoundsToNearestAndInverts) {
    TRecordingCanvas c;
    MapTenthMillimetres(c, {10, 20});
    c.SetWindowOrg({-100, 50});
    struct Case {
        TPoint logical, device;
    } cases[] = {
        {{-100, 50}, {10, 20}},   // the window origin lands on the viewport origin
        {{154, 304}, {106, 116}}, // 254 units = 96 pixels
        {{-99, 50}, {10, 20}},    // 0.378 px rounds down
        {{-98, 51}, {11, 20}},    // 0.756 px rounds up
        {{-354, -204}, {-86, -76}},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(c.LPtoDP(k.logical), k.device) << k.logical.X << "," << k.logical.Y;
    }
    EXPECT_EQ(c.DPtoLP(TPoint{106, 116}), (TPoint{154, 304}));
    EXPECT_EQ(c.LengthToDevice(254), 96);
    // Text mode ignores extents.
    c.SetMapMode(TMapMode::mmText);
    c.SetWindowExt({2, 2});
    EXPECT_EQ(c.LPtoDP(TPoint{0, 0}), (TPoint{110, -30}));
}

TEST(CanvasRecording, ShapesLogDeviceGeometryWithPointKinds) {
    TRecordingCanvas c;
    MapTenthMillimetres(c);
    c.Rectangle({0, 0, 254, 127});
    c.FillRect({0, 0, 254, 127});
    c.Polygon({{0, 0}, {254, 0}, {0, 254}});
    c.MoveTo(0, 0);
    c.LineTo(254, 254);
    const QStringList log = c.Log();
    ASSERT_EQ(log.size(), 4);
    // The outline excludes the right and bottom edge; FillRect covers them.
    EXPECT_EQ(log[0], "Rectangle fill stroke 0,0:6 95,0:2 95,47:2 0,47:3");
    EXPECT_EQ(log[1], "FillRect fill 0,0:6 96,0:2 96,48:2 0,48:3");
    EXPECT_EQ(log[2], "Polygon fill stroke 0,0:6 96,0:2 0,96:3");
    EXPECT_EQ(log[3], "Line stroke 0,0:6 96,96:2");
    EXPECT_EQ(c.PenPos(), (TPoint{254, 254}));
}

TEST(CanvasRecording, ClearPenAndBrushAreLoggedAsNotDrawn) {
    TRecordingCanvas c;
    c.SetPen({.Style = TPenStyle::psClear});
    c.SetBrush({.Style = TBrushStyle::bsClear});
    c.Ellipse({0, 0, 10, 10});
    ASSERT_EQ(c.Records().size(), 1u);
    EXPECT_FALSE(c.Records()[0].Fill);
    EXPECT_FALSE(c.Records()[0].Stroke);
}

TEST(CanvasPath, FiguresKeepKindsAndComeBackInLogicalUnits) {
    TRecordingCanvas c;
    MapTenthMillimetres(c);
    c.BeginPath();
    c.MoveTo(0, 0);
    c.LineTo(254, 0);
    c.PolyBezierTo({{254, 127}, {127, 254}, {0, 254}});
    c.CloseFigure();
    c.LineTo(508, 508); // starts a new figure at the pen position
    c.Ellipse({0, 0, 254, 254});
    c.EndPath();
    EXPECT_TRUE(c.Records().empty()); // nothing is drawn while a path is open

    std::vector<TPoint> points;
    std::vector<uint8_t> kinds;
    c.GetPath(points, kinds);
    ASSERT_EQ(kinds.size(), 5u + 2u + 13u);
    const std::vector<uint8_t>
        head{PT_MOVETO, PT_LINETO, PT_BEZIERTO, PT_BEZIERTO, PT_BEZIERTO | PT_CLOSEFIGURE,
             PT_MOVETO, PT_LINETO, PT_MOVETO};
    EXPECT_EQ(std::vector<uint8_t>(kinds.begin(), kinds.begin() + 8), head);
    EXPECT_EQ(kinds.back(), PT_BEZIERTO | PT_CLOSEFIGURE);
    EXPECT_EQ(points[1], (TPoint{254, 0}));
    EXPECT_EQ(points[6], (TPoint{508, 508}));

    c.StrokePath();
    ASSERT_EQ(c.Records().size(), 1u);
    EXPECT_EQ(c.Records()[0].Figure, TFigureKind::fkStrokePath);
    EXPECT_EQ(c.Records()[0].Path.Points[1], (TPoint{96, 0}));
    EXPECT_FALSE(c.HasPath()); // drawing a path consumes it
}

TEST(CanvasPath, WidenPathGivesTheBandOfTheGeometricPen) {
    struct Case {
        TPenEndCap cap;
        TRect box;
    } cases[] = {
        {TPenEndCap::pecFlat, {0, -5, 100, 5}},
        {TPenEndCap::pecSquare, {-5, -5, 105, 5}},
        {TPenEndCap::pecRound, {-5, -5, 105, 5}},
    };
    for (const Case& k : cases) {
        TRecordingCanvas c;
        c.SetPen({.Width = 10, .Geometric = true, .EndCap = k.cap, .Join = TPenJoin::pjMiter});
        c.BeginPath();
        c.MoveTo(0, 0);
        c.LineTo(100, 0);
        c.EndPath();
        c.WidenPath();
        std::vector<TPoint> points;
        std::vector<uint8_t> kinds;
        c.GetPath(points, kinds);
        ASSERT_FALSE(points.empty());
        TRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (const TPoint& p : points) {
            box = {std::min(box.Left, p.X), std::min(box.Top, p.Y), std::max(box.Right, p.X),
                   std::max(box.Bottom, p.Y)};
        }
        EXPECT_EQ(box, k.box) << int(k.cap);
        EXPECT_EQ(kinds.front(), PT_MOVETO);
        EXPECT_TRUE(kinds.back() & PT_CLOSEFIGURE);
    }
}

TEST(CanvasPath, MitreBeyondTheLimitBecomesABevel) {
    // A 20-degree spike: its mitre is 1/sin(10°) = 5.8 pen widths long.
    auto spikeTop = [](double limit) {
        TRecordingCanvas c;
        c.SetMiterLimit(limit);
        c.SetPen({.Width = 10, .Geometric = true, .EndCap = TPenEndCap::pecFlat, .Join = TPenJoin::pjMiter});
        c.BeginPath();
        c.MoveTo(-100, 1000);
        c.LineTo(0, 433);
        c.LineTo(100, 1000);
        c.EndPath();
        c.WidenPath();
        std::vector<TPoint> points;
        std::vector<uint8_t> kinds;
        c.GetPath(points, kinds);
        int32_t top = INT32_MAX;
        for (const TPoint& p : points) top = std::min(top, p.Y);
        return top;
    };
    EXPECT_LT(spikeTop(10), 433 - 25); // the full mitre reaches ~29 units above the join
    EXPECT_GT(spikeTop(4), 433 - 6);   // cut off: at most half a pen width above the join
}

TEST(CanvasClip, IntersectSubtractPathAndRestore) {
    TRecordingCanvas c({0, 0, 200, 100});
    EXPECT_EQ(c.ClipBox().first, (TRect{0, 0, 200, 100})); // no clip: the device
    c.SaveDC();
    c.IntersectClipRect({10, 10, 110, 60});
    c.ExcludeClipRect({10, 10, 60, 60});
    EXPECT_EQ(c.ClipBox().first, (TRect{60, 10, 110, 60}));
    c.BeginPath();
    c.Rectangle({0, 0, 80, 100});
    c.EndPath();
    c.SelectClipPath(TClipCombine::ccDiff);
    EXPECT_EQ(c.ClipBox().first, (TRect{79, 10, 110, 60}));
    c.IntersectClipRect({0, 0, 5, 5});
    EXPECT_FALSE(c.ClipBox().second); // empty

    EXPECT_TRUE(c.RestoreDC(-1));
    EXPECT_FALSE(c.HasClip());
    EXPECT_FALSE(c.RestoreDC(-1));
    const QStringList log = c.Log();
    EXPECT_EQ(log.front(), "Save 1");
    EXPECT_EQ(log[1], "Clip (10,10,110,60)");
    EXPECT_EQ(log[2], "Clip (60,10,110,60)");
    EXPECT_EQ(log.last(), "Clip none");
    EXPECT_EQ(log[log.size() - 2], "Restore 0");
}

TEST(CanvasState, RestoreByAbsoluteLevelAndPenMapping) {
    TRecordingCanvas c;
    c.SetPen({.Width = 3});
    const int first = c.SaveDC();
    c.SetPen({.Width = 7});
    c.SetBrush({.Style = TBrushStyle::bsDiagCross, .Color = 0xC0C0C0});
    c.SaveDC();
    c.SetPen({.Width = 9});
    EXPECT_TRUE(c.RestoreDC(first));
    EXPECT_EQ(c.Pen().Width, 3);
    EXPECT_EQ(c.Brush().Style, TBrushStyle::bsSolid);

    // Pens map their width; wide cosmetic-style pens draw solid.
    MapTenthMillimetres(c);
    c.SetPen({.Style = TPenStyle::psDash, .Width = 254});
    c.Polyline({{0, 0}, {10, 0}});
    c.SetPen({.Style = TPenStyle::psDash, .Width = 254, .Geometric = true, .EndCap = TPenEndCap::pecFlat});
    c.Polyline({{0, 0}, {10, 0}});
    c.SetPen({.Style = TPenStyle::psDot, .Width = 0});
    c.Polyline({{0, 0}, {10, 0}});
    const auto& r = c.Records();
    ASSERT_EQ(r.size(), 6u); // save, save, restore, three lines
    EXPECT_EQ(r[3].Pen.Width, 96);
    EXPECT_EQ(r[3].Pen.Style, TPenStyle::psSolid);
    EXPECT_EQ(r[4].Pen.Style, TPenStyle::psDash);
    EXPECT_EQ(r[4].Pen.EndCap, TPenEndCap::pecFlat);
    EXPECT_EQ(r[5].Pen.Width, 0);
    EXPECT_EQ(r[5].Pen.Style, TPenStyle::psDot);
}

TEST(CanvasImages, DestinationIsMappedAndRefusalIsReported) {
    TRecordingCanvas c;
    MapTenthMillimetres(c);
    QImage image(40, 30, QImage::Format_RGB32);
    c.SetCopyMode(TCopyMode::cmSrcAnd);
    c.Draw(254, 0, image);
    EXPECT_TRUE(c.StretchDraw({0, 0, 508, 254}, image, {10, 0, 30, 30}));
    c.SetMaxImagePixels(1000);
    EXPECT_FALSE(c.StretchDraw({0, 0, 508, 254}, image, {0, 0, 40, 30}));
    const QStringList log = c.Log();
    EXPECT_EQ(log[0], "Image 40x30 (96,0,136,30) <- (0,0,40,30) mode 1");
    EXPECT_EQ(log[1], "Image 40x30 (0,0,192,96) <- (10,0,30,30) mode 1");
    EXPECT_EQ(log[2], "Image 40x30 (0,0,192,96) <- (0,0,40,30) mode 1 refused");
}

TEST(CanvasRecording, CurvedShapesAreBezierFigures) {
    TRecordingCanvas c;
    c.Ellipse({0, 0, 101, 61}); // outline through 0..100 x 0..60
    c.RoundRect({0, 0, 101, 61}, 20, 20);
    // A quarter arc counter-clockwise from 3 o'clock to 12 o'clock.
    c.Arc({0, 0, 101, 61}, {200, 30}, {50, -100});
    c.SetPen({.Style = TPenStyle::psInsideFrame, .Width = 6});
    c.Rectangle({0, 0, 101, 61});
    const auto& r = c.Records();
    ASSERT_EQ(r.size(), 4u);
    const TDevicePath& e = r[0].Path;
    ASSERT_EQ(e.Kinds.size(), 13u);
    EXPECT_EQ(e.Points.front(), (TPoint{100, 30}));
    EXPECT_EQ(e.Points[3], (TPoint{50, 0}));
    EXPECT_EQ(e.Points[9], (TPoint{50, 60}));
    EXPECT_EQ(e.Kinds.back(), PT_BEZIERTO | PT_CLOSEFIGURE);
    TRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (const TPoint& p : r[1].Path.Points)
        box = {std::min(box.Left, p.X), std::min(box.Top, p.Y), std::max(box.Right, p.X),
               std::max(box.Bottom, p.Y)};
    EXPECT_EQ(box, (TRect{0, 0, 100, 60}));
    EXPECT_TRUE(r[1].Path.Kinds.back() & PT_CLOSEFIGURE);
    const TDevicePath& a = r[2].Path;
    EXPECT_FALSE(r[2].Fill);
    EXPECT_EQ(a.Points.front(), (TPoint{100, 30}));
    EXPECT_EQ(a.Points.back(), (TPoint{50, 0}));
    EXPECT_FALSE(a.Kinds.back() & PT_CLOSEFIGURE);
    // An inside-frame pen of 6 keeps its whole width inside 0..100.
    EXPECT_EQ(r[3].Path.Points[0], (TPoint{3, 3}));
    EXPECT_EQ(r[3].Path.Points[2], (TPoint{98, 58}));
}
