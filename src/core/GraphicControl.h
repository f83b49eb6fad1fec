#pragma once
// A lightweight child of a draw site without a window of its own: bounds in
// the site's device pixels, cursor, hint, enabled and visible state. The site
// routes paint, hit-test and mouse messages to it.

#include "base/Component.h"
#include "base/IdentTables.h"
#include "core/DrawSiteInterface.h"

#include <QString>

#include <functional>

namespace vellum {

class TCanvas;

class TGraphicControl : public TComponent {
    VELLUM_CLASS(TGraphicControl)

public:
    explicit TGraphicControl(TComponent* owner = nullptr);
    ~TGraphicControl() override;

    // Bounds on the parent in device pixels.
    int32_t Left() const { return FBounds.Left; }
    int32_t Top() const { return FBounds.Top; }
    int32_t Width() const { return FBounds.Width(); }
    int32_t Height() const { return FBounds.Height(); }
    void SetLeft(int32_t v) { SetBounds(v, Top(), Width(), Height()); }
    void SetTop(int32_t v) { SetBounds(Left(), v, Width(), Height()); }
    void SetWidth(int32_t v) { SetBounds(Left(), Top(), v, Height()); }
    void SetHeight(int32_t v) { SetBounds(Left(), Top(), Width(), v); }
    const TRect& BoundsRect() const { return FBounds; }
    void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
    TRect ClientRect() const { return {0, 0, Width(), Height()}; }

    IDrawSite* Parent() const { return FParent; }
    // Called by the site when it takes the control in or lets it go.
    virtual void SetParent(IDrawSite* site) { FParent = site; }

    TCursor Cursor() const { return FCursor; }
    virtual void SetCursor(TCursor cursor) { FCursor = cursor; }
    const QString& Hint() const { return FHint; }
    void SetHint(const QString& hint) { FHint = hint; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    // The context menu; cleared when that component goes away.
    TComponent* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TComponent* menu);
    virtual bool IsOpaque() const { return false; }

    void Invalidate();
    // Plain z-order moves within the parent's children.
    virtual void BringToFront();
    virtual void SendToBack();

    // Messages from the site, points in this control's pixels.
    void PaintOn(TCanvas& canvas);
    virtual bool HitTestMessage(TPoint controlPoint);
    virtual void MouseDown(TMouseButton button, TShiftState shift, TPoint controlPoint);
    virtual void MouseMove(TShiftState shift, TPoint controlPoint);
    virtual void DblClick();

    std::function<void(TGraphicControl*)> OnClick;
    std::function<void(TGraphicControl*)> OnDblClick;

protected:
    // The canvas of the paint message in progress, else null.
    TCanvas* Canvas() const { return FCanvas; }
    // Handles the paint message; by default Paint.
    virtual void PaintMessage() { Paint(); }
    virtual void Paint() {}
    // Index among the parent's children, or -1.
    int SiteIndex() const;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TRect FBounds;
    IDrawSite* FParent = nullptr;
    TCursor FCursor = crDefault;
    QString FHint;
    bool FEnabled = true;
    bool FVisible = true;
    TComponent* FPopupMenu = nullptr;
    TCanvas* FCanvas = nullptr;
};

} // namespace vellum
