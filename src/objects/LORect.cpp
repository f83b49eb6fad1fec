#include "objects/LORect.h"

#include "base/Filer.h"
#include "core/DrawSiteInterface.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>

namespace vellum {

namespace {

TPen GeometricPen(int32_t width) {
    TPen pen;
    pen.Width = width;
    pen.Geometric = true;
    pen.EndCap = TPenEndCap::pecSquare;
    pen.Join = TPenJoin::pjMiter;
    return pen;
}

TRect Inflated(const TRect& r, int32_t d) { return {r.Left - d, r.Top - d, r.Right + d, r.Bottom + d}; }

} // namespace

const TClassInfo& TLORect::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TLORect, TLORectBase>("TLORect", [](auto& b) {
        b.Integer(QStringLiteral("FrameWidth"), &TLORect::FrameWidth, &TLORect::SetFrameWidth).Stored(true);
        b.Owned(QStringLiteral("FrameColor"), TPropKind::Object,
                [](const TLORect& o) { return &o.FrameColor(); });
        b.Owned(QStringLiteral("FillColor"), TPropKind::Object,
                [](const TLORect& o) { return &o.FillColor(); });
        b.Boolean(QStringLiteral("FillInside"), &TLORect::FillInside, &TLORect::SetFillInside).Stored(true);
        b.Integer(QStringLiteral("Angle"), &TLORect::Angle, &TLORect::SetAngle).Stored(true);
        b.Boolean(QStringLiteral("RoundRect"), &TLORect::RoundRect, &TLORect::SetRoundRect).Stored(true);
        // Older documents name the corner style "Round"; it is written back as RoundRect.
        TDefinedProperty round;
        round.Name = QStringLiteral("Round");
        round.HasData = [](const TPersistent&) { return false; };
        round.ReadData = [](TPersistent& o, TReader& r) {
            static_cast<TLORect&>(o).SetRoundRect(r.ReadBoolean());
        };
        b.Defined(std::move(round));
    });
    return info;
}

TLORect::TLORect(TComponent* owner)
    : TLORectBase(owner), FFrameColor(std::make_unique<TColorSpec>()),
      FFillColor(std::make_unique<TColorSpec>()) {
    FFrameColor->OnChange = [this] { ColorChanged(); };
    FFillColor->OnChange = [this] { ColorChanged(); };
}

void TLORect::ColorChanged() {
    Changed();
    Invalidate();
}

void TLORect::SetFrameWidth(int32_t v) {
    // Bounded like the coordinates, so the band around the frame stays in range; a negative
    // width (only in a damaged file) would turn the band inside out.
    v = std::clamp<int32_t>(v, 0, kMaxCoordinate);
    if (v == FFrameWidth) return;
    FFrameWidth = v;
    UpdateControlBounds();
    Invalidate();
    Changed();
}

void TLORect::SetFillInside(bool v) {
    if (v == FFillInside) return;
    FFillInside = v;
    Invalidate();
    Changed();
}

void TLORect::SetRoundRect(bool v) {
    if (v == FRoundRect) return;
    FRoundRect = v;
    FOutline.Clear();
    Invalidate();
    Changed();
}

void TLORect::SetAngle(int degrees) {
    if (degrees == Angle()) return;
    FRotator.SetAngle(degrees);
    FOutline.Clear();
    Changed();
    Invalidate();
    UpdateControlBounds();
}

void TLORect::SetRect(const TRect& r) {
    TLORectBase::SetRect(r);
    const TRect& f = FrameRect();
    FRotator.SetCentre({(f.Left + f.Right) / 2, (f.Top + f.Bottom) / 2});
    FOutline.Clear();
    UpdateControlBounds();
}

const TStroke& TLORect::Outline() const {
    const std::lock_guard lock(FOutlineLock);
    if (FOutline.Count() == 0) {
        BuildOutline(FOutline);
        FOutline.Transform(FRotator);
    }
    return FOutline;
}

void TLORect::BuildOutline(TStroke& outline) const {
    if (FRoundRect)
        outline.SetRoundRect(FrameRect(), std::min(Width(), Height()) / 3);
    else
        outline.SetRect(FrameRect());
}

TRect TLORect::BandRect(int32_t w, bool outer) const {
    const TRect& f = FrameRect();
    const int32_t h = w / 2;
    if (outer) return {f.Left - h, f.Top - h, f.Right + w - h, f.Bottom + w - h};
    return {f.Left + w - h, f.Top + w - h, f.Right - h, f.Bottom - h};
}

TRect TLORect::GetBounds() const {
    TStroke band;
    band.SetRect(BandRect(FFrameWidth, true));
    band.Transform(FRotator);
    return band.GetBounds();
}

void TLORect::Resize(int32_t width, int32_t height) {
    int64_t w = int64_t(width) - FFrameWidth;
    int64_t h = int64_t(height) - FFrameWidth;
    if (Angle() != 0) {
        // Scaled by the ratio to the turned bounds; a flat side keeps its size.
        const TRect b = GetBounds();
        w = b.Width() != 0 ? MulDiv(Width(), width, b.Width()) : Width();
        h = b.Height() != 0 ? MulDiv(Height(), height, b.Height()) : Height();
    }
    SetRect(ClampedRect(Left(), Top(), Left() + w, Top() + h));
}

void TLORect::Paint(TCanvas& canvas, const TRenderContext& context) const {
    // Thin frames stay visible on screen.
    const int32_t w = context.MinimumPenWidth(FFrameWidth);
    const TRect bounds = GetBounds();
    if (FFrameWidth < Width() && FFrameWidth < Height() && FFillInside) {
        const int saved = canvas.SaveDC();
        Outline().SelectAsPath(canvas);
        canvas.SelectClipPath(TClipCombine::ccAnd);
        FFillColor->Paint(canvas, bounds);
        canvas.RestoreDC(saved);
    }
    if (FFrameWidth > 0) {
        const int saved = canvas.SaveDC();
        PaintFrame(canvas, Inflated(bounds, w - FFrameWidth + 1), w);
        canvas.RestoreDC(saved);
    }
}

void TLORect::DrawMask(TCanvas& mask, const TRenderContext&) const {
    if (FFrameWidth > 0) {
        TPen pen = GeometricPen(FFrameWidth);
        pen.Color = clWhite;
        mask.SetPen(pen);
        Outline().Draw(mask);
    }
    if (FFrameWidth < Width() && FFrameWidth < Height() && FFillInside) {
        const int saved = mask.SaveDC();
        Outline().SelectAsPath(mask);
        mask.SelectClipPath(TClipCombine::ccAnd);
        mask.SetBrush({TBrushStyle::bsSolid, clWhite});
        mask.FillRect(GetBounds());
        mask.RestoreDC(saved);
    }
}

void TLORect::PaintFrame(TCanvas& canvas, const TRect& bounds, int32_t w) const {
    if (FRoundRect) {
        canvas.SetFillMode(TFillMode::fmAlternate);
        Outline().SelectAsPath(canvas);
        canvas.SetPen(GeometricPen(w));
        canvas.WidenPath();
        canvas.SelectClipPath(TClipCombine::ccAnd);
    } else {
        TStroke edge;
        edge.SetRect(BandRect(w, true));
        edge.Transform(FRotator);
        edge.SelectAsPath(canvas);
        canvas.SelectClipPath(TClipCombine::ccAnd);
        // A band wider than the rectangle has no hole.
        const TRect inner = BandRect(w, false);
        if (!inner.IsEmpty()) {
            edge.SetRect(inner);
            edge.Transform(FRotator);
            edge.SelectAsPath(canvas);
            canvas.SelectClipPath(TClipCombine::ccDiff);
        }
    }
    FFrameColor->Paint(canvas, bounds);
}

double TLORect::EdgeDistance(double x, double y) const {
    const double r = FRoundRect ? std::min(Width(), Height()) / 3 / 2 : 0;
    const double qx = std::abs(x) - (Width() / 2.0 - r);
    const double qy = std::abs(y) - (Height() / 2.0 - r);
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - r;
}

bool TLORect::HitTest(TPoint p) const {
    // The tested point turned back into the unrotated frame, centred.
    const double radians = -Angle() * 3.14159265358979323846 / 180;
    const double dx = p.X - FRotator.Centre().X, dy = p.Y - FRotator.Centre().Y;
    const double ux = FRotator.Centre().X + dx * std::cos(radians) - dy * std::sin(radians);
    const double uy = FRotator.Centre().Y + dx * std::sin(radians) + dy * std::cos(radians);
    const TRect& f = FrameRect();
    const double d = EdgeDistance(ux - (f.Left + f.Right) / 2.0, uy - (f.Top + f.Bottom) / 2.0);
    // One device pixel of tolerance, more off screen.
    const int32_t tolerance = Parent() ? Parent()->DeviceToLogical(1) : 4;
    const double half = (FFrameWidth + tolerance) / 2.0;
    if (FFillInside || FFrameWidth == 0) return d <= half;
    return std::abs(d) <= half;
}

void TLORect::AssignTo(TPersistent* dest) const {
    TLORectBase::AssignTo(dest);
    auto* d = dynamic_cast<TLORect*>(dest);
    if (!d) return;
    d->SetFrameWidth(FFrameWidth);
    d->SetFrameColor(*FFrameColor);
    d->SetFillColor(*FFillColor);
    d->SetFillInside(FFillInside);
    d->SetAngle(Angle());
    d->SetRoundRect(FRoundRect);
}

} // namespace vellum
