#include "FrameFixture.h"

#include "platform/InstanceLock.h"

#include <QFile>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vellum;
using vellum::test::FrameTest;

namespace {
// Another process holding the lock, as a running instance would.
pid_t HoldLockInChild(const QString& fileName) {
    const QByteArray path = QFile::encodeName(fileName);
    int ready[2];
    if (pipe(ready) != 0) return -1;
    pid_t pid = fork();
    if (pid == 0) {
        int fd = ::open(path.constData(), O_RDWR | O_CREAT, 0600);
        if (fd < 0 || ::flock(fd, LOCK_EX) != 0) _exit(1);
        char c = 1;
        if (::write(ready[1], &c, 1) != 1) _exit(1);
        for (;;) pause();
    }
    char c = 0;
    ::close(ready[1]);
    if (::read(ready[0], &c, 1) != 1) pid = -1;
    ::close(ready[0]);
    return pid;
}
} // namespace

TEST_F(FrameTest, ASecondInstanceIsRefusedUntilTheFirstDies) {
    FFrame->SetExecuteCondition(ecNeedHighColor | ecNeedPrinter | ecExclusive | ecPowerUsers);
    const QString lockFile = TInstanceLock(FFrame->Expand(QStringLiteral("$(SysMutexID)"))).FileName();
    EXPECT_TRUE(lockFile.endsWith(QStringLiteral("/Vellum4.4.0.Kestrel.Japan.lock")));
    pid_t other = HoldLockInChild(lockFile);
    ASSERT_GT(other, 0);
    EXPECT_FALSE(FFrame->CheckExecuteCondition());
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_EQ(Shown[0].Text, QStringLiteral("Vellum4は、すでに実行中です"));

    ::kill(other, SIGKILL);
    ::waitpid(other, nullptr, 0);
    EXPECT_TRUE(FFrame->CheckExecuteCondition()); // no stale lock after a kill
    EXPECT_EQ(Shown.size(), 1u);
}
