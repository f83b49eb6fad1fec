#include "platform/CompoundFile.h"

#include "CompoundTestUtil.h"
#include "base/Exceptions.h"
#include "base/Stream.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace vellum;
using vellum::test::ListTree;
using vellum::test::Pattern;

namespace {

using TKind = TCompoundNode::TKind;

std::shared_ptr<TCompoundNode> RoundTrip(const TCompoundNode& root) {
    return ReadCompoundFile(WriteCompoundFile(root));
}

bool CfbLess(const QString& a, const QString& b) {
    return TCompoundNameLess()(TCompoundNode::NameKey(a), TCompoundNode::NameKey(b));
}

// The raw directory of a version 3 file as our writer lays it out (contiguous directory sectors).
struct TRawEntry {
    QString Name;
    uint8_t Type, Color;
    uint32_t Left, Right, Child;
};

std::vector<TRawEntry> RawDirectory(const QByteArray& image) {
    const auto* p = reinterpret_cast<const uint8_t*>(image.constData());
    const uint32_t dirStart = GetLE32(p + 0x30);
    const uint32_t fatSector = GetLE32(p + 0x4C);
    std::vector<TRawEntry> entries;
    for (uint32_t s = dirStart; s != 0xFFFFFFFEu; s = GetLE32(p + (fatSector + 1) * 512 + 4 * s)) {
        for (int k = 0; k < 4; ++k) {
            const uint8_t* e = p + (s + 1) * 512 + k * 128;
            TRawEntry r{QString(), e[0x42], e[0x43], GetLE32(e + 0x44), GetLE32(e + 0x48), GetLE32(e + 0x4C)};
            for (int i = 0; i < GetLE16(e + 0x40) / 2 - 1; ++i) r.Name += QChar(GetLE16(e + 2 * i));
            entries.push_back(r);
        }
    }
    return entries;
}

// Checks one sibling tree: search order, no red node with a red child, equal black
// height on every path. Returns the black height, or -1 after a failure.
int CheckRedBlack(const std::vector<TRawEntry>& dir, uint32_t id, const QString* lo, const QString* hi,
                  int& count) {
    if (id == 0xFFFFFFFFu) return 1;
    const TRawEntry& e = dir.at(id);
    ++count;
    if ((lo && !CfbLess(*lo, e.Name)) || (hi && !CfbLess(e.Name, *hi))) {
        ADD_FAILURE() << "out of order: " << e.Name.toStdString();
        return -1;
    }
    if (e.Color == 0)
        for (uint32_t c : {e.Left, e.Right})
            if (c != 0xFFFFFFFFu && dir.at(c).Color == 0) {
                ADD_FAILURE() << "red child of red " << e.Name.toStdString();
                return -1;
            }
    const int l = CheckRedBlack(dir, e.Left, lo, &e.Name, count);
    const int r = CheckRedBlack(dir, e.Right, &e.Name, hi, count);
    if (l < 0 || r < 0 || l != r) {
        if (l >= 0 && r >= 0) ADD_FAILURE() << "black heights differ below " << e.Name.toStdString();
        return -1;
    }
    return l + (e.Color == 1 ? 1 : 0);
}

std::shared_ptr<TCompoundNode> SampleTree() {
    auto root = TCompoundNode::NewRoot();
    const int sizes[] = {0, 1, 63, 64, 65, 4095, 4096, 4097, 70000};
    int seed = 0;
    for (int size : sizes)
        root->AddChild(TKind::Stream, QStringLiteral("s%1").arg(size))->Data() = Pattern(size, ++seed);
    auto sub = root->AddChild(TKind::Storage, QStringLiteral("名刺データ"));
    sub->AddChild(TKind::Stream, QStringLiteral("表面の画像"))->Data() = Pattern(5000, ++seed);
    sub->AddChild(TKind::Stream, QString(31, u'N'))->Data() = Pattern(10, ++seed);
    sub->AddChild(TKind::Stream, QStringLiteral("\x05SummaryInformation"))->Data() = Pattern(200, ++seed);
    sub->AddChild(TKind::Storage, QStringLiteral("empty"));
    sub->Clsid[0] = 0x42;
    sub->StateBits = 7;
    return root;
}

} // namespace

TEST(CompoundFile, RoundTripKeepsEveryElementAndIsDeterministic) {
    auto root = SampleTree();
    const QByteArray image = WriteCompoundFile(*root);
    EXPECT_EQ(image.size() % 512, 0);
    auto back = ReadCompoundFile(image);
    EXPECT_TRUE(TCompoundNode::SameTree(*root, *back));
    EXPECT_EQ(ListTree(*root), ListTree(*back));
    EXPECT_EQ(WriteCompoundFile(*back), image);
    EXPECT_EQ(WriteCompoundFile(*root->Clone()), image);
}

TEST(CompoundFile, EmptyRootWritesAMinimalFile) {
    auto root = TCompoundNode::NewRoot();
    const QByteArray image = WriteCompoundFile(*root);
    EXPECT_EQ(image.size(), 3 * 512); // header, directory, FAT
    const auto* p = reinterpret_cast<const uint8_t*>(image.constData());
    EXPECT_EQ(GetLE32(p + 0x3C), 0xFFFFFFFEu); // no mini FAT
    EXPECT_EQ(GetLE32(p + 0x44), 0xFFFFFFFEu); // no DIFAT
    auto dir = RawDirectory(image);
    ASSERT_EQ(dir.size(), 4u);
    EXPECT_EQ(dir[0].Name, QStringLiteral("Root Entry"));
    EXPECT_EQ(dir[0].Type, 5);
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(dir[i].Type, 0);
        EXPECT_EQ(dir[i].Left, 0xFFFFFFFFu);
        EXPECT_EQ(dir[i].Child, 0xFFFFFFFFu);
    }
    EXPECT_EQ(ReadCompoundFile(image)->ChildCount(), 0);
}

TEST(CompoundFile, SmallStreamsGoToTheMiniStream) {
    auto root = TCompoundNode::NewRoot();
    root->AddChild(TKind::Stream, QStringLiteral("small"))->Data() = Pattern(4095, 1);
    const QByteArray mini = WriteCompoundFile(*root);
    root->Child(QStringLiteral("small"))->Data() = Pattern(4096, 1);
    const QByteArray big = WriteCompoundFile(*root);
    const auto* m = reinterpret_cast<const uint8_t*>(mini.constData());
    const auto* b = reinterpret_cast<const uint8_t*>(big.constData());
    EXPECT_EQ(GetLE32(m + 0x40), 1u); // one mini FAT sector
    EXPECT_EQ(GetLE32(b + 0x40), 0u);
    EXPECT_EQ(GetLE32(b + 0x3C), 0xFFFFFFFEu);
}

TEST(CompoundFile, NamesAreValidatedAndUniqueWithoutCase) {
    auto root = TCompoundNode::NewRoot();
    const QString bad[] = {QString(),
                           QString(32, u'x'),
                           QStringLiteral("a/b"),
                           QStringLiteral("a\\b"),
                           QStringLiteral("a:b"),
                           QStringLiteral("a!b")};
    for (const QString& name : bad) {
        try {
            root->AddChild(TKind::Stream, name);
            ADD_FAILURE() << "accepted " << name.toStdString();
        } catch (const EOleSysError& e) {
            EXPECT_EQ(e.ErrorCode(), stg::kInvalidName) << name.toStdString();
        }
    }
    root->AddChild(TKind::Stream, QString(31, u'x'));
    root->AddChild(TKind::Stream, QStringLiteral("Straße"));
    root->AddChild(TKind::Stream, QStringLiteral("ａｂｃ"));
    for (const QString& dup : {QStringLiteral("XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX"), QStringLiteral("STRAßE"),
                               QStringLiteral("ＡＢＣ")}) {
        try {
            root->AddChild(TKind::Storage, dup);
            ADD_FAILURE() << "accepted duplicate " << dup.toStdString();
        } catch (const EOleSysError& e) {
            EXPECT_EQ(e.ErrorCode(), stg::kFileAlreadyExists);
        }
    }
    EXPECT_EQ(root->Child(QStringLiteral("straSSe")), nullptr);
    EXPECT_NE(root->Child(QStringLiteral("sTRAße")), nullptr);
}

TEST(CompoundFile, SiblingsFormValidRedBlackTrees) {
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 15, 16, 17, 31, 100, 1000}) {
        auto root = TCompoundNode::NewRoot();
        // Mixed lengths: the order is by length first, then by upper-case units.
        for (int i = 0; i < n; ++i)
            root->AddChild(TKind::Stream, QStringLiteral("e%1x").arg(i * 7919 % 100003));
        const auto dir = RawDirectory(WriteCompoundFile(*root));
        int count = 0;
        EXPECT_GT(CheckRedBlack(dir, dir[0].Child, nullptr, nullptr, count), 0) << n;
        EXPECT_EQ(count, n);
        EXPECT_EQ(dir.at(dir[0].Child).Color, 1) << "root of the sibling tree is black";
    }
}

TEST(CompoundFile, HundredThousandStreamsInOneStorage) {
    auto root = TCompoundNode::NewRoot();
    auto big = root->AddChild(TKind::Storage, QStringLiteral("Big"));
    for (int i = 0; i < 100000; ++i)
        big->AddChild(TKind::Stream, QStringLiteral("%1").arg(i, 8, 16, QChar(u'0')).toUpper())->Data() =
            i % 3 ? QByteArray::number(i) : QByteArray();
    const QByteArray image = WriteCompoundFile(*root);
    const auto dir = RawDirectory(image);
    int count = 0;
    EXPECT_GT(CheckRedBlack(dir, dir.at(dir[0].Child).Child, nullptr, nullptr, count), 0);
    EXPECT_EQ(count, 100000);
    auto back = ReadCompoundFile(image);
    EXPECT_TRUE(TCompoundNode::SameTree(*root, *back));
}

TEST(CompoundFile, DeeplyNestedStoragesNeedNoDeepRecursion) {
    auto root = TCompoundNode::NewRoot();
    TCompoundNode* node = root.get();
    for (int i = 0; i < 200000; ++i) node = node->AddChild(TKind::Storage, QStringLiteral("d")).get();
    node->AddChild(TKind::Stream, QStringLiteral("leaf"))->Data() = "bottom";
    auto back = RoundTrip(*root);
    EXPECT_TRUE(TCompoundNode::SameTree(*root, *back));
    auto copy = back->Clone();
    EXPECT_TRUE(TCompoundNode::SameTree(*copy, *back));
    // Freeing the trees at the end of the test must not overflow the stack either.
}

TEST(CompoundFile, DifatSizedStream) {
    auto root = TCompoundNode::NewRoot();
    root->AddChild(TKind::Stream, QStringLiteral("large"))->Data() = Pattern(8 * 1024 * 1024, 3);
    const QByteArray image = WriteCompoundFile(*root);
    const auto* p = reinterpret_cast<const uint8_t*>(image.constData());
    EXPECT_GT(GetLE32(p + 0x2C), 109u); // more FAT sectors than the header lists
    EXPECT_GE(GetLE32(p + 0x48), 1u);
    EXPECT_TRUE(TCompoundNode::SameTree(*root, *ReadCompoundFile(image)));
}

// A version 4 file made by hand: 4096-byte sectors, a right-leaning chain of
// siblings (a valid but unbalanced shape), a mini stream and a large stream.
// Sectors: 0 FAT, 1 directory, 2 mini FAT, 3 mini stream, 4 large stream.
namespace vellum::test {

QByteArray HandMadeV4() {
    const int S = 4096;
    QByteArray f(S * 6, '\0');
    auto* p = reinterpret_cast<uint8_t*>(f.data());
    const uint8_t sig[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(p, sig, 8);
    PutLE16(p + 0x18, 0x3E);
    PutLE16(p + 0x1A, 4);
    PutLE16(p + 0x1C, 0xFFFE);
    PutLE16(p + 0x1E, 12);
    PutLE16(p + 0x20, 6);
    PutLE32(p + 0x28, 1); // directory sectors
    PutLE32(p + 0x2C, 1); // FAT sectors
    PutLE32(p + 0x30, 1); // first directory sector
    PutLE32(p + 0x38, 4096);
    PutLE32(p + 0x3C, 2); // first mini FAT sector
    PutLE32(p + 0x40, 1);
    PutLE32(p + 0x44, 0xFFFFFFFE);
    PutLE32(p + 0x4C, 0); // FAT in sector 0
    for (int i = 1; i < 109; ++i) PutLE32(p + 0x4C + 4 * i, 0xFFFFFFFF);
    uint8_t* fat = p + S;
    const uint32_t fatValues[] = {0xFFFFFFFD, 0xFFFFFFFE, 0xFFFFFFFE, 0xFFFFFFFE, 0xFFFFFFFE};
    for (int i = 0; i < S / 4; ++i) PutLE32(fat + 4 * i, i < 5 ? fatValues[i] : 0xFFFFFFFF);
    uint8_t* minifat = p + 3 * S;
    for (int i = 0; i < S / 4; ++i) PutLE32(minifat + 4 * i, 0xFFFFFFFF);
    PutLE32(minifat + 0, 1);
    PutLE32(minifat + 4, 0xFFFFFFFE); // "alpha": mini sectors 0-1
    PutLE32(minifat + 8, 0xFFFFFFFE); // "βeta": mini sector 2
    uint8_t* mini = p + 4 * S;
    for (int i = 0; i < 100; ++i) mini[i] = uint8_t(i);
    for (int i = 0; i < 7; ++i) mini[128 + i] = uint8_t('a' + i);
    uint8_t* large = p + 5 * S;
    for (int i = 0; i < S; ++i) large[i] = uint8_t(i * 7);
    uint8_t* dir = p + 2 * S;
    auto entry = [&](int id, const QString& name, uint8_t type, uint32_t left, uint32_t right, uint32_t child,
                     uint32_t start, uint64_t size) {
        uint8_t* e = dir + id * 128;
        for (int i = 0; i < name.size(); ++i) PutLE16(e + 2 * i, name[i].unicode());
        PutLE16(e + 0x40, uint16_t((name.size() + 1) * 2));
        e[0x42] = type;
        e[0x43] = 1;
        PutLE32(e + 0x44, left);
        PutLE32(e + 0x48, right);
        PutLE32(e + 0x4C, child);
        PutLE32(e + 0x74, start);
        PutLE64(e + 0x78, size);
    };
    const uint32_t N = 0xFFFFFFFF;
    entry(0, QStringLiteral("Root Entry"), 5, N, N, 1, 3, 192);
    entry(1, QStringLiteral("Sub"), 1, N, 2, 3, 0, 0);
    entry(2, QStringLiteral("alpha"), 2, N, 4, N, 0, 100);
    entry(3, QStringLiteral("βeta"), 2, N, N, N, 2, 7);
    entry(4, QStringLiteral("LargeStream"), 2, N, N, N, 4, 4096);
    for (int id = 5; id < S / 128; ++id)
        for (int field : {0x44, 0x48, 0x4C}) PutLE32(dir + id * 128 + field, N);
    return f;
}

} // namespace vellum::test

TEST(CompoundFile, ReadsAHandMadeVersion4File) {
    auto root = ReadCompoundFile(test::HandMadeV4());
    ASSERT_NE(root->Child(QStringLiteral("sub")), nullptr);
    auto beta = root->Child(QStringLiteral("Sub"))->Child(QStringLiteral("ΒETA"));
    ASSERT_NE(beta, nullptr);
    EXPECT_EQ(beta->Data(), QByteArray("abcdefg"));
    auto alpha = root->Child(QStringLiteral("alpha"));
    ASSERT_NE(alpha, nullptr);
    ASSERT_EQ(alpha->Data().size(), 100);
    EXPECT_EQ(uint8_t(alpha->Data()[99]), 99);
    auto large = root->Child(QStringLiteral("LargeStream"));
    ASSERT_NE(large, nullptr);
    ASSERT_EQ(large->Data().size(), 4096);
    EXPECT_EQ(uint8_t(large->Data()[4095]), uint8_t(4095 * 7));
    // Written back as version 3, the tree stays the same.
    EXPECT_TRUE(TCompoundNode::SameTree(*root, *RoundTrip(*root)));
}
