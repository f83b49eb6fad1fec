#include "platform/RegistryStore.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vellum;

class RegistryStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file() const { return dir.path() + QStringLiteral("/sub/HKCU.reg"); }
};

TEST_F(RegistryStoreTest, ValuesSurviveAReopenWithTheirTypes) {
    const QString key = QStringLiteral("Software\\Quillwork\\Vellum\\4.0\\Settings");
    const QString tricky = QStringLiteral("C:\\path \"quoted\"\r\n二行目 = ; [x]");
    {
        TRegistryStore reg(file());
        reg.WriteString(key, QStringLiteral("CDPath"), tricky);
        reg.WriteInteger(key, QStringLiteral("Limit"), -2);
        reg.WriteBinary(key, QStringLiteral("Blob"), QByteArray("\x00\xFF\x10", 3));
        reg.WriteString(key, QString(), QStringLiteral("default"));
    }
    TRegistryStore reg(file());
    EXPECT_EQ(reg.ReadString(key, QStringLiteral("cdpath")), tricky); // names ignore case
    EXPECT_EQ(reg.ReadInteger(key.toLower(), QStringLiteral("Limit")), -2);
    EXPECT_EQ(reg.ReadBinary(key, QStringLiteral("Blob")), QByteArray("\x00\xFF\x10", 3));
    EXPECT_EQ(reg.ReadString(key, QString()), QStringLiteral("default"));
    // A value of another type reads as missing rather than as garbage.
    EXPECT_FALSE(reg.ReadInteger(key, QStringLiteral("CDPath")).has_value());
    EXPECT_FALSE(reg.ReadString(key, QStringLiteral("Missing")).has_value());
    EXPECT_TRUE(reg.KeyExists(QStringLiteral("Software\\Quillwork")));
}

TEST_F(RegistryStoreTest, DeleteKeyTakesSubkeysAndLeavesSiblings) {
    TRegistryStore reg(file());
    reg.WriteString(QStringLiteral("A\\B"), QStringLiteral("v"), QStringLiteral("1"));
    reg.WriteString(QStringLiteral("A\\B\\C"), QStringLiteral("v"), QStringLiteral("2"));
    reg.WriteString(QStringLiteral("A\\BB"), QStringLiteral("v"), QStringLiteral("3"));
    EXPECT_EQ(reg.KeyNames(QStringLiteral("A")), (QStringList{QStringLiteral("B"), QStringLiteral("BB")}));
    reg.DeleteKey(QStringLiteral("a\\b"));
    EXPECT_FALSE(reg.KeyExists(QStringLiteral("A\\B\\C")));
    EXPECT_FALSE(reg.KeyExists(QStringLiteral("A\\B")));
    EXPECT_EQ(reg.ReadString(QStringLiteral("A\\BB"), QStringLiteral("v")), QStringLiteral("3"));
}

TEST_F(RegistryStoreTest, SeesChangesOfAnotherStoreAndBatchesWrites) {
    TRegistryStore first(file());
    TRegistryStore second(file());
    first.WriteInteger(QStringLiteral("K"), QStringLiteral("A"), 1);
    EXPECT_EQ(second.ReadInteger(QStringLiteral("K"), QStringLiteral("A")), 1);
    // A write through the second store keeps what the first wrote.
    second.WriteInteger(QStringLiteral("K"), QStringLiteral("B"), 2);
    EXPECT_EQ(first.ValueNames(QStringLiteral("K")), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));

    first.BeginUpdate();
    first.WriteInteger(QStringLiteral("K"), QStringLiteral("C"), 3);
    EXPECT_FALSE(TRegistryStore(file()).ValueExists(QStringLiteral("K"), QStringLiteral("C")));
    first.EndUpdate();
    EXPECT_TRUE(TRegistryStore(file()).ValueExists(QStringLiteral("K"), QStringLiteral("C")));
}

TEST_F(RegistryStoreTest, DamagedLinesAreSkippedNotFatal) {
    QDir().mkpath(dir.path() + QStringLiteral("/sub"));
    QFile f(file());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("garbage\n[HKEY_CURRENT_USER\\K]\n\"ok\"=dword:0000000a\n\"bad\"=dword:zz\n\"open=\"x\n"
            "\"hex\"=hex:01,zz\n\"s\"=\"v\"\n");
    f.close();
    TRegistryStore reg(file());
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("K"), QStringLiteral("ok")), 10);
    EXPECT_EQ(reg.ReadString(QStringLiteral("K"), QStringLiteral("s")), QStringLiteral("v"));
    EXPECT_EQ(reg.ValueNames(QStringLiteral("K")).size(), 2);
}
