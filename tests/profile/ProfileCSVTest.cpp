#include "profile/ProfileCSV.h"

#include "base/Cp932.h"
#include "base/Exceptions.h"
#include "base/Stream.h"
#include "profile/GenericCSVAccess.h"
#include "profile/ProfileDB2.h"
#include "profile/ProfileFields.h"
#include "profile/ProfileInfo2.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace vellum;

namespace {

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Values that test the quoting and the code page: rare kanji, circled
// numbers, the wave dash, quotes, commas, leading spaces and empty fields.
QString ValueFor(int profile, int field) {
    static const QStringList samples{
        QStringLiteral("山田 太郎"),    QStringLiteral("やまだ たろう"),
        QStringLiteral("髙橋"),         QStringLiteral("山﨑"),
        QStringLiteral("①番地"),        QStringLiteral("9:00～17:00"),
        QStringLiteral("\"株式会社\""), QStringLiteral("東京都,港区"),
        QStringLiteral(" 先頭空白"),    QString(),
        QStringLiteral("ｶﾀｶﾅ"),         QStringLiteral("user@example.jp"),
    };
    return samples[(profile * 7 + field) % samples.size()] +
           (field == 1 ? QString::number(profile) : QString());
}

struct ProfileCSVTest : ::testing::Test {
    QTemporaryDir Tmp;
    TProfileDB2 DB;
    void SetUp() override { Open(DB, QStringLiteral("db.mdp")); }
    void Open(TProfileDB2& db, const QString& name) {
        db.SetFileName(Tmp.filePath(name));
        db.Open();
    }
    void Fill(int count) {
        DB.BeginUpdate();
        for (int i = 0; i < count; ++i) {
            TProfileInfo2 p;
            p.Clear();
            p.SetValue(kMergeMarkField, MergeMark());
            for (int k = 1; k < kProfileFieldCount; ++k) p.SetValue(k, ValueFor(i, k));
            DB.Add(p);
        }
        DB.EndUpdate();
    }
    int Import(TProfileDB2& db, const QString& file, TCSVImportOptions options, bool byTitle = false) {
        TCSVData data;
        LoadCSVFile(data, file);
        if (byTitle) options.Mapping = MappingByTitle(data.Row(0).Items());
        return ImportProfiles(db, data, options);
    }
};

TEST_F(ProfileCSVTest, ExportReimportsByteForByteInBothEncodings) {
    Fill(1000);
    for (const TCSVEncoding encoding : {TCSVEncoding::Cp932, TCSVEncoding::Utf8}) {
        SCOPED_TRACE(int(encoding));
        const QString first = Tmp.filePath(QStringLiteral("first.csv"));
        const QString second = Tmp.filePath(QStringLiteral("second.csv"));
        QFile::remove(first);
        EXPECT_EQ(ExportProfiles(DB, first, {true, encoding}), 1000);
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(first).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        const QByteArray bytes = ReadFile(first);
        const QByteArray title =
            (encoding == TCSVEncoding::Utf8 ? QByteArray("\xEF\xBB\xBF") : QByteArray()) +
            (encoding == TCSVEncoding::Utf8 ? QStringLiteral("氏名,ふりがな").toUtf8()
                                            : cp932::Encode(QStringLiteral("氏名,ふりがな")));
        EXPECT_TRUE(bytes.startsWith(title));
        EXPECT_TRUE(bytes.endsWith("\r\n"));

        TProfileDB2 back;
        Open(back, QStringLiteral("back%1.mdp").arg(int(encoding)));
        // The title line maps all 55 columns and, skipped, is no profile.
        TCSVData data;
        LoadCSVFile(data, first);
        const std::vector<int> mapping = MappingByTitle(data.Row(0).Items());
        for (int k = 0; k < kCSVFieldCount; ++k) EXPECT_EQ(mapping[size_t(k)], k);
        EXPECT_EQ(ImportProfiles(back, data, {true, false, mapping}), 1000);
        ASSERT_EQ(back.Count(), 1000);
        TProfileInfo2 a, b;
        for (int i = 0; i < 1000; i += 111) {
            DB.ReadHeader(i, a);
            back.ReadHeader(i, b);
            EXPECT_FALSE(a.SameProfile(b));
            EXPECT_EQ(b.GetValue(kMergeMarkField), QString());
            EXPECT_EQ(a.Values().mid(1), b.Values().mid(1));
        }
        EXPECT_EQ(ExportProfiles(back, second, {true, encoding}), 1000);
        EXPECT_EQ(ReadFile(second), bytes);
    }
}

TEST_F(ProfileCSVTest, ImportAppendsSkipsClearsAndIgnoresColumnsPast55) {
    DB.Add(TProfileInfo2()); // the empty default profile stays first
    const QString file = Tmp.filePath(QStringLiteral("in.csv"));
    QStringList wide;
    for (int c = 0; c < 60; ++c) wide << QStringLiteral("v%1").arg(c);
    WriteFile(file,
              cp932::Encode(QStringLiteral("氏名,住所１\r\n") + wide.join(u',') + QStringLiteral("\r\n")));

    EXPECT_EQ(Import(DB, file, {}), 2);
    ASSERT_EQ(DB.Count(), 3);
    TProfileInfo2 p;
    DB.ReadHeader(2, p);
    EXPECT_EQ(p.ValueCount(), kProfileFieldCount);
    EXPECT_EQ(p.GetValue(1), QStringLiteral("v0"));
    EXPECT_EQ(p.GetValue(55), QStringLiteral("v54"));

    // By title, skipping the title, after clearing.
    EXPECT_EQ(Import(DB, file, {true, true, std::nullopt}, true), 1);
    ASSERT_EQ(DB.Count(), 1);
    DB.ReadHeader(0, p);
    EXPECT_EQ(p.GetValue(1), QStringLiteral("v0"));
    EXPECT_EQ(p.GetValue(6), QStringLiteral("v1"));
    EXPECT_EQ(p.GetValue(2), QString());
}

TEST_F(ProfileCSVTest, CancellingKeepsTheRowsStored) {
    TCSVData data;
    data.AssignLines({"a", "b", "c", "d"});
    int asked = 0;
    EXPECT_EQ(ImportProfiles(DB, data, {}, {{}, [&asked] { return ++asked == 2; }}), 2);
    EXPECT_EQ(DB.Count(), 2);
}

TEST_F(ProfileCSVTest, CharactersAFileCannotHoldAreReportedByNameBeforeAnythingIsLost) {
    // UTF-8 import of a character the database's code page lacks: nothing is imported.
    const QString file = Tmp.filePath(QStringLiteral("utf8.csv"));
    WriteFile(file, "\xEF\xBB\xBF" + QStringLiteral("髙橋,ok\r\n吉野,🍣\r\n").toUtf8());
    try {
        Import(DB, file, {});
        ADD_FAILURE() << "imported";
    } catch (const ECSVDataBase& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("2行目の「ふりがな」")));
        EXPECT_TRUE(e.Message().contains(QStringLiteral("🍣")));
    }
    EXPECT_EQ(DB.Count(), 0);

    // A byte the code page reader kept undecoded cannot go into UTF-8.
    TProfileInfo2 p;
    p.Clear();
    p.SetValue(1, QStringLiteral("佐藤"));
    p.SetValue(23, cp932::Decode(QByteArray("\x82\xA0\xFF", 3)));
    DB.Add(p);
    const QString out = Tmp.filePath(QStringLiteral("out.csv"));
    try {
        ExportProfiles(DB, out, {false, TCSVEncoding::Utf8});
        ADD_FAILURE() << "exported";
    } catch (const ECSVDataBase& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("1件目のプロフィール（佐藤）の「会社名」")));
    }
    EXPECT_FALSE(QFile::exists(out));
    // The code page keeps it as it was.
    EXPECT_EQ(ExportProfiles(DB, out, {false, TCSVEncoding::Cp932}), 1);
    EXPECT_TRUE(ReadFile(out).contains(QByteArray("\x82\xA0\xFF", 3)));
}

} // namespace
