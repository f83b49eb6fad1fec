#include "profile/CSVData.h"

#include "base/Cp932.h"
#include "base/Exceptions.h"
#include "base/Stream.h"
#include "profile/CSVStringList.h"
#include "profile/GenericCSVAccess.h"

#include <gtest/gtest.h>

using namespace vellum;

namespace {

QByteArray Saved(TCSVData& data) {
    TMemoryStream s;
    data.SaveToStream(s);
    return s.Data();
}

void LoadBytes(TCSVData& data, const QByteArray& bytes) {
    TMemoryStream s(bytes);
    data.LoadFromStream(s);
}

TEST(CSVLine, FieldsAreQuotedOnlyWhenTheyMustBe) {
    const struct {
        QStringList Fields;
        QString Line;
    } cases[] = {
        {{"a", "b"}, "a,b"},
        {{"a,b"}, "\"a,b\""},
        {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
        {{""}, "\"\""},
        {{" x"}, "\" x\""},
        {{"a", ""}, "a,"},
        {{"", "", "c"}, ",,c"},
        {{"tab\there"}, "\"tab\there\""},
        {{"髙﨑①～", "ｱｲ"}, "髙﨑①～,ｱｲ"},
        {{}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Line.toStdString());
        EXPECT_EQ(CSVLine(c.Fields), c.Line);
        // Reading back gives the fields, but a trailing empty one, which the line drops.
        QStringList expected = c.Fields;
        if (expected.size() > 1 && expected.back().isEmpty()) expected.removeLast();
        EXPECT_EQ(ParseCSVLine(c.Line), expected);
    }
}

TEST(CSVLine, ParsingSkipsControlsAndNeverRunsAway) {
    const struct {
        QString Line;
        QStringList Fields;
    } cases[] = {
        {"a\tb", {"a", "b"}},
        {",,", {"", ""}},
        {"a,", {"a"}},
        {"\t\x01 a , b", {" a ", " b"}},
        {"\"a\"\"b\",c", {"a\"b", "c"}},
        {"\"a\"b,c", {"a", "b", "c"}},
        // An unterminated quote runs to the end of the line.
        {"x,\"open, still open", {"x", "open, still open"}},
        // A NUL ends the line (the reader would otherwise stand still there).
        {QString("a,b") + QChar(0) + QString(",c"), {"a", "b"}},
        {QString(QChar(0)) + "a", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Line.toStdString());
        EXPECT_EQ(ParseCSVLine(c.Line), c.Fields);
    }
}

TEST(CSVStringList, ReadsEmptyPastTheEndAndPadsSilentlyOnWrite) {
    TCSVStringList list;
    int changes = 0;
    list.OnChange = [&changes] { ++changes; };
    EXPECT_EQ(list.Get(5), QString());
    EXPECT_EQ(list.Get(-1), QString());
    list.Put(3, QStringLiteral("d"));
    EXPECT_EQ(list.Items(), (QStringList{"", "", "", "d"}));
    EXPECT_EQ(changes, 1);
    list.SetLineSilently(u"x,y");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.Line(), QStringLiteral("x,y"));
}

TEST(CSVData, RowsAreCheckedParsedAndWrittenBack) {
    TCSVData data;
    LoadBytes(data, "a,b\r\nc\rd,\"e,f\"\n");
    ASSERT_EQ(data.Count(), 3);
    EXPECT_FALSE(data.Changed());
    for (int bad : {-1, 3}) {
        try {
            data.Row(bad);
            ADD_FAILURE() << bad;
        } catch (const ECSVDataBase& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Out Of Index"));
        }
    }
    EXPECT_THROW(data.SetRow(-1, {}), ECSVDataBase);
    EXPECT_EQ(data.Row(2).Items(), (QStringList{"d", "e,f"}));
    data.Row(1).Put(2, QStringLiteral("z"));
    EXPECT_TRUE(data.Changed());
    EXPECT_EQ(data.Lines().Strings(1), QStringLiteral("c,,z"));
    data.SetRow(0, {"x y"});
    EXPECT_EQ(Saved(data), QByteArray("\"x y\"\r\nc,,z\r\nd,\"e,f\"\r\n"));
    EXPECT_FALSE(data.Changed());
}

TEST(CSVData, TitleMovesOutOfAndBackIntoTheLines) {
    TCSVData data;
    LoadBytes(data, cp932::Encode(QStringLiteral("氏名,TEL\r\n山田,03\r\n")));
    data.SetHasTitle(true);
    EXPECT_EQ(data.Title().Items(), (QStringList{"氏名", "TEL"}));
    EXPECT_EQ(data.Count(), 1);
    EXPECT_EQ(data.MaxColumnCount(), 2);
    EXPECT_EQ(Saved(data), cp932::Encode(QStringLiteral("氏名,TEL\r\n山田,03\r\n")));
    data.SetHasTitle(false);
    EXPECT_EQ(data.Lines().Strings(0), QStringLiteral("氏名,TEL"));
    EXPECT_TRUE(data.Title().Items().isEmpty());

    // Loading with a title kept takes the first line only when another follows.
    TCSVData titled;
    titled.SetHasTitle(true);
    LoadBytes(titled, "only\r\n");
    EXPECT_EQ(titled.Count(), 1);
    LoadBytes(titled, "t\r\nrow\r\n");
    EXPECT_EQ(titled.Title().Items(), QStringList{"t"});
    EXPECT_EQ(titled.Count(), 1);
}

TEST(CSVData, EncodingFollowsTheByteOrderMark) {
    TCSVData data;
    LoadBytes(data, "\xEF\xBB\xBF" + QStringLiteral("髙,①").toUtf8() + "\r\n");
    EXPECT_EQ(data.Encoding(), TCSVEncoding::Utf8);
    EXPECT_EQ(data.Row(0).Items(), (QStringList{"髙", "①"}));
    EXPECT_EQ(Saved(data), "\xEF\xBB\xBF" + QStringLiteral("髙,①\r\n").toUtf8());
    LoadBytes(data, cp932::Encode(QStringLiteral("髙,①\r\n")));
    EXPECT_EQ(data.Encoding(), TCSVEncoding::Cp932);
    EXPECT_EQ(data.Row(0).Items(), (QStringList{"髙", "①"}));
    // A character the code page lacks is refused, never replaced.
    data.SetRow(0, {QStringLiteral("🍣")});
    EXPECT_THROW(Saved(data), EEncodingError);
}

TEST(CSVData, SortAndFindByColumn) {
    TCSVData data;
    data.AssignLines({"3,c", "1", "2,a", "0,b"});
    data.Sort(1);
    EXPECT_EQ(data.Lines().Items(), (QStringList{"1", "2,a", "0,b", "3,c"}));
    EXPECT_TRUE(data.Changed());
    EXPECT_EQ(data.Find(1, QStringLiteral("b")), 2);
    EXPECT_EQ(data.Find(1, QStringLiteral("B")), -1);
    EXPECT_EQ(data.Find(5, QString()), 0);
    data.OnCompare = [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive); };
    EXPECT_EQ(data.Find(1, QStringLiteral("B")), 2);
    try {
        data.Find(-1, QString());
        ADD_FAILURE();
    } catch (const ECSVDataBase& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Out Of Index in Find"));
    }
}

TEST(GenericCSVAccess, MappedImportAndExportReportProgressAndStopWhenCancelled) {
    TCSVData data;
    data.AssignLines({"a,b,c", "d", "e,f,g"});
    std::vector<QStringList> stored;
    std::vector<std::pair<int, int>> progress;
    TGenericCSVAccess access;
    access.Mapping = std::vector<int>{2, TGenericCSVAccess::kUnmapped, 0, TGenericCSVAccess::kUnmapped};
    access.Store = [&](int, const QStringList& row) { stored.push_back(row); };
    access.Progress = [&](int done, int total) { progress.emplace_back(done, total); };
    access.Cancelled = [&] { return stored.size() == 2; };
    EXPECT_FALSE(access.ImportRows(data));
    // Entries after the last mapped one are absent; a missing column is empty.
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0], (QStringList{"c", "", "a"}));
    EXPECT_EQ(stored[1], (QStringList{"", "", "d"}));
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}}));

    TCSVData out;
    TGenericCSVAccess exporter;
    exporter.RecordCount = 2;
    exporter.Fetch = [](int i) { return QStringList{QString::number(i), "x,y"}; };
    EXPECT_TRUE(exporter.ExportRows(out));
    EXPECT_EQ(out.Lines().Items(), (QStringList{"0,\"x,y\"", "1,\"x,y\""}));
}

} // namespace
