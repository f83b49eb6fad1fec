#pragma once
// An image paired with a mask picture, as documents of the first version
// hold them; only their conversion uses it. Mask pixels that are white (or
// black with ReverseMask) mark the image's transparent part.

#include "imaging/PictureEx.h"

namespace vellum {

class TMaskPicture : public TGraphic {
public:
    QString ClassName() const override { return QStringLiteral("TMaskPicture"); }
    std::unique_ptr<TGraphic> Clone() const override;
    bool Empty() const override { return FImage.Empty(); }
    int Width() const override { return FImage.Width(); }
    int Height() const override { return FImage.Height(); }
    void Draw(TCanvas& canvas, const TRect& dest) const override;

    // Its stored form belongs to the conversion of those documents.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    bool Assign(const TGraphic& source) override;
    TDIB Raster() const override;

    TPictureEx& Image() { return FImage; }
    TPictureEx& Mask() { return FMask; }
    bool ReverseMask() const { return FReverseMask; }
    void SetReverseMask(bool value) { FReverseMask = value; }
    int32_t Palette() const { return FPalette; }
    void SetPalette(int32_t value) { FPalette = value; }
    // One bit per image pixel, 1 = transparent.
    TDIB TransparencyMask() const;

private:
    TPictureEx FImage;
    TPictureEx FMask;
    bool FReverseMask = false;
    int32_t FPalette = 0;
};

} // namespace vellum
