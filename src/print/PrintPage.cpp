#include "print/PrintPage.h"

#include "core/DrawSiteInterface.h"
#include "paper/FaceInfo.h"

#include <algorithm>
#include <new>

namespace vellum {

namespace {

// Pixels of a logical length, rounded down or up.
int64_t FloorPixels(int64_t logical, int dpi) {
    const int64_t v = logical * dpi;
    return v >= 0 ? v / UnitDPI : -((-v + UnitDPI - 1) / UnitDPI);
}
int64_t CeilPixels(int64_t logical, int dpi) { return -FloorPixels(-logical, dpi); }

} // namespace

TRect CardDeviceRect(const TFaceInfo& face, int printerDpi) {
    const TRect r = NormalizeRect(face.OuterRect());
    return SaturatedRect(FloorPixels(r.Left, printerDpi) - 10, FloorPixels(r.Top, printerDpi) - 10,
                         CeilPixels(r.Right, printerDpi) + 10, CeilPixels(r.Bottom, printerDpi) + 10);
}

TPoint DeviceOffset(TPoint physicalOffset, TPoint offset, int printerDpi) {
    return {-physicalOffset.X + MulDiv(offset.X, printerDpi, UnitDPI),
            -physicalOffset.Y + MulDiv(offset.Y, printerDpi, UnitDPI)};
}

TBandCanvas::TBandCanvas(QImage& band, const TStretchPrintPage& page, int dpi)
    : TMemoryCanvas(&band), FPage(page) {
    SetDPI(dpi);
    SetResolution(dpi);
}

TStretchPrintPage::TStretchPrintPage(TCanvas& printer, const TRect& rect, TPoint deviceOffset, bool banding,
                                     int resolution)
    : FPrinter(printer), FDeviceOffset(deviceOffset), FResolution(std::max(1, resolution)),
      FPrinterDpi(std::max(1, printer.DpiY())), FSaved(printer.SaveDC()) {
    TCoordMapping mapping;
    mapping.ViewportOrg = deviceOffset;
    printer.SetMapping(mapping);
    if (!banding || rect.IsEmpty()) return;
    const int w = std::max(1, MulDiv(rect.Width(), FResolution, FPrinterDpi));
    const int h = std::max(1, MulDiv(rect.Height(), FResolution, FPrinterDpi));
    const int64_t rows = std::max<int64_t>(1, kMaxBandPixels / w);
    const int n = h > rows ? int((h + rows - 1) / rows) : 1;
    const int64_t H = rect.Height();
    for (int e = 0; e < n; ++e) {
        TBand band;
        band.Width = w;
        band.Height = int(int64_t(e + 1) * h / n - int64_t(e) * h / n);
        band.Rect = {rect.Left, int32_t(rect.Top + e * H / n), rect.Right,
                     int32_t(rect.Top + H * (e + 1) / n)};
        FBands.push_back(band);
    }
    FBandCount = n;
}

TStretchPrintPage::~TStretchPrintPage() {
    FBandCanvas.reset();
    FPrinter.RestoreDC(FSaved);
}

TCanvas& TStretchPrintPage::Canvas() {
    if (FBandCanvas) return *FBandCanvas;
    return FPrinter;
}

void TStretchPrintPage::FlushBand() {
    if (!FBitmap) return;
    FBandCanvas.reset();
    const TBand& band = FBands[size_t(FNextBand - 1)];
    const TRect dest = OffsetRect(band.Rect, FDeviceOffset.X, FDeviceOffset.Y);
    FPrinter.SetCopyMode(TCopyMode::cmSrcCopy);
    FPrinter.StretchDrawDevice(dest, *FBitmap, {0, 0, FBitmap->width(), FBitmap->height()});
    FBitmap.reset();
}

bool TStretchPrintPage::NextBand() {
    FlushBand();
    if (FNextBand < FBandCount && !FBands.empty()) {
        const TBand& band = FBands[size_t(FNextBand)];
        FBitmap = std::make_unique<QImage>(band.Width, band.Height, QImage::Format_RGB888);
        if (FBitmap->isNull()) throw std::bad_alloc();
        FBitmap->fill(Qt::white);
        FBandCanvas = std::make_unique<TBandCanvas>(*FBitmap, *this, FResolution);
        FBandCanvas->SetWindowOrg({MulDiv(band.Rect.Left, FResolution, FPrinterDpi),
                                   MulDiv(band.Rect.Top, FResolution, FPrinterDpi)});
    }
    return FNextBand++ < FBandCount;
}

} // namespace vellum
