#pragma once
// Integers written by name in component streams: cursors and colours.
// Looking a value up takes the first name in table order (so -22 is
// crSizeAll, not crSize); names are matched without regard to case.

#include "base/ClassInfo.h"

#include <memory>

namespace vellum {

const std::shared_ptr<const TIdentTable>& CursorIdents();
const std::shared_ptr<const TIdentTable>& ColorIdents();

inline constexpr int crDefault = 0;
inline constexpr int crArrow = -2;
inline constexpr int crCross = -3;
inline constexpr int crIBeam = -4;
inline constexpr int crSizeAll = -22;
inline constexpr int crHandPoint = -21;
inline constexpr int crHourGlass = -11;

} // namespace vellum
