#include "CoreTestKinds.h"

#include "core/DOGroup.h"
#include "core/DOList.h"
#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vellum;
using namespace vellum::test;

namespace {

// A site holding shapes of the given layer groups, back to front.
struct TLayeredSite {
    TComponent Owner;
    TFakeSite Site;
    std::vector<TTestShape*> Shapes;
    explicit TLayeredSite(std::initializer_list<int> layers) {
        for (int layer : layers) {
            auto* s = new TTestShape(&Owner);
            s->SetLayerGroup(layer);
            s->SetRect({0, 0, 10, 10});
            Site.Add(s);
            Shapes.push_back(s);
        }
    }
    std::vector<int> Order() const {
        std::vector<int> order;
        for (TGraphicControl* c : Site.Children)
            order.push_back(int(std::find(Shapes.begin(), Shapes.end(), c) - Shapes.begin()));
        return order;
    }
};

} // namespace

TEST(ZOrder, BringToFrontStaysWithinTheLayerGroup) {
    struct TCase {
        const char* What;
        std::initializer_list<int> Layers;
        int Moved;
        std::vector<int> Expected;
        bool Changes;
    };
    const TCase cases[] = {
        {"above background and paper", {0, -100, -50}, 0, {1, 2, 0}, true},
        {"below a higher group", {0, -100, -50, 10}, 0, {1, 2, 0, 3}, true},
        {"already in front of its group", {-100, -50, 0, 10}, 2, {0, 1, 2, 3}, false},
        {"over its own group", {0, 0, -50, 0, 10, 20}, 0, {1, 2, 3, 0, 4, 5}, true},
        {"background stays below paper", {-100, -50, 0}, 0, {0, 1, 2}, false},
    };
    for (const TCase& c : cases) {
        TLayeredSite site(c.Layers);
        TNotifyLog log(*site.Shapes[size_t(c.Moved)]);
        site.Shapes[size_t(c.Moved)]->BringToFront();
        EXPECT_EQ(site.Order(), c.Expected) << c.What;
        EXPECT_EQ(log.Count(NID_ObjectChanged), c.Changes ? 1 : 0) << c.What;
    }
}

TEST(ZOrder, SendToBackStaysWithinTheLayerGroup) {
    struct TCase {
        const char* What;
        std::initializer_list<int> Layers;
        int Moved;
        std::vector<int> Expected;
    };
    const TCase cases[] = {
        {"above paper", {-100, -50, 0, 0}, 3, {0, 1, 3, 2}},
        {"no lower group", {0, 0, 0}, 2, {2, 0, 1}},
        {"misplaced higher group", {10, -100, 0, 10}, 0, {1, 2, 0, 3}},
        {"already at the back of its group", {-100, 0, 0}, 1, {0, 1, 2}},
    };
    for (const TCase& c : cases) {
        TLayeredSite site(c.Layers);
        site.Shapes[size_t(c.Moved)]->SendToBack();
        EXPECT_EQ(site.Order(), c.Expected) << c.What;
    }
}

TEST(ZOrder, NonDrawingChildrenAreSkipped) {
    TLayeredSite site({0, 10});
    TGraphicControl handle;
    site.Site.Add(&handle); // a handle on top
    site.Shapes[0]->BringToFront();
    ASSERT_EQ(site.Site.Children.size(), 3u);
    EXPECT_EQ(site.Site.Children[0], site.Shapes[0]);
    site.Shapes[1]->BringToFront();
    EXPECT_EQ(site.Site.Children[1], site.Shapes[1]);
    site.Site.RemoveChild(&handle);
    handle.SetParent(nullptr);
}

namespace {
TTestShape* Member(TDOGroup& group, int i) {
    return dynamic_cast<TTestShape*>(group.Members().at(size_t(i)));
}
} // namespace

TEST(Group, BoundsHitTestPaintAndPlacement) {
    TDOGroup group;
    auto* a = new TTestShape(&group);
    auto* b = new TTestShape(&group);
    a->SetRect({10, 10, 30, 30});
    b->SetRect({50, 20, 90, 60});
    EXPECT_EQ(group.GetBounds(), (TRect{10, 10, 90, 60}));
    EXPECT_TRUE(group.HitTest({15, 15}));
    EXPECT_TRUE(group.HitTest({89, 59}));
    EXPECT_FALSE(group.HitTest({40, 40}));
    EXPECT_EQ(group.GetLeft(), 10);
    EXPECT_EQ(group.GetWidth(), 80);

    TRecordingCanvas canvas({0, 0, 200, 200});
    group.DrawTo(canvas, TRenderContext::Bitmap({}));
    EXPECT_EQ(a->Paints + b->Paints, 2);

    group.SetLeft(0);
    group.SetTop(0);
    EXPECT_EQ(a->FrameRect(), (TRect{0, 0, 20, 20}));
    EXPECT_EQ(b->FrameRect(), (TRect{40, 10, 80, 50}));

    group.SetWidth(40); // halves horizontally about the left edge
    EXPECT_EQ(a->FrameRect(), (TRect{0, 0, 10, 20}));
    EXPECT_EQ(b->FrameRect(), (TRect{20, 10, 40, 50}));
    group.SetHeight(100);
    EXPECT_EQ(group.GetBounds(), (TRect{0, 0, 40, 100}));

    TRecordingCanvas outline({0, 0, 200, 200});
    group.DrawOutline(outline);
    EXPECT_EQ(outline.Records().size(), 2u);
}

TEST(Group, GroupThenUngroupRestoresGeometryAndOrder) {
    TComponent siteOwner;
    const TRect rects[] = {{10, 10, 50, 30}, {20, 20, 80, 90}, {5, 60, 15, 70}};
    TDOGroup* grouped = nullptr;
    {
        TOwnedDOList selected;
        for (int i = 0; i < 3; ++i) {
            TTestShape& s = selected.Give(std::make_unique<TTestShape>());
            s.SetRect(rects[i]);
            s.SetTag(i + 1);
        }
        grouped = &TDOGroup::Group(selected, siteOwner);
    }
    TDOGroup& group = *grouped;
    EXPECT_EQ(group.Cursor(), crHandPoint);
    EXPECT_EQ(group.Owner(), &siteOwner);
    ASSERT_EQ(group.Members().size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Member(group, i)->Tag(), i + 1);

    TDOList restored;
    group.Ungroup(siteOwner, restored);
    siteOwner.FreeComponent(group);
    ASSERT_EQ(restored.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        auto* s = dynamic_cast<TTestShape*>(restored.Items(i));
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->Tag(), i + 1);
        EXPECT_EQ(s->FrameRect(), rects[i]);
        EXPECT_EQ(s->Owner(), &siteOwner);
        // Ownership order is the stacking order the site takes them in.
        EXPECT_EQ(s->ComponentIndex(), i);
    }
}

TEST(Group, AssignClonesMembersAndSurvivesSelfAssignment) {
    TDOGroup source;
    auto* a = new TTestShape(&source);
    a->SetRect({1, 2, 3, 4});
    auto* b = new TTestShape(&source);
    b->SetRect({5, 6, 7, 8});
    source.SetDontPrint(true);

    source.Assign(&source);
    ASSERT_EQ(source.Members().size(), 2u);
    EXPECT_EQ(Member(source, 0), a);
    EXPECT_EQ(a->FrameRect(), (TRect{1, 2, 3, 4}));

    TDOGroup target;
    new TTestShape(&target);
    TNotifyLog log(target);
    target.Assign(&source);
    ASSERT_EQ(target.Members().size(), 2u);
    EXPECT_NE(Member(target, 0), a);
    EXPECT_EQ(Member(target, 0)->FrameRect(), (TRect{1, 2, 3, 4}));
    EXPECT_EQ(Member(target, 1)->FrameRect(), (TRect{5, 6, 7, 8}));
    EXPECT_TRUE(target.DontPrint());
    EXPECT_EQ(log.Count(NID_ObjectChanged), 1);

    // A clone of a group is a group with clones.
    std::unique_ptr<TDrawObject> clone = CloneObject(source);
    auto* g = dynamic_cast<TDOGroup*>(clone.get());
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Members().size(), 2u);
}

TEST(Group, StreamingHooksAndControlBoundsOnASite) {
    TFakeSite site; // 96 dpi
    TDOGroup group;
    auto* a = new TTestShape(&group);
    auto* b = new TTestShape(&group);
    a->SetRect({0, 0, 254, 254});
    b->SetRect({254, 254, 508, 508});
    std::vector<TComponent*> children;
    group.GetChildren([&](TComponent* c) { children.push_back(c); });
    EXPECT_EQ(children, (std::vector<TComponent*>{a, b}));
    EXPECT_EQ(group.ChildOwner(), &group);
    EXPECT_EQ(a->Parent(), nullptr);

    site.Add(&group);
    EXPECT_EQ(group.BoundsRect(), (TRect{0, 0, 193, 193}));
    group.Offset(254, 0);
    EXPECT_EQ(group.BoundsRect(), (TRect{96, 0, 289, 193}));
    // The members still draw nowhere but through the group.
    EXPECT_EQ(a->Parent(), nullptr);
}
