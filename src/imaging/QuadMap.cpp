#include "imaging/QuadMap.h"

#include "imaging/SafetyBitmap.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vellum {

namespace {

constexpr int64_t kOne = 65536;

struct TEdgeHit {
    double X;
    std::array<double, 3> Attr;
};

int NearestIndex(const std::vector<TColor>& palette, TColor c) {
    int best = 0;
    int64_t bestDistance = INT64_MAX;
    for (size_t i = 0; i < palette.size(); ++i) {
        int64_t d = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const int64_t diff = int64_t((palette[i] >> shift) & 0xFF) - int64_t((c >> shift) & 0xFF);
            d += diff * diff;
        }
        if (d < bestDistance) {
            bestDistance = d;
            best = int(i);
        }
    }
    return best;
}

// The background as the raw pixel value of the format.
uint32_t RawColor(const TDIB& dib, TColor c) {
    const uint32_t r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    switch (dib.BitCount()) {
    case 8:
        return uint32_t(NearestIndex(dib.Info().Colors(), c));
    case 16:
        return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    default:
        return b | (g << 8) | (r << 16);
    }
}

} // namespace

void ScanConvexPolygon(const TScanVertex* vertices, int count, int attrMask, const TRect& clip,
                       const TSpanProc& span) {
    if (count < 3 || count > 4) return;
    double top = vertices[0].Y, bottom = vertices[0].Y;
    for (int i = 1; i < count; ++i) {
        top = std::min(top, vertices[i].Y);
        bottom = std::max(bottom, vertices[i].Y);
    }
    const int yFirst = std::max(int(std::ceil(top - 0.5)), clip.Top);
    const int yLast = std::min(int(std::floor(bottom - 0.5)), clip.Bottom - 1);
    for (int y = yFirst; y <= yLast; ++y) {
        const double yc = y + 0.5;
        // The left- and rightmost crossings of the scan line with the edges.
        bool any = false;
        TEdgeHit left{}, right{};
        for (int i = 0; i < count; ++i) {
            const TScanVertex& a = vertices[i];
            const TScanVertex& b = vertices[(i + 1) % count];
            const double y0 = std::min(a.Y, b.Y), y1 = std::max(a.Y, b.Y);
            if (a.Y == b.Y || yc < y0 || yc >= y1) continue;
            const double t = (yc - a.Y) / (b.Y - a.Y);
            TEdgeHit hit{a.X + t * (b.X - a.X), {}};
            for (int k = 0; k < 3; ++k)
                if (attrMask & (1 << k))
                    hit.Attr[size_t(k)] = a.Attr[size_t(k)] + t * (b.Attr[size_t(k)] - a.Attr[size_t(k)]);
            if (!any || hit.X < left.X) left = hit;
            if (!any || hit.X > right.X) right = hit;
            any = true;
        }
        if (!any) continue;
        int x0 = int(std::ceil(left.X - 0.5)), x1 = int(std::floor(right.X - 0.5));
        const double width = right.X - left.X;
        const double denominator = width < 1e-5 ? 1 : width;
        std::array<double, 3> step{}, start{};
        x0 = std::max(x0, clip.Left);
        x1 = std::min(x1, clip.Right - 1);
        if (x0 > x1) continue;
        for (int k = 0; k < 3; ++k) {
            if (!(attrMask & (1 << k))) continue;
            step[size_t(k)] = (right.Attr[size_t(k)] - left.Attr[size_t(k)]) / denominator;
            start[size_t(k)] = left.Attr[size_t(k)] + (x0 + 0.5 - left.X) * step[size_t(k)];
        }
        span(y, x0, x1, start, step);
    }
}

TRect MapRectToQuad(TDIB& target, const TDIB& source, const TRect& sourceRect,
                    const std::array<TPoint, 4>& corners, TColor background) {
    TRect box{corners[0].X, corners[0].Y, corners[0].X, corners[0].Y};
    for (const TPoint& p : corners) {
        box.Left = std::min(box.Left, p.X);
        box.Top = std::min(box.Top, p.Y);
        box.Right = std::max(box.Right, p.X);
        box.Bottom = std::max(box.Bottom, p.Y);
    }
    const int bits = source.BitCount();
    target = TDIB(std::max(box.Width(), 1), std::max(box.Height(), 1), bits);
    if (target.Empty()) return box;
    if (bits <= 8) target.Info().SetColors(source.Info().Colors());
    const uint32_t fill = RawColor(target, background);
    for (int y = 0; y < target.Height(); ++y)
        for (int x = 0; x < target.Width(); ++x) target.SetRawPixel(x, y, fill);
    if ((bits != 8 && bits != 16 && bits != 24 && bits != 32) || source.Empty() || sourceRect.IsEmpty())
        return box;

    const int bpp = bits / 8;
    const double l = sourceRect.Left, t = sourceRect.Top, r = sourceRect.Right, b = sourceRect.Bottom;
    const std::array<std::array<double, 2>, 4> uv{{{l, t}, {l, b}, {r, b}, {r, t}}};
    TScanVertex v[4];
    for (int i = 0; i < 4; ++i)
        v[i] = {double(corners[size_t(i)].X - box.Left),
                double(corners[size_t(i)].Y - box.Top),
                {uv[size_t(i)][0], uv[size_t(i)][1], 0}};
    // Both coordinates are clamped to the source: edges may step just beyond it.
    const int64_t maxU = int64_t(source.Width() - 1) << 16, maxV = int64_t(source.Height() - 1) << 16;
    ScanConvexPolygon(v, 4, 3, {0, 0, target.Width(), target.Height()},
                      [&](int y, int x0, int x1, const std::array<double, 3>& start,
                          const std::array<double, 3>& step) {
                          int64_t u = int64_t(start[0] * double(kOne)), w = int64_t(start[1] * double(kOne));
                          const int64_t du = int64_t(step[0] * double(kOne)),
                                        dw = int64_t(step[1] * double(kOne));
                          uint8_t* d = target.ScanLine(y) + x0 * bpp;
                          for (int x = x0; x <= x1; ++x, u += du, w += dw, d += bpp) {
                              const int su = int(std::clamp<int64_t>(u, 0, maxU) >> 16);
                              const int sv = int(std::clamp<int64_t>(w, 0, maxV) >> 16);
                              std::copy_n(source.ScanLine(sv) + su * bpp, bpp, d);
                          }
                      });
    return box;
}

TRect RotateImage(const TPictureEx& source, TPictureEx& target, int angle, TColor background, int w, int h) {
    const double a = double(angle) * std::numbers::pi / 180;
    const double c = std::cos(a), s = std::sin(a);
    auto turn = [&](int x, int y) {
        return TPoint{int32_t(Round(x * c - y * s)), int32_t(Round(x * s + y * c))};
    };
    const std::array<TPoint, 4> corners{turn(0, 0), turn(0, h), turn(w, h), turn(w, 0)};
    const TGraphic* graphic = source.Graphic();
    const TDIB pixels = graphic ? graphic->Raster() : TDIB();
    if (pixels.Empty()) return {};
    const TRect whole{0, 0, pixels.Width(), pixels.Height()};
    TDIB turned;
    const TRect box = MapRectToQuad(turned, pixels, whole, corners, background);
    auto bitmap = std::make_unique<TSafetyBitmap>();
    bitmap->SetDIB(std::move(turned));
    if (graphic->Transparent()) {
        if (const auto* safe = dynamic_cast<const TSafetyBitmap*>(graphic)) {
            // The mask turns with the picture; the new margins are transparent.
            const TDIB oneBit = safe->GetMask();
            TDIB bytes(oneBit.Width(), oneBit.Height(), 8);
            for (int y = 0; y < oneBit.Height(); ++y)
                for (int x = 0; x < oneBit.Width(); ++x)
                    bytes.SetRawPixel(x, y, oneBit.RawPixel(x, y) ? 255 : 0);
            TDIB turnedMask;
            MapRectToQuad(turnedMask, bytes, whole, corners, clWhite);
            TDIB mask(turnedMask.Width(), turnedMask.Height(), 1);
            for (int y = 0; y < mask.Height(); ++y)
                for (int x = 0; x < mask.Width(); ++x)
                    mask.SetRawPixel(x, y, turnedMask.RawPixel(x, y) ? 1 : 0);
            bitmap->SetTransparentColor(background);
            bitmap->SetTransparent(true);
            bitmap->SetMask(mask);
        }
    }
    target.SetGraphic(std::move(bitmap));
    return box;
}

} // namespace vellum
