#include "platform/system/configfile.h"
#include "platform/system/platformlog.h"
#include "platform/system/registrybatch.h"
#include "platform/system/registrystore.h"
#include "support/testhome.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>

#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {
const QString kKey = QStringLiteral("SOFTWARE\\Kestova\\Orlix v1\\Client");
constexpr auto HKLM = RegistryRoot::LocalMachine;
constexpr auto HKCU = RegistryRoot::CurrentUser;

class ConfigStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetPlatformLogHandler([this](const QString& text, int) { log.append(text); });
    }
    void TearDown() override {
        RegistryStore::SetNewerVersionHandler(nullptr);
        ConfigFile::SetBeforeReplaceHook(nullptr);
    }
    bool logged(const QString& part) const {
        return std::any_of(log.begin(), log.end(), [&](const QString& line) {
            return line.contains(part, Qt::CaseInsensitive);
        });
    }
    QStringList log;
};

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// For comparisons that print readably when they fail.
QString textOf(const QString& path) {
    return QString::fromUtf8(contentOf(path));
}

void putFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QStringList setAside(const QString& path) {
    return QFileInfo(path).dir().entryList(
        {QFileInfo(path).fileName() + QStringLiteral(".damaged-*")});
}

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
        ASSERT_TRUE(first.write({{kKey, QStringLiteral("A%1").arg(i), qint64{i}}}));
        ASSERT_TRUE(second.write({{kKey, QStringLiteral("B%1").arg(i), qint64{i}}}));
    }
    ConfigFile reader(path);
    EXPECT_EQ(reader.valueNames(kKey).size(), 20);
    EXPECT_EQ(first.readNumber(kKey, QStringLiteral("B9")).value_or(-1), 9);
}

TEST_F(ConfigStoreTest, ADamagedFileReadsAsEmptyAndIsKeptAsideOnTheNextWrite) {
    const QString path = RegistryStore::FilePath(HKLM);
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Files no version writes; what a newer version may write is kept (see below).
    const std::vector<QByteArray> damaged = {
        QByteArrayLiteral("{ not json"),
        QByteArrayLiteral("[1, 2]"),
        QByteArrayLiteral("{\"keys\":{\"K\":{\"V\":\"no format\"}}}"),
        QByteArrayLiteral("{\"format\":\"1\",\"keys\":{}}"),
        QByteArrayLiteral("{\"format\":1,\"keys\":[\"K\"]}"),
        QByteArrayLiteral("{\"format\":1,\"keys\":{\"K\":{\"V\":\"cut off"),
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

TEST_F(ConfigStoreTest, KeyPathsSplitAtBackslashesOnly) {
    const QString profiles = QStringLiteral("Software\\Profiles");
    ASSERT_TRUE(RegistryStore::WriteString(HKLM, profiles + QStringLiteral("\\News/Sport"),
                                           QStringLiteral("V"), QStringLiteral("slash")));
    EXPECT_EQ(RegistryStore::SubKeyNames(HKLM, profiles),
              QStringList{QStringLiteral("News/Sport")});
    EXPECT_FALSE(RegistryStore::KeyExists(HKLM, profiles + QStringLiteral("\\News")));
    EXPECT_EQ(RegistryStore::ReadString(HKLM, QStringLiteral("Software/Profiles/News/Sport"),
                                        QStringLiteral("V"), QStringLiteral("none")),
              QStringLiteral("none"));
    EXPECT_EQ(RegistryStore::ReadString(HKLM, QStringLiteral("\\Software\\ profiles \\news/sport"),
                                        QStringLiteral("v"), QStringLiteral("none")),
              QStringLiteral("slash"));
}

struct Unreadable {
    const char* how;
    std::function<bool(const QString& path)> make;
};

TEST_F(ConfigStoreTest, AFileThatBecomesUnreadableIsReportedNotAnsweredFromTheLastRead) {
    const QString path = RegistryStore::FilePath(HKLM);
    std::vector<Unreadable> ways = {
        {"replaced by a folder",
         [](const QString& p) { return QFile::remove(p) && QDir().mkdir(p); }},
        {"replaced by a link to itself",
         [](const QString& p) {
             return QFile::remove(p) && ::symlink(QFile::encodeName(p).constData(),
                                                  QFile::encodeName(p).constData()) == 0;
         }},
    };
    if (::geteuid() != 0) { // the superuser reads whatever the mode says
        ways.push_back({"without read permission", [](const QString& p) {
                            return QFile::setPermissions(p, QFileDevice::WriteOwner);
                        }});
    }
    for (const Unreadable& way : ways) {
        ASSERT_TRUE(
            RegistryStore::WriteString(HKLM, kKey, QStringLiteral("V"), QStringLiteral("old")));
        const QByteArray good = contentOf(path);
        ASSERT_EQ(RegistryStore::ReadString(HKLM, kKey, QStringLiteral("V"), {}),
                  QStringLiteral("old"));
        ASSERT_TRUE(way.make(path)) << way.how;
        log.clear();

        EXPECT_EQ(RegistryStore::ReadString(HKLM, kKey, QStringLiteral("V"), QStringLiteral("d")),
                  QStringLiteral("d"))
            << way.how;
        EXPECT_TRUE(logged(QStringLiteral("could not be read"))) << way.how;
        // What stands in the file's place is nobody's to replace.
        EXPECT_FALSE(
            RegistryStore::WriteString(HKLM, kKey, QStringLiteral("V"), QStringLiteral("new")))
            << way.how;
        EXPECT_TRUE(logged(QStringLiteral("nothing was written"))) << way.how;
        EXPECT_TRUE(setAside(path).isEmpty()) << way.how;

        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile::remove(path);
        QDir().rmdir(path);
        putFile(path, good);
        EXPECT_EQ(RegistryStore::ReadString(HKLM, kKey, QStringLiteral("V"), {}),
                  QStringLiteral("old"))
            << way.how;
    }
}

// What a later version of the program may have written: read as far as it is understood,
// never set aside, and nothing of it lost by a write of this version.
struct ForeignFile {
    const char* what;
    QByteArray bytes;
    bool newer;
    // The values of key "K" and what they read as: text, number, or nothing.
    std::vector<std::tuple<const char*, std::optional<QString>, std::optional<qint64>>> reads;
};

TEST_F(ConfigStoreTest, AFileOfANewerVersionLosesNothing) {
    const auto text = [](const char* t) { return std::optional<QString>(QLatin1String(t)); };
    const std::vector<ForeignFile> files = {
        {"a newer format",
         R"({"format":2,"keys":{"K":{"S":"text","N":7,"B":true}},"profiles":["x"]})",
         true,
         {{"S", text("text"), {}}, {"N", {}, 7}, {"B", {}, {}}}},
        {"true and false",
         R"({"format":1,"keys":{"K":{"S":"text","T":true,"F":false}}})",
         false,
         {{"S", text("text"), {}}, {"T", {}, {}}, {"F", {}, {}}}},
        {"null",
         R"({"format":1,"keys":{"K":{"Z":null,"N":-3}}})",
         false,
         {{"Z", {}, {}}, {"N", {}, -3}}},
        {"a number above 2^53",
         R"({"format":1,"keys":{"K":{"Big":9007199254740993}}})",
         false,
         {{"Big", {}, 9007199254740993LL}}},
        {"a fraction", R"({"format":1,"keys":{"K":{"Half":1.5}}})", false, {{"Half", {}, {}}}},
        {"a number beyond 64 bits",
         R"({"format":1,"keys":{"K":{"Huge":1e300}}})",
         false,
         {{"Huge", {}, {}}}},
        {"lists and objects",
         R"({"format":1,"keys":{"K":{"L":[1,"a"],"O":{"x":1}}}})",
         false,
         {{"L", {}, {}}, {"O", {}, {}}}},
        {"members beside the keys",
         R"({"format":1,"written-by":"a later version","options":{"a":1},"keys":{"K":{"S":"s"}}})",
         false,
         {{"S", text("s"), {}}}},
        {"an entry of the keys that is no key",
         R"({"format":1,"keys":{"K":{"S":"s"},"Odd":[1,2]}})",
         false,
         {{"S", text("s"), {}}}},
    };
    const QString path = TestHome() + QStringLiteral("/foreign.json");
    for (const ForeignFile& f : files) {
        QFile::remove(path);
        putFile(path, f.bytes);
        log.clear();
        ConfigFile file(path);
        EXPECT_EQ(file.state(), f.newer ? ConfigFile::State::Newer : ConfigFile::State::Usable)
            << f.what;
        for (const auto& [name, asText, asNumber] : f.reads) {
            EXPECT_EQ(file.readString(QStringLiteral("K"), QLatin1String(name)), asText)
                << f.what << ": " << name;
            EXPECT_EQ(file.readNumber(QStringLiteral("K"), QLatin1String(name)), asNumber)
                << f.what << ": " << name;
        }

        const bool written =
            file.write({{QStringLiteral("K"), QStringLiteral("New"), QStringLiteral("added")}});
        EXPECT_TRUE(setAside(path).isEmpty()) << f.what;
        if (f.newer) {
            EXPECT_FALSE(written) << f.what;
            EXPECT_EQ(textOf(path), QString::fromUtf8(f.bytes)) << f.what;
            EXPECT_TRUE(logged(QStringLiteral("newer version"))) << f.what;
            continue;
        }
        ASSERT_TRUE(written) << f.what;
        QJsonObject expected = QJsonDocument::fromJson(f.bytes).object();
        QJsonObject keys = expected.value(QStringLiteral("keys")).toObject();
        QJsonObject k = keys.value(QStringLiteral("K")).toObject();
        k.insert(QStringLiteral("New"), QStringLiteral("added"));
        keys.insert(QStringLiteral("K"), k);
        expected.insert(QStringLiteral("keys"), keys);
        const QByteArray after = contentOf(path);
        EXPECT_EQ(QJsonDocument::fromJson(after).object(), expected) << f.what;
        EXPECT_EQ(ConfigFile(path).readString(QStringLiteral("K"), QStringLiteral("New")),
                  QStringLiteral("added"))
            << f.what;
        if (f.bytes.contains("9007199254740993")) {
            EXPECT_TRUE(after.contains("9007199254740993")) << after.constData();
        }
    }
}

TEST_F(ConfigStoreTest, ANewerStoreIsToldOnceAndNeverWritten) {
    QStringList told;
    RegistryStore::SetNewerVersionHandler([&](const QString& path) { told << path; });
    const QString path = RegistryStore::FilePath(HKLM);
    const QByteArray newer = R"({"format":3,"keys":{"Software\\Kestova":{"DebugMode":5}}})";
    putFile(path, newer);

    EXPECT_EQ(RegistryStore::ReadNumber(HKLM, QStringLiteral("software\\kestova"),
                                        QStringLiteral("debugmode"), 0),
              5);
    EXPECT_FALSE(RegistryStore::WriteNumber(HKLM, kKey, QStringLiteral("N"), 1));
    EXPECT_FALSE(RegistryStore::DeleteKey(HKLM, QStringLiteral("Software")));
    EXPECT_EQ(RegistryStore::ReadNumber(HKLM, QStringLiteral("Software\\Kestova"),
                                        QStringLiteral("DebugMode"), 0),
              5);
    EXPECT_EQ(told, QStringList{path});
    EXPECT_EQ(textOf(path), QString::fromUtf8(newer));
    // The user's store is another file, and not a newer one.
    EXPECT_TRUE(RegistryStore::WriteNumber(HKCU, kKey, QStringLiteral("N"), 1));
    EXPECT_EQ(told, QStringList{path});
}

TEST_F(ConfigStoreTest, ABatchIsWrittenInOneReplacementOfTheFile) {
    int replacements = 0;
    ConfigFile::SetBeforeReplaceHook([&] { ++replacements; });
    RegistryBatch batch(HKLM);
    batch.WriteString(kKey, QStringLiteral("Text"), QStringLiteral("t"));
    batch.WriteNumber(kKey, QStringLiteral("Number"), 12);
    batch.WriteString(kKey + QStringLiteral("\\Below"), QStringLiteral("Text"),
                      QStringLiteral("b"));
    batch.WriteString(kKey, QStringLiteral("TEXT"), QStringLiteral("last one stands"));
    ASSERT_TRUE(batch.Commit());
    EXPECT_EQ(replacements, 1);
    EXPECT_EQ(RegistryStore::ReadString(HKLM, kKey, QStringLiteral("Text"), {}),
              QStringLiteral("last one stands"));
    EXPECT_EQ(RegistryStore::ValueNames(HKLM, kKey),
              (QStringList{QStringLiteral("Number"), QStringLiteral("Text")}));
    EXPECT_EQ(RegistryStore::ReadNumber(HKLM, kKey, QStringLiteral("Number"), 0), 12);
    EXPECT_EQ(RegistryStore::ReadString(HKLM, kKey + QStringLiteral("\\Below"),
                                        QStringLiteral("Text"), {}),
              QStringLiteral("b"));
}

QString writerProgram() {
    return QStringLiteral(ORLIX_CONFIG_WRITER);
}
const QString kWriterKey = QStringLiteral("Software\\Writer");

TEST_F(ConfigStoreTest, TwoProgramsWritingAtOnceLoseNothing) {
    const QString path = TestHome() + QStringLiteral("/shared.json");
    constexpr int kEach = 200;
    QProcess first;
    QProcess second;
    first.start(writerProgram(), {path, QStringLiteral("A"), QString::number(kEach)});
    second.start(writerProgram(), {path, QStringLiteral("B"), QString::number(kEach)});
    for (QProcess* p : {&first, &second}) {
        ASSERT_TRUE(p->waitForFinished(90000));
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().constData();
    }
    QJsonParseError error{};
    QJsonDocument::fromJson(contentOf(path), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError);
    ConfigFile file(path);
    EXPECT_EQ(file.valueNames(kWriterKey).size(), 2 * kEach);
    for (int i = 0; i < kEach; ++i) {
        for (const char* prefix : {"A", "B"}) {
            EXPECT_EQ(file.readNumber(kWriterKey, QLatin1String(prefix) + QString::number(i)), i)
                << prefix << i;
        }
    }
}

TEST_F(ConfigStoreTest, AWriterKilledBeforeItsNewFileIsInPlaceLeavesTheOldFileWhole) {
    const QString path = TestHome() + QStringLiteral("/store/settings.json");
    ConfigFile file(path);
    ASSERT_TRUE(file.write({{kWriterKey, QStringLiteral("V"), QStringLiteral("old")},
                            {kWriterKey, QStringLiteral("W"), qint64{7}}}));
    const QString before = textOf(path);

    QProcess writer;
    writer.start(writerProgram(),
                 {path, QStringLiteral("--stop"), QStringLiteral("V"), QStringLiteral("new")});
    QByteArray said;
    while (!said.contains("stopped") && writer.waitForReadyRead(30000)) {
        said += writer.readAllStandardOutput();
    }
    ASSERT_TRUE(said.contains("stopped")) << writer.readAllStandardError().constData();
    EXPECT_EQ(textOf(path), before);
    writer.kill();
    ASSERT_TRUE(writer.waitForFinished(30000));

    EXPECT_EQ(textOf(path), before);
    ConfigFile reader(path);
    EXPECT_EQ(reader.state(), ConfigFile::State::Usable);
    EXPECT_EQ(reader.readString(kWriterKey, QStringLiteral("V")), QStringLiteral("old"));
    // The lock went with the writer, and what it left beside the file goes with the next write.
    ASSERT_TRUE(reader.write({{kWriterKey, QStringLiteral("V"), QStringLiteral("later")}}));
    EXPECT_EQ(QFileInfo(path).dir().entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("settings.json")});
    EXPECT_EQ(reader.readNumber(kWriterKey, QStringLiteral("W")), 7);
}
} // namespace
