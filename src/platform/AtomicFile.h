#pragma once
// Files replaced whole: the new bytes go to a temporary file in the target's
// folder, are pushed to the disk and renamed over the target, so a failure
// or a killed program leaves the old file as it was.

#include <QByteArray>
#include <QString>

namespace vellum {

// Writes bytes as fileName. A symbolic link keeps pointing where it did: the
// file it leads to is replaced. A read-only target or a folder is refused.
// Temporaries of earlier saves of the same target that were left behind
// (killed saves) are removed after a successful write. Failures raise
// EOleSysError with a Japanese message naming the file and the reason.
void WriteFileAtomically(const QString& fileName, const QByteArray& bytes);

// The short name the temporaries of a target start with (in its folder).
QString TemporaryPrefix(const QString& fileName);

} // namespace vellum
