#pragma once
// Registers, once per test program, the classes documents are read back
// through: papers, the document's own, the card objects and groups, and
// the picture formats of previews.

#include "base/ClassRegistry.h"
#include "core/CoreClasses.h"
#include "document/DocumentClasses.h"
#include "imaging/GraphicRegistry.h"
#include "objects/ObjectClasses.h"
#include "paper/PaperClasses.h"

namespace vellum::test {

inline void RegisterCardClassesOnce() {
    static const bool registered = [] {
        RegisterPaperClasses();
        RegisterDocumentClasses();
        RegisterObjectClasses();
        RegisterCoreClasses();
        RegisterPictureFormats();
        return true;
    }();
    (void)registered;
}

} // namespace vellum::test
