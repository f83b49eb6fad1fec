#include "core/Pivot.h"

#include "core/DrawObject.h"
#include "platform/Canvas.h"

namespace vellum {

const TClassInfo& TPivot::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TPivot, TGraphicControl>("TPivot", [](auto&) {});
    return info;
}

TPivot::TPivot(TComponent* owner, TDrawObject* object, int handleIndex, int32_t size)
    : TGraphicControl(owner), FObject(object), FHandleIndex(handleIndex), FSize(size) {
    if (FObject && FObject != owner) FObject->FreeNotification(this);
    SetBounds(0, 0, size, size);
}

TPivot::~TPivot() {
    if (FObject && FObject != Owner()) FObject->RemoveFreeNotification(this);
}

void TPivot::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FObject) FObject = nullptr;
}

TCursor TPivot::EffectiveCursor() const { return FObject && !FObject->Movable() ? crDefault : Cursor(); }

bool TPivot::IsInverted() const { return !FObject || FObject->Movable(); }

bool TPivot::HitTestMessage(TPoint controlPoint) {
    if (Parent() && Parent()->GhostDragging()) return false;
    return TGraphicControl::HitTestMessage(controlPoint);
}

void TPivot::MouseDown(TMouseButton button, TShiftState shift, TPoint controlPoint) {
    if (shift & ssDouble) return;
    if (IDrawSite* site = Parent(); site && FObject)
        site->ObjectMouseDown(button, shift, FObject, FHandleIndex,
                              {controlPoint.X + Left(), controlPoint.Y + Top()});
}

void TPivot::Paint() {
    TCanvas* canvas = Canvas();
    if (!canvas) return;
    if (IsInverted() && canvas->SupportsRasterOps()) {
        // White XOR the pixels beneath turns them over.
        QImage white(Width(), Height(), QImage::Format_RGB32);
        white.fill(Qt::white);
        const TCopyMode previous = canvas->CopyMode();
        canvas->SetCopyMode(TCopyMode::cmSrcInvert);
        canvas->StretchDraw(ClientRect(), white, {0, 0, Width(), Height()});
        canvas->SetCopyMode(previous);
        return;
    }
    canvas->SetPen({TPenStyle::psSolid, 1, clBlack});
    canvas->SetBrush({TBrushStyle::bsSolid, clWhite});
    canvas->Rectangle(ClientRect());
}

} // namespace vellum
