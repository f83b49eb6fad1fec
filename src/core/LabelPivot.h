#pragma once
// The handle put round a selected card object: a 6-pixel square that
// passes mouse presses to the site with its object and handle index.

#include "core/Pivot.h"

namespace vellum {

class TLabelObject;

class TLabelPivot : public TPivot {
    VELLUM_CLASS(TLabelPivot)

public:
    // Owned by the object it serves.
    TLabelPivot(TLabelObject& object, TCursor cursor, int handleIndex);

    static constexpr int32_t PivotSize = 6;
    TLabelObject* Object() const { return FLabelObject; }
    bool IsInverted() const override { return false; }

protected:
    void Paint() override;

private:
    TLabelObject* FLabelObject;
};

} // namespace vellum
