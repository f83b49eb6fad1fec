// Untrusted bytes in the compressed container and the array format: each is
// read completely or refused with the stream errors, never trusted for sizes.
#include "base/Exceptions.h"
#include "core/ArrayData.h"
#include "core/CompressedStream.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vellum;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        TMemoryStream in(bytes), out;
        int32_t length = 0;
        if (IsCompressed(in, length)) {
            try {
                DecompressTo(in, out, length);
                if (out.Size() != length) std::abort();
            } catch (const EZDecompressionError&) {
            } catch (const EStreamError&) {
            }
        } else if (in.Position() != 0) {
            std::abort();
        }
    }
    {
        TMemoryStream in(bytes);
        TArrayData array;
        try {
            array.LoadFromStream(in);
            if (int64_t(array.ElementSize()) * array.Count() > int64_t(size)) std::abort();
        } catch (const EReadError&) {
        }
    }
    return 0;
}
