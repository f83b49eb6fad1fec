#include "render/CardRenderer.h"

#include "core/DOList.h"
#include "core/DrawObject.h"
#include "imaging/DIB.h"
#include "paper/FaceInfo.h"
#include "platform/PainterCanvas.h"
#include "platform/ScreenDPI.h"

#include <QScopeGuard>

#include <algorithm>
#include <new>

namespace vellum {

namespace {

// The order a draw site keeps: each object on top of its layer group.
std::vector<const TDrawObject*> ZOrder(const TDOList& objects) {
    std::vector<const TDrawObject*> order;
    order.reserve(size_t(objects.Count()));
    for (const TDrawObject* object : objects)
        if (object && object->Visible()) order.push_back(object);
    std::stable_sort(order.begin(), order.end(), [](const TDrawObject* a, const TDrawObject* b) {
        return a->LayerGroup() < b->LayerGroup();
    });
    return order;
}

void FillOutsideFace(TCanvas& canvas, const TFaceInfo& local, const TRect& card, TColor brush) {
    const QRegion inside = local.Region(&canvas, true).ToQRegion();
    const TPoint origin = canvas.LPtoDP(TPoint{0, 0});
    const TRect device = OffsetRect(card, origin.X, origin.Y);
    const QRegion outside =
        QRegion(device.Left, device.Top, device.Width(), device.Height()).subtracted(inside);
    if (outside.isEmpty()) return;
    const int saved = canvas.SaveDC();
    const auto restore = qScopeGuard([&] { canvas.RestoreDC(saved); });
    canvas.SetMapping(TCoordMapping{});
    canvas.SetClipRegion(outside);
    canvas.SetBrush({TBrushStyle::bsSolid, brush});
    canvas.FillRect(device);
}

} // namespace

TPoint CardSizeOf(const TFaceInfo& face) {
    const TRect outer = NormalizeRect(face.OuterRect());
    return {outer.Width(), outer.Height()};
}

TFaceInfo FaceAtOrigin(const TFaceInfo& face) {
    TFaceInfo local = face;
    const TRect outer = NormalizeRect(face.OuterRect());
    local.FaceRect = OffsetRect(NormalizeRect(face.FaceRect), -outer.Left, -outer.Top);
    return local;
}

void DrawCard(TCanvas& canvas, const TDOList& objects, const TFaceInfo& face, const TRenderContext& context,
              TColor outside, const std::function<bool()>& next) {
    const int saved = canvas.SaveDC();
    const auto restore = qScopeGuard([&] { canvas.RestoreDC(saved); });
    ApplyScaleRatio(canvas, context.Ratio);
    for (const TDrawObject* object : ZOrder(objects)) {
        object->DrawTo(canvas, context);
        if (next && !next()) return;
    }
    if (outside == clNone) return;
    const TFaceInfo local = FaceAtOrigin(face);
    const TPoint size = CardSizeOf(local);
    FillOutsideFace(canvas, local, context.Ratio.ToDevice(TRect{0, 0, size.X, size.Y}), outside);
}

void RenderObjectsToBitmap(const TFaceInfo& face, const TDOList& list, QImage& bitmap, int scale,
                           TColor brush) {
    RenderObjectsToBitmap(face, list, bitmap, scale, 254, brush);
}

void RenderObjectsToBitmap(const TFaceInfo& face, const TDOList& list, QImage& bitmap, int scale,
                           int unitsPerInch, TColor brush, TRenderContext context) {
    context.Ratio = {ScreenDPI(), std::max(1, scale), std::max(1, unitsPerInch)};
    const TPoint size = CardSizeOf(face);
    const TRect device = context.Ratio.ToDevice(TRect{0, 0, size.X, size.Y});
    bitmap = QImage(std::max(1, device.Width()), std::max(1, device.Height()), QImage::Format_BGR888);
    if (bitmap.isNull()) throw std::bad_alloc();
    bitmap.fill(Qt::white);
    const int dotsPerMeter = int(Round(context.Ratio.Dpi / 0.0254));
    bitmap.setDotsPerMeterX(dotsPerMeter);
    bitmap.setDotsPerMeterY(dotsPerMeter);
    TPainterCanvas canvas(bitmap);
    // The bitmap counts the pixels the card was sized in.
    canvas.SetResolution(context.Ratio.Dpi);
    DrawCard(canvas, list, face, context, brush);
}

QImage RenderObjectsToImage(const TFaceInfo& face, const TDOList& list, int targetWidth, int targetHeight,
                            TColor brush) {
    int scale = 100;
    if (targetWidth != -1) {
        // 64-bit: a face from a file may be as wide as int32 allows.
        const int64_t faceWidth = NormalizeRect(face.OuterRect()).Width();
        const int64_t pixels = faceWidth * ScreenDPI();
        if (pixels > 0)
            scale = int(
                std::clamp<int64_t>((int64_t(targetWidth) * 100 * 254 * 2 + pixels) / (2 * pixels), 1, 100));
    }
    TRenderContext context = TRenderContext::Bitmap({});
    context.Preview = true;
    QImage bitmap;
    RenderObjectsToBitmap(face, list, bitmap, scale, 254, brush, context);
    if (targetWidth <= 0 || targetHeight <= 0) return bitmap;
    // The largest size of the bitmap's aspect that fits the target.
    int width = targetWidth;
    int height = MulDiv(bitmap.height(), targetWidth, bitmap.width());
    if (height > targetHeight) {
        height = targetHeight;
        width = MulDiv(bitmap.width(), targetHeight, bitmap.height());
    }
    width = std::max(1, width);
    height = std::max(1, height);
    if (width == bitmap.width() && height == bitmap.height()) return bitmap;
    const TDIB source = TDIB::FromImage(bitmap);
    const TDIB fitted =
        source.Resample({0, 0, source.Width(), source.Height()}, QSize(width, height), {0, 0, width, height});
    return fitted.ToImage().copy();
}

} // namespace vellum
