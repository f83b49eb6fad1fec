#pragma once
// The object factory: a new object of a kind named by the editor's
// commands, created through the class registry.

#include "core/DODesigner.h"

#include <QString>

namespace vellum {

class TLOCreator : public TDODesigner {
public:
    // Without an owner; none when the kind's class is not registered.
    std::unique_ptr<TDrawObject> NewObject(const QString& kindName) override;
    // The class a kind name creates ("TLOImagePaste" -> "TLOImageV3"; other names stand for themselves).
    static QString ClassForKind(const QString& kindName);
};

} // namespace vellum
