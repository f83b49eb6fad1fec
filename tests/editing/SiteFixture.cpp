#include "SiteFixture.h"

#include "core/LabelPivot.h"

namespace vellum::test {

bool TFakeDesigner::CreateHandles(TDrawObject* object) {
    auto* shape = dynamic_cast<TTestShape*>(object);
    if (!shape || !shape->Parent()) return false;
    auto* pivot = new TLabelPivot(*shape, -8, 7); // owned by the shape
    shape->Parent()->PlaceHandle(*pivot, shape->FrameRect().BottomRight());
    return true;
}

bool TFakeDesigner::StartGhost(TDrawObject*, int handleIndex) {
    FLog.Handles.push_back(handleIndex);
    GhostList().Add(std::make_unique<TFakeGhost>(FLog));
    return true;
}

void SiteTest::SetUp() {
    GhostList().Clear();
    FDesigner = std::make_shared<TFakeDesigner>(Ghosts);
    DODesigners().Register(FDesigner);
}

void SiteTest::TearDown() {
    GhostList().Clear();
    DODesigners().Unregister(FDesigner.get());
}

void SetUpCard(TDrawSite& site, int scale) {
    site.SetDeviceDPI(96);
    site.Scaler().SetScale(scale);
    site.SetLogWidth(910);
    site.SetLogHeight(550);
}

TTestShape& AddShape(TDrawSite& site, const TRect& frame, int32_t layerGroup) {
    auto* shape = new TTestShape(&site);
    shape->SetRect(frame);
    shape->SetLayerGroup(layerGroup);
    site.PlaceObject(*shape);
    return *shape;
}

} // namespace vellum::test
