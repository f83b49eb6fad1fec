#include "profile/ProfileDB2.h"

#include "base/Exceptions.h"
#include "imaging/DIB.h"
#include "imaging/PictureEx.h"
#include "imaging/SafetyBitmap.h"
#include "platform/CompoundFile.h"
#include "profile/ProfileFields.h"
#include "profile/ProfileInfo2.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace vellum;

namespace {

std::unique_ptr<TProfileInfo2> Named(const QString& name) {
    auto p = std::make_unique<TProfileInfo2>();
    p->Clear();
    p->SetValue(1, name);
    return p;
}

QStringList Names(TProfileDB2& db) {
    QStringList names;
    TProfileInfo2 p;
    for (int i = 0; i < db.Count(); ++i) {
        db.ReadHeader(i, p);
        names << p.GetValue(1);
    }
    return names;
}

int ModeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

struct ProfileDB2Test : ::testing::Test {
    QTemporaryDir Tmp;
    QString FileName = Tmp.filePath(QStringLiteral("home/sub/vellum4.mdp"));
    TProfileDB2 DB;
    void SetUp() override {
        DB.SetFileName(FileName);
        DB.Open();
    }
    // What another process would find in the file now.
    QStringList NamesOnDisk() {
        TProfileDB2 other;
        other.SetFileName(QDir(Tmp.path()).filePath(QStringLiteral("copy.mdp")));
        QFile::remove(other.FileName());
        QFile::copy(FileName, other.FileName());
        other.Open();
        return Names(other);
    }
};

TEST_F(ProfileDB2Test, CreatedPrivateAndEveryChangeIsInTheFileAtOnce) {
    EXPECT_EQ(ModeOf(FileName), 0600);
    EXPECT_EQ(ModeOf(Tmp.filePath(QStringLiteral("home"))), 0700);
    EXPECT_EQ(ModeOf(Tmp.filePath(QStringLiteral("home/sub"))), 0700);
    for (const char* name : {"a", "b", "c", "d"}) DB.Add(*Named(QString::fromUtf8(name)));
    EXPECT_EQ(NamesOnDisk(), (QStringList{"a", "b", "c", "d"}));
    DB.Insert(1, *Named(QStringLiteral("x")));
    DB.Delete(3);
    DB.Move(0, 3);
    DB.Write(0, *Named(QStringLiteral("X")));
    EXPECT_EQ(Names(DB), (QStringList{"X", "b", "d", "a"}));
    EXPECT_EQ(NamesOnDisk(), Names(DB));
    EXPECT_EQ(ModeOf(FileName), 0600);
    // Another user's rights stay as the owner set them.
    ASSERT_EQ(::chmod(QFile::encodeName(FileName).constData(), 0640), 0);
    DB.Add(*Named(QStringLiteral("e")));
    EXPECT_EQ(ModeOf(FileName), 0640);

    DB.Clear();
    EXPECT_EQ(DB.Count(), 0);
    EXPECT_TRUE(NamesOnDisk().isEmpty());
}

TEST_F(ProfileDB2Test, ReadsWithOrWithoutPicturesAndFindsByIdentity) {
    const auto owned = Named(QStringLiteral("顔あり"));
    TProfileInfo2& p = *owned;
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetDIB(TDIB(4, 3, 24));
    p.Face().SetGraphic(std::move(bitmap));
    DB.Add(*Named(QStringLiteral("先頭")));
    DB.Add(p);
    TProfileInfo2 back;
    EXPECT_TRUE(DB.Read(1, back));
    EXPECT_TRUE(back.SameProfile(p));
    EXPECT_EQ(back.Face().Width(), 4);
    TProfileInfo2 header;
    EXPECT_TRUE(DB.ReadHeader(1, header));
    EXPECT_TRUE(header.Face().Empty());
    EXPECT_EQ(DB.IndexOf(p), 1);
    EXPECT_EQ(DB.IndexOf(TProfileInfo2()), -1);
    EXPECT_THROW(DB.Read(2, back), EStreamArray);
    EXPECT_THROW(DB.Read(-1, back), EStreamArray);
    EXPECT_EQ(DB.Count(), 2);
}

TEST_F(ProfileDB2Test, AValueTheCodePageLacksChangesNothing) {
    DB.Add(*Named(QStringLiteral("残る")));
    EXPECT_THROW(DB.Add(*Named(QStringLiteral("🍣"))), EEncodingError);
    EXPECT_THROW(DB.Write(0, *Named(QStringLiteral("𠮷"))), EEncodingError);
    EXPECT_EQ(Names(DB), QStringList{"残る"});
    EXPECT_EQ(NamesOnDisk(), QStringList{"残る"});
}

TEST_F(ProfileDB2Test, SortNormalisesWidthAndKanaAndOnlyReordersTheIndex) {
    for (const char* name : {"ｲ", "b", "あい", "A", "ｱｲ", "アイ", "う"})
        DB.Add(*Named(QString::fromUtf8(name)));
    TProfileInfo2 first;
    DB.ReadHeader(0, first);
    DB.Sort(1, false);
    const QStringList sorted = Names(DB);
    EXPECT_EQ(sorted.mid(0, 2), (QStringList{"A", "b"}));
    // ｱｲ, あい and アイ are equal keys: together, in some order.
    EXPECT_EQ(QSet<QString>(sorted.begin() + 2, sorted.begin() + 5), (QSet<QString>{"ｱｲ", "あい", "アイ"}));
    EXPECT_EQ(sorted.mid(5), (QStringList{"ｲ", "う"}));
    EXPECT_EQ(NamesOnDisk(), sorted);
    DB.Sort(1, true);
    EXPECT_EQ(Names(DB).front(), QStringLiteral("う"));
    EXPECT_EQ(DB.IndexOf(first), 1);

    EXPECT_EQ(TProfileDB2::SortKey(QStringLiteral("ab-ｶﾞｳﾞぱ")), QStringLiteral("ＡＢ－ガヴパ"));
}

TEST_F(ProfileDB2Test, SelectedProfilesAreThoseWithTheMergeMark) {
    for (int i = 0; i < 4; ++i) {
        auto p = Named(QString::number(i));
        if (i % 2) p->SetValue(kMergeMarkField, MergeMark());
        DB.Add(*p);
    }
    EXPECT_EQ(DB.SelectedProfiles(), (QList<int>{1, 3}));
}

TEST_F(ProfileDB2Test, CopyToHoldsTheLatestWriteAndIsPrivate) {
    DB.BeginUpdate();
    DB.Add(*Named(QStringLiteral("一")));
    DB.Add(*Named(QStringLiteral("二")));
    const QString backup = Tmp.filePath(QStringLiteral("backup.mdp"));
    DB.CopyTo(backup);
    DB.EndUpdate();
    EXPECT_EQ(ModeOf(backup), 0600);
    TProfileDB2 copy;
    copy.SetFileName(backup);
    copy.Open();
    EXPECT_EQ(Names(copy), (QStringList{"一", "二"}));
}

TEST_F(ProfileDB2Test, ReopeningNeverReusesAnIdOfTheFile) {
    DB.Add(*Named(QStringLiteral("a")));
    DB.Add(*Named(QStringLiteral("b")));
    DB.Close();
    // A file whose LastID fell behind its streams, as an interrupted older writer leaves it.
    auto tree = LoadCompoundFile(FileName);
    tree->Child(QStringLiteral("LastID"))->Data() = QByteArray(4, '\0');
    SaveCompoundFile(*tree, FileName);
    DB.Open();
    DB.Add(*Named(QStringLiteral("c")));
    EXPECT_EQ(Names(DB), (QStringList{"a", "b", "c"}));
}

TEST_F(ProfileDB2Test, OneDatabaseObjectAtATimeHasTheFile) {
    TProfileDB2 second;
    second.SetFileName(FileName);
    EXPECT_THROW(second.Open(), EOleSysError);
    DB.Close();
    second.Open();
    EXPECT_TRUE(second.Active());
}

TEST(ProfileDB2, AFileThatIsNoDatabaseFailsToOpenAndStaysAsItWas) {
    QTemporaryDir tmp;
    const QString name = tmp.filePath(QStringLiteral("broken.mdp"));
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a compound file");
    f.close();
    TProfileDB2 db;
    db.SetFileName(name);
    EXPECT_FALSE(db.TryOpen());
    EXPECT_FALSE(db.Active());
    EXPECT_EQ(db.Count(), 0);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("not a compound file"));
}

} // namespace
