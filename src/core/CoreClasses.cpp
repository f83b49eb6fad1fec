#include "core/CoreClasses.h"

#include "base/ClassRegistry.h"
#include "core/DOGroup.h"
#include "core/Transformer.h"

namespace vellum {

void RegisterCoreClasses() { RegisterClasses({&TDOGroup::StaticClass(), &TRotator::StaticClass()}); }

} // namespace vellum
