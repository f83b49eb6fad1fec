#include "paper/PaperClasses.h"

#include "base/ClassRegistry.h"
#include "paper/FreePaperInfo.h"
#include "paper/MatrixPaperInfo.h"

namespace vellum {

void RegisterPaperClasses() {
    RegisterClasses({&TMatrixPaperInfo::StaticClass(), &TFreePaperInfo::StaticClass()});
}

} // namespace vellum
