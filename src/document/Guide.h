#pragma once
// A sheet's guide lines, stored with it: ten slots, each a vertical guide (x, 0), a
// horizontal one (0, y) or empty (0, 0), in 0.1 mm.

#include "document/Grid.h"

#include <array>

namespace vellum {

class TStream;

class TGuide : public TPersistent {
    VELLUM_CLASS(TGuide)
public:
    static constexpr int kCount = 10;

    void AssignTo(TPersistent* dest) const override;

    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }
    // Points snap to the guides.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    int Count() const { return kCount; }

    TPoint Get(int index) const;
    void Set(int index, TPoint p);
    // -1 when every slot is taken.
    int FirstFree() const;
    bool IsEmpty() const;

    // The nearest guide within the tolerance on each axis; none unless enabled.
    TSnapOffset Snap(TPoint p, int32_t tolerance) const;
    // The first guide within the tolerance of the point on its axis; -1 unless enabled.
    int HitTest(int32_t x, int32_t y, int32_t tolerance) const;
    // Empties the slots whose guides lie outside rect; guides stay enabled
    // only while one is left.
    void Clip(const TRect& rect);

    // The "Pos" data: int32 count, then count pairs of int32 (x, y).
    void ReadPositions(TStream& stream);
    void WritePositions(TStream& stream) const;

private:
    bool FVisible = false;
    bool FEnabled = false;
    std::array<TPoint, kCount> FSlots{};
};

} // namespace vellum
