#include "core/LORectBase.h"

#include <algorithm>

namespace vellum {

const TClassInfo& TLORectBase::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TLORectBase, TLabelObject>("TLORectBase", [](auto& b) {
        // Redeclared in logical units: they take the device-pixel slots and are always written.
        b.Integer(QStringLiteral("Left"), &TLORectBase::Left, &TLORectBase::SetLeft).Stored(true);
        b.Integer(QStringLiteral("Top"), &TLORectBase::Top, &TLORectBase::SetTop).Stored(true);
        b.Integer(QStringLiteral("Width"), &TLORectBase::Width, &TLORectBase::SetWidth).Stored(true);
        b.Integer(QStringLiteral("Height"), &TLORectBase::Height, &TLORectBase::SetHeight).Stored(true);
    });
    return info;
}

int32_t TLORectBase::ClampCoordinate(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, -kMaxCoordinate, kMaxCoordinate));
}

TRect TLORectBase::ClampedRect(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return {ClampCoordinate(left), ClampCoordinate(top), ClampCoordinate(right), ClampCoordinate(bottom)};
}

TLORectBase::TLORectBase(TComponent* owner) : TLabelObject(owner) {}

void TLORectBase::SetRect(const TRect& r) {
    const TRect n = NormalizeRect(ClampedRect(r.Left, r.Top, r.Right, r.Bottom));
    if (n == FRect) return;
    FRect = n;
    UpdateControlBounds();
    Changed();
}

// The sums are taken in 64 bits: a loaded value may be anything until it is clamped.
void TLORectBase::SetLeft(int32_t v) {
    if (v == Left()) return;
    SetRect(ClampedRect(v, Top(), int64_t(v) + Width(), int64_t(Top()) + Height()));
}

void TLORectBase::SetTop(int32_t v) {
    if (v == Top()) return;
    SetRect(ClampedRect(Left(), v, int64_t(Left()) + Width(), int64_t(v) + Height()));
}

void TLORectBase::SetWidth(int32_t v) {
    SetRect(ClampedRect(Left(), Top(), int64_t(Left()) + v, int64_t(Top()) + Height()));
}

void TLORectBase::SetHeight(int32_t v) {
    SetRect(ClampedRect(Left(), Top(), int64_t(Left()) + Width(), int64_t(Top()) + v));
}

bool TLORectBase::HitTest(TPoint p) const {
    return FRect.Left <= p.X && p.X < FRect.Right && FRect.Top <= p.Y && p.Y < FRect.Bottom;
}

TRect TLORectBase::GetBounds() const { return FRect; }

void TLORectBase::Offset(int32_t dx, int32_t dy) {
    SetLeft(ClampCoordinate(int64_t(Left()) + dx));
    SetTop(ClampCoordinate(int64_t(Top()) + dy));
}

void TLORectBase::AssignTo(TPersistent* dest) const {
    TLabelObject::AssignTo(dest);
    if (auto* d = dynamic_cast<TLORectBase*>(dest)) d->SetRect(FRect);
}

} // namespace vellum
