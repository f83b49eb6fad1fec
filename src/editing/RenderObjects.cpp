#include "editing/RenderObjects.h"

#include "core/DOList.h"
#include "core/DrawObject.h"
#include "editing/DrawSite.h"
#include "editing/MemoryCanvas.h"
#include "imaging/DIB.h"
#include "paper/FaceInfo.h"

#include <algorithm>
#include <new>

namespace vellum {

namespace {

// The face with its outer rectangle moved to the origin: card coordinates
// start at the top-left of the face's placed rectangle, bleed included.
TFaceInfo FaceAtOrigin(const TFaceInfo& face) {
    TFaceInfo local = face;
    const TRect outer = NormalizeRect(face.OuterRect());
    local.FaceRect = OffsetRect(NormalizeRect(face.FaceRect), -outer.Left, -outer.Top);
    return local;
}

} // namespace

TPoint CardSizeOf(const TFaceInfo& face) {
    const TRect outer = NormalizeRect(face.OuterRect());
    return {outer.Width(), outer.Height()};
}

void RenderObjectsToBitmap(const TFaceInfo& face, TOwnedDOList& list, QImage& bitmap, int scale, TColor brush) {
    RenderObjectsToBitmap(face, list, bitmap, scale, 254, brush);
}

void RenderObjectsToBitmap(const TFaceInfo& face, TOwnedDOList& list, QImage& bitmap, int scale, int unitsPerInch,
                           TColor brush) {
    const TFaceInfo local = FaceAtOrigin(face);
    const TPoint size = CardSizeOf(local);
    TDrawSite site;
    GiveObjectsToSite(site, list);
    site.SetBorder(false);
    site.Scaler().SetUnitDPI(unitsPerInch);
    site.Scaler().SetScale(scale);
    site.SetLogWidth(size.X);
    site.SetLogHeight(size.Y);

    bitmap = QImage(std::max(1, site.Width()), std::max(1, site.Height()), QImage::Format_BGR888);
    if (bitmap.isNull()) throw std::bad_alloc();
    bitmap.fill(Qt::white);
    const int dotsPerMeter = int(Round(site.DeviceDPI() / 0.0254));
    bitmap.setDotsPerMeterX(dotsPerMeter);
    bitmap.setDotsPerMeterY(dotsPerMeter);
    TMemoryCanvas canvas(&bitmap);
    // The bitmap counts the pixels the site was sized in.
    canvas.SetDPI(site.DeviceDPI());
    site.DrawTo(canvas, {0, 0}, site.Scale());

    const int saved = canvas.SaveDC();
    site.Scaler().Apply(canvas);
    const QRegion inside = local.Region(&canvas, true).ToQRegion();
    canvas.RestoreDC(saved);
    const TRect all = canvas.DeviceRect();
    const QRegion outside = QRegion(0, 0, all.Width(), all.Height()).subtracted(inside);
    if (outside.isEmpty()) return;
    canvas.SetClipRegion(outside);
    canvas.SetBrush({TBrushStyle::bsSolid, brush});
    canvas.FillRect(all);
    canvas.SetClipRegion(std::nullopt);
}

QImage RenderObjectsToImage(const TFaceInfo& face, TOwnedDOList& list, int targetWidth, int targetHeight,
                            TColor brush) {
    int scale = 100;
    if (targetWidth != -1) {
        // 64-bit: a face from a file may be as wide as int32 allows.
        const int64_t faceWidth = NormalizeRect(face.OuterRect()).Width();
        const int64_t pixels = faceWidth * ScreenDPI();
        if (pixels > 0)
            scale = int(std::clamp<int64_t>((int64_t(targetWidth) * 100 * 254 * 2 + pixels) / (2 * pixels), 1, 100));
    }
    QImage bitmap;
    RenderObjectsToBitmap(face, list, bitmap, scale, brush);
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
    const TDIB fitted = source.Resample({0, 0, source.Width(), source.Height()}, QSize(width, height),
                                        {0, 0, width, height});
    return fitted.ToImage().copy();
}

} // namespace vellum
