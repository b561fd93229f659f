#include "core/generalroutines.h"

#include "core/debuglog.h"
#include "platform/system/appservices.h"
#include "platform/system/datetimehelper.h"
#include "platform/system/folders.h"
#include "platform/system/registrystore.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>

namespace {
const QString kUserKey = QStringLiteral("SOFTWARE\\Kestova\\Orlix v1");

TEST(LongToBoolean, OnlyMinusOneIsTrue) {
    EXPECT_TRUE(LongToBoolean(-1));
    for (int v : {0, 1, 2, -2}) {
        EXPECT_FALSE(LongToBoolean(v)) << v;
    }
}

TEST(GetTempFile, TmpLeavesTheEmptyFileInThePrivateFolder) {
    const QString name = GetTempFile(QString(), QStringLiteral("TMP"));
    ASSERT_FALSE(name.isEmpty());
    const QFileInfo info(name);
    EXPECT_TRUE(info.exists());
    EXPECT_EQ(info.size(), 0);
    EXPECT_TRUE(info.fileName().startsWith(QStringLiteral("ORL")));
    EXPECT_TRUE(info.fileName().endsWith(QStringLiteral(".TMP")));
    EXPECT_EQ(info.absolutePath(), Folders::PrivateTemp());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(info.absolutePath()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700U);
    EXPECT_NE(GetTempFile(QString(), QString()), name);
}

TEST(GetTempFile, AnotherExtensionLeavesNoScratchFile) {
    const QString name = GetTempFile(QString(), QStringLiteral("mdb"));
    ASSERT_TRUE(name.endsWith(QStringLiteral(".mdb")));
    EXPECT_TRUE(!QFile::exists(name) || QFileInfo(name).size() == 0);
    EXPECT_FALSE(QFile::exists(name.left(name.size() - 3) + QStringLiteral("TMP")));
    EXPECT_TRUE(QDir(Folders::PrivateTemp()).entryList(QDir::Files).isEmpty());
}

TEST(GetTempFile, UsesTheFolderGivenAndLogsItsSteps) {
    AppServices::Instance().SetDebugLevel(-1);
    const QString folder = TestHome() + QStringLiteral("/given");
    QDir().mkpath(folder);
    const QString name = GetTempFile(folder, QStringLiteral("htm"));
    EXPECT_EQ(QFileInfo(name).absolutePath(), folder);
    QFile log(DebugLogFilePath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    QStringList texts;
    for (const QString& line :
         QString::fromUtf8(log.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        texts.append(line.mid(8));
    }
    EXPECT_EQ(texts, (QStringList{QStringLiteral(" Start GetTempFile"),
                                  QStringLiteral("     Assign a string"),
                                  QStringLiteral("     AlphaNum the app.title"),
                                  QStringLiteral("     Call GetTempFilename"),
                                  QStringLiteral("     Process the return"),
                                  QStringLiteral(" End GetTempFile")}));
}

TEST(GetTempFile, NoTemporaryFolderShowsTheCriticalBox) {
    // A plain file where the private folder should be: it cannot be made.
    const QString where = TestHome() + QStringLiteral("/user/tmp");
    QDir().mkpath(TestHome() + QStringLiteral("/user"));
    QFile blocker(where);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(GetTempFile(QString(), QStringLiteral("TMP")), QString());
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1U);
    EXPECT_EQ(TestMessageBoxes().shown()[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(TestMessageBoxes().shown()[0].text.startsWith(
        QStringLiteral("Error getting a temporary file name :")));
}

TEST(IsoDateTimeText, DayAndTime) {
    EXPECT_EQ(IsoDateTimeText({36526, 3723.0F}), QStringLiteral("2000-01-01T01:02:03"));
}

class UpdateNotes : public ::testing::Test {
protected:
    void SetUp() override {
        path = TestHome() + QStringLiteral("/UPDATES.RTF");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{\\rtf1 notes}");
        f.close();
        // A file time with a fraction of a second, as Linux keeps them.
        setTime(QDateTime(QDate(2026, 11, 2), QTime(9, 30, 15, 750), Qt::UTC));
    }
    void setTime(const QDateTime& t) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(t, QFileDevice::FileModificationTime));
    }
    void store(const QString& text) {
        RegistryStore::WriteString(RegistryRoot::CurrentUser, kUserKey,
                                   QStringLiteral("UpdateInformationFileDateUTC"), text);
    }
    QString path;
};

TEST_F(UpdateNotes, MissingFileIsNeverNewerAndStoresNothing) {
    const QString missing = TestHome() + QStringLiteral("/none.rtf");
    EXPECT_FALSE(IsUpdateInformationNewer(missing, kUserKey));
    StoreUpdateInformationDate(missing, kUserKey);
    EXPECT_FALSE(QFile::exists(RegistryStore::FilePath(RegistryRoot::CurrentUser)));
}

TEST_F(UpdateNotes, NoStoredDateMeansNewer) {
    EXPECT_TRUE(IsUpdateInformationNewer(path, kUserKey));
}

TEST_F(UpdateNotes, TheStoredDateOfTheSameFileIsNotNewer) {
    StoreUpdateInformationDate(path, kUserKey);
    EXPECT_EQ(RegistryStore::ReadString(RegistryRoot::CurrentUser, kUserKey,
                                        QStringLiteral("UpdateInformationFileDateUTC"), {}),
              QStringLiteral("2026-11-02T09:30:15"));
    EXPECT_FALSE(IsUpdateInformationNewer(path, kUserKey));
}

TEST_F(UpdateNotes, ALaterFileIsNewer) {
    store(QStringLiteral("2026-11-02T09:30:14"));
    EXPECT_TRUE(IsUpdateInformationNewer(path, kUserKey));
    store(QStringLiteral("2026-11-02T09:30:16"));
    EXPECT_FALSE(IsUpdateInformationNewer(path, kUserKey));
}

TEST(ValOf, ReadsNumbersLikeTheOldRuntime) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"12", 12},     {" 1 2 ", 12},      {"\t-7x", -7},    {"+3", 3},      {"abc", 0},
        {"", 0},        {"2.5", 2.5},       {".5", 0.5},      {"1e3", 1000},  {"1D2", 100},
        {"1e", 1},      {"1e+", 1},         {"5-3", 5},       {"1.2.3", 1.2}, {"&H10", 16},
        {"&hFFFF", -1}, {"&H10000", 65536}, {"&O17", 15},     {"&", 0},       {"-", 0},
        {"007", 7},     {"3.0", 3},         {"0.009", 0.009}, {"1,5", 1},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(ValOf(QString::fromLatin1(c.text)), c.value) << c.text;
    }
    EXPECT_TRUE(std::isinf(ValOf(u"1e999")));
    EXPECT_EQ(ValOf(u"1e-999"), 0.0);
}
} // namespace
