#include "ui/AboutForm.h"

#include "../appframe/FrameFixture.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace vellum::test {
namespace {

using AboutFormTest = FrameTest;

TEST_F(AboutFormTest, ShowsNameAndVersionExpanded) {
    TfrmAbout form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("バージョン情報"));
    auto* name = form.findChild<QLabel*>(QStringLiteral("lblAppName"));
    auto* version = form.findChild<QLabel*>(QStringLiteral("lblVersion"));
    ASSERT_NE(name, nullptr);
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(name->text(), QStringLiteral("Vellum4"));
    EXPECT_EQ(version->text(), QStringLiteral("バージョン ") + FFrame->Expand(QStringLiteral("$(LongVer)")));
    EXPECT_FALSE(version->text().contains(QStringLiteral("$(")));
    EXPECT_FALSE(form.IsSplash());
    EXPECT_FALSE(form.findChild<QPushButton*>(QStringLiteral("btnOK"))->isHidden());
}

TEST_F(AboutFormTest, SplashClosesOnItsTimer) {
    QPointer<TfrmAbout> splash = TfrmAbout::ShowSplash(nullptr, 100);
    ASSERT_TRUE(splash);
    EXPECT_TRUE(splash->IsSplash());
    EXPECT_TRUE(splash->isVisible());
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(splash->findChild<QPushButton*>(QStringLiteral("btnOK"))->isHidden());
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 1500));
}

TEST_F(AboutFormTest, SplashClosesOnAClick) {
    QPointer<TfrmAbout> splash = TfrmAbout::ShowSplash(nullptr, 60000);
    ASSERT_TRUE(splash);
    QTest::mouseClick(splash, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 500));
}

} // namespace
} // namespace vellum::test
