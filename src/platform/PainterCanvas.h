#pragma once
// The canvas over QPainter: a bitmap (a QImage, whose bits are accessible),
// a screen surface (a widget, or a painter a paint event has begun) or a
// printer (QPrinter, QPdfWriter).

#include "platform/Canvas.h"

#include <memory>
#include <unordered_map>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

namespace vellum {

enum class TCanvasTarget { ctBitmap, ctScreen, ctPrinter };

class TPainterCanvas : public TCanvas {
public:
    explicit TPainterCanvas(QImage& image);
    explicit TPainterCanvas(QPagedPaintDevice& printer);
    // A screen device such as a widget.
    explicit TPainterCanvas(QPaintDevice& screen);
    // Draws through a painter someone else has begun and keeps its clip as
    // the outer limit; its transformation must be the identity or a
    // whole-pixel translation (a site paints each child in its own pixels).
    TPainterCanvas(QPainter& painter, TCanvasTarget target);
    ~TPainterCanvas() override;

    QPainter& Painter() const { return *FPainter; }
    // A resolution of the canvas's own (a bitmap standing in for a printer
    // band); 0 takes the device's.
    void SetResolution(int dpi) { FDpi = dpi; }
    TCanvasTarget Target() const { return FTarget; }

    int DpiX() const override;
    int DpiY() const override;
    TPoint PhysicalSize() const override;
    TPoint PhysicalOffset() const override;
    TRect DeviceRect() const override;
    bool IsPrinter() const override { return FTarget == TCanvasTarget::ctPrinter; }
    QImage* Bits() const override { return FImage; }
    bool SupportsRasterOps() const override { return FTarget != TCanvasTarget::ctPrinter; }

protected:
    void DoFigure(TFigureKind kind, const TDevicePath& path, bool fill, bool stroke) override;
    bool DoImage(const QImage& image, const TDeviceImage& where) override;
    void DoClipChanged() override;
    void DoGlyphs(const QPainterPath& device, TColor color, const std::vector<TPlacedGlyph>* glyphs) override;

private:
    void Init();
    // On a page device: the one copy of an image already drawn with the same
    // pixels, so a PDF embeds a picture repeated on every card only once.
    const QImage& Shared(const QImage& image);

    std::unique_ptr<QPainter> FOwnPainter;
    QPainter* FPainter = nullptr;
    TCanvasTarget FTarget = TCanvasTarget::ctBitmap;
    QImage* FImage = nullptr;
    QPagedPaintDevice* FPaged = nullptr;
    std::optional<QRegion> FOuterClip;
    int FDpi = 0;
    std::unordered_multimap<size_t, QImage> FShared;
    qsizetype FSharedBytes = 0;
};

} // namespace vellum
