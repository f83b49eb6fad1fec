// vellum4: the card designer.
#include "app/StartupRegistrations.h"
#include "appframe/AppFrame.h"
#include "appgui/Application.h"
#include "appgui/DataMain.h"
#include "appgui/WindowPlacement.h"
#include "paper/Papers.h"
#include "paper/PurposeList.h"
#include "ui/MainWindow.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTextStream>
#include <QTranslator>

#include <memory>

int main(int argc, char** argv) {
    vellum::TApplication app(argc, argv);
    // Qt's own dialogs in Japanese.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslator);
    vellum::RegisterStartupClasses();
    vellum::RegisterStartupDesigners();
    // Program-wide data the start-up steps open; freed by the shut-down step.
    std::unique_ptr<vellum::TPapers> catalogue;
    vellum::TStartupSteps steps;
    steps.RegisterPictureFormats = [] { vellum::InstallStartupServices(); };
    steps.InstallPurposeValidator = [] {
        vellum::InstallPurposeValidator(std::make_unique<vellum::TCDLabelPurposeValidator>());
    };
    steps.OpenPaperCatalogue = [&catalogue](const QString& fileName) {
        auto papers = std::make_unique<vellum::TPapers>();
        papers->Open(fileName, false);
        catalogue = std::move(papers);
    };
    QPointer<vellum::TfrmMain> mainWindow;
    steps.CreateMainWindow = [&catalogue, &mainWindow]() -> QWidget* {
        auto* window = new vellum::TfrmMain(catalogue.get());
        window->setAttribute(Qt::WA_DeleteOnClose);
        if (vellum::TAppFrame* frame = vellum::AppFrame())
            vellum::RestoreWindowPlacement(*frame, window, 1024, 768);
        window->showMaximized();
        window->ShowSplash();
        mainWindow = window;
        return window;
    };
    steps.FirstIdle = [&mainWindow](const QStringList& arguments) {
        if (mainWindow) mainWindow->OpenOnStart(arguments);
    };
    steps.Shutdown = [&catalogue] {
        if (catalogue) {
            try {
                catalogue->Close();
            } catch (const std::exception& e) {
                QTextStream(stderr) << e.what() << '\n';
            }
            catalogue.reset();
        }
        vellum::InstallPurposeValidator(nullptr);
    };
    vellum::TdataMain dataMain(nullptr, steps);
    const QStringList args = app.arguments().mid(1);
    if (args.contains(QStringLiteral("--version"))) {
        QTextStream(stdout) << vellum::Expand(QStringLiteral("$(AppName) $(LongVer)")) << '\n';
        return 0;
    }
    if (!dataMain.Start(args)) return 1;
    return app.exec();
}
