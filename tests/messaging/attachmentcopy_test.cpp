#include "messaging/attachmentcopy.h"
#include "support/testhome.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(AttachmentCopy, TheCopyPathNeverLeavesTheFolder) {
    const struct {
        const char* name;
        const char* path;
    } cases[] = {
        {"song.mp3", "/tmp/p/song.mp3"}, {"", "/tmp/p/attachment"},
        {".", "/tmp/p/attachment"},      {"..", "/tmp/p/attachment"},
        {"a/b", "/tmp/p/attachment"},    {"a\\b", "/tmp/p/attachment"},
        {"...", "/tmp/p/..."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(attachmentcopy::CopyPath(QStringLiteral("/tmp/p"), QString::fromUtf8(c.name)),
                  QString::fromUtf8(c.path))
            << c.name;
    }
    EXPECT_EQ(attachmentcopy::CopyPath(QStringLiteral("/tmp/p"), QStringLiteral("a") + QChar(0)),
              QStringLiteral("/tmp/p/attachment"));
    EXPECT_EQ(attachmentcopy::CopyPath(QString(), QStringLiteral("a")), QString());
}

TEST(AttachmentCopy, ProgramsAreKnownByNameOrByContent) {
    const struct {
        const char* name;
        QByteArray content;
        bool program;
    } cases[] = {
        {"song.mp3", "ID3", false},
        {"photo.jpg", "\xff\xd8\xff", false},
        {"letter.pdf", "%PDF-1.4", false},
        {"notes.txt", "Hello", false},
        {"setup.exe", "x", true},
        {"song.mp3.exe", "x", true},
        {"run.sh", "echo", true},
        {"x.desktop", "[Desktop Entry]", true},
        {"launch.DESKTOP", "x", true},
        {"notes.txt", "#!/bin/sh\n", true},
        {"picture.png",
         QByteArray("\x7f"
                    "ELF\x02\x01",
                    6),
         true},
        {"readme", "[Desktop Entry]\nExec=x", true},
        {"tool.jar", "PK", true},
        {"script.py", "print(1)", true},
    };
    for (const auto& c : cases) {
        const QString path = TestHome() + QStringLiteral("/") + QString::fromUtf8(c.name);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.content);
        f.close();
        EXPECT_EQ(attachmentcopy::IsProgram(path), c.program) << c.name;
        QFile::remove(path);
    }
}

TEST(AttachmentCopy, OnlyListedKindsThatAreNoProgramsAreOpened) {
    const QByteArray jpeg("\xff\xd8\xff\xe0\x00\x10JFIF\x00", 11);
    const struct {
        const char* name;
        QByteArray content;
        const char* refusal; // nullptr: opened
    } cases[] = {
        {"song.mp3.pyw", "import os", attachmentcopy::kProgramRefusal},
        {"notes.txt", "#!/bin/sh\nrm -rf ~\n", attachmentcopy::kProgramRefusal},
        {"page.html", "<html><script>x</script></html>", attachmentcopy::kKindRefusal},
        {"logo.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"/>", attachmentcopy::kKindRefusal},
        {"letter.docm", "PK\x03\x04", attachmentcopy::kKindRefusal},
        {"archive.zip", "PK\x03\x04", attachmentcopy::kKindRefusal},
        {"readme", "Hello", attachmentcopy::kKindRefusal},
        {"photo.jpg", jpeg, nullptr},
        {"letter.pdf", "%PDF-1.4\n", nullptr},
        {"song.mp3", "ID3\x03\x00", nullptr},
        {"notes.txt", "Hello", nullptr},
        {"list.csv", "a,b\n", nullptr},
        {"report.docx", "PK\x03\x04", nullptr},
        {"sheet.ods", "PK\x03\x04", nullptr},
        {"clip.mp4", "....ftypisom", nullptr},
    };
    for (const auto& c : cases) {
        const QString path = TestHome() + QStringLiteral("/") + QString::fromUtf8(c.name);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.content);
        f.close();
        EXPECT_EQ(attachmentcopy::OpenRefusal(path),
                  c.refusal ? QString::fromUtf8(c.refusal) : QString())
            << c.name;
        QFile::remove(path);
    }
}

TEST(AttachmentCopy, ClearingRemovesACopyOrALinkButNotAFolder) {
    const QString outside = TestHome() + QStringLiteral("/outside.txt");
    QFile f(outside);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep");
    f.close();
    const QString link = TestHome() + QStringLiteral("/link.txt");
    ASSERT_TRUE(QFile::link(outside, link));
    EXPECT_TRUE(attachmentcopy::ClearCopyPath(link));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFile::exists(outside));
    const QString dangling = TestHome() + QStringLiteral("/dangling.txt");
    ASSERT_TRUE(QFile::link(TestHome() + QStringLiteral("/nowhere"), dangling));
    EXPECT_TRUE(attachmentcopy::ClearCopyPath(dangling));
    EXPECT_FALSE(QFileInfo(dangling).isSymLink());
    EXPECT_TRUE(attachmentcopy::ClearCopyPath(outside));
    EXPECT_FALSE(QFile::exists(outside));
    EXPECT_TRUE(attachmentcopy::ClearCopyPath(TestHome() + QStringLiteral("/missing")));
    QDir().mkpath(TestHome() + QStringLiteral("/folder"));
    EXPECT_FALSE(attachmentcopy::ClearCopyPath(TestHome() + QStringLiteral("/folder")));
}

} // namespace
