#pragma once
// Scan conversion of convex polygons with interpolated attributes, the
// mapping of a rectangle of pixels onto a quadrilateral, and bitmap
// rotation built on it.

#include "imaging/DIB.h"
#include "imaging/PictureEx.h"

#include <array>
#include <functional>

namespace vellum {

struct TScanVertex {
    double X = 0, Y = 0;
    std::array<double, 3> Attr{};
};

// Row y, columns x0..x1 (inclusive), the attributes at x0's pixel centre
// and their steps per column.
using TSpanProc = std::function<void(int y, int x0, int x1, const std::array<double, 3>& start,
                                     const std::array<double, 3>& step)>;

// A convex polygon of up to four vertices, scanned at pixel centres
// (y + 0.5); attrMask selects the attributes interpolated (bits 0..2).
void ScanConvexPolygon(const TScanVertex* vertices, int count, int attrMask, const TRect& clip,
                       const TSpanProc& span);

// The source rectangle mapped onto the quadrilateral of the four corners
// (top left, bottom left, bottom right, top right of the rectangle), in a
// new bitmap of the corners' bounding box filled with the background.
// Returns the bounding box; 8, 16, 24 and 32-bit sources are mapped.
TRect MapRectToQuad(TDIB& target, const TDIB& source, const TRect& sourceRect,
                    const std::array<TPoint, 4>& corners, TColor background);

// The whole source turned by angle degrees (clockwise on screen) into a
// target of the bounding box of the rotated rectangle (0, 0)-(w, h). A
// transparent source is turned with its mask.
TRect RotateImage(const TPictureEx& source, TPictureEx& target, int angle, TColor background, int w, int h);

} // namespace vellum
