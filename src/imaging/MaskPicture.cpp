#include "imaging/MaskPicture.h"

#include "base/Exceptions.h"
#include "imaging/SafetyBitmap.h"

namespace vellum {

std::unique_ptr<TGraphic> TMaskPicture::Clone() const {
    auto copy = std::make_unique<TMaskPicture>();
    copy->Assign(*this);
    return copy;
}

void TMaskPicture::LoadFromStream(TStream&) {
    throw EInvalidGraphicOperation(QStringLiteral("画像の形式 TMaskPicture にはまだ対応していません"));
}

void TMaskPicture::SaveToStream(TStream&) const {
    throw EInvalidGraphicOperation(QStringLiteral("画像の形式 TMaskPicture にはまだ対応していません"));
}

bool TMaskPicture::Assign(const TGraphic& source) {
    const auto* other = dynamic_cast<const TMaskPicture*>(&source);
    if (!other) return false;
    if (other == this) return true;
    FImage.Assign(other->FImage);
    FMask.Assign(other->FMask);
    FReverseMask = other->FReverseMask;
    FPalette = other->FPalette;
    Changed();
    return true;
}

TDIB TMaskPicture::Raster() const { return FImage.Graphic() ? FImage.Graphic()->Raster() : TDIB(); }

TDIB TMaskPicture::TransparencyMask() const {
    const TDIB image = Raster();
    const TDIB mask = FMask.Graphic() ? FMask.Graphic()->Raster() : TDIB();
    TDIB out(image.Width(), image.Height(), 1);
    if (image.Empty() || mask.Empty()) return out;
    for (int y = 0; y < image.Height(); ++y) {
        const int my = TDIB::SampleIndex(0, mask.Height(), y, image.Height());
        for (int x = 0; x < image.Width(); ++x) {
            const TColor c = mask.Pixel(TDIB::SampleIndex(0, mask.Width(), x, image.Width()), my);
            const bool white = (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF) >= 3 * 128;
            if (white != FReverseMask) out.SetRawPixel(x, y, 1);
        }
    }
    return out;
}

void TMaskPicture::Draw(TCanvas& canvas, const TRect& dest) const {
    TSafetyBitmap bitmap;
    bitmap.SetDIB(Raster());
    if (!FMask.Empty()) {
        bitmap.SetTransparent(true);
        bitmap.SetMask(TransparencyMask());
    }
    bitmap.Draw(canvas, dest);
}

} // namespace vellum
