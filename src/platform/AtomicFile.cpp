#include "platform/AtomicFile.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "platform/CompoundNode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vellum {
namespace {

// A temporary older than this is no save in progress any more.
constexpr time_t kStaleSeconds = 60 * 60;

uint32_t ErrnoCode(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return stg::kFileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return stg::kAccessDenied;
    case ENOSPC:
    case EDQUOT:
        return stg::kMediumFull;
    default:
        return stg::kWriteFault;
    }
}

QString Reason(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクの空き容量が足りません");
    case EACCES:
    case EPERM:
        return QStringLiteral("書き込む権限がありません");
    case EROFS:
        return QStringLiteral("読み取り専用の場所です");
    case ENOENT:
        return QStringLiteral("フォルダーが見つかりません");
    case ENOTDIR:
        return QStringLiteral("保存先がフォルダーではありません");
    case EISDIR:
        return QStringLiteral("同じ名前のフォルダーがあります");
    case ENAMETOOLONG:
        return QStringLiteral("ファイル名が長すぎます");
    case EIO:
        return QStringLiteral("入出力エラーが発生しました");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

[[noreturn]] void Raise(const QString& fileName, int error) {
    const QString reason = Reason(error);
    throw EFileWriteError(Format(QStringLiteral("ファイル %s を保存できません（%s）"), fileName, reason),
                          ErrnoCode(error), reason);
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

// The file a name leads to: symbolic links followed, also to a file that
// does not exist yet.
QString ResolvedTarget(const QString& fileName) {
    QFileInfo info(fileName);
    for (int hops = 0; info.isSymLink() && hops < 40; ++hops) {
        const QString next = info.symLinkTarget();
        if (next.isEmpty()) break;
        info = QFileInfo(next);
    }
    return info.absoluteFilePath();
}

// FNV-1a over the name's bytes: a stable, short tag for its temporaries.
uint32_t NameTag(const QByteArray& name) {
    uint32_t h = 2166136261u;
    for (const char c : name) {
        h ^= uint8_t(c);
        h *= 16777619u;
    }
    return h;
}

// Removes temporaries of the target that no save is writing any more: ours,
// and those the longer naming of earlier versions (".NAME.XXXXXX") left.
void RemoveStaleTemporaries(const QString& target) {
    const QFileInfo info(target);
    const QDir dir = info.absoluteDir();
    const QStringList patterns{TemporaryPrefix(target) + QStringLiteral("??????"),
                               u'.' + info.fileName() + QStringLiteral(".??????")};
    const time_t now = std::time(nullptr);
    for (const QString& name : dir.entryList(patterns, QDir::Files | QDir::Hidden | QDir::System)) {
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (now - st.st_mtime >= kStaleSeconds) ::unlink(path.constData());
    }
}

} // namespace

QString TemporaryPrefix(const QString& fileName) {
    return Format(QStringLiteral(".~%.8x."), NameTag(QFile::encodeName(QFileInfo(fileName).fileName())));
}

TAtomicFile::TAtomicFile(const QString& fileName, int newFileMode)
    : FFileName(fileName), FResolved(ResolvedTarget(fileName)) {
    const QFileInfo info(FResolved);
    const QByteArray target = QFile::encodeName(FResolved);
    struct stat st {};
    const bool exists = ::stat(target.constData(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) Raise(fileName, EISDIR);
    // Root may write anything; a file nobody may write is still not replaced.
    if (exists && (st.st_mode & 0222) == 0)
        throw EFileWriteError(Format(QStringLiteral("ファイル %s は読み取り専用のため保存できません"),
                                     fileName),
                              stg::kAccessDenied, QStringLiteral("読み取り専用のファイルです"));

    // A short name: the target's name may already be as long as the system allows.
    FTemporary = QFile::encodeName(info.absolutePath() + u'/' + TemporaryPrefix(FResolved)) + "XXXXXX";
    FHandle = ::mkstemp(FTemporary.data());
    if (FHandle < 0) Raise(fileName, errno);
    // The new file gets the old file's permissions, or the usual ones for a new file.
    if (exists) {
        FMode = st.st_mode & 07777;
    } else if (newFileMode >= 0) {
        FMode = unsigned(newFileMode) & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        FMode = 0666 & ~mask;
    }
}

TAtomicFile::~TAtomicFile() { Discard(); }

void TAtomicFile::Discard() {
    if (FHandle < 0) return;
    ::close(FHandle);
    FHandle = -1;
    ::unlink(FTemporary.constData());
}

void TAtomicFile::Write(const QByteArray& bytes) {
    if (FHandle < 0 || WriteAll(FHandle, bytes.constData(), bytes.size())) return;
    const int error = errno ? errno : EIO;
    Discard();
    Raise(FFileName, error);
}

void TAtomicFile::Commit() {
    if (FHandle < 0) return;
    int error = 0;
    if (::fchmod(FHandle, mode_t(FMode)) != 0 && errno != EPERM) error = errno;
    if (!error && ::fsync(FHandle) != 0) error = errno;
    if (::close(FHandle) != 0 && !error) error = errno;
    FHandle = -1;
    const QByteArray target = QFile::encodeName(FResolved);
    if (!error && ::rename(FTemporary.constData(), target.constData()) != 0) error = errno;
    if (error) {
        ::unlink(FTemporary.constData());
        Raise(FFileName, error);
    }
    // Make the rename itself durable.
    const QString folder = QFileInfo(FResolved).absolutePath();
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    RemoveStaleTemporaries(FResolved);
}

void WriteFileAtomically(const QString& fileName, const QByteArray& bytes, int newFileMode) {
    TAtomicFile file(fileName, newFileMode);
    file.Write(bytes);
    file.Commit();
}

} // namespace vellum
