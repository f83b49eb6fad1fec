#include "imaging/AALine.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace vellum {

namespace {

constexpr int64_t kOne = 65536;

// The part of a filter disc of radius r lying beyond a line at distance x from its centre.
double Beyond(double x, double r) {
    if (x <= -r) return 1;
    if (x >= r) return 0;
    return 0.5 - x * std::sqrt(r * r - x * x) / (std::numbers::pi * r * r) -
           std::asin(x / r) / std::numbers::pi;
}

} // namespace

void TAALineRec::SetHalfWidth(double w) {
    FHalfWidth = w;
    FDirty = true;
}

void TAALineRec::SetFilterRadius(double r) {
    FFilterRadius = r;
    FDirty = true;
}

void TAALineRec::SetIntensity(double i) {
    FIntensity = i;
    FDirty = true;
}

void TAALineRec::Build() {
    FDirty = false;
    const double reach = std::max(FHalfWidth + FFilterRadius, 1e-6);
    // About 128 entries over one unit of W + R.
    FShift = std::max(0, int(std::lround(std::log2(double(kOne) * reach / 128))));
    const int64_t step = int64_t(1) << FShift;
    const size_t n = size_t((int64_t(std::ceil(reach * double(kOne))) + step - 1) / step) + 1;
    FProfile.assign(n, 0);
    const double r = std::max(FFilterRadius, 1e-9);
    for (size_t i = 0; i < n; ++i) {
        const double d = double(int64_t(i) * step) / double(kOne);
        if (d >= reach) continue;
        const double coverage = Beyond(d - FHalfWidth, r) - Beyond(d + FHalfWidth, r);
        FProfile[i] = uint8_t(std::clamp<int64_t>(Round(255 * FIntensity * coverage), 0, 255));
    }
    FDotHalf = int(std::ceil(reach)) - 1;
    if (double(FDotHalf + 1) < reach) ++FDotHalf;
    const int side = 2 * FDotHalf + 1;
    FDot.assign(size_t(side * side), 0);
    for (int j = -FDotHalf; j <= FDotHalf; ++j)
        for (int i = -FDotHalf; i <= FDotHalf; ++i)
            FDot[size_t((j + FDotHalf) * side + i + FDotHalf)] =
                ProfileAt(int64_t(std::sqrt(double(i * i + j * j)) * double(kOne)));
}

uint8_t TAALineRec::ProfileAt(int64_t distance) {
    if (FDirty) Build();
    const size_t i = size_t(std::llabs(distance) >> FShift);
    return i < FProfile.size() ? FProfile[i] : 0;
}

int TAALineRec::DotHalfSize() {
    if (FDirty) Build();
    return FDotHalf;
}

void TAALineRec::MoveTo(int x, int y) {
    FX = x;
    FY = y;
}

void TAALineRec::Dot(int x, int y) {
    if (FDirty) Build();
    if (FDotHalf < 1) return;
    const int side = 2 * FDotHalf + 1;
    for (int j = -FDotHalf; j <= FDotHalf; ++j)
        for (int i = -FDotHalf; i <= FDotHalf; ++i)
            if (const uint8_t c = FDot[size_t((j + FDotHalf) * side + i + FDotHalf)]) Plot(x + i, y + j, c);
}

void TAALineRec::LineTo(int x, int y) {
    if (FDirty) Build();
    int x0 = FX, y0 = FY, x1 = x, y1 = y;
    FX = x;
    FY = y;
    if (x0 == x1 && y0 == y1) {
        Plot(x0, y0, FProfile.empty() ? 0 : FProfile[0]);
        return;
    }
    const int64_t reach = int64_t(std::ceil((FHalfWidth + FFilterRadius) * double(kOne)));
    // In 64 bits: the ends of a stroke may lie billions of pixels apart.
    const bool steep = std::llabs(int64_t(y1) - y0) > std::llabs(int64_t(x1) - x0);
    // Along the major axis a, across it b; the line is b = b0 + (a - a0) * slope.
    if (steep) {
        std::swap(x0, y0);
        std::swap(x1, y1);
    }
    if (x0 > x1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const int64_t da = int64_t(x1) - x0, db = int64_t(y1) - y0;
    const int64_t slope = db * kOne / da;
    // A step across the major axis is this far from the line, perpendicularly.
    const int64_t perpStep = int64_t(double(kOne) * double(da) / std::hypot(double(da), double(db)));
    // Every pixel of step a lies at a along the major axis: skip the steps
    // that cannot reach the plot area.
    int64_t first = x0, last = x1;
    if (const std::optional<TRect> area = PlotArea()) {
        first = std::max<int64_t>(first, steep ? area->Top : area->Left);
        last = std::min<int64_t>(last, int64_t(steep ? area->Bottom : area->Right) - 1);
    }
    int64_t b = int64_t(y0) * kOne + (first - x0) * slope;
    for (int64_t a = first; a <= last; ++a, b += slope) {
        const int centre = int((b + kOne / 2) >> 16);
        // False once the pixel lies beyond the reach of the line and filter.
        auto plot = [&](int across) {
            const int64_t perp = std::llabs(int64_t(across) * kOne - b) * perpStep / kOne;
            if (perp >= reach) return false;
            if (const uint8_t c = ProfileAt(perp)) {
                if (steep)
                    Plot(across, int(a), c);
                else
                    Plot(int(a), across, c);
            }
            return true;
        };
        plot(centre);
        for (int k = 1; plot(centre + k); ++k) {
        }
        for (int k = 1; plot(centre - k); ++k) {
        }
    }
}

void TAALineAlphaMap::Plot(int x, int y, uint8_t coverage) {
    if (x < 0 || y < 0 || x >= FMap.Width() || y >= FMap.Height() || FMap.BitCount() != 8) return;
    uint8_t* p = FMap.ScanLine(y) + x;
    *p = std::max(*p, coverage);
}

} // namespace vellum
