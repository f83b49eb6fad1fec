#include "core/Transformer.h"

#include <cmath>
#include <numbers>

namespace vellum {

const TClassInfo& TTransformer::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TTransformer, TPersistent>("TTransformer", [](auto&) {});
    return info;
}

const TClassInfo& TRotator::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TRotator, TTransformer>("TRotator", [](auto&) {});
    return info;
}

void TTransformer::TransformPoints(std::vector<TPoint>& points) const {
    for (TPoint& p : points) TransformPoint(p);
}

TRotator::TRotator(int angle, TPoint centre) : FCentre(centre) { SetAngle(angle); }

void TRotator::SetAngle(int degrees) {
    FAngle = degrees;
    const long double radians = static_cast<long double>(degrees) * std::numbers::pi_v<long double> / 180;
    FSin = std::sin(radians);
    FCos = std::cos(radians);
}

void TRotator::TransformPoint(TPoint& p) const {
    const long double dx = static_cast<long double>(p.X) - FCentre.X;
    const long double dy = static_cast<long double>(p.Y) - FCentre.Y;
    p.X = int32_t(Round(double(dx * FCos - dy * FSin)) + FCentre.X);
    p.Y = int32_t(Round(double(dx * FSin + dy * FCos)) + FCentre.Y);
}

} // namespace vellum
