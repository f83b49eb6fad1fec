#include "appgui/DataMain.h"

#include "appframe/AppFrame.h"
#include "appframe/StartupMacros.h"
#include "appgui/MessageForm.h"
#include "base/Exceptions.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>

namespace vellum {

const TClassInfo& TdataMain::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TdataMain, TComponent>("TdataMain", [](auto&) {});
    return info;
}

TdataMain::TdataMain(TComponent* owner, TStartupSteps steps, const QString& programFile)
    : TComponent(owner), FFrame(new TAppFrame(this, programFile)), FSteps(std::move(steps)) {
    SetName(QStringLiteral("dataMain"));
    LoadStartupMacros(*FFrame);
    FFrame->SetExecuteCondition(ecNeedHighColor | ecNeedPrinter | ecExclusive | ecPowerUsers);
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        InstallMessageForm(*FFrame);
        QCoreApplication::setApplicationName(FFrame->Expand(QStringLiteral("$(AppName)")));
        QApplication::setApplicationDisplayName(FFrame->Expand(QStringLiteral("$(AppName)")));
    }
}

TdataMain::~TdataMain() {
    if (FSteps.Shutdown) FSteps.Shutdown();
}

bool TdataMain::OpenCatalogue() {
    if (!FSteps.OpenPaperCatalogue) return true;
    const QString fileName = FFrame->Expand(QStringLiteral("$(PaperInfo)"));
    const QString cannotOpen = QStringLiteral("アプリケーションに必要なファイル「%s」が開けませんでした");
    QFileInfo info(fileName);
    if (!info.isFile()) {
        FFrame->MessageBoxFmt(cannotOpen, mbOK, mbOK, mbOK, fileName);
        return false;
    }
    // The owner's write bit is the read-only attribute here; access rights alone
    // would call every file writable for root.
    if (!info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner)) {
        FFrame->MessageBoxFmt(QStringLiteral("実行に必要なファイル「%s」が読み取り専用になっています"), mbOK,
                              mbOK, mbOK, fileName);
        return false;
    }
    try {
        FSteps.OpenPaperCatalogue(fileName);
    } catch (const std::exception&) {
        FFrame->MessageBoxFmt(cannotOpen, mbOK, mbOK, mbOK, fileName);
        return false;
    }
    return true;
}

bool TdataMain::Start(const QStringList& arguments) {
    FFrame->SeedProgramHome();
    if (FSteps.LoadPlugins) FSteps.LoadPlugins();
    if (FSteps.InstallPurposeValidator) FSteps.InstallPurposeValidator();
    if (FSteps.RegisterPictureFormats) FSteps.RegisterPictureFormats();
    if (!FFrame->CheckExecuteCondition()) return false;
    // The image size limit applies to the consumer Windows family only; Linux counts as NT.
    if (FSteps.OpenImageCache) {
        const int limit = FFrame->ReadBool(QStringLiteral("CacheEnabl"), true)
                              ? FFrame->ReadInteger(QStringLiteral("CacheLimit"), 0)
                              : 0;
        FSteps.OpenImageCache(FFrame->Expand(QStringLiteral("$(ImageCacheFile)")), limit);
    }
    if (!OpenCatalogue()) return false;
    if (FSteps.CreateMainWindow) FMainWindow = FSteps.CreateMainWindow();
    FStartupDone = true;
    if (FSteps.FirstIdle) {
        auto firstIdle = FSteps.FirstIdle;
        QTimer::singleShot(0, [firstIdle, arguments] { firstIdle(arguments); });
    }
    return true;
}

} // namespace vellum
