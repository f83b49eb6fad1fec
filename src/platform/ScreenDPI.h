#pragma once
// The resolution drawings for the screen are made at.

namespace vellum {

// Vertical pixels per inch of the primary screen; 96 without a screen.
int ScreenDPI();

} // namespace vellum
