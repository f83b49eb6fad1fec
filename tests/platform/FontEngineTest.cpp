#include "platform/FontEngine.h"
#include "platform/Font.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

// Tests of the real engine need the IPA faces (fonts-ipafont).
class FontEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!FontEngine().IsInstalled(QStringLiteral("IPAPGothic")) ||
            !FontEngine().IsInstalled(QStringLiteral("IPAMincho")))
            GTEST_SKIP() << "the IPA fonts are not installed (Debian package fonts-ipafont)";
    }
    static TFontRequest Request(const char* face, int32_t pixels) {
        return TFontRequest{QString::fromUtf8(face), pixels};
    }
};

TEST(FontSizeTest, EmPixelsOnTheMeasuringSurface) {
    TPointBasedFont font;
    const std::pair<int, int> sizes[] = {{8, 28}, {10, 35}, {12, 42}, {24, 85}, {72, 254}};
    for (auto [points, pixels] : sizes) {
        font.SetSize(points);
        EXPECT_EQ(font.PixelSizeAt(254), pixels) << points << " pt";
    }
}

TEST_F(FontEngineTest, CellHeightFollowsTheWindowsMetrics) {
    // usWinAscent + usWinDescent each scaled and rounded; the hhea line would give 85.
    EXPECT_EQ(FontEngine().Metrics(Request("IPAPGothic", 85)).Height(), 92);
    const TFontMetrics m = FontEngine().Metrics(Request("IPAPGothic", 85));
    EXPECT_GT(m.Ascent, m.Descent);
    EXPECT_TRUE(m.HasOutlineMetrics);
    EXPECT_LT(m.UnderlinePosition, 0);
}

TEST_F(FontEngineTest, WindowsNamesResolveToFacesOfTheSameStyle) {
    const std::pair<const char*, const char*> cases[] = {
        {"ＭＳ Ｐゴシック", "IPAPGothic"}, {"ＭＳ ゴシック", "IPAGothic"}, {"ＭＳ Ｐ明朝", "IPAPMincho"},
        {"ＭＳ 明朝", "IPAMincho"},        {"@ＭＳ 明朝", "@IPAMincho"},   {"ipa明朝", "IPAMincho"},
        {"標準明朝", "IPAPMincho"},        {"No Such Face", "IPAPGothic"},
    };
    for (auto [name, face] : cases)
        EXPECT_EQ(FontEngine().Resolve(QString::fromUtf8(name)), QString::fromUtf8(face)) << name;
    const QStringList names = FontEngine().FaceNames();
    EXPECT_TRUE(names.contains(QStringLiteral("@IPAMincho")));
    EXPECT_TRUE(names.contains(QStringLiteral("IPAMincho")));
    EXPECT_FALSE(names.contains(QStringLiteral("ＭＳ 明朝")));
    EXPECT_EQ(FontEngine().Charset(QStringLiteral("IPAMincho")), kShiftJisCharset);
}

TEST_F(FontEngineTest, WidthsAddUpToTheAdvance) {
    const TFontRequest request = Request("IPAMincho", 85);
    // A fixed-pitch Japanese face: full-width characters one em, half-width half.
    EXPECT_EQ(FontEngine().CharABC(request, U'日').Advance(), 85);
    EXPECT_EQ(FontEngine().CharABC(request, U'A').Advance(), 43);
    const TABC a = FontEngine().CharABC(request, U'A');
    EXPECT_GT(a.B, 0);
    const TABC space = FontEngine().CharABC(request, U' ');
    EXPECT_EQ(space.B, 0);
    EXPECT_EQ(space.Advance(), 43);
}

TEST_F(FontEngineTest, VerticalFacesStandKanaUprightInTheirVerticalForms) {
    const TFontRequest across = Request("IPAMincho", 85), down = Request("@IPAMincho", 85);
    // Brackets and the long vowel mark take their vertical forms, which are the horizontal
    // shapes turned a quarter: along the column they lie as the horizontal ones lie along the line.
    for (char32_t c : {U'「', U'」', U'ー', U'（'}) {
        const QRectF h = FontEngine().Outline(across, c).boundingRect();
        const QRectF v = FontEngine().Outline(down, c).boundingRect();
        EXPECT_NEAR(v.width() / v.height(), h.width() / h.height(), 0.5 * h.width() / h.height())
            << uint32_t(c) << " " << v.width() << "x" << v.height() << " " << h.width() << "x" << h.height();
    }
    // Their vertical forms put the full stop and comma in the cell's top right corner.
    for (char32_t c : {U'。', U'、'}) {
        const QRectF h = FontEngine().Outline(across, c).boundingRect();
        const QRectF v = FontEngine().Outline(down, c).boundingRect();
        EXPECT_GT(h.center().y(), 85 / 2) << uint32_t(c);
        EXPECT_LT(v.center().x(), 85 / 2) << uint32_t(c); // near the column's right edge
        EXPECT_LT(v.center().y(), 85 / 2) << uint32_t(c); // near the cell's top
    }
    // An ideograph has no vertical form: upright, the same shape, centred across the column.
    const QRectF h = FontEngine().Outline(across, U'日').boundingRect();
    const QRectF v = FontEngine().Outline(down, U'日').boundingRect();
    EXPECT_NEAR(h.width(), v.height(), 1);
    EXPECT_NEAR(h.height(), v.width(), 1);
    // Latin letters turn 90 degrees clockwise: the letter's height runs across the column.
    const QRectF a = FontEngine().Outline(down, U'A').boundingRect();
    const QRectF ah = FontEngine().Outline(across, U'A').boundingRect();
    EXPECT_DOUBLE_EQ(a.width(), ah.width());
    EXPECT_EQ(FontEngine().CharABC(down, U'A'), FontEngine().CharABC(across, U'A'));
}

TEST_F(FontEngineTest, BackslashShowsAsYenAndMissingCharactersFallBack) {
    const TFontRequest request = Request("IPAGothic", 85);
    EXPECT_EQ(FontEngine().Outline(request, U'\\'), FontEngine().Outline(request, U'¥'));
    // A face without the character borrows it, measured and drawn alike.
    const TFontRequest latin = Request("IPAGothic", 85);
    const TABC abc = FontEngine().CharABC(latin, U'丂');
    EXPECT_EQ(abc.B > 0, !FontEngine().Outline(latin, U'丂').isEmpty());
}

TEST_F(FontEngineTest, SyntheticBoldAndItalic) {
    TFontRequest plain = Request("IPAGothic", 85), bold = plain, italic = plain;
    bold.Bold = true;
    italic.Italic = true;
    EXPECT_GT(FontEngine().CharABC(bold, U'I').B, FontEngine().CharABC(plain, U'I').B);
    EXPECT_GT(FontEngine().Outline(italic, U'I').boundingRect().width(),
              FontEngine().Outline(plain, U'I').boundingRect().width());
}

} // namespace
} // namespace vellum
