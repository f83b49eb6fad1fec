#include "ui/HintSwitch.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QToolTip>

namespace vellum {
namespace {

bool GShowHints = true;

class TToolTipBlocker : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!GShowHints && event->type() == QEvent::ToolTip) return true;
        return QObject::eventFilter(watched, event);
    }
};

// Owned by the application object, so it goes with it.
QPointer<TToolTipBlocker> GBlocker;

} // namespace

void THintSwitch::Apply(bool showHints) {
    GShowHints = showHints;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    if (!GBlocker) {
        GBlocker = new TToolTipBlocker(app);
        app->installEventFilter(GBlocker);
    }
    if (!showHints && qobject_cast<QApplication*>(app)) QToolTip::hideText();
}

bool THintSwitch::ShowHints() { return GShowHints; }

} // namespace vellum
