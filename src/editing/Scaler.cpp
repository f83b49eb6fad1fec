#include "editing/Scaler.h"

#include "editing/CoordMap.h"
#include "platform/Canvas.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace vellum {

int ScreenDPI() {
    if (!qGuiApp) return 96;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? int(std::lround(screen->logicalDotsPerInchY())) : 96;
}

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

void TScaler::Apply(TCanvas& canvas) const {
    const TCoordMapping old = canvas.Mapping();
    // An origin shift made before survives in the viewport origin.
    const TPoint shift = WindowOrgToDevice(old);
    const TScaleRatio ratio = Ratio(canvas.DpiY());
    TCoordMapping mapping;
    mapping.Mode = TMapMode::mmAnisotropic;
    mapping.WindowExt = {ratio.LogicalExtent(), ratio.LogicalExtent()};
    mapping.ViewportExt = {ratio.DeviceExtent(), ratio.DeviceExtent()};
    mapping.ViewportOrg = {old.ViewportOrg.X - shift.X, old.ViewportOrg.Y - shift.Y};
    canvas.SetMapping(mapping);
}

} // namespace vellum
