#include "base/Numerics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace vellum {

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0) return -1;
    const int64_t num = int64_t(a) * int64_t(b);
    const int64_t den = c;
    const int64_t q = num / den;
    const int64_t r = num % den;
    int64_t result = q;
    // |2r| >= |c| means the fraction is at least one half: round away from zero.
    const uint64_t twiceR = uint64_t(r < 0 ? -r : r) * 2;
    const uint64_t absC = uint64_t(den < 0 ? -den : den);
    if (twiceR >= absC) result += ((num < 0) != (den < 0)) ? -1 : 1;
    if (result > std::numeric_limits<int32_t>::max() || result < std::numeric_limits<int32_t>::min())
        return -1;
    return int32_t(result);
}

int64_t Round(double x) { return x >= 0 ? int64_t(std::trunc(x + 0.5)) : int64_t(std::trunc(x - 0.5)); }

int64_t RoundHalfEven(double x) { return int64_t(std::nearbyint(x)); }

int64_t Div(int64_t a, int64_t b) { return b == 0 ? 0 : a / b; }

int64_t Mod(int64_t a, int64_t b) { return b == 0 ? 0 : a % b; }

TRect NormalizeRect(const TRect& r) {
    TRect n = r;
    if (n.Left > n.Right) std::swap(n.Left, n.Right);
    if (n.Top > n.Bottom) std::swap(n.Top, n.Bottom);
    return n;
}

TPoint RectCenter(const TRect& r) {
    return {int32_t((int64_t(r.Left) + r.Right) / 2), int32_t((int64_t(r.Top) + r.Bottom) / 2)};
}

TRect OffsetRect(const TRect& r, int32_t dx, int32_t dy) {
    return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

bool PtInRect(const TRect& r, const TPoint& p) {
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

TRect IntersectRect(const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    return r.IsEmpty() ? TRect{} : r;
}

TRect UnionRect(const TRect& a, const TRect& b) {
    if (a.IsEmpty()) return b.IsEmpty() ? TRect{} : b;
    if (b.IsEmpty()) return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

} // namespace vellum
