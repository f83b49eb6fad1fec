#pragma once
// An ellipse card object inscribed in its frame rectangle.

#include "objects/LORect.h"

namespace vellum {

class TLOCircle : public TLORect {
    VELLUM_CLASS(TLOCircle)

public:
    explicit TLOCircle(TComponent* owner = nullptr) : TLORect(owner) {}

    TRect GetBounds() const override;
    void BuildOutline(TStroke& outline) const override;

protected:
    void PaintFrame(TCanvas& canvas, const TRect& bounds, int32_t w) const override;
    double EdgeDistance(double x, double y) const override;
};

} // namespace vellum
