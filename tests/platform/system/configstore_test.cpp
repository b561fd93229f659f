#include "platform/system/configfile.h"
#include "platform/system/platformlog.h"
#include "platform/system/registrystore.h"
#include "support/testhome.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {
const QString kKey = QStringLiteral("SOFTWARE\\Kestova\\Orlix v1\\Client");
constexpr auto HKLM = RegistryRoot::LocalMachine;
constexpr auto HKCU = RegistryRoot::CurrentUser;

class ConfigStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetPlatformLogHandler([this](const QString& text, int) { log.append(text); });
    }
    QStringList log;
};

TEST_F(ConfigStoreTest, NamesCompareWithoutCaseAndKeepTheFirstWrittenCase) {
    ASSERT_TRUE(
        RegistryStore::WriteString(HKLM, kKey, QStringLiteral("DebugPath"), QStringLiteral("a")));
    ASSERT_TRUE(RegistryStore::WriteString(HKLM, kKey.toUpper(), QStringLiteral("DEBUGPATH"),
                                           QStringLiteral("b")));
    EXPECT_EQ(RegistryStore::ReadString(HKLM, kKey.toLower(), QStringLiteral("debugpath"), {}),
              QStringLiteral("b"));
    EXPECT_EQ(RegistryStore::ValueNames(HKLM, kKey), QStringList{QStringLiteral("DebugPath")});
    EXPECT_EQ(RegistryStore::SubKeyNames(HKLM, QStringLiteral("software\\kestova\\orlix v1")),
              QStringList{QStringLiteral("Client")});
}

TEST_F(ConfigStoreTest, ValuesKeepTheirTypeAndMissingOrWrongTypeGiveTheDefault) {
    ASSERT_TRUE(
        RegistryStore::WriteString(HKLM, kKey, QStringLiteral("Text"), QStringLiteral("12")));
    ASSERT_TRUE(RegistryStore::WriteNumber(HKLM, kKey, QStringLiteral("Number"), -7));
    bool found = true;
    EXPECT_EQ(RegistryStore::ReadNumber(HKLM, kKey, QStringLiteral("Text"), 99, &found), 99);
    EXPECT_FALSE(found);
    EXPECT_EQ(RegistryStore::ReadString(HKLM, kKey, QStringLiteral("Number"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_EQ(RegistryStore::ReadNumber(HKLM, kKey, QStringLiteral("Number"), 0, &found), -7);
    EXPECT_TRUE(found);
    EXPECT_EQ(RegistryStore::ReadString(HKLM, kKey, QStringLiteral("Missing"), QStringLiteral("x")),
              QStringLiteral("x"));
    EXPECT_EQ(RegistryStore::ReadString(HKLM, QStringLiteral("No\\Such\\Key"),
                                        QStringLiteral("Text"), QStringLiteral("y")),
              QStringLiteral("y"));
}

TEST_F(ConfigStoreTest, TheTwoStoresAreSeparateFiles) {
    ASSERT_TRUE(
        RegistryStore::WriteString(HKCU, kKey, QStringLiteral("V"), QStringLiteral("user")));
    EXPECT_EQ(RegistryStore::ReadString(HKLM, kKey, QStringLiteral("V"), QStringLiteral("none")),
              QStringLiteral("none"));
    EXPECT_NE(RegistryStore::FilePath(HKLM), RegistryStore::FilePath(HKCU));
    EXPECT_TRUE(RegistryStore::FilePath(HKLM).startsWith(TestHome()));
    EXPECT_TRUE(RegistryStore::FilePath(HKCU).startsWith(TestHome() + QStringLiteral("/user")));
}

TEST_F(ConfigStoreTest, WritesReplaceTheFileWholeAndLeaveNoScratchFiles) {
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(RegistryStore::WriteNumber(HKLM, kKey, QStringLiteral("N%1").arg(i), i));
    }
    QFile file(RegistryStore::FilePath(HKLM));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(QJsonDocument::fromJson(file.readAll()).isNull());
    const QStringList entries = QFileInfo(file).dir().entryList(QDir::Files);
    EXPECT_EQ(entries, QStringList{QStringLiteral("machine-settings.json")});
}

TEST_F(ConfigStoreTest, TwoWritersOnOneFileLoseNothing) {
    // Two objects on one file stand for two programs: each write starts from the file on disk.
    const QString path = TestHome() + QStringLiteral("/shared.json");
    ConfigFile first(path);
    ConfigFile second(path);
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(first.writeNumber(kKey, QStringLiteral("A%1").arg(i), i));
        ASSERT_TRUE(second.writeNumber(kKey, QStringLiteral("B%1").arg(i), i));
    }
    ConfigFile reader(path);
    EXPECT_EQ(reader.valueNames(kKey).size(), 20);
    EXPECT_EQ(first.readNumber(kKey, QStringLiteral("B9")).value_or(-1), 9);
}

TEST_F(ConfigStoreTest, ADamagedFileReadsAsEmptyAndIsKeptAsideOnTheNextWrite) {
    const QString path = RegistryStore::FilePath(HKLM);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const std::vector<QByteArray> damaged = {
        QByteArrayLiteral("{ not json"),
        QByteArrayLiteral("{\"format\":1,\"keys\":{\"K\":{\"V\":[1,2]}}}"),
        QByteArrayLiteral("{\"format\":99,\"keys\":{}}"),
        QByteArrayLiteral("{\"format\":1,\"keys\":{\"K\":{\"V\":1.5}}}"),
    };
    for (const QByteArray& bytes : damaged) {
        QFile::remove(path);
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        log.clear();
        EXPECT_EQ(RegistryStore::ReadString(HKLM, QStringLiteral("K"), QStringLiteral("V"),
                                            QStringLiteral("default")),
                  QStringLiteral("default"))
            << bytes.constData();
        EXPECT_FALSE(log.isEmpty()) << bytes.constData();
    }
    ASSERT_TRUE(RegistryStore::WriteString(HKLM, kKey, QStringLiteral("V"), QStringLiteral("new")));
    EXPECT_EQ(RegistryStore::ReadString(HKLM, kKey, QStringLiteral("V"), {}),
              QStringLiteral("new"));
    const QStringList kept = QFileInfo(path).dir().entryList({QStringLiteral("*.damaged-*")});
    ASSERT_EQ(kept.size(), 1);
    QFile keptFile(QFileInfo(path).dir().filePath(kept.first()));
    ASSERT_TRUE(keptFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(keptFile.readAll(), damaged.back());
}

TEST_F(ConfigStoreTest, RandomBytesNeverCrashTheStore) {
    const QString path = RegistryStore::FilePath(HKLM);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QRandomGenerator rng(1234);
    for (int round = 0; round < 50; ++round) {
        QByteArray bytes(static_cast<qsizetype>(rng.bounded(1, 4096)), Qt::Uninitialized);
        for (char& c : bytes) {
            c = static_cast<char>(rng.bounded(256));
        }
        if (round % 2 == 0) {
            bytes.prepend("{\"format\":1,\"keys\":{");
        }
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        EXPECT_EQ(RegistryStore::ReadNumber(HKLM, kKey, QStringLiteral("N"), 3), 3);
        EXPECT_TRUE(RegistryStore::SubKeyNames(HKLM, {}).isEmpty());
    }
}

TEST_F(ConfigStoreTest, AWriteThatCannotBeMadeIsReportedAndKeepsTheOldValue) {
    ASSERT_TRUE(RegistryStore::WriteString(HKCU, kKey, QStringLiteral("V"), QStringLiteral("old")));
    // Replace the store's folder by a plain file: nothing can be written below it.
    const QString folder = QFileInfo(RegistryStore::FilePath(HKCU)).absolutePath();
    const QString parked = folder + QStringLiteral(".parked");
    ASSERT_TRUE(QDir().rename(folder, parked));
    {
        QFile blocker(folder);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    log.clear();
    EXPECT_FALSE(
        RegistryStore::WriteString(HKCU, kKey, QStringLiteral("V"), QStringLiteral("new")));
    EXPECT_FALSE(log.isEmpty());
    QFile::remove(folder);
    ASSERT_TRUE(QDir().rename(parked, folder));
    EXPECT_EQ(RegistryStore::ReadString(HKCU, kKey, QStringLiteral("V"), {}),
              QStringLiteral("old"));
}

TEST_F(ConfigStoreTest, DeletingAKeyRemovesEverythingBelowIt) {
    const QString profiles = QStringLiteral("SOFTWARE\\Kestova\\Orlix v1\\Profiles");
    ASSERT_TRUE(RegistryStore::WriteString(HKLM,
                                           profiles + QStringLiteral("\\A\\Settings\\Database"),
                                           QStringLiteral("Path"), QStringLiteral("/a")));
    ASSERT_TRUE(RegistryStore::WriteString(HKLM, profiles + QStringLiteral("\\B\\Settings"),
                                           QStringLiteral("X"), QStringLiteral("b")));
    EXPECT_EQ(RegistryStore::SubKeyNames(HKLM, profiles),
              (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    ASSERT_TRUE(RegistryStore::DeleteKey(HKLM, profiles + QStringLiteral("\\a")));
    EXPECT_EQ(RegistryStore::SubKeyNames(HKLM, profiles), QStringList{QStringLiteral("B")});
    EXPECT_FALSE(RegistryStore::KeyExists(HKLM, profiles + QStringLiteral("\\A\\Settings")));
}
} // namespace
