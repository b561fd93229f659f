#include "core/printing/printfile.h"

#include "platform/system/folders.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(PrintFile, WrittenUnderTheTemplatesNameInThePrivateTemporaryFolder) {
    const QString path = WritePrintFile(QStringLiteral("/srv/db/Templates/Winners.htm"),
                                        QStringLiteral("Caf\u00e9"));
    EXPECT_EQ(path, Folders::PrivateTemp() + QStringLiteral("/Winners.htm"));
    EXPECT_EQ(contentOf(path), QByteArray("\xEF\xBB\xBF"
                                          "Caf\xC3\xA9\n"));
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}

TEST(PrintFile, LeavesNoScratchFileBehindAndReplacesAnEarlierPrint) {
    const QString first = WritePrintFile(QStringLiteral("Winners.htm"), QStringLiteral("one"));
    const QString second = WritePrintFile(QStringLiteral("Winners.htm"), QStringLiteral("two"));
    EXPECT_EQ(first, second);
    EXPECT_EQ(contentOf(second), QByteArray("\xEF\xBB\xBFtwo\n"));
    EXPECT_EQ(QDir(Folders::PrivateTemp()).entryList(QDir::Files), QStringList{"Winners.htm"});
}

TEST(PrintFile, AFailedWriteIsReportedAndReturnsNothing) {
    // A folder stands where the file should go.
    ASSERT_TRUE(QDir().mkpath(Folders::PrivateTemp() + QStringLiteral("/Winners.htm")));
    EXPECT_EQ(WritePrintFile(QStringLiteral("Winners.htm"), QStringLiteral("x")), QString());
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
    const QString text = TestMessageBoxes().shown().front().text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("There was a problem writing the print file '") +
                                Folders::PrivateTemp() +
                                QStringLiteral("/Winners.htm' and the error's description was "
                                               "reported as : \n\n\"")))
        << text.toStdString();
}

TEST(PrintFile, NoTemporaryFolderStopsThePrint) {
    // A file where the private temporary folder's parent should be: no folder can be made.
    QFile blocker(TestHome() + QStringLiteral("/user"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(WritePrintFile(QStringLiteral("Winners.htm"), QStringLiteral("x")), QString());
    ASSERT_FALSE(TestMessageBoxes().shown().empty());
    EXPECT_EQ(TestMessageBoxes().shown().back().text,
              QStringLiteral("There was a problem finding a folder for the print file"));
    EXPECT_FALSE(QFile::exists(QStringLiteral("Winners.htm"))) << "never the working folder";
}

} // namespace
