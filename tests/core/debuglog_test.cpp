#include "core/debuglog.h"

#include "core/program.h"
#include "platform/system/appservices.h"
#include "platform/system/registrystore.h"
#include "support/testhome.h"

#include <QDate>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {
QStringList logLines() {
    QFile f(DebugLogFilePath());
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(text.isEmpty() || text.endsWith(QStringLiteral("\r\n")));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

void setLevel(int level) {
    AppServices::Instance().SetDebugLevel(level);
}

struct LevelCase {
    int logLevel;
    std::vector<int> written; // which of the line levels -1, 5, 10 get through
};

TEST(DebugLog, WritesTheLinesItsLevelAllows) {
    const std::vector<LevelCase> cases = {
        {0, {}}, {5, {-1, 5}}, {10, {-1, 5, 10}}, {-1, {-1, 5, 10}}, {7, {-1, 5}},
    };
    for (const LevelCase& c : cases) {
        QFile::remove(DebugLogFilePath());
        setLevel(c.logLevel);
        for (int lineLevel : {-1, 5, 10}) {
            DebugLog(QStringLiteral("line %1").arg(lineLevel), lineLevel);
        }
        std::vector<int> seen;
        for (const QString& line : logLines()) {
            seen.push_back(line.section(QStringLiteral("line "), 1).toInt());
        }
        EXPECT_EQ(seen, c.written) << "log level " << c.logLevel;
        if (c.logLevel == 0) {
            EXPECT_FALSE(QFile::exists(DebugLogFilePath()));
        }
    }
}

TEST(DebugLog, FileNameAndLineFormat) {
    setLevel(5);
    DebugLog(QStringLiteral("Started"), 5, LogIndent);
    DebugLog(QStringLiteral("inside"), 5);
    DebugLog(QStringLiteral("Ended"), 5, LogOutdent);
    EXPECT_TRUE(DebugLogFilePath().endsWith(
        QStringLiteral("/orlix.") + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) +
        QStringLiteral(".log")));
    EXPECT_TRUE(DebugLogFilePath().startsWith(TestHome()));
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 3);
    const QRegularExpression time(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d"));
    for (const QString& l : lines) {
        EXPECT_TRUE(time.match(l).hasMatch()) << l.toStdString();
    }
    EXPECT_EQ(lines[0].mid(8), QStringLiteral(" Started"));
    EXPECT_EQ(lines[1].mid(8), QStringLiteral("     inside"));
    EXPECT_EQ(lines[2].mid(8), QStringLiteral(" Ended"));
}

TEST(DebugLog, DepthNeverGoesBelowZeroAndResets) {
    setLevel(5);
    DebugLog(QStringLiteral("a"), 5, LogOutdent);
    EXPECT_EQ(CurrentLogDepth(), 0);
    DebugLog(QStringLiteral("b"), 5, LogIndent);
    DebugLog(QStringLiteral("c"), 5, LogIndent);
    EXPECT_EQ(CurrentLogDepth(), 2);
    DebugLog(QStringLiteral("skipped"), 10, LogIndent); // not written: depth unchanged
    EXPECT_EQ(CurrentLogDepth(), 2);
    DebugLog(QStringLiteral("d"), 5, LogResetDepth);
    EXPECT_EQ(CurrentLogDepth(), 0);
    EXPECT_EQ(logLines().last().mid(8), QStringLiteral(" d"));
}

TEST(DebugLog, MemoryFiguresOnlyAtTheMaximumLevel) {
    const QRegularExpression withFigures(
        QStringLiteral("^\\d\\d:\\d\\d:\\d\\d [ \\d]{10,} [ \\d]{10,} x$"));
    for (int level : {5, -1, 10}) {
        QFile::remove(DebugLogFilePath());
        setLevel(level);
        DebugLog(QStringLiteral("x"), 5);
        const QString line = logLines().value(0);
        EXPECT_EQ(withFigures.match(line).hasMatch(), level == 10) << line.toStdString();
    }
}

TEST(DebugLog, AnEntryIsOneLineOfAtMostAThousandCharactersWithItsControlsEscaped) {
    const QString thousand(1000, QLatin1Char('a'));
    // A character outside the basic plane across the limit is never cut in half.
    const QString acrossTheLimit = QString(999, QLatin1Char('b')) + QStringLiteral("\U0001F600z");
    struct Case {
        const char* name;
        QString text;
        QByteArray written; // the bytes after the time and the blank
    };
    const Case cases[] = {
        {"plain text", QStringLiteral("Player 1 loaded"), "Player 1 loaded"},
        {"NUL, bell and a colour sequence", QString::fromUtf8("a\0b\ac\x1b[31md", 11),
         "a\\x00b\\x07c\\x1b[31md"},
        {"line breaks stay in one entry", QStringLiteral("one\r\ntwo\nthree"),
         "one\\x0d\\x0atwo\\x0athree"},
        {"direction characters and a backslash", QStringLiteral("x\u202ey\u2066z\\w"),
         "x\\u202ey\\u2066z\\\\w"},
        {"exactly the limit", thousand, thousand.toUtf8()},
        {"a megabyte line", QString(1000000, QLatin1Char('a')),
         thousand.toUtf8() + " ... (1000000 characters)"},
        {"a surrogate pair at the limit", acrossTheLimit,
         QByteArray(999, 'b') + " ... (1002 characters)"},
    };
    setLevel(5);
    for (const Case& c : cases) {
        QFile::remove(DebugLogFilePath());
        DebugLog(c.text, 5);
        QFile f(DebugLogFilePath());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << c.name;
        const QByteArray bytes = f.readAll();
        ASSERT_GE(bytes.size(), 9) << c.name;
        EXPECT_EQ(bytes.mid(9), c.written + "\r\n") << c.name;
    }
}

TEST(DebugLog, TheStoredFolderGetsASeparator) {
    const QString folder = TestHome() + QStringLiteral("/logs");
    for (const QString& stored : {folder, folder + QLatin1Char('/')}) {
        AppServices::Instance().SetDebugFolder(QString());
        ResetDebugLogState();
        RegistryStore::WriteString(RegistryRoot::LocalMachine, QStringLiteral("SOFTWARE\\Kestova"),
                                   QStringLiteral("DebugPath"), stored);
        EXPECT_TRUE(DebugLogFilePath().startsWith(folder + QStringLiteral("/orlix.")));
        EXPECT_EQ(AppServices::Instance().DebugFolder(), folder + QLatin1Char('/'));
    }
}

struct InitCase {
    const char* commandLine;
    int storedMode;
    int level;
};

TEST(InitDebug, ChoosesTheLevelFromTheSwitchOrTheStore) {
    const std::vector<InitCase> cases = {
        {"/debug=normal", 0, 5},
        {"/DEBUG=MEDIUM", 0, 5},
        {"/DEBUG=MAX", 0, 10},
        {"/DEBUG", 0, 10},
        {"/DEBUG=LOUD", 0, 10},
        {"/DEBUG=OFF", 7, 0},
        {"/DEBUG=NONE", 0, 0},
        {"/User=ann", 7, 7},
        {"", 0, 0},
        {"/Profile=\"A B\" /Debug=Normal", 0, 5},
    };
    for (const InitCase& c : cases) {
        AppServices::Instance().SetDebugLevel(0);
        Program::Instance().SetOptions(StartupOptions::Parse(QString::fromUtf8(c.commandLine)));
        RegistryStore::WriteNumber(RegistryRoot::LocalMachine, QStringLiteral("SOFTWARE\\Kestova"),
                                   QStringLiteral("DebugMode"), c.storedMode);
        InitDebug();
        EXPECT_EQ(AppServices::Instance().DebugLevel(), c.level) << c.commandLine;
    }
}

TEST(InitDebug, KeepsALevelAlreadyChosen) {
    AppServices::Instance().SetDebugLevel(5);
    Program::Instance().SetOptions(StartupOptions::Parse(QStringLiteral("/DEBUG=MAX")));
    InitDebug();
    EXPECT_EQ(AppServices::Instance().DebugLevel(), 5);
}
} // namespace
