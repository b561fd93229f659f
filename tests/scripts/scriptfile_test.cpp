#include "platform/system/filesystemhelper.h"
#include "platform/system/replacefile.h"
#include "scripts/scriptfile.h"

#include "support/readonlyfolder.h"
#include "support/testhome.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QStringList folderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

struct DecodeCase {
    const char* name;
    QByteArray bytes;
    QString text;
};

TEST(ScriptFileTest, CharsetRules) {
    const DecodeCase cases[] = {
        {"no declaration is Windows-1252", QByteArray("<p>caf\xe9 \x80</p>"),
         QStringLiteral("<p>café €</p>")},
        {"no declaration, UTF-8 bytes still read as 1252", QByteArray("<p>caf\xc3\xa9</p>"),
         QStringLiteral("<p>cafÃ©</p>")},
        {"byte-order mark", QByteArray("\xEF\xBB\xBF<p>caf\xc3\xa9</p>"),
         QStringLiteral("<p>café</p>")},
        {"meta charset", QByteArray("<head><meta charset=\"UTF-8\"></head>caf\xc3\xa9"),
         QStringLiteral("<head><meta charset=\"UTF-8\"></head>café")},
        {"http-equiv",
         QByteArray("<meta http-equiv=Content-Type content='text/html; "
                    "charset=utf-8'>\xc3\xa9"),
         QStringLiteral("<meta http-equiv=Content-Type content='text/html; charset=utf-8'>é")},
        {"declared Latin-2", QByteArray("<meta charset=iso-8859-2>\xb1"),
         QStringLiteral("<meta charset=iso-8859-2>ą")},
        {"unknown charset falls back", QByteArray("<meta charset=x-nonsense>\xe9"),
         QStringLiteral("<meta charset=x-nonsense>é")},
    };
    for (const DecodeCase& c : cases) {
        EXPECT_EQ(ScriptFile::DecodeBytes(c.bytes).toStdString(), c.text.toStdString()) << c.name;
    }
}

TEST(ScriptFileTest, SavedBytesAreUtf8WithOneDeclaration) {
    const QString path = TestHome() + QStringLiteral("/Intro.htm");
    ScriptFile::Snapshot written;
    ASSERT_TRUE(ScriptFile::Save(
        path,
        QStringLiteral("<html><head><meta charset=\"windows-1252\"><title>t</title></head>"
                       "<body>café ☕</body></html>"),
        &written));
    EXPECT_EQ(bytesOf(path),
              QByteArray("<html><head><meta charset=\"utf-8\"><title>t</title></head>"
                         "<body>caf\xc3\xa9 \xe2\x98\x95</body></html>\r\n"));
    EXPECT_EQ(written.hash, ScriptFile::Take(path).hash);
    QString read;
    ASSERT_TRUE(ScriptFile::Read(path, read));
    EXPECT_TRUE(read.contains(QStringLiteral("café ☕")));

    EXPECT_EQ(ScriptFile::WithUtf8Declaration(QStringLiteral("<p>x</p>")),
              QStringLiteral("<html><head><meta charset=\"utf-8\"></head><p>x</p></html>"));
    EXPECT_EQ(ScriptFile::WithUtf8Declaration(QStringLiteral("<HTML><BODY>x</BODY></HTML>")),
              QStringLiteral("<HTML><head><meta charset=\"utf-8\"></head><BODY>x</BODY></HTML>"));
}

TEST(ScriptFileTest, AFileAboveTheLimitIsNotRead) {
    const QString path = TestHome() + QStringLiteral("/Big.htm");
    struct Case {
        const char* name;
        qint64 size;
        bool sparse; // the size set without writing the bytes
        bool read;
    };
    const Case cases[] = {
        {"at the limit", ScriptFile::kMaxScriptBytes, false, true},
        {"one byte over", ScriptFile::kMaxScriptBytes + 1, false, false},
        {"a sparse 30 MB file", 30LL * 1024 * 1024, true, false},
    };
    for (const Case& c : cases) {
        QFile::remove(path);
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << c.name;
            if (c.sparse) {
                ASSERT_TRUE(f.resize(c.size)) << c.name;
            } else {
                f.write(QByteArray(c.size, 'a'));
            }
        }
        QString text = QStringLiteral("unchanged");
        QString error;
        bool tooLarge = !c.read;
        ScriptFile::Snapshot snapshot;
        EXPECT_EQ(ScriptFile::Read(path, text, &snapshot, &error, &tooLarge), c.read) << c.name;
        EXPECT_EQ(tooLarge, !c.read) << c.name;
        if (c.read) {
            EXPECT_EQ(text.size(), c.size) << c.name;
            EXPECT_TRUE(snapshot.exists) << c.name;
        } else {
            EXPECT_EQ(text, QStringLiteral("unchanged")) << c.name;
            EXPECT_FALSE(error.isEmpty()) << c.name;
        }
    }
    QFile::remove(path);
}

// What a save writes reads back as it was written, wherever the document's head begins.
TEST(ScriptFileTest, ASaveReadsBackAsSaved) {
    const QString path = TestHome() + QStringLiteral("/Late.htm");
    const QString padding =
        QStringLiteral("<!--") + QString(5000, QLatin1Char('-')) + QStringLiteral("-->");
    const QString cases[] = {
        QStringLiteral("<html><head></head><body>caf\u00e9</body></html>"),
        padding +
            QStringLiteral("<html><head><title>t</title></head><body>caf\u00e9</body></html>"),
        padding + QStringLiteral("<html><body>caf\u00e9 \u2615</body></html>"),
        padding + QStringLiteral("<p>caf\u00e9</p>"),
    };
    for (const QString& html : cases) {
        ASSERT_TRUE(ScriptFile::Save(path, html));
        QString read;
        ASSERT_TRUE(ScriptFile::Read(path, read));
        EXPECT_EQ(read.trimmed(), ScriptFile::WithUtf8Declaration(html))
            << html.right(40).toStdString();
        // And a second save of what was read changes nothing.
        ASSERT_TRUE(ScriptFile::Save(path, read.trimmed()));
        QString again;
        ASSERT_TRUE(ScriptFile::Read(path, again));
        EXPECT_EQ(again, read);
    }
}

TEST(ScriptFileTest, ReplacingKeepsPermissionsAndLeavesNoTemporaryFile) {
    const QString folder = TestHome() + QStringLiteral("/shared");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/a.htm");
    writeBytes(path, "old");
    const auto shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                        QFile::WriteGroup | QFile::ReadOther;
    ASSERT_TRUE(QFile::setPermissions(path, shared));
    QString error;
    ASSERT_TRUE(ReplaceFileContents(path, "new", &error)) << error.toStdString();
    EXPECT_EQ(bytesOf(path), QByteArray("new"));
    EXPECT_EQ(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
              shared);
    EXPECT_EQ(folderEntries(folder), QStringList{QStringLiteral("a.htm")});
}

TEST(ScriptFileTest, FailedReplaceLeavesTheOldFile) {
    const QString folder = TestHome() + QStringLiteral("/locked");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/a.htm");
    writeBytes(path, "old");
    QString error;
    {
        ReadOnlyFolder locked(folder);
        ASSERT_TRUE(locked.Problem().isEmpty()) << locked.Problem().toStdString();
        EXPECT_FALSE(ReplaceFileContents(path, "new", &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(ScriptFile::Save(path, QStringLiteral("<p>new</p>")));
    }
    EXPECT_EQ(bytesOf(path), QByteArray("old"));
    EXPECT_EQ(folderEntries(folder), QStringList{QStringLiteral("a.htm")});
}

TEST(ScriptFileTest, DeleteFileWithProgress) {
    const QString data = TestHome() + QStringLiteral("/xdg");
    ASSERT_TRUE(QDir().mkpath(data));
    qputenv("XDG_DATA_HOME", QFile::encodeName(data));
    const QString folder = TestHome() + QStringLiteral("/del");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/a.htm");
    writeBytes(path, "x");
    EXPECT_EQ(
        FileSystemHelper::DeleteFileWithProgress(path, QStringLiteral("Deleting Script"), true), 0);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QFile::exists(data + QStringLiteral("/Trash/files/a.htm")));
    writeBytes(path, "x");
    EXPECT_EQ(FileSystemHelper::DeleteFileWithProgress(path, QString(), false), 0);
    EXPECT_FALSE(QFile::exists(path));

    QString reason;
    EXPECT_NE(FileSystemHelper::DeleteFileWithProgress(path, QString(), true, &reason), 0);
    EXPECT_FALSE(reason.isEmpty());

    writeBytes(path, "x");
    {
        ReadOnlyFolder locked(folder);
        ASSERT_TRUE(locked.Problem().isEmpty()) << locked.Problem().toStdString();
        reason.clear();
        EXPECT_NE(FileSystemHelper::DeleteFileWithProgress(path, QString(), true, &reason), 0);
        EXPECT_FALSE(reason.isEmpty());
    }
    EXPECT_TRUE(QFile::exists(path));
    qunsetenv("XDG_DATA_HOME");
}

TEST(ScriptFileTest, ASaveTakesAwayOnlyTemporaryFilesLeftLongAgo) {
    const QString folder = TestHome() + QStringLiteral("/shared-scripts");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const struct {
        const char* name;
        qint64 ageSeconds;
        bool stays;
    } cases[] = {
        {".~Ab12Cd", 2 * 3600, false}, // left by a save killed two hours ago
        {".~Zz99yy", 60, true},        // perhaps another computer's save still writing
        {".~short", 2 * 3600, true},   // not a name a save makes
        {"Weather.htm", 2 * 3600, true},
    };
    for (const auto& c : cases) {
        const QString path = folder + QLatin1Char('/') + QLatin1String(c.name);
        writeBytes(path, "part");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(now.addSecs(-c.ageSeconds), QFileDevice::FileModificationTime));
    }
    ASSERT_TRUE(ScriptFile::Save(folder + QStringLiteral("/News.htm"), QStringLiteral("<p>x</p>")));
    for (const auto& c : cases) {
        EXPECT_EQ(QFile::exists(folder + QLatin1Char('/') + QLatin1String(c.name)), c.stays)
            << c.name;
    }
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/News.htm")));
}

// With no data folder in the home, a deleted script goes to a trash made for it, or is gone:
// never into the working folder.
TEST(ScriptFileTest, ADeletedScriptNeverLandsInTheWorkingFolder) {
    const QString home = TestHome() + QStringLiteral("/empty-home");
    const QString working = TestHome() + QStringLiteral("/working");
    const QString scripts = TestHome() + QStringLiteral("/scripts");
    for (const QString& f : {home, working, scripts}) {
        ASSERT_TRUE(QDir().mkpath(f));
    }
    const QString path = scripts + QStringLiteral("/Weather.htm");
    writeBytes(path, "forecast");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::setenv("HOME", QFile::encodeName(home).constData(), 1);
        ::unsetenv("XDG_DATA_HOME");
        if (::chdir(QFile::encodeName(working).constData()) != 0) {
            ::_exit(100);
        }
        ::_exit(FileSystemHelper::DeleteFileWithProgress(path, QStringLiteral("Deleting Script"),
                                                         true) == 0
                    ? 0
                    : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(folderEntries(working), QStringList());
    const QString trash = home + QStringLiteral("/.local/share/Trash");
    if (QFileInfo(trash).isDir()) {
        EXPECT_EQ(QFile(trash).permissions() & (QFile::ReadGroup | QFile::ReadOther),
                  QFile::Permissions());
    }
    EXPECT_TRUE(!QFile::exists(trash + QStringLiteral("/files/Weather.htm")) ||
                bytesOf(trash + QStringLiteral("/files/Weather.htm")) == "forecast");
}

} // namespace

// The reader looks for the declaration in the first 4096 bytes: one put into a new head right
// after a long root tag must end inside them, the head's own tag counted.
TEST(ScriptFileTest, ADeclarationAfterALongRootTagStillEndsWhereTheReaderLooks) {
    const QString path = TestHome() + QStringLiteral("/LongRoot.htm");
    const QString declaration = QStringLiteral("<meta charset=\"utf-8\">");
    for (const qsizetype slack : {-8, -6, -3, -1, 0, 1, 6}) {
        // The root tag ends where the declaration alone would just fit the window.
        const qsizetype dashes = 4096 - declaration.size() - 6 + slack;
        const QString text =
            QStringLiteral("<html") + QString(dashes, u'-') + QStringLiteral(">caf\u00e9</html>");
        ASSERT_TRUE(ScriptFile::Save(path, text)) << slack;
        QString read;
        ASSERT_TRUE(ScriptFile::Read(path, read)) << slack;
        EXPECT_TRUE(read.contains(QStringLiteral("caf\u00e9"))) << slack;
    }
}

// A declared charset whose decoder passes on half a surrogate pair: the text holds the
// replacement character there, and a save reads back as saved.
TEST(ScriptFileTest, HalfASurrogatePairFromADecoderReadsAndSavesAsTheReplacementCharacter) {
    QByteArray bytes("<meta charset=\"utf32\">xx");
    bytes += QByteArray("<\xdd\x00\x00", 4);
    const QString text = ScriptFile::DecodeBytes(bytes);
    for (const QChar c : text) {
        EXPECT_FALSE(c.isSurrogate()) << int(c.unicode());
    }
    const QString path = TestHome() + QStringLiteral("/Wide.htm");
    ASSERT_TRUE(ScriptFile::Save(path, text));
    QString read;
    ASSERT_TRUE(ScriptFile::Read(path, read));
    EXPECT_EQ(read, ScriptFile::WithUtf8Declaration(text) + QStringLiteral("\r\n"));
}
