#include "core/DrawObject.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/StringList.h"
#include "platform/Canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScopeGuard>

namespace vellum {

namespace {

// Set once at start-up, before any drawing.
TBlendPainter GBlendPainter = nullptr;
TPaintFailureReporter GPaintFailureReporter = nullptr;

constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;

// Until the canvas draws text, the caption is rasterised once and placed as
// an image.
void DrawCaption(TCanvas& canvas, TPoint at, const QString& text) {
    if (!qGuiApp) return;
    QFont font(QStringLiteral("System"));
    font.setPointSize(12);
    const QFontMetrics metrics(font);
    QImage image(std::max(1, metrics.horizontalAdvance(text)), std::max(1, metrics.height()),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(0, metrics.ascent(), text);
    }
    canvas.Draw(at.X, at.Y, image);
}

// Bounds of zero width or height (a straight line) still count inside the clip.
bool Overlaps(const TRect& a, const TRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

TRect Inflate(const TRect& r, int32_t d) { return {r.Left - d, r.Top - d, r.Right + d, r.Bottom + d}; }

} // namespace

void SetBlendPainter(TBlendPainter painter) { GBlendPainter = painter; }
TBlendPainter BlendPainter() { return GBlendPainter; }
void SetPaintFailureReporter(TPaintFailureReporter reporter) { GPaintFailureReporter = reporter; }

const TClassInfo& TDrawObject::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TDrawObject, TGraphicControl>("TDrawObject", [](auto& b) {
        b.Boolean(QStringLiteral("Border"), &TDrawObject::Border, &TDrawObject::SetBorder);
        b.Property(QStringLiteral("PopupMenu"), TPropKind::ComponentRef, &TGraphicControl::PopupMenu,
                   &TGraphicControl::SetPopupMenu)
            .StoredIf([](const TDrawObject& o) { return o.PopupMenu() != nullptr; });
        b.Boolean(QStringLiteral("Movable"), &TDrawObject::Movable, &TDrawObject::SetMovable).Default(true);
        b.Boolean(QStringLiteral("Selectable"), &TDrawObject::Selectable, &TDrawObject::SetSelectable)
            .Default(true);
        b.Integer(QStringLiteral("LayerGroup"), &TDrawObject::LayerGroup, &TDrawObject::SetLayerGroup);
        b.Property(QStringLiteral("OnModify"), TPropKind::Event, &TDrawObject::OnModifyName,
                   [](TDrawObject&, const TPropValue&) {})
            .Stored(false);
        b.Owned(QStringLiteral("Appendix"), TPropKind::StringList, &TDrawObject::Appendix)
            .StoredIf([](const TDrawObject& o) { return o.Appendix()->Count() > 0; });
    });
    return info;
}

TDrawObject::TDrawObject(TComponent* owner)
    : TGraphicControl(owner), FChangeNotify(std::make_unique<TChangeNotify>(this, [this] { Modified(); })),
      FListener(
          std::make_unique<TListener>([this](TPersistent* sender, const TGUID& id) { Notify(sender, id); })),
      FAppendix(std::make_unique<TStringList>()) {}

TDrawObject::~TDrawObject() {
    FListener.reset();
    // Announces the destruction to every listener, then lets them go.
    FChangeNotify.reset();
    FAppendix.reset();
}

void TDrawObject::Modified() {
    if (Parent()) Parent()->SetModified(true);
    if (OnModify) OnModify(this);
}

void TDrawObject::SetBorder(bool v) {
    if (v == FBorder) return;
    FBorder = v;
    Invalidate();
}

void TDrawObject::SetSelectable(bool v) {
    if (v == FSelectable) return;
    FSelectable = v;
    if (!v && FSelected) SetSelected(false);
}

void TDrawObject::SetAppendix(const TStringList* lines) {
    const QStringList items = lines ? lines->Items() : QStringList();
    if (items == FAppendix->Items()) return;
    FAppendix->SetItems(items);
    Modified();
}

void TDrawObject::Assign(const TPersistent* source) {
    BeginUpdate();
    struct TEnd {
        TDrawObject* Object;
        ~TEnd() { Object->EndUpdate(); }
    } end{this};
    TGraphicControl::Assign(source);
}

void TDrawObject::AssignTo(TPersistent* dest) const {
    auto* d = dynamic_cast<TDrawObject*>(dest);
    if (!d) {
        TGraphicControl::AssignTo(dest);
        return;
    }
    d->SetBorder(FBorder);
    d->SetSelected(FSelected);
    d->SetAppendix(FAppendix.get());
}

bool TDrawObject::NeedsBlend() const {
    const IDOBlend* blend = Capability<IDOBlend>();
    return blend && (blend->GetBlendRatio() != 100 || blend->GetBlendShade());
}

void TDrawObject::DrawContent(TCanvas& canvas, const TRenderContext& context) const {
    if (GBlendPainter && NeedsBlend() && canvas.HasAccessibleBits()) {
        const IDOBlend* blend = Capability<IDOBlend>();
        const int ratio = blend ? blend->GetBlendRatio() : 100;
        const TRect area = IntersectRect(GetBounds(), Inflate(canvas.ClipBox().first, 5));
        if (GBlendPainter(*this, canvas, area, ratio, context)) return;
    }
    Paint(canvas, context);
}

void TDrawObject::DrawMask(TCanvas& mask, const TRenderContext&) const {
    mask.SetBrush({TBrushStyle::bsSolid, clWhite});
    mask.FillRect(mask.ClipBox().first);
    mask.SetBrush({TBrushStyle::bsSolid, clBlack});
}

void TDrawObject::CreateImage(TCanvas& image, const TRenderContext& context) const { Paint(image, context); }

void TDrawObject::Notify(TPersistent*, const TGUID&) {}

void TDrawObject::SetSelected(bool v) {
    if (v && !FSelectable) return;
    FSelected = v;
    FChangeNotify->Notify(this, NID_SelectionChanged);
}

void TDrawObject::SetMovable(bool v) {
    if (v == FMovable) return;
    FMovable = v;
    FChangeNotify->Notify(this, NID_MovableChanged);
}

void TDrawObject::Changed() { FChangeNotify->Changed(); }

void TDrawObject::DrawTo(TCanvas& canvas, const TRenderContext& context) const {
    const TRect bounds = GetBounds();
    const auto [clip, notEmpty] = canvas.ClipBox();
    if (!notEmpty || !Overlaps(bounds, clip)) return;
    const int saved = canvas.SaveDC();
    const auto restore = qScopeGuard([&] { canvas.RestoreDC(saved); });
    canvas.IntersectClipRect(bounds);
    DrawContent(canvas, context);
}

void TDrawObject::DrawFailurePattern(TCanvas& canvas) const {
    canvas.SetPen({TPenStyle::psSolid, 1, clRed});
    canvas.SetBrush({TBrushStyle::bsDiagCross, clRed});
    canvas.Rectangle(ClientRect());
    DrawCaption(canvas, {1, 1}, SPaintFailed);
}

void TDrawObject::PaintMessage() {
    TCanvas* canvas = Canvas();
    IDrawSite* site = Parent();
    if (!canvas || !site) return;
    // Opaque controls above this one paint over it anyway.
    const int index = SiteIndex();
    for (int i = index + 1; index >= 0 && i < site->ChildCount(); ++i) {
        TGraphicControl* above = site->Child(i);
        if (above && above->Visible() && above->IsOpaque())
            canvas->ExcludeClipRect(OffsetRect(above->BoundsRect(), -Left(), -Top()));
    }
    if (FPaintFailed) {
        DrawFailurePattern(*canvas);
        return;
    }
    try {
        FPaintFailed = true;
        if (FBorder) {
            canvas->SetPen({TPenStyle::psSolid, 1, clBlue});
            canvas->SetBrush({TBrushStyle::bsClear, clWhite});
            canvas->Rectangle(ClientRect());
        }
        struct TRestore {
            TCanvas& Canvas;
            int Saved;
            ~TRestore() { Canvas.RestoreDC(Saved); }
        } restore{*canvas, canvas->SaveDC()};
        const TScaleRatio ratio = site->Ratio();
        TCoordMapping mapping;
        mapping.Mode = TMapMode::mmAnisotropic;
        mapping.WindowExt = {ratio.LogicalExtent(), ratio.LogicalExtent()};
        mapping.ViewportExt = {ratio.DeviceExtent(), ratio.DeviceExtent()};
        mapping.ViewportOrg = {-Left(), -Top()};
        canvas->SetMapping(mapping);
        DrawContent(*canvas, site->RenderContext());
        FPaintFailed = false;
    } catch (const std::exception& error) {
        Invalidate();
        if (GPaintFailureReporter) GPaintFailureReporter(*this, &error);
    } catch (...) {
        Invalidate();
        if (GPaintFailureReporter) GPaintFailureReporter(*this, nullptr);
    }
}

void TDrawObject::SetParent(IDrawSite* site) {
    TGraphicControl::SetParent(site);
    UpdateControlBounds();
}

void TDrawObject::UpdateControlBounds() {
    IDrawSite* site = Parent();
    if (!site) return;
    const TRect r = site->LogicalToDevice(GetBounds());
    SetBounds(r.Left, r.Top, r.Width() + 1, r.Height() + 1);
}

bool TDrawObject::HitTestMessage(TPoint controlPoint) {
    IDrawSite* site = Parent();
    return site && HitTest(site->DeviceToLogical(ToSite(controlPoint)));
}

void TDrawObject::MouseDown(TMouseButton button, TShiftState shift, TPoint controlPoint) {
    if (shift & ssDouble) {
        DblClick();
        return;
    }
    if (IDrawSite* site = Parent()) site->ObjectMouseDown(button, shift, this, -1, ToSite(controlPoint));
}

void TDrawObject::BringToFront() {
    IDrawSite* site = Parent();
    if (!site) {
        TGraphicControl::BringToFront();
        return;
    }
    const int current = SiteIndex();
    int target = -1;
    for (int i = 0; i < site->ChildCount(); ++i) {
        auto* other = dynamic_cast<TDrawObject*>(site->Child(i));
        if (!other) continue;
        if (other->LayerGroup() > FLayerGroup) {
            target = current < i ? i - 1 : i;
            break;
        }
        target = i;
    }
    if (target >= 0 && target != current) {
        site->SetChildIndex(this, target);
        Changed();
    }
}

void TDrawObject::SendToBack() {
    IDrawSite* site = Parent();
    if (!site) {
        TGraphicControl::SendToBack();
        return;
    }
    const int current = SiteIndex();
    int target = 0;
    for (int i = site->ChildCount() - 1; i >= 0; --i) {
        auto* other = dynamic_cast<TDrawObject*>(site->Child(i));
        if (other && other->LayerGroup() < FLayerGroup) {
            target = current < i ? i : i + 1;
            break;
        }
    }
    if (target != current) {
        site->SetChildIndex(this, target);
        Changed();
    }
}

TDrawObject& CloneInto(const TDrawObject& source, TComponent& owner) {
    return owner.Adopt(CloneObject(source));
}

std::unique_ptr<TDrawObject> CloneObject(const TDrawObject& source) {
    std::unique_ptr<TPersistent> made(source.ClassType().Create(nullptr));
    std::unique_ptr<TDrawObject> object = TakeAs<TDrawObject>(made);
    if (!object)
        throw EConvertError(
            Format(QStringLiteral("%s を %s に代入できません"), source.ClassName(), QStringLiteral("nil")));
    object->Assign(&source);
    return object;
}

} // namespace vellum
