#include "core/GraphicControl.h"

namespace vellum {

const TClassInfo& TGraphicControl::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TGraphicControl,
                                                    TComponent>("TGraphicControl", [](auto& b) {
        // Device pixels: derived from the logical geometry, never written.
        b.Integer(QStringLiteral("Left"), &TGraphicControl::Left, &TGraphicControl::SetLeft).Stored(false);
        b.Integer(QStringLiteral("Top"), &TGraphicControl::Top, &TGraphicControl::SetTop).Stored(false);
        b.Integer(QStringLiteral("Width"), &TGraphicControl::Width, &TGraphicControl::SetWidth).Stored(false);
        b.Integer(QStringLiteral("Height"), &TGraphicControl::Height, &TGraphicControl::SetHeight)
            .Stored(false);
        b.Integer(QStringLiteral("Cursor"), &TGraphicControl::Cursor, &TGraphicControl::SetCursor)
            .Default(int64_t(crDefault))
            .Idents(CursorIdents());
        b.String(QStringLiteral("Hint"), &TGraphicControl::Hint, &TGraphicControl::SetHint)
            .StoredIf([](const TGraphicControl& c) { return !c.Hint().isEmpty(); });
    });
    return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TComponent(owner) {}

TGraphicControl::~TGraphicControl() {
    if (FParent) FParent->RemoveChild(this);
}

void TGraphicControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    const TRect r = Bounds(left, top, width, height);
    if (r == FBounds) return;
    Invalidate();
    FBounds = r;
    Invalidate();
}

void TGraphicControl::SetVisible(bool v) {
    if (v == FVisible) return;
    FVisible = v;
    if (FParent) FParent->InvalidateControl(this);
}

void TGraphicControl::SetPopupMenu(TComponent* menu) {
    if (menu == FPopupMenu) return;
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = menu;
    if (menu) menu->FreeNotification(this);
}

void TGraphicControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FPopupMenu) FPopupMenu = nullptr;
}

void TGraphicControl::Invalidate() {
    if (FParent && FVisible) FParent->InvalidateControl(this);
}

int TGraphicControl::SiteIndex() const {
    if (!FParent) return -1;
    for (int i = 0; i < FParent->ChildCount(); ++i)
        if (FParent->Child(i) == this) return i;
    return -1;
}

void TGraphicControl::BringToFront() {
    if (FParent) FParent->SetChildIndex(this, FParent->ChildCount() - 1);
}

void TGraphicControl::SendToBack() {
    if (FParent) FParent->SetChildIndex(this, 0);
}

void TGraphicControl::PaintOn(TCanvas& canvas) {
    TCanvas* previous = FCanvas;
    FCanvas = &canvas;
    struct TRestore {
        TCanvas*& Slot;
        TCanvas* Value;
        ~TRestore() { Slot = Value; }
    } restore{FCanvas, previous};
    PaintMessage();
}

bool TGraphicControl::HitTestMessage(TPoint controlPoint) { return PtInRect(ClientRect(), controlPoint); }

void TGraphicControl::MouseDown(TMouseButton, TShiftState shift, TPoint) {
    if (shift & ssDouble) DblClick();
}

void TGraphicControl::MouseMove(TShiftState, TPoint) {}

void TGraphicControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

} // namespace vellum
