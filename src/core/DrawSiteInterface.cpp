#include "core/DrawSiteInterface.h"

namespace vellum {

namespace {
constexpr int64_t LogicalScale = int64_t(UnitDPI) * 100;
}

int32_t IDrawSite::LogicalToDevice(int32_t logical) const {
    return MulDiv(logical, DeviceDPI() * Scale(), int32_t(LogicalScale));
}

int32_t IDrawSite::DeviceToLogical(int32_t device) const {
    return MulDiv(device, int32_t(LogicalScale), DeviceDPI() * Scale());
}

TPoint IDrawSite::LogicalToDevice(TPoint p) const { return {LogicalToDevice(p.X), LogicalToDevice(p.Y)}; }

TPoint IDrawSite::DeviceToLogical(TPoint p) const { return {DeviceToLogical(p.X), DeviceToLogical(p.Y)}; }

TRect IDrawSite::LogicalToDevice(const TRect& r) const {
    const int64_t a = int64_t(DeviceDPI()) * Scale();
    const int64_t b = LogicalScale;
    return {int32_t(Div(a * r.Left, b)), int32_t(Div(a * r.Top, b)), int32_t(Div(b + a * r.Right - 1, b)),
            int32_t(Div(b + a * r.Bottom - 1, b))};
}

TRect IDrawSite::DeviceToLogical(const TRect& r) const {
    return {DeviceToLogical(r.Left), DeviceToLogical(r.Top), DeviceToLogical(r.Right), DeviceToLogical(r.Bottom)};
}

} // namespace vellum
