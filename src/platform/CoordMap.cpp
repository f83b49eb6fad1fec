#include "platform/CoordMap.h"

namespace vellum {

TPoint WindowOrgToDevice(const TCoordMapping& m) {
    return {MulDiv(m.WindowOrg.X, m.ViewportExt.X, m.WindowExt.X),
            MulDiv(m.WindowOrg.Y, m.ViewportExt.Y, m.WindowExt.Y)};
}

void TCoordMap::Reset(TCanvas& canvas) { canvas.SetMapping(TCoordMapping{}); }

void TCoordMap::Restore(TCanvas& canvas) const {
    const TPoint shift = WindowOrgToDevice(Saved);
    TCoordMapping m = Saved;
    m.WindowOrg = {0, 0};
    m.ViewportOrg = {Saved.ViewportOrg.X - shift.X, Saved.ViewportOrg.Y - shift.Y};
    canvas.SetMapping(m);
}

} // namespace vellum
