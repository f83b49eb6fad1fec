#include "CoreTestKinds.h"

#include "core/DOGroup.h"
#include "core/DOList.h"
#include "core/ObjectHelpers.h"
#include "core/RenderContext.h"
#include "core/Transformer.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

using namespace vellum;
using namespace vellum::test;

TEST(Rotator, TurnsClockwiseOnScreenAboutItsCentre) {
    struct TCase {
        int Angle;
        TPoint Centre;
        TPoint In;
        TPoint Out;
    };
    const TCase cases[] = {
        {90, {0, 0}, {10, 0}, {0, 10}},      {180, {0, 0}, {10, 0}, {-10, 0}},
        {-90, {0, 0}, {10, 0}, {0, -10}},    {270, {0, 0}, {0, 10}, {10, 0}},
        {45, {0, 0}, {10, 0}, {7, 7}},       {90, {100, 50}, {110, 50}, {100, 60}},
        {0, {3, 4}, {-7, 9}, {-7, 9}},       {360, {0, 0}, {123, -45}, {123, -45}},
        {30, {0, 0}, {1000, 0}, {866, 500}},
    };
    for (const TCase& c : cases) {
        TRotator rotator(c.Angle, c.Centre);
        EXPECT_EQ(rotator.Transformed(c.In), c.Out) << c.Angle << "° of " << c.In.X << "," << c.In.Y;
    }
    TRotator rotator;
    rotator.SetAngle(90);
    std::vector<TPoint> path{{10, 0}, {0, 10}, {-10, 0}};
    rotator.TransformPoints(path);
    EXPECT_EQ(path, (std::vector<TPoint>{{0, 10}, {-10, 0}, {0, -10}}));
}

TEST(ObjectHelpers, DefaultPictureSizeAt180DpiWithAMinimum) {
    EXPECT_EQ(DefaultPictureSize({90, 9}), (TPoint{127, 30}));
    EXPECT_EQ(DefaultPictureSize({180, 360}), (TPoint{254, 508}));
    EXPECT_EQ(DefaultPictureSize({0, 21}), (TPoint{30, 30}));
    EXPECT_EQ(DefaultPictureSize({22, 23}), (TPoint{31, 32}));
}

TEST(ObjectHelpers, KeepObjectsInsideBringsCentresBackOneMillimetreInside) {
    TComponent owner;
    auto make = [&](TRect r) {
        auto* s = new TTestShape(&owner);
        s->SetRect(r);
        return s;
    };
    TTestShape* farLeft = make({-100, 40, -60, 60});   // centre (-80, 50)
    TTestShape* inside = make({20, 20, 40, 40});       // centre (30, 30)
    TTestShape* lowRight = make({190, 190, 230, 250}); // centre (210, 220)
    TTestShape* justInside = make({0, 0, 20, 20});     // centre (10, 10): exactly 1 mm in
    TDOList list;
    for (TDrawObject* o : {static_cast<TDrawObject*>(farLeft), static_cast<TDrawObject*>(inside),
                           static_cast<TDrawObject*>(lowRight), static_cast<TDrawObject*>(justInside)})
        list.Add(o);
    KeepObjectsInside(list, {0, 0, 200, 200});
    EXPECT_EQ(farLeft->FrameRect(), (TRect{-10, 40, 30, 60}));
    EXPECT_EQ(inside->FrameRect(), (TRect{20, 20, 40, 40}));
    EXPECT_EQ(lowRight->FrameRect(), (TRect{170, 160, 210, 220}));
    EXPECT_EQ(justInside->FrameRect(), (TRect{0, 0, 20, 20}));
}

TEST(ObjectHelpers, ScaleObjectsMapsBoundsBetweenRectangles) {
    TTestShape a, b;
    a.SetRect({100, 100, 200, 150});
    b.SetRect({0, 0, 50, 50});
    TDOList list;
    list.Add(&a);
    list.Add(&b);
    ScaleObjects(list, {0, 0, 200, 200}, {0, 0, 100, 400});
    EXPECT_EQ(a.FrameRect(), (TRect{50, 200, 100, 300}));
    EXPECT_EQ(b.FrameRect(), (TRect{0, 0, 25, 100}));
    // A move without scaling.
    ScaleObjects(list, {0, 0, 100, 400}, {10, 20, 110, 420});
    EXPECT_EQ(a.FrameRect(), (TRect{60, 220, 110, 320}));
    TNotifyLog log(a);
    ScaleObjects(list, {1, 2, 3, 4}, {1, 2, 3, 4});
    EXPECT_TRUE(log.Ids.empty());

    // A source of no width moves its objects but does not push them a unit aside.
    TTestShape line;
    line.SetRect({40, 0, 40, 100});
    TDOList one;
    one.Add(&line);
    ScaleObjects(one, {40, 0, 40, 100}, {50, 0, 60, 200});
    EXPECT_EQ(line.FrameRect(), (TRect{50, 0, 50, 200}));
}

namespace {
class TPhoto : public TTestShape {
public:
    using TTestShape::TTestShape;
    bool KeepsAspect() const override { return true; }
};
} // namespace

TEST(ObjectHelpers, FitObjectToSiteShrinksAndCentres) {
    TFakeSite site; // card 910 x 550; visible 400 x 300 px at 96 dpi = 1058 x 794
    TPhoto photo;
    photo.SetRect({0, 0, 1820, 550}); // twice too wide: halves, keeping the aspect
    FitObjectToSite(photo, site);
    EXPECT_EQ(photo.Width(), 910);
    EXPECT_EQ(photo.Height(), 275);
    EXPECT_EQ(RectCenter(photo.FrameRect()), (TPoint{529, 397}));

    TTestShape plain;
    plain.SetRect({0, 0, 1000, 100});
    FitObjectToSite(plain, site);
    EXPECT_EQ(plain.Width(), 910);
    EXPECT_EQ(plain.Height(), 100);

    TPhoto tall;
    tall.SetRect({0, 0, 100, 1100}); // height limited
    FitObjectToSite(tall, site);
    EXPECT_EQ(tall.Width(), 50);
    EXPECT_EQ(tall.Height(), 550);
}

TEST(RenderContext, ThinPensStayVisibleExceptOnPrintersAndPdf) {
    const struct {
        TRenderTarget Target;
        TScaleRatio Ratio;
        int32_t Width, Expected;
    } cases[] = {
        {TRenderTarget::rtScreen, {96, 100, 254}, 1, 5}, // 2 px at 96 dpi
        {TRenderTarget::rtScreen, {96, 100, 254}, 9, 9}, {TRenderTarget::rtScreen, {96, 400, 254}, 1, 1},
        {TRenderTarget::rtBitmap, {96, 50, 254}, 1, 11}, {TRenderTarget::rtPrinter, {600, 100, 254}, 1, 1},
        {TRenderTarget::rtPdf, {96, 25, 254}, 1, 1},
    };
    for (const auto& c : cases) {
        TRenderContext context;
        context.Target = c.Target;
        context.Ratio = c.Ratio;
        EXPECT_EQ(context.MinimumPenWidth(c.Width), c.Expected) << int(c.Target) << " " << c.Ratio.Scale;
    }
    EXPECT_FALSE(TRenderContext::Screen({}).ForPrint);
    EXPECT_TRUE(TRenderContext::Print(TRenderTarget::rtBitmap, {}).ForPrint);
}

TEST(ObjectHelpers, PenWidthsFollowTheSite) {
    TFakeSite site;
    TTestShape shape;
    EXPECT_EQ(HitTestPenWidth(shape, 4), 7);
    site.Add(&shape);
    EXPECT_EQ(HitTestPenWidth(shape, 4), 7);
    site.Zoom = 400;
    EXPECT_EQ(HitTestPenWidth(shape, 4), 5);

    EXPECT_TRUE(PointOnSegment({50, 2}, {0, 0}, {100, 0}, 5));
    EXPECT_FALSE(PointOnSegment({50, 3}, {0, 0}, {100, 0}, 5));
    EXPECT_FALSE(PointOnSegment({104, 0}, {0, 0}, {100, 0}, 5));
    EXPECT_TRUE(PointOnSegment({1, 1}, {1, 1}, {1, 1}, 1));
}

TEST(DOList, ReferencesAndReverse) {
    TComponent owner;
    auto* group = new TDOGroup(&owner);
    auto* member = new TTestShape(group);
    auto* other = new TTestShape(&owner);
    TDOList list;
    list.Add(group);
    list.Add(other);
    list.Add(member);
    ReverseList(list);
    EXPECT_EQ(list.Items(0), member);
    EXPECT_EQ(list.Items(2), group);
    EXPECT_EQ(list.Remove(other), 1);
    EXPECT_EQ(list.IndexOf(other), -1);
    ReverseList(list);
    list.Insert(0, other);
    ASSERT_EQ(list.IndexOf(member), 2);
    list.Clear();
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(owner.ComponentCount(), 2); // references free nothing
}

TEST(DOList, AnOwnedListKeepsOrderAndOwnershipAsObjectsComeAndGo) {
    auto items = [](const TDOList& view) { return std::vector<TDrawObject*>(view.begin(), view.end()); };
    auto gone = [](const TNotifyLog& log) { return log.Count(NID_ObjectDestroyed) == 1; };
    TComponent former;
    auto list = std::make_unique<TOwnedDOList>();
    TDrawObject& a = list->Give(std::make_unique<TTestShape>());
    TDrawObject& c = list->Give(std::make_unique<TTestShape>());
    TDrawObject& b = list->Insert(1, std::make_unique<TTestShape>());
    // One given while it still has an owner leaves that owner.
    TDrawObject& first = list->Insert(-1, std::unique_ptr<TDrawObject>(new TTestShape(&former)));
    EXPECT_EQ(former.ComponentCount(), 0);
    EXPECT_EQ(first.Owner(), nullptr);
    EXPECT_EQ(items(*list), (std::vector<TDrawObject*>{&first, &a, &b, &c}));
    TNotifyLog firstLog(first), aLog(a), bLog(b), cLog(c);

    std::unique_ptr<TDrawObject> taken = list->Take(1);
    EXPECT_EQ(taken.get(), &a);
    EXPECT_EQ(items(*list), (std::vector<TDrawObject*>{&first, &b, &c}));
    EXPECT_THROW(list->Take(3), std::out_of_range);
    std::unique_ptr<TDrawObject> replaced = list->Replace(0, std::move(taken));
    EXPECT_EQ(replaced.get(), &first);
    EXPECT_EQ(items(list->View()), (std::vector<TDrawObject*>{&a, &b, &c}));
    EXPECT_FALSE(gone(firstLog));
    replaced.reset();
    EXPECT_TRUE(gone(firstLog));

    // Moved, the objects stay; taken whole, they leave in order.
    TOwnedDOList moved = std::move(*list);
    EXPECT_TRUE(list->Empty());
    std::vector<std::unique_ptr<TDrawObject>> all = moved.TakeAll();
    EXPECT_TRUE(moved.Empty());
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].get(), &a);
    EXPECT_EQ(all[2].get(), &c);
    EXPECT_FALSE(gone(aLog) || gone(bLog) || gone(cLog));
    for (auto& object : all) list->Give(std::move(object));
    list->Take(0).reset();
    EXPECT_TRUE(gone(aLog));
    // Cleared or freed, the list frees what it still holds.
    list->Clear();
    EXPECT_TRUE(gone(bLog) && gone(cLog));
    TDrawObject& last = list->Give(std::make_unique<TTestShape>());
    TNotifyLog lastLog(last);
    list.reset();
    EXPECT_TRUE(gone(lastLog));
}
