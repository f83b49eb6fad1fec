// The stored form of a TColorSpec as the colour history keeps it:
// bad bytes must raise the program's errors, never crash; what reads must
// write back and read again to the same bytes.
#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Stream.h"
#include "imaging/ColorSpecHistory.h"
#include "imaging/GraphicRegistry.h"

#include <cstdint>
#include <cstdlib>

using namespace vellum;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    RegisterPictureFormats();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TColorSpecWrapper wrapper;
    try {
        TMemoryStream stream(bytes);
        ReadComponent(stream, &wrapper);
    } catch (const Exception&) {
        return 0;
    }
    TMemoryStream out;
    WriteComponent(out, wrapper);
    TColorSpecWrapper again;
    out.SetPosition(0);
    ReadComponent(out, &again);
    TMemoryStream out2;
    WriteComponent(out2, again);
    if (out.Data() != out2.Data()) std::abort();
    return 0;
}
