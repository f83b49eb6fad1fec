#pragma once
// What drawing objects need of the surface they sit on. The draw site
// implements it; objects never reach the widget behind it.

#include "base/Numerics.h"

#include <cstdint>

namespace vellum {

class TDrawObject;
class TGraphicControl;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = unsigned;

// Logical units per inch of every card geometry.
inline constexpr int32_t UnitDPI = 254;

class IDrawSite {
public:
    virtual ~IDrawSite() = default;

    // The scaler: device pixels per inch and zoom in percent.
    virtual int DeviceDPI() const = 0;
    virtual int Scale() const = 0;

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

    // Scaler conversions: device = MulDiv(logical, dpi * scale, 254 * 100).
    int32_t LogicalToDevice(int32_t logical) const;
    int32_t DeviceToLogical(int32_t device) const;
    TPoint LogicalToDevice(TPoint p) const;
    TPoint DeviceToLogical(TPoint p) const;
    // Rounded outward: left and top down, right and bottom up.
    TRect LogicalToDevice(const TRect& r) const;
    TRect DeviceToLogical(const TRect& r) const;
};

} // namespace vellum
