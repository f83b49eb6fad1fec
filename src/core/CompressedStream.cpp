#include "core/CompressedStream.h"

#include "base/Exceptions.h"

#include <QFile>
#include <QScopeGuard>

#include <zlib.h>

#include <cstring>
#include <vector>

namespace vellum {
namespace {

const char kHeader[kCompressHeaderSize + 1] = "ZLIBCompress\x1A";
constexpr int64_t kChunk = 64 * 1024;
// Deflate never packs more than 1032 bytes into one; anything claiming more is not real.
constexpr int64_t kMaxRatio = 1032;

QString ZMessage(const z_stream& z, int code) { return QString::fromLatin1(z.msg ? z.msg : zError(code)); }

} // namespace

bool IsCompressed(TStream& stream, int32_t& length) {
    const int64_t pos = stream.Position();
    char head[kCompressHeaderSize + 4];
    if (stream.Read(head, sizeof head) == int64_t(sizeof head) &&
        std::memcmp(head, kHeader, kCompressHeaderSize) == 0) {
        length = int32_t(GetLE32(head + kCompressHeaderSize));
        return true;
    }
    stream.SetPosition(pos);
    return false;
}

void CompressTo(TStream& source, TStream& dest, int level) {
    const int64_t length = source.Remaining();
    if (length > INT32_MAX) throw EZCompressionError(QStringLiteral("The data is too large to compress"));
    dest.WriteBuffer(kHeader, kCompressHeaderSize);
    WriteI32(dest, int32_t(length));
    z_stream z{};
    int rc = deflateInit(&z, level);
    if (rc != Z_OK) throw EZCompressionError(ZMessage(z, rc));
    std::vector<unsigned char> in(static_cast<size_t>(std::min(length, kChunk)) + 1),
        out(static_cast<size_t>(kChunk));
    int64_t left = length;
    const auto end = qScopeGuard([&z] { deflateEnd(&z); });
    do {
        const int64_t n = std::min(left, kChunk);
        source.ReadBuffer(in.data(), n);
        left -= n;
        z.next_in = in.data();
        z.avail_in = uInt(n);
        const int flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
        do {
            z.next_out = out.data();
            z.avail_out = uInt(out.size());
            rc = deflate(&z, flush);
            if (rc == Z_STREAM_ERROR) throw EZCompressionError(ZMessage(z, rc));
            dest.WriteBuffer(out.data(), int64_t(out.size() - z.avail_out));
        } while (z.avail_out == 0);
    } while (left > 0);
}

void DecompressTo(TStream& source, TStream& dest, int32_t length) {
    if (length < 0) throw EZDecompressionError(QStringLiteral("The compressed data has a negative length"));
    const int64_t available = source.Remaining();
    if (int64_t(length) > available * kMaxRatio)
        throw EZDecompressionError(
            QStringLiteral("The compressed data is too short for its declared length"));
    z_stream z{};
    int rc = inflateInit(&z);
    if (rc != Z_OK) throw EZDecompressionError(ZMessage(z, rc));
    std::vector<unsigned char> in(static_cast<size_t>(kChunk)), out(static_cast<size_t>(kChunk));
    int64_t written = 0;
    {
        const auto end = qScopeGuard([&z] { inflateEnd(&z); });
        rc = Z_OK;
        while (rc != Z_STREAM_END) {
            if (z.avail_in == 0) {
                const int64_t n = source.Read(in.data(), kChunk);
                if (n <= 0) throw EZDecompressionError(QStringLiteral("The compressed data ends early"));
                z.next_in = in.data();
                z.avail_in = uInt(n);
            }
            z.next_out = out.data();
            z.avail_out = uInt(out.size());
            rc = inflate(&z, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END) {
                if (rc == Z_BUF_ERROR && z.avail_in == 0) continue; // needs more input
                throw EZDecompressionError(ZMessage(z, rc == Z_NEED_DICT ? Z_DATA_ERROR : rc));
            }
            const int64_t n = int64_t(out.size() - z.avail_out);
            if (written + n > length)
                throw EZDecompressionError(
                    QStringLiteral("The compressed data is longer than its declared length"));
            dest.WriteBuffer(out.data(), n);
            written += n;
        }
        // Give back what was read past the end of the zlib stream.
        source.Seek(-int64_t(z.avail_in), TSeekOrigin::soCurrent);
    }
    if (written != length)
        throw EZDecompressionError(QStringLiteral("The compressed data is shorter than its declared length"));
}

bool IsCompressedFile(const QString& fileName) {
    TFileStream file(fileName, fmOpenRead);
    int32_t length = 0;
    return IsCompressed(file, length);
}

void DecompressFile(const QString& sourceFile, const QString& destFile) {
    TFileStream source(sourceFile, fmOpenRead);
    int32_t length = 0;
    if (!IsCompressed(source, length)) return;
    // Declared first: a half-written file is removed once it is closed.
    auto removeDest = qScopeGuard([&destFile] { QFile::remove(destFile); });
    TFileStream dest(destFile, fmCreate);
    DecompressTo(source, dest, length);
    removeDest.dismiss();
}

} // namespace vellum
