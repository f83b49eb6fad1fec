#include "CoreTestKinds.h"

#include "base/StringList.h"
#include "core/DOGroup.h"
#include "core/LabelObject.h"
#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <QScopeGuard>

using namespace vellum;
using namespace vellum::test;

namespace {

const TRenderContext kBitmap = TRenderContext::Bitmap({});

// A bitmap whose bits the blend path may use.
class TBitsCanvas : public TRecordingCanvas {
public:
    using TRecordingCanvas::TRecordingCanvas;
    bool HasAccessibleBits() const override { return true; }
};

int Figures(const TRecordingCanvas& canvas) {
    int n = 0;
    for (const TCanvasRecord& r : canvas.Records()) n += r.Kind == TCanvasRecord::TKind::rkFigure;
    return n;
}

const TCanvasRecord* FirstFigure(const TRecordingCanvas& canvas) {
    for (const TCanvasRecord& r : canvas.Records())
        if (r.Kind == TCanvasRecord::TKind::rkFigure) return &r;
    return nullptr;
}

} // namespace

TEST(DrawObject, ChangesAreAnnouncedOncePerRealChange) {
    TTestShape shape;
    shape.SetRect({10, 20, 110, 70});
    TNotifyLog log(shape);
    int modifies = 0;
    shape.OnModify = [&](TDrawObject* sender) {
        EXPECT_EQ(sender, &shape);
        ++modifies;
    };

    shape.SetLeft(10);
    shape.SetTop(20);
    shape.SetWidth(100);
    EXPECT_TRUE(log.Ids.empty());

    shape.SetRect({0, 0, 50, 50});
    shape.SetRect({0, 0, 50, 50});
    EXPECT_EQ(log.Count(NID_ObjectChanged), 1);
    EXPECT_EQ(modifies, 1);

    // Everything inside one update is announced once, at the outermost end.
    shape.BeginUpdate();
    shape.BeginUpdate();
    shape.SetLeft(5);
    shape.SetTop(6);
    shape.EndUpdate();
    shape.SetBlendRatio(50);
    EXPECT_EQ(log.Count(NID_ObjectChanged), 1);
    shape.EndUpdate();
    EXPECT_EQ(log.Count(NID_ObjectChanged), 2);
    EXPECT_EQ(modifies, 2);

    // An update without a change says nothing.
    shape.BeginUpdate();
    shape.SetLeft(5);
    shape.EndUpdate();
    EXPECT_EQ(log.Count(NID_ObjectChanged), 2);
}

TEST(DrawObject, ModifiedMarksTheSite) {
    TFakeSite site;
    TTestShape shape;
    site.Add(&shape);
    shape.SetRect({0, 0, 10, 10});
    EXPECT_TRUE(site.Modified);
}

TEST(DrawObject, FrameIsAlwaysNormalised) {
    struct TCase {
        const char* What;
        TRect Start;
        std::function<void(TTestShape&)> Change;
        TRect Expected;
    };
    const std::vector<TCase> cases = {
        {"right of left",
         {},
         [](TTestShape& s) {
             s.SetRect({100, 80, 20, 10});
         },
         {20, 10, 100, 80}},
        {"negative width", {50, 0, 80, 10}, [](TTestShape& s) { s.SetWidth(-30); }, {20, 0, 50, 10}},
        {"negative height", {0, 50, 10, 80}, [](TTestShape& s) { s.SetHeight(-20); }, {0, 30, 10, 50}},
        {"left keeps width", {10, 10, 40, 30}, [](TTestShape& s) { s.SetLeft(-5); }, {-5, 10, 25, 30}},
        {"top keeps height", {10, 10, 40, 30}, [](TTestShape& s) { s.SetTop(100); }, {10, 100, 40, 120}},
        {"offset", {10, 10, 40, 30}, [](TTestShape& s) { s.Offset(3, -4); }, {13, 6, 43, 26}},
        {"resize", {10, 10, 40, 30}, [](TTestShape& s) { s.SetSize(5, 6); }, {10, 10, 15, 16}},
    };
    for (const TCase& c : cases) {
        TTestShape shape;
        shape.SetRect(c.Start);
        c.Change(shape);
        EXPECT_EQ(shape.FrameRect(), c.Expected) << c.What;
        EXPECT_GE(shape.Width(), 0) << c.What;
        EXPECT_GE(shape.Height(), 0) << c.What;
    }
}

TEST(DrawObject, SelectionMovabilityAndPrintingFlags) {
    TTestShape shape;
    TNotifyLog log(shape);

    shape.SetSelectable(false);
    shape.SetSelected(true);
    EXPECT_FALSE(shape.Selected());
    EXPECT_TRUE(log.Ids.empty());
    // Deselecting is always announced, even when nothing changes.
    shape.SetSelected(false);
    EXPECT_EQ(log.Count(NID_SelectionChanged), 1);

    shape.SetSelectable(true);
    shape.SetSelected(true);
    EXPECT_TRUE(shape.Selected());
    shape.SetSelectable(false);
    EXPECT_FALSE(shape.Selected());
    EXPECT_EQ(log.Count(NID_SelectionChanged), 3);

    log.Ids.clear();
    shape.SetMovable(true);
    EXPECT_TRUE(log.Ids.empty());
    shape.SetMovable(false);
    // A card object announces the change first, then the new movability.
    EXPECT_EQ(log.Ids, (std::vector<TGUID>{NID_ObjectChanged, NID_MovableChanged}));

    log.Ids.clear();
    shape.SetDontPrint(true);
    shape.SetDontPrint(true);
    EXPECT_EQ(log.Ids, (std::vector<TGUID>{NID_DontPrintChanged, NID_ObjectChanged}));

    log.Ids.clear();
    shape.SetBlendShade(true);
    shape.SetBlendShade(true);
    shape.SetBlendRatio(100);
    EXPECT_EQ(log.Count(NID_ObjectChanged), 1);
}

TEST(DrawObject, DestructionIsAnnounced) {
    auto shape = std::make_unique<TTestShape>();
    TNotifyLog log(*shape);
    TPersistent* sender = nullptr;
    log.Listener.SetCallback([&](TPersistent* s, const TGUID& id) {
        if (id == NID_ObjectDestroyed) sender = s;
    });
    TTestShape* raw = shape.get();
    shape.reset();
    EXPECT_EQ(sender, raw);
    EXPECT_EQ(log.Listener.BroadcasterCount(), 0);
}

TEST(DrawObject, CloneCopiesTheCardStateButNotLayerOrHandler) {
    TComponent menu;
    TTestShape source;
    source.SetRect({10, 20, 30, 40});
    source.SetBorder(true);
    source.SetSelected(true);
    source.Appendix()->Add(QStringLiteral("memo=1"));
    source.SetPopupMenu(&menu);
    source.SetEnabled(false);
    source.SetMovable(false);
    source.SetTag(77);
    source.SetHint(QStringLiteral("ヒント"));
    source.SetCursor(crHandPoint);
    source.SetDontPrint(true);
    source.SetBlendShade(true);
    source.SetBlendRatio(40);
    source.SetLayerGroup(-50);
    source.OnModify = [](TDrawObject*) {};

    TComponent owner;
    TDrawObject& copy = CloneInto(source, owner);
    auto* clone = dynamic_cast<TTestShape*>(&copy);
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->Owner(), &owner);
    EXPECT_EQ(clone->FrameRect(), source.FrameRect());
    EXPECT_TRUE(clone->Border());
    EXPECT_TRUE(clone->Selected());
    EXPECT_EQ(clone->Appendix()->Items(), QStringList{QStringLiteral("memo=1")});
    EXPECT_EQ(clone->PopupMenu(), &menu);
    EXPECT_FALSE(clone->Enabled());
    EXPECT_FALSE(clone->Movable());
    EXPECT_EQ(clone->Tag(), 77);
    EXPECT_EQ(clone->Hint(), QStringLiteral("ヒント"));
    EXPECT_EQ(clone->Cursor(), crHandPoint);
    EXPECT_TRUE(clone->DontPrint());
    EXPECT_TRUE(clone->BlendShade());
    EXPECT_EQ(clone->BlendRatio(), 40);
    EXPECT_EQ(clone->LayerGroup(), 0);
    EXPECT_FALSE(clone->OnModify);

    // A whole assignment is one change.
    TTestShape target;
    TNotifyLog log(target);
    target.Assign(&source);
    EXPECT_EQ(log.Count(NID_ObjectChanged), 1);

    // A reference to a menu that goes away is cleared.
    {
        TComponent shortLived;
        target.SetPopupMenu(&shortLived);
    }
    EXPECT_EQ(target.PopupMenu(), nullptr);
}

TEST(DrawObject, DontPrintObjectsStayOffPrinters) {
    TTestShape shape;
    shape.SetRect({0, 0, 100, 100});
    shape.SetDontPrint(true);

    TRecordingCanvas bitmap({0, 0, 200, 200}, 96, false);
    shape.DrawTo(bitmap, kBitmap);
    EXPECT_EQ(Figures(bitmap), 1);

    // A printer's canvas leaves it out whatever the context says.
    TRecordingCanvas printer({0, 0, 200, 200}, 600, true);
    shape.DrawTo(printer, kBitmap);
    EXPECT_EQ(Figures(printer), 0);

    // The print preview draws on a bitmap but as if printing.
    TRecordingCanvas preview({0, 0, 200, 200}, 96, false);
    TRenderContext forPrint = TRenderContext::Print(TRenderTarget::rtBitmap, {});
    forPrint.Preview = true;
    shape.DrawTo(preview, forPrint);
    EXPECT_EQ(Figures(preview), 0);

    shape.SetDontPrint(false);
    shape.DrawTo(printer, forPrint);
    EXPECT_EQ(Figures(printer), 1);
}

TEST(DrawObject, DrawToClipsToTheBoundsAndRestoresTheCanvas) {
    TTestShape shape;
    shape.SetRect({10, 10, 50, 50});
    TRecordingCanvas canvas({0, 0, 200, 200});
    canvas.SetPen({TPenStyle::psDash, 3, 0x123456});
    shape.DrawTo(canvas, kBitmap);
    EXPECT_EQ(Figures(canvas), 1);
    EXPECT_FALSE(canvas.HasClip());
    EXPECT_EQ(canvas.Pen().Style, TPenStyle::psDash);

    // Outside the clip nothing is drawn at all.
    canvas.ClearLog();
    canvas.IntersectClipRect({100, 100, 200, 200});
    canvas.ClearLog();
    shape.DrawTo(canvas, kBitmap);
    EXPECT_TRUE(canvas.Records().empty());

    // A failing paint still gives the canvas back as it was.
    TRecordingCanvas other({0, 0, 200, 200});
    shape.FailPaint = true;
    EXPECT_THROW(shape.DrawTo(other, kBitmap), std::runtime_error);
    EXPECT_FALSE(other.HasClip());
}

namespace {
int GBlendCalls = 0;
int GBlendRatio = -1;
TRect GBlendArea;
bool GBlendResult = true;
bool CountingBlend(const TDrawObject&, TCanvas&, const TRect& area, int ratio, const TRenderContext&) {
    ++GBlendCalls;
    GBlendRatio = ratio;
    GBlendArea = area;
    return GBlendResult;
}
} // namespace

TEST(DrawObject, BlendGoesThroughTheOneHookOnlyWhenNeededAndPossible) {
    SetBlendPainter(&CountingBlend);
    struct TCase {
        const char* What;
        int Ratio;
        bool Shade;
        bool Bits;
        bool Refuse;
        bool PainterSucceeds;
        int ExpectedBlends;
        int ExpectedPaints;
    };
    const TCase cases[] = {
        {"plain", 100, false, true, false, true, 0, 1},
        {"shade at full ratio", 100, true, true, false, true, 1, 0},
        {"ratio", 60, false, true, false, true, 1, 0},
        {"no bits", 60, false, false, false, true, 0, 1},
        {"capability refused", 60, false, true, true, true, 0, 1},
        {"blender could not", 60, false, true, false, false, 1, 1},
    };
    for (const TCase& c : cases) {
        GBlendCalls = 0;
        GBlendResult = c.PainterSucceeds;
        TTestShape shape;
        shape.SetRect({10, 10, 50, 50});
        shape.SetBlendRatio(c.Ratio);
        shape.SetBlendShade(c.Shade);
        shape.RefuseBlend = c.Refuse;
        std::unique_ptr<TRecordingCanvas> canvas =
            c.Bits ? std::make_unique<TBitsCanvas>(TRect{0, 0, 200, 200})
                   : std::make_unique<TRecordingCanvas>(TRect{0, 0, 200, 200});
        shape.DrawTo(*canvas, kBitmap);
        EXPECT_EQ(GBlendCalls, c.ExpectedBlends) << c.What;
        EXPECT_EQ(shape.Paints, c.ExpectedPaints) << c.What;
        if (c.ExpectedBlends) {
            EXPECT_EQ(GBlendRatio, c.Ratio) << c.What;
            EXPECT_EQ(GBlendArea, (TRect{10, 10, 50, 50})) << c.What;
        }
    }
    SetBlendPainter(nullptr);

    // Without a blender everything is painted directly.
    TTestShape shape;
    shape.SetRect({10, 10, 50, 50});
    shape.SetBlendRatio(50);
    TBitsCanvas canvas({0, 0, 200, 200});
    shape.DrawTo(canvas, kBitmap);
    EXPECT_EQ(shape.Paints, 1);
}

TEST(DrawObject, MaskIsFilledOpaqueAndImageIsPaintedIntoItsCanvas) {
    TTestShape shape;
    shape.SetRect({0, 0, 10, 10});
    TRecordingCanvas mask({0, 0, 20, 20});
    shape.DrawMask(mask, kBitmap);
    ASSERT_EQ(Figures(mask), 1);
    EXPECT_EQ(mask.Records()[0].Brush.Color, clWhite);
    EXPECT_EQ(mask.Brush().Color, clBlack);

    TRecordingCanvas image({0, 0, 20, 20});
    shape.CreateImage(image, kBitmap);
    EXPECT_EQ(Figures(image), 1);
}

TEST(DrawObject, OnSitePaintMapsLogicalUnitsAndShowsFailures) {
    TFakeSite site; // 96 dpi, 100 %
    TTestShape shape;
    site.Add(&shape);
    shape.SetRect({254, 254, 508, 381});
    // One inch at 96 dpi, rounded outward, plus one pixel right and bottom.
    EXPECT_EQ(shape.BoundsRect(), (TRect{96, 96, 193, 145}));

    TRecordingCanvas canvas({0, 0, 97, 49});
    shape.PaintOn(canvas);
    ASSERT_EQ(Figures(canvas), 1);
    const TDevicePath& path = FirstFigure(canvas)->Path;
    ASSERT_EQ(path.Points.size(), 4u);
    // The frame lands on the control's own pixels: 1 inch = 96 px, 0.5 inch = 48 px.
    EXPECT_EQ(path.Points[0], (TPoint{0, 0}));
    EXPECT_EQ(path.Points[2], (TPoint{96, 48}));
    EXPECT_EQ(canvas.Mapping(), TCoordMapping());

    // A paint that throws is reported; from then on the failure pattern shows.
    static std::vector<std::string> reported;
    reported.clear();
    SetPaintFailureReporter(
        [](const TDrawObject&, const std::exception* e) { reported.push_back(e ? e->what() : "?"); });
    const auto uninstall = qScopeGuard([] { SetPaintFailureReporter(nullptr); });
    shape.FailPaint = true;
    TRecordingCanvas failed({0, 0, 97, 49});
    EXPECT_NO_THROW(shape.PaintOn(failed));
    EXPECT_TRUE(shape.PaintFailed());
    EXPECT_EQ(reported, std::vector<std::string>{"paint failed"});
    EXPECT_EQ(failed.Mapping(), TCoordMapping());
    shape.FailPaint = false;
    TRecordingCanvas pattern({0, 0, 97, 49});
    shape.PaintOn(pattern);
    EXPECT_EQ(shape.Paints, 2);
    ASSERT_NE(FirstFigure(pattern), nullptr);
    const TCanvasRecord& hatch = *FirstFigure(pattern);
    EXPECT_EQ(hatch.Brush.Style, TBrushStyle::bsDiagCross);
    EXPECT_EQ(hatch.Brush.Color, 0x0000FFu);
    bool caption = false;
    for (const TCanvasRecord& r : pattern.Records())
        caption |= r.Kind == TCanvasRecord::TKind::rkImage && r.Image.Dest.Left == 1 && r.Image.Dest.Top == 1;
    EXPECT_TRUE(caption);
}

TEST(DrawObject, BorderAndOpaqueControlsAbove) {
    struct TOpaque : TGraphicControl {
        bool IsOpaque() const override { return true; }
    };
    TFakeSite site;
    TTestShape shape;
    TOpaque cover;
    site.Add(&shape);
    site.Add(&cover);
    shape.SetRect({0, 0, 254, 254});
    cover.SetBounds(10, 10, 20, 20);
    shape.SetBorder(true);
    TRecordingCanvas canvas({0, 0, 97, 97});
    shape.PaintOn(canvas);
    ASSERT_GE(Figures(canvas), 2);
    EXPECT_EQ(canvas.Records().front().Kind, TCanvasRecord::TKind::rkClip);
    ASSERT_TRUE(canvas.Records().front().Clip.has_value());
    EXPECT_FALSE(canvas.Records().front().Clip->contains(QPoint(15, 15)));
    bool border = false;
    for (const TCanvasRecord& r : canvas.Records())
        border |= r.Kind == TCanvasRecord::TKind::rkFigure && r.Pen.Color == 0xFF0000 && !r.Fill;
    EXPECT_TRUE(border);
}

TEST(DrawObject, HitTestAndMouseMessagesGoThroughTheSite) {
    TFakeSite site;
    site.Zoom = 200;
    TTestShape shape;
    site.Add(&shape);
    shape.SetRect({254, 0, 508, 254}); // device 192..384 at 192 px per inch
    EXPECT_EQ(shape.Left(), 254);
    EXPECT_EQ(shape.BoundsRect().Left, 192);
    EXPECT_TRUE(shape.HitTestMessage({0, 0}));
    EXPECT_TRUE(shape.HitTestMessage({191, 191}));
    EXPECT_FALSE(shape.HitTestMessage({192, 10}));
    site.Dragging = true;
    EXPECT_FALSE(shape.HitTestMessage({10, 10}));
    site.Dragging = false;

    shape.MouseDown(TMouseButton::mbLeft, ssLeft, {5, 6});
    ASSERT_EQ(site.MouseDowns.size(), 1u);
    EXPECT_EQ(site.MouseDowns[0].Object, &shape);
    EXPECT_EQ(site.MouseDowns[0].Handle, -1);
    EXPECT_EQ(site.MouseDowns[0].Point, (TPoint{197, 6}));
    shape.MouseMove(0, {1, 2});
    ASSERT_EQ(site.MouseMoves.size(), 1u);
    EXPECT_EQ(site.MouseMoves[0], (TPoint{193, 2}));
    // A double-click goes to the designers, not to the site's mouse-down.
    shape.MouseDown(TMouseButton::mbLeft, ssLeft | ssDouble, {5, 6});
    EXPECT_EQ(site.MouseDowns.size(), 1u);
}

TEST(DrawObject, CapabilitiesByIdentityWithVeto) {
    TTestShape shape;
    TDOGroup group;
    EXPECT_NE(shape.Capability<IDOFrameRect>(), nullptr);
    EXPECT_NE(shape.Capability<IDOPlacement>(), nullptr);
    EXPECT_NE(shape.Capability<IDODraw>(), nullptr);
    EXPECT_NE(shape.Capability<IDOBlend>(), nullptr);
    EXPECT_EQ(shape.Capability<IDORotate>(), nullptr);
    EXPECT_EQ(group.Capability<IDOFrameRect>(), nullptr);
    EXPECT_NE(group.Capability<IDOEncloseBounds>(), nullptr);
    EXPECT_EQ(group.Capability<IDOBlend>(), nullptr);
    shape.RefuseBlend = true;
    EXPECT_EQ(shape.Capability<IDOBlend>(), nullptr);
    EXPECT_NE(shape.Capability<IDOPlacement>(), nullptr);
}

TEST(DrawObject, AppendixChangesCountAsModifications) {
    TTestShape shape;
    int modifies = 0;
    shape.OnModify = [&](TDrawObject*) { ++modifies; };
    TStringList lines({QStringLiteral("a"), QStringLiteral("b")});
    shape.SetAppendix(&lines);
    shape.SetAppendix(&lines);
    EXPECT_EQ(modifies, 1);
    EXPECT_EQ(shape.Appendix()->Items(), lines.Items());
    shape.SetAppendix(nullptr);
    EXPECT_EQ(shape.Appendix()->Count(), 0);
    EXPECT_EQ(modifies, 2);
}

TEST(DrawObject, ItsListenerForwardsToNotify) {
    struct TListening : TTestShape {
        std::vector<TGUID> Heard;
        void Notify(TPersistent*, const TGUID& id) override { Heard.push_back(id); }
    };
    TListening listening;
    TTestShape other;
    listening.Listener().Attach(&other.Broadcaster());
    other.SetSelected(true);
    other.SetRect({0, 0, 1, 1});
    EXPECT_EQ(listening.Heard, (std::vector<TGUID>{NID_SelectionChanged, NID_ObjectChanged}));
}
