#include "core/DrawSiteInterface.h"

#include "core/RenderContext.h"

#include <numeric>

namespace vellum {

namespace {
int64_t DeviceFactor(const TScaleRatio& r) { return int64_t(r.Dpi) * r.Scale; }
int64_t LogicalFactor(const TScaleRatio& r) { return int64_t(r.UnitsPerInch) * 100; }
} // namespace

int32_t TScaleRatio::ToDevice(int32_t logical) const {
    return MulDiv(logical, int32_t(DeviceFactor(*this)), int32_t(LogicalFactor(*this)));
}

int32_t TScaleRatio::ToLogical(int32_t device) const {
    return MulDiv(device, int32_t(LogicalFactor(*this)), int32_t(DeviceFactor(*this)));
}

TRect TScaleRatio::ToDevice(const TRect& r) const {
    const int64_t a = DeviceFactor(*this);
    const int64_t b = LogicalFactor(*this);
    return {int32_t(Div(a * r.Left, b)), int32_t(Div(a * r.Top, b)), int32_t(Div(b + a * r.Right - 1, b)),
            int32_t(Div(b + a * r.Bottom - 1, b))};
}

TRect TScaleRatio::ToLogical(const TRect& r) const {
    return {ToLogical(r.Left), ToLogical(r.Top), ToLogical(r.Right), ToLogical(r.Bottom)};
}

int32_t TScaleRatio::LogicalExtent() const {
    const int64_t g = std::gcd(LogicalFactor(*this), DeviceFactor(*this));
    return int32_t(g ? LogicalFactor(*this) / g : LogicalFactor(*this));
}

int32_t TScaleRatio::DeviceExtent() const {
    const int64_t g = std::gcd(LogicalFactor(*this), DeviceFactor(*this));
    return int32_t(g ? DeviceFactor(*this) / g : DeviceFactor(*this));
}

TRenderContext IDrawSite::RenderContext() const { return TRenderContext::Screen(Ratio()); }

} // namespace vellum
