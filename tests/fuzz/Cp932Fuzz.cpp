// Decoding any bytes, encoding the text and decoding again must give the same
// text: nothing is lost. Bytes may differ only where the code page has two
// codes for one character (NEC-selected and IBM extensions).
#include "base/Cp932.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = vellum::cp932::Decode(bytes);
    auto back = vellum::cp932::TryEncode(text);
    if (!back || vellum::cp932::Decode(*back) != text) std::abort();
    return 0;
}
