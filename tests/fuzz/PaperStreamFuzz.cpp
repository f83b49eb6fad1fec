// Any bytes read as a paper stream either give a paper or raise one of the
// reading errors; the paper's geometry is then computed without a crash,
// overflow or leak, and writing it back reads back to the same bytes.
#include "base/ClassRegistry.h"
#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Stream.h"
#include "paper/FreePaperInfo.h"
#include "paper/MatrixPaperInfo.h"
#include "paper/PaperClasses.h"

#include <cstdlib>
#include <memory>

namespace {

using namespace vellum;

// Regions cost time in proportion to their height: keep to sheet-sized faces.
bool Small(const TRect& r) {
    return int64_t(r.Right) - r.Left < 4096 && int64_t(r.Bottom) - r.Top < 4096 && r.Left > -4096 &&
           r.Top > -4096 && r.Right < 8192 && r.Bottom < 8192;
}

QByteArray Write(const TComponent& c) {
    TMemoryStream s;
    WriteComponent(s, c);
    return s.Data();
}

void Exercise(TPaperInfo& paper) {
    const int count = paper.FaceCount();
    bool allSmall = true;
    for (int i = 0; i < count && i < 64; ++i) {
        TFaceInfo info;
        paper.GetFaceInfo(i, info);
        const TRect placed = paper.FacePlacedRect(i);
        if (placed != info.OuterRect()) std::abort();
        info.CutOutRect();
        info.HoleRect();
        if (Small(info.OuterRect()) && Small(info.HoleRect()))
            info.Region(nullptr, true);
        else
            allSmall = false;
    }
    paper.FaceRect(count);
    paper.FaceRect(-1);
    if (count <= 64) {
        paper.FirstFaceOutside();
        if (allSmall) paper.FirstOverlappingFace();
    }
    paper.SetStorePurposes(true);
    const QByteArray once = Write(paper);
    TMemoryStream again(once);
    std::unique_ptr<TComponent> back(ReadComponent(again));
    auto* paper2 = dynamic_cast<TPaperInfo*>(back.get());
    if (!paper2) std::abort();
    paper2->SetStorePurposes(true);
    if (Write(*paper2) != once) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool registered = [] {
        RegisterPaperClasses();
        return true;
    }();
    (void)registered;
    TMemoryStream stream(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    try {
        std::unique_ptr<TComponent> object(ReadComponent(stream));
        if (auto* paper = dynamic_cast<TPaperInfo*>(object.get())) Exercise(*paper);
    } catch (const Exception&) {
    }
    return 0;
}
