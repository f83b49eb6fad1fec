#include "imaging/BMPInfo.h"

#include "base/Stream.h"

namespace vellum {

namespace {

uint8_t* At(QByteArray& b, int offset) { return reinterpret_cast<uint8_t*>(b.data()) + offset; }
const uint8_t* At(const QByteArray& b, int offset) {
    return reinterpret_cast<const uint8_t*>(b.constData()) + offset;
}

} // namespace

TBMPInfo::TBMPInfo() : FBlock(40, '\0') {
    PutLE32(At(FBlock, 0), 40);
    PutLE16(At(FBlock, 12), 1);
    PutLE16(At(FBlock, 14), 24);
}

TBMPInfo TBMPInfo::FromBlock(QByteArray block) {
    TBMPInfo info;
    info.FBlock = std::move(block);
    return info;
}

uint32_t TBMPInfo::HeaderSize() const { return GetLE32(At(FBlock, 0)); }
int32_t TBMPInfo::Width() const { return int32_t(GetLE32(At(FBlock, 4))); }
int32_t TBMPInfo::Height() const { return int32_t(GetLE32(At(FBlock, 8))); }
uint16_t TBMPInfo::BitCount() const { return GetLE16(At(FBlock, 14)); }
uint32_t TBMPInfo::Compression() const { return GetLE32(At(FBlock, 16)); }
uint32_t TBMPInfo::ColorsUsed() const { return GetLE32(At(FBlock, 32)); }
int32_t TBMPInfo::XPelsPerMeter() const { return int32_t(GetLE32(At(FBlock, 24))); }
int32_t TBMPInfo::YPelsPerMeter() const { return int32_t(GetLE32(At(FBlock, 28))); }
void TBMPInfo::SetWidth(int32_t v) { PutLE32(At(FBlock, 4), uint32_t(v)); }
void TBMPInfo::SetHeight(int32_t v) { PutLE32(At(FBlock, 8), uint32_t(v)); }
void TBMPInfo::SetBitCount(uint16_t v) { PutLE16(At(FBlock, 14), v); }
void TBMPInfo::SetSizeImage(uint32_t v) { PutLE32(At(FBlock, 20), v); }

void TBMPInfo::SetPelsPerMeter(int32_t x, int32_t y) {
    PutLE32(At(FBlock, 24), uint32_t(x));
    PutLE32(At(FBlock, 28), uint32_t(y));
}

void TBMPInfo::SetCompression(uint32_t v) {
    const std::vector<TColor> colors = Colors();
    const uint32_t red = Mask(0), green = Mask(1), blue = Mask(2);
    const bool hadMasks = MaskBytes() > 0;
    PutLE32(At(FBlock, 16), v);
    // Masks behind a 40-byte header come and go with the compression.
    if (HeaderSize() == 40) {
        FBlock.truncate(40);
        if (MaskBytes() > 0) FBlock.append(12, '\0');
        if (MaskBytes() > 0 && hadMasks) SetMasks(red, green, blue);
        SetColors(colors);
    }
}

int TBMPInfo::MaskBytes() const { return HeaderSize() == 40 && Compression() == BI_BITFIELDS ? 12 : 0; }

int TBMPInfo::DefaultColorCount(uint16_t bitCount, uint32_t colorsUsed) {
    if (colorsUsed != 0) return int(std::min<uint32_t>(colorsUsed, 1u << 16));
    return bitCount <= 8 ? 1 << bitCount : 0;
}

int TBMPInfo::ColorCount() const { return int((FBlock.size() - TableOffset()) / 4); }

TColor TBMPInfo::Color(int index) const {
    const uint8_t* q = At(FBlock, TableOffset() + 4 * index);
    return TColor(q[2]) | (TColor(q[1]) << 8) | (TColor(q[0]) << 16);
}

std::vector<TColor> TBMPInfo::Colors() const {
    std::vector<TColor> out(static_cast<size_t>(ColorCount()));
    for (int i = 0; i < ColorCount(); ++i) out[size_t(i)] = Color(i);
    return out;
}

void TBMPInfo::SetColors(const std::vector<TColor>& colors) {
    FBlock.truncate(TableOffset());
    FBlock.append(qsizetype(colors.size()) * 4, '\0');
    for (size_t i = 0; i < colors.size(); ++i) {
        uint8_t* q = At(FBlock, TableOffset() + 4 * int(i));
        q[0] = uint8_t(colors[i] >> 16);
        q[1] = uint8_t(colors[i] >> 8);
        q[2] = uint8_t(colors[i]);
    }
    const bool full = int(colors.size()) == DefaultColorCount(BitCount(), 0);
    PutLE32(At(FBlock, 32), full ? 0 : uint32_t(colors.size()));
}

uint32_t TBMPInfo::Mask(int index) const {
    if (Compression() == BI_BITFIELDS) {
        // Behind a 40-byte header or inside a larger one: at 40 either way.
        if (FBlock.size() >= 52) return GetLE32(At(FBlock, 40 + 4 * index));
    }
    if (BitCount() == 16) {
        static constexpr uint32_t rgb555[3] = {0x7C00, 0x03E0, 0x001F};
        return rgb555[index];
    }
    static constexpr uint32_t rgb888[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    return rgb888[index];
}

void TBMPInfo::SetMasks(uint32_t red, uint32_t green, uint32_t blue) {
    if (FBlock.size() < 52) return;
    PutLE32(At(FBlock, 40), red);
    PutLE32(At(FBlock, 44), green);
    PutLE32(At(FBlock, 48), blue);
}

} // namespace vellum
