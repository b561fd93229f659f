#include "platform/system/localzone.h"

#include "support/waitfor.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>

namespace {
class LocalZoneTest : public ::testing::Test {
protected:
    void SetUp() override {
        had_ = qEnvironmentVariableIsSet("TZ");
        old_ = qgetenv("TZ");
        qunsetenv("TZ");
    }
    void TearDown() override {
        if (had_) {
            qputenv("TZ", old_);
        } else {
            qunsetenv("TZ");
        }
        tzset();
    }

    // The local hour of a fixed summer moment: 12:00 UTC is 13:00 in London, 08:00 in New York.
    static int localHour() {
        return QDateTime::fromString(QStringLiteral("2026-07-01T12:00:00Z"), Qt::ISODate)
            .toLocalTime()
            .time()
            .hour();
    }

    QTemporaryDir dir;

private:
    bool had_ = false;
    QByteArray old_;
};

TEST_F(LocalZoneTest, PinsAnUnsetZoneToTheZoneFileAndLeavesAZoneTheUserSet) {
    const QString file = dir.filePath(QStringLiteral("localtime"));
    ASSERT_TRUE(LocalZone::Pin(file));
    EXPECT_EQ(qgetenv("TZ"), QByteArray(":") + QFile::encodeName(QDir::cleanPath(file)));

    qputenv("TZ", "EST5EDT,M3.2.0,M11.1.0");
    EXPECT_FALSE(LocalZone::Pin(file));
    EXPECT_EQ(qgetenv("TZ"), QByteArray("EST5EDT,M3.2.0,M11.1.0"));
}

// The system's zone set to another city while the program runs: the next date shown is in
// the new zone, without a restart.
TEST_F(LocalZoneTest, AChangedZoneFileIsReadAgain) {
    const QString london = QStringLiteral("/usr/share/zoneinfo/Europe/London");
    const QString newYork = QStringLiteral("/usr/share/zoneinfo/America/New_York");
    if (!QFile::exists(london) || !QFile::exists(newYork)) {
        GTEST_SKIP() << "no zone files on this machine";
    }
    const QString file = dir.filePath(QStringLiteral("localtime"));
    ASSERT_TRUE(QFile::copy(london, file));
    ASSERT_TRUE(LocalZone::Pin(file));
    QObject owner;
    LocalZone::WatchForChanges(&owner);
    EXPECT_EQ(localHour(), 13);

    // As a system's settings do: the new zone written beside the file, then moved over it.
    const QString next = dir.filePath(QStringLiteral("localtime.new"));
    ASSERT_TRUE(QFile::copy(newYork, next));
    ASSERT_EQ(std::rename(QFile::encodeName(next).constData(), QFile::encodeName(file).constData()),
              0);
    EXPECT_TRUE(WaitFor([] { return localHour() == 8; }, 10000)) << localHour();
}
} // namespace
