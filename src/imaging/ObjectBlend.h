#pragma once
// The drawing objects' blend path on raster targets: the object's coverage
// mask and image are drawn into bitmaps of the area and blended into the
// target with the object's blend ratio.

namespace vellum {

// Makes the drawing objects blend through this library (idempotent).
void InstallObjectBlendPainter();

} // namespace vellum
