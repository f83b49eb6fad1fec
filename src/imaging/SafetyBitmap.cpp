#include "imaging/SafetyBitmap.h"

#include "base/Exceptions.h"
#include "imaging/Envelope.h"

#include <QFileInfo>
#include <QMimeData>

namespace vellum {

namespace {

int NearestIndex(const std::vector<TColor>& palette, TColor c) {
    int best = -1;
    int64_t bestDistance = INT64_MAX;
    for (size_t i = 0; i < palette.size(); ++i) {
        const TColor p = palette[i];
        int64_t d = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int64_t diff = int64_t((p >> shift) & 0xFF) - int64_t((c >> shift) & 0xFF);
            d += diff * diff;
        }
        if (d < bestDistance) {
            bestDistance = d;
            best = int(i);
        }
    }
    return best;
}

} // namespace

TDIB MaskFromColor(const TDIB& bitmap, TColor c) {
    c &= 0xFFFFFF;
    TDIB mask(bitmap.Width(), bitmap.Height(), 1);
    if (bitmap.Empty()) return mask;
    const int w = bitmap.Width(), h = bitmap.Height();
    auto set = [&](int x, int y) { mask.SetRawPixel(x, y, 1); };
    switch (bitmap.BitCount()) {
    case 8: {
        const std::vector<TColor> palette = bitmap.Info().Colors();
        const int index = NearestIndex(palette, c);
        if (index < 0 || palette[size_t(index)] != c) break;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (bitmap.RawPixel(x, y) == uint32_t(index)) set(x, y);
        break;
    }
    case 24:
    case 32: {
        // Pixels hold blue, green, red bytes; c holds red in its low byte.
        const int step = bitmap.BitCount() / 8;
        const uint8_t red = uint8_t(c), green = uint8_t(c >> 8), blue = uint8_t(c >> 16);
        for (int y = 0; y < h; ++y) {
            const uint8_t* row = bitmap.ScanLine(y);
            for (int x = 0; x < w; ++x) {
                const uint8_t* p = row + x * step;
                if (p[0] == blue && p[1] == green && p[2] == red) set(x, y);
            }
        }
        break;
    }
    default:
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (bitmap.Pixel(x, y) == c) set(x, y);
        break;
    }
    return mask;
}

TDIB FromPackedDIB(QByteArrayView bytes) {
    QByteArray file(14, '\0');
    file[0] = 'B';
    file[1] = 'M';
    PutLE32(file.data() + 2, uint32_t(14 + bytes.size()));
    file.append(bytes.data(), bytes.size()); // bits offset 0: right behind the table
    return TDIB::FromBMP(file);
}

void TMaskedImage::SetMask(TDIB mask) {
    FMask = std::move(mask);
    FMaskDirty = false;
    FImageDirty = true;
}

const TDIB& TMaskedImage::Mask(const TDIB& bitmap, TColor transparent) {
    if (FMaskDirty) {
        FMask = MaskFromColor(bitmap, transparent);
        FMaskDirty = false;
        FImageDirty = true;
    }
    return FMask;
}

const TDIB& TMaskedImage::Whitened(const TDIB& bitmap, TColor transparent) {
    const TDIB& mask = Mask(bitmap, transparent);
    if (FImageDirty) {
        const int w = bitmap.Width(), h = bitmap.Height();
        FWhitened = TDIB(w, h, 24);
        for (int y = 0; y < h; ++y) {
            uint8_t* row = FWhitened.ScanLine(y);
            // A mask of another size is stretched over the bitmap.
            const int my = mask.Empty() ? 0 : TDIB::SampleIndex(0, mask.Height(), y, h);
            for (int x = 0; x < w; ++x) {
                const int mx = mask.Empty() ? 0 : TDIB::SampleIndex(0, mask.Width(), x, w);
                const bool clear = !mask.Empty() && mask.RawPixel(mx, my) != 0;
                const TColor c = clear ? clWhite : bitmap.Pixel(x, y);
                row[3 * x] = uint8_t(c >> 16);
                row[3 * x + 1] = uint8_t(c >> 8);
                row[3 * x + 2] = uint8_t(c);
            }
        }
        FImageDirty = false;
    }
    return FWhitened;
}

std::unique_ptr<TGraphic> TSafetyBitmap::Clone() const {
    auto copy = std::make_unique<TSafetyBitmap>();
    copy->CopyFrom(*this);
    return copy;
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(*this);
    return copy;
}

void TSafetyBitmap::CopyFrom(const TSafetyBitmap& source) {
    FDIB = source.FDIB;
    FTransparent = source.FTransparent;
    FTransparentMode = source.FTransparentMode;
    FTransparentColor = source.FTransparentColor;
    FMasked = source.FMasked;
}

bool TSafetyBitmap::Assign(const TGraphic& source) {
    if (const auto* bitmap = dynamic_cast<const TSafetyBitmap*>(&source)) {
        if (bitmap != this) CopyFrom(*bitmap);
        Changed();
        return true;
    }
    TDIB raster = source.Raster();
    if (raster.Empty() && !source.Empty()) return false;
    SetDIB(std::move(raster));
    return true;
}

void TSafetyBitmap::SetDIB(TDIB dib) {
    FDIB = std::move(dib);
    Modified();
}

void TSafetyBitmap::Modified() {
    FMasked.Invalidate();
    Changed();
}

void TSafetyBitmap::SetTransparent(bool value) {
    if (FTransparent == value) return;
    FTransparent = value;
    Changed();
}

TColor TSafetyBitmap::TransparentColor() const {
    if (FTransparentMode == TTransparentMode::tmFixed) return FTransparentColor;
    return FDIB.Empty() ? clNone : FDIB.Pixel(0, FDIB.Height() - 1);
}

void TSafetyBitmap::SetTransparentColor(TColor color) {
    FTransparentColor = color;
    FTransparentMode = TTransparentMode::tmFixed;
    FMasked.Invalidate();
    Changed();
}

void TSafetyBitmap::SetMask(const TDIB& oneBit) {
    FMasked.SetMask(oneBit.BitCount() == 1 ? oneBit : TDIB());
    Changed();
}

TDIB TSafetyBitmap::GetMask() const { return FMasked.Mask(FDIB, TransparentColor()); }

void TSafetyBitmap::Draw(TCanvas& canvas, const TRect& dest) const {
    if (FDIB.Empty()) return;
    if (!FTransparent) {
        FDIB.Draw(canvas, dest);
        return;
    }
    const TColor color = TransparentColor();
    const TDIB& mask = FMasked.Mask(FDIB, color);
    if (canvas.SupportsRasterOps()) {
        // Opaque pixels are made white (D OR NOT mask), then the whitened
        // image is ANDed in, which leaves transparent pixels alone.
        const TCopyMode old = canvas.CopyMode();
        canvas.SetCopyMode(TCopyMode::cmMergePaint);
        mask.Draw(canvas, dest, {0, 0, mask.Width(), mask.Height()});
        canvas.SetCopyMode(TCopyMode::cmSrcAnd);
        FMasked.Whitened(FDIB, color).Draw(canvas, dest);
        canvas.SetCopyMode(old);
        return;
    }
    // Without raster operations: the same result as a binary alpha composite.
    const TDIB& whitened = FMasked.Whitened(FDIB, color);
    TDIB composite(FDIB.Width(), FDIB.Height(), 32);
    composite.SetHasAlpha(true);
    for (int y = 0; y < FDIB.Height(); ++y) {
        const uint8_t* src = whitened.ScanLine(y);
        uint8_t* dst = composite.ScanLine(y);
        const int my = mask.Empty() ? 0 : TDIB::SampleIndex(0, mask.Height(), y, FDIB.Height());
        for (int x = 0; x < FDIB.Width(); ++x) {
            const int mx = mask.Empty() ? 0 : TDIB::SampleIndex(0, mask.Width(), x, FDIB.Width());
            const bool clear = !mask.Empty() && mask.RawPixel(mx, my) != 0;
            dst[4 * x] = src[3 * x];
            dst[4 * x + 1] = src[3 * x + 1];
            dst[4 * x + 2] = src[3 * x + 2];
            dst[4 * x + 3] = clear ? 0 : 255;
        }
    }
    const TCopyMode old = canvas.CopyMode();
    canvas.SetCopyMode(TCopyMode::cmSrcCopy);
    composite.Draw(canvas, dest);
    canvas.SetCopyMode(old);
}

void TSafetyBitmap::LoadFromStream(TStream& stream) { SetDIB(TDIB::ReadBMP(stream)); }

void TSafetyBitmap::SaveToStream(TStream& stream) const { FDIB.WriteBMP(stream); }

void TSafetyBitmap::SaveToFile(const QString& fileName) const {
    if (QFileInfo(fileName).suffix().compare(QLatin1String("cbm"), Qt::CaseInsensitive) != 0) {
        TGraphic::SaveToFile(fileName);
        return;
    }
    TMemoryStream stream(MakeEnvelope(FDIB.ToBMP()));
    stream.SaveToFile(fileName);
}

void TSafetyBitmap::LoadFromClipboardFormat(TClipboardFormat format, const QMimeData& data) {
    switch (format) {
    case TClipboardFormat::cfBitmap: {
        const QImage image = qvariant_cast<QImage>(data.imageData());
        if (image.isNull()) throw EInvalidGraphic(UnsupportedClipboardMessage());
        SetDIB(TDIB::FromImage(image));
        return;
    }
    case TClipboardFormat::cfDIB: {
        const QByteArray bytes = data.data(QStringLiteral("image/bmp"));
        // Desktop programs put whole BMP files on the clipboard; documents
        // and older clipboard data carry the packed form.
        SetDIB(bytes.startsWith("BM") ? TDIB::FromBMP(bytes) : FromPackedDIB(bytes));
        return;
    }
    default:
        throw EInvalidGraphic(UnsupportedClipboardMessage());
    }
}

void TSafetyBitmap::SaveToClipboard(QMimeData& data) const {
    data.setImageData(FDIB.ToImage().copy());
    data.setData(QStringLiteral("image/bmp"), FDIB.ToBMP());
}

} // namespace vellum
