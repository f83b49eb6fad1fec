#include "appgui/GlobalNotify.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QGuiApplication>
#include <QThread>
#include <QWidget>
#include <QWindow>

namespace vellum {

const TClassInfo& TGlobalNotify::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TGlobalNotify, TComponent>("TGlobalNotify", [](auto&) {});
    return info;
}

const TClassInfo& TScreenEventDispatcher::StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TScreenEventDispatcher, TPersistent>("TScreenEventDispatcher", [](auto&) {});
    return info;
}
namespace {
TScreenEventDispatcher* GDispatcher = nullptr;
}

TScreenEventDispatcher& TScreenEventDispatcher::Instance() {
    if (!GDispatcher) GDispatcher = new TScreenEventDispatcher;
    return *GDispatcher;
}

void TScreenEventDispatcher::Shutdown() {
    delete GDispatcher;
    GDispatcher = nullptr;
}

TScreenEventDispatcher::TScreenEventDispatcher() : FContext(std::make_unique<QObject>()) {
    if (auto app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        QObject::connect(app, &QApplication::focusChanged, FContext.get(),
                         [this] { ActiveControlChanged(); });
    if (auto app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QObject::connect(app, &QGuiApplication::focusWindowChanged, FContext.get(),
                         [this] { ActiveFormChanged(); });
}

TScreenEventDispatcher::~TScreenEventDispatcher() {
    if (GDispatcher == this) GDispatcher = nullptr;
}

TGlobalNotify::TGlobalNotify(TComponent* owner) : TComponent(owner), FContext(std::make_unique<QObject>()) {
    FListener.SetCallback([this](TPersistent*, const TGUID& id) {
        if (id == NID_ActiveControlChanged)
            Fire(OnActiveControlChange);
        else if (id == NID_ActiveFormChanged)
            Fire(OnActiveFormChange);
    });
    FListener.Attach(&TScreenEventDispatcher::Instance().Broadcaster());
    if (auto app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QObject::connect(app, &QGuiApplication::applicationStateChanged, FContext.get(),
                         [this, hidden = false](Qt::ApplicationState state) mutable {
                             if (state == Qt::ApplicationActive) {
                                 if (hidden) Fire(OnRestore);
                                 hidden = false;
                                 Fire(OnActivate);
                             } else if (state == Qt::ApplicationHidden) {
                                 hidden = true;
                                 Fire(OnMinimize);
                             } else {
                                 Fire(OnDeactivate);
                             }
                         });
    }
    if (auto dispatcher = QAbstractEventDispatcher::instance(
            QCoreApplication::instance() ? QCoreApplication::instance()->thread() : nullptr))
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, FContext.get(),
                         [this] { Fire(OnIdle); });
}

TGlobalNotify::~TGlobalNotify() = default;

} // namespace vellum
