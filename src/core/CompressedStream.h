#pragma once
// The compressed-stream container: "ZLIBCompress" + 0x1A (13 bytes), the int32
// length of the uncompressed data, then a zlib stream of that data. Nothing
// follows the zlib stream in the container; what follows belongs to the caller.

#include "base/Stream.h"

#include <QString>

#include <cstdint>

namespace vellum {

constexpr int kCompressHeaderSize = 13;
constexpr int kBestCompression = 9;

// True with the position after the length when the header is there; otherwise
// the position is unchanged. Never raises on short data.
bool IsCompressed(TStream& stream, int32_t& length);
// Writes the header, the length of the bytes from source's position to its end,
// and their zlib compression.
void CompressTo(TStream& source, TStream& dest, int level = kBestCompression);
// Inflates from source's position and writes exactly length bytes to dest,
// leaving source just after the zlib stream. Short, corrupt or longer data
// raises EZDecompressionError; the declared length is checked against the data
// before anything is allocated for it.
void DecompressTo(TStream& source, TStream& dest, int32_t length);
bool IsCompressedFile(const QString& fileName);
// When the source is compressed, writes its data to dest; otherwise does nothing.
void DecompressFile(const QString& sourceFile, const QString& destFile);

} // namespace vellum
