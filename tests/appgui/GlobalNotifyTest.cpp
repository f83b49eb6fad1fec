#include "appgui/GlobalNotify.h"

#include <gtest/gtest.h>

using namespace vellum;

TEST(GlobalNotify, FocusChangesReachEveryGlobalNotifyInOrder) {
    QStringList calls;
    TGlobalNotify first, second;
    first.OnActiveControlChange = [&](TGlobalNotify*) { calls << QStringLiteral("first control"); };
    second.OnActiveControlChange = [&](TGlobalNotify*) { calls << QStringLiteral("second control"); };
    second.OnActiveFormChange = [&](TGlobalNotify*) { calls << QStringLiteral("second form"); };
    TScreenEventDispatcher::Instance().ActiveControlChanged();
    TScreenEventDispatcher::Instance().ActiveFormChanged();
    EXPECT_EQ(calls, (QStringList{QStringLiteral("first control"), QStringLiteral("second control"),
                                  QStringLiteral("second form")}));
}
