#include "core/LORectBase.h"

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

TLORectBase::TLORectBase(TComponent* owner) : TLabelObject(owner) {}

void TLORectBase::SetRect(const TRect& r) {
    const TRect n = NormalizeRect(r);
    if (n == FRect) return;
    FRect = n;
    UpdateControlBounds();
    Changed();
}

void TLORectBase::SetLeft(int32_t v) {
    if (v == Left()) return;
    SetRect({v, Top(), v + Width(), Top() + Height()});
}

void TLORectBase::SetTop(int32_t v) {
    if (v == Top()) return;
    SetRect({Left(), v, Left() + Width(), v + Height()});
}

void TLORectBase::SetWidth(int32_t v) { SetRect({Left(), Top(), Left() + v, Top() + Height()}); }

void TLORectBase::SetHeight(int32_t v) { SetRect({Left(), Top(), Left() + Width(), Top() + v}); }

bool TLORectBase::HitTest(TPoint p) const {
    return FRect.Left <= p.X && p.X < FRect.Right && FRect.Top <= p.Y && p.Y < FRect.Bottom;
}

TRect TLORectBase::GetBounds() const { return FRect; }

void TLORectBase::Offset(int32_t dx, int32_t dy) {
    SetLeft(Left() + dx);
    SetTop(Top() + dy);
}

void TLORectBase::AssignTo(TPersistent* dest) const {
    TLabelObject::AssignTo(dest);
    if (auto* d = dynamic_cast<TLORectBase*>(dest)) d->SetRect(FRect);
}

} // namespace vellum
