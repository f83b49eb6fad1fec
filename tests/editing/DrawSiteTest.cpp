#include "SiteFixture.h"

#include "core/DrawObject.h"
#include "core/Pivot.h"

#include <gtest/gtest.h>

namespace vellum::test {
namespace {

std::vector<TDrawObject*> Items(const TDOList& list) { return {list.begin(), list.end()}; }

std::vector<TGraphicControl*> Children(const TDrawSite& site) {
    std::vector<TGraphicControl*> result;
    for (int i = 0; i < site.ChildCount(); ++i) result.push_back(site.Child(i));
    return result;
}

TEST_F(SiteTest, PlacingKeepsLayerGroupsInOrderAndMarksTheSiteModified) {
    TDrawSite site;
    SetUpCard(site);
    int modifyEvents = 0;
    site.OnModifyChanged = [&](TDrawSite*) { ++modifyEvents; };
    TTestShape& user = AddShape(site, {0, 0, 100, 100});
    TTestShape& background = AddShape(site, {0, 0, 910, 550}, LayerBackground);
    TTestShape& paper = AddShape(site, {0, 0, 50, 50}, LayerPaperDesign);
    TTestShape& user2 = AddShape(site, {0, 0, 10, 10});
    EXPECT_EQ(Children(site), (std::vector<TGraphicControl*>{&background, &paper, &user, &user2}));
    EXPECT_TRUE(site.Modified());
    EXPECT_EQ(modifyEvents, 1); // only a new value is announced
    site.SetModified(false);
    EXPECT_EQ(modifyEvents, 2);
    EXPECT_EQ(user.Parent(), &site);
}

TEST_F(SiteTest, ObjectAtAndTheObjectListsGoTopmostFirst) {
    TDrawSite site;
    SetUpCard(site);
    TTestShape& bottom = AddShape(site, {0, 0, 200, 200});
    TTestShape& top = AddShape(site, {100, 100, 300, 300});
    EXPECT_EQ(site.ObjectAt({150, 150}), &top);
    EXPECT_EQ(site.ObjectAt({50, 50}), &bottom);
    EXPECT_EQ(site.ObjectAt({500, 500}), nullptr);

    TDOList all;
    site.AllObjects(all);
    EXPECT_EQ(Items(all), (std::vector<TDrawObject*>{&top, &bottom}));
    site.SelectAll(true);
    TDOList selected;
    site.SelectedObjects(selected);
    EXPECT_EQ(Items(selected), (std::vector<TDrawObject*>{&top, &bottom}));
    site.SelectAll(false);
    selected.Clear();
    site.SelectedObjects(selected);
    EXPECT_TRUE(selected.Empty());
}

TEST_F(SiteTest, NotificationsOfObjectsAreRebroadcastAndAFreedSelectionIsAnnounced) {
    TDrawSite site;
    SetUpCard(site);
    TTestShape& shape = AddShape(site, {0, 0, 100, 100});
    std::vector<std::pair<TPersistent*, TGUID>> heard;
    TListener listener([&](TPersistent* sender, const TGUID& id) { heard.push_back({sender, id}); });
    listener.Attach(&site.Broadcaster());

    shape.SetLeft(10);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].first, &shape);
    EXPECT_EQ(heard[0].second, NID_ObjectChanged);

    shape.SetSelected(true);
    heard.clear();
    TPersistent* freed = &shape;
    delete &shape;
    EXPECT_EQ(site.ObjectCount(), 0);
    ASSERT_GE(heard.size(), 2u);
    EXPECT_EQ(heard[0], (std::pair<TPersistent*, TGUID>{freed, NID_SelectionChanged}));
    EXPECT_EQ(heard.back().second, NID_ObjectDestroyed);
}

TEST_F(SiteTest, HandlesFollowTheSelection) {
    TDrawSite site;
    SetUpCard(site);
    TTestShape& a = AddShape(site, {254, 254, 508, 508});
    TTestShape& b = AddShape(site, {0, 0, 100, 100});
    const auto pivots = [&] {
        std::vector<TPivot*> result;
        for (TGraphicControl* c : Children(site))
            if (auto* p = dynamic_cast<TPivot*>(c)) result.push_back(p);
        return result;
    };
    a.SetSelected(true);
    EXPECT_TRUE(site.HandlesDirty());
    site.RefreshHandles();
    ASSERT_EQ(pivots().size(), 1u);
    // Centred on the corner's pixel: (192, 192) for 508 units at 96 dpi.
    EXPECT_EQ(pivots()[0]->BoundsRect(), (TRect{189, 189, 195, 195}));
    EXPECT_EQ(pivots()[0]->Cursor(), -8);
    EXPECT_EQ(site.Child(site.ChildCount() - 1), pivots()[0]); // above every object

    // Several selected objects are moved, never resized.
    b.SetSelected(true);
    site.RefreshHandles();
    ASSERT_EQ(pivots().size(), 2u);
    for (TPivot* p : pivots()) EXPECT_EQ(p->Cursor(), crDefault);

    site.HideHandles();
    for (TPivot* p : pivots()) EXPECT_FALSE(p->Visible());
    site.ShowHandles();
    ASSERT_EQ(pivots().size(), 2u);
    for (TPivot* p : pivots()) EXPECT_TRUE(p->Visible());

    // A rescale puts the handles at the new pixels.
    b.SetSelected(false);
    site.RefreshHandles();
    site.Scaler().SetScale(200);
    ASSERT_EQ(pivots().size(), 1u);
    EXPECT_EQ(pivots()[0]->BoundsRect(), (TRect{381, 381, 387, 387}));

    // Taking an object off the site takes its handles too.
    site.RemoveObject(a);
    EXPECT_TRUE(pivots().empty());
    EXPECT_EQ(a.Parent(), nullptr);
    site.PlaceObject(a);
}

TEST_F(SiteTest, PressOnTheSurfaceOrAnObjectWithoutAWindow) {
    TDrawSite site;
    SetUpCard(site);
    TTestShape& a = AddShape(site, {0, 0, 254, 254});   // pixels 0..96
    TTestShape& b = AddShape(site, {508, 0, 762, 254}); // pixels 192..288
    site.MouseDown(TMouseButton::mbLeft, ssLeft, {50, 50});
    EXPECT_TRUE(a.Selected());
    EXPECT_EQ(Ghosts.Handles, std::vector<int>{-1}); // a move ghost for the body
    EXPECT_TRUE(GhostList().Active());
    site.MouseMove(ssLeft, {60, 50});
    site.MouseUp(TMouseButton::mbLeft, 0, {60, 50});
    EXPECT_FALSE(GhostList().Active());
    EXPECT_EQ(Ghosts.Finishes, 1);
    ASSERT_EQ(Ghosts.Deltas.size(), 1u);
    EXPECT_EQ(Ghosts.Deltas[0], (TPoint{site.DeviceToLogical(60) - site.DeviceToLogical(50), 0}));
    EXPECT_TRUE(a.Selected()); // a drag is no click

    // A press on a handle starts the ghost of that handle; with two
    // objects selected every press moves.
    site.RefreshHandles();
    Ghosts.Handles.clear();
    site.MouseDown(TMouseButton::mbLeft, ssLeft, {96, 96});
    site.MouseUp(TMouseButton::mbLeft, 0, {96, 96});
    EXPECT_EQ(Ghosts.Handles, std::vector<int>{7});
    b.SetSelected(true);
    site.RefreshHandles();
    Ghosts.Handles.clear();
    site.MouseDown(TMouseButton::mbLeft, ssLeft, {96, 96});
    site.MouseUp(TMouseButton::mbLeft, 0, {96, 96});
    EXPECT_EQ(Ghosts.Handles, (std::vector<int>{-1, -1}));

    // The right button on the empty surface clears the selection; on an
    // object it selects that one and starts nothing.
    Ghosts.Handles.clear();
    site.MouseDown(TMouseButton::mbRight, ssRight, {150, 150});
    site.MouseUp(TMouseButton::mbRight, 0, {150, 150});
    EXPECT_FALSE(a.Selected());
    EXPECT_FALSE(b.Selected());
    site.MouseDown(TMouseButton::mbRight, ssRight, {200, 50});
    site.MouseUp(TMouseButton::mbRight, 0, {200, 50});
    EXPECT_TRUE(b.Selected());
    EXPECT_TRUE(Ghosts.Handles.empty());
    EXPECT_FALSE(GhostList().Active());
}

TEST_F(SiteTest, UnselectableObjectsStartARubberBand) {
    TDrawSite site;
    SetUpCard(site);
    TTestShape& paper = AddShape(site, {0, 0, 910, 550}, LayerPaperDesign);
    paper.SetSelectable(false);
    TTestShape& a = AddShape(site, {254, 254, 508, 508}); // pixels 96..193
    site.MouseDown(TMouseButton::mbLeft, ssLeft, {20, 20});
    EXPECT_TRUE(GhostList().IsSelecting());
    site.MouseMove(ssLeft, {250, 200});
    site.MouseUp(TMouseButton::mbLeft, 0, {250, 200});
    EXPECT_TRUE(a.Selected());
    EXPECT_FALSE(paper.Selected());
    EXPECT_TRUE(Ghosts.Handles.empty());
}

TEST_F(SiteTest, ClearingGhostsFiresTheSiteEventAndCancelEndsTheDrag) {
    TDrawSite site;
    SetUpCard(site);
    TTestShape& a = AddShape(site, {0, 0, 254, 254});
    int cleared = 0;
    site.OnClearGhost = [&](TDrawSite*) { ++cleared; };
    site.MouseDown(TMouseButton::mbLeft, ssLeft, {50, 50});
    site.MouseMove(ssLeft, {70, 50});
    site.CancelMode();
    EXPECT_FALSE(GhostList().Active());
    EXPECT_EQ(Ghosts.Finishes, 0);
    EXPECT_EQ(cleared, 1);
    EXPECT_TRUE(a.Selected());
    // The handles hidden for the drag come back.
    EXPECT_FALSE(site.HandlesDirty());
    EXPECT_TRUE(site.HandlesShown());
}

TEST_F(SiteTest, AFreedSiteLeavesTheGhostListAndItsChildrenAlone) {
    auto site = std::make_unique<TDrawSite>();
    SetUpCard(*site);
    TTestShape loose; // owned by the test, only placed on the site
    loose.SetRect({0, 0, 254, 254});
    site->PlaceObject(loose);
    AddShape(*site, {300, 0, 400, 100});
    int cleared = 0;
    site->OnClearGhost = [&](TDrawSite*) { ++cleared; };
    site->MouseDown(TMouseButton::mbLeft, ssLeft, {50, 50});
    ASSERT_TRUE(GhostList().Active());
    site.reset();
    EXPECT_FALSE(GhostList().Active());
    EXPECT_EQ(loose.Parent(), nullptr);
    // A later clear does not call into the freed site.
    GhostList().Add(std::make_unique<TFakeGhost>(Ghosts));
    GhostList().Clear();
    EXPECT_LE(cleared, 1);
}

} // namespace
} // namespace vellum::test

namespace vellum::test {
namespace {

TEST_F(SiteTest, LoadingTakesTheSizeFromTheFormWhenTheCardHasNoneAndStreamsOnlyOwnedObjects) {
    TDrawSite site;
    site.SetDeviceDPI(96);
    site.SetClientSize(344, 208);
    site.SetModified(true);
    site.Loaded();
    EXPECT_EQ(site.LogWidth(), 910);
    EXPECT_EQ(site.LogHeight(), 550);
    EXPECT_FALSE(site.Modified());

    TTestShape& owned = AddShape(site, {0, 0, 10, 10});
    TTestShape loose;
    site.PlaceObject(loose);
    std::vector<TComponent*> streamed;
    site.GetChildren([&](TComponent* c) { streamed.push_back(c); });
    EXPECT_EQ(streamed, std::vector<TComponent*>{&owned});
    site.RemoveObject(loose);
}

} // namespace
} // namespace vellum::test
