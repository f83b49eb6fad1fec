#pragma once
// Pictures in the compressed-stream container ("CBM"): the container's
// errors become the picture's own invalid-bitmap error.

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
