// Damaged files are refused with a message naming what failed.
#include "platform/CompoundFile.h"

#include "CompoundTestUtil.h"
#include "base/Exceptions.h"
#include "base/Stream.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace vellum;
using vellum::test::Pattern;

namespace {

using TKind = TCompoundNode::TKind;

// Root: "A" (100 bytes, mini), "B" (5000 bytes), storage "S" with "C" (10 bytes, mini).
// Directory ids: 0 root, 1 A, 2 B, 3 S, 4 C.
QByteArray BaseFile() {
    auto root = TCompoundNode::NewRoot();
    root->AddChild(TKind::Stream, QStringLiteral("A"))->Data() = Pattern(100, 1);
    root->AddChild(TKind::Stream, QStringLiteral("B"))->Data() = Pattern(5000, 2);
    root->AddChild(TKind::Storage, QStringLiteral("S"))
        ->AddChild(TKind::Stream, QStringLiteral("C"))
        ->Data() = Pattern(10, 3);
    return WriteCompoundFile(*root);
}

uint8_t* At(QByteArray& f, qsizetype offset) { return reinterpret_cast<uint8_t*>(f.data()) + offset; }
qsizetype Entry(const QByteArray& f, int id) {
    return (qsizetype(GetLE32(f.constData() + 0x30)) + 1) * 512 + id * 128;
}
qsizetype FatEntry(const QByteArray& f, uint32_t sector) {
    return (qsizetype(GetLE32(f.constData() + 0x4C)) + 1) * 512 + 4 * sector;
}
uint32_t Start(const QByteArray& f, int id) { return GetLE32(f.constData() + Entry(f, id) + 0x74); }

struct TDamage {
    const char* Name;
    std::function<void(QByteArray&)> Apply;
    const char* Expected; // a fragment of the message
};

} // namespace

TEST(CompoundFileDamage, EveryDamageIsRefusedWithItsReason) {
    const QByteArray base = BaseFile();
    ASSERT_NO_THROW(ReadCompoundFile(base));
    const TDamage damages[] = {
        {"empty", [](QByteArray& f) { f.clear(); }, "fewer than the 512-byte header"},
        {"cut header", [](QByteArray& f) { f.truncate(300); }, "fewer than the 512-byte header"},
        {"cut after header", [](QByteArray& f) { f.truncate(512); }, "FAT sector"},
        {"cut in the middle", [](QByteArray& f) { f.truncate(f.size() / 2); }, "outside the file"},
        {"signature", [](QByteArray& f) { f[0] = 'X'; }, "signature"},
        {"version", [](QByteArray& f) { PutLE16(At(f, 0x1A), 5); }, "major version"},
        {"byte order", [](QByteArray& f) { PutLE16(At(f, 0x1C), 0xFEFF); }, "byte order"},
        {"sector shift", [](QByteArray& f) { PutLE16(At(f, 0x1E), 12); }, "sector shift"},
        {"mini cutoff", [](QByteArray& f) { PutLE32(At(f, 0x38), 0x1000000); }, "cutoff"},
        {"huge FAT count", [](QByteArray& f) { PutLE32(At(f, 0x2C), 0xFFFFFFF0u); }, "FAT sectors"},
        {"no FAT", [](QByteArray& f) { PutLE32(At(f, 0x2C), 0); }, "no FAT"},
        {"missing FAT sector", [](QByteArray& f) { PutLE32(At(f, 0x2C), 2); }, "outside the file"},
        {"FAT sector twice",
         [](QByteArray& f) {
             PutLE32(At(f, 0x2C), 2);
             PutLE32(At(f, 0x50), GetLE32(f.constData() + 0x4C));
         },
         "listed twice"},
        {"huge DIFAT count", [](QByteArray& f) { PutLE32(At(f, 0x48), 0x7FFFFFFF); }, "DIFAT sectors"},
        {"directory loop",
         [](QByteArray& f) {
             const uint32_t d = GetLE32(f.constData() + 0x30);
             PutLE32(At(f, FatEntry(f, d + 1)), d);
         },
         "loops"},
        {"stream chain loop",
         [](QByteArray& f) {
             const uint32_t b = Start(f, 2);
             PutLE32(At(f, FatEntry(f, b + 3)), b);
         },
         "loops"},
        {"stream chain free", [](QByteArray& f) { PutLE32(At(f, FatEntry(f, Start(f, 2))), 0xFFFFFFFFu); },
         "outside the file"},
        {"stream chain short", [](QByteArray& f) { PutLE32(At(f, FatEntry(f, Start(f, 2))), 0xFFFFFFFEu); },
         "shorter than its size"},
        {"chains cross",
         [](QByteArray& f) { PutLE32(At(f, Entry(f, 2) + 0x74), GetLE32(f.constData() + 0x30)); }, "crosses"},
        {"stream size huge", [](QByteArray& f) { PutLE32(At(f, Entry(f, 2) + 0x78), 0xFFFFFFF0u); },
         "more than the file"},
        {"mini start outside", [](QByteArray& f) { PutLE32(At(f, Entry(f, 1) + 0x74), 1000); },
         "outside the mini stream"},
        {"mini chains cross", [](QByteArray& f) { PutLE32(At(f, Entry(f, 4) + 0x74), 1); }, "crosses"},
        {"mini stream huge", [](QByteArray& f) { PutLE32(At(f, Entry(f, 0) + 0x78), 0x7FFFFFF0u); },
         "mini stream"},
        {"mini stream short", [](QByteArray& f) { PutLE32(At(f, Entry(f, 0) + 0x78), 64); },
         "outside the mini stream"},
        {"first entry not root", [](QByteArray& f) { *At(f, Entry(f, 0) + 0x42) = 1; }, "not the root"},
        {"second root", [](QByteArray& f) { *At(f, Entry(f, 3) + 0x42) = 5; }, "second root"},
        {"unknown type", [](QByteArray& f) { *At(f, Entry(f, 1) + 0x42) = 7; }, "unknown type"},
        {"name length odd", [](QByteArray& f) { PutLE16(At(f, Entry(f, 1) + 0x40), 3); }, "name length"},
        {"name length long", [](QByteArray& f) { PutLE16(At(f, Entry(f, 1) + 0x40), 66); }, "name length"},
        {"bad name", [](QByteArray& f) { PutLE16(At(f, Entry(f, 1)), '/'); }, "not allowed"},
        {"sibling self loop", [](QByteArray& f) { PutLE32(At(f, Entry(f, 2) + 0x44), 2); }, "more than once"},
        {"child is root", [](QByteArray& f) { PutLE32(At(f, Entry(f, 3) + 0x4C), 0); }, "more than once"},
        {"link outside", [](QByteArray& f) { PutLE32(At(f, Entry(f, 2) + 0x48), 1000); },
         "outside the directory"},
        {"link to unused", [](QByteArray& f) { PutLE32(At(f, Entry(f, 4) + 0x48), 6); }, "unused"},
        {"stream with children",
         [](QByteArray& f) {
             PutLE32(At(f, Entry(f, 1) + 0x4C), 4);
             PutLE32(At(f, Entry(f, 3) + 0x4C), 0xFFFFFFFFu);
         },
         "has children"},
        {"unreachable entry", [](QByteArray& f) { PutLE32(At(f, Entry(f, 3) + 0x4C), 0xFFFFFFFFu); },
         "cannot be reached"},
        {"duplicate name", [](QByteArray& f) { PutLE16(At(f, Entry(f, 2)), 'a'); }, "occurs twice"},
    };
    for (const TDamage& d : damages) {
        QByteArray f = base;
        d.Apply(f);
        try {
            ReadCompoundFile(f);
            ADD_FAILURE() << d.Name << ": accepted";
        } catch (const ECompoundFile& e) {
            EXPECT_TRUE(e.Message().contains(QLatin1String(d.Expected)))
                << d.Name << ": " << e.Message().toStdString();
            EXPECT_EQ(e.ErrorCode(), ECompoundFile::kDocfileCorrupt);
        }
    }
}

TEST(CompoundFileDamage, DifatLoopIsRefused) {
    auto root = TCompoundNode::NewRoot();
    root->AddChild(TKind::Stream, QStringLiteral("x"))->Data() = Pattern(200000, 4);
    QByteArray f = WriteCompoundFile(*root);
    // 237 FAT sectors claimed: 109 in the header, 127 in DIFAT sector 300, whose next link is itself.
    PutLE32(At(f, 0x2C), 237);
    PutLE32(At(f, 0x44), 300);
    PutLE32(At(f, 0x48), 2);
    for (uint32_t i = 0; i < 109; ++i) PutLE32(At(f, 0x4C + 4 * i), i);
    for (uint32_t i = 0; i < 127; ++i) PutLE32(At(f, 301 * 512 + 4 * i), 109 + i);
    PutLE32(At(f, 301 * 512 + 127 * 4), 300);
    try {
        ReadCompoundFile(f);
        ADD_FAILURE();
    } catch (const ECompoundFile& e) {
        EXPECT_TRUE(e.Message().contains(QLatin1String("DIFAT chain loops"))) << e.Message().toStdString();
    }
}

TEST(CompoundFileDamage, EveryTruncationIsRefused) {
    const QByteArray base = BaseFile();
    // Cutting into the last sector only is read as a short sector; anything shorter is damage.
    for (qsizetype n = 0; n < base.size() - 512; n += 97)
        EXPECT_THROW(ReadCompoundFile(base.left(n)), ECompoundFile) << n;
}

TEST(CompoundFileDamage, ShortLastSectorReadsAsPadded) {
    // Some writers end the file right after the last stream byte.
    auto root = TCompoundNode::NewRoot();
    root->AddChild(TKind::Stream, QStringLiteral("x"))->Data() = Pattern(4096, 9);
    QByteArray f = WriteCompoundFile(*root);
    // The FAT sector is last here; its tail holds only free entries.
    f.chop(100);
    EXPECT_EQ(ReadCompoundFile(f)->Child(QStringLiteral("x"))->Data(), Pattern(4096, 9));
}

// The committed fuzz corpus: files named valid_* read and round-trip, every other one is refused as damaged.
TEST(CompoundFileDamage, FuzzCorpusIsHandledCleanly) {
    const QString dir =
        qEnvironmentVariable("VELLUM_SOURCE_DIR") + QStringLiteral("/tests/fuzz/corpus/compound_file");
    int files = 0;
    for (QDirIterator it(dir, QDir::Files); it.hasNext();) {
        QFile f(it.next());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
        ++files;
        const std::string name = QFileInfo(f).fileName().toStdString();
        if (name.rfind("valid_", 0) == 0) {
            auto root = ReadCompoundFile(f.readAll());
            EXPECT_TRUE(TCompoundNode::SameTree(*root, *ReadCompoundFile(WriteCompoundFile(*root)))) << name;
        } else {
            EXPECT_THROW(ReadCompoundFile(f.readAll()), ECompoundFile) << name;
        }
    }
    EXPECT_GE(files, 24) << dir.toStdString();
}

TEST(CompoundFileSave, ReplacesTheTargetAtomically) {
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("doc.xv4"));
    auto root = TCompoundNode::NewRoot();
    root->AddChild(TKind::Stream, QStringLiteral("v"))->Data() = "one";
    SaveCompoundFile(*root, path);
    root->Child(QStringLiteral("v"))->Data() = "two";
    SaveCompoundFile(*root, path);
    EXPECT_EQ(LoadCompoundFile(path)->Child(QStringLiteral("v"))->Data(), QByteArray("two"));
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    // A target that cannot be replaced: the save fails, nothing is left behind.
    const QString blocked = tmp.filePath(QStringLiteral("blocked"));
    QDir(tmp.path()).mkpath(QStringLiteral("blocked/inside"));
    EXPECT_THROW(SaveCompoundFile(*root, blocked), EOleSysError);
    EXPECT_TRUE(QFileInfo(blocked).isDir());
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    try {
        LoadCompoundFile(tmp.filePath(QStringLiteral("missing.xv4")));
        ADD_FAILURE();
    } catch (const EOleSysError& e) {
        EXPECT_EQ(e.ErrorCode(), stg::kFileNotFound);
    }
}
