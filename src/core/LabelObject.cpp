#include "core/LabelObject.h"

#include "core/DODesigner.h"
#include "platform/Canvas.h"

namespace vellum {

const TClassInfo& TLabelObject::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TLabelObject, TDrawObject>("TLabelObject", [](auto& b) {
        b.Boolean(QStringLiteral("DontPrint"), &TLabelObject::DontPrint, &TLabelObject::SetDontPrint);
        b.Integer(QStringLiteral("BlendRatio"), &TLabelObject::BlendRatio, &TLabelObject::SetBlendRatio)
            .Default(int64_t(100));
        b.Boolean(QStringLiteral("BlendShade"), &TLabelObject::BlendShade, &TLabelObject::SetBlendShade)
            .Default(false);
    });
    return info;
}

TLabelObject::TLabelObject(TComponent* owner) : TDrawObject(owner) {}

void TLabelObject::SetDontPrint(bool v) {
    if (v == FDontPrint) return;
    FDontPrint = v;
    Broadcaster().Notify(this, NID_DontPrintChanged);
    Changed();
}

void TLabelObject::SetBlendRatio(int percent) {
    if (percent == FBlendRatio) return;
    FBlendRatio = percent;
    Changed();
    Invalidate();
}

void TLabelObject::SetBlendShade(bool v) {
    if (v == FBlendShade) return;
    FBlendShade = v;
    Changed();
    Invalidate();
}

void TLabelObject::CreateHandles() { DODesigners().CreateHandles(this); }

void TLabelObject::StartGhost(int handleIndex) { DODesigners().StartGhost(this, handleIndex); }

void TLabelObject::Changed() { TDrawObject::Changed(); }

void TLabelObject::DrawTo(TCanvas& canvas, const TRenderContext& context) const {
    if (FDontPrint && (canvas.IsPrinter() || context.ForPrint)) return;
    TDrawObject::DrawTo(canvas, context);
}

void TLabelObject::SetMovable(bool v) {
    if (v == Movable()) return;
    Changed();
    TDrawObject::SetMovable(v);
}

void TLabelObject::AssignTo(TPersistent* dest) const {
    TDrawObject::AssignTo(dest);
    auto* d = dynamic_cast<TLabelObject*>(dest);
    if (!d) return;
    d->SetPopupMenu(PopupMenu());
    d->SetSelectable(Selectable());
    d->SetEnabled(Enabled());
    d->SetMovable(Movable());
    d->SetTag(Tag());
    d->SetHint(Hint());
    d->SetCursor(Cursor());
    d->SetDontPrint(FDontPrint);
    d->SetBlendShade(FBlendShade);
    d->SetBlendRatio(FBlendRatio);
}

bool TLabelObject::HitTestMessage(TPoint controlPoint) {
    if (Parent() && Parent()->GhostDragging()) return false;
    return TDrawObject::HitTestMessage(controlPoint);
}

void TLabelObject::MouseMove(TShiftState shift, TPoint controlPoint) {
    if (IDrawSite* site = Parent()) site->ObjectMouseMove(shift, ToSite(controlPoint));
}

void TLabelObject::DblClick() {
    TDrawObject::DblClick();
    if (!DODesigners().EditObject(this)) return;
    if (IDrawSite* site = Parent()) {
        site->Refresh();
        site->ClearGhost(this);
    }
}

} // namespace vellum
