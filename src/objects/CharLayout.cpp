#include "objects/CharLayout.h"

#include <algorithm>
#include <limits>

namespace vellum {

TPlacement PlaceChars(const TABCArray& abcs, int32_t extent, int32_t spacing, int32_t align) {
    TPlacement out;
    const size_t n = abcs.size();
    out.Positions.resize(n);
    // 64-bit sums: a stored spacing or extent may be anything.
    int64_t x = 0, lo = std::numeric_limits<int64_t>::max(), hi = std::numeric_limits<int64_t>::min();
    for (size_t j = 0; j < n; ++j) {
        out.Positions[j] = int32_t(x);
        x += abcs[j].A;
        lo = std::min(lo, x);
        hi = std::max(hi, x + abcs[j].B);
        x += int64_t(abcs[j].B) + abcs[j].C + (align == taJustify ? 0 : spacing);
    }
    if (n == 0) lo = hi = 0;
    if (align == taJustify) {
        out.InkLeft = 0;
        out.InkRight = extent;
        const int64_t slack = int64_t(extent) - (hi - lo);
        int64_t pen = -lo, previous = 0;
        for (size_t j = 0; j < n; ++j) {
            out.Positions[j] = int32_t(pen);
            pen += int64_t(abcs[j].A) + abcs[j].B + abcs[j].C;
            if (n >= 2) {
                const int64_t gap = slack * int64_t(j + 1) / int64_t(n - 1);
                pen += gap - previous;
                previous = gap;
            }
        }
        return out;
    }
    int64_t d = -lo;
    if (align == taEnd)
        d = extent - hi;
    else if (align == taCentre)
        d = (extent - hi - lo) / 2;
    for (int32_t& p : out.Positions) p = int32_t(p + d);
    out.InkLeft = int32_t(lo + d);
    out.InkRight = int32_t(hi + d);
    return out;
}

TPlacement PlaceCells(const TIntArray& widths, int32_t extent, int32_t spacing, int32_t align) {
    TABCArray abcs;
    abcs.reserve(widths.size());
    for (int32_t w : widths) abcs.push_back(TABC{0, w, 0});
    return PlaceChars(abcs, extent, spacing, align);
}

void MeasureLine(const TFontRequest& font, TCharLayout& layout, const QString& text, int32_t spacing,
                 int32_t align, int32_t extent) {
    IFontEngine& engine = FontEngine();
    layout.ABCs.clear();
    layout.ABCs.reserve(size_t(text.size()));
    int32_t zero = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\t') {
            if (zero < 0) zero = engine.CharABC(font, U'0').Advance();
            layout.ABCs.push_back(TABC{0, zero * int32_t(8 - i % 8), 0});
        } else {
            layout.ABCs.push_back(engine.CharABC(font, c.unicode()));
        }
    }
    TPlacement placed = PlaceChars(layout.ABCs, extent, spacing, align);
    layout.Positions = std::move(placed.Positions);
    layout.InkLeft = placed.InkLeft;
    layout.InkRight = placed.InkRight;
    layout.Text = text;
    layout.Height = engine.Metrics(font).Height();
}

} // namespace vellum
