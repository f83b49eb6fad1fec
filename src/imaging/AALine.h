#pragma once
// Anti-aliased lines as coverage values: a line of half width W seen through
// a circular filter of radius R.

#include "imaging/DIB.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vellum {

class TAALineRec {
public:
    TAALineRec() = default;
    virtual ~TAALineRec() = default;

    double HalfWidth() const { return FHalfWidth; }
    void SetHalfWidth(double w);
    double FilterRadius() const { return FFilterRadius; }
    void SetFilterRadius(double r);
    double Intensity() const { return FIntensity; }
    void SetIntensity(double i);

    // Device pixels of the target.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    // The round dot kernel centred at the point, when it is larger than a pixel.
    void Dot(int x, int y);

    // Coverage 0..255 at a distance from the line's centre (16.16 fixed point).
    uint8_t ProfileAt(int64_t distance);
    // The kernel's half size k: (2k + 1) squared entries.
    int DotHalfSize();

protected:
    virtual void Plot(int x, int y, uint8_t coverage) = 0;
    // Where plots can land, when that is limited: a line is walked only
    // over this part of its major axis, however far its ends lie outside.
    virtual std::optional<TRect> PlotArea() const { return std::nullopt; }

private:
    void Build();

    double FHalfWidth = 0.6;
    double FFilterRadius = 0.4;
    double FIntensity = 1.0;
    std::vector<uint8_t> FProfile;
    int FShift = 0;
    int FDotHalf = 0;
    std::vector<uint8_t> FDot;
    int FX = 0, FY = 0;
    bool FDirty = true;
};

// Plots into an 8-bit bitmap: each pixel keeps the larger coverage.
class TAALineAlphaMap : public TAALineRec {
public:
    explicit TAALineAlphaMap(TDIB& map) : FMap(map) {}

protected:
    void Plot(int x, int y, uint8_t coverage) override;
    std::optional<TRect> PlotArea() const override { return TRect{0, 0, FMap.Width(), FMap.Height()}; }

private:
    TDIB& FMap;
};

} // namespace vellum
