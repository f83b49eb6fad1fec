#include "base/WidthConversions.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

struct TCase {
    const char* Input;
    const char* Expected;
};

TEST(WidthConversionsTest, HalfToFullWidth) {
    const TCase cases[] = {
        {"2005", "２００５"},
        {"ｶﾞｳﾞﾌﾟ", "ガヴプ"},
        // A mark the kana cannot take stays a mark after the converted kana.
        {"ｱﾞ", "ア゛"},
        {"ﾟ", "゜"},
        {"A-z \\*~", "Ａ－ｚ ￥×″"},
        {"｢ｶﾅ｣", "「カナ」"},
        {"漢字ａ", "漢字ａ"},
        {"", ""},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(HalfToFullWidth(QString::fromUtf8(c.Input)), QString::fromUtf8(c.Expected)) << c.Input;
    EXPECT_EQ(HalfToFullWidth(QStringLiteral("-12"), u'-'), QStringLiteral("-１２"));
}

TEST(WidthConversionsTest, FullToHalfWidthAndKana) {
    const TCase cases[] = {
        {"ガ", "ｶﾞ"},         {"が", "ｶﾞ"}, {"ヴ", "ｳﾞ"},     {"パぽ", "ﾊﾟﾎﾟ"}, {"ヵヶ", "ｶｹ"},
        {"ＡＢ１！", "AB1!"}, {"￥", "\\"}, {"漢字", "漢字"}, {"abc", "abc"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(FullToHalfWidth(QString::fromUtf8(c.Input)), QString::fromUtf8(c.Expected)) << c.Input;
    EXPECT_EQ(HiraganaToKatakana(QStringLiteral("ひらがなとカナ、がぱ")),
              QStringLiteral("ヒラガナトカナ、ガパ"));
}

TEST(WidthConversionsTest, DigitsAndBlanks) {
    EXPECT_EQ(DigitsToKanji(HalfToFullWidth(QStringLiteral("2005"))), QStringLiteral("二〇〇五"));
    EXPECT_EQ(DigitsToKanji(QStringLiteral("2005")), QStringLiteral("2005"));
    EXPECT_EQ(TrimBlanks(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    EXPECT_EQ(TrimBlanks(QStringLiteral("　a　")), QStringLiteral("　a　"));
    EXPECT_EQ(TrimBlanks(QStringLiteral("   ")), QString());
}

TEST(WidthConversionsTest, SortKeyCases) {
    const struct {
        QString From;
        QChar Except;
        QString To;
    } cases[] = {
        {"Ab9!~\\*", QChar(), "Ａｂ９！″￥×"},
        {"ｶﾞｷﾟﾊﾟｳﾞ", QChar(), "ガキ゜パヴ"},
        {"ﾌﾞ", QChar(), "ブ"},
        {"ｰｬｶｹ", QChar(), "ーャカケ"},
        {"a b\t", QChar(), "ａ ｂ\t"},
        {"1-2", u'-', "１-２"},
        {"漢字カナかな", QChar(), "漢字カナかな"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.From.toStdString());
        EXPECT_EQ(HalfToFullWidth(c.From, c.Except), c.To);
    }
    EXPECT_EQ(HiraganaToKatakana(QStringLiteral("がっこう ゐゑをん ぱ")),
              QStringLiteral("ガッコウ ヰヱヲン パ"));
    EXPECT_EQ(HiraganaToKatakana(QStringLiteral("ｱ漢A")), QStringLiteral("ｱ漢A"));
}

} // namespace
} // namespace vellum
