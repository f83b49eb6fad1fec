#pragma once
// PNG pictures through libpng. Loaded files keep their bytes until the
// pixels change; new pictures are encoded with fixed settings, so the same
// pixels always give the same file. 24 bits, or 32 with alpha where the
// file has transparency.

#include "imaging/Graphic.h"

namespace vellum {

TDIB DecodePNG(QByteArrayView data);
QByteArray EncodePNG(const TDIB& bitmap);

class TPNGImage : public TGraphic {
public:
    QString ClassName() const override { return QStringLiteral("TPNGImage"); }
    std::unique_ptr<TGraphic> Clone() const override;
    bool Empty() const override { return FBitmap.Empty(); }
    int Width() const override { return FBitmap.Width(); }
    int Height() const override { return FBitmap.Height(); }
    void Draw(TCanvas& canvas, const TRect& dest) const override;

    // Takes the rest of the stream, which must be a readable PNG.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    bool Assign(const TGraphic& source) override;
    TDIB Raster() const override { return FBitmap; }

    const TDIB& Bitmap() const { return FBitmap; }
    void SetBitmap(TDIB bitmap);

private:
    TDIB FBitmap;
    QByteArray FData; // the file's own bytes while the pixels are unchanged
};

} // namespace vellum
