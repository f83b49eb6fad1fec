#include "app/StartupRegistrations.h"

#include "core/CoreClasses.h"
#include "core/DODesigner.h"
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

void InstallStartupServices() {
    RegisterPictureFormats();
    InstallObjectBlendPainter();
}

void RegisterStartupDesigners() { DODesigners().Register(std::make_shared<TLOCreator>()); }

} // namespace vellum
