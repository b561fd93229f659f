#include "emailwindowfixture.h"
#include "messaging/frmmessage.h"

#include "core/orlixcommon.h"
#include "core/profile/cocsettings.h"
#include "core/program.h"
#include "core/windows/editwindows.h"
#include "core/windows/windowopeners.h"
#include "messaging/messagingwindows.h"
#include "messaging/safebodyview.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/directory/userrights.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixmessagelist.h"
#include "platform/mime/mimemessage.h"
#include "platform/system/appinfo.h"
#include "platform/system/displaytext.h"
#include "platform/ui/forms.h"
#include "support/displaymarks.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"
#include "support/waitfor.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

TEST_F(EmailWindow, ReceivedMessageOpensReadOnlyWithItsDateAndAnswers) {
    frmMessage* window = open(received());
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->Editable());
    EXPECT_FALSE(window->lblDate()->text().isEmpty());
    EXPECT_TRUE(window->lblDate()->isVisibleTo(window));
    EXPECT_TRUE(window->cmdReply()->isVisibleTo(window));
    EXPECT_TRUE(window->cmdReplyAll()->isVisibleTo(window));
    EXPECT_TRUE(window->cmdForward()->isVisibleTo(window));
    EXPECT_FALSE(window->cmdSend()->isVisibleTo(window));
    EXPECT_TRUE(window->ctlTo()->isReadOnly());
    EXPECT_TRUE(window->txtSubject()->isReadOnly());
    EXPECT_TRUE(window->wbBody()->isReadOnly());
    EXPECT_EQ(Unmarked(window->ctlFrom()->text()),
              "\u00ab\"Smith, Ann\"\u00bb <\u00abann@example.org\u00bb>");
    EXPECT_FALSE(window->Message()->Edited());
    EXPECT_FALSE(window->ToolbarButton("save")->isEnabled());
    EXPECT_TRUE(window->ToolbarButton("movemessage")->isEnabled());
}

// What each picture shows: the rows and buttons a presenter works with, each drawn whole
// inside the window, none over another, none left blank.
TEST_F(EmailWindow, ReadAndNewWindowsDraw) {
    const QString shots = qEnvironmentVariable("ORLIX_SCREENSHOTS");
    const auto label = [](frmMessage* window, const char* text) -> QWidget* {
        for (QLabel* l : window->findChildren<QLabel*>()) {
            if (l->text() == QLatin1String(text)) {
                return l;
            }
        }
        return nullptr;
    };
    frmMessage* read = open(received());
    ASSERT_NE(read, nullptr);
    frmMessage* fresh = newWindow();
    ASSERT_NE(fresh, nullptr);
    const struct {
        const char* name;
        frmMessage* window;
        std::vector<std::pair<const char*, QWidget*>> parts;
    } shown[] = {
        {"email-received",
         read,
         {{"From:", label(read, "From:")},
          {"From box", read->ctlFrom()},
          {"To:", label(read, "To:")},
          {"To box", read->ctlTo()},
          {"Subject:", label(read, "Subject:")},
          {"subject box", read->txtSubject()},
          {"Sent Date:", label(read, "Sent Date:")},
          {"date", read->lblDate()},
          {"Reply", read->cmdReply()},
          {"Reply All", read->cmdReplyAll()},
          {"Forward", read->cmdForward()}}},
        {"email-new",
         fresh,
         {{"To...", fresh->cmdTo()},
          {"To box", fresh->ctlTo()},
          {"Cc...", fresh->cmdCC()},
          {"Cc box", fresh->ctlCC()},
          {"Subject:", label(fresh, "Subject:")},
          {"subject box", fresh->txtSubject()},
          {"Send", fresh->cmdSend()}}},
    };
    for (const auto& [name, window, parts] : shown) {
        SCOPED_TRACE(name);
        window->resize(800, 600);
        const QImage image = window->grab().toImage();
        ASSERT_FALSE(image.isNull());
        const QRect whole(QPoint(0, 0), image.size() / image.devicePixelRatio());
        std::vector<std::pair<const char*, QRect>> placed;
        for (const auto& [part, widget] : parts) {
            ASSERT_NE(widget, nullptr) << part;
            EXPECT_TRUE(widget->isVisibleTo(window)) << part;
            const QRect at(widget->mapTo(window, QPoint(0, 0)), widget->size());
            EXPECT_FALSE(at.isEmpty()) << part;
            EXPECT_TRUE(whole.contains(at)) << part << " lies outside the window";
            for (const auto& [other, otherAt] : placed) {
                EXPECT_FALSE(at.intersects(otherAt)) << part << " overlaps " << other;
            }
            placed.emplace_back(part, at);
            // Something is drawn there: more than one colour (a caption's letters, a box's
            // frame), not the bare background.
            const QImage area = image.copy(QRect(at.topLeft() * image.devicePixelRatio(),
                                                 at.size() * image.devicePixelRatio()));
            const QRgb first = area.isNull() ? 0 : area.pixel(0, 0);
            bool drawn = false;
            for (int y = 0; y < area.height() && !drawn; ++y) {
                for (int x = 0; x < area.width() && !drawn; ++x) {
                    drawn = area.pixel(x, y) != first;
                }
            }
            EXPECT_TRUE(drawn) << part << " is blank";
        }
        if (!shots.isEmpty()) {
            EXPECT_TRUE(image.save(shots + QLatin1Char('/') + QLatin1String(name) +
                                   QStringLiteral(".png")));
        }
    }
    // The rows show the message's own texts.
    EXPECT_EQ(read->txtSubject()->text(), QStringLiteral("Request"));
    EXPECT_FALSE(read->lblDate()->text().isEmpty());
    EXPECT_TRUE(read->ctlFrom()->text().contains(QStringLiteral("ann@example.org")));
    EXPECT_TRUE(read->ctlTo()->text().contains(QStringLiteral("other@example.org")));
}

// Too narrow for their captions, the buttons show their pictures alone before any goes behind
// the extension button; given the room, the captions come back.
TEST_F(EmailWindow, EveryToolbarButtonStaysOnTheToolbar) {
    const struct {
        const char* what;
        frmMessage* window;
    } shown[] = {{"received", open(received())}, {"new", newWindow()}};
    for (const auto& [what, window] : shown) {
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(ShowActive(*window));
        for (const int width : {800, 640, 1500}) {
            SCOPED_TRACE(std::string(what) + " at " + std::to_string(width));
            window->resize(width, 600);
            QToolBar* bar = window->toolbarMain();
            const auto allShown = [&] {
                for (QAction* action : bar->actions()) {
                    if (action->isVisible() && !action->isSeparator()) {
                        QWidget* w = bar->widgetForAction(action);
                        if (w == nullptr || !w->isVisible()) {
                            return false;
                        }
                    }
                }
                return true;
            };
            EXPECT_TRUE(WaitFor(allShown, 2000)) << "a button went behind the extension button";
            auto* print = qobject_cast<QToolButton*>(
                bar->widgetForAction(window->ToolbarButton(QStringLiteral("print"))));
            ASSERT_NE(print, nullptr);
            EXPECT_EQ(print->toolTip(), QStringLiteral("Print"));
            if (width == 1500) {
                EXPECT_EQ(print->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
            }
        }
    }
}

TEST_F(EmailWindow, LoadingStatesAsATable) {
    const struct {
        bool dated;
        qint32 folder;
        bool sendEnabled;
        bool editable;
        bool answers;
    } cases[] = {
        {false, 6, true, true, false},   {true, 6, true, true, false},
        {true, 4, true, false, true},    {true, 3, true, false, true},
        {false, 6, false, false, false}, {true, 4, false, false, false},
    };
    for (const auto& c : cases) {
        settings().SetEmailSendEnabled(c.sendEnabled);
        auto message = std::make_shared<OrlixMessage>();
        message->SetFolder(c.folder);
        if (c.dated) {
            message->SetSentDate(QDateTime(QDate(2026, 2, 3), QTime(8, 0)));
        }
        frmMessage window;
        window.SetEditable(true);
        window.SetMessage(message);
        const std::string label = std::to_string(c.dated) + " " + std::to_string(c.folder) + " " +
                                  std::to_string(c.sendEnabled);
        EXPECT_EQ(window.Editable(), c.editable) << label;
        EXPECT_EQ(window.cmdReply()->isVisibleTo(&window), c.answers) << label;
        EXPECT_EQ(window.cmdSend()->isVisibleTo(&window), c.editable) << label;
        EXPECT_EQ(window.lblDate()->isVisibleTo(&window), !c.editable) << label;
        // An undated message gets the station as its sender; a dated one keeps its From.
        EXPECT_EQ(message->CDOMessage().From().contains("studio@localhost"), !c.dated) << label;
        EXPECT_FALSE(message->Edited()) << label;
    }
}

TEST_F(EmailWindow, QueuedMessageLeavesTheQueueWhenShown) {
    auto message = received();
    message->SetFolder(OrlixMessage::kOutboxFolder);
    message->SetFlags(OrlixMessage::FlagToBeSent | OrlixMessage::FlagRead);
    bool ok = false;
    database().StoreMessage(*message, ok);
    ASSERT_TRUE(ok);
    open(message);
    EXPECT_EQ(database().GetMessage(message->Reference())->Flags(), OrlixMessage::FlagRead);
}

TEST_F(EmailWindow, ListenersHtmlShowsWithoutScriptOrAnythingFetched) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const QString url = QStringLiteral("http://127.0.0.1:%1/pixel.png").arg(server.serverPort());
    frmMessage* window = open(
        received(QStringLiteral("<p>Hi</p><script>document.title='ran'</script><img src=\"%1\">"
                                "<a href=\"%1\">link</a><p onclick=\"x()\">tail</p>")
                     .arg(url)));
    ASSERT_NE(window, nullptr);
    const QString shown = window->wbBody()->toHtml();
    EXPECT_FALSE(shown.contains("document.title"));
    EXPECT_FALSE(shown.contains("onclick"));
    EXPECT_TRUE(window->wbBody()->toPlainText().contains("Hi"));
    EXPECT_FALSE(server.waitForNewConnection(200));
}

TEST_F(EmailWindow, ReplyClosesTheMessageAndOpensAnEditableDraft) {
    const struct {
        const char* button;
        const char* prefix;
        bool listenerInTo;
    } cases[] = {{"reply", "RE: ", true}, {"replyall", "RE: ", true}, {"forward", "FW: ", false}};
    for (const auto& c : cases) {
        frmMessage* window = open(received());
        ASSERT_NE(window, nullptr);
        window->ToolbarButton(c.button)->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QList<frmMessage*> open = windows();
        ASSERT_EQ(open.size(), 1) << c.button;
        frmMessage* draft = open.first();
        ASSERT_NE(draft, window);
        EXPECT_TRUE(draft->Editable()) << c.button;
        EXPECT_TRUE(draft->txtSubject()->text().startsWith(c.prefix)) << c.button;
        EXPECT_EQ(draft->ctlTo()->text().contains("ann@example.org"), c.listenerInTo) << c.button;
        EXPECT_FALSE(draft->ctlCC()->text().contains("studio@localhost")) << c.button;
        EXPECT_TRUE(draft->Message()->Edited()) << c.button;
        EXPECT_EQ(draft->Message()->Folder(), OrlixMessage::kNewMessagesFolder);
        EXPECT_EQ(draft->Message()->Reference(), 0);
        TestMessageBoxes().queue(MsgResult::No);
        ASSERT_TRUE(Forms::Unload(draft));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(EmailWindow, TheCaptionFollowsTheSubjectAsOutsideText) {
    const QString isolated = QString(QChar(0x2068)) + QStringLiteral("%1") + QChar(0x2069);
    const QString untitled = QStringLiteral("Untitled - Message");
    frmMessage* window = newWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), untitled) << "new";
    EXPECT_FALSE(window->Message()->Edited());
    window->txtSubject()->setFocus();
    QTest::keyClicks(window->txtSubject(), QStringLiteral("Hi"));
    EXPECT_EQ(window->windowTitle(), isolated.arg("Hi") + QStringLiteral(" - Message")) << "typed";
    EXPECT_TRUE(window->Message()->Edited()) << "typed";
    window->Message()->SetEdited(false);
    window->txtSubject()->selectAll();
    QTest::keyClick(window->txtSubject(), Qt::Key_Backspace);
    EXPECT_EQ(window->windowTitle(), untitled) << "cleared";
    EXPECT_TRUE(window->Message()->Edited()) << "cleared";
    window->Message()->SetEdited(false);

    const struct {
        const char* what;
        QString subject;
        QString shown;
    } loaded[] = {
        {"non-ASCII", QStringLiteral("Gr\u00fc\u00dfe \U0001F600"),
         QStringLiteral("Gr\u00fc\u00dfe \U0001F600")},
        {"an override", QStringLiteral("abc\u202Egpj.exe"), QStringLiteral("abcgpj.exe")},
        {"an escape", QStringLiteral("Hi\u001b[31m red"), QStringLiteral("Hi\u001b[31m red")},
        {"blank", QStringLiteral("   "), QString()},
    };
    for (const auto& c : loaded) {
        auto message = std::make_shared<OrlixMessage>();
        MimeMessage mime;
        mime.SetSubject(c.subject);
        message->SetCDOMessage(mime);
        frmMessage* shown = qobject_cast<frmMessage*>(NewMessage(message, OrlixMessage::KindEmail));
        ASSERT_NE(shown, nullptr) << c.what;
        const QString subject = shown->Message()->CDOMessage().Subject();
        EXPECT_EQ(shown->windowTitle(),
                  c.shown.isEmpty()
                      ? untitled
                      : isolated.arg(DisplayText::OneLine(subject)) + QStringLiteral(" - Message"))
            << c.what;
        EXPECT_FALSE(shown->windowTitle().contains(QChar(0x202E))) << c.what;
        if (c.shown.size() && subject == c.subject) {
            EXPECT_EQ(DisplayText::OneLine(subject), c.shown) << c.what;
        }
        EXPECT_FALSE(shown->Message()->Edited()) << c.what;
        Forms::Unload(shown);
    }
}

TEST_F(EmailWindow, SendRefusesABlankTo) {
    frmMessage* window = newWindow();
    ASSERT_NE(window, nullptr);
    window->ctlTo()->setText("   ");
    window->txtSubject()->setText("Hi");
    window->cmdSend()->click();
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
    EXPECT_EQ(TestMessageBoxes().shown()[0].text, "There must be at least 1 person in the To box!");
    EXPECT_EQ(window->Message()->Reference(), 0);
    EXPECT_TRUE(Forms::Contains(window));
}

TEST_F(EmailWindow, SendRefusesAnEntryThatIsNoAddressAndStoresEveryGoodOne) {
    frmMessage* window = newWindow();
    ASSERT_NE(window, nullptr);
    window->ctlTo()->setText("Ann at example dot org");
    window->txtSubject()->setText("Hi");
    window->cmdSend()->click();
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
    EXPECT_EQ(TestMessageBoxes().shown()[0].text,
              "'Ann at example dot org' in the To box is not an e-mail address!");
    EXPECT_EQ(TestMessageBoxes().shown()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(window->Message()->Reference(), 0);
    EXPECT_EQ(window->Message()->Folder(), OrlixMessage::kNewMessagesFolder);
    EXPECT_EQ(window->Message()->Flags(), 0);
    EXPECT_TRUE(Forms::Contains(window));

    TestMessageBoxes().clear();
    const std::shared_ptr<OrlixMessage> message = window->Message();
    window->ctlTo()->setText("\"Smith, Ann\" <ann@example.org>, bob@example.org");
    window->ctlCC()->setText("Carol <carol@example.org>,dave@example.org");
    window->cmdSend()->click();
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    EXPECT_FALSE(Forms::Contains(window));
    const auto stored = database().GetMessage(message->Reference());
    ASSERT_TRUE(stored);
    const QByteArray bytes = stored->CDOMessage().ToBytes();
    const auto header = [&](const char* name) {
        for (const QByteArray& line : bytes.split('\n')) {
            if (line.startsWith(QByteArray(name) + ':')) {
                return line;
            }
        }
        return QByteArray();
    };
    for (const char* address : {"ann@example.org", "bob@example.org"}) {
        EXPECT_TRUE(header("To").contains(address)) << address << " in " << bytes.toStdString();
    }
    for (const char* address : {"carol@example.org", "dave@example.org"}) {
        EXPECT_TRUE(header("Cc").contains(address)) << address << " in " << bytes.toStdString();
    }
}

TEST_F(EmailWindow, SendAsksAboutAnEmptyMessageWithNoTheDefault) {
    frmMessage* window = newWindow();
    ASSERT_NE(window, nullptr);
    window->ctlTo()->setText("bob@example.org");
    window->cmdSend()->click(); // the default answer: No
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
    EXPECT_EQ(TestMessageBoxes().shown()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(TestMessageBoxes().shown()[0].defaultButton, 1);
    EXPECT_EQ(window->Message()->Folder(), OrlixMessage::kNewMessagesFolder);
    EXPECT_EQ(window->Message()->Flags(), 0);
    EXPECT_TRUE(Forms::Contains(window));
}

TEST_F(EmailWindow, SendFilesTypedTextInTheOutboxAndClosesTheWindow) {
    qint32 refreshes = 0;
    frmMessage::SetMessageListHooks([] { return OrlixMessage::kNewMessagesFolder; },
                                    [&refreshes] { ++refreshes; });
    frmMessage* window = newWindow();
    ASSERT_NE(window, nullptr);
    const std::shared_ptr<OrlixMessage> message = window->Message();
    window->ctlTo()->setText("\"Smith, Ann\" <ann@example.org>");
    window->txtSubject()->setText(QStringLiteral("Grüße"));
    window->wbBody()->setPlainText("Thanks for listening");
    const QDateTime before = QDateTime::currentDateTime();
    window->cmdSend()->click(); // no event-loop turn since the typing
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    EXPECT_FALSE(Forms::Contains(window));
    EXPECT_EQ(refreshes, 1);

    const auto stored = database().GetMessage(message->Reference());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->Folder(), OrlixMessage::kOutboxFolder);
    EXPECT_TRUE(stored->Flags() & OrlixMessage::FlagToBeSent);
    EXPECT_GE(stored->SendAfterDate().toSecsSinceEpoch(), before.addSecs(30).toSecsSinceEpoch());
    const MimeMessage mime = stored->CDOMessage();
    EXPECT_EQ(mime.Subject(), QStringLiteral("Grüße"));
    EXPECT_TRUE(mime.To().contains("ann@example.org"));
    EXPECT_TRUE(mime.From().contains("studio@localhost"));
    EXPECT_TRUE(mime.TextBody().contains("Thanks for listening"));
    EXPECT_TRUE(mime.Date().isValid());
    EXPECT_EQ(database().GetDueMessages(before.addSecs(31))->Count(), 1);
    EXPECT_EQ(database().GetDueMessages(before)->Count(), 0);
}

TEST_F(EmailWindow, FailedSendKeepsTheWindowAndPutsTheQueueValuesBack) {
    frmMessage* window = newWindow();
    ASSERT_NE(window, nullptr);
    window->ctlTo()->setText("bob@example.org");
    window->txtSubject()->setText("Hi");
    const std::shared_ptr<OrlixMessage> message = window->Message();
    auto held = program().TakeDatabase();
    window->cmdSend()->click();
    program().SetDatabase(std::move(held));
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
    EXPECT_EQ(TestMessageBoxes().shown()[0].text,
              "You're message could not be moved to Outbox to be sent!");
    EXPECT_TRUE(Forms::Contains(window));
    EXPECT_EQ(message->Folder(), OrlixMessage::kNewMessagesFolder);
    EXPECT_EQ(message->Flags() & OrlixMessage::FlagToBeSent, 0);
    EXPECT_FALSE(message->SendAfterDate().isValid());
    EXPECT_FALSE(message->CDOMessage().Date().isValid());
    EXPECT_EQ(window->txtSubject()->text(), "Hi");
    EXPECT_TRUE(message->Edited());
}

TEST_F(EmailWindow, SaveDetailsRightsAndFailures) {
    checkSaveRights(OrlixMessage::KindEmail, [](const std::shared_ptr<OrlixMessage>& message) {
        frmMessage window;
        window.SetMessage(message);
        return window.SaveDetails();
    });
}

TEST_F(EmailWindow, CloseQuestionOnlyForAnEditedEditableMessage) {
    const struct {
        const char* subject;
        MsgResult answer;
        bool closes;
        const char* text;
    } cases[] = {
        {"  Hello ", MsgResult::Cancel, false,
         "Do you want to save the changes you made to the Message 'Hello'?"},
        {"", MsgResult::No, true, "Do you want to save the changes you made to this Message?"},
        {"Hi", MsgResult::Yes, true,
         "Do you want to save the changes you made to the Message 'Hi'?"},
    };
    for (const auto& c : cases) {
        TestMessageBoxes().clear();
        frmMessage* window = newWindow();
        ASSERT_NE(window, nullptr);
        window->txtSubject()->setText(c.subject);
        window->ctlTo()->setText("bob@example.org");
        TestMessageBoxes().queue(c.answer);
        EXPECT_EQ(Forms::Unload(window), c.closes) << c.text;
        ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
        EXPECT_EQ(TestMessageBoxes().shown()[0].text, c.text);
        EXPECT_EQ(TestMessageBoxes().shown()[0].buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(TestMessageBoxes().shown()[0].defaultButton, 0);
        if (!c.closes) {
            delete window;
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // A read-only window never asks, even with its message marked edited.
    frmMessage* readOnly = open(received());
    ASSERT_NE(readOnly, nullptr);
    readOnly->Message()->SetEdited(true);
    TestMessageBoxes().clear();
    EXPECT_TRUE(Forms::Unload(readOnly));
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}

TEST_F(EmailWindow, FromMenuMakesTheMessagePersonalOrTheStations) {
    auto loggedIn = directory().CurrentUser();
    loggedIn->SetEmail2(QStringLiteral("ann@studio.example"));
    frmMessage* window = newWindow();
    ASSERT_NE(window, nullptr);
    window->ChoosePersonalSender();
    EXPECT_EQ(Unmarked(window->ctlFrom()->text()),
              "\u00abAnn\u00bb <\u00abann@studio.example\u00bb>");
    EXPECT_EQ(window->Message()->PersonalOwner(), loggedIn->Reference());
    EXPECT_TRUE(window->Message()->CDOMessage().From().contains("ann@studio.example"));
    window->ChooseStationSender();
    EXPECT_EQ(Unmarked(window->ctlFrom()->text()),
              "\u00abStudio\u00bb <\u00abstudio@localhost\u00bb>");
    EXPECT_EQ(window->Message()->PersonalOwner(), 0);
    EXPECT_TRUE(window->Message()->Edited());
}

} // namespace

namespace {

class StubContactWindow : public QWidget, public ContactWindow {
public:
    std::shared_ptr<DirectoryContact> Contact() const override { return contact; }
    void SetContact(const std::shared_ptr<DirectoryContact>& c) override { contact = c; }
    std::shared_ptr<DirectoryContact> contact;
};

TEST_F(EmailWindow, AddressClicksOpenTheContactFromAlwaysToOnlyReadOnly) {
    InstallWindowOpeners();
    program().Windows().Register(WindowKind::Contact,
                                 [](QWidget*) { return new StubContactWindow; });
    for (const char* address : {"ann@example.org", "other@example.org"}) {
        auto c = directory().CreateContact();
        c->SetName(QString::fromUtf8(address));
        c->SetEmail1(QString::fromUtf8(address));
        bool ok = false;
        directory().SaveContact(0, c, true, true, ok);
        ASSERT_TRUE(ok);
    }
    frmMessage* readOnly = open(received());
    ASSERT_NE(readOnly, nullptr);
    auto* from = dynamic_cast<StubContactWindow*>(readOnly->ClickAddress(readOnly->ctlFrom(), 0));
    ASSERT_NE(from, nullptr);
    EXPECT_EQ(from->contact->Email1(), "ann@example.org");
    const int end = static_cast<int>(readOnly->ctlTo()->text().size());
    auto* to = dynamic_cast<StubContactWindow*>(readOnly->ClickAddress(readOnly->ctlTo(), end));
    ASSERT_NE(to, nullptr);
    EXPECT_EQ(to->contact->Email1(), "other@example.org");

    frmMessage* editable = newWindow();
    ASSERT_NE(editable, nullptr);
    editable->ctlTo()->setText("ann@example.org");
    EXPECT_EQ(editable->ClickAddress(editable->ctlTo(), 0), nullptr);
}

} // namespace
