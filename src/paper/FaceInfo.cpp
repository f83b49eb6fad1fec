#include "paper/FaceInfo.h"

#include "platform/Canvas.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace vellum {
namespace {

TRegion ShapeRegion(TFaceShape shape, const TRect& r, int32_t roundX, int32_t roundY) {
    switch (shape) {
    case TFaceShape::fsRect:
        return TRegion::FromRect(r);
    case TFaceShape::fsDoughnut:
    case TFaceShape::fsEllipse:
        return TRegion::Ellipse(r);
    case TFaceShape::fsRoundRect:
    case TFaceShape::fsRectCD:
        return TRegion::RoundRect(r, roundX, roundY);
    case TFaceShape::fsBarrelCD:
        return BarrelRegion(r);
    }
    return TRegion::FromRect(r);
}

TRegion CenterRegion(TCenterShape shape, const TRect& r) {
    return shape == TCenterShape::csBarrel ? BarrelRegion(r) : TRegion::Ellipse(r);
}

// Two Bézier segments along the circle from the current point a through m to b.
void ArcThrough(std::vector<TPoint>& beziers, double cx, double cy, double radius, TPoint a, TPoint m,
                TPoint b) {
    const auto angle = [&](TPoint p) { return std::atan2(p.Y - cy, p.X - cx); };
    const auto segment = [&](TPoint from, TPoint to) {
        const double a0 = angle(from);
        double delta = angle(to) - a0;
        while (delta > M_PI) delta -= 2 * M_PI;
        while (delta <= -M_PI) delta += 2 * M_PI;
        const double a1 = a0 + delta;
        const double k = 4.0 / 3.0 * std::tan(delta / 4) * radius;
        beziers.push_back(
            {int32_t(Round(from.X - k * std::sin(a0))), int32_t(Round(from.Y + k * std::cos(a0)))});
        beziers.push_back({int32_t(Round(to.X + k * std::sin(a1))), int32_t(Round(to.Y - k * std::cos(a1)))});
        beziers.push_back(to);
    };
    segment(a, m);
    segment(m, b);
}

void DrawBarrel(TCanvas& canvas, const TRect& rect) {
    const TRect r = NormalizeRect(rect);
    const TBarrel b = BarrelOf(r);
    const double cx = (double(r.Left) + r.Right) / 2, cy = (double(r.Top) + r.Bottom) / 2;
    const double radius = std::max(double(r.Right) - r.Left, double(r.Bottom) - r.Top) / 2;
    std::vector<TPoint> arc;
    canvas.BeginPath();
    if (b.Wide) {
        // Left arc up, top edge, right arc down, bottom edge back.
        canvas.MoveTo(b.Points[3].X, b.Points[3].Y);
        ArcThrough(arc, cx, cy, radius, b.Points[3], b.Middle[0], b.Points[0]);
        canvas.PolyBezierTo(arc);
        canvas.LineTo(b.Points[1].X, b.Points[1].Y);
        arc.clear();
        ArcThrough(arc, cx, cy, radius, b.Points[1], b.Middle[1], b.Points[2]);
        canvas.PolyBezierTo(arc);
        canvas.LineTo(b.Points[3].X, b.Points[3].Y);
    } else {
        // Top arc left to right, right edge, bottom arc back, left edge.
        canvas.MoveTo(b.Points[0].X, b.Points[0].Y);
        ArcThrough(arc, cx, cy, radius, b.Points[0], b.Middle[0], b.Points[1]);
        canvas.PolyBezierTo(arc);
        canvas.LineTo(b.Points[2].X, b.Points[2].Y);
        arc.clear();
        ArcThrough(arc, cx, cy, radius, b.Points[2], b.Middle[1], b.Points[3]);
        canvas.PolyBezierTo(arc);
        canvas.LineTo(b.Points[0].X, b.Points[0].Y);
    }
    canvas.CloseFigure();
    canvas.EndPath();
    canvas.StrokeAndFillPath();
}

void DrawOutline(TCanvas& canvas, TFaceShape shape, const TRect& r, int32_t roundSize) {
    switch (shape) {
    case TFaceShape::fsRect:
        return canvas.Rectangle(r);
    case TFaceShape::fsDoughnut:
    case TFaceShape::fsEllipse:
        return canvas.Ellipse(r);
    case TFaceShape::fsRoundRect:
    case TFaceShape::fsRectCD:
        return canvas.RoundRect(r, roundSize, roundSize);
    case TFaceShape::fsBarrelCD:
        return DrawBarrel(canvas, r);
    }
}

void DrawCenter(TCanvas& canvas, TCenterShape shape, const TRect& r) {
    if (shape == TCenterShape::csBarrel)
        DrawBarrel(canvas, r);
    else
        canvas.Ellipse(r);
}

} // namespace

TRect SaturatedRect(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    const auto clamp = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    return {clamp(left), clamp(top), clamp(right), clamp(bottom)};
}

TRect InflateRect(const TRect& r, int64_t d) {
    return SaturatedRect(int64_t(r.Left) - d, int64_t(r.Top) - d, int64_t(r.Right) + d,
                         int64_t(r.Bottom) + d);
}

const QStringList& FaceShapeNames() {
    static const QStringList names{QStringLiteral("fsRect"),    QStringLiteral("fsDoughnut"),
                                   QStringLiteral("fsEllipse"), QStringLiteral("fsRoundRect"),
                                   QStringLiteral("fsRectCD"),  QStringLiteral("fsBarrelCD")};
    return names;
}

const QStringList& CenterShapeNames() {
    static const QStringList names{QStringLiteral("csEllipse"), QStringLiteral("csBarrel")};
    return names;
}

QString ShapeDisplayNames() {
    return QStringLiteral("角ラベル,CDラベル,丸ラベル,角丸ラベル,名刺CDラベル,樽CDラベル");
}

bool LegacyFaceType(int64_t code, TFaceShape& shape, QString& purpose) {
    switch (code) {
    case 0:
        shape = TFaceShape::fsRect;
        purpose.clear();
        return true;
    case 1:
        shape = TFaceShape::fsDoughnut;
        purpose = QStringLiteral("CD");
        return true;
    case 2:
        shape = TFaceShape::fsRect;
        purpose = QStringLiteral("CDCover");
        return true;
    case 3:
        shape = TFaceShape::fsRect;
        purpose = QStringLiteral("CDCaseTray");
        return true;
    case 4:
    case 5:
        shape = TFaceShape::fsRect;
        purpose = QStringLiteral("MOSquare");
        return true;
    case 6:
        shape = TFaceShape::fsEllipse;
        purpose.clear();
        return true;
    case 7:
        shape = TFaceShape::fsRoundRect;
        purpose.clear();
        return true;
    default:
        return false;
    }
}

TBarrel BarrelOf(const TRect& rect) {
    const TRect r = NormalizeRect(rect);
    const double w = double(r.Right) - r.Left, h = double(r.Bottom) - r.Top;
    const double f = std::sqrt(std::fabs((w / 2) * (w / 2) - (h / 2) * (h / 2)));
    TBarrel b;
    b.Wide = w > h;
    if (b.Wide) {
        const double cx = (double(r.Left) + r.Right) / 2;
        const int32_t x0 = int32_t(Round(cx - f)), x1 = int32_t(Round(cx + f));
        const int32_t cy = int32_t(Round((double(r.Top) + r.Bottom) / 2));
        b.Points[0] = {x0, r.Top};
        b.Points[1] = {x1, r.Top};
        b.Points[2] = {x1, r.Bottom};
        b.Points[3] = {x0, r.Bottom};
        b.Middle[0] = {r.Left, cy};
        b.Middle[1] = {r.Right, cy};
    } else {
        const double cy = (double(r.Top) + r.Bottom) / 2;
        const int32_t y0 = int32_t(Round(cy - f)), y1 = int32_t(Round(cy + f));
        const int32_t cx = int32_t(Round((double(r.Left) + r.Right) / 2));
        b.Points[0] = {r.Left, y0};
        b.Points[1] = {r.Right, y0};
        b.Points[2] = {r.Right, y1};
        b.Points[3] = {r.Left, y1};
        b.Middle[0] = {cx, r.Top};
        b.Middle[1] = {cx, r.Bottom};
    }
    return b;
}

TRegion BarrelRegion(const TRect& rect) {
    const TRect r = NormalizeRect(rect);
    const int64_t d = std::max(int64_t(r.Right) - r.Left, int64_t(r.Bottom) - r.Top);
    return TRegion::FromRect(r).Intersected(
        TRegion::EllipseAt(int64_t(r.Left) + r.Right, int64_t(r.Top) + r.Bottom, d, d));
}

const TClassInfo& TFaceInfo::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TFaceInfo, TPersistent>("TFaceInfo", [](auto&) {});
    return info;
}

void TFaceInfo::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TFaceInfo*>(source);
    if (!other) return TPersistent::Assign(source);
    FaceRect = other->FaceRect;
    CutWidth = other->CutWidth;
    CutHeight = other->CutHeight;
    Shape = other->Shape;
    Purpose = other->Purpose;
    Margin = other->Margin;
    CenterShape = other->CenterShape;
    RoundSize = other->RoundSize;
}

TRect TFaceInfo::OuterRect() const { return InflateRect(FaceRect, Margin); }

TRect TFaceInfo::CutOutRect() const {
    const int64_t left = FaceRect.Left + Div(int64_t(FaceRect.Right) - FaceRect.Left - CutWidth, 2);
    const int64_t top = FaceRect.Top + Div(int64_t(FaceRect.Bottom) - FaceRect.Top - CutHeight, 2);
    return SaturatedRect(left, top, left + CutWidth, top + CutHeight);
}

TRect TFaceInfo::HoleRect() const { return InflateRect(CutOutRect(), -int64_t(Margin)); }

bool TFaceInfo::HasCenterHole() const {
    return Shape == TFaceShape::fsDoughnut || Shape == TFaceShape::fsRectCD ||
           Shape == TFaceShape::fsBarrelCD;
}

void TFaceInfo::SetFromOuterRect(const TRect& rect) { FaceRect = InflateRect(rect, -int64_t(Margin)); }

void TFaceInfo::SetFromLegacyType(int64_t code) { LegacyFaceType(code, Shape, Purpose); }

TRegion TFaceInfo::Region(const TCanvas* canvas, bool withHole) const {
    TRect outer = OuterRect(), hole = HoleRect();
    int32_t roundX = RoundSize, roundY = RoundSize;
    if (canvas) {
        outer = canvas->LPtoDP(outer);
        hole = canvas->LPtoDP(hole);
        const TPoint origin = canvas->LPtoDP(TPoint{0, 0});
        const TPoint round = canvas->LPtoDP(TPoint{RoundSize, RoundSize});
        roundX = std::abs(round.X - origin.X);
        roundY = std::abs(round.Y - origin.Y);
    }
    TRegion region = ShapeRegion(Shape, outer, roundX, roundY);
    if (withHole && HasCenterHole()) region = region.Subtracted(CenterRegion(CenterShape, hole));
    return region;
}

void TFaceInfo::DrawShape(TCanvas& canvas, bool atOrigin, bool cross) const {
    TRect outer = OuterRect();
    const int32_t dx = atOrigin ? -outer.Left : 0, dy = atOrigin ? -outer.Top : 0;
    outer = OffsetRect(outer, dx, dy);
    DrawOutline(canvas, Shape, outer, RoundSize);
    TRect last = outer;
    if (HasCenterHole()) {
        last = OffsetRect(HoleRect(), dx, dy);
        DrawCenter(canvas, CenterShape, last);
    }
    if (cross) {
        const TPoint c = RectCenter(last);
        canvas.MoveTo(c.X - 50, c.Y);
        canvas.LineTo(c.X + 50, c.Y);
        canvas.MoveTo(c.X, c.Y - 50);
        canvas.LineTo(c.X, c.Y + 50);
    }
}

void TFaceInfo::DrawCutLine(TCanvas& canvas, bool atOrigin) const {
    if (Margin == 0) return;
    const TRect outer = OuterRect();
    const int32_t dx = atOrigin ? -outer.Left : 0, dy = atOrigin ? -outer.Top : 0;
    DrawOutline(canvas, Shape, OffsetRect(FaceRect, dx, dy), RoundSize);
    if (HasCenterHole()) DrawCenter(canvas, CenterShape, OffsetRect(CutOutRect(), dx, dy));
}

void TFaceInfo::DrawHole(TCanvas& canvas, bool atOrigin) const {
    if (!HasCenterHole()) return;
    TRect hole = HoleRect();
    if (atOrigin) hole = OffsetRect(hole, -hole.Left, -hole.Top);
    DrawCenter(canvas, CenterShape, hole);
}

} // namespace vellum
