#pragma once
// The drawing surface: its drawing objects and their handles as children in
// z-order, the logical size of the card, the scaler, selection, drawing onto
// any canvas and the routing of mouse and key input to selection and ghosts.
// It has no window of its own: a view (TDrawSiteView) shows it on screen,
// printing and the command-line tool use it without one.

#include "base/Broadcaster.h"
#include "base/Component.h"
#include "base/IdentTables.h"
#include "core/DOList.h"
#include "core/DrawSiteInterface.h"
#include "core/RenderContext.h"
#include "editing/Scaler.h"
#include "platform/Canvas.h"

#include <functional>
#include <memory>
#include <vector>

namespace vellum {

class TDrawObject;
class TPivot;

// The colour code documents store for "the window's background" (system
// colour 5); drawn as white.
inline constexpr TColor clWindow = 0x80000005;

// What the window showing a site does for it; points in site pixels.
class IDrawSiteHost {
public:
    virtual ~IDrawSiteHost() = default;
    virtual void SiteResized(int width, int height) = 0;
    virtual void SiteInvalidate(const TRect& rect) = 0;
    // Paints what is invalid now.
    virtual void SiteUpdate() = 0;
    virtual void SiteSetFocus() = 0;
    virtual bool SiteMouseCaptured() const = 0;
    virtual TPoint SiteCursorPos() const = 0;
    // The part of the site its scrolling parent shows.
    virtual TRect SiteVisibleRect() const = 0;
    // Scrolls the parent when the pointer is beyond the visible part.
    virtual void SiteAutoScroll(TPoint point) = 0;
};

class TDrawSite : public TComponent, public IDrawSite {
    VELLUM_CLASS(TDrawSite)

public:
    explicit TDrawSite(TComponent* owner = nullptr);
    ~TDrawSite() override;

    // --- published state
    int32_t LogWidth() const { return FLogWidth; }
    void SetLogWidth(int32_t v);
    int32_t LogHeight() const { return FLogHeight; }
    void SetLogHeight(int32_t v);
    TScaler& Scaler() const { return *FScaler; }
    // Assigned by value.
    void SetScaler(const TScaler* scaler);
    TCursor MoveCursor() const { return FMoveCursor; }
    void SetMoveCursor(TCursor v) { FMoveCursor = v; }
    bool Border() const { return FBorder; }
    void SetBorder(bool v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool v) { FDoubleBuffered = v; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; }
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool v) { FTabStop = v; }
    TComponent* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TComponent* menu);

    std::function<void(TDrawSite*)> OnPaint;
    std::function<void(TDrawSite*)> OnPaintAfter;
    std::function<void(TDrawSite*)> OnScalerChanged;
    std::function<void(TDrawSite*)> OnClearGhost;
    std::function<void(TDrawSite*)> OnModifyChanged;
    std::function<void(TDrawSite*, int childIndex)> OnDrawToProgress;
    std::function<void(TDrawSite*)> OnClick;
    // The editor's set-up of every object created for the site.
    std::function<void(TDrawObject*)> OnNewObject;
    std::function<void(TDrawSite*, TMouseButton, TShiftState, TPoint)> OnMouseDown;
    std::function<void(TDrawSite*, TShiftState, TPoint)> OnMouseMove;
    std::function<void(TDrawSite*, TMouseButton, TShiftState, TPoint)> OnMouseUp;

    // --- size and resolution
    // Device size of the card: (0, 0, LogWidth, LogHeight) rounded outward.
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // A size of its own when the card has none (from a form); sets the
    // logical size from it.
    void SetClientSize(int width, int height);
    // Pixels per inch of the screen the site is shown on.
    void SetDeviceDPI(int dpi);
    TRect ClientRect() const { return {0, 0, FWidth, FHeight}; }
    // (0, 0) to the logical size of the client area.
    TRect LogicalClientRect() const;

    // --- objects
    // Takes the object in on top of its layer group; marks the site modified.
    void PlaceObject(TDrawObject& object);
    // Lets an object go without freeing it.
    void RemoveObject(TDrawObject& object);
    TDrawObject* ObjectAt(TPoint logicalPoint) const;
    // Selected drawing objects, topmost first.
    void SelectedObjects(TDOList& list) const;
    void AllObjects(TDOList& list) const;
    void SelectAll(bool select) override;
    int ObjectCount() const;
    // The topmost visible, enabled child that takes the point (site pixels).
    TGraphicControl* ControlAt(TPoint point) const;

    // --- drawing
    // Draws the surface and every object onto canvas at scale percent with
    // the site's top-left at origin (device pixels), as an image at the
    // canvas's resolution (a printer canvas leaves DontPrint objects out).
    void DrawTo(TCanvas& canvas, TPoint origin, int scale);
    // The profile and date the site's objects show; the ratio and target
    // follow the site and the canvas.
    void SetRenderContext(const TRenderContext& context) { FRenderContext = context; }
    // The zoom that fits the card into rect (device pixels of canvas).
    int FitScale(TCanvas& canvas, const TRect& rect, bool fitHeight, bool fitBoth) const;
    // The canvas being drawn on (during painting or DrawTo), else null.
    TCanvas* Canvas() const { return FCanvas; }
    // Makes canvas the one Paint and PaintAfter draw on; returns the previous.
    TCanvas* SetPaintCanvas(TCanvas* canvas);
    // True while DrawTo draws onto a foreign canvas.
    bool PaintingCopy() const { return FPaintingCopy; }

    // --- virtual operations in slot order
    virtual void Paint();
    virtual void PaintAfter();
    virtual void DrawToProgress(int childIndex);
    virtual void DrawObject(const TDrawObject& object, const TRenderContext& context);

    // --- handles
    void ShowHandles();
    void HideHandles();
    void RemoveHandles();
    // Rebuilds the handles of the selected objects when they are out of date.
    void RefreshHandles() override;
    bool HandlesShown() const { return FHandlesShown; }
    bool HandlesDirty() const { return FHandlesDirty; }

    // --- modified state and notifications
    bool Modified() const { return FModified; }
    // Listeners of the site hear every notification of its objects.
    TBroadcaster& Broadcaster() { return *FBroadcaster; }

    // --- input from the view, points in site pixels
    void MouseDown(TMouseButton button, TShiftState shift, TPoint point);
    void MouseMove(TShiftState shift, TPoint point);
    void MouseUp(TMouseButton button, TShiftState shift, TPoint point);
    // A modifier key went down or up.
    void KeyChanged(TShiftState shift);
    // Focus or capture lost: the drag ends without effect.
    void CancelMode();
    // The cursor for a point: the child's, else the site's own.
    TCursor CursorAt(TPoint point) const;

    // The window showing the site, or none.
    IDrawSiteHost* Host() const { return FHost; }
    void SetHost(IDrawSiteHost* host);
    // Repaints the ghost overlay.
    void InvalidateGhosts();
    void Invalidate();

    // --- IDrawSite
    int DeviceDPI() const override { return FDeviceDPI; }
    int Scale() const override { return FScaler->Scale(); }
    int UnitsPerInch() const override { return FScaler->UnitDPI(); }
    int ChildCount() const override { return int(FChildren.size()); }
    TGraphicControl* Child(int index) const override { return FChildren.at(size_t(index)).Control; }
    void SetChildIndex(TGraphicControl* child, int index) override;
    void RemoveChild(TGraphicControl* child) override;
    void InvalidateControl(TGraphicControl* control) override;
    void Refresh() override;
    void SetModified(bool modified) override;
    void ObjectMouseDown(TMouseButton button, TShiftState shift, TDrawObject* object, int handleIndex,
                         TPoint sitePoint) override;
    void ObjectMouseMove(TShiftState shift, TPoint sitePoint) override;
    bool GhostDragging() const override;
    void ClearGhost(TDrawObject* sender) override;
    TPoint LogicalSize() const override { return {FLogWidth, FLogHeight}; }
    TRenderContext RenderContext() const override;
    TRect VisibleRect() const override;
    void PlaceHandle(TPivot& pivot, TPoint logicalPoint) override;
    TComponent& ObjectOwner() override { return *this; }
    void AddObject(TDrawObject& object) override { PlaceObject(object); }
    TCursor Cursor() const override { return FCursor; }
    void SetCursor(TCursor cursor) override { FCursor = cursor; }
    void ClearGhosts() override;
    const std::function<void(TDrawObject*)>& NewObjectHook() const override { return OnNewObject; }

    // --- streaming
    void GetChildren(const std::function<void(TComponent*)>& proc) const override;
    void ChildRead(TComponent* child) override;
    void Loaded() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    struct TChild {
        TGraphicControl* Control;
        TDrawObject* Object; // when a drawing object
        TPivot* Pivot;       // when a handle
    };

    int IndexOfChild(const TGraphicControl* control) const;
    void InsertChild(TGraphicControl& control, TDrawObject* object, TPivot* pivot);
    void Rescale();
    void ObjectNotify(TPersistent* sender, const TGUID& id);
    void SurfaceMouseDown(TMouseButton button, TShiftState shift, TPoint point, TDrawObject* pressed);
    void SurfaceMouseMove(TShiftState shift, TPoint point);
    void BeginGhosts(TPoint logicalPoint, TShiftState shift);
    TColor EffectiveColor() const;

    std::unique_ptr<TBroadcaster> FBroadcaster;
    std::unique_ptr<TListener> FListener;
    std::unique_ptr<TScaler> FScaler;
    std::vector<TChild> FChildren;
    IDrawSiteHost* FHost = nullptr;
    TCanvas* FCanvas = nullptr;
    TRenderContext FRenderContext;
    int FPaintScale = 0; // the zoom DrawTo draws at; 0 = the scaler's
    bool FPaintingCopy = false;
    TComponent* FPopupMenu = nullptr;
    int32_t FLogWidth = 0;
    int32_t FLogHeight = 0;
    int FWidth = 200;
    int FHeight = 100;
    int FDeviceDPI;
    TCursor FMoveCursor = 0;
    TCursor FCursor = crDefault;
    TColor FColor = clWindow;
    bool FBorder = true;
    bool FDoubleBuffered = false;
    bool FEnabled = true;
    bool FTabStop = false;
    // The press in progress: the object clicked, the control pressed, and
    // whether this press started ghosts.
    TDrawObject* FClicked = nullptr;
    TGraphicControl* FPressed = nullptr;
    bool FPressStartedGhosts = false;
    bool FGhostMovedInPress = false;
    bool FDeselectOnClick = false;
    bool FHandlesDirty = false;
    bool FHandlesShown = true;
    bool FModified = false;
};

// The site becomes the owner of every object of list and places each on
// top; list is emptied, also when placing fails (the site frees what it
// took, the rest is freed).
void GiveObjectsToSite(TDrawSite& site, TOwnedDOList& list);

} // namespace vellum
