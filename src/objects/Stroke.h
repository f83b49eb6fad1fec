#pragma once
// An outline path in logical units: points with their path point kinds.

#include "base/Numerics.h"
#include "base/Persistent.h"

#include <cstdint>
#include <vector>

namespace vellum {

class TAALineRec;
class TCanvas;
class TDIB;
class TTransformer;

class TStroke : public TPersistent {
    VELLUM_CLASS(TStroke)

public:
    int Count() const { return int(FKinds.size()); }
    // Kept points keep their contents.
    void SetCount(int n);
    void Clear() { SetCount(0); }
    TPoint Point(int i) const { return FPoints[size_t(i)]; }
    uint8_t Kind(int i) const { return FKinds[size_t(i)]; }
    void SetKind(int i, uint8_t kind) { FKinds[size_t(i)] = kind; }
    void AddPoint(int32_t x, int32_t y, uint8_t kind);
    // Appends the canvas's current path unchanged.
    void AppendPath(const TCanvas& canvas);

    void SetRect(const TRect& r);
    // Four cubic quarter arcs inscribed in r.
    void SetEllipse(const TRect& r);
    void SetRoundRect(const TRect& r, int32_t cornerDiameter);

    // Control points included; an empty stroke gives an empty rectangle at 0,0.
    TRect GetBounds() const;
    // Replays the path with move-to and line-to calls; curves are flattened
    // here so that points on the same device pixel are skipped.
    virtual void Draw(TCanvas& canvas) const;
    // The same figures as Draw as anti-aliased lines with round joins into
    // an 8-bit coverage map; mapping takes logical units to the map's pixels.
    // An empty stroke draws nothing.
    void DrawAntialiased(TDIB& map, const TCanvas& mapping) const;
    // The same through a rasteriser of the caller's widths and target.
    void DrawAntialiased(TAALineRec& line, const TCanvas& mapping) const;
    // Leaves the stroke as the canvas's current path.
    void SelectAsPath(TCanvas& canvas) const;
    // Splits straight segments into runs of points at most 8 units apart.
    void Subdivide();
    void Transform(const TTransformer& transformer);

    void Assign(const TPersistent* source) override;

private:
    std::vector<TPoint> FPoints;
    std::vector<uint8_t> FKinds;
};

} // namespace vellum
