#pragma once
// The bitmap information block of a BMP: the information header followed by
// the bit-field masks (40-byte headers only) and the colour table.

#include "platform/Canvas.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace vellum {

inline constexpr uint32_t BI_RGB = 0;
inline constexpr uint32_t BI_RLE8 = 1;
inline constexpr uint32_t BI_RLE4 = 2;
inline constexpr uint32_t BI_BITFIELDS = 3;

class TBMPInfo {
public:
    // A 40-byte header, one plane, 24 bits per pixel.
    TBMPInfo();

    // Takes a header block as read (40 bytes or more) with its masks and
    // colour table; the caller has checked the sizes.
    static TBMPInfo FromBlock(QByteArray block);

    const QByteArray& Block() const { return FBlock; }
    uint32_t HeaderSize() const;
    int32_t Width() const;
    int32_t Height() const;
    uint16_t BitCount() const;
    uint32_t Compression() const;
    uint32_t ColorsUsed() const;
    int32_t XPelsPerMeter() const;
    int32_t YPelsPerMeter() const;
    void SetWidth(int32_t v);
    void SetHeight(int32_t v);
    void SetBitCount(uint16_t v);
    void SetCompression(uint32_t v);
    void SetSizeImage(uint32_t v);
    void SetPelsPerMeter(int32_t x, int32_t y);

    // Colour-table entries: the colours-used field, else 2^bits up to 8 bits.
    static int DefaultColorCount(uint16_t bitCount, uint32_t colorsUsed);
    int ColorCount() const;
    // Entries as 0x00BBGGRR colours; setting resizes the table (and sets the
    // colours-used field, 0 when the table is the full default size).
    TColor Color(int index) const;
    std::vector<TColor> Colors() const;
    void SetColors(const std::vector<TColor>& colors);
    // The bit-field masks (red, green, blue); the BI_RGB defaults otherwise.
    uint32_t Mask(int index) const;
    void SetMasks(uint32_t red, uint32_t green, uint32_t blue);

    // Bytes of one row (padded to 4) and of all rows.
    static int64_t RowSize(int64_t width, int bitCount) { return (width * bitCount + 31) / 32 * 4; }
    int64_t RowSize() const { return RowSize(Width(), BitCount()); }
    int64_t ImageSize() const { return RowSize() * std::abs(int64_t(Height())); }

private:
    int MaskBytes() const;
    int TableOffset() const { return int(HeaderSize()) + MaskBytes(); }

    QByteArray FBlock;
};

} // namespace vellum
