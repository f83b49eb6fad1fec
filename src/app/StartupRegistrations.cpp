#include "app/StartupRegistrations.h"

#include "appframe/AppFrame.h"
#include "core/CoreClasses.h"
#include "core/DODesigner.h"
#include "core/DrawObject.h"
#include "core/LOCreator.h"
#include "document/DocumentClasses.h"
#include "imaging/GraphicRegistry.h"
#include "imaging/ObjectBlend.h"
#include "objects/ObjectClasses.h"
#include "paper/PaperClasses.h"
#include "profile/ProfileClasses.h"

#include <memory>

namespace vellum {

void RegisterStartupClasses() {
    RegisterPaperClasses();
    RegisterProfileClasses();
    RegisterDocumentClasses();
    // Object kinds; groups come last.
    RegisterObjectClasses();
    RegisterCoreClasses();
}

namespace {
// An object that fails to paint on screen is reported like any other error.
void ReportPaintFailure(const TDrawObject&, const std::exception* error) {
    TAppFrame* frame = AppFrame();
    if (!frame) return;
    if (error)
        frame->HandleException(*error);
    else
        frame->HandleUnknownException();
}
} // namespace

void InstallStartupServices() {
    RegisterPictureFormats();
    InstallObjectBlendPainter();
    SetPaintFailureReporter(&ReportPaintFailure);
}

void RegisterStartupDesigners() { DODesigners().Register(std::make_shared<TLOCreator>()); }

} // namespace vellum
