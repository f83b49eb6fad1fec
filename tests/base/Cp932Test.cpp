#include "base/Cp932.h"
#include "base/Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vellum;

namespace {

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values) b.append(char(v));
    return b;
}

std::string Hex(const QByteArray& b) { return b.toHex(' ').toStdString(); }

} // namespace

TEST(Cp932, JapaneseTextRoundTrips) {
    const QString text =
        QStringLiteral("株式会社ヴェラム 名刺 〒100-0001 東京都千代田区 ｶﾀｶﾅ ①Ⅲ㈱ 髙﨑 ABC\\~");
    const QByteArray bytes = cp932::Encode(text);
    EXPECT_EQ(cp932::Decode(bytes), text);
    EXPECT_EQ(cp932::TryEncode(text), bytes);
    EXPECT_EQ(cp932::ByteLength(text), bytes.size());
    EXPECT_TRUE(cp932::CanEncode(text));
    EXPECT_EQ(cp932::Encode(QString()), QByteArray());
    EXPECT_EQ(cp932::Decode(QByteArray()), QString());
}

TEST(Cp932, CodePageMappings) {
    // The Windows code page, not JIS Shift_JIS: 0x5C is a backslash, 0x8160 the full-width tilde.
    struct Case {
        char16_t unicode;
        QByteArray bytes;
    } cases[] = {
        {u'\\', Bytes({0x5C})},
        {u'~', Bytes({0x7E})},
        {u'あ', Bytes({0x82, 0xA0})},
        {u'ｱ', Bytes({0xB1})},
        {u'ﾟ', Bytes({0xDF})},
        {u'\uFF5E', Bytes({0x81, 0x60})}, // FULLWIDTH TILDE
        {u'\uFF3C', Bytes({0x81, 0x5F})}, // FULLWIDTH REVERSE SOLIDUS
        {u'\u2225', Bytes({0x81, 0x61})}, // PARALLEL TO
        {u'\uFF0D', Bytes({0x81, 0x7C})}, // FULLWIDTH HYPHEN-MINUS
        {u'\uFFE2', Bytes({0x81, 0xCA})}, // FULLWIDTH NOT SIGN
        {u'①', Bytes({0x87, 0x40})},
        {u'ⅰ', Bytes({0xFA, 0x40})},
        {u'髙', Bytes({0xFB, 0xFC})},
        {u'\uE000', Bytes({0xF0, 0x40})}, // user-defined area
    };
    for (const auto& c : cases) {
        const QString s(QChar(c.unicode));
        EXPECT_EQ(Hex(cp932::Encode(s)), Hex(c.bytes)) << std::hex << int(c.unicode);
        EXPECT_EQ(cp932::Decode(c.bytes), s) << Hex(c.bytes);
    }
}

TEST(Cp932, DuplicateCodesDecodeToTheCharacterWindowsWrites) {
    // Two codes for one character: both decode, the text survives, encoding picks one.
    struct Case {
        QByteArray bytes;
        char16_t unicode;
        QByteArray written;
    } cases[] = {
        {Bytes({0x87, 0x90}), u'≒', Bytes({0x81, 0xE0})},
        {Bytes({0xED, 0x40}), u'纊', Bytes({0xFA, 0x5C})},
        {Bytes({0xEE, 0xEF}), u'ⅰ', Bytes({0xFA, 0x40})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp932::Decode(c.bytes), QString(QChar(c.unicode))) << Hex(c.bytes);
        EXPECT_EQ(Hex(cp932::Encode(QString(QChar(c.unicode)))), Hex(c.written)) << Hex(c.bytes);
    }
    // Variant forms fold into the code page's character instead of failing.
    EXPECT_EQ(Hex(cp932::Encode(QStringLiteral("\u301C"))), Hex(Bytes({0x81, 0x60}))); // WAVE DASH
}

TEST(Cp932, UndecodableBytesSurviveByteForByte) {
    struct Case {
        QByteArray bytes;
        int escapes; // how many characters of the decoded text are kept bytes
    } cases[] = {
        {Bytes({0x80}), 1},
        {Bytes({0xA0}), 1},
        {Bytes({0xFD}), 1},
        {Bytes({0xFE}), 1},
        {Bytes({0xFF}), 1},
        {Bytes({'A', 0x82}), 1},        // lead byte at the end
        {Bytes({0x82, 0xA0, 0x81}), 1}, // after a good character
        {Bytes({0x81, 0x20, 'x'}), 1},  // invalid trail byte: only the lead is kept
        {Bytes({0x81, 0x0A}), 1},
        {Bytes({0x85, 0x40}), 2},       // unassigned pair
        {Bytes({0x85, 0x81, 0x40}), 2}, // a lead byte keeps its trail byte with it
        {Bytes({0x85, 0x82, 0xA0}), 3},
        {Bytes({0xA0, 0x40}), 1},
        {Bytes({'a', 0x80, 0x82, 0xA0, 0xFF, 0xB1, 0xFC}), 3},
    };
    for (const auto& c : cases) {
        const QString text = cp932::Decode(c.bytes);
        int escapes = 0;
        for (QChar ch : text)
            if (ch.unicode() >= 0xDC00 && ch.unicode() <= 0xDCFF) ++escapes;
        EXPECT_EQ(escapes, c.escapes) << Hex(c.bytes);
        EXPECT_EQ(Hex(cp932::Encode(text)), Hex(c.bytes));
        EXPECT_TRUE(cp932::CanEncode(text)) << Hex(c.bytes);
        EXPECT_EQ(cp932::ByteLength(text), c.bytes.size()) << Hex(c.bytes);
        EXPECT_EQ(cp932::Decode(cp932::Encode(text)), text) << Hex(c.bytes);
    }
    EXPECT_EQ(cp932::Decode(Bytes({0x80})), QString(QChar(char16_t(0xDC80))));
}

TEST(Cp932, UnencodableTextIsReportedNotChanged) {
    struct Case {
        QString text;
        int index;
    } cases[] = {
        {QStringLiteral("😀"), 0},
        {QStringLiteral("한"), 0},
        {QStringLiteral("名刺한"), 2},
        {QStringLiteral("ab😀cd"), 2},
        {QStringLiteral("あ\u00A6"), 1},       // BROKEN BAR
        {QStringLiteral("x\U0001F480"), 1},    // its low surrogate U+DC80 must not pass for a kept byte
        {QStringLiteral("x\U00020000"), 1},    // low surrogate U+DC00
        {QString(QChar(char16_t(0xD800))), 0}, // lone high surrogate
        {QString(QChar(char16_t(0xDD00))), 0}, // lone low surrogate outside the kept bytes
        {QStringLiteral("a") + QChar(char16_t(0xDC80)) + QStringLiteral("한"), 2},
    };
    for (const auto& c : cases) {
        const std::string what = c.text.toStdString();
        EXPECT_EQ(cp932::TryEncode(c.text), std::nullopt) << what;
        EXPECT_EQ(cp932::FirstUnencodable(c.text), c.index) << what;
        EXPECT_FALSE(cp932::CanEncode(c.text)) << what;
        EXPECT_THROW(cp932::Encode(c.text), EEncodingError) << what;
    }
    try {
        cp932::Encode(QStringLiteral("名刺한"));
        FAIL();
    } catch (const EEncodingError& e) {
        EXPECT_TRUE(e.Message().contains(u'한')) << e.what();
    }
    EXPECT_EQ(cp932::FirstUnencodable(QStringLiteral("名刺")), -1);
}

TEST(Cp932, LeadBytesAndByteLengths) {
    struct Lead {
        int byte;
        bool lead;
    } leads[] = {{0x00, false}, {0x41, false}, {0x7F, false}, {0x80, false}, {0x81, true},
                 {0x9F, true},  {0xA0, false}, {0xA1, false}, {0xDF, false}, {0xE0, true},
                 {0xEF, true},  {0xFC, true},  {0xFD, false}, {0xFF, false}};
    for (const auto& l : leads)
        EXPECT_EQ(cp932::IsLeadByte((unsigned char)l.byte), l.lead) << std::hex << l.byte;

    struct Length {
        QString text;
        int bytes;
    } lengths[] = {
        {QString(), 0},
        {QStringLiteral("A"), 1},
        {QStringLiteral("ｱ"), 1},
        {QStringLiteral("ﾊﾟ"), 2},
        {QStringLiteral("漢"), 2},
        {QStringLiteral("～"), 2},
        {QStringLiteral("A漢ｱ字"), 6},
        {QString(QChar(char16_t(0xDC80))), 1},
    };
    for (const auto& l : lengths) {
        EXPECT_EQ(cp932::ByteLength(l.text), l.bytes) << l.text.toStdString();
        if (l.text.size() == 1) {
            EXPECT_EQ(cp932::IsDoubleByte(l.text[0]), l.bytes == 2) << l.text.toStdString();
        }
    }
    EXPECT_FALSE(cp932::IsDoubleByte(QChar(u'\\')));
}
