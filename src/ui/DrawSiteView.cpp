#include "ui/DrawSiteView.h"

#include "core/GraphicControl.h"
#include "editing/GhostList.h"

#include <QImage>
#include <QKeyEvent>
#include <QMap>
#include <QMouseEvent>
#include <QPainter>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>

namespace vellum {

namespace {

QMap<TCursor, QCursor>& CustomCursors() {
    static QMap<TCursor, QCursor> cursors;
    return cursors;
}

Qt::CursorShape ShapeFor(TCursor cursor) {
    switch (cursor) {
    case -2:
        return Qt::ArrowCursor;
    case -3:
        return Qt::CrossCursor;
    case -4:
        return Qt::IBeamCursor;
    case -6:
        return Qt::SizeBDiagCursor;
    case -7:
        return Qt::SizeVerCursor;
    case -8:
        return Qt::SizeFDiagCursor;
    case -9:
        return Qt::SizeHorCursor;
    case -10:
        return Qt::UpArrowCursor;
    case -11:
        return Qt::WaitCursor;
    case -12:
        return Qt::DragMoveCursor;
    case -13:
        return Qt::ForbiddenCursor;
    case -14:
        return Qt::SplitHCursor;
    case -15:
        return Qt::SplitVCursor;
    case -16:
        return Qt::DragCopyCursor;
    case -17:
        return Qt::BusyCursor;
    case -18:
        return Qt::ForbiddenCursor;
    case -19:
        return Qt::BusyCursor;
    case -20:
        return Qt::WhatsThisCursor;
    case -21:
        return Qt::PointingHandCursor;
    case -22:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

TShiftState ShiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = {}) {
    TShiftState s = 0;
    if (modifiers & Qt::ShiftModifier) s |= ssShift;
    if (modifiers & Qt::AltModifier) s |= ssAlt;
    if (modifiers & Qt::ControlModifier) s |= ssCtrl;
    if (buttons & Qt::LeftButton) s |= ssLeft;
    if (buttons & Qt::RightButton) s |= ssRight;
    if (buttons & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

TMouseButton ButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::RightButton:
        return TMouseButton::mbRight;
    case Qt::MiddleButton:
        return TMouseButton::mbMiddle;
    default:
        return TMouseButton::mbLeft;
    }
}

TPoint PointOf(const QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    return {p.x(), p.y()};
}

// The modifier state after a modifier key went down or up; some platforms
// report the state from before the key.
TShiftState ShiftAfterKey(const QKeyEvent* event, bool pressed) {
    TShiftState s = ShiftOf(event->modifiers());
    TShiftState key = 0;
    if (event->key() == Qt::Key_Shift) key = ssShift;
    if (event->key() == Qt::Key_Alt) key = ssAlt;
    if (event->key() == Qt::Key_Control) key = ssCtrl;
    return pressed ? s | key : s & ~key;
}

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

// Draws through a canvas on the painter for the call, with the site's resolution.
template <class F>
void WithCanvas(TDrawSite& site, QPainter& painter, TCanvasTarget target, F draw) {
    TPainterCanvas canvas(painter, target);
    canvas.SetResolution(site.DeviceDPI());
    draw(canvas);
}

} // namespace

QCursor CursorFor(TCursor cursor) {
    const auto it = CustomCursors().constFind(cursor);
    if (it != CustomCursors().constEnd()) return *it;
    return QCursor(ShapeFor(cursor));
}

void RegisterCursor(TCursor cursor, const QCursor& shape) { CustomCursors().insert(cursor, shape); }

void PaintSite(TDrawSite& site, QPainter& painter, TCanvasTarget target, const QRect& rect) {
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    WithCanvas(site, painter, target, [&](TCanvas& canvas) {
        TCanvas* previous = site.SetPaintCanvas(&canvas);
        // A failed paint leaves the painter as it found it.
        auto restorePainter = qScopeGuard([&painter] { painter.restore(); });
        const auto restoreCanvas = qScopeGuard([&site, previous] { site.SetPaintCanvas(previous); });
        site.Paint();
        restorePainter.dismiss();
    });
    // Each child paints in its own pixels, clipped to itself.
    for (int i = 0; i < site.ChildCount(); ++i) {
        TGraphicControl* child = site.Child(i);
        const QRect bounds = ToQRect(child->BoundsRect());
        if (!child->Visible() || !bounds.intersects(rect)) continue;
        painter.save();
        painter.translate(bounds.topLeft());
        WithCanvas(site, painter, target, [&](TCanvas& canvas) {
            canvas.IntersectClipRect(child->ClientRect());
            child->PaintOn(canvas);
        });
        painter.restore();
    }
    WithCanvas(site, painter, target, [&](TCanvas& canvas) {
        TCanvas* previous = site.SetPaintCanvas(&canvas);
        const auto restore = qScopeGuard([&site, previous] { site.SetPaintCanvas(previous); });
        site.Scaler().Apply(canvas);
        site.PaintAfter();
        // What a drag shows lies above everything, drawn with raster operations.
        if (GhostList().Active() && GhostList().Site() == &site) GhostList().Draw(canvas);
    });
    painter.restore();
}

TDrawSiteView::TDrawSiteView(QWidget* parent) : QWidget(parent), FSite(std::make_unique<TDrawSite>()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    FSite->SetHost(this);
}

TDrawSiteView::~TDrawSiteView() { FSite->SetHost(nullptr); }

void TDrawSiteView::SiteResized(int width, int height) { resize(width, height); }

void TDrawSiteView::SiteInvalidate(const TRect& rect) { update(ToQRect(rect)); }

void TDrawSiteView::SiteUpdate() {
    if (isVisible()) repaint();
}

void TDrawSiteView::SiteSetFocus() { setFocus(Qt::MouseFocusReason); }

TPoint TDrawSiteView::SiteCursorPos() const {
    const QPoint p = mapFromGlobal(QCursor::pos());
    return {p.x(), p.y()};
}

TRect TDrawSiteView::SiteVisibleRect() const {
    QRect visible = rect();
    if (const QWidget* parent = parentWidget())
        visible &= QRect(mapFrom(parent, QPoint(0, 0)), parent->size());
    return {visible.left(), visible.top(), visible.left() + visible.width(),
            visible.top() + visible.height()};
}

void TDrawSiteView::SiteAutoScroll(TPoint point) {
    QWidget* viewport = parentWidget();
    auto* area = viewport ? qobject_cast<QScrollArea*>(viewport->parentWidget()) : nullptr;
    if (!area) return;
    bool scrolled = false;
    const auto step = [&](QScrollBar* bar, int offset, int visible, int extent, int at) {
        if (offset < 0 && at < -offset) {
            bar->setValue(bar->value() - bar->singleStep());
        } else if (visible < offset + at && offset + extent > visible) {
            bar->setValue(bar->value() + bar->singleStep());
        } else {
            return;
        }
        scrolled = true;
    };
    step(area->verticalScrollBar(), y(), viewport->height(), height(), point.Y);
    step(area->horizontalScrollBar(), x(), viewport->width(), width(), point.X);
    // The ghosts are painted again with the content that scrolled in.
    if (scrolled) SiteUpdate();
}

void TDrawSiteView::paintEvent(QPaintEvent* event) {
    const QRect area = event->rect();
    QPainter painter(this);
    if (FSite->DoubleBuffered()) {
        QImage buffer(area.size(), QImage::Format_RGB32);
        {
            QPainter bufferPainter(&buffer);
            bufferPainter.translate(-area.topLeft());
            PaintSite(*FSite, bufferPainter, TCanvasTarget::ctBitmap, area);
        }
        painter.drawImage(area.topLeft(), buffer);
    } else {
        PaintSite(*FSite, painter, TCanvasTarget::ctScreen, area);
    }
}

void TDrawSiteView::mousePressEvent(QMouseEvent* event) {
    if (!FSite->Enabled()) return;
    FCaptured = true;
    FSite->MouseDown(ButtonOf(event->button()), ShiftOf(event->modifiers(), event->buttons()),
                     PointOf(event));
}

void TDrawSiteView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!FSite->Enabled()) return;
    FCaptured = true;
    FSite->MouseDown(ButtonOf(event->button()), ShiftOf(event->modifiers(), event->buttons()) | ssDouble,
                     PointOf(event));
}

void TDrawSiteView::mouseMoveEvent(QMouseEvent* event) {
    if (!FSite->Enabled()) return;
    const TPoint p = PointOf(event);
    FSite->MouseMove(ShiftOf(event->modifiers(), event->buttons()), p);
    if (!FCaptured) setCursor(CursorFor(FSite->CursorAt(p)));
}

void TDrawSiteView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::NoButton) FCaptured = false;
    if (!FSite->Enabled()) return;
    FSite->MouseUp(ButtonOf(event->button()), ShiftOf(event->modifiers(), event->buttons()), PointOf(event));
}

void TDrawSiteView::keyPressEvent(QKeyEvent* event) {
    FSite->KeyChanged(ShiftAfterKey(event, true));
    QWidget::keyPressEvent(event);
}

void TDrawSiteView::keyReleaseEvent(QKeyEvent* event) {
    FSite->KeyChanged(ShiftAfterKey(event, false));
    QWidget::keyReleaseEvent(event);
}

void TDrawSiteView::focusOutEvent(QFocusEvent* event) {
    FCaptured = false;
    FSite->CancelMode();
    QWidget::focusOutEvent(event);
}

} // namespace vellum
