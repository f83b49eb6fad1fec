#include "platform/ScreenDPI.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace vellum {

int ScreenDPI() {
    if (!qGuiApp) return 96;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? int(std::lround(screen->logicalDotsPerInchY())) : 96;
}

} // namespace vellum
