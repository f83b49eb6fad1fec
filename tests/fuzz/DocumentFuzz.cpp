// Any bytes opened as a document either load or raise one of the reading
// errors; every card of every sheet of a loaded document then reads without
// a crash, overflow or leak, and so does every card's preview.
#include "base/Exceptions.h"
#include "core/CoreClasses.h"
#include "core/DOList.h"
#include "document/DocumentClasses.h"
#include "document/LabelData.h"
#include "imaging/GraphicRegistry.h"
#include "imaging/PictureEx.h"
#include "objects/ObjectClasses.h"
#include "paper/PaperClasses.h"
#include "paper/PaperInfo.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <unistd.h>

namespace {

using namespace vellum;

// Enough cards to reach every stored list item a small file can hold.
constexpr int kCards = 16;

const QString& FileName() {
    static const QString name =
        QDir::temp().filePath(QStringLiteral("vellum-fuzz-document-%1.xv4").arg(getpid()));
    return name;
}

void ReadEverything(TLabelData& document) {
    for (int s = 0; s < document.SheetCount(); ++s) {
        document.SwitchSheet(s);
        const TPaperInfo* paper = document.Paper();
        const int cards = paper ? std::min(paper->FaceCount(), kCards) : 1;
        for (int i = 0; i < cards; ++i) {
            try {
                TOwnedDOList objects;
                document.LoadCard(i, objects);
            } catch (const Exception&) {
            }
            TPictureEx preview;
            TLabelData::ReadPreviewFromFile(FileName(), s, i, preview);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    RegisterPaperClasses();
    RegisterDocumentClasses();
    RegisterObjectClasses();
    RegisterCoreClasses();
    RegisterPictureFormats();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        QFile file(FileName());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    TLabelData document;
    try {
        document.Load(FileName());
    } catch (const Exception&) {
        return 0;
    }
    try {
        ReadEverything(document);
    } catch (const Exception&) {
    }
    return 0;
}
