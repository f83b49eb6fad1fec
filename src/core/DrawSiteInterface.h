#pragma once
// What drawing objects need of the surface they sit on. The draw site
// implements it; objects never reach the widget behind it.

#include "base/IdentTables.h"
#include "base/Numerics.h"

#include <cstdint>
#include <functional>

namespace vellum {

class TComponent;
class TDrawObject;
class TGraphicControl;
class TPivot;
struct TRenderContext;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = unsigned;

// Logical units per inch of every card geometry.
inline constexpr int32_t UnitDPI = 254;

// Device pixels per logical unit: Dpi * Scale pixels for UnitsPerInch * 100
// units. Every conversion between card geometry and pixels goes through it.
struct TScaleRatio {
    int32_t Dpi = 96;
    int32_t Scale = 100;
    int32_t UnitsPerInch = UnitDPI;

    // MulDiv(v, Dpi * Scale, UnitsPerInch * 100) and back.
    int32_t ToDevice(int32_t logical) const;
    int32_t ToLogical(int32_t device) const;
    TPoint ToDevice(TPoint p) const { return {ToDevice(p.X), ToDevice(p.Y)}; }
    TPoint ToLogical(TPoint p) const { return {ToLogical(p.X), ToLogical(p.Y)}; }
    // Rounded outward: left and top truncated toward zero, right and bottom up.
    TRect ToDevice(const TRect& r) const;
    TRect ToLogical(const TRect& r) const;
    // Window and viewport extents of the anisotropic mapping, reduced by
    // their greatest common divisor.
    int32_t LogicalExtent() const;
    int32_t DeviceExtent() const;
};

class IDrawSite {
public:
    virtual ~IDrawSite() = default;

    // The scaler: device pixels per inch and zoom in percent.
    virtual int DeviceDPI() const = 0;
    virtual int Scale() const = 0;
    virtual int UnitsPerInch() const { return UnitDPI; }
    TScaleRatio Ratio() const { return {DeviceDPI(), Scale(), UnitsPerInch()}; }
    // How the site's objects are drawn on screen: at its ratio, with the
    // profile and date its editor shows.
    virtual TRenderContext RenderContext() const;

    // Children back to front; later ones lie above.
    virtual int ChildCount() const = 0;
    virtual TGraphicControl* Child(int index) const = 0;
    // Takes the child out and puts it back at index (of the list without it).
    virtual void SetChildIndex(TGraphicControl* child, int index) = 0;
    // A child being destroyed leaves the site.
    virtual void RemoveChild(TGraphicControl* child) = 0;

    virtual void InvalidateControl(TGraphicControl* control) = 0;
    virtual void Refresh() = 0;
    virtual void SetModified(bool modified) = 0;

    // Mouse input on an object (handle index -1) or one of its handles;
    // the point is in site client pixels.
    virtual void ObjectMouseDown(TMouseButton button, TShiftState shift, TDrawObject* object, int handleIndex,
                                 TPoint sitePoint) = 0;
    virtual void ObjectMouseMove(TShiftState shift, TPoint sitePoint) = 0;
    virtual bool GhostDragging() const = 0;
    // Fires the site's clear-ghost event, when assigned.
    virtual void ClearGhost(TDrawObject* sender) = 0;

    // Logical size of the card and the part of the site its parent shows
    // (site pixels).
    virtual TPoint LogicalSize() const = 0;
    virtual TRect VisibleRect() const = 0;

    // Puts a selection handle centred on a logical point and takes it in.
    virtual void PlaceHandle(TPivot& pivot, TPoint logicalPoint) = 0;

    // --- placing new objects
    // The component that owns the site's objects.
    virtual TComponent& ObjectOwner() = 0;
    // Takes a drawing object in on top of its layer group.
    virtual void AddObject(TDrawObject& object) = 0;
    // The site's own cursor, shown where no child is.
    virtual TCursor Cursor() const = 0;
    virtual void SetCursor(TCursor cursor) = 0;
    virtual void SelectAll(bool select) = 0;
    // Rebuilds the handles of the selected objects when they are out of date.
    virtual void RefreshHandles() = 0;
    // Ends and empties the drag in progress, if any.
    virtual void ClearGhosts() = 0;
    // What the editor showing the site does with each object created for it,
    // before it is placed; may be empty.
    virtual const std::function<void(TDrawObject*)>& NewObjectHook() const = 0;

    // Scaler conversions through Ratio().
    int32_t LogicalToDevice(int32_t logical) const { return Ratio().ToDevice(logical); }
    int32_t DeviceToLogical(int32_t device) const { return Ratio().ToLogical(device); }
    TPoint LogicalToDevice(TPoint p) const { return Ratio().ToDevice(p); }
    TPoint DeviceToLogical(TPoint p) const { return Ratio().ToLogical(p); }
    TRect LogicalToDevice(const TRect& r) const { return Ratio().ToDevice(r); }
    TRect DeviceToLogical(const TRect& r) const { return Ratio().ToLogical(r); }
};

} // namespace vellum
