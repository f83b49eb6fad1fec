#pragma once
// A canvas that draws nothing and logs every primitive in device pixels, for
// tests of what objects draw.

#include "platform/Canvas.h"

#include <QSize>
#include <QStringList>

namespace vellum {

struct TCanvasRecord {
    enum class TKind { rkFigure, rkImage, rkClip, rkSave, rkRestore };
    TKind Kind = TKind::rkFigure;
    TFigureKind Figure = TFigureKind::fkPolygon;
    TDevicePath Path;
    bool Fill = false;
    bool Stroke = false;
    TDevicePen Pen;
    TBrush Brush;
    TFillMode FillMode = TFillMode::fmAlternate;
    TDeviceImage Image;
    QSize ImageSize;
    TCopyMode CopyMode = TCopyMode::cmSrcCopy;
    bool Refused = false; // the image was refused (see SetMaxImagePixels)
    std::optional<QRegion> Clip;
    int Depth = 0; // save/restore: the depth after the call
    QString ToString() const;
};

class TRecordingCanvas : public TCanvas {
public:
    explicit TRecordingCanvas(TRect deviceRect = {0, 0, 1000, 1000}, int dpi = 96, bool printer = false);

    int DpiX() const override { return FDpi; }
    int DpiY() const override { return FDpi; }
    TPoint PhysicalSize() const override { return {FDeviceRect.Right, FDeviceRect.Bottom}; }
    TRect DeviceRect() const override { return FDeviceRect; }
    bool IsPrinter() const override { return FPrinter; }

    // Images whose stretched destination covers more pixels than this are
    // refused, as some printer drivers refuse large bitmaps; 0 = no limit.
    void SetMaxImagePixels(int64_t pixels) { FMaxImagePixels = pixels; }

    const std::vector<TCanvasRecord>& Records() const { return FRecords; }
    QStringList Log() const;
    void ClearLog() { FRecords.clear(); }

protected:
    void DoFigure(TFigureKind kind, const TDevicePath& path, bool fill, bool stroke) override;
    bool DoImage(const QImage& image, const TDeviceImage& where) override;
    void DoClipChanged() override;
    void DoSaved(int depth) override;
    void DoRestored(int depth) override;

private:
    TRect FDeviceRect;
    int FDpi;
    bool FPrinter;
    int64_t FMaxImagePixels = 0;
    std::vector<TCanvasRecord> FRecords;
};

} // namespace vellum
