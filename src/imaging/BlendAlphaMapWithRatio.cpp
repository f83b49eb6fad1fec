#include "imaging/BlendAlphaMapWithRatio.h"

#include "imaging/Blender.h"

namespace vellum {

bool BlendAlphaMapWithRatio(QImage& dest, const TDIB& image, const TDIB& mask, const TRect& deviceRect,
                            int ratio) {
    int destBpp = 0;
    switch (dest.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        destBpp = 4;
        break;
    case QImage::Format_BGR888:
        destBpp = 3;
        break;
    default:
        return false;
    }
    const int imageBpp = image.BitCount() / 8;
    if ((imageBpp != 3 && imageBpp != 4) || mask.BitCount() != 8) return false;
    if (image.Width() < deviceRect.Width() || image.Height() < deviceRect.Height() ||
        mask.Width() < deviceRect.Width() || mask.Height() < deviceRect.Height())
        return false;
    const TRect area = IntersectRect(deviceRect, {0, 0, dest.width(), dest.height()});
    if (area.IsEmpty()) return true;
    const auto alphaTable = RatioAlphaTable(ratio);
    const int channels = destBpp == imageBpp ? destBpp : 3;
    const int dx = area.Left - deviceRect.Left, dy = area.Top - deviceRect.Top;
    for (int y = area.Top; y < area.Bottom; ++y) {
        const int sy = y - area.Top + dy;
        BlendAlphaRow(dest.scanLine(y) + area.Left * destBpp, destBpp, image.ScanLine(sy) + dx * imageBpp,
                      imageBpp, mask.ScanLine(sy) + dx, area.Width(), channels, alphaTable);
    }
    return true;
}

} // namespace vellum
