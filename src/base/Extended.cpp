#include "base/Extended.h"

#include <bit>
#include <cmath>
#include <limits>

namespace vellum {

std::array<uint8_t, 10> DoubleToExtended(double value) {
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    const bool negative = bits >> 63;
    const int exp = int((bits >> 52) & 0x7FF);
    uint64_t frac = bits & ((uint64_t(1) << 52) - 1);
    uint16_t e80 = 0;
    uint64_t m80 = 0;
    if (exp == 0x7FF) { // infinity or NaN
        e80 = 0x7FFF;
        m80 = (uint64_t(1) << 63) | (frac << 11);
    } else if (exp == 0) {
        if (frac != 0) {                             // subnormal: normalise
            int shift = std::countl_zero(frac) - 11; // bring the top bit to bit 52
            frac <<= shift;
            e80 = uint16_t(1 - 1023 - shift + 16383);
            m80 = frac << 11;
        }
    } else {
        e80 = uint16_t(exp - 1023 + 16383);
        m80 = (uint64_t(1) << 63) | (frac << 11);
    }
    std::array<uint8_t, 10> out{};
    for (int i = 0; i < 8; ++i) out[size_t(i)] = uint8_t(m80 >> (8 * i));
    const uint16_t se = uint16_t(e80 | (negative ? 0x8000 : 0));
    out[8] = uint8_t(se);
    out[9] = uint8_t(se >> 8);
    return out;
}

double ExtendedToDouble(const uint8_t* b) {
    uint64_t m = 0;
    for (int i = 7; i >= 0; --i) m = (m << 8) | b[i];
    const uint16_t se = uint16_t(b[8] | (b[9] << 8));
    const bool negative = se & 0x8000;
    const int e80 = se & 0x7FFF;
    const double sign = negative ? -1.0 : 1.0;
    if (e80 == 0x7FFF) {
        if ((m << 1) == 0) return sign * std::numeric_limits<double>::infinity();
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (m == 0) return negative ? -0.0 : 0.0;
    // Value = m * 2^(e80 - 16383 - 63), with m possibly unnormalised.
    int exponent = e80 - 16383 - 63;
    const int lead = 63 - std::countl_zero(m); // index of the top set bit
    exponent += lead;                          // value = 1.f * 2^exponent
    // Keep 53 significant bits (fewer for subnormal results), rounding to nearest even.
    int keep = 53;
    if (exponent < -1022) keep = 53 - (-1022 - exponent);
    if (keep <= 0) {
        // Below half the smallest subnormal rounds to zero; exactly half rounds to zero (even).
        if (keep == 0 && (m << (63 - lead)) != (uint64_t(1) << 63)) return sign * std::ldexp(1.0, -1074);
        return negative ? -0.0 : 0.0;
    }
    const int drop = lead + 1 - keep;
    uint64_t q = m;
    if (drop > 0) {
        const uint64_t rem = m & ((uint64_t(1) << drop) - 1);
        const uint64_t half = uint64_t(1) << (drop - 1);
        q = m >> drop;
        if (rem > half || (rem == half && (q & 1))) ++q;
    }
    // q holds the kept bits (one more after a carry); ldexp overflows to infinity.
    return sign * std::ldexp(double(q), drop > 0 ? exponent - (keep - 1) : exponent - lead);
}

} // namespace vellum
