#pragma once
// Drawing objects rendered off screen through a hidden draw site: for card
// images, document previews and thumbnails.

#include "platform/Canvas.h"

#include <QImage>

namespace vellum {

class TFaceInfo;
class TOwnedDOList;

// A card's logical size on its face: the placed rectangle, bleed included
// (card coordinates start at its top-left).
TPoint CardSizeOf(const TFaceInfo& face);
// A site without border at 254 units per inch and the given zoom, sized to
// the card (CardSizeOf), takes every object of list (the site owns them then
// and frees them with itself; list is emptied) and draws into bitmap, which
// becomes 24-bit (BGR rows, as bitmaps keep them) of the site's pixel size
// at the screen's resolution, on white. Outside the face's shape the bitmap
// is filled with brush.
void RenderObjectsToBitmap(const TFaceInfo& face, TOwnedDOList& list, QImage& bitmap, int scale,
                           TColor brush = 0xFFFFFF);
// The same at unitsPerInch logical units per inch instead of 254.
void RenderObjectsToBitmap(const TFaceInfo& face, TOwnedDOList& list, QImage& bitmap, int scale, int unitsPerInch,
                           TColor brush);

// The same at the zoom MulDiv(targetWidth, 100 * 254, face width * screen
// DPI) capped at 100 (100 for a target width of -1), the result fitted into
// targetWidth x targetHeight keeping its aspect (as rendered when either is
// not positive).
QImage RenderObjectsToImage(const TFaceInfo& face, TOwnedDOList& list, int targetWidth, int targetHeight,
                            TColor brush = 0xFFFFFF);

} // namespace vellum
