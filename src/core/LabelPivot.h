#pragma once
// The handle put round a selected card object: a 6-pixel square that
// passes mouse presses to the site with its object and handle index.

#include "core/GraphicControl.h"

namespace vellum {

class TLabelObject;

class TLabelPivot : public TGraphicControl {
    VELLUM_CLASS(TLabelPivot)

public:
    // Owned by the object it serves.
    TLabelPivot(TLabelObject& object, TCursor cursor, int handleIndex);

    static constexpr int32_t PivotSize = 6;
    TLabelObject* Object() const { return FObject; }
    int HandleIndex() const { return FHandleIndex; }
    // A handle of an object that cannot move shows the default cursor.
    TCursor EffectiveCursor() const;

    bool HitTestMessage(TPoint controlPoint) override;
    void MouseDown(TMouseButton button, TShiftState shift, TPoint controlPoint) override;

protected:
    void Paint() override;

private:
    TLabelObject* FObject;
    int FHandleIndex;
};

} // namespace vellum
