#pragma once
// A window's position and size kept in the frame's settings under its
// object name: "<name>Left", "<name>Top", "<name>Width", "<name>Height".

class QWidget;

namespace vellum {

class TAppFrame;

// The normal (not maximised) geometry; a window without a name is not kept.
void SaveWindowPlacement(TAppFrame& frame, QWidget* form);
// The stored geometry, else width x height (at most the screen) centred.
void RestoreWindowPlacement(TAppFrame& frame, QWidget* form, int width, int height);

} // namespace vellum
