#pragma once
// The 80-bit extended floating-point format of component streams (1 sign
// bit, 15 exponent bits biased by 16383, 64 mantissa bits with an explicit
// integer bit), converted in plain bit arithmetic: every double converts to
// extended exactly, and every extended that a double can hold converts back
// exactly (others round to nearest, ties to even).

#include <array>
#include <cstdint>

namespace vellum {

std::array<uint8_t, 10> DoubleToExtended(double value);
double ExtendedToDouble(const uint8_t* bytes);

} // namespace vellum
