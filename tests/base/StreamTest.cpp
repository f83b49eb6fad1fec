#include "base/Stream.h"

#include "base/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

using namespace vellum;

namespace {

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values) b.append(char(v));
    return b;
}

std::string Hex(const QByteArray& b) { return b.toHex(' ').toStdString(); }

QByteArray Contents(TStream& s) {
    s.SetPosition(0);
    return s.ReadAll();
}

// The behaviour every stream shares, run on a memory stream and on a file stream.
class AnyStream : public testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ASSERT_TRUE(FDir.isValid());
        if (GetParam())
            FStream = std::make_unique<TFileStream>(FDir.filePath(QStringLiteral("s.bin")), fmCreate);
        else
            FStream = std::make_unique<TMemoryStream>();
    }
    TStream& S() { return *FStream; }

    QTemporaryDir FDir;
    std::unique_ptr<TStream> FStream;
};

} // namespace

TEST_P(AnyStream, ReadWriteSeek) {
    S().WriteBytes("0123456789");
    EXPECT_EQ(S().Size(), 10);
    EXPECT_EQ(S().Position(), 10);
    EXPECT_EQ(S().Seek(-3, TSeekOrigin::soEnd), 7);
    char buf[16] = {};
    EXPECT_EQ(S().Read(buf, sizeof buf), 3); // short read reports what it got
    EXPECT_STREQ(buf, "789");
    EXPECT_EQ(S().Read(buf, 1), 0);
    EXPECT_EQ(S().Seek(2, TSeekOrigin::soBeginning), 2);
    EXPECT_EQ(S().Seek(3, TSeekOrigin::soCurrent), 5);
    EXPECT_EQ(S().Seek(-1, TSeekOrigin::soCurrent), 4);
    EXPECT_EQ(S().Remaining(), 6);
    EXPECT_EQ(S().ReadBytes(2), QByteArray("45"));
    EXPECT_EQ(S().Size(), 10); // Size leaves the position alone
    EXPECT_EQ(S().Position(), 6);

    // Past the end: nothing to read; a write fills the gap with zeros.
    EXPECT_EQ(S().Seek(12, TSeekOrigin::soBeginning), 12);
    EXPECT_EQ(S().Remaining(), 0);
    EXPECT_EQ(S().Read(buf, 4), 0);
    S().WriteBytes("x");
    EXPECT_EQ(S().Size(), 13);
    EXPECT_EQ(Contents(S()), QByteArray("0123456789\0\0x", 13));
    S().SetPosition(0);
    S().WriteBytes("AB");
    EXPECT_EQ(Contents(S()), QByteArray("AB23456789\0\0x", 13)); // overwrites in place
}

TEST_P(AnyStream, ExactReadsRaiseOnShortData) {
    S().WriteBytes("abc");
    S().SetPosition(0);
    char buf[8];
    EXPECT_THROW(ReadI32(S()), EReadError);
    S().SetPosition(0);
    EXPECT_THROW(S().ReadBuffer(buf, 4), EReadError);
    S().SetPosition(0);
    EXPECT_THROW(ReadU64(S()), EReadError);
    // ReadBytes checks the count against the data before it allocates or moves.
    S().SetPosition(1);
    for (int64_t count : {int64_t(3), int64_t(-1), int64_t(INT32_MAX), int64_t(1) << 40, INT64_MAX}) {
        EXPECT_THROW(S().ReadBytes(count), EReadError) << count;
        EXPECT_EQ(S().Position(), 1) << count;
    }
    EXPECT_EQ(S().ReadBytes(2), QByteArray("bc"));
    EXPECT_EQ(S().ReadBytes(0), QByteArray());
    EXPECT_EQ(S().ReadAll(), QByteArray());
    EXPECT_THROW(ReadU8(S()), EReadError);
    EXPECT_NO_THROW(S().ReadBuffer(buf, 0));
}

TEST_P(AnyStream, SetSizeShrinksAndGrows) {
    S().WriteBytes("abcdef");
    S().SetSize(3);
    EXPECT_EQ(S().Size(), 3);
    EXPECT_EQ(S().Position(), 3); // clamped to the new end
    S().SetSize(6);
    EXPECT_EQ(S().Position(), 3);
    EXPECT_EQ(Contents(S()), QByteArray("abc\0\0\0", 6)); // cut bytes do not come back
    S().SetPosition(1);
    S().SetSize(4);
    EXPECT_EQ(S().Position(), 1);
    S().SetSize(0);
    EXPECT_EQ(S().Size(), 0);
    EXPECT_EQ(S().Position(), 0);
    EXPECT_THROW(S().SetSize(-1), EStreamError);
}

TEST_P(AnyStream, CopyFrom) {
    QByteArray data(200000, Qt::Uninitialized); // more than one copy chunk
    for (int i = 0; i < data.size(); ++i) data[i] = char(i * 7 + i / 256);
    TMemoryStream source(data);
    source.SetPosition(50000);
    EXPECT_EQ(S().CopyFrom(source, 0), data.size()); // 0: the whole source from its start
    EXPECT_EQ(source.Position(), data.size());
    EXPECT_EQ(Contents(S()), data);

    S().SetSize(0);
    source.SetPosition(100);
    EXPECT_EQ(S().CopyFrom(source, 70000), 70000); // otherwise from the source's position
    EXPECT_EQ(source.Position(), 70100);
    EXPECT_EQ(Contents(S()), data.mid(100, 70000));

    source.SetPosition(data.size() - 5);
    EXPECT_THROW(S().CopyFrom(source, 6), EReadError);

    TMemoryStream empty;
    S().SetSize(0);
    EXPECT_EQ(S().CopyFrom(empty, 0), 0);
    EXPECT_EQ(S().Size(), 0);
}

TEST_P(AnyStream, LittleEndianHelpers) {
    WriteU8(S(), 0xAB);
    WriteI8(S(), -2);
    WriteU16(S(), 0x1234);
    WriteI16(S(), -2);
    WriteU32(S(), 0x12345678);
    WriteI32(S(), -2);
    WriteU64(S(), 0x0102030405060708ULL);
    WriteI64(S(), INT64_MIN);
    EXPECT_EQ(Hex(Contents(S())), Hex(Bytes({0xAB, 0xFE, 0x34, 0x12, 0xFE, 0xFF, 0x78, 0x56, 0x34, 0x12,
                                             0xFE, 0xFF, 0xFF, 0xFF, 0x08, 0x07, 0x06, 0x05, 0x04, 0x03,
                                             0x02, 0x01, 0,    0,    0,    0,    0,    0,    0,    0x80})));
    S().SetPosition(0);
    EXPECT_EQ(ReadU8(S()), 0xAB);
    EXPECT_EQ(ReadI8(S()), -2);
    EXPECT_EQ(ReadU16(S()), 0x1234);
    EXPECT_EQ(ReadI16(S()), -2);
    EXPECT_EQ(ReadU32(S()), 0x12345678u);
    EXPECT_EQ(ReadI32(S()), -2);
    EXPECT_EQ(ReadU64(S()), 0x0102030405060708ULL);
    EXPECT_EQ(ReadI64(S()), INT64_MIN);
    S().SetPosition(2);
    EXPECT_EQ(ReadU16(S()), 0x1234);
    S().SetPosition(4);
    EXPECT_EQ(ReadU32(S()), 0x5678FFFEu);
}

INSTANTIATE_TEST_SUITE_P(Streams, AnyStream, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "File" : "Memory";
                         });

TEST(Stream, LittleEndianInMemory) {
    const QByteArray b = Bytes({0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8});
    EXPECT_EQ(GetLE16(b.constData()), 0xF2F1);
    EXPECT_EQ(GetLE32(b.constData()), 0xF4F3F2F1u);
    EXPECT_EQ(GetLE64(b.constData()), 0xF8F7F6F5F4F3F2F1ULL);
    unsigned char out[8] = {};
    PutLE16(out, 0xBEEF);
    EXPECT_EQ(Hex(QByteArray(reinterpret_cast<char*>(out), 2)), "ef be");
    PutLE32(out, 0x80000001u);
    EXPECT_EQ(Hex(QByteArray(reinterpret_cast<char*>(out), 4)), "01 00 00 80");
    PutLE64(out, 0x8877665544332211ULL);
    EXPECT_EQ(Hex(QByteArray(reinterpret_cast<char*>(out), 8)), "11 22 33 44 55 66 77 88");
}

TEST(Stream, FilePositionsBeyond4GiB) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const int64_t far = (int64_t(5) << 30) + 3; // sparse on disk
    TFileStream f(dir.filePath(QStringLiteral("big.bin")), fmCreate);
    EXPECT_EQ(f.Seek(far, TSeekOrigin::soBeginning), far);
    WriteU32(f, 0xCAFEBABE);
    EXPECT_EQ(f.Size(), far + 4);
    EXPECT_EQ(f.Position(), far + 4);
    EXPECT_EQ(f.Seek(-4, TSeekOrigin::soEnd), far);
    EXPECT_EQ(ReadU32(f), 0xCAFEBABEu);
    EXPECT_EQ(f.Seek(-far - 4, TSeekOrigin::soCurrent), 0);
    EXPECT_EQ(ReadU32(f), 0u);
    f.SetSize(far + 2);
    EXPECT_EQ(f.Size(), far + 2);
    EXPECT_EQ(f.Remaining(), far - 2);
    f.SetSize(0);
}

TEST(Stream, MemoryStreamBeyond2GiB) {
    TMemoryStream m(QByteArray("abc"));
    const int64_t far = int64_t(1) << 33;
    EXPECT_EQ(m.Seek(far, TSeekOrigin::soBeginning), far); // no truncation to 32 bits
    EXPECT_EQ(m.Position(), far);
    char c;
    EXPECT_EQ(m.Read(&c, 1), 0);
    EXPECT_THROW(m.WriteBytes("x"), EWriteError);
    EXPECT_THROW(m.SetSize(far), EStreamError);
    EXPECT_EQ(m.Data(), QByteArray("abc"));
    EXPECT_EQ(m.Seek(-10, TSeekOrigin::soBeginning), 0);
}

TEST(Stream, FileStreamModesAndErrors) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("a.bin"));
    const QString missing = dir.filePath(QStringLiteral("missing.bin"));
    const QString inMissingFolder = dir.filePath(QStringLiteral("no/such/folder/a.bin"));

    try {
        TFileStream f(missing, fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_TRUE(e.Message().contains(missing)) << e.what();
    }
    EXPECT_THROW(TFileStream(missing, fmOpenReadWrite), EFOpenError);
    EXPECT_THROW(TFileStream(dir.path(), fmOpenRead), EFOpenError); // a folder is no file
    try {
        TFileStream f(inMissingFolder, fmCreate);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_TRUE(e.Message().contains(inMissingFolder)) << e.what();
    }
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("no"))).exists());

    {
        TFileStream f(name, fmCreate);
        f.WriteBytes("hello");
        f.Flush();
        EXPECT_EQ(f.FileName(), name);
    }
    {
        TFileStream f(name, fmOpenRead);
        EXPECT_EQ(f.ReadAll(), QByteArray("hello"));
        f.SetPosition(0);
        EXPECT_THROW(f.WriteBytes("x"), EWriteError); // read-only
    }
    {
        TFileStream f(name, fmOpenReadWrite); // opening keeps the contents
        f.WriteBytes("J");
    }
    {
        TFileStream f(name, fmOpenWrite);
        f.Seek(0, TSeekOrigin::soEnd);
        f.WriteBytes("!");
    }
    {
        TFileStream f(name, fmOpenRead);
        EXPECT_EQ(f.ReadAll(), QByteArray("Jello!"));
    }
    {
        TFileStream f(name, fmCreate); // creating truncates
        EXPECT_EQ(f.Size(), 0);
    }
}

TEST(Stream, MemoryStreamFilesAndStreams) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("m.bin"));
    const QByteArray data = Bytes({0, 1, 0x80, 0xFF, 'z'});

    TMemoryStream out(data);
    out.SetPosition(3);
    out.SaveToFile(name); // the whole data, whatever the position
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), data);

    TMemoryStream in;
    in.WriteBytes("old contents");
    in.LoadFromFile(name);
    EXPECT_EQ(in.Data(), data);
    EXPECT_EQ(in.Position(), 0);

    TMemoryStream source(QByteArray("0123"));
    source.SetPosition(2);
    in.LoadFromStream(source); // from the source's start
    EXPECT_EQ(in.Data(), QByteArray("0123"));

    TMemoryStream dest(QByteArray("xy"));
    dest.Seek(0, TSeekOrigin::soEnd);
    source.SaveToStream(dest);
    EXPECT_EQ(dest.Data(), QByteArray("xy0123"));

    in.Clear();
    EXPECT_EQ(in.Size(), 0);
    EXPECT_EQ(in.Position(), 0);
    EXPECT_THROW(in.LoadFromFile(dir.filePath(QStringLiteral("none"))), EFOpenError);
}
