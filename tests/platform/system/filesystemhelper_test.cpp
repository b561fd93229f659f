#include "platform/system/filesystemhelper.h"
#include "support/testhome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace {
struct PathCase {
    const char* path;
    const char* name;
    const char* extension;
    const char* title;
    const char* folder;
};

TEST(FileSystemHelper, PathParts) {
    const std::vector<PathCase> cases = {
        {"/srv/scripts/Morning Show.htm", "Morning Show.htm", "htm", "Morning Show",
         "/srv/scripts"},
        {"C:\\Data\\notes.txt", "notes.txt", "txt", "notes", "C:/Data"},
        {"archive.tar.gz", "archive.tar.gz", "gz", "archive.tar", ""},
        {"/srv/README", "README", "", "README", "/srv"},
        {"/top.rtf", "top.rtf", "rtf", "top", "/"},
    };
    for (const PathCase& c : cases) {
        const QString p = QString::fromUtf8(c.path);
        EXPECT_EQ(FileSystemHelper::FileNameOfPath(p), QString::fromUtf8(c.name)) << c.path;
        EXPECT_EQ(FileSystemHelper::FileExtension(p), QString::fromUtf8(c.extension)) << c.path;
        EXPECT_EQ(FileSystemHelper::FileTitle(p), QString::fromUtf8(c.title)) << c.path;
        EXPECT_EQ(FileSystemHelper::FolderOfPath(p), QString::fromUtf8(c.folder)) << c.path;
    }
}

TEST(FileSystemHelper, FilesFoldersAndSizes) {
    const QString folder = TestHome() + QStringLiteral("/a/b/c");
    EXPECT_TRUE(FileSystemHelper::CreateFolder(folder));
    EXPECT_TRUE(FileSystemHelper::CreateFolder(folder)); // an existing folder is fine
    EXPECT_TRUE(FileSystemHelper::FolderExists(folder));
    EXPECT_FALSE(FileSystemHelper::FileExists(folder));
    EXPECT_FALSE(FileSystemHelper::CreateFolder(QString()));

    const QString file = folder + QStringLiteral("/f.txt");
    EXPECT_EQ(FileSystemHelper::FileSize(file), -1);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(FileSystemHelper::FileSize(file), 0);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("12345");
    f.close();
    EXPECT_EQ(FileSystemHelper::FileSize(file), 5);
    EXPECT_TRUE(FileSystemHelper::FileExists(file));
    EXPECT_FALSE(FileSystemHelper::FolderExists(file));
    EXPECT_FALSE(FileSystemHelper::CreateFolder(file + QStringLiteral("/below")));
}

// A path under a regular file cannot be made, as root too.
TEST(FileSystemHelper, TheReasonAFolderCouldNotBeMade) {
    const QString file = TestHome() + QStringLiteral("/plain");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const QString notAFolder = QString::fromLocal8Bit(std::strerror(ENOTDIR));
    struct Case {
        const char* name;
        QString path;
        QString reason;
    };
    const Case cases[] = {
        {"an existing file", file, notAFolder},
        {"below a file", file + QStringLiteral("/below"), notAFolder},
        {"several levels below a file", file + QStringLiteral("/a/b/c"), notAFolder},
        {"a folder that can be made after all", TestHome() + QStringLiteral("/free/x"),
         QStringLiteral("the folder could not be made")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileSystemHelper::FolderCreationError(c.path), c.reason);
    }
    // Asking makes nothing.
    EXPECT_FALSE(QFileInfo::exists(TestHome() + QStringLiteral("/free")));
}
} // namespace
