#pragma once
// JPEG pictures. The JFIF bytes as read are what is stored: a loaded JPEG
// is never re-encoded on saving. The pixels are decoded on first use, at the
// chosen scale.

#include "imaging/Graphic.h"

namespace vellum {

enum class TJPEGScale { jsFullSize = 1, jsHalf = 2, jsQuarter = 4, jsEighth = 8 };

class TSafetyJPEGImage : public TGraphic {
public:
    QString ClassName() const override { return QStringLiteral("TSafetyJPEGImage"); }
    std::unique_ptr<TGraphic> Clone() const override;
    bool Empty() const override { return FData.isEmpty(); }
    // At the current scale.
    int Width() const override;
    int Height() const override;
    void Draw(TCanvas& canvas, const TRect& dest) const override;

    // Takes the rest of the stream, which must be a readable JPEG.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    // Another JPEG is copied as it is; a raster graphic is encoded.
    bool Assign(const TGraphic& source) override;
    TDIB Raster() const override { return Bitmap(); }

    const QByteArray& Data() const { return FData; }
    void SetData(QByteArray jfif);
    TJPEGScale Scale() const { return FScale; }
    void SetScale(TJPEGScale scale);
    int CompressionQuality() const { return FQuality; }
    void SetCompressionQuality(int quality) { FQuality = std::clamp(quality, 1, 100); }
    // The full-size dimensions.
    int OriginalWidth() const { return FHeader.Width; }
    int OriginalHeight() const { return FHeader.Height; }
    // Decoded pixels, 24 bits, at the current scale.
    const TDIB& Bitmap() const;

    // The coarsest scale (1/8, 1/4, 1/2) that still keeps the larger side
    // above `target`; full size when none does.
    static TJPEGScale ScaleForLimit(int width, int height, int target);

private:
    QByteArray FData;
    struct {
        int Width = 0;
        int Height = 0;
    } FHeader;
    TJPEGScale FScale = TJPEGScale::jsFullSize;
    int FQuality = 90;
    mutable TDIB FBitmap;
    mutable bool FDecoded = false;
};

// The name stored documents use for JPEG pictures.
class TJPEGImage : public TSafetyJPEGImage {
public:
    QString ClassName() const override { return QStringLiteral("TJPEGImage"); }
    std::unique_ptr<TGraphic> Clone() const override;
};

} // namespace vellum
