#include "base/ComponentDump.h"

#include <gtest/gtest.h>

using namespace vellum;

namespace {
QByteArray Str(const char* s) { return QByteArray(1, char(qstrlen(s))) + s; }
} // namespace

TEST(ComponentDump, ShowsObjectsPropertiesAndChildrenWithoutTheirClasses) {
    QByteArray b = QByteArray("TPF0") + Str("TLORect") + Str("Rect1");
    b += Str("Left") + QByteArray::fromHex("0264");
    b += Str("Cursor") + QByteArray::fromHex("07") + Str("crHandPoint");
    b += Str("Hint") + QByteArray::fromHex("06") + Str("it's");
    b += Str("Ratio") + QByteArray::fromHex("0500000000000000C0FF3F");
    b += Str("Appendix.Strings") + QByteArray::fromHex("0106") + Str("a") + QByteArray::fromHex("00");
    b += Str("Style") + QByteArray::fromHex("0B") + Str("fsBold") + QByteArray::fromHex("00");
    b += Str("Data") + QByteArray::fromHex("0A03000000010203");
    b += QByteArray::fromHex("00") + Str("TDOGroup") + Str("") + QByteArray::fromHex("0000") +
         QByteArray::fromHex("00");
    EXPECT_EQ(DumpComponentBytes(b), QStringLiteral("object Rect1: TLORect\n"
                                                    "  Left = 100\n"
                                                    "  Cursor = crHandPoint\n"
                                                    "  Hint = 'it''s'\n"
                                                    "  Ratio = 1.5\n"
                                                    "  Appendix.Strings = (\n"
                                                    "    'a'\n"
                                                    "  )\n"
                                                    "  Style = [fsBold]\n"
                                                    "  Data = {3 バイト} 010203\n"
                                                    "  object <>: TDOGroup\n"
                                                    "  end\n"
                                                    "end\n"));
    // A damaged stream shows what could be read and where it stopped.
    const QString cut = DumpComponentBytes(b.left(30));
    EXPECT_TRUE(cut.startsWith(QStringLiteral("object Rect1: TLORect\n  Left = 100\n"))) << cut.toStdString();
    EXPECT_TRUE(cut.contains(QStringLiteral("!! 不正なストリーム フォーマット"))) << cut.toStdString();
}
