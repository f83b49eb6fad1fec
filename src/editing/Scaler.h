#pragma once
// Maps the document's logical unit to device pixels at a zoom in percent.

#include "base/Persistent.h"
#include "core/DrawSiteInterface.h"
#include "platform/ScreenDPI.h"

#include <functional>

namespace vellum {

class TCanvas;

class TScaler : public TPersistent {
    VELLUM_CLASS(TScaler)

public:
    TScaler();

    int Scale() const { return FScale; }
    // Percent; values below 1 are taken as 1, so no conversion divides by zero.
    void SetScale(int percent);
    int UnitDPI() const { return FUnitDPI; }
    // Logical units per inch; values below 1 are taken as 1.
    void SetUnitDPI(int unitsPerInch);

    // Fired when Scale or UnitDPI takes a new value.
    std::function<void(TScaler*)> OnChange;

    TScaleRatio Ratio(int dpi) const { return {dpi, FScale, FUnitDPI}; }
    // Maps the canvas to logical units at its resolution; an origin shift
    // made before in device units survives.
    void Apply(TCanvas& canvas) const;

protected:
    // Copies both values into another scaler and fires its OnChange.
    void AssignTo(TPersistent* dest) const override;

private:
    void Change();
    QString OnChangeName() const { return QString(); }

    int FScale = 100;
    int FUnitDPI;
};

} // namespace vellum
