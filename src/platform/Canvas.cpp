#include "platform/Canvas.h"

#include <QPainterPathStroker>
#include <QPolygon>

#include <cmath>
#include <numbers>

namespace vellum {

namespace {

// n / d rounded to the nearest integer, halves away from zero.
int64_t RoundDiv(int64_t n, int64_t d) {
    if (d < 0) {
        n = -n;
        d = -d;
    }
    return n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d);
}

int32_t Clamp32(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

int32_t MapAxis(int32_t v, int32_t fromOrg, int32_t fromExt, int32_t toExt, int32_t toOrg) {
    return Clamp32(RoundDiv((int64_t(v) - fromOrg) * toExt, fromExt) + toOrg);
}

TRect Normalized(TRect r) { return NormalizeRect(r); }

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

TPoint RoundPoint(QPointF p) { return {Clamp32(std::llround(p.x())), Clamp32(std::llround(p.y()))}; }

// The elements of a QPainterPath with its curves kept, rounded to pixels.
TDevicePath FromPainterPathElements(const QPainterPath& path) {
    TDevicePath out;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            out.Add(RoundPoint(e), PT_MOVETO);
            break;
        case QPainterPath::LineToElement:
            out.Add(RoundPoint(e), PT_LINETO);
            break;
        case QPainterPath::CurveToElement:
        case QPainterPath::CurveToDataElement:
            out.Add(RoundPoint(e), PT_BEZIERTO);
            break;
        }
    }
    return out;
}

void CloseLast(TDevicePath& path) {
    if (!path.Kinds.empty()) path.Kinds.back() |= PT_CLOSEFIGURE;
}

} // namespace

QPainterPath TDevicePath::ToPainterPath(TFillMode fillMode) const {
    QPainterPath path;
    path.setFillRule(fillMode == TFillMode::fmWinding ? Qt::WindingFill : Qt::OddEvenFill);
    const size_t n = Points.size();
    for (size_t i = 0; i < n; ++i) {
        const QPointF p(Points[i].X, Points[i].Y);
        uint8_t kind = Kinds[i];
        switch (kind & ~PT_CLOSEFIGURE) {
        case PT_MOVETO:
            path.moveTo(p);
            break;
        case PT_BEZIERTO:
            if (i + 2 < n) {
                path.cubicTo(p, QPointF(Points[i + 1].X, Points[i + 1].Y),
                             QPointF(Points[i + 2].X, Points[i + 2].Y));
                i += 2;
                kind = Kinds[i];
            } else {
                path.lineTo(p);
            }
            break;
        default:
            path.lineTo(p);
            break;
        }
        if (kind & PT_CLOSEFIGURE) path.closeSubpath();
    }
    return path;
}

TDevicePath TDevicePath::FromPainterPath(const QPainterPath& path) {
    TDevicePath out;
    for (const QPolygonF& polygon : path.toSubpathPolygons()) {
        std::vector<TPoint> pts;
        for (const QPointF& p : polygon) {
            const TPoint q = RoundPoint(p);
            if (pts.empty() || !(pts.back() == q)) pts.push_back(q);
        }
        if (pts.size() > 1 && pts.front() == pts.back()) pts.pop_back();
        if (pts.size() < 2) continue;
        out.Add(pts[0], PT_MOVETO);
        for (size_t i = 1; i < pts.size(); ++i) out.Add(pts[i], PT_LINETO);
        CloseLast(out);
    }
    return out;
}

TCanvas::TCanvas() = default;
TCanvas::~TCanvas() = default;

int TCanvas::SaveDC() {
    FSaved.push_back(FState);
    DoSaved(int(FSaved.size()));
    return int(FSaved.size());
}

bool TCanvas::RestoreDC(int level) {
    const int depth = int(FSaved.size());
    const int target = level < 0 ? depth + level : level - 1; // index of the state to take back
    if (target < 0 || target >= depth) return false;
    const bool clipChanged = FSaved[size_t(target)].Clip != FState.Clip;
    FState = FSaved[size_t(target)];
    FSaved.resize(size_t(target));
    DoRestored(target);
    if (clipChanged) DoClipChanged();
    return true;
}

void TCanvas::SetMapping(const TCoordMapping& mapping) {
    SetMapMode(mapping.Mode);
    SetWindowOrg(mapping.WindowOrg);
    SetViewportOrg(mapping.ViewportOrg);
    SetWindowExt(mapping.WindowExt);
    SetViewportExt(mapping.ViewportExt);
}

void TCanvas::SetMapMode(TMapMode mode) {
    FState.Mapping.Mode = mode;
    if (mode == TMapMode::mmText) {
        FState.Mapping.WindowExt = {1, 1};
        FState.Mapping.ViewportExt = {1, 1};
    }
}

void TCanvas::SetWindowExt(TPoint ext) {
    if (FState.Mapping.Mode == TMapMode::mmText || ext.X == 0 || ext.Y == 0) return;
    FState.Mapping.WindowExt = ext;
}

void TCanvas::SetViewportExt(TPoint ext) {
    if (FState.Mapping.Mode == TMapMode::mmText || ext.X == 0 || ext.Y == 0) return;
    FState.Mapping.ViewportExt = ext;
}

TPoint TCanvas::LPtoDP(TPoint p) const {
    const TCoordMapping& m = FState.Mapping;
    return {MapAxis(p.X, m.WindowOrg.X, m.WindowExt.X, m.ViewportExt.X, m.ViewportOrg.X),
            MapAxis(p.Y, m.WindowOrg.Y, m.WindowExt.Y, m.ViewportExt.Y, m.ViewportOrg.Y)};
}

TPoint TCanvas::DPtoLP(TPoint p) const {
    const TCoordMapping& m = FState.Mapping;
    return {MapAxis(p.X, m.ViewportOrg.X, m.ViewportExt.X, m.WindowExt.X, m.WindowOrg.X),
            MapAxis(p.Y, m.ViewportOrg.Y, m.ViewportExt.Y, m.WindowExt.Y, m.WindowOrg.Y)};
}

TRect TCanvas::LPtoDP(const TRect& r) const {
    const TPoint a = LPtoDP(r.TopLeft()), b = LPtoDP(r.BottomRight());
    return Normalized({a.X, a.Y, b.X, b.Y});
}

TRect TCanvas::DPtoLP(const TRect& r) const {
    const TPoint a = DPtoLP(r.TopLeft()), b = DPtoLP(r.BottomRight());
    return Normalized({a.X, a.Y, b.X, b.Y});
}

int32_t TCanvas::LengthToDevice(int32_t logical) const {
    const TCoordMapping& m = FState.Mapping;
    return Clamp32(std::abs(RoundDiv(int64_t(logical) * m.ViewportExt.X, m.WindowExt.X)));
}

void TCanvas::SetClipRegion(const std::optional<QRegion>& region) {
    FState.Clip = region;
    DoClipChanged();
}

void TCanvas::CombineClip(const QRegion& shape, TClipCombine mode) {
    const QRegion base = FState.Clip ? *FState.Clip : QRegion(ToQRect(DeviceRect()));
    switch (mode) {
    case TClipCombine::ccAnd:
        FState.Clip = base.intersected(shape);
        break;
    case TClipCombine::ccDiff:
        FState.Clip = base.subtracted(shape);
        break;
    case TClipCombine::ccCopy:
        FState.Clip = shape;
        break;
    }
    DoClipChanged();
}

void TCanvas::IntersectClipRect(const TRect& r) {
    CombineClip(QRegion(ToQRect(LPtoDP(r))), TClipCombine::ccAnd);
}

void TCanvas::ExcludeClipRect(const TRect& r) {
    CombineClip(QRegion(ToQRect(LPtoDP(r))), TClipCombine::ccDiff);
}

void TCanvas::SelectClipPath(TClipCombine mode) {
    if (FPathOpen) return;
    const QPainterPath path = FPath.ToPainterPath(FState.FillMode);
    const QRegion shape(path.toFillPolygon().toPolygon(), path.fillRule());
    FPath.Clear();
    CombineClip(shape, mode);
}

TRect TCanvas::DeviceClipBox() const {
    if (!FState.Clip) return DeviceRect();
    const QRect b = FState.Clip->boundingRect();
    return b.isEmpty() ? TRect{} : TRect{b.x(), b.y(), b.x() + b.width(), b.y() + b.height()};
}

std::pair<TRect, bool> TCanvas::ClipBox() const {
    const TRect box = DeviceClipBox();
    if (box.IsEmpty()) return {TRect{}, false};
    return {DPtoLP(box), true};
}

TDevicePen TCanvas::DevicePen() const {
    const TPen& pen = FState.Pen;
    TDevicePen d;
    d.Width = pen.Width == 0 ? 0 : std::max(1, LengthToDevice(pen.Width));
    d.Style = pen.Style == TPenStyle::psInsideFrame ? TPenStyle::psSolid : pen.Style;
    if (!pen.Geometric && d.Width > 1 && (d.Style == TPenStyle::psDash || d.Style == TPenStyle::psDot))
        d.Style = TPenStyle::psSolid;
    d.Color = pen.Color;
    d.Mode = pen.Mode;
    d.EndCap = pen.Geometric ? pen.EndCap : TPenEndCap::pecRound;
    d.Join = pen.Geometric ? pen.Join : TPenJoin::pjRound;
    d.MiterLimit = FState.MiterLimit;
    return d;
}

void TCanvas::Emit(TFigureKind kind, const TDevicePath& path, bool fill, bool stroke) {
    DoFigure(kind, path, fill && BrushVisible(), stroke && PenVisible());
}

void TCanvas::AddFigure(TFigureKind kind, TDevicePath figure, bool closed) {
    if (figure.Empty()) return;
    if (closed) CloseLast(figure);
    if (FPathOpen) {
        FPath.Points.insert(FPath.Points.end(), figure.Points.begin(), figure.Points.end());
        FPath.Kinds.insert(FPath.Kinds.end(), figure.Kinds.begin(), figure.Kinds.end());
        FFigureOpen = false;
        return;
    }
    Emit(kind, figure, closed, true);
}

void TCanvas::MoveTo(int32_t x, int32_t y) {
    FState.PenPos = {x, y};
    if (!FPathOpen) return;
    const TPoint d = LPtoDP(FState.PenPos);
    // A move right after a move replaces it: an empty figure is no figure.
    if (!FPath.Kinds.empty() && FPath.Kinds.back() == PT_MOVETO) {
        FPath.Points.back() = d;
    } else {
        FPath.Add(d, PT_MOVETO);
    }
    FFigureOpen = true;
    FFigureStart = d;
}

void TCanvas::PolyLineTo(const std::vector<TPoint>& points) {
    if (points.empty()) return;
    if (FPathOpen) {
        if (!FFigureOpen) MoveTo(FState.PenPos.X, FState.PenPos.Y);
        for (const TPoint& p : points) FPath.Add(LPtoDP(p), PT_LINETO);
    } else {
        TDevicePath line;
        line.Add(LPtoDP(FState.PenPos), PT_MOVETO);
        for (const TPoint& p : points) line.Add(LPtoDP(p), PT_LINETO);
        Emit(points.size() == 1 ? TFigureKind::fkLine : TFigureKind::fkPolyline, line, false, true);
    }
    FState.PenPos = points.back();
}

void TCanvas::LineTo(int32_t x, int32_t y) { PolyLineTo({TPoint{x, y}}); }

void TCanvas::PolyBezierTo(const std::vector<TPoint>& points) {
    const size_t n = points.size() / 3 * 3;
    if (n == 0) return;
    if (FPathOpen) {
        if (!FFigureOpen) MoveTo(FState.PenPos.X, FState.PenPos.Y);
        for (size_t i = 0; i < n; ++i) FPath.Add(LPtoDP(points[i]), PT_BEZIERTO);
    } else {
        TDevicePath curve;
        curve.Add(LPtoDP(FState.PenPos), PT_MOVETO);
        for (size_t i = 0; i < n; ++i) curve.Add(LPtoDP(points[i]), PT_BEZIERTO);
        Emit(TFigureKind::fkBezier, curve, false, true);
    }
    FState.PenPos = points[n - 1];
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
    if (points.size() < 2) return;
    TDevicePath line;
    line.Add(LPtoDP(points[0]), PT_MOVETO);
    for (size_t i = 1; i < points.size(); ++i) line.Add(LPtoDP(points[i]), PT_LINETO);
    if (FPathOpen) {
        AddFigure(TFigureKind::fkPolyline, std::move(line), false);
    } else {
        Emit(TFigureKind::fkPolyline, line, false, true);
    }
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
    if (points.size() < 2) return;
    TDevicePath figure;
    figure.Add(LPtoDP(points[0]), PT_MOVETO);
    for (size_t i = 1; i < points.size(); ++i) figure.Add(LPtoDP(points[i]), PT_LINETO);
    AddFigure(TFigureKind::fkPolygon, std::move(figure), true);
}

// Outlined shapes exclude their right and bottom edge, and an inside-frame
// pen moves the outline inwards so that the whole pen stays in the shape.
TDevicePath TCanvas::RectFigure(const TRect& r, bool adjustEdges) const {
    TRect d = LPtoDP(r);
    if (adjustEdges) {
        d.Right -= 1;
        d.Bottom -= 1;
        if (FState.Pen.Style == TPenStyle::psInsideFrame) {
            const int32_t w = DevicePen().Width;
            if (w > 1) d = {d.Left + w / 2, d.Top + w / 2, d.Right - (w - 1) / 2, d.Bottom - (w - 1) / 2};
        }
    }
    TDevicePath figure;
    figure.Add({d.Left, d.Top}, PT_MOVETO);
    figure.Add({d.Right, d.Top}, PT_LINETO);
    figure.Add({d.Right, d.Bottom}, PT_LINETO);
    figure.Add({d.Left, d.Bottom}, PT_LINETO);
    return figure;
}

void TCanvas::Rectangle(const TRect& r) { AddFigure(TFigureKind::fkRectangle, RectFigure(r, true), true); }

void TCanvas::FillRect(const TRect& r) {
    TDevicePath figure = RectFigure(r, false);
    CloseLast(figure);
    DoFigure(TFigureKind::fkFillRect, figure, BrushVisible(), false);
}

void TCanvas::RoundRect(const TRect& r, int32_t cornerWidth, int32_t cornerHeight) {
    const TDevicePath box = RectFigure(r, true);
    const TPoint a = box.Points[0], b = box.Points[2];
    const double rx = std::min(LengthToDevice(cornerWidth) / 2.0, (b.X - a.X) / 2.0);
    const TCoordMapping& m = FState.Mapping;
    const double ry =
        std::min(std::abs(double(cornerHeight) * m.ViewportExt.Y / m.WindowExt.Y) / 2.0, (b.Y - a.Y) / 2.0);
    QPainterPath path;
    path.addRoundedRect(QRectF(a.X, a.Y, b.X - a.X, b.Y - a.Y), rx, ry);
    TDevicePath figure = FromPainterPathElements(path);
    if (figure.Points.size() > 1 && figure.Points.back() == figure.Points.front()) {
        figure.Points.pop_back();
        figure.Kinds.pop_back();
    }
    AddFigure(TFigureKind::fkRoundRect, std::move(figure), true);
}

TDevicePath TCanvas::EllipseFigure(const TRect& d) const {
    // Four quarter arcs, the control points at the usual 0.5523 of the radii.
    constexpr double k = 0.5522847498;
    const double cx = (d.Left + d.Right) / 2.0, cy = (d.Top + d.Bottom) / 2.0;
    const double a = (d.Right - d.Left) / 2.0 * k, b = (d.Bottom - d.Top) / 2.0 * k;
    auto p = [](double x, double y) { return RoundPoint(QPointF(x, y)); };
    TDevicePath figure;
    figure.Add(p(d.Right, cy), PT_MOVETO);
    const QPointF pts[12] = {{double(d.Right), cy - b},  {cx + a, double(d.Top)},    {cx, double(d.Top)},
                             {cx - a, double(d.Top)},    {double(d.Left), cy - b},   {double(d.Left), cy},
                             {double(d.Left), cy + b},   {cx - a, double(d.Bottom)}, {cx, double(d.Bottom)},
                             {cx + a, double(d.Bottom)}, {double(d.Right), cy + b},  {double(d.Right), cy}};
    for (const QPointF& q : pts) figure.Add(p(q.x(), q.y()), PT_BEZIERTO);
    return figure;
}

void TCanvas::Ellipse(const TRect& r) {
    const TDevicePath box = RectFigure(r, true);
    const TRect d{box.Points[0].X, box.Points[0].Y, box.Points[2].X, box.Points[2].Y};
    AddFigure(TFigureKind::fkEllipse, EllipseFigure(d), true);
}

void TCanvas::Arc(const TRect& r, TPoint start, TPoint end) {
    const TDevicePath box = RectFigure(r, true);
    const QRectF d(box.Points[0].X, box.Points[0].Y, box.Points[2].X - box.Points[0].X,
                   box.Points[2].Y - box.Points[0].Y);
    if (d.width() <= 0 || d.height() <= 0) return;
    const QPointF c = d.center();
    // The parametric angle (counter-clockwise on the screen) of the point
    // where the ray from the centre through p meets the ellipse.
    auto angle = [&](TPoint lp) {
        const TPoint p = LPtoDP(lp);
        const double t = std::atan2(-(p.Y - c.y()) / d.height(), (p.X - c.x()) / d.width());
        return t * 180 / std::numbers::pi;
    };
    const double a0 = angle(start);
    double sweep = angle(end) - a0;
    while (sweep <= 0) sweep += 360;
    QPainterPath path;
    path.arcMoveTo(d, a0);
    path.arcTo(d, a0, sweep);
    TDevicePath figure = FromPainterPathElements(path);
    if (FPathOpen) {
        AddFigure(TFigureKind::fkArc, std::move(figure), false);
    } else {
        Emit(TFigureKind::fkArc, figure, false, true);
    }
}

void TCanvas::BeginPath() {
    FPath.Clear();
    FPathOpen = true;
    FFigureOpen = false;
}

void TCanvas::EndPath() {
    if (!FPathOpen) return;
    // A trailing move starts no figure.
    if (!FPath.Kinds.empty() && FPath.Kinds.back() == PT_MOVETO) {
        FPath.Points.pop_back();
        FPath.Kinds.pop_back();
    }
    FPathOpen = false;
    FFigureOpen = false;
}

void TCanvas::AbortPath() {
    FPath.Clear();
    FPathOpen = false;
    FFigureOpen = false;
}

void TCanvas::CloseFigure() {
    if (!FPathOpen || !FFigureOpen) return;
    CloseLast(FPath);
    FFigureOpen = false;
}

void TCanvas::FillPath() {
    if (FPathOpen) return;
    Emit(TFigureKind::fkFillPath, FPath, true, false);
    FPath.Clear();
}

void TCanvas::StrokePath() {
    if (FPathOpen) return;
    Emit(TFigureKind::fkStrokePath, FPath, false, true);
    FPath.Clear();
}

void TCanvas::StrokeAndFillPath() {
    if (FPathOpen) return;
    Emit(TFigureKind::fkStrokeAndFillPath, FPath, true, true);
    FPath.Clear();
}

Qt::PenCapStyle ToQtCap(TPenEndCap cap) {
    return cap == TPenEndCap::pecFlat     ? Qt::FlatCap
           : cap == TPenEndCap::pecSquare ? Qt::SquareCap
                                          : Qt::RoundCap;
}

Qt::PenJoinStyle ToQtJoin(TPenJoin join) {
    return join == TPenJoin::pjMiter   ? Qt::SvgMiterJoin
           : join == TPenJoin::pjBevel ? Qt::BevelJoin
                                       : Qt::RoundJoin;
}

void TCanvas::WidenPath() {
    if (FPathOpen || FPath.Empty()) return;
    const TDevicePen pen = DevicePen();
    QPainterPathStroker stroker;
    stroker.setWidth(std::max(1, pen.Width));
    stroker.setCapStyle(ToQtCap(pen.EndCap));
    stroker.setJoinStyle(ToQtJoin(pen.Join));
    // Both count the whole mitre length in pen widths.
    stroker.setMiterLimit(pen.MiterLimit);
    if (pen.Style == TPenStyle::psDash) stroker.setDashPattern(Qt::DashLine);
    if (pen.Style == TPenStyle::psDot) stroker.setDashPattern(Qt::DotLine);
    const QPainterPath widened = stroker.createStroke(FPath.ToPainterPath(TFillMode::fmWinding)).simplified();
    FPath = TDevicePath::FromPainterPath(widened);
}

void TCanvas::GetPath(std::vector<TPoint>& points, std::vector<uint8_t>& kinds) const {
    points.clear();
    kinds = FPath.Kinds;
    points.reserve(FPath.Points.size());
    for (const TPoint& p : FPath.Points) points.push_back(DPtoLP(p));
}

void TCanvas::Draw(int32_t x, int32_t y, const QImage& image) {
    if (image.isNull()) return;
    const TPoint d = LPtoDP(TPoint{x, y});
    DoImage(image,
            {{d.X, d.Y, d.X + image.width(), d.Y + image.height()}, {0, 0, image.width(), image.height()}});
}

bool TCanvas::StretchDraw(const TRect& dest, const QImage& image, const TRect& source) {
    if (image.isNull()) return true;
    const TRect s = IntersectRect(Normalized(source), {0, 0, image.width(), image.height()});
    return StretchDrawDevice(LPtoDP(dest), image, s);
}

bool TCanvas::StretchDrawDevice(const TRect& deviceDest, const QImage& image, const TRect& source) {
    if (image.isNull()) return true;
    const TRect s = IntersectRect(Normalized(source), {0, 0, image.width(), image.height()});
    const TRect d = Normalized(deviceDest);
    if (s.IsEmpty() || d.IsEmpty()) return true;
    return DoImage(image, {d, s});
}

namespace {

// A Qt path as figures in device pixels: curves stay curves.
TDevicePath RoundedFigures(const QPainterPath& path) {
    TDevicePath out;
    auto at = [](const QPointF& p) { return TPoint{Clamp32(Round(p.x())), Clamp32(Round(p.y()))}; };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            CloseLast(out);
            out.Add(at(e), PT_MOVETO);
            break;
        case QPainterPath::LineToElement:
            out.Add(at(e), PT_LINETO);
            break;
        case QPainterPath::CurveToElement:
            if (i + 2 < path.elementCount()) {
                out.Add(at(e), PT_BEZIERTO);
                out.Add(at(path.elementAt(i + 1)), PT_BEZIERTO);
                out.Add(at(path.elementAt(i + 2)), PT_BEZIERTO);
            }
            i += 2;
            break;
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    CloseLast(out);
    return out;
}

} // namespace

QTransform TCanvas::DeviceTransform() const {
    const TCoordMapping& m = FState.Mapping;
    const double sx = m.Mode == TMapMode::mmText ? 1.0 : double(m.ViewportExt.X) / m.WindowExt.X;
    const double sy = m.Mode == TMapMode::mmText ? 1.0 : double(m.ViewportExt.Y) / m.WindowExt.Y;
    return QTransform(sx, 0, 0, sy, m.ViewportOrg.X - m.WindowOrg.X * sx,
                      m.ViewportOrg.Y - m.WindowOrg.Y * sy);
}

void TCanvas::FillGlyphs(const QPainterPath& logical, TColor color, const std::vector<TPlacedGlyph>* glyphs) {
    if (logical.isEmpty()) return;
    QPainterPath device = DeviceTransform().map(logical);
    device.setFillRule(Qt::WindingFill);
    if (FPathOpen) {
        const TDevicePath figures = RoundedFigures(device);
        FPath.Points.insert(FPath.Points.end(), figures.Points.begin(), figures.Points.end());
        FPath.Kinds.insert(FPath.Kinds.end(), figures.Kinds.begin(), figures.Kinds.end());
        FFigureOpen = false;
        return;
    }
    DoGlyphs(device, color, glyphs);
}

void TCanvas::DoGlyphs(const QPainterPath& device, TColor color, const std::vector<TPlacedGlyph>*) {
    const TBrush brush = FState.Brush;
    const TFillMode fillMode = FState.FillMode;
    FState.Brush = TBrush{TBrushStyle::bsSolid, color};
    FState.FillMode = TFillMode::fmWinding;
    DoFigure(TFigureKind::fkFillPath, RoundedFigures(device), true, false);
    FState.Brush = brush;
    FState.FillMode = fillMode;
}

} // namespace vellum
