#include "imaging/Effector.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace vellum {

namespace {

bool IsTrueColor(const TDIB& dib) { return !dib.Empty() && (dib.BitCount() == 24 || dib.BitCount() == 32); }

// (2s + 9) div 18 for every sum of nine channel values: the rounded mean.
const std::array<uint8_t, 9 * 255 + 1>& BlurDivTable() {
    static const auto table = [] {
        std::array<uint8_t, 9 * 255 + 1> t{};
        for (int s = 0; s < int(t.size()); ++s) t[size_t(s)] = uint8_t(std::min((2 * s + 9) / 18, 255));
        return t;
    }();
    return table;
}

// Horizontal three-pixel sums of one row, the end pixels counted twice.
void RowSums(const uint8_t* row, int width, int bpp, int* out) {
    for (int c = 0; c < bpp; ++c) {
        if (width == 1) {
            out[c] = 3 * row[c];
            continue;
        }
        out[c] = 2 * row[c] + row[bpp + c];
        for (int x = 1; x < width - 1; ++x)
            out[x * bpp + c] = row[(x - 1) * bpp + c] + row[x * bpp + c] + row[(x + 1) * bpp + c];
        const int last = (width - 1) * bpp + c;
        out[last] = row[last - bpp] + 2 * row[last];
    }
}

// Hue, saturation and lightness as the usual HSL rule gives them.
struct THSL {
    double H = 0, S = 0, L = 0;
};

THSL ToHSL(TColor c) {
    const double r = double(c & 0xFF) / 255, g = double((c >> 8) & 0xFF) / 255,
                 b = double((c >> 16) & 0xFF) / 255;
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    THSL hsl;
    hsl.L = (mx + mn) / 2;
    if (mx == mn) return hsl;
    const double d = mx - mn;
    hsl.S = hsl.L <= 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
    double h;
    if (r == mx)
        h = (g - b) / d;
    else if (g == mx)
        h = 2 + (b - r) / d;
    else
        h = 4 + (r - g) / d;
    h *= 60;
    while (h < 0) h += 360;
    while (h >= 360) h -= 360;
    hsl.H = h;
    return hsl;
}

double HueChannel(double m1, double m2, double h) {
    while (h < 0) h += 360;
    while (h >= 360) h -= 360;
    if (h < 60) return m1 + (m2 - m1) * h / 60;
    if (h < 180) return m2;
    if (h < 240) return m1 + (m2 - m1) * (240 - h) / 60;
    return m1;
}

// Trunc(v * 255) of a value whose exact form is a fraction with a
// denominator far below 1e7: the small bias keeps results that are exact
// integers from falling one short through rounding errors.
uint8_t TruncChannel(double v) {
    const double x = v * 255 + 1e-7;
    return uint8_t(std::clamp(int(x), 0, 255));
}

} // namespace

// ---------------------------------------------------------------- base

bool TGREffector::Begin(bool buildsTable) {
    if (!Source || !Target || !IsTrueColor(*Source)) return false;
    const TRect whole{0, 0, Source->Width(), Source->Height()};
    FRect = SourceRect.IsEmpty() ? whole : IntersectRect(SourceRect, whole);
    if (FRect.IsEmpty()) return false;
    *Target = TDIB(FRect.Width(), FRect.Height(), Source->BitCount());
    if (Progress) {
        Progress->SetSteps(FRect.Height() / 64 + (buildsTable ? 2 : 1));
        if (buildsTable) Progress->Step();
    }
    return true;
}

void TGREffector::RowDone(int y) {
    if (Progress && (y + 1) % 64 == 0) Progress->Step();
}

void TGREffector::End() {
    if (Progress) Progress->Step();
}

// ---------------------------------------------------------------- monotone

std::array<TColor, 256> TGREffectMonoTone::MakeTable(TColor refColor) {
    const THSL hsl = ToHSL(refColor);
    std::array<TColor, 256> table{};
    for (int j = 0; j < 256; ++j) {
        const double l = double(j) / 255;
        double r = l, g = l, b = l;
        if (hsl.S != 0) {
            const double m2 = l <= 0.5 ? l * (1 + hsl.S) : l + hsl.S - l * hsl.S;
            const double m1 = 2 * l - m2;
            r = HueChannel(m1, m2, hsl.H + 120);
            g = HueChannel(m1, m2, hsl.H);
            b = HueChannel(m1, m2, hsl.H - 120);
        }
        table[size_t(j)] =
            TColor(TruncChannel(r)) | (TColor(TruncChannel(g)) << 8) | (TColor(TruncChannel(b)) << 16);
    }
    return table;
}

void TGREffectMonoTone::Run() {
    if (!Begin(true)) return;
    const auto table = MakeTable(RefColor);
    const int bpp = BytesPerPixel();
    for (int y = 0; y < FRect.Height(); ++y) {
        const uint8_t* s = SourceRow(y);
        uint8_t* d = Target->ScanLine(y);
        for (int x = 0; x < FRect.Width(); ++x, s += bpp, d += bpp) {
            const TColor c = table[size_t((29 * s[0] + 150 * s[1] + 77 * s[2]) >> 8)];
            d[0] = uint8_t(c >> 16);
            d[1] = uint8_t(c >> 8);
            d[2] = uint8_t(c);
            if (bpp == 4) d[3] = s[3];
        }
        RowDone(y);
    }
    End();
}

// ---------------------------------------------------------------- brightness and contrast

// Worked in integers: with b = brightness, k = contrast (percent) and
// n = 255b + 100j - 12750 (that is 25500 (c - 0.5)), f * 255 + 0.5 is
// n (100 + k) / 10000 + 128 for k < 0 and n / (100 - k) + 128 for
// 0 <= k < 100; k = 100 gives 255 when c >= 0.5, else 0.
std::array<uint8_t, 256> TGREffectBrightnessContrast::MakeTable(int brightness, int contrast) {
    const int64_t b = std::clamp(brightness, -100, 100);
    const int64_t k = std::clamp(contrast, -100, 100);
    std::array<uint8_t, 256> table{};
    for (int j = 0; j < 256; ++j) {
        const int64_t n = 255 * b + 100 * j - 12750;
        int64_t v;
        if (k == 100) {
            v = n >= 0 ? 255 : 0;
        } else {
            const int64_t num = k < 0 ? n * (100 + k) + 128 * 10000 : n + 128 * (100 - k);
            const int64_t den = k < 0 ? 10000 : 100 - k;
            v = num < 0 ? 0 : num / den; // Trunc of a negative value clamps to 0 anyway
        }
        table[size_t(j)] = uint8_t(std::clamp<int64_t>(v, 0, 255));
    }
    return table;
}

void TGREffectBrightnessContrast::Run() {
    if (!Begin(true)) return;
    const auto table = MakeTable(Brightness, Contrast);
    const int bpp = BytesPerPixel();
    for (int y = 0; y < FRect.Height(); ++y) {
        const uint8_t* s = SourceRow(y);
        uint8_t* d = Target->ScanLine(y);
        for (int x = 0; x < FRect.Width(); ++x, s += bpp, d += bpp) {
            d[0] = table[s[0]];
            d[1] = table[s[1]];
            d[2] = table[s[2]];
            if (bpp == 4) d[3] = s[3];
        }
        RowDone(y);
    }
    End();
}

// ---------------------------------------------------------------- blur

TDIB BlurPass(const TDIB& source, const TRect& rect) {
    const int bpp = source.BitCount() / 8;
    const int w = rect.Width(), h = rect.Height();
    TDIB out(w, h, source.BitCount());
    if (out.Empty()) return out;
    const auto& div = BlurDivTable();
    const size_t n = size_t(w) * size_t(bpp);
    std::vector<int> above(n), current(n), below(n);
    auto sums = [&](int y, std::vector<int>& into) {
        RowSums(source.ScanLine(rect.Top + y) + rect.Left * bpp, w, bpp, into.data());
    };
    sums(0, current);
    above = current;
    for (int y = 0; y < h; ++y) {
        if (y + 1 < h)
            sums(y + 1, below);
        else
            below = current;
        uint8_t* d = out.ScanLine(y);
        for (size_t i = 0; i < n; ++i) d[i] = div[size_t(above[i] + current[i] + below[i])];
        std::swap(above, current);
        std::swap(current, below);
    }
    return out;
}

void TGREffectBlur::Run() {
    if (!Begin(false)) return;
    TDIB result = BlurPass(*Source, FRect);
    for (int pass = 1; pass < PassCount; ++pass)
        result = BlurPass(result, {0, 0, result.Width(), result.Height()});
    *Target = std::move(result);
    for (int y = 0; y < FRect.Height(); ++y) RowDone(y);
    End();
}

// ---------------------------------------------------------------- unsharp mask

void TGREffectUnsharpMask::Run() {
    if (!Begin(false)) return;
    const int passes = int(Round(Amount));
    TDIB blurred;
    if (passes > 0) {
        blurred = BlurPass(*Source, FRect);
        for (int pass = 1; pass < passes; ++pass)
            blurred = BlurPass(blurred, {0, 0, blurred.Width(), blurred.Height()});
    }
    const int bpp = BytesPerPixel();
    const size_t n = size_t(FRect.Width()) * size_t(bpp);
    for (int y = 0; y < FRect.Height(); ++y) {
        const uint8_t* s = SourceRow(y);
        const uint8_t* t = passes > 0 ? blurred.ScanLine(y) : s;
        uint8_t* d = Target->ScanLine(y);
        for (size_t i = 0; i < n; ++i) d[i] = uint8_t(std::clamp(2 * s[i] - t[i], 0, 255));
        RowDone(y);
    }
    End();
}

// ---------------------------------------------------------------- colour change

void TGREffectColorChange::Run() {
    if (!Begin(false)) return;
    const int bpp = BytesPerPixel();
    // Pixel bytes blue, green, red of the colours.
    const uint32_t from = ((OldColor >> 16) & 0xFF) | (OldColor & 0xFF00) | ((OldColor & 0xFF) << 16);
    const uint8_t to[3] = {uint8_t(NewColor >> 16), uint8_t(NewColor >> 8), uint8_t(NewColor)};
    for (int y = 0; y < FRect.Height(); ++y) {
        const uint8_t* s = SourceRow(y);
        uint8_t* d = Target->ScanLine(y);
        std::memcpy(d, s, size_t(FRect.Width()) * size_t(bpp));
        for (int x = 0; x < FRect.Width(); ++x, s += bpp, d += bpp) {
            const uint32_t v =
                bpp == 4 ? GetLE32(s) : uint32_t(s[0]) | (uint32_t(s[1]) << 8) | (uint32_t(s[2]) << 16);
            if (v != from) continue;
            std::memcpy(d, to, 3);
            if (bpp == 4) d[3] = 0;
        }
        RowDone(y);
    }
    End();
}

} // namespace vellum
