#include "objects/ObjectClasses.h"

#include "base/ClassRegistry.h"
#include "objects/LOCircle.h"
#include "objects/LORect.h"

namespace vellum {

void RegisterObjectClasses() {
    RegisterClass(TLORect::StaticClass());
    RegisterClass(TLOCircle::StaticClass());
}

} // namespace vellum
