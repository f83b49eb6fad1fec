#include "imaging/ObjectBlend.h"

#include "core/DrawObject.h"
#include "imaging/BlendAlphaMapWithRatio.h"
#include "imaging/DIB.h"
#include "platform/PainterCanvas.h"

#include <cstring>

namespace vellum {
namespace {

// The destination's mapping with device (0, 0) moved to the area's corner.
TCoordMapping Shifted(const TCoordMapping& mapping, TPoint corner) {
    TCoordMapping m = mapping;
    m.ViewportOrg = {m.ViewportOrg.X - corner.X, m.ViewportOrg.Y - corner.Y};
    return m;
}

bool PaintBlended(const TDrawObject& object, TCanvas& destination, const TRect& area, int ratio,
                  const TRenderContext& context) {
    QImage* target = destination.Bits();
    if (!target) return false;
    const TRect device = NormalizeRect(destination.LPtoDP(area));
    if (device.IsEmpty()) return true;
    const int w = device.Width(), h = device.Height();
    const TCoordMapping mapping = Shifted(destination.Mapping(), device.TopLeft());

    // Coverage: black is transparent, white (palette index 255) opaque.
    QImage coverage(w, h, QImage::Format_RGB32);
    coverage.fill(Qt::black);
    {
        TPainterCanvas canvas(coverage);
        canvas.SetMapping(mapping);
        object.DrawMask(canvas, context);
    }
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        TPainterCanvas canvas(picture);
        canvas.SetMapping(mapping);
        object.CreateImage(canvas, context);
    }
    TDIB mask(w, h, 8);
    for (int y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(coverage.constScanLine(y));
        uint8_t* row = mask.ScanLine(y);
        for (int x = 0; x < w; ++x) row[x] = uint8_t(qGray(src[x]));
    }
    return BlendAlphaMapWithRatio(*target, TDIB::FromImage(picture), mask, device, ratio);
}

} // namespace

void InstallObjectBlendPainter() { SetBlendPainter(&PaintBlended); }

} // namespace vellum
