#include "core/ObjectHelpers.h"

#include "core/DOList.h"
#include "core/DrawObject.h"

#include <algorithm>
#include <cmath>

namespace vellum {

void KeepObjectsInside(const TDOList& objects, const TRect& area) {
    constexpr int32_t Margin = 10;
    auto shift = [](int32_t c, int32_t low, int32_t high) {
        if (c < low + Margin) return low - c + Margin;
        if (c > high - Margin) return high - c - Margin;
        return 0;
    };
    for (TDrawObject* object : objects) {
        auto* e = object ? object->Capability<IDOEncloseBounds>() : nullptr;
        if (!e) continue;
        const TPoint c = RectCenter(e->GetBounds());
        const int32_t dx = shift(c.X, area.Left, area.Right);
        const int32_t dy = shift(c.Y, area.Top, area.Bottom);
        if (dx != 0 || dy != 0) e->Offset(dx, dy);
    }
}

void ScaleObjects(const TDOList& objects, const TRect& from, const TRect& to) {
    if (from == to) return;
    // An axis of no extent (a group of one vertical line) has nothing to
    // scale; MulDiv's -1 for a zero divisor would shift it by a unit.
    auto scale = [](int32_t offset, int32_t toSize, int32_t fromSize) {
        return fromSize == 0 ? 0 : MulDiv(offset, toSize, fromSize);
    };
    auto map = [&](TPoint p) {
        return TPoint{from.Left + scale(p.X - from.Left, to.Width(), from.Width()),
                      from.Top + scale(p.Y - from.Top, to.Height(), from.Height())};
    };
    for (TDrawObject* object : objects) {
        auto* e = object ? object->Capability<IDOEncloseBounds>() : nullptr;
        if (!e) continue;
        const TRect b = e->GetBounds();
        const TPoint topLeft = map(b.TopLeft());
        const TPoint bottomRight = map(b.BottomRight());
        const TRect mapped = OffsetRect({topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y},
                                        to.Left - from.Left, to.Top - from.Top);
        e->Offset(mapped.Left - b.Left, mapped.Top - b.Top);
        e->SetSize(mapped.Width(), mapped.Height());
    }
}

void FitObjectToSite(TDrawObject& object, const IDrawSite& site) {
    auto* p = object.Capability<IDOPlacement>();
    if (!p) return;
    const TPoint card = site.LogicalSize();
    const int32_t w = p->GetWidth();
    const int32_t h = p->GetHeight();
    if (p->KeepsAspect() && (w > card.X || h > card.Y) && w > 0 && h > 0) {
        int32_t nw = MulDiv(w, card.Y, h);
        int32_t nh = card.Y;
        if (nw > card.X) {
            nh = MulDiv(h, card.X, w);
            nw = card.X;
        }
        p->SetWidth(nw);
        p->SetHeight(nh);
    } else {
        if (w > card.X) p->SetWidth(card.X);
        if (h > card.Y) p->SetHeight(card.Y);
    }
    const TPoint centre = RectCenter(site.DeviceToLogical(site.VisibleRect()));
    p->SetLeft(centre.X - p->GetWidth() / 2);
    p->SetTop(centre.Y - p->GetHeight() / 2);
}

TPoint DefaultPictureSize(TPoint pixels) {
    constexpr int32_t Minimum = 30;
    return {std::max(MulDiv(pixels.X, 254, 180), Minimum), std::max(MulDiv(pixels.Y, 254, 180), Minimum)};
}

int32_t HitTestPenWidth(const TDrawObject& object, int32_t penWidth) {
    const IDrawSite* site = object.Parent();
    return penWidth + (site ? site->DeviceToLogical(1) : 3);
}

bool PointOnSegment(TPoint p, TPoint a, TPoint b, int32_t penWidth) {
    const double vx = double(b.X) - a.X, vy = double(b.Y) - a.Y;
    const double wx = double(p.X) - a.X, wy = double(p.Y) - a.Y;
    const double length2 = vx * vx + vy * vy;
    const double t = length2 > 0 ? std::clamp((wx * vx + wy * vy) / length2, 0.0, 1.0) : 0.0;
    const double dx = wx - t * vx, dy = wy - t * vy;
    const double half = std::max(penWidth, 1) / 2.0;
    return dx * dx + dy * dy <= half * half;
}

void ReverseList(TDOList& objects) { std::reverse(objects.Raw().begin(), objects.Raw().end()); }

void ReverseList(TOwnedDOList& objects) { objects.Reverse(); }

} // namespace vellum
