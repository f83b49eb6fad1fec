#include "platform/CompoundFile.h"

#include "base/Exceptions.h"
#include "base/Format.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vellum {
namespace {

uint32_t ErrnoCode(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR: return stg::kFileNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return stg::kAccessDenied;
    case ENOSPC:
    case EDQUOT: return stg::kMediumFull;
    default: return stg::kWriteFault;
    }
}

[[noreturn]] void RaiseErrno(const QString& what, const QString& fileName, int error) {
    throw EOleSysError(Format(QStringLiteral("%s %s: %s"), what, fileName, QString::fromLocal8Bit(std::strerror(error))),
                       ErrnoCode(error));
}

bool WriteAll(int fd, const char* p, qsizetype n) {
    while (n > 0) {
        const ssize_t done = ::write(fd, p, size_t(std::min<qsizetype>(n, 1 << 30)));
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        p += done;
        n -= done;
    }
    return true;
}

} // namespace

std::shared_ptr<TCompoundNode> LoadCompoundFile(const QString& fileName) {
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile())
        throw EOleSysError(Format(QStringLiteral("The file %s does not exist"), fileName), stg::kFileNotFound);
    if (!file.open(QIODevice::ReadOnly))
        throw EOleSysError(Format(QStringLiteral("Cannot open %s: %s"), fileName, file.errorString()),
                           stg::kAccessDenied);
    const QByteArray image = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EOleSysError(Format(QStringLiteral("Cannot read %s: %s"), fileName, file.errorString()), stg::kReadFault);
    return ReadCompoundFile(image);
}

void SaveCompoundFile(const TCompoundNode& root, const QString& fileName) {
    const QByteArray image = WriteCompoundFile(root);
    const QFileInfo info(fileName);
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    QByteArray temp = QFile::encodeName(info.absolutePath() + u'/' + u'.' + info.fileName()) + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) RaiseErrno(QStringLiteral("Cannot create a file beside"), fileName, errno);
    // The new file gets the old file's permissions, or the usual ones for a new file.
    struct stat st {};
    mode_t mode;
    if (::stat(target.constData(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    int error = 0;
    if (::fchmod(fd, mode) != 0 && errno != EPERM) error = errno;
    if (!error && !WriteAll(fd, image.constData(), image.size())) error = errno ? errno : EIO;
    if (!error && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && !error) error = errno;
    if (!error && ::rename(temp.constData(), target.constData()) != 0) error = errno;
    if (error) {
        ::unlink(temp.constData());
        RaiseErrno(QStringLiteral("Cannot write"), fileName, error);
    }
    // Make the rename itself durable.
    const int dir = ::open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace vellum
