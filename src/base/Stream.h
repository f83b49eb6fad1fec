#pragma once
// The stream family: byte streams with 64-bit positions. Read and Write report
// how much they moved; ReadBuffer/WriteBuffer and the integer helpers need the
// exact count and raise EReadError / EWriteError otherwise.

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace vellum {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
    virtual ~TStream() = default;

    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
    virtual void SetSize(int64_t newSize) = 0;
    virtual int64_t Size();

    int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(int64_t pos) { Seek(pos, TSeekOrigin::soBeginning); }
    // Bytes between the position and the end (never negative).
    int64_t Remaining();

    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
    void WriteBytes(const QByteArray& bytes) { WriteBuffer(bytes.constData(), bytes.size()); }
    // Exactly count bytes; checks them against what remains before allocating.
    QByteArray ReadBytes(int64_t count);
    // Everything from the position to the end.
    QByteArray ReadAll();
    // Copies count bytes from source's position; count 0 copies the whole source from its start.
    int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(QByteArray data) : FData(std::move(data)) {}

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t newSize) override;
    int64_t Size() override { return FData.size(); }

    const QByteArray& Data() const { return FData; }
    QByteArray& Data() { return FData; }
    void Clear();
    void LoadFromStream(TStream& source);
    void SaveToStream(TStream& dest) const;
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;

private:
    QByteArray FData;
    int64_t FPosition = 0;
};

enum TFileMode : unsigned {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmCreate = 0xFF00,
};

class TFileStream : public TStream {
public:
    TFileStream(const QString& fileName, unsigned mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t newSize) override;
    // Pushes written data to the disk (before a rename makes it the real file).
    void Flush();
    const QString& FileName() const { return FFileName; }

private:
    QString FFileName;
    int FHandle = -1;
};

// Little-endian integers on streams.
uint8_t ReadU8(TStream& s);
int8_t ReadI8(TStream& s);
uint16_t ReadU16(TStream& s);
int16_t ReadI16(TStream& s);
uint32_t ReadU32(TStream& s);
int32_t ReadI32(TStream& s);
uint64_t ReadU64(TStream& s);
int64_t ReadI64(TStream& s);
void WriteU8(TStream& s, uint8_t v);
void WriteU16(TStream& s, uint16_t v);
void WriteU32(TStream& s, uint32_t v);
void WriteU64(TStream& s, uint64_t v);
inline void WriteI8(TStream& s, int8_t v) { WriteU8(s, uint8_t(v)); }
inline void WriteI16(TStream& s, int16_t v) { WriteU16(s, uint16_t(v)); }
inline void WriteI32(TStream& s, int32_t v) { WriteU32(s, uint32_t(v)); }
inline void WriteI64(TStream& s, int64_t v) { WriteU64(s, uint64_t(v)); }

// Little-endian integers in memory.
inline uint16_t GetLE16(const void* p) {
    auto b = static_cast<const unsigned char*>(p);
    return uint16_t(b[0] | (b[1] << 8));
}
inline uint32_t GetLE32(const void* p) {
    auto b = static_cast<const unsigned char*>(p);
    return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
}
inline uint64_t GetLE64(const void* p) {
    auto b = static_cast<const unsigned char*>(p);
    return uint64_t(GetLE32(b)) | (uint64_t(GetLE32(b + 4)) << 32);
}
inline void PutLE16(void* p, uint16_t v) {
    auto b = static_cast<unsigned char*>(p);
    b[0] = uint8_t(v);
    b[1] = uint8_t(v >> 8);
}
inline void PutLE32(void* p, uint32_t v) {
    auto b = static_cast<unsigned char*>(p);
    for (int i = 0; i < 4; ++i) b[i] = uint8_t(v >> (8 * i));
}
inline void PutLE64(void* p, uint64_t v) {
    auto b = static_cast<unsigned char*>(p);
    for (int i = 0; i < 8; ++i) b[i] = uint8_t(v >> (8 * i));
}

} // namespace vellum
