#include "FrameFixture.h"

#include "platform/RegistryStore.h"

#include <QFile>

using namespace vellum;
using vellum::test::FrameTest;

TEST_F(FrameTest, SettingsReadDefaultsAndSurviveARestart) {
    EXPECT_EQ(FFrame->ReadInteger(QStringLiteral("CacheLimit"), 7), 7);
    EXPECT_TRUE(FFrame->ReadBool(QStringLiteral("CacheEnabl"), true));
    EXPECT_EQ(FFrame->ReadString(QStringLiteral("CDPath"), QStringLiteral("none")), QStringLiteral("none"));
    FFrame->WriteInteger(QStringLiteral("CacheLimit"), 1024);
    FFrame->WriteBool(QStringLiteral("CacheEnabl"), false);
    FFrame->WriteString(QStringLiteral("CDPath"), QStringLiteral("/media/名刺"));
    MakeFrame();
    EXPECT_EQ(FFrame->ReadInteger(QStringLiteral("CacheLimit"), 7), 1024);
    EXPECT_FALSE(FFrame->ReadBool(QStringLiteral("CacheEnabl"), true));
    EXPECT_EQ(FFrame->ReadString(QStringLiteral("CDPath"), QString()), QStringLiteral("/media/名刺"));
    // The values sit under the settings key of the current user's store.
    EXPECT_EQ(FFrame->Registry().FileName(), Path(QStringLiteral("config/vellum4/HKEY_CURRENT_USER.reg")));
    EXPECT_EQ(FFrame->Registry().ReadInteger(QStringLiteral("Software\\Quillwork\\Vellum\\4.0\\Settings"),
                                             QStringLiteral("CacheLimit")),
              1024);
}

TEST_F(FrameTest, SettingsWithoutARegistryKeyFallBackToDefaults) {
    FFrame->Macro().SetValue(QStringLiteral("SysRegistryKey"), QString());
    FFrame->WriteInteger(QStringLiteral("X"), 5);
    EXPECT_EQ(FFrame->ReadInteger(QStringLiteral("X"), 3), 3);
    EXPECT_FALSE(QFile::exists(FFrame->Registry().FileName()));
}
