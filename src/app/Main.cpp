// vellum4: the card designer.
#include "app/PlaceholderWindow.h"
#include "app/StartupRegistrations.h"
#include "appframe/AppFrame.h"
#include "appframe/Application.h"
#include "appframe/DataMain.h"

#include <QTextStream>

int main(int argc, char** argv) {
    vellum::TApplication app(argc, argv);
    vellum::RegisterStartupClasses();
    vellum::RegisterStartupDesigners();
    vellum::TStartupSteps steps;
    steps.CreateMainWindow = [] { return vellum::CreatePlaceholderWindow(); };
    vellum::TdataMain dataMain(nullptr, steps);
    const QStringList args = app.arguments().mid(1);
    if (args.contains(QStringLiteral("--version"))) {
        QTextStream(stdout) << vellum::Expand(QStringLiteral("$(AppName) $(LongVer)")) << '\n';
        return 0;
    }
    if (!dataMain.Start(args)) return 1;
    return app.exec();
}
