#include "platform/InstanceLock.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vellum;

TEST(InstanceLock, OneHolderAtATimeAndReleasedWithTheHolder) {
    QTemporaryDir dir;
    qputenv("XDG_RUNTIME_DIR", dir.path().toUtf8());
    {
        TInstanceLock first(QStringLiteral("Vellum4.4.0.Kestrel.Japan"));
        ASSERT_EQ(first.Acquire(), TInstanceLock::TResult::Acquired);
        EXPECT_TRUE(first.FileName().startsWith(dir.path()));
        TInstanceLock second(QStringLiteral("Vellum4.4.0.Kestrel.Japan"));
        EXPECT_EQ(second.Acquire(), TInstanceLock::TResult::HeldElsewhere);
        TInstanceLock other(QStringLiteral("Other/Name"));
        EXPECT_EQ(other.Acquire(), TInstanceLock::TResult::Acquired);
    }
    TInstanceLock again(QStringLiteral("Vellum4.4.0.Kestrel.Japan"));
    EXPECT_EQ(again.Acquire(), TInstanceLock::TResult::Acquired);
}
