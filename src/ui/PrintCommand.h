#pragma once
// The main window's print command: the print dialog, then the job on the
// chosen printer (or PDF file) with the progress window.

#include <QStringList>

class QWidget;

namespace vellum {

class IFileDialogs;
class TDocumentSession;

// The printer queues of the system; empty without any (as on CI).
QStringList SystemPrinters();
QString DefaultSystemPrinter();

void RunPrintCommand(QWidget& window, TDocumentSession& session, IFileDialogs& dialogs);

} // namespace vellum
