#pragma once
// Files replaced whole: the new bytes go to a temporary file in the target's
// folder, are pushed to the disk and renamed over the target, so a failure
// or a killed program leaves the old file as it was.

#include "base/Exceptions.h"

#include <QByteArray>
#include <QString>

namespace vellum {

// A whole-file write that failed: the message names the file and the reason,
// Reason() is the reason alone for callers that name the file their own way.
class EFileWriteError : public EOleSysError {
public:
    EFileWriteError(QString message, uint32_t errorCode, QString reason)
        : EOleSysError(std::move(message), errorCode), FReason(std::move(reason)) {}
    const QString& Reason() const noexcept { return FReason; }
    const char* ClassName() const noexcept override { return "EFileWriteError"; }

private:
    QString FReason;
};

// Writes bytes as fileName. A symbolic link keeps pointing where it did: the
// file it leads to is replaced. A read-only target or a folder is refused.
// Temporaries of earlier saves of the same target that were left behind
// (killed saves) are removed after a successful write. Failures raise
// EFileWriteError with a Japanese message naming the file and the reason.
// A replaced file keeps its permissions; a new one gets newFileMode, or with
// -1 the usual ones the umask leaves (private files pass 0600).
void WriteFileAtomically(const QString& fileName, const QByteArray& bytes, int newFileMode = -1);

// The same for output written piece by piece (a PDF page after page): the
// temporary is created at once, written through Handle() or Write(), and
// replaces the target only on Commit(). Without a commit it is removed, so
// a failed or aborted job leaves no partial file and the old one as it was.
class TAtomicFile {
public:
    // Refuses a read-only target or a folder as WriteFileAtomically does; a
    // new file gets newFileMode when it is not negative.
    explicit TAtomicFile(const QString& fileName, int newFileMode = -1);
    ~TAtomicFile();
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    const QString& FileName() const { return FFileName; }
    // The open temporary's descriptor; -1 once committed or discarded.
    int Handle() const { return FHandle; }
    void Write(const QByteArray& bytes);
    // Pushes the temporary to the disk and renames it over the target.
    void Commit();
    // Removes the temporary; the target stays as it was.
    void Discard();

private:
    QString FFileName;
    QString FResolved;
    QByteArray FTemporary;
    int FHandle = -1;
    unsigned FMode = 0;
};

// The short name the temporaries of a target start with (in its folder).
QString TemporaryPrefix(const QString& fileName);

} // namespace vellum
