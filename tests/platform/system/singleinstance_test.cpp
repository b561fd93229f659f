#include "platform/system/singleinstance.h"
#include "support/testhome.h"

#include <QFile>
#include <QLockFile>
#include <QProcess>

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

// One start of the program's single-instance check under a host name of its own, through a
// UTS namespace: what it said ("held" or "refused").
QString startUnder(QProcess& p, const QString& hostName) {
    p.start(QStringLiteral("unshare"),
            {QStringLiteral("-u"), QStringLiteral("sh"), QStringLiteral("-c"),
             QStringLiteral("hostname \"$1\" && exec \"$2\""), QStringLiteral("sh"), hostName,
             QStringLiteral(ORLIX_INSTANCE_HOLDER)});
    if (!p.waitForStarted(10000)) {
        return {};
    }
    QByteArray said;
    while (!said.contains('\n') && p.waitForReadyRead(30000)) {
        said += p.readAllStandardOutput();
    }
    return QString::fromUtf8(said).trimmed();
}

TEST(SingleInstance, TwoComputersSharingOneHomeBothStartAndEachRefusesItsSecondCopy) {
    QProcess probe;
    probe.start(QStringLiteral("unshare"),
                {QStringLiteral("-u"), QStringLiteral("hostname"), QStringLiteral("probe")});
    if (!probe.waitForFinished(10000) || probe.exitStatus() != QProcess::NormalExit ||
        probe.exitCode() != 0) {
        GTEST_SKIP() << "a host name of its own (unshare -u) is not permitted here";
    }
    QProcess studioA;
    QProcess studioB;
    QProcess secondOnA;
    EXPECT_EQ(startUnder(studioA, QStringLiteral("studio-a")), QStringLiteral("held"));
    EXPECT_EQ(startUnder(studioB, QStringLiteral("studio-b")), QStringLiteral("held"));
    EXPECT_EQ(startUnder(secondOnA, QStringLiteral("studio-a")), QStringLiteral("refused"));
    ASSERT_TRUE(secondOnA.waitForFinished(30000));
    EXPECT_EQ(secondOnA.exitCode(), 1);
    for (QProcess* p : {&studioA, &studioB}) {
        p->closeWriteChannel();
        EXPECT_TRUE(p->waitForFinished(30000));
        EXPECT_EQ(p->exitCode(), 0);
    }
}

TEST(SingleInstance, TheLockIsNamedForTheComputerInCharactersAFileNameCanHold) {
    const struct {
        const char* host;
        const char* file;
    } cases[] = {
        {"studio-a", "orlix-studio-a.lock"},
        {"Studio_B.local", "orlix-Studio_B.local.lock"},
        {"../../etc", "orlix-host....etc.lock"},
        {"", "orlix-host.lock"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SingleInstance::LockFileName(QString::fromUtf8(c.host)),
                  QString::fromUtf8(c.file))
            << c.host;
    }
}
} // namespace
