#pragma once
// The component viewer: a document file's storage tree and every component
// stream in it as readable text, compressed streams unpacked first.

#include <QString>
#include <QTextStream>

namespace vellum {

// Raises when the file cannot be read as a (compressed) compound file.
void DumpDocumentFile(const QString& fileName, QTextStream& out);

} // namespace vellum
