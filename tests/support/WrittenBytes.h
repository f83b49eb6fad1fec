#pragma once
// The bytes a writer puts into a fresh memory stream, for comparing stored forms.

#include "base/Component.h"
#include "base/Filer.h"
#include "base/Stream.h"

#include <QByteArray>

namespace vellum::test {

template <class TWrite>
QByteArray BytesWritten(TWrite&& write) {
    TMemoryStream stream;
    write(static_cast<TStream&>(stream));
    return stream.Data();
}

inline QByteArray ComponentBytes(const TComponent& component) {
    return BytesWritten([&component](TStream& stream) { WriteComponent(stream, component); });
}

} // namespace vellum::test
