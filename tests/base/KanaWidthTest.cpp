#include "base/KanaWidth.h"

#include <gtest/gtest.h>

using namespace vellum;

namespace {

TEST(KanaWidth, HalfToFullWidthPairsMarksAndKeepsWhatHasNoFullForm) {
    const struct {
        QString From, Except, To;
    } cases[] = {
        {"Ab9!~\\*", "", "Ａｂ９！″￥×"},
        {"ｶﾞｷﾟﾊﾟｳﾞ", "", "ガキ゜パヴ"},
        {"ﾌﾞ", "", "ブ"},
        {"ｱﾞ", "", "ア゛"},
        {"ｰｬｶｹ", "", "ーャカケ"},
        {"a b\t", "", "ａ ｂ\t"},
        {"1-2", "-", "１-２"},
        {"漢字カナかな", "", "漢字カナかな"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.From.toStdString());
        EXPECT_EQ(HalfToFullWidth(c.From, c.Except), c.To);
    }
}

TEST(KanaWidth, HiraganaBecomeKatakana) {
    EXPECT_EQ(HiraganaToKatakana(QStringLiteral("がっこう ゐゑをん ぱ")),
              QStringLiteral("ガッコウ ヰヱヲン パ"));
    EXPECT_EQ(HiraganaToKatakana(QStringLiteral("ｱ漢A")), QStringLiteral("ｱ漢A"));
}

} // namespace
