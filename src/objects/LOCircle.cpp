#include "objects/LOCircle.h"

#include "platform/Canvas.h"

#include <cmath>

namespace vellum {

const TClassInfo& TLOCircle::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TLOCircle, TLORect>("TLOCircle", [](auto&) {});
    return info;
}

void TLOCircle::BuildOutline(TStroke& outline) const { outline.SetEllipse(FrameRect()); }

TRect TLOCircle::GetBounds() const {
    // The box of the turned ellipse through the band's outer edge.
    const TRect outer = BandRect(FrameWidth(), true);
    const double a = outer.Width() / 2.0, b = outer.Height() / 2.0;
    const double radians = Angle() * 3.14159265358979323846 / 180;
    const double c = std::cos(radians), s = std::sin(radians);
    const double ex = Angle() == 0 ? a : std::sqrt(a * a * c * c + b * b * s * s);
    const double ey = Angle() == 0 ? b : std::sqrt(a * a * s * s + b * b * c * c);
    const double mx = (outer.Left + outer.Right) / 2.0 - Rotator().Centre().X;
    const double my = (outer.Top + outer.Bottom) / 2.0 - Rotator().Centre().Y;
    const double cx = Rotator().Centre().X + mx * c - my * s;
    const double cy = Rotator().Centre().Y + mx * s + my * c;
    return {int32_t(std::floor(cx - ex)), int32_t(std::floor(cy - ey)), int32_t(std::ceil(cx + ex)),
            int32_t(std::ceil(cy + ey))};
}

void TLOCircle::PaintFrame(TCanvas& canvas, const TRect& bounds, int32_t) const {
    // An ordinary pen of the stored width: round ends and joins.
    TPen pen;
    pen.Width = FrameWidth();
    canvas.SetFillMode(TFillMode::fmAlternate);
    Outline().SelectAsPath(canvas);
    canvas.SetPen(pen);
    canvas.WidenPath();
    canvas.SelectClipPath(TClipCombine::ccAnd);
    FrameColor().Paint(canvas, bounds);
}

double TLOCircle::EdgeDistance(double x, double y) const {
    const double a = Width() / 2.0, b = Height() / 2.0;
    if (a <= 0 || b <= 0) return TLORect::EdgeDistance(x, y);
    // First-order distance to the ellipse: its implicit function over its gradient.
    const double g = x * x / (a * a) + y * y / (b * b) - 1;
    const double grad = 2 * std::sqrt(x * x / (a * a * a * a) + y * y / (b * b * b * b));
    return grad > 0 ? g / grad : -std::min(a, b);
}

} // namespace vellum
