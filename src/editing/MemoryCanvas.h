#pragma once
// A canvas on a bitmap of its own (a descendant's bitmap, or a 1 x 1 one)
// that draws at the resolution of a reference canvas, of the screen, or of
// its own DPI.

#include "platform/PainterCanvas.h"

#include <memory>

namespace vellum {

namespace detail {
// Holds the bitmap so that it exists before the painter that draws on it.
struct TMemoryCanvasSurface {
    explicit TMemoryCanvasSurface(QImage* bitmap);
    std::unique_ptr<QImage> OwnBitmap;
    QImage* Surface;
};
} // namespace detail

class TMemoryCanvas : private detail::TMemoryCanvasSurface, public TPainterCanvas {
public:
    // bitmap: drawn on in place; none gives a 1 x 1 bitmap of its own.
    explicit TMemoryCanvas(QImage* bitmap = nullptr, const TCanvas* reference = nullptr);

    const TCanvas* Reference() const { return FReference; }
    void SetReference(const TCanvas* reference) { FReference = reference; }
    // 0 takes the reference's vertical resolution (the screen's without one).
    int DPI() const { return FDPI; }
    void SetDPI(int dpi) { FDPI = dpi > 0 ? dpi : 0; }
    // The bitmap drawn on.
    QImage& SelectedObject() const { return *Surface; }

    int DpiX() const override { return DpiY(); }
    int DpiY() const override;

private:
    const TCanvas* FReference;
    int FDPI = 0;
};

} // namespace vellum
