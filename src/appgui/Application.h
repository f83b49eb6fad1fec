#pragma once
// The GUI application: every exception that escapes an event handler is
// reported through the application frame instead of ending the program.

#include <QApplication>

namespace vellum {

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace vellum
