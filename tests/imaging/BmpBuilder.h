#pragma once
// Builds BMP files field by field, so tests can write valid and broken ones.

#include "base/Stream.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace vellum::test {

struct TBmpSpec {
    uint32_t HeaderSize = 40;
    int32_t Width = 1;
    int32_t Height = 1;
    uint16_t Planes = 1;
    uint16_t BitCount = 24;
    uint32_t Compression = 0;
    uint32_t ColorsUsed = 0;
    uint32_t SizeImage = 0;
    std::vector<uint32_t> Masks{};  // written behind a 40-byte header
    std::vector<uint32_t> Colors{}; // 0x00RRGGBB as stored little-endian (B, G, R, 0)
    QByteArray Bits{};              // as stored in the file
    int64_t OffBits = -1;           // -1: right behind the table
};

inline QByteArray BuildBmp(const TBmpSpec& s) {
    QByteArray info;
    auto u16 = [](QByteArray& b, uint16_t v) { b.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto u32 = [&](QByteArray& b, uint32_t v) {
        u16(b, uint16_t(v));
        u16(b, uint16_t(v >> 16));
    };
    if (s.HeaderSize == 12) {
        u32(info, 12);
        u16(info, uint16_t(s.Width));
        u16(info, uint16_t(s.Height));
        u16(info, s.Planes);
        u16(info, s.BitCount);
        for (uint32_t c : s.Colors) info.append(char(c)).append(char(c >> 8)).append(char(c >> 16));
    } else {
        u32(info, s.HeaderSize);
        u32(info, uint32_t(s.Width));
        u32(info, uint32_t(s.Height));
        u16(info, s.Planes);
        u16(info, s.BitCount);
        u32(info, s.Compression);
        u32(info, s.SizeImage);
        u32(info, 0);
        u32(info, 0);
        u32(info, s.ColorsUsed);
        u32(info, 0);
        while (uint32_t(info.size()) < s.HeaderSize) info.append('\0');
        for (uint32_t m : s.Masks) u32(info, m);
        for (uint32_t c : s.Colors) u32(info, c);
    }
    const int64_t off = s.OffBits >= 0 ? s.OffBits : 14 + info.size();
    QByteArray file("BM");
    u32(file, uint32_t(14 + info.size() + s.Bits.size()));
    u32(file, 0);
    u32(file, uint32_t(off));
    file.append(info);
    file.append(s.Bits);
    return file;
}

inline QByteArray Hex(const char* hex) { return QByteArray::fromHex(hex); }

} // namespace vellum::test
