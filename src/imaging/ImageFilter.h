#pragma once
// The persistent processing steps of a picture: crop and the pixel effects.

#include "base/Broadcaster.h"
#include "base/Persistent.h"
#include "imaging/Effector.h"
#include "imaging/PictureEx.h"

#include <memory>

namespace vellum {

class TImageFilter : public TPersistent {
    VELLUM_CLASS(TImageFilter)
public:
    TImageFilter() = default;
    TChangeNotify& Notify() { return FNotify; }
    // Inside one update of the notifier.
    void Assign(const TPersistent* source) override;

    virtual bool CanApply(const TPictureEx& picture) const;
    // Writes the filtered picture into target; bounds receives (0, 0, width, height).
    virtual void Apply(const TPictureEx& source, TPictureEx& target, TRect& bounds) const = 0;
    virtual bool IsActive(const TPictureEx& picture) const = 0;

protected:
    // Copies the settings of a filter of the same class.
    virtual void AssignFilter(const TImageFilter& source) = 0;
    void Changed() { FNotify.Changed(); }

private:
    TChangeNotify FNotify{this};
};

class TClipFilter : public TImageFilter {
    VELLUM_CLASS(TClipFilter)
public:
    TClipFilter() = default;
    // Picture pixels, may extend beyond the picture; empty = whole picture.
    const TRect& ClipRect() const { return FClipRect; }
    void SetClipRect(const TRect& rect);
    // Set by the image data before each use.
    TColor FillColor = clWhite;
    bool UseTransparency = false;

    void Apply(const TPictureEx& source, TPictureEx& target, TRect& bounds) const override;
    bool IsActive(const TPictureEx& picture) const override;

protected:
    void AssignFilter(const TImageFilter& source) override;

private:
    TRect FClipRect;
};

// Effect filters: the picture as a 24-bit bitmap through an effector.
class TGREFilter : public TImageFilter {
    VELLUM_CLASS(TGREFilter)
public:
    TGREFilter() = default;
    // Bitmaps and JPEG images.
    bool CanApply(const TPictureEx& picture) const override;
    void Apply(const TPictureEx& source, TPictureEx& target, TRect& bounds) const override;
    // None when the settings ask for no effect.
    virtual std::unique_ptr<TGREffector> CreateEffector() const = 0;
};

class TBlurFilter : public TGREFilter {
    VELLUM_CLASS(TBlurFilter)
public:
    TBlurFilter() = default;
    // > 0: that many blur passes; < 0: unsharp mask of amount -BlurCount.
    int BlurCount() const { return FBlurCount; }
    void SetBlurCount(int value);
    bool IsActive(const TPictureEx&) const override { return FBlurCount != 0; }
    std::unique_ptr<TGREffector> CreateEffector() const override;

protected:
    void AssignFilter(const TImageFilter& source) override;

private:
    int FBlurCount = 0;
};

class TLightFilter : public TGREFilter {
    VELLUM_CLASS(TLightFilter)
public:
    TLightFilter() = default;
    int Brightness() const { return FBrightness; }
    void SetBrightness(int value);
    int Contrast() const { return FContrast; }
    void SetContrast(int value);
    bool IsActive(const TPictureEx&) const override { return FBrightness != 0 || FContrast != 0; }
    std::unique_ptr<TGREffector> CreateEffector() const override;

protected:
    void AssignFilter(const TImageFilter& source) override;

private:
    int FBrightness = 0;
    int FContrast = 0;
};

class TMonotoneFilter : public TGREFilter {
    VELLUM_CLASS(TMonotoneFilter)
public:
    TMonotoneFilter() = default;
    TColor RefColor() const { return FRefColor; }
    void SetRefColor(TColor value);
    bool IsActive(const TPictureEx&) const override { return FRefColor != clNone; }
    std::unique_ptr<TGREffector> CreateEffector() const override;

protected:
    void AssignFilter(const TImageFilter& source) override;

private:
    TColor FRefColor = clNone;
};

// The pixels of a raster graphic at 24 bits (alpha dropped); empty for others.
TDIB ToTrueColor24(const TGraphic& graphic);

} // namespace vellum
