// The readers of external picture bytes: a BMP file, and a picture's stored
// form of any kind. Bad bytes must raise the program's errors, never crash or
// allocate what they merely claim; what reads must write back and read again
// to the same bytes.
#include "base/Exceptions.h"
#include "imaging/DIB.h"
#include "imaging/GraphicRegistry.h"
#include "imaging/PictureEx.h"

#include <cstdint>
#include <cstdlib>

using namespace vellum;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    RegisterPictureFormats();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        TMemoryStream stream(bytes);
        const TDIB dib = TDIB::ReadBMP(stream);
        const QByteArray written = dib.ToBMP();
        if (TDIB::FromBMP(written).ToBMP() != written) std::abort();
        (void)dib.ToImage();
    } catch (const Exception&) {
    }
    try {
        TPictureEx picture;
        TMemoryStream stream(bytes);
        ReadPictureFromStream(picture, stream);
        if (picture.Graphic()) (void)picture.Graphic()->Raster();
        TMemoryStream out;
        WritePictureToStream(picture, out);
        TPictureEx again;
        out.SetPosition(0);
        ReadPictureFromStream(again, out);
        TMemoryStream out2;
        WritePictureToStream(again, out2);
        if (out2.Data() != out.Data()) std::abort();
    } catch (const Exception&) {
    }
    return 0;
}
