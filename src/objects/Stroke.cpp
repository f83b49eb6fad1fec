#include "objects/Stroke.h"

#include "core/Transformer.h"
#include "imaging/AALine.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>

namespace vellum {

namespace {

constexpr double BezierCircle = 0.5522847;
constexpr int FlattenSteps = 63;
constexpr double SubdivideStep = 8;
constexpr uint8_t PT_LINECLOSE = PT_LINETO | PT_CLOSEFIGURE;
constexpr uint8_t PT_BEZIERCLOSE = PT_BEZIERTO | PT_CLOSEFIGURE;

int32_t Mid(int32_t a, int32_t b) { return int32_t((int64_t(a) + b) / 2); }

// Where a replay goes; mapping tells which points share a device pixel.
class TReplayTarget {
public:
    explicit TReplayTarget(const TCanvas& mapping) : Mapping(mapping) {}
    virtual ~TReplayTarget() = default;
    virtual void MoveTo(TPoint p) = 0;
    virtual void LineTo(TPoint p) = 0;
    virtual void PolyLineTo(const std::vector<TPoint>& run) {
        for (const TPoint& p : run) LineTo(p);
    }
    virtual void CloseFigure() {}
    const TCanvas& Mapping;
};

class TCanvasReplay : public TReplayTarget {
public:
    explicit TCanvasReplay(TCanvas& canvas) : TReplayTarget(canvas), FCanvas(canvas) {}
    void MoveTo(TPoint p) override { FCanvas.MoveTo(p.X, p.Y); }
    void LineTo(TPoint p) override { FCanvas.LineTo(p.X, p.Y); }
    void PolyLineTo(const std::vector<TPoint>& run) override { FCanvas.PolyLineTo(run); }
    void CloseFigure() override { FCanvas.CloseFigure(); }

private:
    TCanvas& FCanvas;
};

// Each vertex gets a dot after its line, so joins are round.
class TAntialiasedReplay : public TReplayTarget {
public:
    TAntialiasedReplay(TAALineRec& line, const TCanvas& mapping) : TReplayTarget(mapping), FLine(line) {}
    void MoveTo(TPoint p) override {
        const TPoint d = Mapping.LPtoDP(p);
        FLine.MoveTo(d.X, d.Y);
    }
    void LineTo(TPoint p) override {
        const TPoint d = Mapping.LPtoDP(p);
        FLine.LineTo(d.X, d.Y);
        FLine.Dot(d.X, d.Y);
    }

private:
    TAALineRec& FLine;
};

// Lines from p0 along the cubic to p3, skipping points on the device pixel already reached.
void FlattenBezier(TReplayTarget& target, TPoint p0, TPoint p1, TPoint p2, TPoint p3) {
    TPoint last = target.Mapping.LPtoDP(p0);
    auto lineTo = [&](TPoint p) {
        const TPoint d = target.Mapping.LPtoDP(p);
        if (d == last) return;
        last = d;
        target.LineTo(p);
    };
    for (int j = 1; j < FlattenSteps; ++j) {
        const double t = double(j) / FlattenSteps;
        const double s = 1 - t;
        const double a = s * s * s, b = 3 * s * s * t, c = 3 * s * t * t, e = t * t * t;
        lineTo({int32_t(RoundHalfEven(a * p0.X + b * p1.X + c * p2.X + e * p3.X)),
                int32_t(RoundHalfEven(a * p0.Y + b * p1.Y + c * p2.Y + e * p3.Y))});
    }
    lineTo(p3);
}

// Walks the figures; a point of unknown kind ends the walk and closes the figure.
void Replay(const std::vector<TPoint>& points, const std::vector<uint8_t>& kinds, TReplayTarget& target) {
    const size_t n = points.size();
    TPoint start;
    size_t i = 0;
    while (i < n) {
        const uint8_t kind = kinds[i];
        if (kind == PT_MOVETO) {
            start = points[i];
            target.MoveTo(start);
            ++i;
        } else if (kind == PT_LINETO) {
            std::vector<TPoint> run;
            while (i < n && kinds[i] == PT_LINETO) run.push_back(points[i++]);
            target.PolyLineTo(run);
        } else if (kind == PT_LINECLOSE) {
            target.LineTo(points[i]);
            target.LineTo(start);
            target.CloseFigure();
            ++i;
        } else if (kind == PT_BEZIERTO && i + 2 < n && i > 0) {
            FlattenBezier(target, points[i - 1], points[i], points[i + 1], points[i + 2]);
            if (kinds[i + 2] == PT_BEZIERCLOSE) {
                target.LineTo(start);
                target.CloseFigure();
            }
            i += 3;
        } else {
            target.CloseFigure();
            return;
        }
    }
}

// The points strictly between from and to, at most 8 units apart.
void AddIntermediates(TStroke& out, TPoint from, TPoint to) {
    const double dx = double(to.X) - from.X, dy = double(to.Y) - from.Y;
    const double length = std::hypot(dx, dy);
    double remaining = length;
    double at = 0;
    while (remaining > SubdivideStep) {
        at += SubdivideStep;
        remaining -= SubdivideStep;
        out.AddPoint(int32_t(Round(from.X + dx * at / length)), int32_t(Round(from.Y + dy * at / length)),
                     PT_LINETO);
    }
}

} // namespace

const TClassInfo& TStroke::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TStroke, TPersistent>("TStroke", [](auto&) {});
    return info;
}

void TStroke::SetCount(int n) {
    const size_t size = size_t(std::max(n, 0));
    FPoints.resize(size);
    FKinds.resize(size);
}

void TStroke::AddPoint(int32_t x, int32_t y, uint8_t kind) {
    FPoints.push_back({x, y});
    FKinds.push_back(kind);
}

void TStroke::AppendPath(const TCanvas& canvas) {
    std::vector<TPoint> points;
    std::vector<uint8_t> kinds;
    canvas.GetPath(points, kinds);
    const size_t n = std::min(points.size(), kinds.size());
    for (size_t i = 0; i < n; ++i) AddPoint(points[i].X, points[i].Y, kinds[i]);
}

void TStroke::SetRect(const TRect& r) {
    Clear();
    AddPoint(r.Left, r.Top, PT_MOVETO);
    AddPoint(r.Right, r.Top, PT_LINETO);
    AddPoint(r.Right, r.Bottom, PT_LINETO);
    AddPoint(r.Left, r.Bottom, PT_LINECLOSE);
}

void TStroke::SetEllipse(const TRect& r) {
    const int32_t cx = Mid(r.Left, r.Right), cy = Mid(r.Top, r.Bottom);
    const auto a = int32_t(Round(r.Width() * BezierCircle / 2));
    const auto b = int32_t(Round(r.Height() * BezierCircle / 2));
    Clear();
    AddPoint(r.Right, cy, PT_MOVETO);
    const TPoint arcs[] = {{r.Right, cy - b}, {cx + a, r.Top},    {cx, r.Top},      {cx - a, r.Top},
                           {r.Left, cy - b},  {r.Left, cy},       {r.Left, cy + b}, {cx - a, r.Bottom},
                           {cx, r.Bottom},    {cx + a, r.Bottom}, {r.Right, cy + b}};
    for (const TPoint& p : arcs) AddPoint(p.X, p.Y, PT_BEZIERTO);
    AddPoint(r.Right, cy, PT_BEZIERCLOSE);
}

void TStroke::SetRoundRect(const TRect& r, int32_t cornerDiameter) {
    const int32_t d = cornerDiameter, q = d / 2;
    const auto k = int32_t(Round(d * BezierCircle / 2));
    const int32_t cx = Mid(r.Left, r.Right), cy = Mid(r.Top, r.Bottom);
    const int32_t L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    Clear();
    AddPoint(R, T + q, PT_MOVETO);
    // Each edge is its midpoint and its end, each corner one curve.
    const struct {
        TPoint P;
        uint8_t Kind;
    } points[] = {
        {{R, T + q - k}, PT_BEZIERTO}, {{R - q + k, T}, PT_BEZIERTO}, {{R - q, T}, PT_BEZIERTO},
        {{cx, T}, PT_LINETO},          {{L + q, T}, PT_LINETO},       {{L + q - k, T}, PT_BEZIERTO},
        {{L, T + q - k}, PT_BEZIERTO}, {{L, T + q}, PT_BEZIERTO},     {{L, cy}, PT_LINETO},
        {{L, B - q}, PT_LINETO},       {{L, B - q + k}, PT_BEZIERTO}, {{L + q - k, B}, PT_BEZIERTO},
        {{L + q, B}, PT_BEZIERTO},     {{cx, B}, PT_LINETO},          {{R - q, B}, PT_LINETO},
        {{R - q + k, B}, PT_BEZIERTO}, {{R, B - q + k}, PT_BEZIERTO}, {{R, B - q}, PT_BEZIERTO},
        {{R, cy}, PT_LINETO},          {{R, T + q}, PT_LINECLOSE},
    };
    for (const auto& p : points) AddPoint(p.P.X, p.P.Y, p.Kind);
}

TRect TStroke::GetBounds() const {
    if (FPoints.empty()) return {};
    TRect r{FPoints[0].X, FPoints[0].Y, FPoints[0].X, FPoints[0].Y};
    for (const TPoint& p : FPoints) {
        r.Left = std::min(r.Left, p.X);
        r.Top = std::min(r.Top, p.Y);
        r.Right = std::max(r.Right, p.X);
        r.Bottom = std::max(r.Bottom, p.Y);
    }
    return r;
}

void TStroke::Draw(TCanvas& canvas) const {
    if (FPoints.empty()) {
        canvas.MoveTo(0, 0);
        canvas.LineTo(0, 0);
        canvas.CloseFigure();
        return;
    }
    TCanvasReplay target(canvas);
    Replay(FPoints, FKinds, target);
}

void TStroke::DrawAntialiased(TDIB& map, const TCanvas& mapping) const {
    TAALineAlphaMap line(map);
    DrawAntialiased(line, mapping);
}

// The empty stroke's stand-in figure of Draw would leave a dot at the origin.
void TStroke::DrawAntialiased(TAALineRec& line, const TCanvas& mapping) const {
    TAntialiasedReplay target(line, mapping);
    Replay(FPoints, FKinds, target);
}

void TStroke::SelectAsPath(TCanvas& canvas) const {
    canvas.BeginPath();
    Draw(canvas);
    canvas.EndPath();
}

void TStroke::Subdivide() {
    if (FPoints.empty()) return;
    TStroke out;
    TPoint start = FPoints[0];
    const size_t n = FPoints.size();
    for (size_t i = 0; i < n; ++i) {
        const TPoint p = FPoints[i];
        const uint8_t kind = FKinds[i];
        if (kind == PT_LINETO || kind == PT_LINECLOSE) {
            if (i > 0) AddIntermediates(out, FPoints[i - 1], p);
            out.AddPoint(p.X, p.Y, PT_LINETO);
            if (kind == PT_LINECLOSE) {
                AddIntermediates(out, p, start);
                out.FKinds.back() = PT_LINECLOSE;
            }
        } else {
            if (kind == PT_MOVETO) start = p;
            out.AddPoint(p.X, p.Y, kind);
        }
    }
    FPoints = std::move(out.FPoints);
    FKinds = std::move(out.FKinds);
}

void TStroke::Transform(const TTransformer& transformer) { transformer.TransformPoints(FPoints); }

void TStroke::Assign(const TPersistent* source) {
    if (const auto* s = dynamic_cast<const TStroke*>(source)) {
        FPoints = s->FPoints;
        FKinds = s->FKinds;
    }
}

} // namespace vellum
