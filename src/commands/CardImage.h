#pragma once
// One card of a document drawn into a bitmap: at a zoom and a unit of its
// own, clipped to the face's shape with the background outside; saved as a
// bitmap or a JPEG file ("名刺イメージの出力").

#include <QImage>
#include <QString>

namespace vellum {

class TDrawSite;
class TLabelData;

// Sets the site up for card i of the current sheet: logical size of the
// face, and the card's objects placed on it (the site owns them).
void LoadCardOnSite(TLabelData& document, int card, TDrawSite& site);

// 24-bit image of card i of the current sheet at scale percent with
// unitsPerInch logical units per inch (100 and 254 for image export).
QImage RenderCardImage(TLabelData& document, int card, int scale = 100, int unitsPerInch = 254);

// The stored preview of the first card of a document file's first sheet;
// a null image when it has none or the file is not a document.
QImage DocumentFilePreview(const QString& fileName);

enum class TCardImageFormat { cfBitmap = 1, cfJpeg = 2 };

// Raises on failure; the file is replaced only when the whole image was written.
void ExportCardImage(TLabelData& document, int card, const QString& fileName, TCardImageFormat format);

} // namespace vellum
