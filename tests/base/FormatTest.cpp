#include "base/Format.h"

#include "base/Exceptions.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <string>
#include <vector>

using namespace vellum;

namespace {

struct Case {
    const char* format;
    std::vector<FormatArg> args;
    const char* expected;
};

void ExpectAll(const std::vector<Case>& cases) {
    for (const auto& c : cases)
        EXPECT_EQ(FormatV(QString::fromUtf8(c.format), c.args), QString::fromUtf8(c.expected)) << c.format;
}

// Switches the C and Qt locales to one that writes a decimal comma, for one test.
class GermanLocale {
public:
    GermanLocale() : FOldQt(QLocale()) {
        if (const char* old = std::setlocale(LC_ALL, nullptr)) FOldC = old;
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"})
            if (std::setlocale(LC_ALL, name)) {
                FActive = true;
                break;
            }
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    ~GermanLocale() {
        std::setlocale(LC_ALL, FOldC.c_str());
        QLocale::setDefault(FOldQt);
    }
    bool Active() const { return FActive; }

private:
    QLocale FOldQt;
    std::string FOldC = "C";
    bool FActive = false;
};

const std::vector<Case> kNumberCases = {
    {"%g", {1.5}, "1.5"},
    {"%g", {-1.5}, "-1.5"},
    {"%g", {0.0}, "0"},
    {"%g", {42.0}, "42"},
    {"%g", {0.1 + 0.2}, "0.3"}, // 15 significant digits hide the binary error
    {"%g", {1.0 / 3}, "0.333333333333333"},
    {"%g", {2.0 / 3}, "0.666666666666667"},
    {"%g", {123456789012345.0}, "123456789012345"},
    {"%g", {1e15}, "1E15"}, // more digits than the precision: exponent form
    {"%g", {1234567890123456.0}, "1.23456789012346E15"},
    {"%g", {999999999999999.9}, "1E15"}, // rounding carries into the exponent
    {"%g", {1e20}, "1E20"},
    {"%g", {-2.5e100}, "-2.5E100"},
    {"%g", {1e-20}, "1E-20"},
    {"%g", {1.25e-7}, "1.25E-7"},
    {"%g", {0.001}, "0.001"},
    {"%g", {1.5f}, "1.5"},
    {"%g|%g", {50.0, 0.25}, "50|0.25"},
    {"%f", {1.5}, "1.50"},
    {"%.3f", {-2.0004}, "-2.000"},
    {"%.0f", {2.7}, "3"},
    {"%n", {1234567.891}, "1,234,567.89"},
    {"%e", {1.5}, "1.50000000000000E+000"},
    {"%.3e", {-0.000123456}, "-1.23E-004"},
};

} // namespace

TEST(Format, IntegerStringAndPercentDirectives) {
    ExpectAll({
        {"%s", {"abc"}, "abc"},
        {"%s", {QStringLiteral("名刺")}, "名刺"},
        {"%s", {QChar(u'x')}, "x"},
        {"[%s]", {""}, "[]"},
        {"%d", {0}, "0"},
        {"%d", {-42}, "-42"},
        {"%d", {int64_t(1) << 40}, "1099511627776"},
        {"%d", {uint8_t(200)}, "200"},
        {"%.3d", {7}, "007"},
        {"%.3d", {-7}, "-007"},     // sign before the zeros
        {"%.3d", {12345}, "12345"}, // precision never cuts
        {"%x", {255}, "FF"},        // upper case
        {"%x", {0xABCDEF}, "ABCDEF"},
        {"%.8x", {0x1A2B}, "00001A2B"},
        {"%.8x", {-1}, "FFFFFFFF"}, // a negative int as its 32-bit pattern
        {"%x", {0}, "0"},
        {"%u", {-1}, "4294967295"},
        {"100%%", {}, "100%"},
        {"%d%%", {50}, "50%"},
        {"%%d", {}, "%d"},
        {"a%sb%dc", {"-", 1}, "a-b1c"},
        {"%s", {"%d"}, "%d"}, // arguments are not formats
        {"%D %X %S", {1, 171, "z"}, "1 AB z"},
        {"%d", {1, 2}, "1"}, // surplus arguments are ignored
    });
}

TEST(Format, WidthJustificationAndIndex) {
    ExpectAll({
        {"[%5d]", {42}, "[   42]"},
        {"[%-5d]", {42}, "[42   ]"},
        {"[%5s]", {"ab"}, "[   ab]"},
        {"[%-5s]", {"ab"}, "[ab   ]"},
        {"[%2s]", {"abcdef"}, "[abcdef]"}, // width never cuts
        {"[%6.3d]", {5}, "[   005]"},
        {"[%-6.3d]", {5}, "[005   ]"},
        {"[%.2s]", {"abcdef"}, "[ab]"},
        {"[%6x]", {255}, "[    FF]"},
        {"[%*d]", {4, 7}, "[   7]"},
        {"%1:s %0:s", {"a", "b"}, "b a"},
        {"%0:s%0:s", {"x"}, "xx"},
        {"%1:s%s", {"a", "b", "c"}, "bc"}, // an index moves the following directives on
        {"%0:s-%1:5d", {"n", 3}, "n-    3"},
        {"%1:-4d|", {0, 9}, "9   |"},
    });
}

TEST(Format, GeneralFloatIsShortestWith15Digits) { ExpectAll(kNumberCases); }

TEST(Format, NumbersDoNotFollowTheLocale) {
    GermanLocale german;
    ExpectAll(kNumberCases);
    ExpectAll({{"%d|%.3d|%x|%5d", {1234567, 5, 0xBEEF, -12}, "1234567|005|BEEF|  -12"}});
    EXPECT_EQ(FloatToStr(1.5), QStringLiteral("1.5"));
    EXPECT_EQ(FloatToStr(1e20), QStringLiteral("1E20"));
    if (!german.Active())
        GTEST_SKIP() << "no German C locale installed; only the Qt default locale was changed";
}

TEST(Format, MismatchedOrMissingArgumentsRaise) {
    const std::vector<Case> cases = {
        {"%d", {}, ""},        {"%s %s", {"a"}, ""}, {"%d", {"12"}, ""},
        {"%d", {1.0}, ""},     {"%x", {2.5}, ""},    {"%s", {5}, ""},
        {"%g", {5}, ""}, // no silent int-to-float
        {"%g", {"1.5"}, ""},   {"%", {}, ""},        {"abc%", {1}, ""},
        {"%5", {1}, ""},       {"%q", {1}, ""},      {"%3:s", {"a", "b"}, ""},
        {"%*d", {"4", 7}, ""},
    };
    for (const auto& c : cases)
        EXPECT_THROW(FormatV(QString::fromUtf8(c.format), c.args), EConvertError) << c.format;
}
