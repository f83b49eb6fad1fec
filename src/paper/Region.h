#pragma once
// An integer region: a set of unit squares, kept as horizontal bands of
// disjoint spans.
//
// Pixel rule, the same for every shape: the unit (x, y) covers
// [x, x + 1) x [y, y + 1) and belongs to a shape when its centre
// (x + 0.5, y + 0.5) lies strictly inside the ideal shape, the shape being
// taken on [Left, Right) x [Top, Bottom). A rectangle therefore holds
// exactly the units Left..Right-1 x Top..Bottom-1, an ellipse the units whose
// centres lie inside the ellipse inscribed in its rectangle, and two shapes
// that only touch share no unit. A unit whose centre lies exactly on a
// polygon's edge belongs to the polygon that lies to the right of that edge,
// so polygons sharing an edge share no unit either. Printing, clipping and
// the overlap checks of papers all use this rule, so they agree on every
// pixel.

#include "base/Numerics.h"

#include <QRegion>

#include <cstdint>
#include <vector>

namespace vellum {

enum class TRegionFillMode { Alternate, Winding };

class TRegion {
public:
    TRegion() = default;

    static TRegion FromRect(const TRect& r);
    static TRegion Ellipse(const TRect& r);
    // Corners replaced by quarters of a cornerWidth x cornerHeight ellipse
    // (clamped to the rectangle's size).
    static TRegion RoundRect(const TRect& r, int32_t cornerWidth, int32_t cornerHeight);
    // The ellipse of the given full width and height centred at (cx2 / 2, cy2 / 2),
    // for centres on half units.
    static TRegion EllipseAt(int64_t cx2, int64_t cy2, int64_t width, int64_t height);
    // Closed polygons (each closes back to its first point), filled together.
    static TRegion Polygon(const std::vector<TPoint>& points,
                           TRegionFillMode mode = TRegionFillMode::Alternate);
    static TRegion PolyPolygon(const std::vector<std::vector<TPoint>>& polygons,
                               TRegionFillMode mode = TRegionFillMode::Alternate);
    // A path with the canvas's point kinds (move, line, Bézier in groups of
    // three, the close flag); every figure is filled as if closed, curves
    // flattened to points rounded to whole units. Malformed kinds end the path.
    static TRegion Path(const std::vector<TPoint>& points, const std::vector<uint8_t>& kinds,
                        TRegionFillMode mode = TRegionFillMode::Alternate);

    bool IsEmpty() const { return FBands.empty(); }
    // The smallest rectangle holding every unit; all zero when empty.
    TRect BoundingBox() const;
    bool Contains(const TPoint& unit) const;
    // Number of units, for tests and checks.
    int64_t Area() const;

    TRegion United(const TRegion& other) const;
    TRegion Subtracted(const TRegion& other) const;
    TRegion Intersected(const TRegion& other) const;
    bool Intersects(const TRegion& other) const { return !Intersected(other).IsEmpty(); }
    TRegion Translated(int32_t dx, int32_t dy) const;

    // The region as disjoint rectangles, band by band.
    std::vector<TRect> Rects() const;
    QRegion ToQRegion() const;

    friend bool operator==(const TRegion&, const TRegion&) = default;

    // One band: rows Top..Bottom-1 holding the spans [X[0], X[1]), [X[2], X[3]), ...
    struct TBand {
        int32_t Top = 0;
        int32_t Bottom = 0;
        std::vector<int32_t> X;
        friend bool operator==(const TBand&, const TBand&) = default;
    };

private:
    enum class TOp { Union, Subtract, Intersect };
    // The round shape in doubled coordinates (see the source).
    static TRegion RoundShape(int64_t l2, int64_t t2, int64_t r2, int64_t b2, int64_t w, int64_t h);
    static TRegion Combine(const TRegion& a, const TRegion& b, TOp op);
    // Appends a band, merging it with the last one when they continue each other.
    void Append(int32_t top, int32_t bottom, std::vector<int32_t> spans);

    std::vector<TBand> FBands; // ascending, disjoint, no two adjacent bands alike
};

} // namespace vellum
