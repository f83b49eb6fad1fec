#include "core/CoreClasses.h"

#include "base/ClassRegistry.h"
#include "core/DOGroup.h"

namespace vellum {

void RegisterCoreClasses() { RegisterClass(TDOGroup::StaticClass()); }

} // namespace vellum
