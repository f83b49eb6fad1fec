#include "paper/Region.h"

#include "platform/Canvas.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace vellum {
namespace {

__extension__ typedef __int128 TWide;

// Inside test of a unit centre in doubled coordinates (X = 2x + 1, Y = 2y + 1)
// for a rectangle whose corners are quarters of a w x h ellipse, everything
// doubled too. With w and h the full width and height this is the ellipse.
struct TRoundShape {
    int64_t L2, T2, R2, B2; // doubled rectangle
    int64_t W, H;           // corner ellipse, doubled semi-axes

    bool Inside(int64_t x, int64_t y) const {
        const int64_t X = 2 * x + 1, Y = 2 * y + 1;
        if (X <= L2 || X >= R2 || Y <= T2 || Y >= B2) return false;
        if (W <= 0 || H <= 0) return true;
        int64_t dx = 0, dy = 0;
        if (X < L2 + W)
            dx = X - (L2 + W);
        else if (X > R2 - W)
            dx = X - (R2 - W);
        if (Y < T2 + H)
            dy = Y - (T2 + H);
        else if (Y > B2 - H)
            dy = Y - (B2 - H);
        return TWide(dx) * dx * H * H + TWide(dy) * dy * W * W < TWide(W) * W * H * H;
    }
};

// Floor of n / d for d > 0.
int64_t FloorDiv(TWide n, TWide d) {
    TWide q = n / d;
    if (n % d != 0 && n < 0) --q;
    return int64_t(q);
}

int32_t Clamp32(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// Merges two sorted span lists with a set operation.
std::vector<int32_t> CombineSpans(const std::vector<int32_t>& a, const std::vector<int32_t>& b,
                                  bool (*keep)(bool, bool)) {
    std::vector<int32_t> out;
    size_t ia = 0, ib = 0;
    bool inA = false, inB = false, inOut = false;
    while (ia < a.size() || ib < b.size()) {
        int32_t x;
        if (ib >= b.size() || (ia < a.size() && a[ia] <= b[ib]))
            x = a[ia];
        else
            x = b[ib];
        while (ia < a.size() && a[ia] == x) {
            inA = !inA;
            ++ia;
        }
        while (ib < b.size() && b[ib] == x) {
            inB = !inB;
            ++ib;
        }
        const bool now = keep(inA, inB);
        if (now != inOut) {
            if (!out.empty() && out.back() == x)
                out.pop_back(); // zero-width gap: join
            else
                out.push_back(x);
            inOut = now;
        }
    }
    return out;
}

} // namespace

void TRegion::Append(int32_t top, int32_t bottom, std::vector<int32_t> spans) {
    if (spans.empty() || bottom <= top) return;
    if (!FBands.empty() && FBands.back().Bottom == top && FBands.back().X == spans) {
        FBands.back().Bottom = bottom;
        return;
    }
    FBands.push_back({top, bottom, std::move(spans)});
}

TRegion TRegion::FromRect(const TRect& r) {
    TRegion region;
    const TRect n = NormalizeRect(r);
    if (!n.IsEmpty()) region.Append(n.Top, n.Bottom, {n.Left, n.Right});
    return region;
}

TRegion TRegion::RoundShape(int64_t l2, int64_t t2, int64_t r2, int64_t b2, int64_t w, int64_t h) {
    const TRoundShape shape{l2, t2, r2, b2, w, h};
    // The shape is convex and symmetric, so a row is one span around the middle column.
    const int64_t mid = FloorDiv(TWide((l2 + r2) / 2) - 1, 2);
    const int64_t xMin = FloorDiv(l2, 2), xMax = FloorDiv(r2, 2);
    TRegion region;
    for (int64_t y = FloorDiv(t2, 2), yEnd = FloorDiv(b2, 2); y <= yEnd; ++y) {
        if (!shape.Inside(mid, y)) continue;
        int64_t lo = xMin, hi = mid; // first inside column
        while (lo < hi) {
            const int64_t m = lo + (hi - lo) / 2;
            if (shape.Inside(m, y))
                hi = m;
            else
                lo = m + 1;
        }
        const int64_t first = lo;
        lo = mid;
        hi = xMax; // last inside column
        while (lo < hi) {
            const int64_t m = lo + (hi - lo + 1) / 2;
            if (shape.Inside(m, y))
                lo = m;
            else
                hi = m - 1;
        }
        region.Append(Clamp32(y), Clamp32(y + 1), {Clamp32(first), Clamp32(lo + 1)});
    }
    return region;
}

TRegion TRegion::RoundRect(const TRect& rect, int32_t cornerWidth, int32_t cornerHeight) {
    const TRect r = NormalizeRect(rect);
    if (r.IsEmpty()) return {};
    const int64_t w = std::clamp<int64_t>(cornerWidth, 0, int64_t(r.Right) - r.Left);
    const int64_t h = std::clamp<int64_t>(cornerHeight, 0, int64_t(r.Bottom) - r.Top);
    if (w == 0 || h == 0) return FromRect(r);
    return RoundShape(2 * int64_t(r.Left), 2 * int64_t(r.Top), 2 * int64_t(r.Right), 2 * int64_t(r.Bottom), w,
                      h);
}

TRegion TRegion::EllipseAt(int64_t cx2, int64_t cy2, int64_t width, int64_t height) {
    if (width <= 0 || height <= 0) return {};
    return RoundShape(cx2 - width, cy2 - height, cx2 + width, cy2 + height, width, height);
}

TRegion TRegion::Ellipse(const TRect& r) {
    const TRect n = NormalizeRect(r);
    if (n.IsEmpty()) return {};
    return RoundShape(2 * int64_t(n.Left), 2 * int64_t(n.Top), 2 * int64_t(n.Right), 2 * int64_t(n.Bottom),
                      int64_t(n.Right) - n.Left, int64_t(n.Bottom) - n.Top);
}

TRegion TRegion::Polygon(const std::vector<TPoint>& points, TRegionFillMode mode) {
    return PolyPolygon({points}, mode);
}

TRegion TRegion::PolyPolygon(const std::vector<std::vector<TPoint>>& polygons, TRegionFillMode mode) {
    struct TEdge {
        TPoint P, Q; // P.Y < Q.Y
        int Dir;
    };
    std::vector<TEdge> edges;
    int64_t minY = INT64_MAX, maxY = INT64_MIN;
    for (const auto& poly : polygons) {
        for (size_t i = 0; i < poly.size(); ++i) {
            const TPoint a = poly[i], b = poly[(i + 1) % poly.size()];
            if (a.Y == b.Y) continue;
            edges.push_back(a.Y < b.Y ? TEdge{a, b, 1} : TEdge{b, a, -1});
            minY = std::min<int64_t>(minY, std::min(a.Y, b.Y));
            maxY = std::max<int64_t>(maxY, std::max(a.Y, b.Y));
        }
    }
    TRegion region;
    if (edges.empty()) return region;
    std::vector<std::pair<int64_t, int>> crossings;
    for (int64_t y = minY; y < maxY; ++y) {
        crossings.clear();
        for (const TEdge& e : edges) {
            if (y < e.P.Y || y >= e.Q.Y) continue;
            // First column whose centre is at or right of the crossing at y + 0.5.
            const TWide dy = TWide(e.Q.Y) - e.P.Y;
            const TWide n =
                TWide(2) * e.P.X * dy + (TWide(2) * y + 1 - TWide(2) * e.P.Y) * (TWide(e.Q.X) - e.P.X) - dy;
            const int64_t x = -FloorDiv(-n, 2 * dy); // ceiling
            crossings.push_back({x, e.Dir});
        }
        std::sort(crossings.begin(), crossings.end());
        std::vector<int32_t> spans;
        int winding = 0;
        bool inside = false;
        for (const auto& [x, dir] : crossings) {
            winding += dir;
            const bool now = mode == TRegionFillMode::Winding ? winding != 0 : !inside;
            if (now != inside) {
                const int32_t cx = Clamp32(x);
                // A span ending where the next starts joins it; one starting where it ends is empty.
                if (!spans.empty() && spans.back() == cx)
                    spans.pop_back();
                else
                    spans.push_back(cx);
                inside = now;
            }
        }
        region.Append(Clamp32(y), Clamp32(y + 1), std::move(spans));
    }
    return region;
}

TRegion TRegion::Path(const std::vector<TPoint>& points, const std::vector<uint8_t>& kinds,
                      TRegionFillMode mode) {
    std::vector<std::vector<TPoint>> figures;
    const size_t n = std::min(points.size(), kinds.size());
    for (size_t i = 0; i < n; ++i) {
        const uint8_t kind = kinds[i] & ~PT_CLOSEFIGURE;
        if (kind == PT_MOVETO || figures.empty()) {
            figures.push_back({points[i]});
        } else if (kind == PT_LINETO) {
            figures.back().push_back(points[i]);
        } else if (kind == PT_BEZIERTO && i + 2 < n) {
            const TPoint p0 = figures.back().back(), p1 = points[i], p2 = points[i + 1], p3 = points[i + 2];
            // Enough steps that a step spans a few units of the control polygon.
            const double reach = std::hypot(p1.X - p0.X, p1.Y - p0.Y) + std::hypot(p2.X - p1.X, p2.Y - p1.Y) +
                                 std::hypot(p3.X - p2.X, p3.Y - p2.Y);
            const int steps = int(std::clamp(reach / 4, 4.0, 256.0));
            for (int s = 1; s <= steps; ++s) {
                const double t = double(s) / steps, u = 1 - t;
                const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
                figures.back().push_back({int32_t(Round(a * p0.X + b * p1.X + c * p2.X + d * p3.X)),
                                          int32_t(Round(a * p0.Y + b * p1.Y + c * p2.Y + d * p3.Y))});
            }
            i += 2;
        } else {
            break;
        }
    }
    return PolyPolygon(figures, mode);
}

TRect TRegion::BoundingBox() const {
    if (FBands.empty()) return {};
    TRect r{INT32_MAX, FBands.front().Top, INT32_MIN, FBands.back().Bottom};
    for (const TBand& b : FBands) {
        r.Left = std::min(r.Left, b.X.front());
        r.Right = std::max(r.Right, b.X.back());
    }
    return r;
}

bool TRegion::Contains(const TPoint& unit) const {
    for (const TBand& b : FBands) {
        if (unit.Y < b.Top || unit.Y >= b.Bottom) continue;
        for (size_t i = 0; i + 1 < b.X.size(); i += 2)
            if (unit.X >= b.X[i] && unit.X < b.X[i + 1]) return true;
        return false;
    }
    return false;
}

int64_t TRegion::Area() const {
    int64_t area = 0;
    for (const TBand& b : FBands)
        for (size_t i = 0; i + 1 < b.X.size(); i += 2)
            area += (int64_t(b.X[i + 1]) - b.X[i]) * (int64_t(b.Bottom) - b.Top);
    return area;
}

TRegion TRegion::Combine(const TRegion& a, const TRegion& b, TOp op) {
    bool (*keep)(bool, bool) = nullptr;
    switch (op) {
    case TOp::Union:
        keep = [](bool x, bool y) { return x || y; };
        break;
    case TOp::Subtract:
        keep = [](bool x, bool y) { return x && !y; };
        break;
    case TOp::Intersect:
        keep = [](bool x, bool y) { return x && y; };
        break;
    }
    std::vector<int32_t> ys;
    for (const TRegion* r : {&a, &b})
        for (const TBand& band : r->FBands) {
            ys.push_back(band.Top);
            ys.push_back(band.Bottom);
        }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    static const std::vector<int32_t> kNone;
    TRegion out;
    size_t ia = 0, ib = 0;
    for (size_t i = 0; i + 1 < ys.size(); ++i) {
        const int32_t y0 = ys[i], y1 = ys[i + 1];
        while (ia < a.FBands.size() && a.FBands[ia].Bottom <= y0) ++ia;
        while (ib < b.FBands.size() && b.FBands[ib].Bottom <= y0) ++ib;
        const auto& sa = ia < a.FBands.size() && a.FBands[ia].Top <= y0 ? a.FBands[ia].X : kNone;
        const auto& sb = ib < b.FBands.size() && b.FBands[ib].Top <= y0 ? b.FBands[ib].X : kNone;
        out.Append(y0, y1, CombineSpans(sa, sb, keep));
    }
    return out;
}

TRegion TRegion::United(const TRegion& other) const { return Combine(*this, other, TOp::Union); }
TRegion TRegion::Subtracted(const TRegion& other) const { return Combine(*this, other, TOp::Subtract); }
TRegion TRegion::Intersected(const TRegion& other) const { return Combine(*this, other, TOp::Intersect); }

TRegion TRegion::Translated(int32_t dx, int32_t dy) const {
    TRegion out = *this;
    for (TBand& b : out.FBands) {
        b.Top += dy;
        b.Bottom += dy;
        for (int32_t& x : b.X) x += dx;
    }
    return out;
}

std::vector<TRect> TRegion::Rects() const {
    std::vector<TRect> rects;
    for (const TBand& b : FBands)
        for (size_t i = 0; i + 1 < b.X.size(); i += 2) rects.push_back({b.X[i], b.Top, b.X[i + 1], b.Bottom});
    return rects;
}

QRegion TRegion::ToQRegion() const {
    QRegion region;
    std::vector<QRect> rects;
    for (const TRect& r : Rects()) rects.emplace_back(r.Left, r.Top, r.Width(), r.Height());
    region.setRects(rects.data(), int(rects.size()));
    return region;
}

} // namespace vellum
