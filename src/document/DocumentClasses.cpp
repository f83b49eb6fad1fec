#include "document/DocumentClasses.h"

#include "base/ClassRegistry.h"
#include "document/LDObjects.h"
#include "profile/ProfileClasses.h"

namespace vellum {

void RegisterDocumentClasses() {
    // A document's DataInfo carries a profile in its older form.
    RegisterProfileClasses();
    RegisterClass(TLDObjects::StaticClass());
}

} // namespace vellum
