#include "base/StringList.h"

#include <gtest/gtest.h>

using namespace vellum;

TEST(StringList, NameValueLinesIgnoreCase) {
    TStringList list(QStringList{QStringLiteral("Width=910"), QStringLiteral("plain line"),
                                 QStringLiteral("Font=ＭＳ 明朝"), QStringLiteral("Expr=a=b"),
                                 QStringLiteral("=anonymous")});
    EXPECT_EQ(list.IndexOfName(QStringLiteral("WIDTH")), 0);
    EXPECT_EQ(list.IndexOfName(QStringLiteral("font")), 2);
    EXPECT_EQ(list.IndexOfName(QStringLiteral("plain line")), -1); // no '=': not a name
    EXPECT_EQ(list.IndexOfName(QStringLiteral("Wid")), -1);
    EXPECT_EQ(list.Values(QStringLiteral("width")), QStringLiteral("910"));
    EXPECT_EQ(list.Values(QStringLiteral("expr")), QStringLiteral("a=b")); // split at the first '='
    EXPECT_EQ(list.Values(QStringLiteral("missing")), QString());
    EXPECT_EQ(list.Names(3), QStringLiteral("Expr"));
    EXPECT_EQ(list.Names(1), QString());
    EXPECT_EQ(list.ValueFromIndex(2), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(list.IndexOf(QStringLiteral("PLAIN LINE")), 1);
    EXPECT_EQ(list.IndexOf(QStringLiteral("plain")), -1);

    list.SetValue(QStringLiteral("WIDTH"), QStringLiteral("550")); // replaces in place
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list.IndexOfName(QStringLiteral("width")), 0);
    EXPECT_EQ(list.Values(QStringLiteral("Width")), QStringLiteral("550"));
    list.SetValue(QStringLiteral("Height"), QStringLiteral("1")); // appends
    EXPECT_EQ(list.Strings(5), QStringLiteral("Height=1"));
    list.SetValue(QStringLiteral("FONT"), QString()); // an empty value removes the line
    EXPECT_EQ(list.IndexOfName(QStringLiteral("Font")), -1);
    EXPECT_EQ(list.Count(), 5);
    list.SetValue(QStringLiteral("Nothing"), QString()); // removing what is missing is no error
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list.Strings(1), QStringLiteral("plain line"));
}

TEST(StringList, TextUsesCrLf) {
    TStringList list;
    EXPECT_EQ(list.Text(), QString());
    list.Add(QStringLiteral("a"));
    list.Add(QString());
    list.Add(QStringLiteral("名刺"));
    EXPECT_EQ(list.Text(), QStringLiteral("a\r\n\r\n名刺\r\n"));

    TStringList back;
    back.SetText(list.Text());
    EXPECT_EQ(back.Items(), list.Items());
}

TEST(StringList, SetTextSplitsAtEveryLineBreak) {
    struct Case {
        QString text;
        QStringList lines;
    } cases[] = {
        {QString(), {}},
        {QStringLiteral("a"), {QStringLiteral("a")}},
        {QStringLiteral("a\r\n"), {QStringLiteral("a")}}, // a final break adds no empty line
        {QStringLiteral("a\n"), {QStringLiteral("a")}},
        {QStringLiteral("a\r"), {QStringLiteral("a")}},
        {QStringLiteral("\r\n"), {QString()}},
        {QStringLiteral("a\r\nb\rc\nd"),
         {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}},
        {QStringLiteral("a\r\n\r\nb\r\n"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        // LF CR is two breaks
        {QStringLiteral("a\n\rb"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {QStringLiteral("a\r\r\nb"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {QStringLiteral(" x = 1 \t\r\n"), {QStringLiteral(" x = 1 \t")}}, // no trimming
    };
    for (const auto& c : cases) {
        TStringList list(QStringList{QStringLiteral("old")});
        list.SetText(c.text);
        EXPECT_EQ(list.Items(), c.lines) << c.text.toStdString();
    }
}
