#pragma once
// A picture with its processing settings (crop, blur or sharpen, monotone,
// brightness and contrast, a transparent colour) and the processed picture
// they produce, computed on demand and cached.

#include "base/Broadcaster.h"
#include "base/Guid.h"
#include "base/Persistent.h"
#include "imaging/ImageFilter.h"
#include "imaging/PictureEx.h"

#include <memory>

namespace vellum {

inline constexpr TGUID NID_PictureSizeChanged = MakeGUID("{386FA8F1-5C4E-11D3-AD57-00500463098A}");
inline constexpr TGUID NID_PictureChanged = MakeGUID("{3C2CDFD1-5C80-11D3-AD58-00500463098A}");

// The stored form of a picture as a nested object: the binary "Data".
class TPictureProperty : public TPersistent {
    VELLUM_CLASS(TPictureProperty)
public:
    explicit TPictureProperty(TPictureEx* picture = nullptr) : FPicture(picture) {}
    TPictureEx* Picture() const { return FPicture; }

private:
    TPictureEx* FPicture;
};

class TImageData : public TPersistent {
    VELLUM_CLASS(TImageData)
public:
    TImageData();
    ~TImageData() override;

    TChangeNotify& Notify() { return FNotify; }
    TPictureEx& Picture() { return *FPicture; }
    const TPictureEx& Picture() const { return *FPicture; }
    TClipFilter& ClipFilter() const { return *FClipFilter; }
    TBlurFilter& BlurFilter() const { return *FBlurFilter; }
    TLightFilter& LightFilter() const { return *FLightFilter; }
    TMonotoneFilter& MonotoneFilter() const { return *FMonotoneFilter; }
    TColor TransparentColor() const { return FTransparentColor; }
    void SetTransparentColor(TColor color);

    // Computed when the cache is empty and the picture is not.
    const TPictureEx& ProcessedPicture();
    bool IsEmpty() const { return FPicture->Empty(); }
    // A bitmap, a PNG image or a JPEG image.
    bool IsRaster() const;
    bool UsesTransparency() const { return IsRaster() && FTransparentColor != clNone; }
    // The whole picture, or with a != 0 the largest centred rectangle of aspect a : b.
    void ResetCrop(int a = 0, int b = 0);
    void Clear() { FPicture->SetGraphic(nullptr); }

    void Assign(const TPersistent* source) override;

private:
    void PictureChanged();
    void FilterChanged(TPersistent* sender);
    void ClearCache();
    TPictureProperty* PictureProperty() const { return FPictureProperty.get(); }

    std::unique_ptr<TPictureEx> FPicture;
    std::unique_ptr<TPictureProperty> FPictureProperty;
    std::unique_ptr<TClipFilter> FClipFilter;
    std::unique_ptr<TBlurFilter> FBlurFilter;
    std::unique_ptr<TLightFilter> FLightFilter;
    std::unique_ptr<TMonotoneFilter> FMonotoneFilter;
    TColor FTransparentColor = clNone;
    std::unique_ptr<TPictureEx> FProcessed;
    int32_t FLastWidth = 0;
    int32_t FLastHeight = 0;
    TChangeNotify FNotify{this};
    TListener FFilterListener;
    int FPictureListener = 0;
};

} // namespace vellum
