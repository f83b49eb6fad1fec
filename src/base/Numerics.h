#pragma once
// Integer geometry and the rounding rules the card geometry depends on.

#include <cstdint>

namespace vellum {

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return {left, top, right, bottom};
}
inline TRect Bounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    return {left, top, left + width, top + height};
}

// a * b / c with a 64-bit intermediate, rounded half away from zero.
// Like the platform function it stands in for, a zero divisor or a result
// outside int32 gives -1.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// Rounds half away from zero: x >= 0 -> trunc(x + 0.5), else trunc(x - 0.5).
int64_t Round(double x);
// Rounds half to even (the arithmetic rounding of the platform's Round).
int64_t RoundHalfEven(double x);
// Integer division truncating toward zero; a zero divisor gives 0.
int64_t Div(int64_t a, int64_t b);
// Remainder with the sign of the dividend; a zero divisor gives 0.
int64_t Mod(int64_t a, int64_t b);

// Swaps Left/Right and Top/Bottom so that Left <= Right and Top <= Bottom.
TRect NormalizeRect(const TRect& r);
// ((Left + Right) div 2, (Top + Bottom) div 2), div truncating toward zero.
TPoint RectCenter(const TRect& r);
TRect OffsetRect(const TRect& r, int32_t dx, int32_t dy);
bool PtInRect(const TRect& r, const TPoint& p);
// Intersection; an empty result is the all-zero rectangle.
TRect IntersectRect(const TRect& a, const TRect& b);
// Union of two rectangles, ignoring empty ones.
TRect UnionRect(const TRect& a, const TRect& b);

} // namespace vellum
