#include "core/LabelPivot.h"

#include "core/LabelObject.h"
#include "platform/Canvas.h"

namespace vellum {

const TClassInfo& TLabelPivot::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TLabelPivot, TGraphicControl>("TLabelPivot", [](auto&) {});
    return info;
}

TLabelPivot::TLabelPivot(TLabelObject& object, TCursor cursor, int handleIndex)
    : TGraphicControl(&object), FObject(&object), FHandleIndex(handleIndex) {
    SetCursor(cursor);
    SetBounds(0, 0, PivotSize, PivotSize);
}

TCursor TLabelPivot::EffectiveCursor() const { return FObject->Movable() ? Cursor() : crDefault; }

bool TLabelPivot::HitTestMessage(TPoint controlPoint) {
    if (Parent() && Parent()->GhostDragging()) return false;
    return TGraphicControl::HitTestMessage(controlPoint);
}

void TLabelPivot::MouseDown(TMouseButton button, TShiftState shift, TPoint controlPoint) {
    if (shift & ssDouble) return;
    if (IDrawSite* site = Parent())
        site->ObjectMouseDown(button, shift, FObject, FHandleIndex, {controlPoint.X + Left(), controlPoint.Y + Top()});
}

void TLabelPivot::Paint() {
    TCanvas* canvas = Canvas();
    if (!canvas) return;
    // A handle of an immovable object looks like a plain one.
    const bool movable = FObject->Movable();
    canvas->SetPen({TPenStyle::psSolid, 1, movable ? clWhite : clBlack});
    canvas->SetBrush({TBrushStyle::bsSolid, movable ? clBlack : clWhite});
    canvas->Rectangle(ClientRect());
}

} // namespace vellum
