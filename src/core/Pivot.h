#pragma once
// A selection handle: a small square on the draw site that passes presses
// to the site as presses on its object with its handle index (0..7 resize,
// 8 rotate).

#include "core/GraphicControl.h"

namespace vellum {

class TPivot : public TGraphicControl {
    VELLUM_CLASS(TPivot)

public:
    static constexpr int32_t PivotSize = 5;
    // object may be none; the handle follows it when it goes away.
    TPivot(TComponent* owner, TDrawObject* object, int handleIndex, int32_t size = PivotSize);
    ~TPivot() override;

    TDrawObject* Object() const { return FObject; }
    int HandleIndex() const { return FHandleIndex; }
    int32_t Size() const { return FSize; }
    // A handle of an object that cannot move shows the default cursor.
    TCursor EffectiveCursor() const;

    // Drawn by inverting the pixels beneath: no object, or a movable one.
    virtual bool IsInverted() const;

    bool HitTestMessage(TPoint controlPoint) override;
    void MouseDown(TMouseButton button, TShiftState shift, TPoint controlPoint) override;

protected:
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TDrawObject* FObject;
    int FHandleIndex;
    int32_t FSize;
};

} // namespace vellum
