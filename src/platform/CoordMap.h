#pragma once
// A canvas's mapping taken aside: drawing in plain device pixels for a while,
// then back to the logical mapping with the origin folded into the viewport.

#include "platform/Canvas.h"

namespace vellum {

// Where the window origin lies in device units under the mapping.
TPoint WindowOrgToDevice(const TCoordMapping& mapping);

struct TCoordMap {
    TCoordMapping Saved;

    static TCoordMap Capture(const TCanvas& canvas) { return {canvas.Mapping()}; }
    // Plain device pixels: mmText with both origins 0.
    static void Reset(TCanvas& canvas);
    // The saved mode and extents, window origin 0, and the saved window
    // origin folded into the viewport origin.
    void Restore(TCanvas& canvas) const;
};

} // namespace vellum
