#include "base/Stream.h"

#include "base/Exceptions.h"
#include "base/Format.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vellum {
namespace {

const QString kReadError = QStringLiteral("ストリームの読み込みエラー");
const QString kWriteError = QStringLiteral("ストリームの書き込みエラー");

} // namespace

int64_t TStream::Size() {
    const int64_t pos = Seek(0, TSeekOrigin::soCurrent);
    const int64_t size = Seek(0, TSeekOrigin::soEnd);
    Seek(pos, TSeekOrigin::soBeginning);
    return size;
}

int64_t TStream::Remaining() { return std::max<int64_t>(0, Size() - Position()); }

void TStream::ReadBuffer(void* buffer, int64_t count) {
    if (count < 0 || (count != 0 && Read(buffer, count) != count)) throw EReadError(kReadError);
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
    if (count < 0 || (count != 0 && Write(buffer, count) != count)) throw EWriteError(kWriteError);
}

QByteArray TStream::ReadBytes(int64_t count) {
    if (count < 0 || count > Remaining() || count > int64_t(INT32_MAX)) throw EReadError(kReadError);
    QByteArray bytes(qsizetype(count), Qt::Uninitialized);
    ReadBuffer(bytes.data(), count);
    return bytes;
}

QByteArray TStream::ReadAll() { return ReadBytes(Remaining()); }

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    constexpr int64_t kChunk = 64 * 1024;
    QByteArray buf(qsizetype(std::min(count, kChunk)), Qt::Uninitialized);
    int64_t left = count;
    while (left > 0) {
        const int64_t n = std::min(left, kChunk);
        source.ReadBuffer(buf.data(), n);
        WriteBuffer(buf.constData(), n);
        left -= n;
    }
    return count;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
    if (count <= 0 || FPosition >= FData.size()) return 0;
    const int64_t n = std::min<int64_t>(count, FData.size() - FPosition);
    std::memcpy(buffer, FData.constData() + FPosition, size_t(n));
    FPosition += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
    if (count <= 0) return 0;
    const int64_t end = FPosition + count;
    if (end > int64_t(INT32_MAX)) return 0;
    if (end > FData.size()) FData.resize(qsizetype(end), '\0');
    std::memcpy(FData.data() + FPosition, buffer, size_t(count));
    FPosition = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    int64_t base = origin == TSeekOrigin::soBeginning ? 0
                   : origin == TSeekOrigin::soCurrent ? FPosition
                                                      : FData.size();
    FPosition = std::max<int64_t>(0, base + offset);
    return FPosition;
}

void TMemoryStream::SetSize(int64_t newSize) {
    if (newSize < 0 || newSize > int64_t(INT32_MAX)) throw EStreamError(kWriteError);
    FData.resize(qsizetype(newSize), '\0');
    FPosition = std::min<int64_t>(FPosition, newSize);
}

void TMemoryStream::Clear() {
    FData.clear();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
    source.SetPosition(0);
    FData = source.ReadBytes(source.Size());
    FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream& dest) const { dest.WriteBuffer(FData.constData(), FData.size()); }

void TMemoryStream::LoadFromFile(const QString& fileName) {
    TFileStream f(fileName, fmOpenRead);
    LoadFromStream(f);
}

void TMemoryStream::SaveToFile(const QString& fileName) const {
    TFileStream f(fileName, fmCreate);
    SaveToStream(f);
}

TFileStream::TFileStream(const QString& fileName, unsigned mode) : FFileName(fileName) {
    const QByteArray path = QFile::encodeName(fileName);
    if (mode == fmCreate) {
        FHandle = ::open(path.constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (FHandle < 0)
            throw EFCreateError(Format(QStringLiteral("ファイル %s を作成できません"), fileName));
        return;
    }
    int flags = (mode & 3) == fmOpenWrite ? O_WRONLY : (mode & 3) == fmOpenReadWrite ? O_RDWR : O_RDONLY;
    FHandle = ::open(path.constData(), flags | O_CLOEXEC);
    struct stat st {};
    if (FHandle >= 0 && (::fstat(FHandle, &st) != 0 || S_ISDIR(st.st_mode))) {
        ::close(FHandle);
        FHandle = -1;
    }
    if (FHandle < 0) throw EFOpenError(Format(QStringLiteral("ファイル %s を開けません"), fileName));
}

TFileStream::~TFileStream() {
    if (FHandle >= 0) ::close(FHandle);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
    int64_t done = 0;
    auto p = static_cast<char*>(buffer);
    while (done < count) {
        ssize_t n = ::read(FHandle, p + done, size_t(std::min<int64_t>(count - done, 1 << 30)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
    int64_t done = 0;
    auto p = static_cast<const char*>(buffer);
    while (done < count) {
        ssize_t n = ::write(FHandle, p + done, size_t(std::min<int64_t>(count - done, 1 << 30)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET
                 : origin == TSeekOrigin::soCurrent ? SEEK_CUR
                                                    : SEEK_END;
    off_t r = ::lseek(FHandle, off_t(offset), whence);
    return r < 0 ? -1 : int64_t(r);
}

void TFileStream::SetSize(int64_t newSize) {
    if (newSize < 0 || ::ftruncate(FHandle, off_t(newSize)) != 0) throw EStreamError(kWriteError);
    if (Position() > newSize) Seek(newSize, TSeekOrigin::soBeginning);
}

void TFileStream::Flush() {
    if (::fsync(FHandle) != 0 && errno != EINVAL) throw EWriteError(kWriteError);
}

uint8_t ReadU8(TStream& s) {
    uint8_t b[1];
    s.ReadBuffer(b, 1);
    return b[0];
}
int8_t ReadI8(TStream& s) { return int8_t(ReadU8(s)); }
uint16_t ReadU16(TStream& s) {
    uint8_t b[2];
    s.ReadBuffer(b, 2);
    return GetLE16(b);
}
int16_t ReadI16(TStream& s) { return int16_t(ReadU16(s)); }
uint32_t ReadU32(TStream& s) {
    uint8_t b[4];
    s.ReadBuffer(b, 4);
    return GetLE32(b);
}
int32_t ReadI32(TStream& s) { return int32_t(ReadU32(s)); }
uint64_t ReadU64(TStream& s) {
    uint8_t b[8];
    s.ReadBuffer(b, 8);
    return GetLE64(b);
}
int64_t ReadI64(TStream& s) { return int64_t(ReadU64(s)); }

void WriteU8(TStream& s, uint8_t v) { s.WriteBuffer(&v, 1); }
void WriteU16(TStream& s, uint16_t v) {
    uint8_t b[2];
    PutLE16(b, v);
    s.WriteBuffer(b, 2);
}
void WriteU32(TStream& s, uint32_t v) {
    uint8_t b[4];
    PutLE32(b, v);
    s.WriteBuffer(b, 4);
}
void WriteU64(TStream& s, uint64_t v) {
    uint8_t b[8];
    PutLE64(b, v);
    s.WriteBuffer(b, 8);
}

} // namespace vellum
