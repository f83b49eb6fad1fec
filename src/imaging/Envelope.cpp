#include "imaging/Envelope.h"

#include "base/Exceptions.h"
#include "core/CompressedStream.h"
#include "imaging/DIB.h"

namespace vellum {

bool HasEnvelope(TStream& stream) {
    const int64_t start = stream.Position();
    int32_t length = 0;
    const bool found = IsCompressed(stream, length);
    stream.SetPosition(start);
    return found;
}

QByteArray ReadEnvelope(TStream& stream) {
    int32_t length = 0;
    if (!IsCompressed(stream, length)) throw EInvalidGraphic(InvalidBitmapMessage());
    TMemoryStream out;
    try {
        DecompressTo(stream, out, length);
    } catch (const EZDecompressionError&) {
        throw EInvalidGraphic(InvalidBitmapMessage());
    }
    return out.Data();
}

QByteArray MakeEnvelope(const QByteArray& data) {
    TMemoryStream source(data);
    TMemoryStream packed;
    CompressTo(source, packed);
    return packed.Data();
}

} // namespace vellum
