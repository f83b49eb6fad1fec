#include "appgui/WindowPlacement.h"

#include "appframe/AppFrame.h"
#include "platform/RegistryStore.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace vellum {

void SaveWindowPlacement(TAppFrame& frame, QWidget* form) {
    if (!form || form->objectName().isEmpty()) return;
    const QRect r = form->isMaximized() || form->isMinimized() ? form->normalGeometry() : form->geometry();
    const QString name = form->objectName();
    frame.Registry().BeginUpdate();
    frame.WriteInteger(name + QStringLiteral("Left"), r.left());
    frame.WriteInteger(name + QStringLiteral("Top"), r.top());
    frame.WriteInteger(name + QStringLiteral("Width"), r.width());
    frame.WriteInteger(name + QStringLiteral("Height"), r.height());
    frame.Registry().EndUpdate();
}

void RestoreWindowPlacement(TAppFrame& frame, QWidget* form, int width, int height) {
    if (!form) return;
    QRect screen(0, 0, 1024, 768);
    if (QScreen* s = form->screen()) screen = s->availableGeometry();
    width = std::min(width, screen.width());
    height = std::min(height, screen.height());
    const QString name = form->objectName();
    const int w = frame.ReadInteger(name + QStringLiteral("Width"), width);
    const int h = frame.ReadInteger(name + QStringLiteral("Height"), height);
    const int l = frame.ReadInteger(name + QStringLiteral("Left"), screen.left() + (screen.width() - w) / 2);
    const int t = frame.ReadInteger(name + QStringLiteral("Top"), screen.top() + (screen.height() - h) / 2);
    form->setGeometry(l, t, w, h);
}

} // namespace vellum
