#include "editing/Scaler.h"

#include "core/RenderContext.h"
#include "platform/Canvas.h"

namespace vellum {

const TClassInfo& TScaler::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TScaler, TPersistent>("TScaler", [](auto& b) {
        b.Integer(QStringLiteral("Scale"), &TScaler::Scale, &TScaler::SetScale).Default(int64_t(100));
        b.Integer(QStringLiteral("UnitDPI"), &TScaler::UnitDPI, &TScaler::SetUnitDPI);
        b.Property(QStringLiteral("OnChange"), TPropKind::Event, &TScaler::OnChangeName,
                   [](TScaler&, const TPropValue&) {})
            .Stored(false);
    });
    return info;
}

TScaler::TScaler() : FUnitDPI(ScreenDPI()) {}

void TScaler::SetScale(int percent) {
    percent = std::max(1, percent);
    if (percent == FScale) return;
    FScale = percent;
    Change();
}

void TScaler::SetUnitDPI(int unitsPerInch) {
    unitsPerInch = std::max(1, unitsPerInch);
    if (unitsPerInch == FUnitDPI) return;
    FUnitDPI = unitsPerInch;
    Change();
}

void TScaler::Change() {
    if (OnChange) OnChange(this);
}

void TScaler::AssignTo(TPersistent* dest) const {
    auto* d = dynamic_cast<TScaler*>(dest);
    if (!d) {
        TPersistent::AssignTo(dest);
        return;
    }
    d->FScale = FScale;
    d->FUnitDPI = FUnitDPI;
    d->Change();
}

void TScaler::Apply(TCanvas& canvas) const { ApplyScaleRatio(canvas, Ratio(canvas.DpiY())); }

} // namespace vellum
