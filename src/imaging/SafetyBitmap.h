#pragma once
// The bitmap kind of all raster work: a bitmap with an explicit one-bit
// transparency mask (1 = transparent) kept by its masked-image companion.

#include "imaging/Graphic.h"

namespace vellum {

// One bit per pixel of `bitmap`, set where the pixel has colour c in its low
// 24 bits. 8-bit bitmaps test the palette entry nearest to c, and only when
// that entry is c exactly; 24- and 32-bit pixels compare their channels.
TDIB MaskFromColor(const TDIB& bitmap, TColor c);

// The packed form of the device-independent clipboard format: a BMP without
// its 14-byte file header.
TDIB FromPackedDIB(QByteArrayView bytes);

class TMaskedImage {
public:
    // Any change of the bitmap: both must be recomputed.
    void Invalidate() {
        FMaskDirty = true;
        FImageDirty = true;
    }
    // A mask of its own: it no longer follows the transparent colour.
    void SetMask(TDIB mask);
    const TDIB& Mask(const TDIB& bitmap, TColor transparent);
    // The bitmap at 24 bits with its transparent pixels white.
    const TDIB& Whitened(const TDIB& bitmap, TColor transparent);
    bool MaskDirty() const { return FMaskDirty; }
    bool ImageDirty() const { return FImageDirty; }

private:
    TDIB FMask;
    TDIB FWhitened;
    bool FMaskDirty = true;
    bool FImageDirty = true;
};

enum class TTransparentMode { tmAuto, tmFixed };

class TSafetyBitmap : public TGraphic {
public:
    QString ClassName() const override { return QStringLiteral("TSafetyBitmap"); }
    std::unique_ptr<TGraphic> Clone() const override;
    bool Empty() const override { return FDIB.Empty(); }
    int Width() const override { return FDIB.Width(); }
    int Height() const override { return FDIB.Height(); }
    void Draw(TCanvas& canvas, const TRect& dest) const override;

    // BMP files, or BMP files in the compressed envelope.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    // A ".cbm" file is written in the compressed envelope.
    void SaveToFile(const QString& fileName) const override;
    bool Assign(const TGraphic& source) override;
    TDIB Raster() const override { return FDIB; }

    const TDIB& DIB() const { return FDIB; }
    void SetDIB(TDIB dib);
    // For changes in place; call Modified() afterwards.
    TDIB& MutableDIB() { return FDIB; }
    void Modified();

    bool Transparent() const override { return FTransparent; }
    void SetTransparent(bool value) override;
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    // In tmAuto, the colour of the bottom-left pixel.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);

    void SetMask(const TDIB& oneBit);
    // Brought up to date from the transparent colour unless a mask was set.
    TDIB GetMask() const;
    const TMaskedImage& Companion() const { return FMasked; }

    void LoadFromClipboardFormat(TClipboardFormat format, const QMimeData& data) override;
    void SaveToClipboard(QMimeData& data) const override;

private:
    void CopyFrom(const TSafetyBitmap& source);

    TDIB FDIB;
    bool FTransparent = false;
    TTransparentMode FTransparentMode = TTransparentMode::tmAuto;
    TColor FTransparentColor = clNone;
    mutable TMaskedImage FMasked;
};

// The name stored documents use for bitmaps: a safe bitmap, nothing added.
class TBitmap : public TSafetyBitmap {
public:
    QString ClassName() const override { return QStringLiteral("TBitmap"); }
    std::unique_ptr<TGraphic> Clone() const override;
};

} // namespace vellum
