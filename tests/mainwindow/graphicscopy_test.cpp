#include "mainwindow/graphicscopy.h"

#include "support/testhome.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {
class GraphicsCopy : public ::testing::Test {
protected:
    void SetUp() override {
        source = TestHome() + QStringLiteral("/templates");
        target = TestHome() + QStringLiteral("/Temp");
        QDir().mkpath(source);
        QDir().mkpath(target);
    }
    void write(const QString& path, const QByteArray& bytes, const QDateTime& when) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.flush();
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    }
    QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QString source;
    QString target;
    const QDateTime noon = QDateTime(QDate(2026, 12, 1), QTime(12, 0));
};

TEST_F(GraphicsCopy, OnlyMissingOrOlderGraphicsAreCopiedAndNeverTheHtmTemplates) {
    write(source + QStringLiteral("/logo.png"), "new logo", noon);
    write(source + QStringLiteral("/same.gif"), "source", noon);
    write(target + QStringLiteral("/same.gif"), "copy", noon);
    write(source + QStringLiteral("/newer.svg"), "newer", noon);
    write(target + QStringLiteral("/newer.svg"), "older", noon.addSecs(-60));
    write(source + QStringLiteral("/older.css"), "older source", noon.addSecs(-60));
    write(target + QStringLiteral("/older.css"), "copy", noon);
    write(source + QStringLiteral("/Messages-List.htm"), "<html>", noon);
    write(source + QStringLiteral("/SHOUT.HTM"), "<html>", noon);
    write(source + QStringLiteral("/page.html"), "<html>", noon);
    QDir().mkpath(source + QStringLiteral("/sub"));

    EXPECT_EQ(CopyDatabaseGraphics(source, target), 3);
    EXPECT_EQ(read(target + QStringLiteral("/logo.png")), "new logo");
    EXPECT_EQ(QFileInfo(target + QStringLiteral("/logo.png")).lastModified(), noon);
    EXPECT_EQ(read(target + QStringLiteral("/same.gif")), "copy");
    EXPECT_EQ(read(target + QStringLiteral("/newer.svg")), "newer");
    EXPECT_EQ(read(target + QStringLiteral("/older.css")), "copy");
    EXPECT_EQ(read(target + QStringLiteral("/page.html")), "<html>");
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("/Messages-List.htm")));
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("/SHOUT.HTM")));
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("/sub")));

    // A second opening with nothing changed copies nothing.
    EXPECT_EQ(CopyDatabaseGraphics(source, target), 0);
}

TEST_F(GraphicsCopy, NoTemplatesFolderCopiesNothing) {
    write(TestHome() + QStringLiteral("/stray.png"), "x", noon);
    for (const QString& folder : {QString(), TestHome() + QStringLiteral("/stray.png"),
                                  TestHome() + QStringLiteral("/missing")}) {
        EXPECT_EQ(CopyDatabaseGraphics(folder, target), 0) << folder.toStdString();
    }
    EXPECT_TRUE(QDir(target).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST_F(GraphicsCopy, LinksAreNotFollowed) {
    write(TestHome() + QStringLiteral("/secret.txt"), "secret", noon);
    ASSERT_TRUE(QFile::link(TestHome() + QStringLiteral("/secret.txt"),
                            source + QStringLiteral("/secret.png")));
    EXPECT_EQ(CopyDatabaseGraphics(source, target), 0);
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("/secret.png")));
}
} // namespace
