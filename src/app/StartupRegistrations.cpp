#include "app/StartupRegistrations.h"

#include "core/CoreClasses.h"
#include "core/DODesigner.h"
#include "core/LOCreator.h"
#include "document/DocumentClasses.h"
#include "imaging/GraphicRegistry.h"
#include "imaging/ObjectBlend.h"
#include "paper/PaperClasses.h"

#include <memory>

namespace vellum {

void RegisterStartupClasses() {
    RegisterPaperClasses();
    RegisterDocumentClasses();
    // Paper extra information, the card container and the object kinds join
    // here as they land, in that order; groups come last.
    RegisterCoreClasses();
}

void InstallStartupServices() {
    RegisterPictureFormats();
    InstallObjectBlendPainter();
}

void RegisterStartupDesigners() { DODesigners().Register(std::make_shared<TLOCreator>()); }

} // namespace vellum
