#include "imaging/Envelope.h"

#include "base/Exceptions.h"
#include "imaging/DIB.h"

#include <zlib.h>

#include <cstring>

namespace vellum {

namespace {

constexpr char kSignature[13] = {'Z', 'L', 'I', 'B', 'C', 'o', 'm', 'p', 'r', 'e', 's', 's', 0x1A};

} // namespace

bool HasEnvelope(TStream& stream) {
    const int64_t start = stream.Position();
    char head[13];
    const int64_t got = stream.Read(head, 13);
    stream.SetPosition(start);
    return got == 13 && std::memcmp(head, kSignature, 13) == 0;
}

QByteArray ReadEnvelope(TStream& stream) {
    if (!HasEnvelope(stream)) throw EInvalidGraphic(InvalidBitmapMessage());
    stream.Seek(13, TSeekOrigin::soCurrent);
    if (stream.Remaining() < 4) throw EInvalidGraphic(InvalidBitmapMessage());
    const int32_t length = ReadI32(stream);
    if (length < 0) throw EInvalidGraphic(InvalidBitmapMessage());

    z_stream z{};
    if (inflateInit(&z) != Z_OK) throw EInvalidGraphic(InvalidBitmapMessage());
    // The output grows with what actually inflates, never to the claimed
    // length up front.
    QByteArray out;
    out.reserve(std::min<int64_t>(length, 1 << 20));
    char in[16384];
    char chunk[65536];
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        if (z.avail_in == 0) {
            const int64_t got = stream.Read(in, sizeof in);
            if (got <= 0) break;
            z.next_in = reinterpret_cast<Bytef*>(in);
            z.avail_in = uInt(got);
        }
        z.next_out = reinterpret_cast<Bytef*>(chunk);
        z.avail_out = sizeof chunk;
        status = inflate(&z, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END) break;
        const int64_t produced = int64_t(sizeof chunk - z.avail_out);
        if (out.size() + produced > length) {
            status = Z_DATA_ERROR;
            break;
        }
        out.append(chunk, qsizetype(produced));
    }
    const uInt unused = z.avail_in;
    inflateEnd(&z);
    if (status != Z_STREAM_END || out.size() != length) throw EInvalidGraphic(InvalidBitmapMessage());
    stream.Seek(-int64_t(unused), TSeekOrigin::soCurrent);
    return out;
}

QByteArray MakeEnvelope(const QByteArray& data) {
    uLongf size = compressBound(uLong(data.size()));
    QByteArray packed(qsizetype(size), '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(data.constData()),
              uLong(data.size()), 9);
    packed.truncate(qsizetype(size));
    QByteArray out(kSignature, 13);
    char len[4];
    PutLE32(len, uint32_t(data.size()));
    out.append(len, 4);
    out.append(packed);
    return out;
}

} // namespace vellum
