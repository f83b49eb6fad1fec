#include "core/StreamArray.h"

#include "base/Exceptions.h"
#include "platform/CompoundFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace vellum;

namespace {

std::vector<QString> Names(TStreamArray& a) {
    std::vector<QString> names;
    for (int i = 0; i < a.Count(); ++i) names.push_back(a.StreamName(i));
    return names;
}

int32_t ReadLastID(const TCompoundNode& root) {
    return int32_t(GetLE32(root.Child(QStringLiteral("LastID"))->Data().constData()));
}

} // namespace

TEST(StreamArray, IdsSurviveDeletesAndMoves) {
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("profiles.db"));
    TStreamArray a;
    a.Open(file);
    for (int i = 0; i < 3; ++i) a.Stream(i).WriteBytes(QByteArray::number(i));
    a.Delete(1);
    EXPECT_EQ(Names(a), (std::vector<QString>{QStringLiteral("00000000"), QStringLiteral("00000002")}));
    a.Stream(2);
    EXPECT_EQ(a.StreamName(2), QStringLiteral("00000003"));
    EXPECT_EQ(TStreamArray::IdName(26), QStringLiteral("0000001A"));
    a.Move(2, 0);
    EXPECT_EQ(Names(a), (std::vector<QString>{QStringLiteral("00000003"), QStringLiteral("00000000"),
                                              QStringLiteral("00000002")}));
    EXPECT_EQ(a.Stream(2).ReadAll(), QByteArray("2"));
    try {
        a.Stream(-1);
        ADD_FAILURE();
    } catch (const EStreamArray& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Index < 0"));
    }
    a.Delete(10); // past the end: nothing
    EXPECT_EQ(a.Count(), 3);
    a.Close();

    auto root = LoadCompoundFile(file);
    EXPECT_EQ(ReadLastID(*root), 4);
    EXPECT_EQ(root->Child(QStringLiteral("00000001")), nullptr);
    a.Open(file);
    EXPECT_EQ(Names(a), (std::vector<QString>{QStringLiteral("00000003"), QStringLiteral("00000000"),
                                              QStringLiteral("00000002")}));
    a.Clear();
    EXPECT_EQ(a.Count(), 0);
    EXPECT_EQ(a.StreamName(0), QStringLiteral("00000000"));
}

TEST(StreamArray, EveryAppendRecordsTheIdAndTheIndexAtOnce) {
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("a.db"));
    {
        TStreamArray a;
        a.Open(file);
        a.Stream(0).WriteBytes("first");
        a.Close();
    }
    TStreamArray a;
    a.Open(file);
    a.Stream(1).WriteBytes("second");
    a.Close();
    auto root = LoadCompoundFile(file);
    EXPECT_EQ(ReadLastID(*root), 2);
    EXPECT_EQ(root->Child(QStringLiteral("Index"))->Data(),
              QByteArray("\x04\0\0\0\x02\0\0\0\0\0\0\0\x01\0\0\0", 16));
}

TEST(StreamArray, CommitWritesTheFileAndReopeningLeavesItAlone) {
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("c.db"));
    TStreamArray a;
    a.Open(file);
    a.Stream(0).WriteBytes("kept");
    a.Commit();
    EXPECT_EQ(LoadCompoundFile(file)->Child(QStringLiteral("00000000"))->Data(), QByteArray("kept"));
    a.Close();
    // Every save renames a new file into place, so an unchanged inode means no save.
    auto inode = [&] {
        struct stat st {};
        EXPECT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0);
        return st.st_ino;
    };
    const auto before = inode();
    a.Open(file);
    EXPECT_EQ(a.StreamName(0), QStringLiteral("00000000"));
    a.Close();
    EXPECT_EQ(inode(), before);
}

TEST(StreamArray, OpenTakesTheNextIdFromEverythingInTheFile) {
    QTemporaryDir tmp;
    // Written by a program that left LastID behind: id 5 in the index, stream 00000009 orphaned.
    const QString file = tmp.filePath(QStringLiteral("old.db"));
    auto root = TCompoundNode::NewRoot();
    root->AddChild(TCompoundNode::TKind::Stream, QStringLiteral("LastID"))->Data() =
        QByteArray("\x02\0\0\0", 4);
    root->AddChild(TCompoundNode::TKind::Stream, QStringLiteral("Index"))->Data() =
        QByteArray("\x04\0\0\0\x02\0\0\0\x01\0\0\0\x05\0\0\0", 16);
    root->AddChild(TCompoundNode::TKind::Stream, QStringLiteral("00000005"))->Data() = "five";
    root->AddChild(TCompoundNode::TKind::Stream, QStringLiteral("00000009"))->Data() = "orphan";
    SaveCompoundFile(*root, file);
    TStreamArray a;
    a.Open(file);
    EXPECT_EQ(a.NextID(), 10);
    EXPECT_EQ(a.Stream(1).ReadAll(), QByteArray("five"));
    EXPECT_EQ(a.StreamName(2), QStringLiteral("0000000A"));
    EXPECT_EQ(a.Stream(2).Size(), 0) << "a fresh stream, not the orphan";

    a.Close();
    root->Child(QStringLiteral("LastID"))->Data() = QByteArray("\x40\0\0\0", 4);
    SaveCompoundFile(*root, file);
    a.Open(file);
    EXPECT_EQ(a.NextID(), 64);
}

TEST(StreamArray, DamagedIndexRaises) {
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("bad.db"));
    auto root = TCompoundNode::NewRoot();
    root->AddChild(TCompoundNode::TKind::Stream, QStringLiteral("Index"))->Data() =
        QByteArray("\x04\0\0\0\xFF\xFF\0\0", 8);
    SaveCompoundFile(*root, file);
    TStreamArray a;
    EXPECT_THROW(a.Open(file), EReadError);
    EXPECT_FALSE(a.Active());
}
