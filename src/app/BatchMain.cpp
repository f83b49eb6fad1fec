// vellum4-batch: the program's document work from the command line.
#include "app/BatchDocumentCommands.h"
#include "app/BatchPrintCommand.h"
#include "app/BatchProfileCommands.h"
#include "app/BatchTool.h"
#include "app/StartupRegistrations.h"
#include "appframe/AppFrame.h"
#include "appframe/StartupMacros.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    // Text is drawn through the GUI module; no display is needed for it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    vellum::RegisterStartupClasses();
    vellum::RegisterStartupDesigners();
    vellum::InstallStartupServices();
    vellum::TAppFrame frame;
    vellum::LoadStartupMacros(frame);
    QTextStream out(stdout);
    QTextStream err(stderr);
    // Messages that would be boxes in the program are lines on standard error.
    frame.OnMessageBox = [&err](const QString& text, vellum::TMsgDlgButtons, vellum::TMsgDlgBtn def,
                                vellum::TMsgDlgBtn) {
        err << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" ")) << '\n';
        err.flush();
        return vellum::ModalResultOf(def);
    };
    vellum::TBatchTool tool;
    vellum::AddFrameCommands(tool);
    vellum::AddDocumentCommands(tool);
    vellum::AddProfileCommands(tool);
    vellum::AddPrintCommand(tool);
    return tool.Run(app.arguments().mid(1), out, err);
}
