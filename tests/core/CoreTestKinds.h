#pragma once
// A minimal draw site and a rectangle kind for the object model tests.

#include "base/Broadcaster.h"
#include "core/DrawSiteInterface.h"
#include "core/GraphicControl.h"
#include "core/LORectBase.h"

#include <functional>

#include <vector>

namespace vellum::test {

class TFakeSite : public IDrawSite {
public:
    ~TFakeSite() override;
    int Dpi = 96;
    int Zoom = 100;
    bool Dragging = false;
    bool Modified = false;
    int Refreshes = 0;
    std::vector<TDrawObject*> ClearedGhosts;
    std::vector<TGraphicControl*> Children;
    struct TMouseDown {
        TDrawObject* Object;
        int Handle;
        TPoint Point;
    };
    std::vector<TMouseDown> MouseDowns;
    std::vector<TPoint> MouseMoves;
    TPoint Card{910, 550};
    TRect Visible{0, 0, 400, 300};
    TCursor SiteCursor = crDefault;
    int HandleRefreshes = 0;
    int GhostClears = 0;
    std::function<void(TDrawObject*)> OnNewObject;
    // Owns the objects placed through the site; freed before the site lets its children go.
    TComponent Owned;

    void Add(TGraphicControl* control);

    int DeviceDPI() const override { return Dpi; }
    int Scale() const override { return Zoom; }
    int ChildCount() const override { return int(Children.size()); }
    TGraphicControl* Child(int index) const override { return Children.at(size_t(index)); }
    void SetChildIndex(TGraphicControl* child, int index) override;
    void RemoveChild(TGraphicControl* child) override;
    void InvalidateControl(TGraphicControl*) override {}
    void Refresh() override { ++Refreshes; }
    void SetModified(bool modified) override { Modified = modified; }
    void ObjectMouseDown(TMouseButton, TShiftState, TDrawObject* object, int handleIndex, TPoint p) override {
        MouseDowns.push_back({object, handleIndex, p});
    }
    void ObjectMouseMove(TShiftState, TPoint p) override { MouseMoves.push_back(p); }
    bool GhostDragging() const override { return Dragging; }
    void ClearGhost(TDrawObject* sender) override { ClearedGhosts.push_back(sender); }
    TPoint LogicalSize() const override { return Card; }
    TRect VisibleRect() const override { return Visible; }
    void PlaceHandle(TPivot& pivot, TPoint logicalPoint) override;
    TComponent& ObjectOwner() override { return Owned; }
    void AddObject(TDrawObject& object) override;
    TCursor Cursor() const override { return SiteCursor; }
    void SetCursor(TCursor cursor) override { SiteCursor = cursor; }
    void SelectAll(bool select) override;
    void RefreshHandles() override { ++HandleRefreshes; }
    void ClearGhosts() override { ++GhostClears; }
    const std::function<void(TDrawObject*)>& NewObjectHook() const override { return OnNewObject; }
};

// A frame-bound kind that fills its frame; it can blend and can be told to fail.
class TTestShape : public TLORectBase, public IDOBlend {
    VELLUM_CLASS(TTestShape)

public:
    using TLORectBase::TLORectBase;
    bool FailPaint = false;
    mutable std::atomic<int> Paints = 0;

    void Resize(int32_t width, int32_t height) override { SetRect(Bounds(Left(), Top(), width, height)); }
    void DrawOutline(TCanvas& canvas) override;

    void SetBlendShade(bool v) override { TLabelObject::SetBlendShade(v); }
    bool GetBlendShade() const override { return BlendShade(); }
    void SetBlendRatio(int v) override { TLabelObject::SetBlendRatio(v); }
    int GetBlendRatio() const override { return BlendRatio(); }

    // A refused capability, as a kind may refuse one it implements.
    bool RefuseBlend = false;
    bool RefusesCapability(const TGUID& iid) const override { return RefuseBlend && iid == IDOBlend::IID; }

protected:
    void Paint(TCanvas& canvas, const TRenderContext& context) const override;
};

// Every notification an object broadcasts.
struct TNotifyLog {
    explicit TNotifyLog(TDrawObject& object);
    TListener Listener;
    std::vector<TGUID> Ids;
    int Count(const TGUID& id) const;
};

} // namespace vellum::test
