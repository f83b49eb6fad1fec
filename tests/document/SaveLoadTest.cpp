#include "DocumentFixture.h"

#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Stream.h"
#include "core/CompressedStream.h"
#include "core/DOGroup.h"
#include "core/DocStorage.h"
#include "core/DocStream.h"
#include "document/DataInfo.h"
#include "paper/MatrixPaperInfo.h"
#include "paper/PaperInfo.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>

#include <csignal>
#include <sys/resource.h>

using namespace vellum;
using namespace vellum::test;

TEST_F(DocumentTest, SavedLayoutAsListedByOlefile) {
    if (!QFile::exists(QStringLiteral("/usr/bin/python3"))) GTEST_SKIP() << "no python3";
    TLabelData doc;
    const QString file = PathOf(QStringLiteral("new.vlm"));
    doc.Save(file);
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral(
                      "import sys, olefile\n"
                      "for e in olefile.OleFileIO(sys.argv[1]).listdir(streams=True, storages=False):\n"
                      "    print('\\\\'.join(e))\n"),
                  file});
    ASSERT_TRUE(python.waitForFinished(30000));
    if (python.exitCode() != 0) GTEST_SKIP() << "python3-olefile is missing";
    const QStringList listed =
        QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    for (const char* name : {"DataInfo", "ProfileInfo2", "SeparateInfo", "Sheets\\NameList",
                             "Sheets\\NameList0\\Info", "Sheets\\NameList1\\Info"})
        EXPECT_TRUE(listed.contains(QString::fromLatin1(name))) << name << "\n"
                                                                << listed.join(u'\n').toStdString();
}

TEST_F(DocumentTest, SaveReopenSaveGivesTheSameStreams) {
    TLabelData doc;
    SetMatrixPaper(doc, 2, 5);
    doc.SetDataName(QStringLiteral("名刺"));
    TOwnedDOList cards;
    AddShapes(cards, {100, 200, 300});
    doc.SaveCard(2, cards);
    doc.SwitchSheet(1);
    doc.SetSeparatelyDesign(false);
    doc.SaveCard(0, cards);
    doc.SwitchSheet(0);
    doc.Save(PathOf(QStringLiteral("a.vlm")));
    EXPECT_FALSE(doc.Modified());

    TLabelData reopened;
    reopened.Load(PathOf(QStringLiteral("a.vlm")));
    EXPECT_FALSE(reopened.Modified());
    EXPECT_EQ(reopened.CurrentSheet(), 0);
    EXPECT_EQ(reopened.DataName(), QStringLiteral("名刺"));
    reopened.Save(PathOf(QStringLiteral("b.vlm")));
    const QMap<QString, QByteArray> first = StreamsOf(PathOf(QStringLiteral("a.vlm")));
    EXPECT_EQ(StreamsOf(PathOf(QStringLiteral("b.vlm"))), first);
    EXPECT_TRUE(first.contains(QStringLiteral("Sheets\\NameList0\\PaperInfo")));
    ASSERT_NE(reopened.Paper(), nullptr);
    EXPECT_EQ(reopened.Paper()->FaceCount(), 10);
    EXPECT_TRUE(reopened.HasCard(2));
    reopened.SwitchSheet(1);
    EXPECT_FALSE(reopened.SeparatelyDesign());
    EXPECT_TRUE(reopened.HasCard(7));
}

TEST_F(DocumentTest, AWriterFailingMidwayLeavesThePreviousFileIntact) {
    TLabelData doc;
    const QString file = PathOf(QStringLiteral("kept.vlm"));
    doc.Save(file);
    const QByteArray before = FileBytes(file);

    // Bytes that do not compress, so the next file is far larger.
    QString name;
    QRandomGenerator random(7);
    for (int i = 0; i < 20000; ++i) name += QChar(u'0' + random.bounded(10));
    doc.SetDataName(name);

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = rlim_t(before.size() + 512);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool failed = false;
    try {
        doc.Save(file);
    } catch (const Exception&) {
        failed = true;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    ASSERT_TRUE(failed);

    EXPECT_EQ(FileBytes(file), before);
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("kept.vlm")});
    TLabelData reopened;
    reopened.Load(file);
    EXPECT_EQ(SheetNames(reopened), (QStringList{QStringLiteral("表面"), QStringLiteral("裏面")}));
}

TEST_F(DocumentTest, AFailedLoadLeavesTheOpenDocumentAsItWas) {
    TLabelData doc;
    doc.AddSheet(QStringLiteral("三%d"));
    TOwnedDOList cards;
    AddShapes(cards, {100});
    doc.SaveCard(0, cards);
    const QString bad = PathOf(QStringLiteral("bad.vlm"));
    {
        QFile file(bad);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a document at all");
    }
    for (const QString& name : {bad, PathOf(QStringLiteral("missing.vlm"))}) {
        EXPECT_THROW(doc.Load(name), Exception);
        EXPECT_EQ(doc.CurrentSheet(), 2);
        EXPECT_EQ(SheetNames(doc),
                  (QStringList{QStringLiteral("表面"), QStringLiteral("裏面"), QStringLiteral("三1")}));
        EXPECT_TRUE(doc.HasCard(0));
        EXPECT_TRUE(doc.Modified());
    }
}

TEST_F(DocumentTest, AFileWithFewerThanTwoSheetsLoadsWithFrontAndBack) {
    // No sheets at all, and one sheet of another name.
    const QString empty = PathOf(QStringLiteral("empty.vlm"));
    {
        TTemporaryStorage root;
        TDocStream(root, kModeCreate, QStringLiteral("Other")).WriteBytes("x");
        root.SaveToFile(empty);
    }
    const QString single = PathOf(QStringLiteral("single.vlm"));
    {
        TLabelData doc;
        doc.SetSheetName(QStringLiteral("表"));
        doc.DeleteSheet(1);
        doc.Save(single);
    }
    for (const QString& file : {empty, single}) {
        TLabelData doc;
        doc.Load(file);
        EXPECT_EQ(SheetNames(doc), (QStringList{QStringLiteral("表面"), QStringLiteral("裏面")}));
        EXPECT_EQ(doc.CurrentSheet(), 0);
        EXPECT_FALSE(doc.Modified());
    }
}

TEST_F(DocumentTest, ACompressedDocumentLoadsAsItsContentAndANestedOneIsRefused) {
    const QString plain = PathOf(QStringLiteral("plain.vlm"));
    {
        TLabelData doc;
        doc.AddSheet(QStringLiteral("三%d"));
        TOwnedDOList cards;
        AddShapes(cards, {100, 200});
        doc.SaveCard(1, cards);
        doc.Save(plain);
    }
    const auto pack = [](const QString& from, const QString& to) {
        TMemoryStream source;
        source.LoadFromFile(from);
        TMemoryStream packed;
        CompressTo(source, packed);
        packed.SaveToFile(to);
    };
    const QString once = PathOf(QStringLiteral("once.vlm"));
    const QString twice = PathOf(QStringLiteral("twice.vlm"));
    pack(plain, once);
    pack(once, twice);

    TLabelData doc;
    doc.Load(once);
    EXPECT_EQ(SheetNames(doc),
              (QStringList{QStringLiteral("表面"), QStringLiteral("裏面"), QStringLiteral("三1")}));
    doc.SwitchSheet(2);
    TOwnedDOList back;
    doc.LoadCard(1, back);
    EXPECT_EQ(Lefts(back), (std::vector<int>{200, 100}));

    EXPECT_THROW(doc.Load(twice), EZDecompressionError);
    EXPECT_EQ(doc.CurrentSheet(), 2);
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

TEST_F(DocumentTest, AnOlderDocumentIsUpgradedOnLoad) {
    const QString file = PathOf(QStringLiteral("old.vlm"));
    {
        TLabelData doc;
        SetMatrixPaper(doc, 2, 5);
        TOwnedDOList cards;
        cards.Give(std::make_unique<TOldShape>()).SetRect(TRect{100, 10, 200, 110});
        TDOGroup& group = cards.Give(std::make_unique<TDOGroup>());
        group.Adopt(std::make_unique<TOldShape>()).SetRect(TRect{300, 10, 400, 110});
        AddShapes(cards, {500});
        doc.SaveCard(3, cards);
        doc.Save(file);
    }
    const auto stamp = [&file](int32_t version) {
        TTemporaryStorage root;
        root.LoadFromFile(file);
        TDataInfo info;
        info.DataVersion = version;
        TDocStream stream(root, kModeCreate, QStringLiteral("DataInfo"));
        WriteComponentRes(stream, QStringLiteral("DataInfo"), info);
        root.SaveToFile(file);
    };

    // From version 300 on nothing is upgraded.
    stamp(300);
    {
        TLabelData doc;
        doc.Load(file);
        TOwnedDOList back;
        doc.LoadCard(3, back);
        ASSERT_EQ(back.Count(), 3);
        EXPECT_NE(dynamic_cast<TOldShape*>(back.Items(2)), nullptr);
    }
    stamp(250);
    TLabelData doc;
    doc.Load(file);
    TOwnedDOList back;
    doc.LoadCard(3, back);
    ASSERT_EQ(back.Count(), 3);
    EXPECT_EQ(Lefts(back), (std::vector<int>{500, 300, 100}));
    EXPECT_EQ(back.Items(2)->ClassName(), QStringLiteral("TTestShape"));
    auto* group = dynamic_cast<TDOGroup*>(back.Items(1));
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->Members().size(), 1u);
    EXPECT_EQ(group->Members()[0]->ClassName(), QStringLiteral("TTestShape"));
    // The back had no paper of its own: it takes over the front's.
    doc.Save(PathOf(QStringLiteral("new.vlm")));
    EXPECT_TRUE(StreamsOf(PathOf(QStringLiteral("new.vlm")))
                    .contains(QStringLiteral("Sheets\\NameList1\\PaperInfo")));
}

namespace {

// Installs a converter for one test.
struct TConverterScope {
    explicit TConverterScope(TLabelData::TVersion1Converter converter) {
        TLabelData::SetVersion1Converter(std::move(converter));
    }
    ~TConverterScope() { TLabelData::SetVersion1Converter(nullptr); }
};

void WriteFile(const QString& fileName, const QByteArray& bytes) {
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST_F(DocumentTest, FirstVersionFilesAndUnreadableOnesGoToTheConverter) {
    // Converts "v1:" followed by a left edge into a front card of a retired kind.
    QByteArrayList seen;
    TConverterScope scope([&seen](TLabelData& doc, TStream& file) {
        const QByteArray bytes = file.ReadAll();
        seen.append(bytes);
        if (!bytes.startsWith("v1:")) throw EFilerError(QStringLiteral("不正なストリーム フォーマット"));
        EXPECT_EQ(doc.SheetCount(), 2);
        doc.SwitchSheet(1);
        doc.SwitchSheet(0);
        doc.SetSheetName(QStringLiteral("変換"));
        TMatrixPaperInfo paper;
        paper.SetPortraitSize(2100, 2970);
        paper.FaceWidth = 910;
        paper.FaceHeight = 550;
        paper.FaceCountX = 2;
        paper.FaceCountY = 5;
        doc.SetPaperAndClearPreviews(&paper);
        TOwnedDOList cards;
        const int left = bytes.mid(3).toInt();
        cards.Give(std::make_unique<TOldShape>()).SetRect(TRect{left, 10, left + 100, 110});
        doc.SaveCard(0, cards);
    });
    const QString current = PathOf(QStringLiteral("current.vlm"));
    {
        TLabelData doc;
        doc.SetDataName(QStringLiteral("今の文書"));
        doc.Save(current);
    }
    const QString named = PathOf(QStringLiteral("old.XVB"));
    QFile::copy(current, named);
    WriteFile(PathOf(QStringLiteral("plain.xva")), "v1:100");
    WriteFile(PathOf(QStringLiteral("plain.vlm")), "v1:200");
    {
        TMemoryStream source(QByteArray("v1:300"));
        TMemoryStream packed;
        CompressTo(source, packed);
        packed.SaveToFile(PathOf(QStringLiteral("packed.xva")));
    }
    const struct {
        const char* File;
        QByteArray Seen;
        int Left;
    } cases[] = {
        // By the extension, whatever the content.
        {"old.XVB", FileBytes(current), -1},
        {"plain.xva", "v1:100", 100},
        // Not a compound file.
        {"plain.vlm", "v1:200", 200},
        // The converter is given what the container holds.
        {"packed.xva", "v1:300", 300},
    };
    for (const auto& c : cases) {
        seen.clear();
        TLabelData doc;
        doc.AddNewSheet();
        if (c.Left < 0) {
            // The converter's own error; the open document stays.
            EXPECT_THROW(doc.Load(PathOf(QString::fromLatin1(c.File))), EFilerError);
            EXPECT_EQ(seen, QByteArrayList{c.Seen});
            EXPECT_EQ(doc.SheetCount(), 3);
            continue;
        }
        doc.Load(PathOf(QString::fromLatin1(c.File)));
        EXPECT_EQ(seen, QByteArrayList{c.Seen}) << c.File;
        EXPECT_EQ(SheetNames(doc), (QStringList{QStringLiteral("表面"), QStringLiteral("裏面")})) << c.File;
        EXPECT_FALSE(doc.Modified()) << c.File;
        ASSERT_NE(doc.Paper(), nullptr) << c.File;
        EXPECT_EQ(doc.DataVersion(), TLabelData::ProgramDataVersion());
        // A converted document is always upgraded.
        TOwnedDOList back;
        doc.LoadCard(0, back);
        ASSERT_EQ(back.Count(), 1) << c.File;
        EXPECT_EQ(back.Items(0)->ClassName(), QStringLiteral("TTestShape")) << c.File;
        EXPECT_EQ(back.Items(0)->GetBounds().Left, c.Left) << c.File;
    }

    // A current document does not reach the converter.
    seen.clear();
    TLabelData doc;
    doc.Load(current);
    EXPECT_TRUE(seen.isEmpty());
    EXPECT_EQ(doc.DataName(), QStringLiteral("今の文書"));
}

TEST_F(DocumentTest, WithoutAConverterFirstVersionFilesAreReadAsCompoundFiles) {
    const QString document = PathOf(QStringLiteral("doc.xva"));
    {
        TLabelData doc;
        doc.SetDataName(QStringLiteral("名前"));
        doc.Save(document);
    }
    TLabelData doc;
    doc.Load(document);
    EXPECT_EQ(doc.DataName(), QStringLiteral("名前"));

    const QString other = PathOf(QStringLiteral("other.xvb"));
    WriteFile(other, "v1:100");
    doc.AddNewSheet();
    EXPECT_THROW(doc.Load(other), Exception);
    EXPECT_EQ(doc.SheetCount(), 3);
    EXPECT_EQ(doc.DataName(), QStringLiteral("名前"));
}
