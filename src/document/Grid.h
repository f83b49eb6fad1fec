#pragma once
// A sheet's grid, stored with it: shown by the editor as lines or dots, and snapped to.

#include "base/Numerics.h"
#include "base/Persistent.h"

#include <cstdint>
#include <optional>

namespace vellum {

// The move that brings a point onto a grid or guide, per axis; none where
// nothing applies.
struct TSnapOffset {
    std::optional<int32_t> DX;
    std::optional<int32_t> DY;
};

class TGrid : public TPersistent {
    VELLUM_CLASS(TGrid)
public:
    void AssignTo(TPersistent* dest) const override;

    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }
    // Lines, else dots.
    bool LineShape() const { return FLineShape; }
    void SetLineShape(bool value) { FLineShape = value; }
    // Spacing in 0.1 mm.
    int32_t Size() const { return FSize; }
    void SetSize(int32_t value) { FSize = value; }
    // Points snap to the grid.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }

    // To the nearest crossing, halves upward; none unless enabled, and none
    // for a spacing below 1 (a damaged document may hold one).
    TSnapOffset Snap(TPoint p) const;

private:
    bool FVisible = false;
    bool FLineShape = false;
    int32_t FSize = 0;
    bool FEnabled = false;
};

} // namespace vellum
