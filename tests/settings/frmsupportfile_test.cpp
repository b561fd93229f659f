#include "platform/directory/kvdirectory.h"
#include "platform/directory/systemuser.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/support/supportdetailsdialog.h"
#include "platform/system/folders.h"
#include "settings/frmsupportfile.h"
#include "support/scriptedcommondialogs.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <archive.h>
#include <archive_entry.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

QStringList entryNames(const QString& path) {
    QStringList names;
    std::unique_ptr<archive, decltype(&archive_read_free)> a(archive_read_new(),
                                                             &archive_read_free);
    archive_read_support_format_zip(a.get());
    if (archive_read_open_filename(a.get(), QFile::encodeName(path).constData(), 65536) !=
        ARCHIVE_OK) {
        return names;
    }
    archive_entry* entry = nullptr;
    while (archive_read_next_header(a.get(), &entry) == ARCHIVE_OK) {
        names << QString::fromUtf8(archive_entry_pathname_utf8(entry));
    }
    return names;
}

const SupportDetails kAnn{QStringLiteral("Ann Presenter"), QString(),
                          QStringLiteral("ann@station.example"), QString()};

class SupportWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetSystemUserNameOverride(QStringLiteral("studio-os-user"));
        messagesFolder = TestHome() + QStringLiteral("/Messages");
        QDir().mkpath(messagesFolder);
        database = std::make_unique<OrlixDatabase>();
        database->SetChangeWatch(0, 0);
        ASSERT_EQ(database->OpenDatabase(messagesFolder, QString()), 0);
        directory = std::make_unique<KVDirectory>();
        bool failed = true;
        directory->OpenDefault(true, failed);
        ASSERT_FALSE(failed);
        window = std::make_unique<frmSupportFile>(database.get(), directory.get());
        window->show();
    }
    void TearDown() override {
        window.reset();
        directory.reset();
        database.reset();
        SetSystemUserNameOverride(QString());
    }
    void typeReason(const QString& text) {
        window->findChild<QPlainTextEdit*>(QStringLiteral("txtReason"))->setPlainText(text);
    }
    QLineEdit* supportId() { return window->findChild<QLineEdit*>(QStringLiteral("txtSupportID")); }
    QString savedTo() const { return TestHome() + QStringLiteral("/saved/support.zip"); }

    QString messagesFolder;
    std::unique_ptr<OrlixDatabase> database;
    std::unique_ptr<KVDirectory> directory;
    std::unique_ptr<frmSupportFile> window;
};

TEST_F(SupportWindowTest, RefusalsBeforeAnythingIsMade) {
    typeReason(QStringLiteral("   \n "));
    window->cmdMakeFile_Click();
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
    EXPECT_EQ(TestMessageBoxes().shown().back().text,
              QStringLiteral("You must give a reason for this sending this Support File"));

    typeReason(QStringLiteral("The Inbox stays empty."));
    TestMessageBoxes().queue(MsgResult::No);
    window->cmdMakeFile_Click();
    ASSERT_EQ(TestMessageBoxes().shown().size(), 2u);
    const MessageBoxRequest& question = TestMessageBoxes().shown().back();
    EXPECT_EQ(question.icon, MsgIcon::Question);
    EXPECT_EQ(question.defaultButton, 1) << "No is the default";
    EXPECT_TRUE(question.text.contains(QStringLiteral("support@kestova.example")));
    EXPECT_EQ(TestCommonDialogs().saveRequests().size(), 0u);
}

TEST_F(SupportWindowTest, OnlyDigitsReachTheSupportId) {
    QTest::keyClicks(supportId(), QStringLiteral("1a2-3"));
    EXPECT_EQ(supportId()->text(), QStringLiteral("123"));
    supportId()->clear();
    supportId()->insert(QStringLiteral("KVX9"));
    EXPECT_EQ(supportId()->text(), QString()) << "a paste with letters is refused whole";
}

TEST_F(SupportWindowTest, MadeAfterTheDetailsAreAskedForAndSaved) {
    typeReason(QStringLiteral("The Inbox stays empty."));
    QTest::keyClicks(supportId(), QStringLiteral("123"));
    window->findChild<QCheckBox*>(QStringLiteral("chkSendDirectory"))->setChecked(false);
    TestDialogs().queue([](QDialog& d) {
        auto& details = dynamic_cast<SupportDetailsDialog&>(d);
        details.findChild<QLineEdit*>(QStringLiteral("txtName"))->setText(kAnn.Name);
        details.findChild<QLineEdit*>(QStringLiteral("txtEmail"))->setText(kAnn.EmailAddress);
        details.accept();
    });
    TestCommonDialogs().queueSaveFileName(savedTo());
    QDir().mkpath(QFileInfo(savedTo()).absolutePath());
    window->cmdMakeFile_Click();

    ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
    EXPECT_EQ(TestMessageBoxes().shown().back().text,
              QStringLiteral("Your Support File has been successfully saved to ") + savedTo());
    EXPECT_EQ(TestCommonDialogs().saveRequests().back().title, QStringLiteral("Save Support File"));
    EXPECT_TRUE(
        TestCommonDialogs().saveRequests().back().fileName.endsWith(QStringLiteral(".zip")));
    EXPECT_EQ(QFile::permissions(savedTo()) & (QFileDevice::ReadGroup | QFileDevice::ReadOther |
                                               QFileDevice::WriteGroup | QFileDevice::WriteOther),
              0);
    const QStringList names = entryNames(savedTo());
    EXPECT_TRUE(names.contains(QStringLiteral("messages.sqlite"))) << names.join(',').toStdString();
    EXPECT_FALSE(names.contains(QStringLiteral("Directory.sqlite"))) << "the tick was cleared";
    EXPECT_TRUE(names.contains(QStringLiteral("SupportFile.txt")));
    EXPECT_EQ(SupportDetailsDialog::Load(frmSupportFile::CfgFileSection()).Name, kAnn.Name);
    EXPECT_FALSE(window->IsBusy());
    EXPECT_TRUE(
        QDir(Folders::PrivateTemp()).entryList({QStringLiteral("support-*")}, QDir::Dirs).isEmpty())
        << "no scratch folder is left";
}

TEST_F(SupportWindowTest, SaveCancelledIsSilentAndAPlaceThatCannotBeWrittenIsTold) {
    SupportDetailsDialog::Save(frmSupportFile::CfgFileSection(), kAnn);
    typeReason(QStringLiteral("Crashes."));
    QTest::keyClicks(supportId(), QStringLiteral("7"));
    TestCommonDialogs().queueSaveFileName(QString());
    window->cmdMakeFile_Click();
    EXPECT_TRUE(TestMessageBoxes().shown().empty());

    QFile blocker(TestHome() + QStringLiteral("/plain"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString below = blocker.fileName() + QStringLiteral("/support.zip");
    TestCommonDialogs().queueSaveFileName(below);
    window->cmdMakeFile_Click();
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
    EXPECT_TRUE(TestMessageBoxes().shown().back().text.startsWith(
        QStringLiteral("There was a problem saving the Support File to ") + below +
        QStringLiteral(" and the Description of the error was:\n\n")));
}

// The details dialog is asked for in the middle of making the file: every close is refused then.
TEST_F(SupportWindowTest, BusyRefusesEveryClose) {
    typeReason(QStringLiteral("Crashes."));
    QTest::keyClicks(supportId(), QStringLiteral("7"));
    bool stayedOpen = false;
    TestDialogs().queue([&](QDialog& d) {
        ASSERT_TRUE(window->IsBusy());
        window->close();
        QTest::keyClick(window.get(), Qt::Key_Escape);
        window->reject();
        stayedOpen = window->isVisible();
        d.reject(); // no details: nothing is made
    });
    window->cmdMakeFile_Click();
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(TestMessageBoxes().shown().size(), 3u);
    for (const MessageBoxRequest& box : TestMessageBoxes().shown()) {
        EXPECT_EQ(box.text, QStringLiteral("You cannot close this window while a support file is "
                                           "being generated/uploaded"));
    }
    EXPECT_TRUE(TestCommonDialogs().saveRequests().empty());
    EXPECT_FALSE(window->IsBusy());
}

TEST_F(SupportWindowTest, EscClosesWhenIdle) {
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}

} // namespace
