#include "editing/MemoryCanvas.h"

#include "editing/Scaler.h"

namespace vellum {

detail::TMemoryCanvasSurface::TMemoryCanvasSurface(QImage* bitmap)
    : OwnBitmap(bitmap ? nullptr : std::make_unique<QImage>(1, 1, QImage::Format_RGB32)),
      Surface(bitmap ? bitmap : OwnBitmap.get()) {
    if (OwnBitmap) OwnBitmap->fill(Qt::white);
}

TMemoryCanvas::TMemoryCanvas(QImage* bitmap, const TCanvas* reference)
    : detail::TMemoryCanvasSurface(bitmap), TPainterCanvas(*Surface), FReference(reference) {}

int TMemoryCanvas::DpiY() const {
    if (FDPI > 0) return FDPI;
    return FReference ? FReference->DpiY() : ScreenDPI();
}

} // namespace vellum
