#include "app/PlaceholderWindow.h"

#include "appframe/AppFrame.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

namespace vellum {

namespace {
class TPlaceholderWindow : public QMainWindow {
protected:
    void closeEvent(QCloseEvent* event) override {
        if (TAppFrame* frame = AppFrame()) frame->SaveWindowPlacement(this);
        QMainWindow::closeEvent(event);
    }
};
} // namespace

QWidget* CreatePlaceholderWindow() {
    auto* window = new TPlaceholderWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setObjectName(QStringLiteral("frmMain"));
    window->setWindowTitle(Expand(QStringLiteral("$(AppName)")));
    window->menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    window->menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    auto* label = new QLabel(Expand(QStringLiteral("$(AppName) $(LongVer) — 名刺デザイン")), window);
    label->setAlignment(Qt::AlignCenter);
    window->setCentralWidget(label);
    if (TAppFrame* frame = AppFrame()) frame->RestoreWindowPlacement(window, 1024, 768);
    window->showMaximized();
    return window;
}

} // namespace vellum
