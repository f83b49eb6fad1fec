#include "core/RenderContext.h"

#include "platform/Canvas.h"
#include "platform/CoordMap.h"

#include <algorithm>

namespace vellum {

int32_t TRenderContext::MinimumPenWidth(int32_t width) const {
    return Exact() ? width : std::max(Ratio.ToLogical(2), width);
}

TRenderContext TRenderContext::Screen(const TScaleRatio& ratio) {
    TRenderContext context;
    context.Target = TRenderTarget::rtScreen;
    context.Ratio = ratio;
    return context;
}

TRenderContext TRenderContext::Bitmap(const TScaleRatio& ratio) {
    TRenderContext context;
    context.Target = TRenderTarget::rtBitmap;
    context.Ratio = ratio;
    return context;
}

TRenderContext TRenderContext::Print(TRenderTarget target, const TScaleRatio& ratio) {
    TRenderContext context;
    context.Target = target;
    context.ForPrint = true;
    context.Ratio = ratio;
    return context;
}

void ApplyScaleRatio(TCanvas& canvas, const TScaleRatio& ratio) {
    const TCoordMapping old = canvas.Mapping();
    const TPoint shift = WindowOrgToDevice(old);
    TCoordMapping mapping;
    mapping.Mode = TMapMode::mmAnisotropic;
    mapping.WindowExt = {ratio.LogicalExtent(), ratio.LogicalExtent()};
    mapping.ViewportExt = {ratio.DeviceExtent(), ratio.DeviceExtent()};
    mapping.ViewportOrg = {old.ViewportOrg.X - shift.X, old.ViewportOrg.Y - shift.Y};
    canvas.SetMapping(mapping);
}

} // namespace vellum
