#include "imaging/Resample.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vellum {

namespace {

constexpr int64_t kOne = 65536;

bool Supported(const TDIB& dib) {
    return dib.BitCount() == 8 || dib.BitCount() == 24 || dib.BitCount() == 32;
}

// Index of sample i (relative to the rectangle start `lo`, length n) in a
// bitmap of `size` pixels, by the edge mode.
int EdgeIndex(int i, int lo, int n, int size, TEdgeMode edge) {
    if (i >= 0 && i < n) return lo + i;
    switch (edge) {
    case TEdgeMode::emRepeat:
        return lo + std::clamp(i, 0, n - 1);
    case TEdgeMode::emBeyond:
        return std::clamp(lo + i, 0, size - 1);
    case TEdgeMode::emWrap:
        return lo + ((i % n) + n) % n;
    }
    return lo;
}

// One direction: n source samples (fetched through `at`, 8 fractional
// bits) to m outputs with 8 fractional bits.
template <class At>
void Resample1D(At at, int n, int m, TResampleFilter filter, int64_t* out) {
    if (m < n) {
        // Box filter over each output's exact footprint, weights in 8.8.
        for (int i = 0; i < m; ++i) {
            const int64_t from = int64_t(i) * n * 256 / m, to = int64_t(i + 1) * n * 256 / m;
            int64_t sum = 0, weight = 0;
            for (int64_t p = from >> 8; (p << 8) < to; ++p) {
                const int64_t w = std::min(to, (p + 1) << 8) - std::max(from, p << 8);
                sum += w * at(int(p));
                weight += w;
            }
            out[i] = weight ? (sum + weight / 2) / weight : 0;
        }
        return;
    }
    const int64_t step = int64_t(n) * kOne / m;
    int64_t pos = 0;
    for (int i = 0; i < m; ++i, pos += step) {
        const int p = int(pos >> 16);
        const int64_t t = pos & (kOne - 1);
        const int64_t p0 = at(p), p1 = at(p + 1);
        if (filter == TResampleFilter::rfLinear) {
            out[i] = p0 + (t * (p1 - p0)) / kOne;
            continue;
        }
        const int64_t pm = at(p - 1), p2 = at(p + 2);
        // Catmull-Rom: p0 + t((p1 - pm) + t((2pm - 5p0 + 4p1 - p2) + t(3(p0 - p1) + p2 - pm))) / 2.
        int64_t v = 3 * (p0 - p1) + p2 - pm;
        v = (2 * pm - 5 * p0 + 4 * p1 - p2) + v * t / kOne;
        v = (p1 - pm) + v * t / kOne;
        out[i] = p0 + v * t / kOne / 2;
    }
}

uint8_t ToByte(int64_t v) { return uint8_t(std::clamp<int64_t>((v + 128) >> 8, 0, 255)); }

} // namespace

TDIB ResampleBitmap(const TDIB& source, const TRect& sourceRect, int width, int height, TEdgeMode edge,
                    TResampleFilter filter) {
    const TRect& r = sourceRect;
    if (!Supported(source) || width <= 0 || height <= 0 || r.IsEmpty() || r.Left < 0 || r.Top < 0 ||
        r.Right > source.Width() || r.Bottom > source.Height())
        return {};
    const int bpp = source.BitCount() / 8;
    TDIB out(width, height, source.BitCount());
    if (bpp == 1) out.Info().SetColors(source.Info().Colors());
    const int sw = r.Width(), sh = r.Height();

    if (filter == TResampleFilter::rfNearest) {
        int lastRow = -1;
        for (int y = 0; y < height; ++y) {
            const int sy = r.Top + int((int64_t(y) * sh + sh / 2) / height);
            uint8_t* d = out.ScanLine(y);
            if (sy == lastRow) {
                std::copy_n(out.ScanLine(y - 1), out.Stride(), d);
                continue;
            }
            lastRow = sy;
            const uint8_t* s = source.ScanLine(sy);
            for (int x = 0; x < width; ++x) {
                const int sx = r.Left + int((int64_t(x) * sw + sw / 2) / width);
                std::copy_n(s + sx * bpp, bpp, d + x * bpp);
            }
        }
        return out;
    }

    // Horizontal pass over every source row the vertical pass may reach.
    const int margin = 2;
    const int rowLo = -margin, rowCount = sh + 2 * margin;
    std::vector<int64_t> rows(size_t(rowCount) * size_t(width) * size_t(bpp));
    std::vector<int64_t> line(static_cast<size_t>(width));
    for (int j = 0; j < rowCount; ++j) {
        const uint8_t* s = source.ScanLine(EdgeIndex(rowLo + j, r.Top, sh, source.Height(), edge));
        for (int c = 0; c < bpp; ++c) {
            Resample1D(
                [&](int i) {
                    return int64_t(s[EdgeIndex(i, r.Left, sw, source.Width(), edge) * bpp + c]) << 8;
                },
                sw, width, filter, line.data());
            for (int x = 0; x < width; ++x)
                rows[(size_t(j) * size_t(width) + size_t(x)) * size_t(bpp) + size_t(c)] = line[size_t(x)];
        }
    }
    std::vector<int64_t> column(static_cast<size_t>(height));
    for (int x = 0; x < width; ++x) {
        for (int c = 0; c < bpp; ++c) {
            Resample1D(
                [&](int i) {
                    const int j = std::clamp(i, rowLo, rowLo + rowCount - 1) - rowLo;
                    return rows[(size_t(j) * size_t(width) + size_t(x)) * size_t(bpp) + size_t(c)];
                },
                sh, height, filter, column.data());
            for (int y = 0; y < height; ++y) out.ScanLine(y)[x * bpp + c] = ToByte(column[size_t(y)]);
        }
    }
    return out;
}

namespace {

struct TDeriche {
    double N[4], M[4], D[4];
    double CausalGain, AntiGain;
};

TDeriche DericheCoefficients(double sigma) {
    const double a0 = 1.6803, a1 = 3.735, b0 = 1.783, b1 = 1.723, w0 = 0.6318, w1 = 1.997, c0 = -0.6803,
                 c1 = -0.2598;
    const double e0 = std::exp(-b0 / sigma), e1 = std::exp(-b1 / sigma);
    const double cw0 = std::cos(w0 / sigma), sw0 = std::sin(w0 / sigma);
    const double cw1 = std::cos(w1 / sigma), sw1 = std::sin(w1 / sigma);
    TDeriche k{};
    k.N[0] = a0 + c0;
    k.N[1] = e1 * (c1 * sw1 - (c0 + 2 * a0) * cw1) + e0 * (a1 * sw0 - (2 * c0 + a0) * cw0);
    k.N[2] =
        2 * e0 * e1 * ((a0 + c0) * cw1 * cw0 - a1 * cw1 * sw0 - c1 * cw0 * sw1) + c0 * e0 * e0 + a0 * e1 * e1;
    k.N[3] = e1 * e0 * e0 * (c1 * sw1 - c0 * cw1) + e0 * e1 * e1 * (a1 * sw0 - a0 * cw0);
    k.D[0] = -2 * e1 * cw1 - 2 * e0 * cw0;
    k.D[1] = 4 * cw1 * cw0 * e0 * e1 + e1 * e1 + e0 * e0;
    k.D[2] = -2 * cw0 * e0 * e1 * e1 - 2 * cw1 * e1 * e0 * e0;
    k.D[3] = e0 * e0 * e1 * e1;
    for (int i = 0; i < 3; ++i) k.M[i] = k.N[i + 1] - k.D[i] * k.N[0];
    k.M[3] = -k.D[3] * k.N[0];
    const double den = 1 + k.D[0] + k.D[1] + k.D[2] + k.D[3];
    k.CausalGain = (k.N[0] + k.N[1] + k.N[2] + k.N[3]) / den;
    k.AntiGain = (k.M[0] + k.M[1] + k.M[2] + k.M[3]) / den;
    return k;
}

// Filters n values (stride apart) in place; edges replicated.
void DericheLine(uint8_t* p, int n, int stride, const TDeriche& k, std::vector<double>& x,
                 std::vector<double>& y) {
    x.resize(size_t(n));
    y.assign(size_t(n), 0);
    for (int i = 0; i < n; ++i) x[size_t(i)] = p[i * stride];
    const double gain = k.CausalGain + k.AntiGain;
    double xp[4], yp[4];
    std::fill_n(xp, 4, x[0]);
    std::fill_n(yp, 4, x[0] * k.CausalGain);
    for (int i = 0; i < n; ++i) {
        const double xi = x[size_t(i)];
        const double v = k.N[0] * xi + k.N[1] * xp[0] + k.N[2] * xp[1] + k.N[3] * xp[2] - k.D[0] * yp[0] -
                         k.D[1] * yp[1] - k.D[2] * yp[2] - k.D[3] * yp[3];
        std::copy_backward(xp, xp + 3, xp + 4);
        xp[0] = xi;
        std::copy_backward(yp, yp + 3, yp + 4);
        yp[0] = v;
        y[size_t(i)] = v;
    }
    std::fill_n(xp, 4, x[size_t(n - 1)]);
    std::fill_n(yp, 4, x[size_t(n - 1)] * k.AntiGain);
    for (int i = n - 1; i >= 0; --i) {
        const double v = k.M[0] * xp[0] + k.M[1] * xp[1] + k.M[2] * xp[2] + k.M[3] * xp[3] - k.D[0] * yp[0] -
                         k.D[1] * yp[1] - k.D[2] * yp[2] - k.D[3] * yp[3];
        std::copy_backward(xp, xp + 3, xp + 4);
        xp[0] = x[size_t(i)];
        std::copy_backward(yp, yp + 3, yp + 4);
        yp[0] = v;
        y[size_t(i)] += v;
    }
    for (int i = 0; i < n; ++i)
        p[i * stride] = uint8_t(std::clamp<int64_t>(Round(y[size_t(i)] / gain), 0, 255));
}

} // namespace

void GaussianBlur(TDIB& bitmap, const TRect& rect, int rx, int ry) {
    if (!Supported(bitmap)) return;
    const TRect r = IntersectRect(rect, {0, 0, bitmap.Width(), bitmap.Height()});
    if (r.IsEmpty()) return;
    const int bpp = bitmap.BitCount() / 8;
    const double scale = std::sqrt(2 * std::log(255.0));
    std::vector<double> x, y;
    if (std::abs(rx) >= 1) {
        const TDeriche k = DericheCoefficients((std::abs(rx) + 1) / scale);
        for (int row = r.Top; row < r.Bottom; ++row) {
            uint8_t* p = bitmap.ScanLine(row) + r.Left * bpp;
            for (int c = 0; c < bpp; ++c) DericheLine(p + c, r.Width(), bpp, k, x, y);
        }
    }
    if (std::abs(ry) >= 1) {
        const TDeriche k = DericheCoefficients((std::abs(ry) + 1) / scale);
        const int stride = int(bitmap.Stride());
        uint8_t* base = bitmap.ScanLine(r.Top);
        for (int col = r.Left; col < r.Right; ++col)
            for (int c = 0; c < bpp; ++c) DericheLine(base + col * bpp + c, r.Height(), stride, k, x, y);
    }
}

} // namespace vellum
