#include "FrameFixture.h"

#include "platform/RegistryStore.h"

#include <QFile>
#include <QWidget>

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

TEST_F(FrameTest, WindowPlacementRoundTrip) {
    QWidget form;
    form.setObjectName(QStringLiteral("frmTest"));
    FFrame->RestoreWindowPlacement(&form, 300, 200);
    EXPECT_EQ(form.size(), QSize(300, 200)); // defaults, centred
    form.setGeometry(40, 50, 320, 240);
    FFrame->SaveWindowPlacement(&form);
    EXPECT_EQ(FFrame->ReadInteger(QStringLiteral("frmTestWidth"), 0), 320);
    QWidget again;
    again.setObjectName(QStringLiteral("frmTest"));
    FFrame->RestoreWindowPlacement(&again, 100, 100);
    EXPECT_EQ(again.geometry(), QRect(40, 50, 320, 240));
}
