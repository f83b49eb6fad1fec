#include "paper/Papers.h"

#include "paper/FreePaperInfo.h"
#include "paper/MatrixPaperInfo.h"
#include "paper/PaperClasses.h"

#include "base/ClassRegistry.h"
#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Stream.h"
#include "core/DocStorage.h"
#include "core/DocStream.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vellum;

namespace {

class PapersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearClassRegistry();
        RegisterPaperClasses();
        ASSERT_TRUE(FDir.isValid());
        FFile = FDir.filePath(QStringLiteral("test.ppr"));
    }
    void TearDown() override { ClearClassRegistry(); }

    QTemporaryDir FDir;
    QString FFile;
};

std::unique_ptr<TMatrixPaperInfo> Paper(const QString& name, const QString& group = QString()) {
    auto p = std::make_unique<TMatrixPaperInfo>();
    p->SetPortraitSize(2100, 2970);
    p->SetPaperName(name);
    p->SetGroupName(group);
    p->LeftOffset = 140;
    p->TopOffset = 110;
    p->FaceWidth = 910;
    p->FaceHeight = 550;
    p->FaceCountX = 2;
    p->FaceCountY = 5;
    return p;
}

QStringList Names(const TPapers& papers) {
    QStringList names;
    for (int i = 0; i < papers.Count(); ++i)
        names << papers.StreamName(i) + u'=' + papers.Papers(i)->PaperName();
    return names;
}

QByteArray StreamBytes(TDocStorage& root, const QString& path) {
    TDocStream s(root, 0, path);
    return s.ReadAll();
}

QString OlefilePython() {
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral("import olefile")});
    if (!p.waitForStarted(10000) || !p.waitForFinished(60000)) return {};
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 ? QStringLiteral("/usr/bin/python3")
                                                                       : QString();
}

} // namespace

TEST(PaperSerials, NamesAndParsing) {
    EXPECT_EQ(TPapers::SerialName(1), QStringLiteral("$00000001"));
    EXPECT_EQ(TPapers::SerialName(26), QStringLiteral("$0000001A"));
    EXPECT_EQ(TPapers::SerialName(0xFFFFFFFFu), QStringLiteral("$FFFFFFFF"));
    struct {
        const char* name;
        std::optional<uint32_t> serial;
    } const cases[] = {{"$0000001A", 26},
                       {"$0000001a", 26},
                       {"$FFFFFFFF", 0xFFFFFFFFu},
                       {"$1A", std::nullopt},
                       {"$000000001", std::nullopt},
                       {"x0000001A", std::nullopt},
                       {"$0000001G", std::nullopt},
                       {"", std::nullopt},
                       {"$ 000001A", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(TPapers::ParseSerialName(QString::fromLatin1(c.name)), c.serial) << c.name;
}

TEST_F(PapersTest, StoreCreatesSerialStreamsAndReopens) {
    {
        TPapers papers;
        papers.Open(FFile, false);
        EXPECT_EQ(papers.Count(), 0);
        EXPECT_EQ(papers.PurposeList().Count(), 5); // the default list
        auto b = Paper(QStringLiteral("B"), QStringLiteral("名刺"));
        b->PurposeList().SetDefault();
        TPurposeInfo* meishi = b->PurposeList().AddItem();
        meishi->ID = QStringLiteral("Meishi");
        meishi->DisplayName = QStringLiteral("名刺");
        b->SetLandscape(true);
        papers.Store(*b);
        EXPECT_TRUE(b->Landscape());
        EXPECT_FALSE(b->StorePurposes());
        papers.Store(*Paper(QStringLiteral("A"), QStringLiteral("other")));
        EXPECT_EQ(Names(papers), (QStringList{"$00000001=B", "$00000002=A"}));
        EXPECT_TRUE(papers.Papers(0)->Landscape()); // the catalogue keeps the paper as given
        EXPECT_EQ(papers.PurposeList().IndexOfID(QStringLiteral("Meishi")), 5);
        papers.Close();
    }
    auto file = TFileStorage::OpenFile(FFile, 0);
    EXPECT_TRUE(file->StreamExists(QStringLiteral("Papers\\$00000001")));
    EXPECT_TRUE(file->StreamExists(QStringLiteral("PurposeList\\PurposeList")));
    // Written upright, with the purposes.
    TMemoryStream s(StreamBytes(*file, QStringLiteral("Papers\\$00000001")));
    std::unique_ptr<TComponent> stored(ReadComponent(s));
    auto* b = dynamic_cast<TPaperInfo*>(stored.get());
    ASSERT_TRUE(b);
    EXPECT_FALSE(b->Landscape());
    EXPECT_EQ(b->Width(), 2100);
    EXPECT_EQ(b->PurposeList().Count(), 6);
    file.reset();

    TPapers again;
    again.Open(FFile, true);
    EXPECT_EQ(Names(again), (QStringList{"$00000001=B", "$00000002=A"}));
    EXPECT_EQ(again.Papers(1)->FacePlacedRect(3), (TRect{1050, 660, 1960, 1210}));
    // Each paper knows the catalogue's purposes.
    EXPECT_EQ(again.Papers(1)->PurposeList().IndexOfID(QStringLiteral("Meishi")), 5);
    EXPECT_EQ(again.IndexOfName(QStringLiteral("A")), 1);
    EXPECT_EQ(again.IndexOfName(QStringLiteral("a")), -1);
    QStringList groups{QStringLiteral("OTHER")};
    again.GetGroupNames(groups);
    EXPECT_EQ(groups, (QStringList{"OTHER", "名刺"}));
}

TEST_F(PapersTest, TheFileListsCleanlyWithOlefile) {
    const QString python = OlefilePython();
    if (python.isEmpty()) GTEST_SKIP() << "python3-olefile is not installed";
    {
        TPapers papers;
        papers.Open(FFile, false);
        for (const char* name : {"one", "two", "three"}) {
            auto paper = Paper(QString::fromLatin1(name));
            paper->PurposeList().AddItem()->ID = QStringLiteral("Meishi"); // new: the list is written
            papers.Store(*paper);
        }
        papers.Close();
    }
    QProcess p;
    const char* script = R"(
import sys, olefile
ole = olefile.OleFileIO(sys.argv[1], raise_defects=olefile.DEFECT_INCORRECT)
for e in sorted(ole.listdir(streams=True, storages=True)):
    print('/'.join(e), ole.get_type(e), ole.get_size(e) if ole.get_type(e) == olefile.STGTY_STREAM else '')
    if ole.get_type(e) == olefile.STGTY_STREAM: assert ole.openstream(e).read()[:4] == b'TPF0'
)";
    p.start(python, {QStringLiteral("-c"), QString::fromLatin1(script), FFile});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6) << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Papers 1")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Papers/$00000001 2 ")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("Papers/$00000003 2 ")));
    EXPECT_TRUE(lines[5].startsWith(QStringLiteral("PurposeList/PurposeList 2 ")));
}

TEST_F(PapersTest, ReplacingDeletingAndNamesThatDoNotParse) {
    {
        // A catalogue whose papers storage holds a stream of another name.
        auto file = TFileStorage::OpenFile(FFile, kModeCreate);
        for (const char* name : {"Papers\\Odd", "Papers\\$00000003"}) {
            TDocStream s(*file, kModeCreate, QString::fromLatin1(name));
            WriteComponent(s, *Paper(QString::fromLatin1(name).mid(7)));
        }
        file->Commit();
    }
    TPapers papers;
    papers.Open(FFile, false);
    EXPECT_EQ(Names(papers), (QStringList{"$00000003=$00000003", "Odd=Odd"}));
    papers.Store(*Paper(QStringLiteral("new")));
    EXPECT_EQ(papers.StreamName(papers.IndexOfName(QStringLiteral("new"))), QStringLiteral("$00000004"));
    // Storing under an existing name replaces that paper in its stream.
    auto replaced = Paper(QStringLiteral("Odd"));
    replaced->FaceCountY = 4;
    papers.Store(*replaced);
    EXPECT_EQ(papers.Count(), 3);
    EXPECT_EQ(papers.Papers(papers.IndexOfName(QStringLiteral("Odd")))->FaceCount(), 8);
    EXPECT_EQ(papers.StreamName(papers.IndexOfName(QStringLiteral("Odd"))), QStringLiteral("Odd"));
    papers.Delete(papers.IndexOfName(QStringLiteral("$00000003")));
    EXPECT_EQ(Names(papers), (QStringList{"$00000004=new", "Odd=Odd"}));
    EXPECT_THROW(papers.Delete(2), EListError);
    papers.Close();

    TPapers again;
    again.Open(FFile, true);
    EXPECT_EQ(Names(again), (QStringList{"$00000004=new", "Odd=Odd"}));
    EXPECT_EQ(again.Papers(1)->FaceCount(), 8);
}

TEST_F(PapersTest, ReorderValidatesEveryNameFirst) {
    TPapers papers;
    papers.Open(FFile, false);
    for (const char* name : {"A", "B", "C"}) papers.Store(*Paper(QString::fromLatin1(name)));
    for (const QStringList& bad :
         {QStringList{"C", "A", "x"}, QStringList{"C", "A", "C"}, QStringList{"c"}}) {
        try {
            papers.Reorder(bad);
            ADD_FAILURE() << "no error for " << bad.join(u',').toStdString();
        } catch (const EPaperError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Bad paper name"));
        }
        EXPECT_EQ(Names(papers), (QStringList{"$00000001=A", "$00000002=B", "$00000003=C"}));
    }
    papers.Reorder({QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("B")});
    EXPECT_EQ(Names(papers), (QStringList{"$00000004=C", "$00000005=A", "$00000006=B"}));
    papers.Close();
    TPapers again;
    again.Open(FFile, true);
    EXPECT_EQ(Names(again), (QStringList{"$00000004=C", "$00000005=A", "$00000006=B"}));
}

TEST_F(PapersTest, CloseSavesOnlyWhatChangedAndNeverWhenReadOnly) {
    {
        TPapers papers;
        papers.Open(FFile, false);
        papers.Store(*Paper(QStringLiteral("A")));
        papers.Close();
    }
    ASSERT_TRUE(QFile::exists(FFile));
    // Unchanged: the file is not written (it stays gone once removed).
    {
        TPapers papers;
        papers.Open(FFile, false);
        ASSERT_TRUE(QFile::remove(FFile));
        EXPECT_FALSE(papers.IsModified());
        papers.Close();
        EXPECT_FALSE(QFile::exists(FFile));
        papers.Open(FFile, false);
        papers.Store(*Paper(QStringLiteral("A")));
        papers.Close();
    }
    // Read only: changes stay in memory.
    {
        TPapers papers;
        papers.Open(FFile, true);
        ASSERT_TRUE(QFile::remove(FFile));
        papers.Store(*Paper(QStringLiteral("B")));
        EXPECT_EQ(papers.Count(), 2);
        papers.Close();
        EXPECT_FALSE(QFile::exists(FFile));
    }
    TPapers closed;
    EXPECT_THROW(closed.Store(*Paper(QStringLiteral("A"))), EPaperError);
}

TEST_F(PapersTest, AStreamThatHoldsNoPaperIsRefused) {
    {
        auto file = TFileStorage::OpenFile(FFile, kModeCreate);
        TDocStream s(*file, kModeCreate, QStringLiteral("Papers\\$00000001"));
        TPurposeList list;
        list.SetDefault();
        list.SaveToStream(s);
        file->Commit();
    }
    RegisterClass(TPLStreamer::StaticClass());
    TPapers papers;
    EXPECT_THROW(papers.Open(FFile, false), EConvertError);
    EXPECT_FALSE(papers.IsOpen());
    // Not registered at all: the class is not found.
    UnRegisterClass(TPLStreamer::StaticClass());
    EXPECT_THROW(papers.Open(FFile, false), EClassNotFound);
}
