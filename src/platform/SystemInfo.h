#pragma once
// Facts about the machine and the user's folders that the start-up checks
// and file lookups need.

#include <QString>
#include <QStringList>

namespace vellum::SystemInfo {

// Bits per pixel of the primary screen; 32 when no screen can be asked.
int ScreenColorDepth();
// A default printer exists. The built-in PDF output always counts as one.
bool HasDefaultPrinter();
// The right to change installed-program settings; always granted on Linux.
bool HasPowerUserRights();

// Absolute path of the running program file.
QString ProgramFile();
// $XDG_DATA_HOME (or ~/.local/share).
QString UserDataFolder();
// $XDG_CONFIG_HOME (or ~/.config).
QString UserConfigFolder();
// Where removable media and mounted discs appear: /media/$USER/*, /run/media/$USER/*, /mnt/*.
QStringList MountRoots();

} // namespace vellum::SystemInfo
