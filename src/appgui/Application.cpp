#include "appgui/Application.h"

#include "appframe/AppFrame.h"

#include <cstdio>

namespace vellum {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (TAppFrame* frame = AppFrame())
            frame->HandleException(e);
        else
            std::fprintf(stderr, "%s\n", e.what());
    } catch (...) {
        if (TAppFrame* frame = AppFrame()) frame->HandleUnknownException();
    }
    return false;
}

} // namespace vellum
