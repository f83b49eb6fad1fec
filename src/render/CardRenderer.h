#pragma once
// Cards drawn without a draw site: the one entry every drawing of a card
// goes through (previews, image export, the sheet view, printing), and the
// card images made with it.

#include "core/RenderContext.h"
#include "platform/Canvas.h"

#include <QImage>

#include <functional>

namespace vellum {

class TDOList;
class TFaceInfo;

// A card's logical size on its face: the placed rectangle, bleed included
// (card coordinates start at its top-left).
TPoint CardSizeOf(const TFaceInfo& face);
// The face with its outer rectangle moved to the origin, as cards see it.
TFaceInfo FaceAtOrigin(const TFaceInfo& face);

// Draws the card's visible objects back to front (a higher layer group
// above a lower one, else in list order) onto canvas at context's ratio,
// the card's top-left at the canvas's current origin. Unless outside is
// clNone, what lies outside the face's shape (rounded corners, a cut
// centre) within the card's device rectangle is then filled with it. The
// canvas's state is as before afterwards. next, when given, is called after
// each object (a print job's progress); false leaves the rest undrawn.
void DrawCard(TCanvas& canvas, const TDOList& objects, const TFaceInfo& face, const TRenderContext& context,
              TColor outside = clNone, const std::function<bool()>& next = {});

// The card as a 24-bit bitmap (BGR rows, as bitmaps keep them) of the card's
// pixel size at the screen's resolution, scale percent and unitsPerInch
// logical units per inch, on white, drawn with context (its ratio is set
// here); outside the face's shape it is filled with brush.
void RenderObjectsToBitmap(const TFaceInfo& face, const TDOList& list, QImage& bitmap, int scale,
                           TColor brush = 0xFFFFFF);
void RenderObjectsToBitmap(const TFaceInfo& face, const TDOList& list, QImage& bitmap, int scale,
                           int unitsPerInch, TColor brush,
                           TRenderContext context = TRenderContext::Bitmap({}));

// The same at the zoom MulDiv(targetWidth, 100 * 254, face width * screen
// DPI) capped at 100 (100 for a target width of -1), the result fitted into
// targetWidth x targetHeight keeping its aspect (as rendered when either is
// not positive).
QImage RenderObjectsToImage(const TFaceInfo& face, const TDOList& list, int targetWidth, int targetHeight,
                            TColor brush = 0xFFFFFF);

} // namespace vellum
