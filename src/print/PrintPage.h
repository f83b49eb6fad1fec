#pragma once
// Where one card is drawn on the printer's page: straight onto the printer
// canvas, or through band bitmaps stretched onto it one after the other
// (a bitmap is never larger than kMaxBandPixels, so a big card at a high
// resolution is split into strips that join without gap or overlap).

#include "base/Numerics.h"
#include "editing/MemoryCanvas.h"

#include <QImage>

#include <memory>
#include <vector>

namespace vellum {

class TCanvas;
class TFaceInfo;

inline constexpr int64_t kMaxBandPixels = 5242880;

// The card's rectangle in printer pixels: the face grown by its margin,
// left and top rounded down, right and bottom up, then 10 pixels more on
// every side.
TRect CardDeviceRect(const TFaceInfo& face, int printerDpi);

// Logical (0, 0) in printer pixels: the sheet's physical corner shifted by
// the user's offset (0.1 mm).
TPoint DeviceOffset(TPoint physicalOffset, TPoint offset, int printerDpi);

class TPrintPageBase {
public:
    virtual ~TPrintPageBase() = default;
    // The canvas the current band is drawn on.
    virtual TCanvas& Canvas() = 0;
    // Puts the finished band on the page and starts the next; false when
    // every band is done.
    virtual bool NextBand() = 0;
};

class TStretchPrintPage;

// A band bitmap that draws as a printer would: DontPrint objects stay out,
// its resolution is the band's.
class TBandCanvas : public TMemoryCanvas {
public:
    TBandCanvas(QImage& band, const TStretchPrintPage& page, int dpi);
    bool IsPrinter() const override { return true; }
    const TStretchPrintPage& Page() const { return FPage; }

private:
    const TStretchPrintPage& FPage;
};

class TStretchPrintPage : public TPrintPageBase {
public:
    struct TBand {
        int Width;  // bitmap pixels
        int Height; // bitmap pixels
        TRect Rect; // printer pixels, relative to logical (0, 0)
    };

    // rect: the card in printer pixels; banding off draws on the printer
    // itself; resolution: the bands' pixels per inch.
    TStretchPrintPage(TCanvas& printer, const TRect& rect, TPoint deviceOffset, bool banding, int resolution);
    ~TStretchPrintPage() override;

    TCanvas& Canvas() override;
    bool NextBand() override;

    const std::vector<TBand>& Bands() const { return FBands; }
    int BandCount() const { return FBandCount; }
    int Resolution() const { return FResolution; }
    // The bitmap of the band being drawn, none without banding.
    const QImage* BandBitmap() const { return FBitmap.get(); }

private:
    void FlushBand();

    TCanvas& FPrinter;
    TPoint FDeviceOffset;
    int FResolution;
    int FPrinterDpi;
    std::vector<TBand> FBands;
    int FBandCount = 1;
    int FNextBand = 0;
    std::unique_ptr<QImage> FBitmap;
    std::unique_ptr<TBandCanvas> FBandCanvas;
    int FSaved;
};

} // namespace vellum
