#include "objects/RegionFit.h"

#include <algorithm>
#include <optional>

namespace vellum {
namespace {

enum class TSide { Left, Right, Top, Bottom };

// The innermost edge, over the strips from `from` to `to` (exclusive), of the
// region's part in each strip; none when no strip meets the region.
std::optional<int> InnerEdge(const QRegion& region, int from, int to, TSide side) {
    const bool horizontal = side == TSide::Left || side == TSide::Right;
    const QRect bounds = region.boundingRect();
    // Strips outside the region's bounds meet nothing.
    from = std::max(from, horizontal ? bounds.top() : bounds.left());
    to = std::min(to, horizontal ? bounds.top() + bounds.height() : bounds.left() + bounds.width());
    std::optional<int> best;
    for (int strip = from; strip < to; ++strip) {
        std::optional<int> edge;
        for (const QRect& r : region) {
            const int lo = horizontal ? r.top() : r.left();
            const int hi = lo + (horizontal ? r.height() : r.width());
            if (strip < lo || strip >= hi) continue;
            int e = 0;
            switch (side) {
            case TSide::Left:
                e = r.left();
                break;
            case TSide::Right:
                e = r.left() + r.width();
                break;
            case TSide::Top:
                e = r.top();
                break;
            case TSide::Bottom:
                e = r.top() + r.height();
                break;
            }
            const bool outer = side == TSide::Left || side == TSide::Top;
            edge = !edge ? e : outer ? std::min(*edge, e) : std::max(*edge, e);
        }
        if (!edge) continue;
        const bool inner = side == TSide::Left || side == TSide::Top;
        best = !best ? *edge : inner ? std::max(*best, *edge) : std::min(*best, *edge);
    }
    return best;
}

TRect Fit(const QRegion& region, const TRect& rect, TSide side) {
    if (region.isEmpty()) return rect;
    const bool horizontal = side == TSide::Left || side == TSide::Right;
    const std::optional<int> edge = horizontal ? InnerEdge(region, rect.Top, rect.Bottom, side)
                                               : InnerEdge(region, rect.Left, rect.Right, side);
    if (!edge) return rect;
    TRect r = rect;
    int dx = 0, dy = 0;
    switch (side) {
    case TSide::Left:
        dx = *edge - rect.Left;
        break;
    case TSide::Right:
        dx = *edge - rect.Right;
        break;
    case TSide::Top:
        dy = *edge - rect.Top;
        break;
    case TSide::Bottom:
        dy = *edge - rect.Bottom;
        break;
    }
    r.Left += dx, r.Right += dx, r.Top += dy, r.Bottom += dy;
    return r;
}

} // namespace

TRect FitLeft(const QRegion& region, const TRect& rect) { return Fit(region, rect, TSide::Left); }
TRect FitRight(const QRegion& region, const TRect& rect) { return Fit(region, rect, TSide::Right); }
TRect FitTop(const QRegion& region, const TRect& rect) { return Fit(region, rect, TSide::Top); }
TRect FitBottom(const QRegion& region, const TRect& rect) { return Fit(region, rect, TSide::Bottom); }

} // namespace vellum
