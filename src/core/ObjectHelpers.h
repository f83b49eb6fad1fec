#pragma once
// Geometric helpers shared by the editor, the document and printing.

#include "base/Numerics.h"

namespace vellum {

class IDrawSite;
class TDOList;
class TDrawObject;
class TOwnedDOList;

// Moves each object whose bounds' centre lies less than 1 mm inside area
// back to 1 mm inside.
void KeepObjectsInside(const TDOList& objects, const TRect& area);
// Maps the objects' bounds from one rectangle onto another.
void ScaleObjects(const TDOList& objects, const TRect& from, const TRect& to);
// Fits a new object into the site's card and centres it on the visible part.
void FitObjectToSite(TDrawObject& object, const IDrawSite& site);
// Logical size of a picture taken at 180 dpi, at least 3 mm a side.
TPoint DefaultPictureSize(TPoint pixels);
// The pen width a hit test uses: the object's pen plus one device pixel
// (3 logical units off a site).
int32_t HitTestPenWidth(const TDrawObject& object, int32_t penWidth);
// Whether p lies on the segment a-b drawn with a pen of that width.
bool PointOnSegment(TPoint p, TPoint a, TPoint b, int32_t penWidth);
void ReverseList(TDOList& objects);
void ReverseList(TOwnedDOList& objects);

} // namespace vellum
