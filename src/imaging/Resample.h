#pragma once
// Bitmap resampling with three filters and three ways to sample beyond the
// source rectangle, and the recursive Gaussian blur for soft edges. Both
// work on 8-, 24- and 32-bit bitmaps channel by channel.

#include "imaging/DIB.h"

namespace vellum {

enum class TResampleFilter { rfNearest = 0, rfLinear = 1, rfCubic = 2 };
// Samples beyond the source rectangle: the edge pixel; the bitmap's pixels
// beyond the rectangle while there are any, then the edge; wrapped around.
enum class TEdgeMode { emRepeat = 0, emBeyond = 1, emWrap = 2 };

// The source rectangle (wholly inside the source) resampled to
// width x height in the source's pixel format; empty when the arguments do
// not fit.
TDIB ResampleBitmap(const TDIB& source, const TRect& sourceRect, int width, int height, TEdgeMode edge,
                    TResampleFilter filter);

// Deriche's recursive approximation of the Gaussian over rect, horizontally
// (rx >= 1) then vertically (ry >= 1); sigma = (|r| + 1) / sqrt(2 ln 255).
void GaussianBlur(TDIB& bitmap, const TRect& rect, int rx, int ry);

} // namespace vellum
