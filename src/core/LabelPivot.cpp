#include "core/LabelPivot.h"

#include "core/LabelObject.h"
#include "platform/Canvas.h"

namespace vellum {

const TClassInfo& TLabelPivot::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TLabelPivot, TPivot>("TLabelPivot", [](auto&) {});
    return info;
}

TLabelPivot::TLabelPivot(TLabelObject& object, TCursor cursor, int handleIndex)
    : TPivot(&object, &object, handleIndex, PivotSize), FLabelObject(&object) {
    SetCursor(cursor);
}

void TLabelPivot::Paint() {
    TCanvas* canvas = Canvas();
    if (!canvas) return;
    // A handle of an immovable object looks like a plain one.
    const bool movable = FLabelObject->Movable();
    canvas->SetPen({TPenStyle::psSolid, 1, movable ? clWhite : clBlack});
    canvas->SetBrush({TBrushStyle::bsSolid, movable ? clBlack : clWhite});
    canvas->Rectangle(ClientRect());
}

} // namespace vellum
