#pragma once
// The readable text of a component stream, as the component viewer and the
// command-line dump show it: each object with its class and name, its
// properties with their values and its children, indented. It needs no
// registered classes; a damaged stream ends with a line saying where.

#include <QByteArray>
#include <QString>

namespace vellum {

class TStream;

// From the stream's position: a "TPF0" stream, or one in a resource header.
QString DumpComponentStream(TStream& stream);
QString DumpComponentBytes(const QByteArray& bytes);

} // namespace vellum
