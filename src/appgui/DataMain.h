#pragma once
// The start-up module: creates the application frame with the program's
// macro table, checks the execute conditions, opens the program-wide data
// and creates the main window. Steps of subsystems are installed by the
// program as they exist; a step left empty is skipped.

#include "base/Component.h"

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace vellum {

class TAppFrame;

struct TStartupSteps {
    std::function<void()> LoadPlugins;
    std::function<void()> InstallPurposeValidator;
    std::function<void()> RegisterPictureFormats;
    // Size limit of the thumbnail cache in bytes, 0 for none kept.
    std::function<void(const QString& fileName, int limit)> OpenImageCache;
    // Loads the paper catalogue from an existing, writable file; raises on failure.
    std::function<void(const QString& fileName)> OpenPaperCatalogue;
    std::function<QWidget*()> CreateMainWindow;
    // The first idle moment: open the document named on the command line or make a new one.
    std::function<void(const QStringList& arguments)> FirstIdle;
    // Frees what the steps opened, in reverse order.
    std::function<void()> Shutdown;
};

class TdataMain : public TComponent {
public:
    explicit TdataMain(TComponent* owner = nullptr, TStartupSteps steps = {},
                       const QString& programFile = QString());
    ~TdataMain() override;

    VELLUM_CLASS(TdataMain)

public:

    // Runs the start-up sequence; false when the program must end.
    bool Start(const QStringList& arguments);
    bool StartupDone() const { return FStartupDone; }
    TAppFrame& Frame() { return *FFrame; }
    QWidget* MainWindow() const { return FMainWindow; }

private:
    bool OpenCatalogue();

    TAppFrame* FFrame; // owned as a component
    TStartupSteps FSteps;
    QWidget* FMainWindow = nullptr;
    bool FStartupDone = false;
};

} // namespace vellum
