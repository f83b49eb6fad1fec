#pragma once
// Integers written by name in component streams: cursors and colours.
// Looking a value up takes the first name in table order (so -22 is
// crSizeAll, not crSize); names are matched without regard to case.

#include "base/ClassInfo.h"

#include <memory>

namespace vellum {

const std::shared_ptr<const TIdentTable>& CursorIdents();
const std::shared_ptr<const TIdentTable>& ColorIdents();

using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;

} // namespace vellum
