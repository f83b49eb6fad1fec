#include "core/DocStorage.h"

#include "base/Exceptions.h"
#include "core/DocNameList.h"
#include "core/DocStream.h"
#include "platform/CompoundFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vellum;

namespace {

void WriteStream(TDocStorage& storage, const QString& path, const QByteArray& bytes) {
    TDocStream s(storage, kModeCreate, path);
    s.WriteBytes(bytes);
}

QByteArray ReadStream(TDocStorage& storage, const QString& path) {
    TDocStream s(storage, 0, path);
    return s.ReadAll();
}

QStringList Names(const TDocStorage& storage, bool streams) {
    TStringList list;
    streams ? storage.GetStreamNames(list) : storage.GetStorageNames(list);
    return list.Items();
}

uint32_t ErrorCode(const std::function<void()>& f) {
    try {
        f();
    } catch (const EOleSysError& e) {
        return e.ErrorCode();
    }
    return 0;
}

} // namespace

TEST(DocStorage, OpenModesMapToFlags) {
    EXPECT_EQ(ModeToFlags(0), 0x10u);
    EXPECT_EQ(ModeToFlags(2), 0x12u);
    EXPECT_EQ(ModeToFlags(1 | 0x20), 0x21u);
    EXPECT_EQ(ModeToFlags(0x30), 0x30u);
    EXPECT_EQ(ModeToFlags(2 | 0x40), 0x42u);
    EXPECT_EQ(ModeToFlags(0x10), 0x10u);
    EXPECT_EQ(ModeToFlags(-1), 0x1012u);
    EXPECT_EQ(ModeToFlags(0xFFFF), 0x1012u);
}

TEST(DocStorage, PathsStreamsAndStoragesOfAWorkingCopy) {
    TTemporaryStorage root;
    WriteStream(root, QStringLiteral("Sheets\\NameList0\\Info"), "info");
    {
        TDocStorage sheet(root, false, QStringLiteral("Sheets\\NameList0"));
        // Opening below an open storage reuses it.
        TDocStorage info(root, false, QStringLiteral("sheets\\namelist0"));
        EXPECT_EQ(&sheet.Handle(), &info.Handle());
        EXPECT_EQ(ReadStream(sheet, QStringLiteral("Info")), QByteArray("info"));
        EXPECT_EQ(ReadStream(sheet, QStringLiteral("..\\NameList0\\Info")), QByteArray("info"));
        EXPECT_EQ(ReadStream(sheet, QStringLiteral("\\Sheets\\NameList0\\Info")), QByteArray("info"));
        EXPECT_EQ(sheet.Path(), QStringLiteral("Sheets\\NameList0"));
    }
    EXPECT_TRUE(root.StreamExists(QStringLiteral("Sheets\\NameList0\\Info")));
    EXPECT_FALSE(root.StreamExists(QStringLiteral("Sheets\\NameList0"))); // a storage
    EXPECT_FALSE(root.StreamExists(QStringLiteral("Missing\\Info")));
    EXPECT_TRUE(root.StorageExists(QStringLiteral("Sheets\\NameList0")));
    EXPECT_FALSE(root.StorageExists(QStringLiteral("Sheets\\NameList0\\Info")));
    EXPECT_FALSE(root.StorageExists(QStringLiteral("Sheets\\Other")));
    EXPECT_EQ(ErrorCode([&] { TDocStorage s(root, false, QStringLiteral("Nope")); }), stg::kFileNotFound);
    EXPECT_EQ(ErrorCode([&] { TDocStream s(root, 0, QStringLiteral("Sheets\\Nope")); }), stg::kFileNotFound);
    EXPECT_THROW(TDocStorage(root, false, QStringLiteral("..\\X")), EPathUtil);

    WriteStream(root, QStringLiteral("b"), "1");
    WriteStream(root, QStringLiteral("A"), "2");
    TDocStorage(root, true, QStringLiteral("Zz"));
    EXPECT_EQ(Names(root, true), (QStringList{QStringLiteral("A"), QStringLiteral("b")}));
    EXPECT_EQ(Names(root, false), (QStringList{QStringLiteral("Zz"), QStringLiteral("Sheets")}));

    EXPECT_TRUE(root.DeleteElement(QStringLiteral("B")));
    EXPECT_FALSE(root.DeleteElement(QStringLiteral("B")));
    EXPECT_EQ(ErrorCode([&] { root.DeleteElement(QStringLiteral("NoDir\\B")); }), stg::kFileNotFound);

    root.MoveElement(QStringLiteral("Sheets\\NameList0"), QStringLiteral("Zz\\Moved"));
    EXPECT_EQ(ReadStream(root, QStringLiteral("Zz\\Moved\\Info")), QByteArray("info"));
    EXPECT_FALSE(root.StorageExists(QStringLiteral("Sheets\\NameList0")));
    EXPECT_EQ(ErrorCode([&] { root.MoveElement(QStringLiteral("Zz"), QStringLiteral("Zz\\Moved\\Zz")); }),
              stg::kAccessDenied);
    EXPECT_EQ(ErrorCode([&] { root.MoveElement(QStringLiteral("A"), QStringLiteral("Zz\\Moved")); }),
              stg::kFileAlreadyExists);
    EXPECT_EQ(ReadStream(root, QStringLiteral("A")), QByteArray("2"));
    EXPECT_EQ(ErrorCode([&] { WriteStream(root, QString(32, u'n'), "x"); }), stg::kInvalidName);
}

TEST(DocStorage, StreamsReadWriteSeekAndResize) {
    TTemporaryStorage root;
    TDocStream s(root, kModeCreate, QStringLiteral("Dir\\S"));
    EXPECT_EQ(s.Write("abcdef", 6), 6);
    EXPECT_EQ(s.Write("x", 0), 0);
    EXPECT_EQ(s.Write("x", -3), 0);
    s.SetSize(3);
    EXPECT_EQ(s.Position(), 3);
    EXPECT_EQ(s.Size(), 3);
    s.SetPosition(5);
    s.WriteBytes("Z");
    EXPECT_EQ(ReadStream(root, QStringLiteral("Dir\\S")), QByteArray("abc\0\0Z", 6));
    char buf[10];
    s.SetPosition(4);
    EXPECT_EQ(s.Read(buf, 10), 2);
    // Creating an existing stream again empties it.
    TDocStream again(root, kModeCreate, QStringLiteral("Dir\\S"));
    EXPECT_EQ(again.Size(), 0);
    // A read-only stream refuses writes.
    TDocStream ro(root, 0, QStringLiteral("Dir\\S"));
    EXPECT_EQ(ErrorCode([&] { ro.WriteBytes("no"); }), stg::kAccessDenied);
    // A storage is not replaced by a stream.
    EXPECT_EQ(ErrorCode([&] { TDocStream(root, kModeCreate, QStringLiteral("Dir")); }),
              stg::kFileAlreadyExists);
}

TEST(DocStorage, CopyToReplacesStreamsAndMergesStorages) {
    TTemporaryStorage a, b;
    WriteStream(a, QStringLiteral("S"), "new");
    WriteStream(a, QStringLiteral("D\\x"), "ax");
    WriteStream(b, QStringLiteral("S"), "old-and-longer");
    WriteStream(b, QStringLiteral("D\\x"), "bx");
    WriteStream(b, QStringLiteral("D\\y"), "by");
    a.CopyTo(b);
    EXPECT_EQ(ReadStream(b, QStringLiteral("S")), QByteArray("new"));
    EXPECT_EQ(ReadStream(b, QStringLiteral("D\\x")), QByteArray("ax"));
    EXPECT_EQ(ReadStream(b, QStringLiteral("D\\y")), QByteArray("by"));
    // Into a storage of its own tree: the copy is of the state before.
    TDocStorage d(b, false, QStringLiteral("D"));
    b.CopyTo(d);
    EXPECT_EQ(ReadStream(b, QStringLiteral("D\\D\\y")), QByteArray("by"));
    EXPECT_FALSE(b.StorageExists(QStringLiteral("D\\D\\D")));
}

TEST(DocStorage, ModificationStamp) {
    TTemporaryStorage root;
    EXPECT_FALSE(root.IsModified());
    WriteStream(root, QStringLiteral("S"), "1");
    EXPECT_TRUE(root.IsModified());
    root.TakeStamp();
    EXPECT_FALSE(root.IsModified());
    {
        TDocStream s(root, 0, QStringLiteral("S"));
        s.ReadAll();
    }
    EXPECT_FALSE(root.IsModified()) << "reading changes nothing";
    {
        TDocStream s(root, 2, QStringLiteral("S"));
        s.WriteBytes("2");
    }
    EXPECT_TRUE(root.IsModified());
    root.TakeStamp();
    root.DeleteElement(QStringLiteral("S"));
    EXPECT_TRUE(root.IsModified());
    root.TakeStamp(true);
    EXPECT_TRUE(root.IsModified()) << "a cleared stamp counts as modified";
}

TEST(DocStorage, WorkingCopyLoadsAndSavesTheWholeTree) {
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("card.xv4"));
    TTemporaryStorage doc;
    WriteStream(doc, QStringLiteral("Sheets\\NameList0\\Info"), QByteArray(5000, 'i'));
    WriteStream(doc, QStringLiteral("Preview"), "p");
    TDocStorage(doc, true, QStringLiteral("Empty"));
    doc.SaveToFile(file);
    EXPECT_FALSE(doc.IsModified());

    TTemporaryStorage copy;
    copy.LoadFromFile(file);
    EXPECT_FALSE(copy.IsModified());
    EXPECT_TRUE(TCompoundNode::SameTree(*copy.Tree(), *doc.Tree()));
    // Opened and saved without changes: the same elements, the same bytes.
    const QString again = tmp.filePath(QStringLiteral("again.xv4"));
    copy.SaveToFile(again);
    QFile f1(file), f2(again);
    ASSERT_TRUE(f1.open(QIODevice::ReadOnly) && f2.open(QIODevice::ReadOnly));
    EXPECT_EQ(f1.readAll(), f2.readAll());

    // A failed load leaves the working copy as it was.
    QFile bad(tmp.filePath(QStringLiteral("bad.xv4")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(2048, 'x'));
    bad.close();
    EXPECT_THROW(copy.LoadFromFile(bad.fileName()), ECompoundFile);
    EXPECT_EQ(ReadStream(copy, QStringLiteral("Preview")), QByteArray("p"));
    EXPECT_EQ(ErrorCode([&] { copy.LoadFromFile(tmp.filePath(QStringLiteral("none"))); }),
              stg::kFileNotFound);
}

TEST(DocStorage, FileStorageCommitsWholeFiles) {
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("paper.dat"));
    {
        auto root = TFileStorage::OpenFile(file, kModeCreate);
        EXPECT_TRUE(QFileInfo::exists(file));
        EXPECT_EQ(root->DefaultFlags(), 0x12u);
        WriteStream(*root, QStringLiteral("Papers\\P1"), "sheet");
    } // committed when released
    {
        auto ro = TFileStorage::OpenFile(file, 0);
        EXPECT_FALSE(ro->IsWritable());
        EXPECT_EQ(ReadStream(*ro, QStringLiteral("Papers\\P1")), QByteArray("sheet"));
        EXPECT_EQ(ErrorCode([&] { WriteStream(*ro, QStringLiteral("X"), "x"); }), stg::kAccessDenied);
        EXPECT_EQ(ErrorCode([&] { ro->DeleteElement(QStringLiteral("Papers\\P1")); }), stg::kAccessDenied);
        EXPECT_EQ(ErrorCode([&] { TDocStorage(*ro, true, QStringLiteral("New")); }), stg::kAccessDenied);
        EXPECT_EQ(ErrorCode([&] { TDocStream(*ro, 2, QStringLiteral("Papers\\P1")); }), stg::kAccessDenied);
    }
    auto wo = TFileStorage::OpenFile(file, 1);
    EXPECT_EQ(wo->DefaultFlags(), 0x12u) << "write-only roots open children read/write";
    EXPECT_EQ(ErrorCode([] { TFileStorage::OpenFile(QStringLiteral("/nonexistent/x.dat"), 0); }),
              stg::kFileNotFound);
}

TEST(DocNameList, ItemsAndTheirListStream) {
    TTemporaryStorage root;
    {
        TDocStorageList list(root, QStringLiteral("Sheets\\NameList"));
        EXPECT_EQ(list.Prefix(), QStringLiteral("NameList"));
        for (int i = 0; i < 3; ++i) {
            const int index = list.AddNew();
            TDocStream(*list.OpenItemStorage(index, true), kModeCreate, QStringLiteral("Info"))
                .WriteBytes("x");
        }
        EXPECT_EQ(list.ItemPath(1), QStringLiteral("Sheets\\NameList1"));
        list.DeleteItem(1);
        EXPECT_FALSE(root.StorageExists(QStringLiteral("Sheets\\NameList1")));
        const QByteArray expected("\x03\x00\x00\x00NameList0\r\nNameList2\r\n", 26);
        EXPECT_EQ(ReadStream(root, QStringLiteral("Sheets\\NameList")), expected);
        EXPECT_EQ(list.Strings(list.AddNew()), QStringLiteral("NameList3"));
        EXPECT_THROW(list.DeleteItem(7), EListError);
        EXPECT_FALSE(list.ItemStreamExists(7));
        EXPECT_FALSE(list.ItemStreamExists(0)) << "a storage";
    }
    TDocStreamList again(root, QStringLiteral("\\Sheets\\NameList"));
    EXPECT_EQ(again.Items(), (QStringList{QStringLiteral("NameList0"), QStringLiteral("NameList2"),
                                          QStringLiteral("NameList3")}));
    EXPECT_EQ(again.NextSerial(), 4);
    // The list's order is the application's, not the storage's.
    again.Insert(0, again.Strings(2));
    again.Delete(3);
    EXPECT_EQ(TDocStreamList(root, QStringLiteral("Sheets\\NameList")).Strings(0),
              QStringLiteral("NameList3"));
    // Deleting an item whose element is missing is no error.
    again.Add(QStringLiteral("Ghost"));
    again.DeleteItem(again.Count() - 1);
}

TEST(DocNameList, ReadOnlyRootWithoutListStreamIsEmpty) {
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("empty.xv4"));
    TTemporaryStorage().SaveToFile(file);
    auto ro = TFileStorage::OpenFile(file, 0);
    TDocNameList list(*ro, QStringLiteral("Previews\\NameList"));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(ErrorCode([&] { list.AddNew(); }), stg::kAccessDenied);
    EXPECT_FALSE(ro->StorageExists(QStringLiteral("Previews")));
}
