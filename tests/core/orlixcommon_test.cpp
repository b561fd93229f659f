#include "core/orlixcommon.h"

#include "core/debuglog.h"
#include "core/dialogs/frmsplash.h"
#include "core/program.h"
#include "platform/directory/kvdirectory.h"
#include "platform/system/appservices.h"
#include "platform/system/singleinstance.h"
#include "platform/ui/profilechooserdialog.h"
#include "support/scripteddialogs.h"
#include "support/testhome.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {
const QString kBaseKey = QStringLiteral("SOFTWARE\\Kestova\\Orlix v1\\Client");

KVDirectory* directory() {
    return Program::Instance().Directory();
}

// The log's texts with their indentation, without the time.
QStringList logTexts() {
    QFile f(DebugLogFilePath());
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList out;
    for (const QString& line :
         QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        out.append(line.mid(8));
    }
    return out;
}

class StartUp : public ::testing::Test {
protected:
    void SetUp() override {
        TestDialogs().answerEvery<ProfileChooserDialog>([this](ProfileChooserDialog& d) {
            ++asked;
            if (answer.isEmpty()) {
                d.reject();
                return;
            }
            d.newNameEdit()->selectAll();
            d.newNameEdit()->insert(answer); // as typed: the dialog hears of the edit
            d.buttons()->button(QDialogButtonBox::Ok)->click();
        });
    }
    void TearDown() override {
        TerminateOrlix();
        UnloadSplash();
    }
    bool start(const QString& commandLine) {
        Program::Instance().SetOptions(StartupOptions::Parse(commandLine));
        return InitialiseOrlix(kBaseKey, false);
    }
    int asked = 0;
    QString answer;
};

TEST_F(StartUp, AForcedProfileStartsWithTheLoggedSequence) {
    ASSERT_TRUE(start(QStringLiteral("/DEBUG=NORMAL /NOPREVCHECK /Profile=Studio")));
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(Program::Instance().ProfileName(), QStringLiteral("Studio"));
    EXPECT_TRUE(
        QFileInfo(TestHome() + QStringLiteral("/Kestova/Orlix v1/Profiles/Studio")).isDir());
    ASSERT_NE(directory(), nullptr);
    EXPECT_TRUE(directory()->IsOpen());
    EXPECT_EQ(directory()->ProfileName(), QStringLiteral("Studio"));
    EXPECT_EQ(directory()->ClientOptions(), 33);
    EXPECT_EQ(directory()->ClientLevel(), 2);
    EXPECT_EQ(directory()->DebugLevel(), 5);
    EXPECT_EQ(directory()->Applications().Count(kProductCode), 1);
    ASSERT_NE(Splash(), nullptr);
    EXPECT_EQ(Splash()->lblCurrentAction->text(), QStringLiteral("Opening Kestova Directory"));
    EXPECT_EQ(Splash()->IconPictureKey(1), QStringLiteral("localon"));
    EXPECT_EQ(Splash()->IconPictureKey(2), QStringLiteral("securityon"));

    TerminateOrlix();
    EXPECT_EQ(directory(), nullptr);
    // The directory adds lines of its own; the start-up's own lines come in this order.
    const QStringList ours = {QStringLiteral(" Started InitialiseOrlix"),
                              QStringLiteral("     Read StartupOptions /DEBUG=NORMAL /NOPREVCHECK "
                                             "/PROFILE=STUDIO "),
                              QStringLiteral("     Getting Profile Name (Forcing 'Studio')"),
                              QStringLiteral("     Profile Chosen: 'Studio'"),
                              QStringLiteral("     Creating Kestova Directory Interface"),
                              QStringLiteral("     Opening Default Directory"),
                              QStringLiteral(" Finished OK"),
                              QStringLiteral(" Start TerminateOrlix"),
                              QStringLiteral(" Finished OK")};
    QStringList seen;
    for (const QString& line : logTexts()) {
        if (ours.contains(line)) {
            seen.append(line);
        }
    }
    EXPECT_EQ(seen, ours);
}

TEST_F(StartUp, ASecondCopyEndsAtOnce) {
    QDir().mkpath(QFileInfo(SingleInstance::DefaultLockPath()).absolutePath());
    QLockFile firstCopy(SingleInstance::DefaultLockPath());
    ASSERT_TRUE(firstCopy.tryLock(0));
    EXPECT_FALSE(start(QStringLiteral("/DEBUG=NORMAL /Profile=Studio")));
    EXPECT_EQ(Splash(), nullptr);
    EXPECT_EQ(directory(), nullptr);
    EXPECT_EQ(logTexts().last(), QStringLiteral(" Exit as app already running"));
}

TEST_F(StartUp, NoPrevCheckInAnyCaseSkipsTheTest) {
    QDir().mkpath(QFileInfo(SingleInstance::DefaultLockPath()).absolutePath());
    QLockFile firstCopy(SingleInstance::DefaultLockPath());
    ASSERT_TRUE(firstCopy.tryLock(0));
    EXPECT_TRUE(start(QStringLiteral("/noprevcheck /Profile=Studio")));
}

TEST_F(StartUp, NoProfileChosenEndsTheStart) {
    answer = QString();
    EXPECT_FALSE(start(QStringLiteral("/DEBUG=NORMAL /Profile")));
    EXPECT_EQ(asked, 1);
    const QStringList log = logTexts();
    EXPECT_TRUE(log.contains(QStringLiteral("     Getting Profile Name")));
    EXPECT_EQ(log.last(), QStringLiteral(" No Profile chosen so finished"));
    EXPECT_EQ(directory(), nullptr);
    TerminateOrlix();
    EXPECT_EQ(logTexts().mid(log.size()), (QStringList{QStringLiteral(" Start TerminateOrlix"),
                                                       QStringLiteral(" Finished OK")}));
}

TEST_F(StartUp, ADirectoryThatCannotOpenEndsTheStartButIsStillClosed) {
    // A folder where the directory's file belongs: it can be neither opened nor made.
    QDir().mkpath(KVDirectory::DefaultFilePath());
    EXPECT_FALSE(start(QStringLiteral("/DEBUG=NORMAL /Profile=Studio")));
    EXPECT_EQ(logTexts().last(), QStringLiteral(" Failed so finished"));
    ASSERT_NE(directory(), nullptr);
    TerminateOrlix();
    EXPECT_EQ(directory(), nullptr);
}

TEST_F(StartUp, AnEmptyDirectoryFileEndsTheStartAndIsKept) {
    // A truncated copy is not a missing directory: no new one, no first user to make.
    QDir().mkpath(QFileInfo(KVDirectory::DefaultFilePath()).absolutePath());
    QFile empty(KVDirectory::DefaultFilePath());
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_FALSE(start(QStringLiteral("/DEBUG=NORMAL /Profile=Studio")));
    EXPECT_EQ(logTexts().last(), QStringLiteral(" Failed so finished"));
    EXPECT_EQ(QFileInfo(KVDirectory::DefaultFilePath()).size(), 0);
    ASSERT_NE(directory(), nullptr);
    EXPECT_FALSE(directory()->IsOpen());
}

TEST_F(StartUp, TheServerFlagGivesItsOwnProfileFolder) {
    Program::Instance().SetOptions(StartupOptions::Parse(QStringLiteral("/Profile=Studio")));
    ASSERT_TRUE(InitialiseOrlix(kBaseKey, true));
    const QString folder = Program::Instance().ProfileFolder();
    EXPECT_TRUE(folder.endsWith(QStringLiteral("/Profiles/Studio/Server")));
    EXPECT_TRUE(QFileInfo(folder).isDir());
}
} // namespace
