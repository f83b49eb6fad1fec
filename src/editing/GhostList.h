#pragma once
// Ghosts: the outlines that follow the pointer during one drag on a draw
// site. All ghosts of a drag sit in the one global list; the site paints them
// with an XOR pen over its content at the end of each paint.

#include "core/DrawSiteInterface.h"

#include <functional>
#include <memory>
#include <vector>

namespace vellum {

class TCanvas;
class TDrawSite;

class TGhost {
public:
    virtual ~TGhost() = default;

    TDrawSite* Site() const { return FSite; }
    // The logical area the ghost stays in.
    const TRect& BoundsRect() const { return FBounds; }
    void SetSite(TDrawSite* site, const TRect& bounds) {
        FSite = site;
        FBounds = bounds;
    }

    // --- virtual operations in slot order; points in logical units
    virtual void Start(TPoint point) = 0;
    // On a canvas mapped to logical units with the XOR pen and a clear brush.
    virtual void Draw(TCanvas& canvas) = 0;
    virtual void Move(TShiftState shift, TPoint delta) = 0;
    virtual void Finish(TShiftState shift) = 0;

private:
    TDrawSite* FSite = nullptr;
    TRect FBounds;
};

// The rubber band: selects the objects lying entirely inside it.
class TSelectGhost : public TGhost {
public:
    const TRect& Band() const { return FBand; }
    void Start(TPoint point) override;
    void Draw(TCanvas& canvas) override;
    void Move(TShiftState shift, TPoint delta) override;
    void Finish(TShiftState shift) override;

private:
    TPoint FStart;
    TRect FBand;
};

class TGhostList {
public:
    TGhostList() = default;
    virtual ~TGhostList();
    TGhostList(const TGhostList&) = delete;
    TGhostList& operator=(const TGhostList&) = delete;

    void Add(std::unique_ptr<TGhost> ghost);
    int Count() const { return int(FGhosts.size()); }
    TGhost* Ghosts(int index) const { return FGhosts.at(size_t(index)).get(); }
    // A drag is running.
    bool Active() const { return FActive; }
    // The pointer moved during the drag.
    bool Moved() const { return FMoved; }
    TDrawSite* Site() const { return FSite; }
    TPoint StartPoint() const { return FStartPoint; }
    TPoint LastPoint() const { return FLastPoint; }
    TShiftState LastShift() const { return FLastShift; }
    // Exactly one ghost, a rubber band.
    bool IsSelecting() const;

    void Start(TDrawSite& site, const TRect& bounds, TPoint point, TShiftState shift);
    void Move(TShiftState shift, TPoint point);
    virtual void Finish();
    void Cancel();
    void Clear();

    // Paints every ghost of the drag on a canvas mapped to logical units.
    void Draw(TCanvas& canvas) const;

    // Fired when a list that held ghosts is cleared.
    std::function<void()> OnClear;

private:
    void Redraw() const;

    std::vector<std::unique_ptr<TGhost>> FGhosts;
    TDrawSite* FSite = nullptr;
    bool FActive = false;
    bool FMoved = false;
    TPoint FStartPoint;
    TPoint FLastPoint;
    TShiftState FLastShift = 0;
};

// The one list of the process; start-up may put a descendant in its place.
TGhostList& GhostList();
void SetGhostList(std::unique_ptr<TGhostList> list);

} // namespace vellum
