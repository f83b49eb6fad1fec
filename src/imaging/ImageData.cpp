#include "imaging/ImageData.h"

#include "base/IdentTables.h"
#include "imaging/JPEGImage.h"
#include "imaging/PNGImage.h"
#include "imaging/SafetyBitmap.h"

namespace vellum {

namespace {

// Runs one filter when it can work on the picture; otherwise passes it on.
std::unique_ptr<TPictureEx> Run(const TImageFilter& filter, std::unique_ptr<TPictureEx> picture) {
    if (!filter.CanApply(*picture)) return picture;
    auto out = std::make_unique<TPictureEx>();
    TRect bounds;
    filter.Apply(*picture, *out, bounds);
    return out;
}

} // namespace

const TClassInfo& TPictureProperty::StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TPictureProperty, TPersistent>("TPictureProperty", [](auto& b) {
            TDefinedProperty data;
            data.Name = "Data";
            data.HasData = [](const TPersistent& o) {
                const TPictureEx* p = static_cast<const TPictureProperty&>(o).Picture();
                return p && p->HasData();
            };
            data.ReadBinary = [](TPersistent& o, TStream& s) {
                if (TPictureEx* p = static_cast<TPictureProperty&>(o).Picture()) p->ReadData(s);
            };
            data.WriteBinary = [](const TPersistent& o, TStream& s) {
                if (const TPictureEx* p = static_cast<const TPictureProperty&>(o).Picture()) p->WriteData(s);
            };
            b.Defined(std::move(data));
        });
    return info;
}

const TClassInfo& TImageData::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TImageData, TPersistent>("TImageData", [](auto& b) {
        b.Owned("Picture", TPropKind::Object, &TImageData::PictureProperty);
        b.Owned("ClipFilter", TPropKind::Object, [](const TImageData& o) { return &o.ClipFilter(); });
        b.Owned("BlurFilter", TPropKind::Object, [](const TImageData& o) { return &o.BlurFilter(); });
        b.Owned("LightFilter", TPropKind::Object, [](const TImageData& o) { return &o.LightFilter(); });
        b.Owned("MonotoneFilter", TPropKind::Object, [](const TImageData& o) { return &o.MonotoneFilter(); });
        b.Integer("TransparentColor", &TImageData::TransparentColor, &TImageData::SetTransparentColor)
            .Default(int64_t(clNone))
            .Idents(ColorIdents());
    });
    return info;
}

TImageData::TImageData()
    : FPicture(std::make_unique<TPictureEx>()),
      FPictureProperty(std::make_unique<TPictureProperty>(FPicture.get())),
      FClipFilter(std::make_unique<TClipFilter>()), FBlurFilter(std::make_unique<TBlurFilter>()),
      FLightFilter(std::make_unique<TLightFilter>()), FMonotoneFilter(std::make_unique<TMonotoneFilter>()),
      FProcessed(std::make_unique<TPictureEx>()) {
    FPictureListener = FPicture->AddListener([this](TPictureEx&) { PictureChanged(); });
    FFilterListener.SetCallback([this](TPersistent* sender, const TGUID& id) {
        if (id == NID_ObjectChanged) FilterChanged(sender);
    });
    for (TImageFilter* f : std::initializer_list<TImageFilter*>{FClipFilter.get(), FBlurFilter.get(),
                                                                FLightFilter.get(), FMonotoneFilter.get()})
        FFilterListener.Attach(&f->Notify());
}

TImageData::~TImageData() {
    FFilterListener.DetachAll();
    FPicture->RemoveListener(FPictureListener);
}

bool TImageData::IsRaster() const {
    const TGraphic* g = FPicture->Graphic();
    return dynamic_cast<const TSafetyBitmap*>(g) || dynamic_cast<const TPNGImage*>(g) ||
           dynamic_cast<const TSafetyJPEGImage*>(g);
}

void TImageData::SetTransparentColor(TColor color) {
    if (color == FTransparentColor) return;
    FTransparentColor = color;
    ClearCache();
    FNotify.Changed();
}

void TImageData::ClearCache() { FProcessed->SetGraphic(nullptr); }

void TImageData::ResetCrop(int a, int b) {
    const int w = FPicture->Width(), h = FPicture->Height();
    TRect r{0, 0, w, h};
    if (a != 0 && b != 0 && !IsEmpty()) {
        // The largest a : b rectangle inside w x h, centred.
        int cw = w, ch = MulDiv(w, b, a);
        if (ch > h) {
            ch = h;
            cw = MulDiv(h, a, b);
        }
        r = Bounds((w - cw) / 2, (h - ch) / 2, cw, ch);
    }
    FClipFilter->SetClipRect(r);
}

void TImageData::PictureChanged() {
    FNotify.BeginUpdate();
    const int w = FPicture->Width(), h = FPicture->Height();
    if (w != FLastWidth && h != FLastHeight) {
        ResetCrop();
        FNotify.Notify(this, NID_PictureSizeChanged);
    }
    FLastWidth = w;
    FLastHeight = h;
    if (auto* jpeg = dynamic_cast<TSafetyJPEGImage*>(FPicture->Graphic())) (void)jpeg->Bitmap();
    FNotify.Notify(this, NID_PictureChanged);
    ClearCache();
    FNotify.Changed();
    FNotify.EndUpdate();
}

void TImageData::FilterChanged(TPersistent* sender) {
    FNotify.BeginUpdate();
    if (sender == FClipFilter.get() && FClipFilter->ClipRect().IsEmpty() && !IsEmpty()) ResetCrop();
    ClearCache();
    FNotify.Changed();
    FNotify.EndUpdate();
}

const TPictureEx& TImageData::ProcessedPicture() {
    if (!FProcessed->Empty() || IsEmpty()) return *FProcessed;
    auto work = std::make_unique<TPictureEx>();
    work->Assign(*FPicture);
    const bool transparent = UsesTransparency();
    FClipFilter->FillColor = transparent ? FTransparentColor : clWhite;
    FClipFilter->UseTransparency = transparent;
    work = Run(*FClipFilter, std::move(work));
    TDIB mask;
    if (transparent) {
        TSafetyBitmap& bitmap = work->AsBitmap();
        bitmap.SetTransparentColor(FTransparentColor);
        bitmap.SetTransparent(true);
        mask = bitmap.GetMask();
    }
    work = Run(*FBlurFilter, std::move(work));
    work = Run(*FMonotoneFilter, std::move(work));
    work = Run(*FLightFilter, std::move(work));
    // The colour effects must not change which pixels are transparent.
    if (!mask.Empty()) {
        TSafetyBitmap& bitmap = work->AsBitmap();
        bitmap.SetTransparentColor(FTransparentColor);
        bitmap.SetTransparent(true);
        bitmap.SetMask(mask);
    }
    FProcessed->SetGraphic(work->Graphic() ? work->Graphic()->Clone() : nullptr);
    return *FProcessed;
}

void TImageData::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TImageData*>(source);
    if (!other) return TPersistent::Assign(source);
    FNotify.BeginUpdate();
    FPicture->Assign(*other->FPicture);
    FClipFilter->Assign(other->FClipFilter.get());
    FBlurFilter->Assign(other->FBlurFilter.get());
    FLightFilter->Assign(other->FLightFilter.get());
    FMonotoneFilter->Assign(other->FMonotoneFilter.get());
    SetTransparentColor(other->FTransparentColor);
    FProcessed->Assign(*other->FProcessed);
    FNotify.EndUpdate();
}

} // namespace vellum
