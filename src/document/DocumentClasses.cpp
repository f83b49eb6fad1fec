#include "document/DocumentClasses.h"

#include "base/ClassRegistry.h"
#include "document/LDObjects.h"

namespace vellum {

void RegisterDocumentClasses() { RegisterClass(TLDObjects::StaticClass()); }

} // namespace vellum
