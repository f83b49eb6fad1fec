#pragma once
// One measured display line: each character's A/B/C widths and pen position,
// and the visible extent of the line, in logical units (0.1 mm).

#include "platform/FontEngine.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace vellum {

using TABCArray = std::vector<TABC>;
using TIntArray = std::vector<int32_t>;

struct TCharLayout {
    TABCArray ABCs;
    TIntArray Positions;
    int32_t InkLeft = 0;
    int32_t InkRight = 0;
    int32_t Height = 0;
    QString Text;
};

// Text alignment along the line: start, centre, end, spread over the extent.
enum TTextAlign : int32_t { taStart = 0, taCentre = 1, taEnd = 2, taJustify = 3 };

struct TPlacement {
    TIntArray Positions;
    int32_t InkLeft = 0;
    int32_t InkRight = 0;
};

// Places characters of the given widths along a line of the extent.
TPlacement PlaceChars(const TABCArray& abcs, int32_t extent, int32_t spacing, int32_t align);
// The same for cells of the given widths without bearings.
TPlacement PlaceCells(const TIntArray& widths, int32_t extent, int32_t spacing, int32_t align);
// Measures the line with the font (em size in logical units) and places it.
// A tab reaches the next stop of eight "0" widths, counted in characters.
void MeasureLine(const TFontRequest& font, TCharLayout& layout, const QString& text, int32_t spacing,
                 int32_t align, int32_t extent);

} // namespace vellum
