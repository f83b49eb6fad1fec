#pragma once
// The blend path of the drawing objects: an object's image blended into a
// raster target through its 8-bit coverage mask and its blend ratio.

#include "imaging/DIB.h"

#include <QImage>

namespace vellum {

// image (24 or 32 bits) and mask (8 bits) cover deviceRect of dest with
// their top-left pixels at its top-left corner; the part of deviceRect
// outside dest is skipped. Colour channels are blended with alpha
// min(MulDiv(mask, ratio, 100), 255), ratio clamped to 0..100; the fourth
// byte of a 32-bit dest is kept unless image has 32 bits too. dest must be
// a 4-byte BGRx format (RGB32, ARGB32, premultiplied ARGB32) or BGR888.
// False when a format does not fit or the image or mask is smaller than
// deviceRect.
bool BlendAlphaMapWithRatio(QImage& dest, const TDIB& image, const TDIB& mask, const TRect& deviceRect,
                            int ratio);

} // namespace vellum
