#pragma once
// The window that shows a draw site: paints its surface, objects, handles
// and ghosts, and turns Qt's mouse, key and focus events into the site's
// input. Inside a QScrollArea it scrolls while a drag reaches the edge.

#include "editing/DrawSite.h"
#include "platform/PainterCanvas.h"

#include <QCursor>
#include <QWidget>

#include <memory>

class QPainter;

namespace vellum {

// The Qt cursor for a cursor identifier; registered custom cursors first.
QCursor CursorFor(TCursor cursor);
// A cursor of the program's own under a positive identifier.
void RegisterCursor(TCursor cursor, const QCursor& shape);

// Paints the part rect (site pixels) of the site on a painter whose origin
// is the site's top-left: background, children in z-order, the border, and
// the ghosts of a drag on this site with raster operations on top.
void PaintSite(TDrawSite& site, QPainter& painter, TCanvasTarget target, const QRect& rect);

class TDrawSiteView : public QWidget, public IDrawSiteHost {
public:
    explicit TDrawSiteView(QWidget* parent = nullptr);
    ~TDrawSiteView() override;

    TDrawSite& Site() const { return *FSite; }

    // --- IDrawSiteHost
    void SiteResized(int width, int height) override;
    void SiteInvalidate(const TRect& rect) override;
    void SiteUpdate() override;
    void SiteSetFocus() override;
    bool SiteMouseCaptured() const override { return FCaptured; }
    TPoint SiteCursorPos() const override;
    TRect SiteVisibleRect() const override;
    void SiteAutoScroll(TPoint point) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    std::unique_ptr<TDrawSite> FSite;
    bool FCaptured = false;
};

} // namespace vellum
