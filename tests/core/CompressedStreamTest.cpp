#include "core/CompressedStream.h"

#include "base/Exceptions.h"

#include <QFile>
#include <QTemporaryDir>

#include <zlib.h>

#include <gtest/gtest.h>

using namespace vellum;

namespace {

QByteArray Inflate(const QByteArray& z) {
    QByteArray out(1 << 20, '\0');
    uLongf n = uLongf(out.size());
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &n,
                         reinterpret_cast<const Bytef*>(z.constData()), uLong(z.size())),
              Z_OK);
    out.resize(qsizetype(n));
    return out;
}

QByteArray Compressed(const QByteArray& data, qsizetype skip = 0) {
    TMemoryStream source(data), dest;
    source.SetPosition(skip);
    CompressTo(source, dest);
    return dest.Data();
}

} // namespace

TEST(CompressedStream, ContainerLayout) {
    const QByteArray data = QByteArray("prefix") + QByteArray(10000, 'q') + "tail";
    const QByteArray c = Compressed(data, 6);
    ASSERT_GT(c.size(), 17);
    EXPECT_EQ(c.left(13), QByteArray("ZLIBCompress\x1A"));
    EXPECT_EQ(GetLE32(c.constData() + 13), uint32_t(data.size() - 6));
    EXPECT_EQ(Inflate(c.mid(17)), data.mid(6));
    EXPECT_EQ(uint8_t(c[17]), 0x78);
    EXPECT_EQ(uint8_t(c[18]), 0xDA) << "best compression";

    // An empty remainder: header with length 0, then an empty zlib stream.
    const QByteArray empty = Compressed("abc", 3);
    EXPECT_EQ(empty.left(17), QByteArray("ZLIBCompress\x1A\0\0\0\0", 17));
    EXPECT_EQ(Inflate(empty.mid(17)), QByteArray());
}

TEST(CompressedStream, IsCompressedLeavesShortOrPlainStreamsAlone) {
    int32_t length = -1;
    for (const QByteArray& plain : {QByteArray("ZLIBCompress"), QByteArray("ZLIBCompress\x1A\x01"),
                                    QByteArray("short"), QByteArray(40, 'x')}) {
        TMemoryStream s(QByteArray("ab") + plain);
        s.SetPosition(2);
        EXPECT_FALSE(IsCompressed(s, length));
        EXPECT_EQ(s.Position(), 2);
    }
    TMemoryStream s(QByteArray("ab") + Compressed("hello world"));
    s.SetPosition(2);
    ASSERT_TRUE(IsCompressed(s, length));
    EXPECT_EQ(length, 11);
    EXPECT_EQ(s.Position(), 19);
}

TEST(CompressedStream, DecompressesExactlyAndStopsAtTheEndOfTheZlibStream) {
    const QByteArray data = QByteArray(300000, 'a') + QByteArray("xyz");
    TMemoryStream s(Compressed(data) + "AFTER");
    int32_t length = 0;
    ASSERT_TRUE(IsCompressed(s, length));
    TMemoryStream out;
    DecompressTo(s, out, length);
    EXPECT_EQ(out.Data(), data);
    EXPECT_EQ(s.ReadAll(), QByteArray("AFTER"));
}

TEST(CompressedStream, BadDataRaises) {
    const QByteArray good = Compressed(QByteArray(5000, 'z') + "end");
    struct {
        const char* Name;
        QByteArray Stream;
        int32_t Length;
    } cases[] = {
        {"truncated", good.mid(17, good.size() - 17 - 6), 5003},
        {"corrupt", QByteArray("\x78\xDA\xFF\xFF\xFF\xFF\xFF\xFF", 8), 10},
        {"not zlib", QByteArray(64, 'n'), 10},
        {"declared too long", good.mid(17), 5004},
        {"declared too short", good.mid(17), 5002},
        {"negative", good.mid(17), -1},
        {"impossible ratio", good.mid(17), 2000000000},
        {"empty", QByteArray(), 0},
    };
    for (const auto& c : cases) {
        TMemoryStream in(c.Stream), out;
        EXPECT_THROW(DecompressTo(in, out, c.Length), EZDecompressionError) << c.Name;
        EXPECT_LE(out.Size(), 5003) << c.Name;
    }
}

TEST(CompressedStream, Files) {
    QTemporaryDir tmp;
    const QString packed = tmp.filePath(QStringLiteral("packed")),
                  plain = tmp.filePath(QStringLiteral("plain")), out = tmp.filePath(QStringLiteral("out"));
    TMemoryStream(Compressed("catalogue")).SaveToFile(packed);
    TMemoryStream(QByteArray("raw")).SaveToFile(plain);
    EXPECT_TRUE(IsCompressedFile(packed));
    EXPECT_FALSE(IsCompressedFile(plain));
    DecompressFile(plain, out);
    EXPECT_FALSE(QFile::exists(out));
    DecompressFile(packed, out);
    TMemoryStream result;
    result.LoadFromFile(out);
    EXPECT_EQ(result.Data(), QByteArray("catalogue"));
}
