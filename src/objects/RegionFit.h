#pragma once
// Moving a rectangle along one axis until it rests against the inner edge of
// a region: for each one-unit strip the rectangle spans, the region's part in
// that strip; the rectangle goes to the innermost of those edges.

#include "base/Numerics.h"

#include <QRegion>

namespace vellum {

TRect FitLeft(const QRegion& region, const TRect& rect);
TRect FitRight(const QRegion& region, const TRect& rect);
TRect FitTop(const QRegion& region, const TRect& rect);
TRect FitBottom(const QRegion& region, const TRect& rect);

} // namespace vellum
