#include "imaging/ImageFilter.h"

#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/IdentTables.h"
#include "base/Stream.h"
#include "imaging/JPEGImage.h"
#include "imaging/SafetyBitmap.h"
#include "platform/PainterCanvas.h"

#include <QPainter>

#include <algorithm>

namespace vellum {

namespace {

int NearestPaletteIndex(const std::vector<TColor>& palette, TColor c) {
    int best = 0;
    int64_t bestDistance = INT64_MAX;
    for (size_t i = 0; i < palette.size(); ++i) {
        const TColor p = palette[i];
        int64_t d = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
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

void FillDIB(TDIB& dib, TColor color) {
    const uint32_t raw = dib.BitCount() <= 8
                             ? uint32_t(NearestPaletteIndex(dib.Info().Colors(), color))
                             : ((color >> 16) & 0xFF) | (color & 0xFF00) | ((color & 0xFF) << 16);
    for (int y = 0; y < dib.Height(); ++y)
        for (int x = 0; x < dib.Width(); ++x) dib.SetRawPixel(x, y, raw);
}

void SetBitmap(TPictureEx& target, TDIB dib, TRect& bounds) {
    bounds = {0, 0, dib.Width(), dib.Height()};
    auto bitmap = std::make_unique<TSafetyBitmap>();
    bitmap->SetDIB(std::move(dib));
    target.SetGraphic(std::move(bitmap));
}

} // namespace

TDIB ToTrueColor24(const TGraphic& graphic) {
    const TDIB raster = graphic.Raster();
    if (raster.Empty()) return {};
    if (raster.BitCount() == 24) return raster;
    return TDIB::FromImage(raster.ToImage().convertToFormat(QImage::Format_RGB32));
}

// ---------------------------------------------------------------- base

const TClassInfo& TImageFilter::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TImageFilter, TPersistent>("TImageFilter", [](auto&) {});
    return info;
}

void TImageFilter::Assign(const TPersistent* source) {
    const auto* filter = dynamic_cast<const TImageFilter*>(source);
    if (!filter || &filter->ClassType() != &ClassType()) return TPersistent::Assign(source);
    FNotify.BeginUpdate();
    AssignFilter(*filter);
    FNotify.EndUpdate();
}

bool TImageFilter::CanApply(const TPictureEx& picture) const { return !picture.Empty(); }

// ---------------------------------------------------------------- crop

const TClassInfo& TClipFilter::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TClipFilter, TImageFilter>("TClipFilter", [](auto& b) {
        TDefinedProperty rect;
        rect.Name = "ClipRect";
        rect.HasData = [](const TPersistent& o) {
            return !static_cast<const TClipFilter&>(o).ClipRect().IsEmpty();
        };
        rect.WriteData = [](const TPersistent& o, TWriter& w) {
            const TRect& r = static_cast<const TClipFilter&>(o).ClipRect();
            w.WriteListBegin();
            for (int32_t v : {r.Left, r.Top, r.Right, r.Bottom}) w.WriteInteger(v);
            w.WriteListEnd();
        };
        rect.ReadData = [](TPersistent& o, TReader& r) {
            int32_t v[4] = {};
            int n = 0;
            r.ReadListBegin();
            while (!r.EndOfList()) {
                const int64_t value = r.ReadInteger();
                if (n < 4) v[n] = int32_t(value);
                ++n;
            }
            r.ReadListEnd();
            if (n != 4) throw EReadError(InvalidStreamMessage());
            static_cast<TClipFilter&>(o).SetClipRect({v[0], v[1], v[2], v[3]});
        };
        b.Defined(std::move(rect));
    });
    return info;
}

void TClipFilter::SetClipRect(const TRect& rect) {
    if (rect == FClipRect) return;
    FClipRect = rect;
    Changed();
}

void TClipFilter::AssignFilter(const TImageFilter& source) {
    const auto& clip = static_cast<const TClipFilter&>(source);
    SetClipRect(clip.FClipRect);
    FillColor = clip.FillColor;
    UseTransparency = clip.UseTransparency;
}

bool TClipFilter::IsActive(const TPictureEx& picture) const {
    const TRect whole{0, 0, picture.Width(), picture.Height()};
    if (!FClipRect.IsEmpty() && FClipRect != whole) return true;
    return UseTransparency && !dynamic_cast<const TSafetyBitmap*>(picture.Graphic());
}

void TClipFilter::Apply(const TPictureEx& source, TPictureEx& target, TRect& bounds) const {
    const TRect whole{0, 0, source.Width(), source.Height()};
    const TRect r = FClipRect.IsEmpty() ? whole : FClipRect;
    const TGraphic* graphic = source.Graphic();
    if (!graphic || source.Empty() || (!UseTransparency && r == whole)) {
        target.Assign(source);
        bounds = {0, 0, target.Width(), target.Height()};
        return;
    }
    const TDIB raster = dynamic_cast<const TSafetyBitmap*>(graphic) ? graphic->Raster() : TDIB();
    // A palette may lack the transparent colour, so transparent crops of
    // paletted bitmaps are made at 24 bits: their margins must match it.
    const bool keepFormat =
        !raster.Empty() && (raster.BitCount() >= 24 || (raster.BitCount() <= 8 && !UseTransparency));
    if (keepFormat) {
        TDIB out(r.Width(), r.Height(), raster.BitCount());
        if (raster.BitCount() <= 8) out.Info().SetColors(raster.Info().Colors());
        FillDIB(out, FillColor);
        const TRect inside = IntersectRect(r, whole);
        for (int y = inside.Top; y < inside.Bottom; ++y)
            for (int x = inside.Left; x < inside.Right; ++x)
                out.SetRawPixel(x - r.Left, y - r.Top, raster.RawPixel(x, y));
        return SetBitmap(target, std::move(out), bounds);
    }
    TDIB out(r.Width(), r.Height(), 24);
    FillDIB(out, FillColor);
    {
        QImage view = out.PaintableView();
        TPainterCanvas canvas(view);
        graphic->Draw(canvas, Bounds(-r.Left, -r.Top, whole.Width(), whole.Height()));
    }
    SetBitmap(target, std::move(out), bounds);
}

// ---------------------------------------------------------------- effect filters

const TClassInfo& TGREFilter::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TGREFilter, TImageFilter>("TGREFilter", [](auto&) {});
    return info;
}

bool TGREFilter::CanApply(const TPictureEx& picture) const {
    const TGraphic* g = picture.Graphic();
    return !picture.Empty() &&
           (dynamic_cast<const TSafetyBitmap*>(g) || dynamic_cast<const TSafetyJPEGImage*>(g));
}

void TGREFilter::Apply(const TPictureEx& source, TPictureEx& target, TRect& bounds) const {
    const std::unique_ptr<TGREffector> effector = source.Graphic() ? CreateEffector() : nullptr;
    const TDIB pixels = effector ? ToTrueColor24(*source.Graphic()) : TDIB();
    if (pixels.Empty()) {
        target.Assign(source);
        bounds = {0, 0, target.Width(), target.Height()};
        return;
    }
    TDIB out;
    effector->Source = &pixels;
    effector->Target = &out;
    effector->Run();
    SetBitmap(target, std::move(out), bounds);
}

const TClassInfo& TBlurFilter::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TBlurFilter, TGREFilter>("TBlurFilter", [](auto& b) {
        b.Integer("BlurCount", &TBlurFilter::BlurCount, &TBlurFilter::SetBlurCount).Default(int64_t(0));
    });
    return info;
}

void TBlurFilter::SetBlurCount(int value) {
    if (value == FBlurCount) return;
    FBlurCount = value;
    Changed();
}

void TBlurFilter::AssignFilter(const TImageFilter& source) {
    SetBlurCount(static_cast<const TBlurFilter&>(source).FBlurCount);
}

std::unique_ptr<TGREffector> TBlurFilter::CreateEffector() const {
    if (FBlurCount > 0) {
        auto blur = std::make_unique<TGREffectBlur>();
        blur->PassCount = FBlurCount;
        return blur;
    }
    if (FBlurCount < 0) {
        auto sharpen = std::make_unique<TGREffectUnsharpMask>();
        sharpen->Amount = -double(FBlurCount);
        return sharpen;
    }
    return nullptr;
}

const TClassInfo& TLightFilter::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TLightFilter, TGREFilter>("TLightFilter", [](auto& b) {
        b.Integer("Brightness", &TLightFilter::Brightness, &TLightFilter::SetBrightness).Default(int64_t(0));
        b.Integer("Contrast", &TLightFilter::Contrast, &TLightFilter::SetContrast).Default(int64_t(0));
    });
    return info;
}

void TLightFilter::SetBrightness(int value) {
    if (value == FBrightness) return;
    FBrightness = value;
    Changed();
}

void TLightFilter::SetContrast(int value) {
    if (value == FContrast) return;
    FContrast = value;
    Changed();
}

void TLightFilter::AssignFilter(const TImageFilter& source) {
    const auto& light = static_cast<const TLightFilter&>(source);
    SetBrightness(light.FBrightness);
    SetContrast(light.FContrast);
}

std::unique_ptr<TGREffector> TLightFilter::CreateEffector() const {
    if (FBrightness == 0 && FContrast == 0) return nullptr;
    auto effect = std::make_unique<TGREffectBrightnessContrast>();
    effect->Brightness = FBrightness;
    effect->Contrast = FContrast;
    return effect;
}

const TClassInfo& TMonotoneFilter::StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TMonotoneFilter, TGREFilter>("TMonotoneFilter", [](auto& b) {
            b.Integer("RefColor", &TMonotoneFilter::RefColor, &TMonotoneFilter::SetRefColor)
                .Default(int64_t(clNone))
                .Idents(ColorIdents());
        });
    return info;
}

void TMonotoneFilter::SetRefColor(TColor value) {
    if (value == FRefColor) return;
    FRefColor = value;
    Changed();
}

void TMonotoneFilter::AssignFilter(const TImageFilter& source) {
    SetRefColor(static_cast<const TMonotoneFilter&>(source).FRefColor);
}

std::unique_ptr<TGREffector> TMonotoneFilter::CreateEffector() const {
    if (FRefColor == clNone) return nullptr;
    auto effect = std::make_unique<TGREffectMonoTone>();
    effect->RefColor = FRefColor;
    return effect;
}

} // namespace vellum
