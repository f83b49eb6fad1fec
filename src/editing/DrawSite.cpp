#include "editing/DrawSite.h"

#include "core/DrawObject.h"
#include "core/Pivot.h"
#include "editing/GhostList.h"

#include <QScopeGuard>

#include <algorithm>

namespace vellum {

namespace {

// The site whose clear-ghost event the ghost list fires.
TDrawSite* GClearGhostSite = nullptr;

// A handle belongs to its object, or to nobody; the site says when it goes.
void FreeHandle(TPivot& pivot) {
    if (TComponent* owner = pivot.Owner())
        owner->FreeComponent(pivot);
    else
        delete &pivot;
}

} // namespace

const TClassInfo& TDrawSite::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TDrawSite, TComponent>("TDrawSite", [](auto& b) {
        b.Integer(QStringLiteral("LogWidth"), &TDrawSite::LogWidth, &TDrawSite::SetLogWidth);
        b.Integer(QStringLiteral("LogHeight"), &TDrawSite::LogHeight, &TDrawSite::SetLogHeight);
        b.Owned(QStringLiteral("Scaler"), TPropKind::Object,
                [](const TDrawSite& s) -> TPersistent* { return &s.Scaler(); });
        b.Integer(QStringLiteral("MoveCursor"), &TDrawSite::MoveCursor, &TDrawSite::SetMoveCursor)
            .Default(int64_t(0))
            .Idents(CursorIdents());
        b.Boolean(QStringLiteral("Border"), &TDrawSite::Border, &TDrawSite::SetBorder).Default(true);
        b.Integer(
             QStringLiteral("Color"), [](const TDrawSite& s) { return int32_t(s.Color()); },
             [](TDrawSite& s, const TPropValue& v) { s.SetColor(TColor(std::get<int64_t>(v))); })
            .Default(int64_t(int32_t(clWindow)))
            .Idents(ColorIdents());
        b.Boolean(QStringLiteral("DoubleBuffered"), &TDrawSite::DoubleBuffered, &TDrawSite::SetDoubleBuffered)
            .Default(false);
        b.Boolean(QStringLiteral("Enabled"), &TDrawSite::Enabled, &TDrawSite::SetEnabled).Default(true);
        b.Property(QStringLiteral("PopupMenu"), TPropKind::ComponentRef, &TDrawSite::PopupMenu,
                   &TDrawSite::SetPopupMenu)
            .StoredIf([](const TDrawSite& s) { return s.PopupMenu() != nullptr; });
        b.Boolean(QStringLiteral("TabStop"), &TDrawSite::TabStop, &TDrawSite::SetTabStop).Default(false);
    });
    return info;
}

TDrawSite::TDrawSite(TComponent* owner)
    : TComponent(owner), FBroadcaster(std::make_unique<TBroadcaster>(this)),
      FListener(std::make_unique<TListener>(
          [this](TPersistent* sender, const TGUID& id) { ObjectNotify(sender, id); })),
      FScaler(std::make_unique<TScaler>()), FDeviceDPI(ScreenDPI()) {
    FScaler->SetUnitDPI(UnitDPI);
    FScaler->OnChange = [this](TScaler*) { Rescale(); };
}

TDrawSite::~TDrawSite() {
    FHost = nullptr;
    if (GClearGhostSite == this) {
        GhostList().OnClear = nullptr;
        GClearGhostSite = nullptr;
    }
    if (GhostList().Site() == this) GhostList().Cancel();
    FListener.reset();
    // Owned children are freed after this; they must not call back.
    const std::vector<TChild> children = std::move(FChildren);
    FChildren.clear();
    for (const TChild& c : children) c.Control->SetParent(nullptr);
    SetPopupMenu(nullptr);
}

void TDrawSite::SetLogWidth(int32_t v) {
    if (v == FLogWidth) return;
    FLogWidth = v;
    Rescale();
}

void TDrawSite::SetLogHeight(int32_t v) {
    if (v == FLogHeight) return;
    FLogHeight = v;
    Rescale();
}

void TDrawSite::SetScaler(const TScaler* scaler) {
    if (scaler && scaler != FScaler.get()) FScaler->Assign(scaler);
}

void TDrawSite::SetBorder(bool v) {
    if (v == FBorder) return;
    FBorder = v;
    Invalidate();
}

void TDrawSite::SetColor(TColor v) {
    if (v == FColor) return;
    FColor = v;
    Invalidate();
}

void TDrawSite::SetPopupMenu(TComponent* menu) {
    if (menu == FPopupMenu) return;
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = menu;
    if (menu) menu->FreeNotification(this);
}

void TDrawSite::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FPopupMenu) FPopupMenu = nullptr;
}

void TDrawSite::SetClientSize(int width, int height) {
    FWidth = std::max(0, width);
    FHeight = std::max(0, height);
    if (FHost) FHost->SiteResized(FWidth, FHeight);
}

void TDrawSite::SetDeviceDPI(int dpi) {
    dpi = std::max(1, dpi);
    if (dpi == FDeviceDPI) return;
    FDeviceDPI = dpi;
    Rescale();
}

TRect TDrawSite::LogicalClientRect() const {
    return {0, 0, DeviceToLogical(FWidth), DeviceToLogical(FHeight)};
}

void TDrawSite::Rescale() {
    const TRect size = LogicalToDevice(TRect{0, 0, FLogWidth, FLogHeight});
    SetClientSize(size.Width(), size.Height());
    const bool shown = FHandlesShown;
    HideHandles();
    for (const TChild& c : FChildren)
        if (c.Object) c.Object->UpdateControlBounds();
    Invalidate();
    if (shown) ShowHandles();
    if (OnScalerChanged) OnScalerChanged(this);
}

// --- children

int TDrawSite::IndexOfChild(const TGraphicControl* control) const {
    for (size_t i = 0; i < FChildren.size(); ++i)
        if (FChildren[i].Control == control) return int(i);
    return -1;
}

void TDrawSite::InsertChild(TGraphicControl& control, TDrawObject* object, TPivot* pivot) {
    if (IndexOfChild(&control) >= 0) return;
    if (IDrawSite* other = control.Parent()) other->RemoveChild(&control);
    FChildren.push_back({&control, object, pivot});
    control.SetParent(this);
    if (object) {
        FListener->Attach(&object->Broadcaster());
        FHandlesDirty = true;
    }
    InvalidateControl(&control);
}

void TDrawSite::PlaceObject(TDrawObject& object) {
    if (IndexOfChild(&object) < 0) {
        InsertChild(object, &object, nullptr);
    } else {
        object.UpdateControlBounds();
    }
    object.BringToFront();
    SetModified(true);
}

void TDrawSite::RemoveObject(TDrawObject& object) {
    const int index = IndexOfChild(&object);
    if (index < 0) return;
    // Its handles go with it.
    for (int i = ChildCount() - 1; i >= 0; --i)
        if (TPivot* pivot = FChildren[size_t(i)].Pivot; pivot && pivot->Object() == &object)
            FreeHandle(*pivot);
    if (object.Selected()) FBroadcaster->Notify(&object, NID_SelectionChanged);
    FListener->Detach(&object.Broadcaster());
    RemoveChild(&object);
    object.SetParent(nullptr);
}

void TDrawSite::SetChildIndex(TGraphicControl* child, int index) {
    const int current = IndexOfChild(child);
    if (current < 0) return;
    const TChild entry = FChildren[size_t(current)];
    FChildren.erase(FChildren.begin() + current);
    index = std::clamp(index, 0, ChildCount());
    FChildren.insert(FChildren.begin() + index, entry);
    InvalidateControl(child);
}

void TDrawSite::RemoveChild(TGraphicControl* child) {
    // May be called from the child's destructor: only its control part is left.
    const int index = IndexOfChild(child);
    if (index < 0) return;
    const TChild entry = FChildren[size_t(index)];
    FChildren.erase(FChildren.begin() + index);
    if (entry.Object) FHandlesDirty = true;
    if (FPressed == child) FPressed = nullptr;
    if (entry.Object && FClicked == entry.Object) FClicked = nullptr;
    if (FHost) FHost->SiteInvalidate(child->BoundsRect());
}

int TDrawSite::ObjectCount() const {
    return int(std::count_if(FChildren.begin(), FChildren.end(), [](const TChild& c) { return c.Object; }));
}

TDrawObject* TDrawSite::ObjectAt(TPoint logicalPoint) const {
    for (auto it = FChildren.rbegin(); it != FChildren.rend(); ++it)
        if (it->Object && it->Object->HitTest(logicalPoint)) return it->Object;
    return nullptr;
}

TGraphicControl* TDrawSite::ControlAt(TPoint point) const {
    for (auto it = FChildren.rbegin(); it != FChildren.rend(); ++it) {
        TGraphicControl* c = it->Control;
        if (!c->Visible() || !c->Enabled() || !PtInRect(c->BoundsRect(), point)) continue;
        if (c->HitTestMessage({point.X - c->Left(), point.Y - c->Top()})) return c;
    }
    return nullptr;
}

void TDrawSite::SelectedObjects(TDOList& list) const {
    for (auto it = FChildren.rbegin(); it != FChildren.rend(); ++it)
        if (it->Object && it->Object->Selected()) list.Add(it->Object);
}

void TDrawSite::AllObjects(TDOList& list) const {
    for (auto it = FChildren.rbegin(); it != FChildren.rend(); ++it)
        if (it->Object) list.Add(it->Object);
}

void TDrawSite::SelectAll(bool select) {
    TDOList objects;
    AllObjects(objects);
    for (TDrawObject* object : objects) object->SetSelected(select);
}

void GiveObjectsToSite(TDrawSite& site, TOwnedDOList& list) {
    for (std::unique_ptr<TDrawObject>& object : list.TakeAll()) {
        // Names only have to be unique among one owner's components; a
        // damaged card may repeat one, which must not stop the drawing.
        if (site.FindComponent(object->Name())) object->SetName(QString());
        site.PlaceObject(site.Adopt(std::move(object)));
    }
}

// --- notifications and state

void TDrawSite::ObjectNotify(TPersistent* sender, const TGUID& id) {
    if (id == NID_SelectionChanged || id == NID_MovableChanged) {
        FHandlesDirty = true;
    } else if (id == NID_ObjectDestroyed) {
        // Still a whole drawing object while its notifier announces the end.
        if (auto* object = dynamic_cast<TDrawObject*>(sender)) {
            FHandlesDirty = true;
            if (FClicked == object) FClicked = nullptr;
            if (object->Selected()) FBroadcaster->Notify(object, NID_SelectionChanged);
        }
    }
    FBroadcaster->Notify(sender, id);
}

void TDrawSite::SetModified(bool modified) {
    if (modified == FModified) return;
    FModified = modified;
    if (OnModifyChanged) OnModifyChanged(this);
}

void TDrawSite::SetHost(IDrawSiteHost* host) {
    FHost = host;
    if (FHost) FHost->SiteResized(FWidth, FHeight);
}

void TDrawSite::Invalidate() {
    if (FHost) FHost->SiteInvalidate(ClientRect());
}

void TDrawSite::InvalidateGhosts() { Invalidate(); }

void TDrawSite::InvalidateControl(TGraphicControl* control) {
    if (FHost && control) FHost->SiteInvalidate(control->BoundsRect());
}

void TDrawSite::Refresh() {
    Invalidate();
    if (FHost) FHost->SiteUpdate();
}

TRect TDrawSite::VisibleRect() const { return FHost ? FHost->SiteVisibleRect() : ClientRect(); }

// --- handles

void TDrawSite::PlaceHandle(TPivot& pivot, TPoint logicalPoint) {
    const TPoint p = LogicalToDevice(logicalPoint);
    const int32_t s = pivot.Size();
    pivot.SetBounds(p.X - s / 2, p.Y - s / 2, s, s);
    if (IndexOfChild(&pivot) < 0) {
        InsertChild(pivot, nullptr, &pivot);
    } else {
        SetChildIndex(&pivot, ChildCount() - 1);
    }
}

void TDrawSite::ShowHandles() {
    FHandlesShown = true;
    RefreshHandles();
}

void TDrawSite::HideHandles() {
    for (const TChild& c : FChildren)
        if (c.Pivot) c.Pivot->SetVisible(false);
    FHandlesShown = false;
    FHandlesDirty = true;
}

void TDrawSite::RemoveHandles() {
    for (int i = ChildCount() - 1; i >= 0; --i)
        if (i < ChildCount() && FChildren[size_t(i)].Pivot) FreeHandle(*FChildren[size_t(i)].Pivot);
}

void TDrawSite::RefreshHandles() {
    if (!FHandlesDirty || (FHost && FHost->SiteMouseCaptured())) return;
    RemoveHandles();
    TDOList selected;
    SelectedObjects(selected);
    for (TDrawObject* object : selected) object->CreateHandles();
    // Several objects are moved together, never resized.
    if (selected.Count() > 1)
        for (const TChild& c : FChildren)
            if (c.Pivot) c.Pivot->SetCursor(crDefault);
    FHandlesShown = true;
    FHandlesDirty = false;
}

// --- drawing

TCanvas* TDrawSite::SetPaintCanvas(TCanvas* canvas) {
    TCanvas* previous = FCanvas;
    FCanvas = canvas;
    return previous;
}

TColor TDrawSite::EffectiveColor() const {
    // System colours stand for the window background.
    return (FColor & 0x80000000u) && FColor != clNone ? clWhite : FColor;
}

void TDrawSite::Paint() {
    if (!FCanvas) return;
    if (FColor != clNone) {
        FCanvas->SetBrush({TBrushStyle::bsSolid, EffectiveColor()});
        FCanvas->FillRect(ClientRect());
    }
    if (OnPaint) {
        const int saved = FCanvas->SaveDC();
        const auto restore = qScopeGuard([&] { FCanvas->RestoreDC(saved); });
        FScaler->Apply(*FCanvas);
        OnPaint(this);
    }
}

void TDrawSite::PaintAfter() {
    if (!FCanvas) return;
    if (OnPaintAfter) OnPaintAfter(this);
    if (!FBorder) return;
    const int saved = FCanvas->SaveDC();
    const auto restore = qScopeGuard([&] { FCanvas->RestoreDC(saved); });
    // Device pixels round the card at the scale being drawn, from where the
    // card's origin lies on the device.
    const TPoint origin = FCanvas->LPtoDP(TPoint{0, 0});
    const TRect card =
        TScaleRatio{FCanvas->DpiY(), FPaintScale ? FPaintScale : Scale(), UnitsPerInch()}.ToDevice(
            TRect{0, 0, FLogWidth, FLogHeight});
    FCanvas->SetMapMode(TMapMode::mmText);
    FCanvas->SetWindowOrg({0, 0});
    FCanvas->SetViewportOrg({0, 0});
    FCanvas->SetPen({TPenStyle::psSolid, 1, clBlack});
    FCanvas->SetBrush({TBrushStyle::bsClear, clWhite});
    FCanvas->Rectangle(OffsetRect(card, origin.X, origin.Y));
}

void TDrawSite::DrawToProgress(int childIndex) {
    if (OnDrawToProgress) OnDrawToProgress(this, childIndex);
}

TRenderContext TDrawSite::RenderContext() const {
    TRenderContext context = FRenderContext;
    context.Target = TRenderTarget::rtScreen;
    context.Ratio = Ratio();
    return context;
}

void TDrawSite::DrawObject(const TDrawObject& object, const TRenderContext& context) {
    if (FCanvas) object.DrawTo(*FCanvas, context);
}

void TDrawSite::DrawTo(TCanvas& canvas, TPoint origin, int scale) {
    const int saved = canvas.SaveDC();
    TCanvas* previous = SetPaintCanvas(&canvas);
    const int previousScale = FPaintScale;
    FPaintScale = scale;
    FPaintingCopy = true;
    const auto restore = qScopeGuard([&] {
        FPaintingCopy = false;
        FPaintScale = previousScale;
        SetPaintCanvas(previous);
        canvas.RestoreDC(saved);
    });
    // The site's own scaler stays as it is: a drawing at another zoom must
    // not resize what the screen shows.
    TScaler scaler;
    scaler.Assign(FScaler.get());
    scaler.SetScale(scale);
    const TCoordMapping m = canvas.Mapping();
    canvas.SetWindowOrg({m.WindowOrg.X - MulDiv(origin.X, m.WindowExt.X, m.ViewportExt.X),
                         m.WindowOrg.Y - MulDiv(origin.Y, m.WindowExt.Y, m.ViewportExt.Y)});
    scaler.Apply(canvas);
    TRenderContext context = FRenderContext;
    context.Target = canvas.IsPrinter() ? TRenderTarget::rtPrinter : TRenderTarget::rtBitmap;
    context.Ratio = scaler.Ratio(canvas.DpiY());
    if (OnPaint) OnPaint(this);
    for (int i = 0; i < ChildCount(); ++i) {
        const TChild c = FChildren[size_t(i)];
        if (c.Object && c.Control->Visible()) DrawObject(*c.Object, context);
    }
    for (int i = 0; i < ChildCount(); ++i) DrawToProgress(i);
    PaintAfter();
}

int TDrawSite::FitScale(TCanvas& canvas, const TRect& rect, bool fitHeight, bool fitBoth) const {
    const TRect size =
        TScaleRatio{canvas.DpiY(), 100, UnitsPerInch()}.ToDevice(TRect{0, 0, FLogWidth, FLogHeight});
    // A card without extent on an axis keeps that axis at 100 %.
    const int sx = size.Width() > 0 ? MulDiv(100, rect.Width(), size.Width()) : 100;
    const int sy = size.Height() > 0 ? MulDiv(100, rect.Height(), size.Height()) : 100;
    if (fitBoth) return fitHeight && sy < sx ? sy : sx;
    return fitHeight ? sy : 100;
}

// --- input

void TDrawSite::MouseDown(TMouseButton button, TShiftState shift, TPoint point) {
    FPressStartedGhosts = false;
    FGhostMovedInPress = false;
    FDeselectOnClick = false;
    FClicked = nullptr;
    FPressed = ControlAt(point);
    if (FPressed) {
        FPressed->MouseDown(button, shift, {point.X - FPressed->Left(), point.Y - FPressed->Top()});
    } else {
        SurfaceMouseDown(button, shift, point, nullptr);
    }
}

void TDrawSite::ObjectMouseDown(TMouseButton button, TShiftState shift, TDrawObject* object, int handleIndex,
                                TPoint sitePoint) {
    if (!object) return;
    if (object->Selected()) {
        if (shift & ssShift) FDeselectOnClick = true;
    } else {
        if (!(shift & ssShift)) SelectAll(false);
        object->SetSelected(true);
    }
    if (button == TMouseButton::mbLeft) {
        FClicked = object;
        if (!GhostList().Active()) {
            TDOList selected;
            SelectedObjects(selected);
            const int index = selected.Count() < 2 ? handleIndex : -1;
            for (TDrawObject* o : selected)
                if (o->Movable()) o->StartGhost(index);
        }
    }
    SurfaceMouseDown(button, shift, sitePoint, object);
}

void TDrawSite::SurfaceMouseDown(TMouseButton button, TShiftState shift, TPoint point, TDrawObject* pressed) {
    if (FHost) FHost->SiteSetFocus();
    if (OnMouseDown) OnMouseDown(this, button, shift, point);
    if (button != TMouseButton::mbLeft) {
        // A press on an object keeps it selected for its context menu.
        if (!pressed) SelectAll(false);
        return;
    }
    if (GhostList().Active()) return;
    const TPoint logical = DeviceToLogical(point);
    // A press on a handle may lie outside its object's own hit area.
    TDrawObject* o = pressed ? pressed : ObjectAt(logical);
    if (!o || !o->Selectable()) {
        if (!(shift & ssShift)) SelectAll(false);
        GhostList().Add(std::make_unique<TSelectGhost>());
    }
    if (GhostList().Count() > 0) {
        BeginGhosts(logical, shift);
    } else {
        RefreshHandles();
    }
}

void TDrawSite::BeginGhosts(TPoint logicalPoint, TShiftState shift) {
    HideHandles();
    if (FHost) FHost->SiteUpdate();
    GClearGhostSite = this;
    GhostList().OnClear = [this] {
        if (OnClearGhost) OnClearGhost(this);
    };
    FPressStartedGhosts = true;
    GhostList().Start(*this, LogicalClientRect(), logicalPoint, shift);
}

bool TDrawSite::GhostDragging() const { return GhostList().Active(); }

void TDrawSite::ClearGhosts() { GhostList().Clear(); }

void TDrawSite::ClearGhost(TDrawObject*) {
    if (OnClearGhost) OnClearGhost(this);
}

void TDrawSite::MouseMove(TShiftState shift, TPoint point) {
    if (FPressed || GhostList().Active()) {
        SurfaceMouseMove(shift, point);
        return;
    }
    if (TGraphicControl* c = ControlAt(point)) {
        if (auto* object = dynamic_cast<TDrawObject*>(c)) {
            object->MouseMove(shift, {point.X - c->Left(), point.Y - c->Top()});
            return;
        }
    }
    SurfaceMouseMove(shift, point);
}

void TDrawSite::ObjectMouseMove(TShiftState shift, TPoint sitePoint) { SurfaceMouseMove(shift, sitePoint); }

void TDrawSite::SurfaceMouseMove(TShiftState shift, TPoint point) {
    if (OnMouseMove) OnMouseMove(this, shift, point);
    if (!GhostList().Active() || GhostList().Site() != this) return;
    if (FHost) FHost->SiteAutoScroll(point);
    GhostList().Move(shift, DeviceToLogical(point));
}

void TDrawSite::MouseUp(TMouseButton button, TShiftState shift, TPoint point) {
    TGraphicControl* pressed = FPressed;
    const auto end = qScopeGuard([this] {
        FPressed = nullptr;
        FClicked = nullptr;
        FDeselectOnClick = false;
        RefreshHandles();
    });
    if (button == TMouseButton::mbLeft && GhostList().Active() && GhostList().Site() == this) {
        GhostList().Move(shift, DeviceToLogical(point));
        FGhostMovedInPress = GhostList().Moved();
        GhostList().Finish();
    }
    if (OnMouseUp) OnMouseUp(this, button, shift, point);
    if (button != TMouseButton::mbLeft) return;
    // A click is a release over what was pressed (a control freed meanwhile counts as hit).
    const bool inside = FPressed ? PtInRect(pressed->BoundsRect(), point) : PtInRect(ClientRect(), point);
    if (!inside) return;
    if (FClicked) {
        TDrawObject* object = FClicked;
        if (!FGhostMovedInPress && FDeselectOnClick) object->SetSelected(false);
        if (object->OnClick) object->OnClick(object);
    } else if (!pressed && OnClick) {
        OnClick(this);
    }
}

void TDrawSite::KeyChanged(TShiftState shift) {
    if (!GhostList().Active() || GhostList().Site() != this || !FHost) return;
    GhostList().Move(shift, DeviceToLogical(FHost->SiteCursorPos()));
}

void TDrawSite::CancelMode() {
    if (GhostList().Active() && GhostList().Site() == this) GhostList().Cancel();
    FPressed = nullptr;
    FClicked = nullptr;
    FDeselectOnClick = false;
    RefreshHandles();
}

TCursor TDrawSite::CursorAt(TPoint point) const {
    TGraphicControl* c = ControlAt(point);
    if (!c) return FCursor;
    if (auto* pivot = dynamic_cast<TPivot*>(c)) return pivot->EffectiveCursor();
    return c->Cursor();
}

// --- streaming

void TDrawSite::GetChildren(const std::function<void(TComponent*)>& proc) const {
    for (const TChild& c : FChildren)
        if (c.Object && c.Object->Owner() == this) proc(c.Object);
}

void TDrawSite::ChildRead(TComponent* child) {
    if (auto* object = dynamic_cast<TDrawObject*>(child)) PlaceObject(*object);
}

void TDrawSite::Loaded() {
    TComponent::Loaded();
    if (FLogWidth || FLogHeight) {
        Rescale();
    } else {
        FLogWidth = DeviceToLogical(FWidth);
        FLogHeight = DeviceToLogical(FHeight);
    }
    SetModified(false);
}

} // namespace vellum
