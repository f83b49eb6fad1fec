// The dialogs render at a sensible size; with VELLUM_UI_SHOTS set to a
// folder the pictures are saved there for a look.
#include "ui/AboutForm.h"
#include "ui/EnvironmentForm.h"

#include "../appframe/FrameFixture.h"

#include <QTabWidget>

#include <gtest/gtest.h>

namespace vellum::test {
namespace {

using ScreensTest = FrameTest;

void Keep(QWidget& form, const QString& name) {
    form.adjustSize();
    const QImage picture = form.grab().toImage();
    EXPECT_FALSE(picture.isNull());
    EXPECT_GE(picture.width(), 300) << name.toStdString();
    EXPECT_LE(picture.width(), 900) << name.toStdString();
    EXPECT_LE(picture.height(), 700) << name.toStdString();
    const QString folder = qEnvironmentVariable("VELLUM_UI_SHOTS");
    if (!folder.isEmpty()) picture.save(folder + u'/' + name + QStringLiteral(".png"));
}

TEST_F(ScreensTest, Dialogs) {
    FFrame->WriteString(QStringLiteral("CDPath"), QStringLiteral("/media/cdrom"));
    TfrmEnvironment environment(*FFrame);
    environment.SetOnClearCache([] {});
    auto* tabs = environment.findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    Keep(environment, QStringLiteral("environment"));
    tabs->setCurrentIndex(1);
    Keep(environment, QStringLiteral("environment-cache"));

    TfrmAbout about;
    Keep(about, QStringLiteral("about"));
    TfrmAbout splash;
    splash.StartSplash(60000);
    Keep(splash, QStringLiteral("splash"));
    splash.close();
}

} // namespace
} // namespace vellum::test
