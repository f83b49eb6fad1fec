#pragma once
// The macro table of the start-up module: the program's name, files,
// settings keys and standard messages.

#include <QStringList>

namespace vellum {

class TAppFrame;

QStringList StartupMacroTable();
// Loads the table into the frame: what the GUI program and the command-line
// tool share.
void LoadStartupMacros(TAppFrame& frame);

} // namespace vellum
