#pragma once
// The one bitmap type of the program: a BMP information block and pixel rows
// in BMP byte order (BGR, BGRx, palette indices, most significant bit first),
// padded to 4 bytes. Rows are kept top-down in memory whatever the file
// said, so QImage views of them need no copy.

#include "base/Stream.h"
#include "imaging/BMPInfo.h"
#include "platform/Canvas.h"

#include <QImage>

#include <memory>

namespace vellum {

// "ビットマップイメージが不正です"
QString InvalidBitmapMessage();

// Pixel memory shared between copies of a bitmap; it either owns its bytes
// or borrows memory its creator keeps alive.
class TBitsHolder {
public:
    static std::shared_ptr<TBitsHolder> Own(int64_t size);
    static std::shared_ptr<TBitsHolder> Borrow(uint8_t* data, int64_t size);
    uint8_t* Data() { return FData; }
    const uint8_t* Data() const { return FData; }
    int64_t Size() const { return FSize; }
    bool OwnsMemory() const { return !FOwned.empty() || FSize == 0; }

private:
    std::vector<uint8_t> FOwned;
    uint8_t* FData = nullptr;
    int64_t FSize = 0;
};

class TDIB {
public:
    TDIB() = default;
    // Zeroed pixels; palettes of up to 8 bits start as the grey ramp (or
    // black and white).
    TDIB(int width, int height, int bitCount);

    bool Empty() const { return FWidth <= 0 || FHeight <= 0; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int BitCount() const { return FInfo.BitCount(); }
    int64_t Stride() const { return TBMPInfo::RowSize(FWidth, BitCount()); }
    const TBMPInfo& Info() const { return FInfo; }
    // Only the colour table, masks and resolution may be changed this way.
    TBMPInfo& Info() { return FInfo; }
    // 32-bit pixels whose fourth byte is alpha (from PNG pictures).
    bool HasAlpha() const { return FAlpha; }
    void SetHasAlpha(bool alpha) { FAlpha = alpha && BitCount() == 32; }

    const uint8_t* ScanLine(int y) const { return FBits->Data() + Stride() * y; }
    // Writing detaches shared pixels first.
    uint8_t* ScanLine(int y);
    const TBitsHolder& Bits() const { return *FBits; }

    // The pixel as 0x00BBGGRR.
    TColor Pixel(int x, int y) const;
    // The raw value: an index, or the pixel's bytes little-endian.
    uint32_t RawPixel(int x, int y) const;
    void SetRawPixel(int x, int y, uint32_t value);

    // A view of the rows (no copy) where QImage has the format: 1, 8, 16
    // (5-5-5, 5-6-5), 24 and 32 bits; a null image otherwise. An 8-bit
    // bitmap with the grey ramp can be viewed as a grey image to paint on.
    QImage View() const;
    QImage PaintableView();
    // Always an image: the view, or a converted copy.
    QImage ToImage() const;
    // 24 bits, or 32 with alpha when the image has an alpha channel.
    static TDIB FromImage(const QImage& image);
    // The bitmap itself when it has 24 bits, else a 24-bit copy of its colours.
    TDIB To24Bit() const;

    // A BMP file in memory, every field checked; raises EInvalidGraphic
    // ("ビットマップイメージが不正です").
    static TDIB FromBMP(QByteArrayView bytes);
    // A BMP (or a compressed envelope holding one) at the stream position;
    // reads exactly the bitmap's bytes.
    static TDIB ReadBMP(TStream& stream);
    // Bottom-up, uncompressed (bit fields kept), 4-byte rows.
    QByteArray ToBMP() const;
    void WriteBMP(TStream& stream) const;

    // Destination column j of n from a source span of w starting at x0:
    // x0 + (w + 2jw) div 2n (centre sampling).
    static int SampleIndex(int x0, int w, int j, int n) {
        return x0 + int((int64_t(w) + 2 * int64_t(j) * w) / (2 * int64_t(n)));
    }
    // The part `visible` (relative to a destination of `destSize`) of the
    // source rectangle resampled to that destination size.
    TDIB Resample(const TRect& source, QSize destSize, const TRect& visible) const;
    // Draws the source rectangle (whole bitmap by default) stretched over a
    // logical destination with the canvas's copy mode. On screens and
    // bitmaps a scaled draw resamples only the visible part itself; when the
    // device refuses the image it is drawn one destination row at a time.
    void Draw(TCanvas& canvas, const TRect& dest) const;
    void Draw(TCanvas& canvas, const TRect& dest, const TRect& source) const;

    // 256 entries, entry i = (i, i, i).
    static const std::vector<TColor>& GreyRamp();
    // The palette for 8-bit pictures without one of their own: a halftone
    // palette (the 6 x 6 x 6 colour cube and a ramp of greys).
    static const std::vector<TColor>& DefaultPalette();

private:
    TBMPInfo FInfo;
    int FWidth = 0;
    int FHeight = 0;
    bool FAlpha = false;
    std::shared_ptr<TBitsHolder> FBits = TBitsHolder::Own(0);
};

} // namespace vellum
