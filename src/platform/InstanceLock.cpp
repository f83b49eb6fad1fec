#include "platform/InstanceLock.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vellum {

namespace {

// Keeps the name a single safe file name.
QString SafeFileName(const QString& name) {
    QString out;
    for (QChar c : name)
        out += (c.isLetterOrNumber() || c == u'.' || c == u'-' || c == u'_') ? c : QChar(u'_');
    return out;
}

} // namespace

QString TInstanceLock::LockFolder() {
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QDir(dir).exists())
        dir = QDir::tempPath() + QStringLiteral("/vellum4-%1").arg(::getuid());
    return dir;
}

TInstanceLock::TInstanceLock(const QString& name)
    : FFileName(LockFolder() + u'/' + SafeFileName(name) + QStringLiteral(".lock")) {}

TInstanceLock::~TInstanceLock() {
    if (FHandle >= 0) ::close(FHandle);
}

TInstanceLock::TResult TInstanceLock::Acquire() {
    if (FHandle >= 0) return TResult::Acquired;
    QDir().mkpath(LockFolder());
    const QByteArray path = QFile::encodeName(FFileName);
    int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return TResult::Failed;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        return err == EWOULDBLOCK ? TResult::HeldElsewhere : TResult::Failed;
    }
    FHandle = fd;
    return TResult::Acquired;
}

} // namespace vellum
