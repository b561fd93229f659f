#include "messaging/frmsmsmessage.h"

#include "messaging/smswindowfixture.h"

#include "core/dialogs/frmchoosecategorytree.h"
#include "core/dialogs/frmchoosecontact.h"
#include "core/orlixcommon.h"
#include "core/profile/cocsettings.h"
#include "core/profile/machinesettingskeys.h"
#include "core/program.h"
#include "core/windows/editwindows.h"
#include "core/windows/windowopeners.h"
#include "messaging/frmmessage.h"
#include "messaging/messagingwindows.h"
#include "messaging/smsrules.h"
#include "platform/directory/controls/ucontactslist.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/directory/userrights.h"
#include "platform/directory/usersettings.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixmessagelist.h"
#include "platform/mime/mimemessage.h"
#include "platform/system/appinfo.h"
#include "platform/system/displaytext.h"
#include "platform/system/registrystore.h"
#include "platform/ui/forms.h"
#include "platform/ui/multilinetextbox.h"
#include "platform/ui/twips.h"
#include "support/displaymarks.h"
#include "support/enterbox.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"
#include "support/waitfor.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST_F(SmsWindow, LoadingStatesAsATable) {
    const struct {
        bool dated;
        qint32 folder;
        bool sendEnabled;
        bool editable;
        bool answers;
    } cases[] = {
        {false, 6, true, true, false},   {true, 6, true, true, false},
        {true, 3, true, false, true},    {true, 4, true, false, true},
        {false, 6, false, false, false}, {true, 3, false, false, false},
    };
    for (const auto& c : cases) {
        settings().SetSMSSendEnabled(c.sendEnabled);
        auto message = std::make_shared<OrlixMessage>();
        message->SetKind(kSms);
        message->SetFolder(c.folder);
        if (c.dated) {
            message->SetSentDate(QDateTime(QDate(2026, 2, 3), QTime(8, 0)));
        }
        frmSMSMessage window;
        window.SetEditable(true);
        window.SetMessage(message);
        const std::string label = std::to_string(c.dated) + " " + std::to_string(c.folder) + " " +
                                  std::to_string(c.sendEnabled);
        EXPECT_EQ(window.Editable(), c.editable) << label;
        // The toolbar shows its buttons as their places are shown.
        EXPECT_EQ(window.ToolbarButton("reply")->isVisible(), c.answers) << label;
        EXPECT_EQ(window.ToolbarButton("forward")->isVisible(), c.answers) << label;
        EXPECT_EQ(window.ToolbarButton("send")->isVisible(), c.editable) << label;
        EXPECT_EQ(window.cmdTo()->isVisibleTo(&window), c.editable) << label;
        EXPECT_EQ(window.toolBarEdit()->isVisibleTo(&window), c.editable) << label;
        EXPECT_EQ(window.lblDate()->isVisibleTo(&window), !c.editable) << label;
        EXPECT_EQ(window.txtBody()->MaxLength(), c.editable ? 160 : 0) << label;
        EXPECT_EQ(window.txtBody()->Locked(), !c.editable) << label;
        EXPECT_EQ(window.ctlTo()->isReadOnly(), !c.editable) << label;
        EXPECT_TRUE(window.ctlFrom()->isReadOnly()) << label;
        // An undated SMS gets the station's SMS sender; a dated one keeps its (empty) From.
        EXPECT_EQ(message->CDOMessage().From(),
                  c.dated ? QString() : QStringLiteral("\"Radio Kestova\" <07700900100>"))
            << label;
        EXPECT_FALSE(message->Edited()) << label;
        EXPECT_FALSE(window.ToolbarButton("history")->isVisible());
        EXPECT_FALSE(window.ToolbarButton("help")->isVisible());
    }
}

// At the window's opening size, and down to its smallest, no button of the main toolbar goes
// behind the extension button: captions that do not fit give way to the pictures alone.
TEST_F(SmsWindow, EveryToolbarButtonStaysOnTheToolbar) {
    const struct {
        const char* what;
        frmSMSMessage* window;
    } shown[] = {{"received", open(received())}, {"new", newWindow()}};
    for (const auto& [what, window] : shown) {
        ASSERT_NE(window, nullptr);
        const QSize opening = window->size();
        ASSERT_TRUE(ShowActive(*window));
        for (const int width : {opening.width(), window->minimumWidth(), 1500}) {
            SCOPED_TRACE(std::string(what) + " at " + std::to_string(width));
            window->resize(width, opening.height());
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

TEST_F(SmsWindow, NoStationSenderWithoutAStationNumber) {
    bool ok = false;
    database().SetStationDetails({QStringLiteral("Radio Kestova"), {}, {}, {}, {}, {}}, ok);
    ASSERT_TRUE(ok);
    frmSMSMessage* window = newWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Message()->CDOMessage().From(), "");
    EXPECT_EQ(window->ctlFrom()->text(), "");
}

TEST_F(SmsWindow, QueuedSmsLeavesTheQueueWhenShown) {
    auto message = received();
    message->SetFolder(OrlixMessage::kOutboxFolder);
    message->SetFlags(OrlixMessage::FlagToBeSent | OrlixMessage::FlagRead);
    store(*message);
    ASSERT_NE(open(message), nullptr);
    EXPECT_EQ(database().GetMessage(message->Reference())->Flags(), OrlixMessage::FlagRead);
}

TEST_F(SmsWindow, NamesFilledFromTheDirectoryAtLoad) {
    contact(QStringLiteral("Smith, John"), QStringLiteral("07700900123"));
    const struct {
        const char* from;
        bool stored; // Reference > 0 before the load
        bool edited;
        const char* shown;
        bool filled;
    } cases[] = {
        {"07700900123", true, false, "\"Smith, John\" <07700900123>", true},
        {"07700900123", false, true, "\"Smith, John\" <07700900123>", true},
        {"07700 900123 <07700900123>", true, true, "\"Smith, John\" <07700900123>", true},
        {"Bob <07700900123>", true, false, "Bob <07700900123>", false},
        {"\"Smith, Ann\" <07700900999>", true, false, "\"Smith, Ann\" <07700900999>", false},
    };
    for (const auto& c : cases) {
        auto message = received(QString::fromUtf8(c.from));
        if (!c.stored) {
            message->SetReference(0);
        }
        const QByteArray before = message->MessageBytes();
        message->SetEdited(c.edited);
        frmSMSMessage window;
        window.SetMessage(message);
        // The read-only box isolates the name and the number; what is stored has no mark.
        EXPECT_EQ(window.ctlFrom()->text(), DisplayText::AddressEntry(QString::fromUtf8(c.shown)))
            << c.from;
        EXPECT_EQ(message->CDOMessage().From(), c.shown) << c.from;
        EXPECT_EQ(message->Edited(), c.edited) << c.from;
        if (c.stored) {
            const auto kept = database().GetMessage(message->Reference());
            ASSERT_TRUE(kept);
            EXPECT_EQ(kept->CDOMessage().From(),
                      c.filled ? QString::fromUtf8(c.shown) : QString::fromUtf8(c.from))
                << c.from;
        } else {
            EXPECT_EQ(message->Reference(), 0) << c.from;
        }
        EXPECT_EQ(message->MessageBytes() == before, !c.filled) << c.from;
    }
}

TEST_F(SmsWindow, MaskingShowsOneMaskPerFilledBoxAndStoresNoMask) {
    mask(true);
    contact(QStringLiteral("Bob"), QStringLiteral("07700900456"));
    const struct {
        const char* to;
        const char* shownTo;
    } cases[] = {{"07700900100, Bob <07700900456>", "0XXX-XXXXXX"}, {"", ""}};
    for (const auto& c : cases) {
        auto message = received();
        MimeMessage mime = message->CDOMessage();
        mime.SetTo(QString::fromUtf8(c.to));
        message->SetCDOMessage(mime);
        store(*message);
        const QByteArray stored = database().GetMessage(message->Reference())->MessageBytes();
        frmSMSMessage window;
        window.SetMessage(message);
        EXPECT_EQ(Unmarked(window.ctlFrom()->text()), "\u00ab0XXX-XXXXXX\u00bb") << c.to;
        EXPECT_EQ(window.ctlTo()->text(), DisplayText::AddressEntry(QString::fromUtf8(c.shownTo)))
            << c.to;
        EXPECT_EQ(database().GetMessage(message->Reference())->MessageBytes(), stored) << c.to;
        EXPECT_FALSE(message->Edited());
    }
}

TEST_F(SmsWindow, MaskedDraftKeepsTheRealNumbersThroughToAndSave) {
    mask(true);
    const auto bob = contact(QStringLiteral("Bob"), QStringLiteral("07700900456"));
    auto draft = std::make_shared<OrlixMessage>();
    draft->SetKind(kSms);
    MimeMessage mime;
    mime.SetTo(QStringLiteral("07700900123"));
    draft->SetCDOMessage(mime);
    store(*draft);
    frmSMSMessage* window = open(draft);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->Editable());
    EXPECT_TRUE(window->ctlTo()->isReadOnly()); // no typing over the mask
    chooseContact(bob->Reference());
    window->cmdTo()->click();
    EXPECT_EQ(Unmarked(window->ctlTo()->text()),
              "\u00ab0XXX-XXXXXX\u00bb, \u00abBob\u00bb <\u00ab0XXX-XXXXXX\u00bb>");
    window->DoToolbarCommand("save");
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    const auto stored = database().GetMessage(draft->Reference());
    ASSERT_TRUE(stored);
    const QString to = stored->CDOMessage().To();
    EXPECT_TRUE(to.contains("07700900123")) << to.toStdString();
    EXPECT_TRUE(to.contains("Bob <07700900456>")) << to.toStdString();
    EXPECT_FALSE(QString::fromUtf8(stored->MessageBytes()).contains("XXX"));
}

TEST_F(SmsWindow, MaskedEmptyToIsRefusedOnSend) {
    mask(true);
    frmSMSMessage* window = newWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->ctlTo()->text(), "");
    window->txtBody()->setFocus();
    QTest::keyClicks(window->txtBody(), "Hello");
    window->cmdSend()->click();
    EXPECT_EQ(boxTexts(), std::vector<QString>{"There must be at least 1 person in the To box!"});
    EXPECT_EQ(window->Message()->Reference(), 0);
}

TEST_F(SmsWindow, TextBoxLimitsWhatIsTypedAndPastedNotWhatIsStored) {
    frmSMSMessage* window = newWindow();
    ASSERT_NE(window, nullptr);
    MultiLineTextBox* body = window->txtBody();
    body->setFocus();
    QTest::keyClicks(body, QString(170, u'a'));
    EXPECT_EQ(body->Text().size(), 160);
    // Enter, typed or on the keypad, adds nothing.
    body->setPlainText(QStringLiteral("abc"));
    body->moveCursor(QTextCursor::End);
    QTest::keyClick(body, Qt::Key_Return);
    QTest::keyClick(body, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(body->Text(), "abc");
    // A paste is cut to what fits; its line breaks stay.
    body->setPlainText(QString(150, u'b'));
    body->moveCursor(QTextCursor::End);
    QApplication::clipboard()->setText(QStringLiteral("12\n4567890ABCDEF"));
    window->DoToolbarCommand("paste");
    EXPECT_EQ(body->Text(), QString(150, u'b') + QStringLiteral("12\n4567890"));

    // A stored text longer than the limit is shown whole, and typing cannot make it longer.
    auto draft = std::make_shared<OrlixMessage>();
    draft->SetKind(kSms);
    MimeMessage mime;
    mime.SetTextBody(QString(200, u'c'));
    draft->SetCDOMessage(mime);
    frmSMSMessage* longer = open(draft);
    ASSERT_NE(longer, nullptr);
    ASSERT_TRUE(longer->Editable());
    EXPECT_EQ(longer->txtBody()->Text().size(), 200);
    longer->txtBody()->setFocus();
    longer->txtBody()->moveCursor(QTextCursor::End);
    QTest::keyClicks(longer->txtBody(), "dd");
    EXPECT_EQ(longer->txtBody()->Text().size(), 200);
    QTest::keyClick(longer->txtBody(), Qt::Key_Backspace);
    EXPECT_EQ(longer->txtBody()->Text().size(), 199);
}

TEST_F(SmsWindow, TheLimitKeepsWholeCharactersOfAnyAlphabet) {
    frmSMSMessage* window = newWindow();
    ASSERT_NE(window, nullptr);
    MultiLineTextBox* body = window->txtBody();
    body->setFocus();
    const auto sameInTheMessage = [&](const std::string& label) {
        const QString text = body->Text();
        EXPECT_TRUE(text.isValidUtf16()) << label;
        EXPECT_EQ(window->Message()->CDOMessage().Subject(), text) << label;
        EXPECT_EQ(window->Message()->CDOMessage().TextBody(), text) << label;
    };
    const struct {
        const char* what;
        QString character; // as one key event of a keyboard brings it
    } characters[] = {
        {"an emoji", QStringLiteral("\U0001F600")},
        {"Greek", QStringLiteral("\u03b1")},
        {"a flag", QStringLiteral("\U0001F1E9\U0001F1EA")},
        {"e with a combining accent", QStringLiteral("e\u0301")},
    };
    for (const auto& c : characters) {
        for (const int before : {159, 160}) {
            const std::string label = std::string(c.what) + " after " + std::to_string(before);
            body->setPlainText(QString(before, u'x'));
            body->moveCursor(QTextCursor::End);
            QTest::sendKeyEvent(QTest::Click, body, Qt::Key_unknown, c.character, Qt::NoModifier);
            const bool fits = before + c.character.size() <= 160;
            EXPECT_EQ(body->Text(), QString(before, u'x') + (fits ? c.character : QString()))
                << label;
            sameInTheMessage(label);
        }
    }
    // Typed on an empty box, 170 emoji keep 80: 160 units.
    body->setPlainText(QString());
    for (int i = 0; i < 170; ++i) {
        QTest::sendKeyEvent(QTest::Click, body, Qt::Key_unknown, QStringLiteral("\U0001F600"),
                            Qt::NoModifier);
    }
    EXPECT_EQ(body->Text(), QStringLiteral("\U0001F600").repeated(80));
    sameInTheMessage("170 emoji");
    // A paste is cut after a whole character, never inside one.
    for (const int before : {157, 159}) {
        const std::string label = "pasted after " + std::to_string(before);
        body->setPlainText(QString(before, u'x'));
        body->moveCursor(QTextCursor::End);
        QApplication::clipboard()->setText(QStringLiteral("\U0001F600\U0001F600"));
        window->DoToolbarCommand("paste");
        EXPECT_EQ(body->Text(),
                  QString(before, u'x') + (before == 157 ? QStringLiteral("\U0001F600") : ""))
            << label;
        sameInTheMessage(label);
    }
    // An input method's commit is cut the same way.
    body->setPlainText(QString(157, u'x'));
    body->moveCursor(QTextCursor::End);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("\u03b1e\u0301\u03b2"));
    QApplication::sendEvent(body, &commit);
    EXPECT_EQ(body->Text(), QString(157, u'x') + QStringLiteral("\u03b1e\u0301"));
    sameInTheMessage("input method");
    window->Message()->SetEdited(false);
}

TEST_F(SmsWindow, ReadOnlyTextCanBeSelectedAndCopiedButNotChanged) {
    frmSMSMessage* window = open(received());
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(ShowActive(*window));
    MultiLineTextBox* body = window->txtBody();
    body->setFocus();
    QTest::keyClicks(body, "xyz");
    QTest::keyClick(body, Qt::Key_Delete);
    EXPECT_EQ(body->Text(), "Play my song");
    QTest::keyClick(body, Qt::Key_A, Qt::ControlModifier);
    QApplication::clipboard()->clear();
    QTest::keyClick(body, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "Play my song");
    EXPECT_FALSE(window->Message()->Edited());
}

TEST_F(SmsWindow, UndoTakesBackTypingAndRedoDoesNothing) {
    frmSMSMessage* window = newWindow();
    ASSERT_NE(window, nullptr);
    window->txtBody()->setFocus();
    QTest::keyClicks(window->txtBody(), "Hello");
    window->DoToolbarCommand("undo");
    EXPECT_EQ(window->txtBody()->Text(), "");
    EXPECT_EQ(window->Message()->CDOMessage().TextBody(), "");
    window->DoToolbarCommand("redo");
    EXPECT_EQ(window->txtBody()->Text(), "");
    // With the To box active the editing tools leave the text alone.
    QTest::keyClicks(window->txtBody(), "Hi");
    window->ctlTo()->setFocus();
    window->DoToolbarCommand("undo");
    window->DoToolbarCommand("cut");
    EXPECT_EQ(window->txtBody()->Text(), "Hi");
}

TEST_F(SmsWindow, TypingCuttingAndPastingWriteSubjectAndTextTogether) {
    const struct {
        const char* how;
        const char* expected;
    } cases[] = {{"type", "Hello there"}, {"cut", ""}, {"paste", "Hello thereHello there"}};
    for (const auto& c : cases) {
        frmSMSMessage* window = newWindow();
        ASSERT_NE(window, nullptr);
        MultiLineTextBox* body = window->txtBody();
        body->setFocus();
        const std::string how = c.how;
        if (how != "type") {
            body->setPlainText(QStringLiteral("Hello there"));
            window->Message()->SetEdited(false);
            body->selectAll();
            QApplication::clipboard()->setText(QStringLiteral("Hello there"));
            body->moveCursor(QTextCursor::End);
            if (how == "cut") {
                body->selectAll();
            }
            window->DoToolbarCommand(c.how);
        } else {
            QTest::keyClicks(body, "Hello there");
        }
        const MimeMessage mime = window->Message()->CDOMessage();
        EXPECT_EQ(body->Text(), c.expected) << how;
        EXPECT_EQ(mime.Subject(), c.expected) << how;
        EXPECT_EQ(mime.TextBody(), c.expected) << how;
        EXPECT_TRUE(window->Message()->Edited()) << how;
        EXPECT_TRUE(window->ToolbarButton("save")->isEnabled()) << how;
        EXPECT_FALSE(window->ToolbarButton("movemessage")->isEnabled()) << how;
        window->Message()->SetEdited(false);
        ASSERT_TRUE(Forms::Unload(window));
    }
}

TEST_F(SmsWindow, ToAddsTheFirstPhoneNumberAndKeepsTheEntries) {
    const struct {
        const char* name;
        const char* mobile;
        const char* phone1;
        const char* phone2;
        const char* added; // "" when refused
    } cases[] = {
        {"Mo", "07700900001", "01100000001", "02200000001", "Mo <07700900001>"},
        {"Pat", "", "01100000002", "02200000002", "Pat <01100000002>"},
        {"Sam", "", "", "02200000003", "Sam <02200000003>"},
        {"Nobody", "", "", "", ""},
    };
    frmSMSMessage* window = newWindow();
    ASSERT_NE(window, nullptr);
    QTest::keyClicks(window->ctlTo(), "07700900999");
    QString expected = QStringLiteral("07700900999");
    for (const auto& c : cases) {
        TestMessageBoxes().clear();
        const auto who = contact(c.name, c.mobile, c.phone1, c.phone2);
        chooseContact(who->Reference());
        window->cmdTo()->click();
        if (QString::fromUtf8(c.added).isEmpty()) {
            EXPECT_EQ(boxTexts(), std::vector<QString>{"Nobody does not have any phone numbers!"});
        } else {
            EXPECT_TRUE(TestMessageBoxes().shown().empty()) << c.name;
            expected += QStringLiteral(", ") + QString::fromUtf8(c.added);
        }
        EXPECT_EQ(window->ctlTo()->text(), expected) << c.name;
        EXPECT_EQ(window->Message()->CDOMessage().To(), expected) << c.name;
    }
    // A cancelled chooser changes nothing.
    TestDialogs().queue(
        [](QDialog& d) { dynamic_cast<frmChooseContact&>(d).cmdCancel()->click(); });
    window->cmdTo()->click();
    EXPECT_EQ(window->ctlTo()->text(), expected);
}

TEST_F(SmsWindow, FromMenuOffersThePersonalSenderOnlyWithAnAddress) {
    frmSMSMessage* window = newWindow();
    ASSERT_NE(window, nullptr);
    window->PrepareFromMenu();
    EXPECT_EQ(window->mnuFromDefault()->text(), "\"Studio\" <studio@localhost>");
    EXPECT_FALSE(window->mnuFromPersonal()->isVisible());

    auto me = directory().CurrentUser();
    me->SetEmail3(QStringLiteral("ann@studio.example"));
    window->PrepareFromMenu();
    EXPECT_TRUE(window->mnuFromPersonal()->isVisible());
    EXPECT_EQ(window->mnuFromPersonal()->text(), "\"Ann\" <ann@studio.example>");
    window->mnuFromPersonal()->trigger();
    EXPECT_EQ(Unmarked(window->ctlFrom()->text()),
              "\u00abAnn\u00bb <\u00abann@studio.example\u00bb>");
    EXPECT_EQ(window->Message()->PersonalOwner(), me->Reference());
    EXPECT_EQ(window->Message()->CDOMessage().From(), "Ann <ann@studio.example>");
    window->mnuFromDefault()->trigger();
    EXPECT_EQ(Unmarked(window->ctlFrom()->text()),
              "\u00abStudio\u00bb <\u00abstudio@localhost\u00bb>");
    EXPECT_EQ(window->Message()->PersonalOwner(), 0);
    EXPECT_TRUE(window->Message()->Edited());
}

class StubContactWindow : public QWidget, public ContactWindow {
public:
    std::shared_ptr<DirectoryContact> Contact() const override { return contact; }
    void SetContact(const std::shared_ptr<DirectoryContact>& c) override { contact = c; }
    std::shared_ptr<DirectoryContact> contact;
};

TEST_F(SmsWindow, AddressClicksOpenTheContactFromAlwaysToOnlyReadOnly) {
    InstallWindowOpeners();
    program().Windows().Register(WindowKind::Contact,
                                 [](QWidget*) { return new StubContactWindow; });
    contact(QStringLiteral("Listener"), QStringLiteral("07700900123"));
    contact(QStringLiteral("Station"), QStringLiteral("07700900100"));
    for (const bool masked : {false, true}) {
        mask(masked);
        frmSMSMessage* readOnly = open(received());
        ASSERT_NE(readOnly, nullptr);
        ASSERT_FALSE(readOnly->Editable());
        auto* from =
            dynamic_cast<StubContactWindow*>(readOnly->ClickAddress(readOnly->ctlFrom(), 0));
        ASSERT_NE(from, nullptr) << masked;
        EXPECT_EQ(from->contact->Name(), "Listener");
        auto* to = dynamic_cast<StubContactWindow*>(readOnly->ClickAddress(readOnly->ctlTo(), 0));
        ASSERT_NE(to, nullptr) << masked;
        EXPECT_EQ(to->contact->Name(), "Station");
        ASSERT_TRUE(Forms::Unload(readOnly));
        for (QWidget* w : Forms::All()) {
            if (dynamic_cast<StubContactWindow*>(w)) {
                Forms::Unload(w);
            }
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    mask(false);
    frmSMSMessage* editable = newWindow();
    ASSERT_NE(editable, nullptr);
    QTest::keyClicks(editable->ctlTo(), "07700900123");
    EXPECT_EQ(editable->ClickAddress(editable->ctlTo(), 0), nullptr);
    EXPECT_NE(editable->ClickAddress(editable->ctlFrom(), 0), nullptr);
}

TEST_F(SmsWindow, SendRefusesBlankRecipientsOrText) {
    const struct {
        const char* to;
        const char* text;
        const char* box;
    } cases[] = {
        {"   ", "Hi", "There must be at least 1 person in the To box!"},
        {"07700900123", "   ", "You must enter a text message to send!"},
    };
    for (const auto& c : cases) {
        TestMessageBoxes().clear();
        frmSMSMessage* window = newWindow();
        ASSERT_NE(window, nullptr);
        QTest::keyClicks(window->ctlTo(), c.to);
        QTest::keyClicks(window->txtBody(), c.text);
        window->cmdSend()->click();
        EXPECT_EQ(boxTexts(), std::vector<QString>{c.box});
        EXPECT_EQ(window->Message()->Folder(), OrlixMessage::kNewMessagesFolder);
        EXPECT_EQ(window->Message()->Flags(), 0);
        EXPECT_EQ(window->Message()->Reference(), 0);
        EXPECT_TRUE(Forms::Contains(window));
        TestMessageBoxes().queue(MsgResult::No);
        ASSERT_TRUE(Forms::Unload(window));
    }
}

TEST_F(SmsWindow, SendFilesTheSmsInTheOutboxAndRefreshesOnlyTheListItLeft) {
    const struct {
        qint32 listFolder;
        qint32 oldFolder;
        int refreshes;
    } cases[] = {{6, 6, 1}, {3, 6, 0}, {2, 2, 0}};
    for (const auto& c : cases) {
        int refreshes = 0;
        frmSMSMessage::SetMessageListHooks([&c] { return c.listFolder; },
                                           [&refreshes] { ++refreshes; });
        auto draft = std::make_shared<OrlixMessage>();
        draft->SetKind(kSms);
        draft->SetFolder(c.oldFolder);
        draft->SetFlags(OrlixMessage::FlagRead);
        draft->SetPersonalOwner(directory().CurrentUser()->Reference());
        frmSMSMessage* window = open(draft);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(window->Editable());
        QTest::keyClicks(window->ctlTo(), "Bob <07700900456>");
        QTest::keyClicks(window->txtBody(), "See you at eight");
        const QDateTime before = QDateTime::currentDateTime();
        window->cmdSend()->click();
        const std::string label = std::to_string(c.listFolder) + " " + std::to_string(c.oldFolder);
        EXPECT_TRUE(TestMessageBoxes().shown().empty()) << label;
        EXPECT_FALSE(Forms::Contains(window)) << label;
        EXPECT_EQ(refreshes, c.refreshes) << label;
        const auto stored = database().GetMessage(draft->Reference());
        ASSERT_TRUE(stored) << label;
        EXPECT_EQ(stored->Folder(), OrlixMessage::kOutboxFolder);
        EXPECT_EQ(stored->Flags(), OrlixMessage::FlagRead | OrlixMessage::FlagToBeSent);
        EXPECT_GE(stored->SendAfterDate().toSecsSinceEpoch(),
                  before.addSecs(30).toSecsSinceEpoch());
        EXPECT_LE(stored->SendAfterDate().toSecsSinceEpoch(),
                  QDateTime::currentDateTime().addSecs(30).toSecsSinceEpoch());
        EXPECT_EQ(stored->PersonalOwner(), directory().CurrentUser()->Reference());
        EXPECT_EQ(stored->CDOMessage().To(), "Bob <07700900456>");
        EXPECT_EQ(stored->CDOMessage().TextBody(), "See you at eight");
        EXPECT_EQ(stored->CDOMessage().From(), "\"Radio Kestova\" <07700900100>");
        bool ok = false;
        database().DeleteMessage(stored->Reference(), false, ok);
    }
}

TEST_F(SmsWindow, FailedSendKeepsTheWindowAndPutsTheQueueValuesBack) {
    frmSMSMessage* window = newWindow();
    ASSERT_NE(window, nullptr);
    QTest::keyClicks(window->ctlTo(), "07700900456");
    QTest::keyClicks(window->txtBody(), "Hi");
    const std::shared_ptr<OrlixMessage> message = window->Message();
    auto held = program().TakeDatabase();
    window->cmdSend()->click();
    program().SetDatabase(std::move(held));
    EXPECT_EQ(boxTexts(),
              std::vector<QString>{"You're message could not be moved to Outbox to be sent!"});
    EXPECT_TRUE(Forms::Contains(window));
    EXPECT_EQ(message->Folder(), OrlixMessage::kNewMessagesFolder);
    EXPECT_EQ(message->Flags(), 0);
    EXPECT_FALSE(message->SendAfterDate().isValid());
    EXPECT_EQ(window->txtBody()->Text(), "Hi");
    EXPECT_TRUE(message->Edited());
}

// The messages pane sets the list's hooks once, through the e-mail window; an SMS sent from
// the draft folder the list shows must refresh it as well.
TEST_F(SmsWindow, TheListHooksTheMessagesPaneSetsServeTheSmsWindowToo) {
    int refreshes = 0;
    frmMessage::SetMessageListHooks([] { return OrlixMessage::kNewMessagesFolder; },
                                    [&refreshes] { ++refreshes; });
    frmSMSMessage* window = newWindow();
    ASSERT_NE(window, nullptr);
    QTest::keyClicks(window->ctlTo(), "Bob <07700900456>");
    QTest::keyClicks(window->txtBody(), "See you at eight");
    window->cmdSend()->click();
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    EXPECT_FALSE(Forms::Contains(window));
    EXPECT_EQ(refreshes, 1);
    frmMessage::SetMessageListHooks({}, {});
}

TEST_F(SmsWindow, SaveDetailsRightsAndFailures) {
    checkSaveRights(kSms, [](const std::shared_ptr<OrlixMessage>& message) {
        frmSMSMessage window;
        window.SetMessage(message);
        return window.SaveDetails();
    });
}

TEST_F(SmsWindow, ReplyAndForwardCloseTheSmsAndOpenAnEditableDraft) {
    for (const bool forward : {false, true}) {
        TestMessageBoxes().clear();
        frmSMSMessage* window = open(received());
        ASSERT_NE(window, nullptr);
        ASSERT_FALSE(window->Editable());
        (forward ? window->cmdForward() : window->cmdReply())->click();
        const QList<frmSMSMessage*> open = windows();
        ASSERT_EQ(open.size(), 1) << forward;
        frmSMSMessage* draft = open.first();
        ASSERT_NE(draft, window);
        EXPECT_EQ(boxTexts(), std::vector<QString>{});
        const auto& m = *draft->Message();
        EXPECT_TRUE(draft->Editable()) << forward;
        EXPECT_EQ(m.Folder(), OrlixMessage::kNewMessagesFolder);
        EXPECT_FALSE(m.SentDate().isValid());
        EXPECT_FALSE(m.ReceivedDate().isValid());
        EXPECT_EQ(m.Flags(), 0);
        EXPECT_EQ(m.Kind(), kSms);
        EXPECT_EQ(m.InheritedValue(), 17);
        EXPECT_EQ(m.Reference(), 0);
        EXPECT_TRUE(m.Edited());
        // It arrives edited: it can be saved, not moved past the save.
        EXPECT_TRUE(draft->ToolbarButton("save")->isEnabled());
        EXPECT_FALSE(draft->ToolbarButton("movemessage")->isEnabled());
        EXPECT_EQ(draft->txtBody()->Text(), forward ? "Play my song" : "") << forward;
        EXPECT_EQ(m.CDOMessage().TextBody(), forward ? "Play my song" : "") << forward;
        EXPECT_EQ(m.CDOMessage().HTMLBody(), "");
        EXPECT_EQ(draft->ctlTo()->text(), forward ? "" : "07700900123") << forward;
        TestMessageBoxes().queue(MsgResult::No);
        ASSERT_TRUE(Forms::Unload(draft));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(SmsWindow, DeleteAsksWithNoAsDefaultAndClosesOnlyOnceDeleted) {
    const struct {
        MsgResult answer;
        bool dbOpen;
        bool closes;
        std::vector<QString> boxes;
    } cases[] = {
        {MsgResult::No, true, false, {"Are you sure you want to delete this message?"}},
        {MsgResult::Yes,
         false,
         false,
         {"Are you sure you want to delete this message?",
          "Your message could not be removed from the Database"}},
        {MsgResult::Yes, true, true, {"Are you sure you want to delete this message?"}},
    };
    for (const auto& c : cases) {
        TestMessageBoxes().clear();
        auto message = received();
        frmSMSMessage* window = open(message);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->ToolbarButton("delete")->isEnabled());
        TestMessageBoxes().queue(c.answer);
        std::unique_ptr<OrlixDatabase> held;
        if (!c.dbOpen) {
            held = program().TakeDatabase();
        }
        window->DoToolbarCommand("delete");
        if (held) {
            program().SetDatabase(std::move(held));
        }
        EXPECT_EQ(boxTexts(), c.boxes);
        EXPECT_EQ(TestMessageBoxes().shown()[0].defaultButton, 1);
        EXPECT_EQ(TestMessageBoxes().shown()[0].buttons, MsgButtons::YesNo);
        EXPECT_EQ(Forms::Contains(window), !c.closes);
        EXPECT_EQ(database().GetMessage(message->Reference()) == nullptr, c.closes);
        if (!c.closes) {
            ASSERT_TRUE(Forms::Unload(window));
        }
    }
    // A message never stored has nothing to delete.
    TestMessageBoxes().clear();
    frmSMSMessage* fresh = newWindow();
    ASSERT_NE(fresh, nullptr);
    EXPECT_FALSE(fresh->ToolbarButton("delete")->isEnabled());
    fresh->DoToolbarCommand("delete");
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    EXPECT_TRUE(Forms::Contains(fresh));
}

TEST_F(SmsWindow, MoveClosesAndRefreshesOnlyTheOldFoldersListCopyStays) {
    const struct {
        const char* command;
        qint32 listFolder;
        bool dbWorks;
        bool closes;
        int refreshes;
        const char* box;
    } cases[] = {
        {"movemessage", 3, true, true, 1, ""},
        {"movemessage", 4, true, true, 0, ""},
        {"movemessage", 3, false, false, 0, "Your message could not be moved to the chosen folder"},
        {"copymessage", 3, true, false, 0, ""},
        {"copymessage", 3, false, false, 0,
         "Your message could not be copied to the chosen folder"},
    };
    for (const auto& c : cases) {
        TestMessageBoxes().clear();
        int refreshes = 0;
        frmSMSMessage::SetMessageListHooks([&c] { return c.listFolder; },
                                           [&refreshes] { ++refreshes; });
        auto message = received();
        const qint32 before = database().GetMessages(QString())->Count();
        frmSMSMessage* window = open(message);
        ASSERT_NE(window, nullptr);
        std::unique_ptr<OrlixDatabase> held;
        chooseFolder(OrlixDatabase::kSentFolder, [&held, &c] {
            if (!c.dbWorks) {
                held = program().TakeDatabase(); // the store that follows fails
            }
        });
        window->DoToolbarCommand(c.command);
        if (held) {
            program().SetDatabase(std::move(held));
        }
        const std::string label = std::string(c.command) + " " + std::to_string(c.listFolder) +
                                  " " + std::to_string(c.dbWorks);
        if (QString::fromUtf8(c.box).isEmpty()) {
            EXPECT_TRUE(TestMessageBoxes().shown().empty()) << label;
        } else {
            EXPECT_EQ(boxTexts(), std::vector<QString>{QString::fromUtf8(c.box)}) << label;
        }
        EXPECT_EQ(Forms::Contains(window), !c.closes) << label;
        EXPECT_EQ(refreshes, c.refreshes) << label;
        const bool moved = std::string(c.command) == "movemessage" && c.dbWorks;
        const bool copied = std::string(c.command) == "copymessage" && c.dbWorks;
        EXPECT_EQ(message->Folder(),
                  moved ? OrlixDatabase::kSentFolder : OrlixDatabase::kInboxFolder)
            << label;
        EXPECT_EQ(database().GetMessage(message->Reference())->Folder(), message->Folder())
            << label;
        EXPECT_EQ(database().GetMessages(QString())->Count(), before + (copied ? 1 : 0)) << label;
        if (Forms::Contains(window)) {
            ASSERT_TRUE(Forms::Unload(window));
        }
    }
}

TEST_F(SmsWindow, CloseQuestionOnlyForAnEditedEditableSms) {
    const struct {
        const char* text;
        MsgResult answer;
        bool closes;
        bool stored;
        const char* question;
    } cases[] = {
        {"  Hello ", MsgResult::Cancel, false, false,
         "Do you want to save the changes you made to the Message 'Hello'?"},
        {"", MsgResult::No, true, false,
         "Do you want to save the changes you made to this Message?"},
        {"Hi", MsgResult::Yes, true, true,
         "Do you want to save the changes you made to the Message 'Hi'?"},
    };
    for (const bool byEscape : {false, true}) {
        for (const auto& c : cases) {
            TestMessageBoxes().clear();
            frmSMSMessage* window = newWindow();
            ASSERT_NE(window, nullptr);
            ASSERT_TRUE(ShowActive(*window));
            QTest::keyClicks(window->ctlTo(), "07700900123");
            window->txtBody()->setFocus();
            QTest::keyClicks(window->txtBody(), c.text);
            const std::shared_ptr<OrlixMessage> message = window->Message();
            TestMessageBoxes().queue(c.answer);
            QPointer<frmSMSMessage> guard(window);
            if (byEscape) {
                QTest::keyClick(window->txtBody(), Qt::Key_Escape);
            } else {
                window->close(); // the close box
            }
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_EQ(guard.isNull(), c.closes) << c.question << byEscape;
            EXPECT_EQ(boxTexts(), std::vector<QString>{QString::fromUtf8(c.question)});
            EXPECT_EQ(TestMessageBoxes().shown()[0].buttons, MsgButtons::YesNoCancel);
            EXPECT_EQ(TestMessageBoxes().shown()[0].defaultButton, 0);
            EXPECT_EQ(message->Reference() > 0, c.stored) << c.question;
            if (guard) {
                message->SetEdited(false);
                Forms::Unload(guard);
            }
        }
    }
    // A read-only window never asks, even with its message marked edited.
    frmSMSMessage* readOnly = open(received());
    ASSERT_NE(readOnly, nullptr);
    readOnly->Message()->SetEdited(true);
    TestMessageBoxes().clear();
    EXPECT_TRUE(Forms::Unload(readOnly));
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}

TEST_F(SmsWindow, FirstFocusGoesToTheTextOnceThereIsARecipient) {
    const struct {
        bool dated;
        const char* to;
        bool onText;
    } cases[] = {{false, "", false}, {false, "07700900123", true}, {true, "07700900123", true}};
    for (const auto& c : cases) {
        auto message = c.dated ? received() : std::make_shared<OrlixMessage>();
        message->SetKind(kSms);
        MimeMessage mime = message->CDOMessage();
        mime.SetTo(QString::fromUtf8(c.to));
        mime.SetTextBody(QStringLiteral("Hello"));
        message->SetCDOMessage(mime);
        frmSMSMessage* window = open(message);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(ShowActive(*window));
        QWidget* expected = c.onText ? static_cast<QWidget*>(window->txtBody()) : window->ctlTo();
        EXPECT_TRUE(WaitFor([&] { return window->focusWidget() == expected; })) << c.to;
        if (!c.dated && c.onText) {
            // Editable: the whole text is selected as the box takes the focus.
            EXPECT_EQ(window->txtBody()->textCursor().selectedText(), "Hello");
        }
        window->Message()->SetEdited(false);
        ASSERT_TRUE(Forms::Unload(window));
    }
}

TEST_F(SmsWindow, NewWindowsLieWholeOnTheScreen) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget main;
    main.setGeometry(area.left() + 40, area.top() + 40, area.width(), area.height());
    main.show(); // shown, it has the frame the message windows will have
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    program().SetMainWindow(&main);
    const auto settingsOfUser = [] { return directory().CurrentUser()->Settings(); };
    const QString nearTheCorner =
        smsrules::PlacementText({qRound(PixelsToTwips(area.right() - 100)),
                                 qRound(PixelsToTwips(area.bottom() - 40)), 6825, 5000});
    for (const QString& stored : {QString(), nearTheCorner}) {
        settingsOfUser().SaveSetting("SMSMessageWindow.Position", stored, QString());
        frmSMSMessage* window = newWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        EXPECT_TRUE(area.contains(window->frameGeometry()))
            << stored.toStdString() << ": " << window->frameGeometry().x() << ","
            << window->frameGeometry().y();
        Forms::Unload(window);
    }
    program().SetMainWindow(nullptr);
}

// Entering the text of an editable SMS by a click or by Tab selects it: typing replaces it.
TEST_F(SmsWindow, EnteringTheTextSelectsItToBeTypedOver) {
    for (const Entry how : {Entry::Click, Entry::Tab}) {
        auto message = std::make_shared<OrlixMessage>();
        message->SetKind(kSms);
        MimeMessage mime = message->CDOMessage();
        mime.SetTo(QStringLiteral("07700900123"));
        mime.SetTextBody(QStringLiteral("5"));
        message->SetCDOMessage(mime);
        frmSMSMessage* window = open(message);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(ShowActive(*window));
        window->ctlTo()->setFocus();
        ASSERT_TRUE(EnterBox(window->txtBody(), how)) << NameOf(how);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("10"));
        EXPECT_EQ(window->txtBody()->toPlainText(), QStringLiteral("10")) << NameOf(how);
        window->Message()->SetEdited(false);
        ASSERT_TRUE(Forms::Unload(window));
    }
}

TEST_F(SmsWindow, NewWindowsCascadeFromTheLastStoredPosition) {
    QWidget main;
    main.setGeometry(0, 0, TwipsToPixels(15000), TwipsToPixels(9000));
    program().SetMainWindow(&main);
    const auto settingsOfUser = [] { return directory().CurrentUser()->Settings(); };
    const auto placement = [&] {
        return settingsOfUser().GetSetting("SMSMessageWindow.Position", QString()).toString();
    };
    const struct {
        const char* stored;
        const char* next;
    } cases[] = {
        // 255 further right and down.
        {"1500,1500,6000,3000", "1755,1755,6000,3000"},
        // Reaching into the last 500 of the main window's bottom: back to its top + 500.
        {"1500,5600,6000,3000", "1755,500,6000,3000"},
        // And at its right edge: back to its left + 500.
        {"8600,1500,6000,3000", "500,1755,6000,3000"},
    };
    // Twips become whole pixels of 15 twips: a place is kept to within one pixel.
    const auto near = [](const QString& got, const QString& want) {
        const auto a = smsrules::ParsePlacementText(got);
        const auto b = smsrules::ParsePlacementText(want);
        return a && b && std::abs(a->Left - b->Left) < 15 && std::abs(a->Top - b->Top) < 15 &&
               std::abs(a->Width - b->Width) < 15 && std::abs(a->Height - b->Height) < 15;
    };
    for (const auto& c : cases) {
        settingsOfUser().SaveSetting("SMSMessageWindow.Position", QString::fromUtf8(c.stored),
                                     QString());
        frmSMSMessage window;
        EXPECT_TRUE(near(placement(), QString::fromUtf8(c.next)))
            << c.stored << " " << placement().toStdString();
        const QString at = QStringLiteral("%1,%2,%3,%4")
                               .arg(PixelsToTwips(window.x()))
                               .arg(PixelsToTwips(window.y()))
                               .arg(PixelsToTwips(window.width()))
                               .arg(PixelsToTwips(window.height()));
        EXPECT_TRUE(near(at, QString::fromUtf8(c.next))) << c.stored << " " << at.toStdString();
    }
    program().SetMainWindow(nullptr);
}

TEST_F(SmsWindow, ReadAndNewWindowsDraw) {
    const QString shots = qEnvironmentVariable("ORLIX_SCREENSHOTS");
    frmSMSMessage* fresh = newWindow();
    ASSERT_NE(fresh, nullptr);
    contact(QStringLiteral("Listener"), QStringLiteral("07700900123"));
    mask(true);
    auto message = received(QStringLiteral("07700900123"),
                            QStringLiteral("Please play ") + QString(100, u'x'));
    message->SetPersonalOwner(directory().CurrentUser()->Reference());
    frmSMSMessage* masked = open(message);
    ASSERT_NE(masked, nullptr);
    // The window keeps to at least 6000 twips wide and 2500 to 4000 twips high.
    EXPECT_EQ(fresh->minimumWidth(), TwipsToPixels(6000));
    EXPECT_EQ(fresh->minimumHeight(), TwipsToPixels(2500));
    EXPECT_EQ(fresh->maximumHeight(), TwipsToPixels(4000));
    const std::pair<const char*, frmSMSMessage*> shown[] = {{"sms-new", fresh},
                                                            {"sms-masked", masked}};
    for (const auto& [name, window] : shown) {
        ASSERT_TRUE(ShowActive(*window));
        // Every control shown lies inside the window and apart from the others.
        QList<QWidget*> controls;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (w->isVisible() && w->parentWidget() == window) {
                controls.append(w);
            }
        }
        for (QWidget* toolbarButton :
             {static_cast<QWidget*>(window->cmdSend()), static_cast<QWidget*>(window->cmdReply()),
              static_cast<QWidget*>(window->cmdForward())}) {
            EXPECT_EQ(toolbarButton->isVisible(),
                      window->Editable() == (toolbarButton == window->cmdSend()))
                << name;
        }
        for (QWidget* w : controls) {
            EXPECT_TRUE(window->rect().contains(w->geometry()))
                << name << " " << w->metaObject()->className();
            for (QWidget* other : controls) {
                if (other != w) {
                    EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                        << name << " " << w->metaObject()->className() << " "
                        << other->metaObject()->className();
                }
            }
        }
        EXPECT_EQ(window->picPersonal()->isVisible(), window == masked) << name;
        const QImage image = window->grab().toImage();
        EXPECT_FALSE(image.isNull());
        if (!shots.isEmpty()) {
            EXPECT_TRUE(image.save(shots + QLatin1Char('/') + QLatin1String(name) +
                                   QStringLiteral(".png")));
        }
    }
}

} // namespace
