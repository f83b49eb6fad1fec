#pragma once
// The compressed-stream envelope: "ZLIBCompress" and 0x1A, the int32 length
// of the data, then a zlib stream of it. A small stand-in of imaging's own
// until the shared container exists; compressed at level 9.

#include "base/Stream.h"

#include <QByteArray>
#include <optional>

namespace vellum {

// True when the stream continues with the signature; the position is kept.
bool HasEnvelope(TStream& stream);
// Reads the envelope at the position and leaves the position right behind
// the zlib stream. Raises EInvalidGraphic for damaged data.
QByteArray ReadEnvelope(TStream& stream);
QByteArray MakeEnvelope(const QByteArray& data);

} // namespace vellum
