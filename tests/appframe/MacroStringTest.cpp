#include "FrameFixture.h"

#include "appframe/MacroString.h"
#include "base/Exceptions.h"

using namespace vellum;
using vellum::test::FrameTest;

namespace {
void Fill(TMacroString& m, std::initializer_list<const char*> lines) {
    for (const char* l : lines) m.Add(QString::fromUtf8(l));
}

QString ErrorOf(TMacroString& m, const QString& text) {
    try {
        m.Expand(text);
    } catch (const EMacroString& e) {
        return e.Message();
    }
    return QStringLiteral("(no error)");
}
} // namespace

TEST(MacroString, Expansion) {
    TMacroString m;
    Fill(m, {"Name=World", "greet=Hello $(NAME)", "Quoted=\"a b\"", "OneQuote=\"", "Inner=Name",
             "Empty=", "Path=/home/user/"});
    struct Case {
        const char* text;
        const char* expected;
    } cases[] = {
        {"plain $ ( text )", "plain $ ( text )"},
        {"$(greet)!", "Hello World!"},
        {"$($(Inner))", "World"}, // the name itself is expanded first
        {"[$(Quoted)]", "[a b]"}, // a quoted value loses its quotes
        {"\"x\"", "x"},           // and so does a quoted result
        {"a\"b\"", "a\"b\""},
        {"$(OneQuote)", "\""}, // a single quote stays
        {"x$(Missing:inessential)y", "xy"},
        {"x$(Empty:UNESSENTIAL)y", "xy"},
        {"$(Path:Drive)", "/"},
        {"$(Path:shortPath)", "/home/user/"},
        {"a)b", "a)b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(m.Expand(QString::fromUtf8(c.text)), QString::fromUtf8(c.expected)) << c.text;
}

TEST(MacroString, ErrorsCarryTheExactMessages) {
    TMacroString m;
    Fill(m, {"A=$(B)", "B=x$(A)", "Self=$(Self)", "Ok=1"});
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"abc$(", "abc$(の5文字目から始まるマクロが閉じていません"},
        {"ab$()", "ab$()の4文字目から始まるマクロが間違っています"},
        {"$(Ok", "$(Okの2文字目から始まるマクロが閉じていません"},
        {"$(Undefined)", "未定義のUndefinedマクロが使用されています"},
        {"$(A)", "A マクロが循環参照されています"},
        {"$(Self)", "Self マクロが循環参照されています"},
        {"$(Ok:Fancy)", "未定義のフォーマット指定(Fancy)が使用されています"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf(m, QString::fromUtf8(c.text)), QString::fromUtf8(c.message)) << c.text;
    // The cycle guard is unwound by the error: the table still works afterwards.
    EXPECT_EQ(m.Expand(QStringLiteral("$(Ok)")), QStringLiteral("1"));
}

TEST_F(FrameTest, BuiltInMacrosAndTheProgramTable) {
    TAppFrame& f = *FFrame;
    const QString home = Path(QStringLiteral("data/vellum4/"));
    struct Case {
        const char* text;
        QString expected;
    } cases[] = {
        {"$(AppName)", QStringLiteral("Vellum4")},
        {"$(ShortVer)", QStringLiteral("4.0")},
        {"$(LongVer)", QStringLiteral("4.0.0.0")},
        {"$(SysMutexID)", QStringLiteral("Vellum4.4.0.Kestrel.Japan")},
        {"$(SysMsgAlreadyRun)", QStringLiteral("Vellum4は、すでに実行中です")},
        {"$(SysRegistryKey)", QStringLiteral("Software\\Quillwork\\Vellum\\4.0\\Settings")},
        {"$(OpenFileHistory)", QStringLiteral("Software\\Quillwork\\Vellum\\4.0\\Settings\\OpenFileHistory")},
        {"$(ExeDir)", home},
        {"$(PaperInfo)", home + QStringLiteral("vellum4.ppr")},
        {"$(ImageCacheFile)", home + QStringLiteral("ImageCache.ic")},
        {"$(ColorSpecHistory)", Path(QStringLiteral("data/Vellum4/4.0/ColorSpec.hst"))},
        {"$(SysKeyFile)", QStringLiteral("vellum4")},
        {"$(TitleBarFormat)", QStringLiteral("Vellum4 - %s")},
        {"a$(CRLF)b$(Quote)", QStringLiteral("a\r\nb\"")},
        {"$(ExeDir:Drive)", QStringLiteral("/")},
    };
    for (const auto& c : cases) EXPECT_EQ(f.Expand(QString::fromUtf8(c.text)), c.expected) << c.text;
    EXPECT_EQ(Expand(QStringLiteral("$(AppName)")),
              QStringLiteral("Vellum4")); // the free function uses the frame
}

TEST(MacroString, FreeExpandWithoutAFrameReturnsTheText) {
    EXPECT_EQ(AppFrame(), nullptr);
    EXPECT_EQ(Expand(QStringLiteral("$(AppName)")), QStringLiteral("$(AppName)"));
}
