#pragma once
// The container written for one card: over an object list it writes the
// objects from the last to the first as its children; read back, it owns
// them in stream order.
#include "base/Component.h"

namespace vellum {

class TDOList;
class TOwnedDOList;

class TLDObjects : public TComponent {
    VELLUM_CLASS(TLDObjects)

public:
    explicit TLDObjects(TComponent* owner = nullptr) : TComponent(owner) {}
    // The list written as children; not owned.
    TLDObjects(const TDOList& list) : TComponent(nullptr), FList(&list) {}

    void GetChildren(const std::function<void(TComponent*)>& proc) const override;
    // Hands the drawing objects read, in stream order and without a name, to
    // list; children that are not drawing objects are freed.
    void TakeObjects(TOwnedDOList& list);

private:
    const TDOList* FList = nullptr;
};

} // namespace vellum
