#include "platform/system/singleinstance.h"
#include "support/testhome.h"

#include <QFile>
#include <QLockFile>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {
TEST(SingleInstance, TheFirstCopyHoldsTheLockAndTheSecondSeesIt) {
    const QString path = TestHome() + QStringLiteral("/lock/orlix.lock");
    SingleInstance first(path);
    EXPECT_FALSE(first.AnotherCopyRuns());
    SingleInstance second(path);
    EXPECT_TRUE(second.AnotherCopyRuns());
    EXPECT_TRUE(second.AnotherCopyRuns()); // the answer stays
}

TEST(SingleInstance, ALockLeftByACrashedCopyDoesNotBlockTheNextStart) {
    const QString path = TestHome() + QStringLiteral("/orlix.lock");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The crashed copy: takes the lock and dies without releasing it.
        QLockFile lock(path);
        lock.tryLock(0);
        ::_exit(lock.isLocked() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFile::exists(path));
    SingleInstance next(path);
    EXPECT_FALSE(next.AnotherCopyRuns());
}

TEST(SingleInstance, ALockThatCannotBeMadeDoesNotStopTheStudio) {
    const QString blocker = TestHome() + QStringLiteral("/file");
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    SingleInstance s(blocker + QStringLiteral("/orlix.lock"));
    EXPECT_FALSE(s.AnotherCopyRuns());
}
} // namespace
