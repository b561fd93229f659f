#include "mainwindow/frmmain.h"
#include "platform/directory/kvdirectory.h"
#include "platform/directory/systemuser.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/support/supportdetailsdialog.h"
#include "platform/system/appinfo.h"
#include "platform/system/desktopopener.h"
#include "platform/system/folders.h"
#include "platform/system/registrystore.h"
#include "platform/ui/forms.h"
#include "settings/frmsupportfile.h"
#include "support/enterbox.h"
#include "support/scriptedcommondialogs.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"
#include "support/uploadserver.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <QUrl>

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

// The id support asked for is typed at once when the window opens; entering its box later,
// by a click or by Tab, selects it to be typed over.
TEST_F(SupportWindowTest, TheSupportIdIsTypedAtOnceAndSelectedWhenEntered) {
    ASSERT_TRUE(ShowActive(*window));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("42"));
    EXPECT_EQ(supportId()->text(), QStringLiteral("42"));
    auto* reason = window->findChild<QPlainTextEdit*>(QStringLiteral("txtReason"));
    EXPECT_EQ(reason->toPlainText(), QString());
    for (const Entry how : {Entry::Click, Entry::Tab}) {
        supportId()->setText(QStringLiteral("5"));
        reason->setFocus();
        ASSERT_TRUE(EnterBox(supportId(), how)) << NameOf(how);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("10"));
        EXPECT_EQ(supportId()->text(), QStringLiteral("10")) << NameOf(how);
    }
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
    TestMessageBoxes().queue(MsgResult::No); // not uploaded: saved
    window->cmdMakeFile_Click();

    ASSERT_EQ(TestMessageBoxes().shown().size(), 2u) << "the upload question, then the saved box";
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
    TestMessageBoxes().queue(MsgResult::No); // not uploaded: saved
    window->cmdMakeFile_Click();
    EXPECT_EQ(TestMessageBoxes().shown().size(), 1u) << "only the upload question";
    TestMessageBoxes().clear();

    QFile blocker(TestHome() + QStringLiteral("/plain"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString below = blocker.fileName() + QStringLiteral("/support.zip");
    TestCommonDialogs().queueSaveFileName(below);
    TestMessageBoxes().queue(MsgResult::No);
    window->cmdMakeFile_Click();
    ASSERT_EQ(TestMessageBoxes().shown().size(), 2u) << "the upload question, then the error";
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

// Stop while the database is copied fails that copy only: the message says it will not be sent,
// and the file is made with the rest.
TEST_F(SupportWindowTest, AFailedCopyIsToldAndTheRestIsMade) {
    SupportDetailsDialog::Save(frmSupportFile::CfgFileSection(), kAnn);
    typeReason(QStringLiteral("Crashes."));
    QTest::keyClicks(supportId(), QStringLiteral("7"));
    auto* status = window->findChild<QLabel*>(QStringLiteral("lblStatus"));
    QTimer watch;
    bool stopped = false;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!stopped && status->text() == QStringLiteral("Copying Orlix Database...")) {
            stopped = true;
            window->cmdStop_Click();
        }
    });
    watch.start(0);
    TestMessageBoxes().queue(MsgResult::OK); // the copy's message
    TestMessageBoxes().queue(MsgResult::No); // saved, not uploaded
    TestCommonDialogs().queueSaveFileName(savedTo());
    QDir().mkpath(QFileInfo(savedTo()).absolutePath());
    window->cmdMakeFile_Click();
    watch.stop();
    ASSERT_TRUE(stopped);
    QStringList texts;
    for (const MessageBoxRequest& box : TestMessageBoxes().shown()) {
        texts << box.text;
    }
    ASSERT_EQ(texts.size(), 3) << texts.join('|').toStdString();
    EXPECT_EQ(texts[0], QStringLiteral("The Orlix Database could not be copied to include in this "
                                       "support file so it will not be sent"));
    EXPECT_EQ(TestMessageBoxes().shown().front().icon, MsgIcon::Exclamation);
    EXPECT_EQ(texts[2],
              QStringLiteral("Your Support File has been successfully saved to ") + savedTo());
    const QStringList names = entryNames(savedTo());
    EXPECT_FALSE(names.contains(QStringLiteral("messages.sqlite")));
    EXPECT_TRUE(names.contains(QStringLiteral("Directory.sqlite"))) << "the rest is made";
    EXPECT_TRUE(names.contains(QStringLiteral("SupportFile.txt")));
}

// Help opens the help file as the main window's Help, Contents does; with none, or an empty
// one, there is no button.
TEST(SupportWindowHelp, OpensTheHelpFileOnlyWhenThereIsOne) {
    const QString before = AppInfo::Path();
    const QString program = TestHome() + QStringLiteral("/program-help");
    QDir().mkpath(program);
    AppInfo::SetPath(program);
    QList<QUrl> opened;
    SetDesktopOpener([&](const QUrl& url) {
        opened << url;
        return true;
    });
    const struct {
        const char* content; // null: no file
        bool shown;
    } cases[] = {{nullptr, false}, {"", false}, {"help", true}};
    for (const auto& c : cases) {
        QFile::remove(frmMain::HelpFilePath());
        if (c.content != nullptr) {
            QFile f(frmMain::HelpFilePath());
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.content);
        }
        frmSupportFile window(nullptr, nullptr);
        auto* help = window.findChild<QPushButton*>(QStringLiteral("cmdHelp"));
        ASSERT_NE(help, nullptr);
        EXPECT_EQ(!help->isHidden(), c.shown) << c.content;
        if (c.shown) {
            help->click();
            EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(frmMain::HelpFilePath())});
        }
    }
    SetDesktopOpener(nullptr);
    AppInfo::SetPath(before);
}

TEST_F(SupportWindowTest, EscClosesWhenIdle) {
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}

// The upload to the support desk, against a server of the test's own on 127.0.0.1.
class SupportUploadTest : public SupportWindowTest {
protected:
    void SetUp() override {
        SupportWindowTest::SetUp();
        SupportDetailsDialog::Save(frmSupportFile::CfgFileSection(), kAnn);
        typeReason(QStringLiteral("The Inbox stays empty."));
        QTest::keyClicks(supportId(), QStringLiteral("123"));
        setAddress(server.Url());
    }
    static void setAddress(const QString& address) {
        ASSERT_TRUE(RegistryStore::WriteString(
            RegistryRoot::LocalMachine, QStringLiteral("SOFTWARE\\Kestova\\Support\\Orlixv1"),
            QStringLiteral("UploadAddress"), address));
    }
    QStringList texts() const {
        QStringList all;
        for (const MessageBoxRequest& box : TestMessageBoxes().shown()) {
            all << box.text;
        }
        return all;
    }
    static QString closing() {
        return QStringLiteral("\n\nFor more information, please contact Kestova Technical "
                              "Support\n\nYou will now be able to save the file to your local "
                              "system");
    }
    static QString uploadQuestion() {
        return QStringLiteral("Do you want to automatically upload this Support File to "
                              "Kestova?\n\nNote that you must be connected to the internet before "
                              "clicking OK");
    }
    static QString sentText() {
        return QStringLiteral("Your Support File has been successfully sent to Kestova");
    }

    UploadServer server;
};

TEST_F(SupportUploadTest, AnswersOfTheSupportDesk) {
    struct Case {
        int status;
        QStringList boxes; // after the upload question
        bool saveOffered;
    } cases[] = {
        {200, {sentText()}, false},
        {202, {sentText()}, false},
        {500,
         {QStringLiteral("There was a problem uploading the Support File - the support desk "
                         "answered 500 Answer")},
         true},
        {403,
         {QStringLiteral("You can not upload a support file because your email address has been "
                         "blocked.") +
          closing()},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        TestMessageBoxes().clear();
        server.SetStatus(c.status);
        const qsizetype before = server.Requests().size();
        bool detailsAsked = false;
        if (c.status == 403) {
            TestDialogs().queue([&](QDialog& d) {
                detailsAsked = true;
                d.reject();
            });
        }
        if (c.saveOffered) {
            TestCommonDialogs().queueSaveFileName(QString());
        }
        const size_t saves = TestCommonDialogs().saveRequests().size();
        window->cmdMakeFile_Click();
        EXPECT_EQ(texts(), QStringList{uploadQuestion()} + c.boxes);
        EXPECT_EQ(server.Requests().size(), before + 1);
        EXPECT_EQ(TestCommonDialogs().saveRequests().size() - saves, c.saveOffered ? 1u : 0u);
        EXPECT_EQ(detailsAsked, c.status == 403);
        EXPECT_FALSE(window->IsBusy());
        EXPECT_FALSE(window->findChild<QWidget*>(QStringLiteral("pnlStatus"))->isVisible());
    }
}

// What reaches the desk is the file the user could have saved, with the summary's fields.
TEST_F(SupportUploadTest, FieldsAndFileReceivedEqualTheArchive) {
    server.SetStatus(500);
    TestCommonDialogs().queueSaveFileName(savedTo());
    QDir().mkpath(QFileInfo(savedTo()).absolutePath());
    window->cmdMakeFile_Click();
    ASSERT_EQ(server.Requests().size(), 1);
    const UploadServer::Request& r = server.Requests().front();
    EXPECT_EQ(r.method, "POST");
    EXPECT_TRUE(r.contentType.startsWith("multipart/form-data")) << r.contentType.toStdString();
    EXPECT_EQ(r.fields.value("subject"), "[KVX123]");
    EXPECT_EQ(r.fields.value("reason"), "The Inbox stays empty.");
    EXPECT_EQ(r.fields.value("name"), kAnn.Name.toUtf8());
    EXPECT_EQ(r.fields.value("email"), kAnn.EmailAddress.toUtf8());
    EXPECT_EQ(r.fields.value("version"), "1.0.11");
    EXPECT_TRUE(r.fields.value("title").contains(" Support File for "));
    for (const char* name : {"product", "organisation", "telephone"}) {
        EXPECT_TRUE(r.fields.contains(name)) << name;
    }
    QFile saved(savedTo());
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    EXPECT_FALSE(bytes.isEmpty());
    EXPECT_EQ(r.fields.value("file"), bytes);
}

TEST_F(SupportUploadTest, RefusedAddressAsksTheDetailsAndSendsAgain) {
    server.SetStatus(422);
    TestDialogs().queue([&](QDialog& d) {
        server.SetStatus(200);
        d.accept();
    });
    window->cmdMakeFile_Click();
    EXPECT_EQ(texts(), (QStringList{uploadQuestion(),
                                    QStringLiteral("You must enter a valid email address to send "
                                                   "the support file to Kestova"),
                                    sentText()}));
    EXPECT_EQ(server.Requests().size(), 2);
    EXPECT_TRUE(TestCommonDialogs().saveRequests().empty());
}

// Nothing reaches the server: no address, plain http to another computer, a closed port.
TEST_F(SupportUploadTest, NoWayToTheDeskOffersSaving) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const QString closedUrl = QStringLiteral("http://127.0.0.1:%1/upload").arg(closed.serverPort());
    closed.close();
    const QString noAddress =
        QStringLiteral("You can not upload a support file because the information could not be "
                       "read to determine where to upload the Support File to.") +
        closing();
    const struct {
        QString address;
        QString box;
    } cases[] = {
        {QString(), noAddress},
        {QStringLiteral("http://192.0.2.1/upload"), noAddress},
        {QStringLiteral("ftp://127.0.0.1/upload"), noAddress},
        {closedUrl, QStringLiteral("You can not upload a support file because a connection to the "
                                   "Internet could not be found.") +
                        closing()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address.toStdString());
        TestMessageBoxes().clear();
        setAddress(c.address);
        TestCommonDialogs().queueSaveFileName(QString());
        const size_t saves = TestCommonDialogs().saveRequests().size();
        window->cmdMakeFile_Click();
        EXPECT_EQ(texts(), (QStringList{uploadQuestion(), c.box}));
        EXPECT_EQ(TestCommonDialogs().saveRequests().size(), saves + 1);
    }
    EXPECT_EQ(server.Connections(), 0);
}

// A redirect is followed only where the first address could have gone: to another computer
// over plain http nothing is sent, and the user is told where the desk pointed.
TEST_F(SupportUploadTest, ARedirectElsewhereInTheClearSendsNothingThere) {
    UploadServer elsewhere; // reached as 0.0.0.0, which the rule counts as another computer
    const QString elsewhereUrl =
        QStringLiteral("http://0.0.0.0:%1/upload").arg(QUrl(elsewhere.Url()).port());
    for (int status : {307, 301, 303}) {
        SCOPED_TRACE(status);
        TestMessageBoxes().clear();
        server.SetRedirect(status, elsewhereUrl);
        TestCommonDialogs().queueSaveFileName(QString());
        const size_t saves = TestCommonDialogs().saveRequests().size();
        window->cmdMakeFile_Click();
        EXPECT_EQ(texts(),
                  (QStringList{uploadQuestion(),
                               QStringLiteral("There was a problem uploading the Support File - "
                                              "the support desk redirected the upload to '") +
                                   elsewhereUrl +
                                   QStringLiteral("'; nothing was sent there, as only https, or "
                                                  "plain http to this computer, is used")}));
        EXPECT_EQ(TestCommonDialogs().saveRequests().size(), saves + 1) << "the save offer";
        EXPECT_FALSE(window->IsBusy());
    }
    EXPECT_EQ(elsewhere.Connections(), 0);
    EXPECT_TRUE(elsewhere.Requests().isEmpty());

    // This computer's own other port is as safe as the first address: the upload goes on there.
    TestMessageBoxes().clear();
    UploadServer here;
    server.SetRedirect(307, here.Url());
    window->cmdMakeFile_Click();
    EXPECT_EQ(texts(), (QStringList{uploadQuestion(), sentText()}));
    ASSERT_EQ(here.Requests().size(), 1);
    EXPECT_EQ(here.Requests().front().fields.value("reason"), "The Inbox stays empty.");
}

// No answer within the idle limit is no connection, whether the desk holds the request or an
// https listener never speaks; Stop alone makes a stop.
TEST_F(SupportUploadTest, NoAnswerInTheIdleLimitIsNoConnection) {
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    QList<QTcpSocket*> held; // accepted and never answered
    QObject::connect(&silent, &QTcpServer::newConnection, &silent, [&] {
        while (QTcpSocket* socket = silent.nextPendingConnection()) {
            held << socket;
        }
    });
    server.SetHold(true);
    window->SetIdleTimeoutMs(300);
    const QString noConnection = QStringLiteral("You can not upload a support file because a "
                                                "connection to the Internet could not be found.") +
                                 closing();
    for (const QString& address :
         {server.Url(), QStringLiteral("https://127.0.0.1:%1/upload").arg(silent.serverPort())}) {
        SCOPED_TRACE(address.toStdString());
        TestMessageBoxes().clear();
        setAddress(address);
        TestCommonDialogs().queueSaveFileName(QString());
        const size_t saves = TestCommonDialogs().saveRequests().size();
        window->cmdMakeFile_Click();
        EXPECT_EQ(texts(), (QStringList{uploadQuestion(), noConnection}));
        EXPECT_EQ(TestCommonDialogs().saveRequests().size(), saves + 1) << "the save offer";
    }
    EXPECT_FALSE(held.isEmpty()) << "the https listener was reached";
}

TEST_F(SupportUploadTest, StopDuringASlowUploadAndTheWarningDeclined) {
    server.SetHold(true);
    QString status;
    server.SetOnStarted([&] {
        status = window->findChild<QLabel*>(QStringLiteral("lblStatus"))->text();
        window->cmdStop_Click();
    });
    TestCommonDialogs().queueSaveFileName(QString());
    window->cmdMakeFile_Click();
    EXPECT_EQ(status, QStringLiteral("Sending..."));
    EXPECT_EQ(texts(), QStringList{uploadQuestion()}) << "a stop is no error";
    EXPECT_EQ(TestCommonDialogs().saveRequests().size(), 1u);
    EXPECT_FALSE(window->IsBusy());

    TestMessageBoxes().clear();
    const int connections = server.Connections();
    window->SetLargeFileLimit(10);
    TestMessageBoxes().queue(MsgResult::Yes);
    TestMessageBoxes().queue(MsgResult::No);
    TestCommonDialogs().queueSaveFileName(QString());
    window->cmdMakeFile_Click();
    ASSERT_EQ(texts().size(), 2);
    EXPECT_EQ(texts().back(), QStringLiteral("Caution - this Support File is quite large and may "
                                             "take some time to send.\n\nAre you sure you want to "
                                             "continue?"));
    EXPECT_EQ(server.Connections(), connections) << "nothing is sent";
    EXPECT_EQ(TestCommonDialogs().saveRequests().size(), 2u);
}

// While the file is sent the window is busy: the status panel shows below everything else
// and grows the window by its own height, and no way of closing it gets through, a shut-down's
// unloading included. Idle again, the window has its old height.
TEST_F(SupportUploadTest, BusyWhileSendingShowsThePanelAndRefusesEveryClose) {
    QWidget* panel = window->findChild<QWidget*>(QStringLiteral("pnlStatus"));
    const int idle = window->height();
    Forms::Add(window.get());
    server.SetHold(true);
    int busyHeight = 0;
    bool unloaded = true;
    bool stayedOpen = false;
    server.SetOnStarted([&] {
        busyHeight = window->height();
        EXPECT_TRUE(panel->isVisible());
        EXPECT_GE(panel->geometry().top(),
                  window->findChild<QWidget*>(QStringLiteral("cmdMakeFile"))->geometry().bottom());
        window->close();
        QTest::keyClick(window.get(), Qt::Key_Escape);
        unloaded = Forms::Unload(window.get());
        stayedOpen = window->isVisible();
        window->cmdStop_Click();
    });
    TestCommonDialogs().queueSaveFileName(QString());
    window->cmdMakeFile_Click();
    EXPECT_FALSE(unloaded);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(busyHeight, idle + window->layout()->spacing() + panel->sizeHint().height());
    EXPECT_EQ(window->height(), idle);
    EXPECT_FALSE(panel->isVisible());
    const QStringList boxes = texts();
    ASSERT_EQ(boxes.size(), 4);
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(boxes[i], QStringLiteral("You cannot close this window while a support file is "
                                           "being generated/uploaded"));
    }
    EXPECT_TRUE(Forms::Contains(window.get()));
}

// Idle, and busy sending with the status panel below everything else; tools/screenshots keeps
// both pictures.
TEST_F(SupportUploadTest, TheWindowDrawsIdleAndBusy) {
    ASSERT_TRUE(ShowActive(*window));
    const QImage idle = window->grab().toImage();
    QImage busy;
    server.SetHold(true);
    server.SetOnStarted([&] {
        window->findChild<QProgressBar*>(QStringLiteral("prgProgress"))->setValue(40);
        busy = window->grab().toImage();
        window->cmdStop_Click();
    });
    TestCommonDialogs().queueSaveFileName(QString());
    window->cmdMakeFile_Click();
    ASSERT_FALSE(idle.isNull());
    ASSERT_FALSE(busy.isNull());
    EXPECT_GT(busy.height(), idle.height()) << "the status panel adds its height";
    const QString shots = qEnvironmentVariable("ORLIX_SCREENSHOTS");
    if (!shots.isEmpty()) {
        EXPECT_TRUE(idle.save(shots + QStringLiteral("/support.png")));
        EXPECT_TRUE(busy.save(shots + QStringLiteral("/support-busy.png")));
    }
}

} // namespace
