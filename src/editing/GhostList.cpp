#include "editing/GhostList.h"

#include "core/DrawObject.h"
#include "editing/DrawSite.h"
#include "platform/Canvas.h"

#include <QScopeGuard>

namespace vellum {

namespace {

std::unique_ptr<TGhostList>& GlobalList() {
    static std::unique_ptr<TGhostList> list = std::make_unique<TGhostList>();
    return list;
}

// The modifier keys that change what a drag does.
constexpr TShiftState ModifierMask = ssShift | ssAlt | ssCtrl;

bool Contains(const TRect& outer, const TRect& inner) {
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom;
}

} // namespace

TGhostList& GhostList() { return *GlobalList(); }

void SetGhostList(std::unique_ptr<TGhostList> list) {
    if (list) GlobalList() = std::move(list);
}

void TSelectGhost::Start(TPoint point) {
    FStart = point;
    FBand = {point.X, point.Y, point.X, point.Y};
}

void TSelectGhost::Draw(TCanvas& canvas) { canvas.Rectangle(NormalizeRect(FBand)); }

void TSelectGhost::Move(TShiftState, TPoint delta) {
    const TRect& b = BoundsRect();
    const TPoint corner{std::clamp(FStart.X + delta.X, b.Left, std::max(b.Left, b.Right)),
                        std::clamp(FStart.Y + delta.Y, b.Top, std::max(b.Top, b.Bottom))};
    FBand = {FStart.X, FStart.Y, corner.X, corner.Y};
}

void TSelectGhost::Finish(TShiftState) {
    TDrawSite* site = Site();
    if (!site) return;
    TRect band = site->LogicalToDevice(NormalizeRect(FBand));
    band.Right += 1;
    band.Bottom += 1;
    TDOList objects;
    site->AllObjects(objects);
    for (TDrawObject* object : objects)
        if (Contains(band, object->BoundsRect())) object->SetSelected(true);
}

TGhostList::~TGhostList() = default;

void TGhostList::Add(std::unique_ptr<TGhost> ghost) {
    if (ghost) FGhosts.push_back(std::move(ghost));
}

bool TGhostList::IsSelecting() const {
    return FGhosts.size() == 1 && dynamic_cast<const TSelectGhost*>(FGhosts.front().get());
}

void TGhostList::Start(TDrawSite& site, const TRect& bounds, TPoint point, TShiftState shift) {
    if (IDrawSiteHost* host = site.Host()) host->SiteUpdate();
    FSite = &site;
    FMoved = false;
    FStartPoint = point;
    FLastPoint = point;
    FLastShift = shift & ModifierMask;
    for (const auto& ghost : FGhosts) {
        ghost->SetSite(&site, bounds);
        ghost->Start(point);
    }
    FActive = true;
    Redraw();
}

void TGhostList::Move(TShiftState shift, TPoint point) {
    shift &= ModifierMask;
    if (!FActive || (shift == FLastShift && point == FLastPoint)) return;
    FMoved = true;
    FLastShift = shift;
    FLastPoint = point;
    // The old outlines go with the repaint; the new ones are painted over it.
    const TPoint delta{point.X - FStartPoint.X, point.Y - FStartPoint.Y};
    for (const auto& ghost : FGhosts) ghost->Move(shift, delta);
    Redraw();
}

void TGhostList::Finish() {
    const auto clear = qScopeGuard([this] { Clear(); });
    if (!FActive) return;
    Redraw();
    FActive = false;
    if (FMoved)
        for (const auto& ghost : FGhosts) ghost->Finish(FLastShift);
}

void TGhostList::Cancel() {
    if (FActive) Redraw();
    Clear();
}

void TGhostList::Clear() {
    const bool hadGhosts = !FGhosts.empty();
    FActive = false;
    FGhosts.clear();
    FSite = nullptr;
    if (hadGhosts && OnClear) OnClear();
}

void TGhostList::Draw(TCanvas& canvas) const {
    if (!FActive) return;
    canvas.SetPen({TPenStyle::psDot, 0, clWhite, TPenMode::pmXor});
    canvas.SetBrush({TBrushStyle::bsClear, clWhite});
    for (const auto& ghost : FGhosts) ghost->Draw(canvas);
}

void TGhostList::Redraw() const {
    if (FSite) FSite->InvalidateGhosts();
}

} // namespace vellum
