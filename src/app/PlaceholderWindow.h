#pragma once
// The main window until the real one exists: a window titled with the
// program's name, shown maximised.

class QWidget;

namespace vellum {
QWidget* CreatePlaceholderWindow();
}
