#include "document/LDObjects.h"

#include "core/DOList.h"
#include "core/DrawObject.h"

#include <memory>

namespace vellum {

const TClassInfo& TLDObjects::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TLDObjects, TComponent>("TLDObjects", [](auto&) {});
    return info;
}

void TLDObjects::GetChildren(const std::function<void(TComponent*)>& proc) const {
    if (!FList) return;
    for (int i = FList->Count() - 1; i >= 0; --i) proc(FList->Items(i));
}

void TLDObjects::TakeObjects(TOwnedDOList& list) {
    while (ComponentCount() > 0) {
        std::unique_ptr<TComponent> child = Disown(*Components(0));
        if (std::unique_ptr<TDrawObject> object = TakeAs<TDrawObject>(child)) {
            object->SetName(QString());
            list.Give(std::move(object));
        }
    }
}

} // namespace vellum
