#include "imaging/DIB.h"

#include "base/Exceptions.h"
#include "imaging/Envelope.h"

#include <bit>
#include <cstring>

namespace vellum {

namespace {

[[noreturn]] void Invalid() { throw EInvalidGraphic(InvalidBitmapMessage()); }

bool KnownBitCount(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// An RLE stream decodes to at most this many pixels per byte: a two-byte
// run covers 255 pixels. Larger claims are refused before allocating.
constexpr int64_t kRlePixelsPerByte = 256;

uint8_t Scale8(uint32_t value, uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const uint32_t max = mask >> shift;
    const uint32_t v = (value & mask) >> shift;
    return uint8_t((v * 255 + max / 2) / max);
}

QList<QRgb> ColorTable(const TBMPInfo& info, int entries) {
    QList<QRgb> table;
    for (int i = 0; i < entries; ++i) {
        const TColor c = i < info.ColorCount() ? info.Color(i) : 0;
        table.push_back(qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)));
    }
    return table;
}

struct TParsed {
    TBMPInfo Info;
    int64_t BitsStart = 0;
    int64_t BitsLength = 0; // bytes available to the pixel data
};

// Checks the headers of a BMP of `size` bytes at p (of which `present` are
// at hand) and says where its pixels are.
TParsed ParseHeaders(const uint8_t* p, int64_t present) {
    if (present < 14 + 12 || p[0] != 'B' || p[1] != 'M') Invalid();
    const uint32_t offBits = GetLE32(p + 10);
    const uint32_t headerSize = GetLE32(p + 14);
    TParsed out;
    int64_t tableEnd = 0;
    if (headerSize == 12) {
        const int width = GetLE16(p + 18), height = GetLE16(p + 20);
        const int planes = GetLE16(p + 22), bits = GetLE16(p + 24);
        if (planes != 1 || !(bits == 1 || bits == 4 || bits == 8 || bits == 24)) Invalid();
        const int colors = bits <= 8 ? 1 << bits : 0;
        tableEnd = 14 + 12 + 3 * int64_t(colors);
        if (tableEnd > present) Invalid();
        // Widened to the 40-byte form with 4-byte entries.
        out.Info.SetWidth(width);
        out.Info.SetHeight(height);
        out.Info.SetBitCount(uint16_t(bits));
        std::vector<TColor> table(static_cast<size_t>(colors));
        for (int i = 0; i < colors; ++i) {
            const uint8_t* q = p + 26 + 3 * i;
            table[size_t(i)] = TColor(q[2]) | (TColor(q[1]) << 8) | (TColor(q[0]) << 16);
        }
        out.Info.SetColors(table);
    } else {
        if (headerSize < 40 || int64_t(headerSize) > present - 14) Invalid();
        const int bits = GetLE16(p + 28);
        const uint32_t compression = GetLE32(p + 30);
        const uint32_t colorsUsed = GetLE32(p + 46);
        if (GetLE16(p + 26) != 1 || !KnownBitCount(bits)) Invalid();
        switch (compression) {
        case BI_RGB:
            break;
        case BI_RLE8:
            if (bits != 8) Invalid();
            break;
        case BI_RLE4:
            if (bits != 4) Invalid();
            break;
        case BI_BITFIELDS:
            if (bits != 16 && bits != 32) Invalid();
            break;
        default:
            Invalid();
        }
        if (bits <= 8 && colorsUsed > (1u << bits)) Invalid();
        if (bits > 8 && colorsUsed > 256) Invalid();
        const int maskBytes = headerSize == 40 && compression == BI_BITFIELDS ? 12 : 0;
        const int colors = TBMPInfo::DefaultColorCount(uint16_t(bits), colorsUsed);
        tableEnd = 14 + int64_t(headerSize) + maskBytes + 4 * int64_t(colors);
        if (tableEnd > present) Invalid();
        out.Info =
            TBMPInfo::FromBlock(QByteArray(reinterpret_cast<const char*>(p + 14), qsizetype(tableEnd - 14)));
        if (compression == BI_BITFIELDS) {
            for (int i = 0; i < 3; ++i) {
                if (out.Info.Mask(i) == 0) Invalid();
            }
        }
    }
    const int64_t width = out.Info.Width(), height = out.Info.Height();
    if (width <= 0 || height == 0 || height == INT32_MIN) Invalid();
    if (TBMPInfo::RowSize(width, out.Info.BitCount()) > INT32_MAX) Invalid();
    const bool rle = out.Info.Compression() == BI_RLE8 || out.Info.Compression() == BI_RLE4;
    if (rle && height < 0) Invalid(); // run-length bitmaps are bottom-up only
    out.BitsStart = offBits != 0 ? int64_t(offBits) : tableEnd;
    if (out.BitsStart < tableEnd) Invalid();
    return out;
}

void CopyRows(TDIB& dib, const uint8_t* bits, bool bottomUp) {
    const int64_t stride = dib.Stride();
    for (int y = 0; y < dib.Height(); ++y) {
        const int src = bottomUp ? dib.Height() - 1 - y : y;
        std::memcpy(dib.ScanLine(y), bits + stride * src, size_t(stride));
    }
}

void DecodeRle(TDIB& dib, const uint8_t* d, int64_t length, bool four) {
    const int w = dib.Width(), h = dib.Height();
    int x = 0, y = 0; // y counts from the bottom row
    auto put = [&](uint32_t value) {
        if (x >= w || y >= h) Invalid();
        dib.SetRawPixel(x++, h - 1 - y, value);
    };
    int64_t i = 0;
    while (i + 1 < length) {
        const uint8_t a = d[i], b = d[i + 1];
        i += 2;
        if (a > 0) {
            for (int k = 0; k < a; ++k) put(four ? ((k & 1) ? b & 0x0F : b >> 4) : b);
        } else if (b == 0) {
            x = 0;
            ++y;
        } else if (b == 1) {
            return;
        } else if (b == 2) {
            if (i + 1 >= length) Invalid();
            x += d[i];
            y += d[i + 1];
            i += 2;
            if (x > w || y > h) Invalid();
        } else {
            const int64_t bytes = four ? (b + 1) / 2 : b;
            if (i + bytes > length) Invalid();
            for (int k = 0; k < b; ++k)
                put(four ? ((k & 1) ? d[i + k / 2] & 0x0F : d[i + k / 2] >> 4) : d[i + k]);
            i += (bytes + 1) & ~int64_t(1);
        }
    }
}

} // namespace

QString InvalidBitmapMessage() { return QStringLiteral("ビットマップイメージが不正です"); }

std::shared_ptr<TBitsHolder> TBitsHolder::Own(int64_t size) {
    auto holder = std::make_shared<TBitsHolder>();
    holder->FOwned.assign(size_t(size), 0);
    holder->FData = holder->FOwned.data();
    holder->FSize = size;
    return holder;
}

std::shared_ptr<TBitsHolder> TBitsHolder::Borrow(uint8_t* data, int64_t size) {
    auto holder = std::make_shared<TBitsHolder>();
    holder->FData = data;
    holder->FSize = size;
    return holder;
}

TDIB::TDIB(int width, int height, int bitCount) {
    if (width <= 0 || height <= 0 || !KnownBitCount(bitCount)) return;
    FWidth = width;
    FHeight = height;
    FInfo.SetWidth(width);
    FInfo.SetHeight(height);
    FInfo.SetBitCount(uint16_t(bitCount));
    FInfo.SetSizeImage(uint32_t(FInfo.ImageSize()));
    if (bitCount == 1) FInfo.SetColors({clBlack, clWhite});
    if (bitCount == 4) {
        std::vector<TColor> grey(16);
        for (int i = 0; i < 16; ++i) grey[size_t(i)] = TColor(i * 17) * 0x010101;
        FInfo.SetColors(grey);
    }
    if (bitCount == 8) FInfo.SetColors(GreyRamp());
    FBits = TBitsHolder::Own(FInfo.ImageSize());
}

uint8_t* TDIB::ScanLine(int y) {
    if (FBits.use_count() > 1 || !FBits->OwnsMemory()) {
        auto copy = TBitsHolder::Own(FBits->Size());
        std::memcpy(copy->Data(), FBits->Data(), size_t(FBits->Size()));
        FBits = std::move(copy);
    }
    return FBits->Data() + Stride() * y;
}

uint32_t TDIB::RawPixel(int x, int y) const {
    const uint8_t* row = ScanLine(y);
    switch (BitCount()) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    case 8:
        return row[x];
    case 16:
        return GetLE16(row + 2 * x);
    case 24:
        return uint32_t(row[3 * x]) | (uint32_t(row[3 * x + 1]) << 8) | (uint32_t(row[3 * x + 2]) << 16);
    default:
        return GetLE32(row + 4 * x);
    }
}

void TDIB::SetRawPixel(int x, int y, uint32_t value) {
    uint8_t* row = ScanLine(y);
    switch (BitCount()) {
    case 1: {
        const uint8_t bit = uint8_t(0x80 >> (x & 7));
        row[x >> 3] = value ? row[x >> 3] | bit : row[x >> 3] & ~bit;
        break;
    }
    case 4:
        row[x >> 1] =
            (x & 1) ? (row[x >> 1] & 0xF0) | (value & 0x0F) : (row[x >> 1] & 0x0F) | ((value & 0x0F) << 4);
        break;
    case 8:
        row[x] = uint8_t(value);
        break;
    case 16:
        PutLE16(row + 2 * x, uint16_t(value));
        break;
    case 24:
        row[3 * x] = uint8_t(value);
        row[3 * x + 1] = uint8_t(value >> 8);
        row[3 * x + 2] = uint8_t(value >> 16);
        break;
    default:
        PutLE32(row + 4 * x, value);
        break;
    }
}

TColor TDIB::Pixel(int x, int y) const {
    const uint32_t v = RawPixel(x, y);
    if (BitCount() <= 8) return int(v) < FInfo.ColorCount() ? FInfo.Color(int(v)) : clBlack;
    if (BitCount() == 24) return ((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16);
    return TColor(Scale8(v, FInfo.Mask(0))) | (TColor(Scale8(v, FInfo.Mask(1))) << 8) |
           (TColor(Scale8(v, FInfo.Mask(2))) << 16);
}

QImage TDIB::View() const {
    if (Empty()) return {};
    const uchar* bits = FBits->Data();
    const qsizetype stride = qsizetype(Stride());
    switch (BitCount()) {
    case 1: {
        QImage image(bits, FWidth, FHeight, stride, QImage::Format_Mono);
        image.setColorTable(ColorTable(FInfo, 2));
        return image;
    }
    case 8: {
        QImage image(bits, FWidth, FHeight, stride, QImage::Format_Indexed8);
        image.setColorTable(ColorTable(FInfo, 256));
        return image;
    }
    case 16:
        if (FInfo.Mask(0) == 0x7C00 && FInfo.Mask(1) == 0x03E0 && FInfo.Mask(2) == 0x001F)
            return QImage(bits, FWidth, FHeight, stride, QImage::Format_RGB555);
        if (FInfo.Mask(0) == 0xF800 && FInfo.Mask(1) == 0x07E0 && FInfo.Mask(2) == 0x001F)
            return QImage(bits, FWidth, FHeight, stride, QImage::Format_RGB16);
        return {};
    case 24:
        return QImage(bits, FWidth, FHeight, stride, QImage::Format_BGR888);
    case 32:
        if (FInfo.Mask(0) == 0xFF0000 && FInfo.Mask(1) == 0x00FF00 && FInfo.Mask(2) == 0x0000FF)
            return QImage(bits, FWidth, FHeight, stride,
                          FAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        return {};
    default:
        return {};
    }
}

QImage TDIB::PaintableView() {
    if (Empty()) return {};
    uchar* bits = ScanLine(0);
    const qsizetype stride = qsizetype(Stride());
    switch (BitCount()) {
    case 8:
        if (FInfo.Colors() == GreyRamp())
            return QImage(bits, FWidth, FHeight, stride, QImage::Format_Grayscale8);
        return {};
    case 24:
        return QImage(bits, FWidth, FHeight, stride, QImage::Format_BGR888);
    case 32:
        if (FInfo.Mask(0) == 0xFF0000 && FInfo.Mask(1) == 0x00FF00 && FInfo.Mask(2) == 0x0000FF)
            return QImage(bits, FWidth, FHeight, stride,
                          FAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        return {};
    default:
        return {};
    }
}

QImage TDIB::ToImage() const {
    QImage view = View();
    if (!view.isNull() || Empty()) return view;
    if (BitCount() == 4) {
        QImage image(FWidth, FHeight, QImage::Format_Indexed8);
        image.setColorTable(ColorTable(FInfo, 16));
        for (int y = 0; y < FHeight; ++y) {
            uchar* row = image.scanLine(y);
            for (int x = 0; x < FWidth; ++x) row[x] = uchar(RawPixel(x, y));
        }
        return image;
    }
    QImage image(FWidth, FHeight, QImage::Format_RGB32);
    for (int y = 0; y < FHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < FWidth; ++x) {
            const TColor c = Pixel(x, y);
            row[x] = qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
        }
    }
    return image;
}

TDIB TDIB::FromImage(const QImage& image) {
    if (image.isNull()) return {};
    const bool alpha = image.hasAlphaChannel();
    const QImage source = image.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_BGR888);
    TDIB dib(source.width(), source.height(), alpha ? 32 : 24);
    dib.SetHasAlpha(alpha);
    const size_t bytes = size_t(source.width()) * (alpha ? 4 : 3);
    for (int y = 0; y < source.height(); ++y) std::memcpy(dib.ScanLine(y), source.constScanLine(y), bytes);
    return dib;
}

TDIB TDIB::To24Bit() const {
    if (BitCount() == 24 || Empty()) return *this;
    TDIB out(Width(), Height(), 24);
    for (int y = 0; y < Height(); ++y) {
        uint8_t* row = out.ScanLine(y);
        for (int x = 0; x < Width(); ++x) {
            const TColor c = Pixel(x, y);
            row[3 * x] = uint8_t(c >> 16);
            row[3 * x + 1] = uint8_t(c >> 8);
            row[3 * x + 2] = uint8_t(c);
        }
    }
    return out;
}

TDIB TDIB::FromBMP(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    const int64_t size = bytes.size();
    TParsed parsed = ParseHeaders(p, size);
    if (parsed.BitsStart > size) Invalid();
    TDIB dib;
    dib.FInfo = std::move(parsed.Info);
    TBMPInfo& info = dib.FInfo;
    const int64_t height = info.Height();
    const int64_t absHeight = height < 0 ? -height : height;
    const int64_t available = size - parsed.BitsStart;
    const uint32_t compression = info.Compression();
    const bool rle = compression == BI_RLE8 || compression == BI_RLE4;
    if (rle) {
        if (int64_t(info.Width()) * absHeight > kRlePixelsPerByte * (available + 2)) Invalid();
    } else if (info.ImageSize() > available) {
        Invalid();
    }
    if (absHeight > INT32_MAX) Invalid();
    dib.FWidth = info.Width();
    dib.FHeight = int(absHeight);
    dib.FBits = TBitsHolder::Own(info.ImageSize());
    const uint8_t* bits = p + parsed.BitsStart;
    if (rle) {
        DecodeRle(dib, bits, available, compression == BI_RLE4);
        info.SetCompression(BI_RGB);
    } else {
        CopyRows(dib, bits, height > 0);
    }
    info.SetHeight(dib.FHeight);
    info.SetSizeImage(uint32_t(info.ImageSize()));
    return dib;
}

TDIB TDIB::ReadBMP(TStream& stream) {
    if (HasEnvelope(stream)) {
        const QByteArray data = ReadEnvelope(stream);
        return FromBMP(data);
    }
    const int64_t start = stream.Position();
    const int64_t remaining = stream.Remaining();
    // The headers first, to learn how long the bitmap is.
    QByteArray head = stream.ReadBytes(std::min<int64_t>(remaining, 54));
    const auto* p = reinterpret_cast<const uint8_t*>(head.constData());
    if (head.size() < 18 || p[0] != 'B' || p[1] != 'M') Invalid();
    const uint32_t headerSize = GetLE32(p + 14);
    const int64_t headersEnd = 14 + int64_t(headerSize) + 12 + 4 * 256 * 4; // generous upper bound
    stream.SetPosition(start);
    head = stream.ReadBytes(std::min<int64_t>(remaining, std::min<int64_t>(headersEnd, remaining)));
    TParsed parsed = ParseHeaders(reinterpret_cast<const uint8_t*>(head.constData()), head.size());
    int64_t total;
    if (parsed.Info.Compression() == BI_RLE8 || parsed.Info.Compression() == BI_RLE4) {
        const uint32_t sizeImage =
            GetLE32(reinterpret_cast<const uint8_t*>(parsed.Info.Block().constData()) + 20);
        total = sizeImage != 0 ? parsed.BitsStart + sizeImage : remaining;
    } else {
        total = parsed.BitsStart + parsed.Info.ImageSize();
    }
    if (total > remaining) Invalid();
    stream.SetPosition(start);
    const QByteArray all = stream.ReadBytes(total);
    return FromBMP(all);
}

QByteArray TDIB::ToBMP() const {
    TBMPInfo info = FInfo;
    info.SetHeight(FHeight);
    info.SetSizeImage(uint32_t(info.ImageSize()));
    const int64_t offBits = 14 + info.Block().size();
    const int64_t total = offBits + info.ImageSize();
    QByteArray out(qsizetype(total), '\0');
    auto* p = reinterpret_cast<uint8_t*>(out.data());
    p[0] = 'B';
    p[1] = 'M';
    PutLE32(p + 2, uint32_t(total));
    PutLE32(p + 10, uint32_t(offBits));
    std::memcpy(p + 14, info.Block().constData(), size_t(info.Block().size()));
    const int64_t stride = Stride();
    for (int y = 0; y < FHeight; ++y)
        std::memcpy(p + offBits + stride * (FHeight - 1 - y), ScanLine(y), size_t(stride));
    return out;
}

void TDIB::WriteBMP(TStream& stream) const { stream.WriteBytes(ToBMP()); }

TDIB TDIB::Resample(const TRect& source, QSize destSize, const TRect& visible) const {
    TDIB out(visible.Width(), visible.Height(), BitCount());
    if (out.Empty() || destSize.isEmpty() || source.IsEmpty()) return {};
    out.FInfo = FInfo;
    out.FInfo.SetWidth(out.FWidth);
    out.FInfo.SetHeight(out.FHeight);
    out.FInfo.SetSizeImage(uint32_t(out.FInfo.ImageSize()));
    out.FAlpha = FAlpha;
    std::vector<int> columns(size_t(out.FWidth));
    for (int c = 0; c < out.FWidth; ++c)
        columns[size_t(c)] = SampleIndex(source.Left, source.Width(), visible.Left + c, destSize.width());
    const int bytes = BitCount() / 8;
    int previous = -1;
    for (int r = 0; r < out.FHeight; ++r) {
        const int sy = SampleIndex(source.Top, source.Height(), visible.Top + r, destSize.height());
        uint8_t* dst = out.ScanLine(r);
        if (sy == previous) {
            std::memcpy(dst, out.ScanLine(r - 1), size_t(out.Stride()));
            continue;
        }
        previous = sy;
        if (bytes == 0) {
            for (int c = 0; c < out.FWidth; ++c) out.SetRawPixel(c, r, RawPixel(columns[size_t(c)], sy));
        } else {
            const uint8_t* src = ScanLine(sy);
            for (int c = 0; c < out.FWidth; ++c)
                std::memcpy(dst + c * bytes, src + columns[size_t(c)] * bytes, size_t(bytes));
        }
    }
    return out;
}

void TDIB::Draw(TCanvas& canvas, const TRect& dest) const { Draw(canvas, dest, {0, 0, FWidth, FHeight}); }

void TDIB::Draw(TCanvas& canvas, const TRect& dest, const TRect& source) const {
    if (Empty()) return;
    const TRect src = IntersectRect(NormalizeRect(source), {0, 0, FWidth, FHeight});
    const TRect dev = canvas.LPtoDP(dest);
    if (src.IsEmpty() || dev.IsEmpty()) return;
    const bool scaled = dev.Width() != src.Width() || dev.Height() != src.Height();
    if (scaled && !canvas.IsPrinter()) {
        // Only what shows is resampled, and then drawn unscaled.
        const TRect visible = IntersectRect(canvas.DeviceClipBox(), dev);
        if (visible.IsEmpty()) return;
        const TDIB part =
            Resample(src, QSize(dev.Width(), dev.Height()), OffsetRect(visible, -dev.Left, -dev.Top));
        const QImage image = part.ToImage();
        canvas.StretchDrawDevice(visible, image, {0, 0, part.Width(), part.Height()});
        return;
    }
    const QImage image = ToImage();
    if (canvas.StretchDrawDevice(dev, image, src)) return;
    // Some devices refuse large images: one destination row at a time.
    const int64_t s = src.Height(), h = dev.Height();
    for (int64_t e = 0; e < h; ++e) {
        const int32_t s0 = int32_t(e * s / h);
        const int32_t s1 = std::max(s0 + 1, int32_t((e + 1) * s / h));
        const TRect row{dev.Left, dev.Top + int32_t(e), dev.Right, dev.Top + int32_t(e) + 1};
        if (!canvas.StretchDrawDevice(row, image, {src.Left, src.Top + s0, src.Right, src.Top + s1})) return;
    }
}

const std::vector<TColor>& TDIB::GreyRamp() {
    static const std::vector<TColor> ramp = [] {
        std::vector<TColor> r(256);
        for (uint32_t i = 0; i < 256; ++i) r[i] = i * 0x010101;
        return r;
    }();
    return ramp;
}

} // namespace vellum

namespace vellum {

const std::vector<TColor>& TDIB::DefaultPalette() {
    static const std::vector<TColor> palette = [] {
        std::vector<TColor> p;
        for (uint32_t b = 0; b < 6; ++b)
            for (uint32_t g = 0; g < 6; ++g)
                for (uint32_t r = 0; r < 6; ++r) p.push_back(r * 51 | (g * 51) << 8 | (b * 51) << 16);
        // Greys between the cube's own six.
        for (uint32_t i = 1; p.size() < 256; ++i) {
            const uint32_t v = i * 255 / 41;
            if (v % 51 != 0) p.push_back(v * 0x010101);
        }
        return p;
    }();
    return palette;
}

} // namespace vellum
