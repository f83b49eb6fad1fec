#include "imaging/Blender.h"

#include <algorithm>
#include <vector>

namespace vellum {

namespace {

bool Inside(const TRect& r, const TDIB& dib) {
    return !r.IsEmpty() && r.Left >= 0 && r.Top >= 0 && r.Right <= dib.Width() && r.Bottom <= dib.Height();
}

bool SameSize(const TRect& a, const TRect& b) { return a.Width() == b.Width() && a.Height() == b.Height(); }

// a (s - d) / 255 truncated toward zero, for every a and s - d in -255..255.
const std::vector<int16_t>& BlendTable() {
    static const std::vector<int16_t> table = [] {
        std::vector<int16_t> t(256 * 511);
        for (int a = 0; a < 256; ++a)
            for (int diff = -255; diff <= 255; ++diff)
                t[size_t(a * 511 + diff + 255)] = int16_t(a * diff / 255);
        return t;
    }();
    return table;
}

} // namespace

std::array<uint8_t, 256> RatioAlphaTable(int ratio) {
    const int r = std::clamp(ratio, 0, 100);
    std::array<uint8_t, 256> t{};
    for (int a = 0; a < 256; ++a) t[size_t(a)] = uint8_t(std::min(MulDiv(a, r, 100), 255));
    return t;
}

void BlendAlphaRow(uint8_t* dest, int destBpp, const uint8_t* source, int sourceBpp, const uint8_t* alpha,
                   int width, int channels, const std::array<uint8_t, 256>& alphaTable) {
    const int16_t* table = BlendTable().data() + 255;
    for (int x = 0; x < width; ++x, dest += destBpp, source += sourceBpp) {
        const int a = alphaTable[alpha[x]];
        if (a == 0) continue;
        const int16_t* row = table + a * 511;
        for (int c = 0; c < channels; ++c) dest[c] = uint8_t(dest[c] + row[source[c] - dest[c]]);
    }
}

bool TGRBlender::CanBlend() const {
    if (!Target || !Source || Target->BitCount() != Source->BitCount()) return false;
    if (Target->BitCount() != 24 && Target->BitCount() != 32) return false;
    return Inside(TargetRect, *Target) && Inside(SourceRect, *Source) && SameSize(TargetRect, SourceRect);
}

bool TGRBlendAlphaMap::CanBlend() const {
    return TGRBlender::CanBlend() && AlphaMap && AlphaMap->BitCount() == 8 && Inside(AlphaRect, *AlphaMap) &&
           SameSize(AlphaRect, TargetRect);
}

std::array<uint8_t, 256> TGRBlendAlphaMap::AlphaTable() const {
    std::array<uint8_t, 256> t{};
    for (int a = 0; a < 256; ++a) t[size_t(a)] = uint8_t(a);
    return t;
}

void TGRBlendAlphaMap::Blend() {
    if (!CanBlend()) return;
    const auto alphaTable = AlphaTable();
    const int bpp = Target->BitCount() / 8;
    const int h = TargetRect.Height();
    if (Progress) Progress->SetSteps(h / 64 + 1);
    for (int y = 0; y < h; ++y) {
        BlendAlphaRow(Target->ScanLine(TargetRect.Top + y) + TargetRect.Left * bpp, bpp,
                      Source->ScanLine(SourceRect.Top + y) + SourceRect.Left * bpp, bpp,
                      AlphaMap->ScanLine(AlphaRect.Top + y) + AlphaRect.Left, TargetRect.Width(), bpp,
                      alphaTable);
        if (Progress && (y + 1) % 64 == 0) Progress->Step();
    }
    if (Progress) Progress->Step();
}

std::array<uint8_t, 256> TGRBlendAlphaMapRatio::AlphaTable() const { return RatioAlphaTable(Ratio); }

} // namespace vellum
