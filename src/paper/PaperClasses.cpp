#include "paper/PaperClasses.h"

#include "base/ClassRegistry.h"
#include "paper/ExMeishiInfo.h"
#include "paper/ExPaperInfo.h"
#include "paper/FreePaperInfo.h"
#include "paper/ImagePaperInfo.h"
#include "paper/MatrixPaperInfo.h"

namespace vellum {

void RegisterPaperClasses() {
    RegisterClasses({&TMatrixPaperInfo::StaticClass(), &TFreePaperInfo::StaticClass(),
                     &TExPaperInfo::StaticClass(), &TExMeishiInfo::StaticClass(),
                     &TImagePaperInfo::StaticClass()});
}

} // namespace vellum
