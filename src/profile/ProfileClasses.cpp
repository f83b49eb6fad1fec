#include "profile/ProfileClasses.h"

#include "base/ClassRegistry.h"
#include "profile/ProfileInfo.h"

namespace vellum {

void RegisterProfileClasses() {
    RegisterClasses({&TProfileInfo::StaticClass(), &TProfileItem::StaticClass()});
}

} // namespace vellum
