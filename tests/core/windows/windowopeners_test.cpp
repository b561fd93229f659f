#include "core/orlixcommon.h"
#include "core/profile/recentlists.h"
#include "core/program.h"
#include "core/windows/contactopener.h"
#include "core/windows/editwindows.h"
#include "core/windows/windowopeners.h"

#include "core/printing/frmprintpreview.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/directory/usersettings.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"
#include "platform/system/appinfo.h"
#include "platform/ui/forms.h"
#include "support/editwindowdoubles.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {
// A contact window that goes with its closing, as a form that unloads itself does: shown
// modally, it is closed and deleted from within the modal run.
class UnloadingContactWindow : public TestContactWindow {
public:
    UnloadingContactWindow() { setAttribute(Qt::WA_DeleteOnClose); }
    // Queued: it runs once the opener's modal run handles events.
    static void UnloadSoon(QWidget* window) {
        QMetaObject::invokeMethod(
            qApp,
            [w = QPointer<QWidget>(window)] {
                if (w != nullptr) {
                    w->close();
                    delete w.data();
                }
            },
            Qt::QueuedConnection);
    }

protected:
    void showEvent(QShowEvent* event) override {
        TestContactWindow::showEvent(event);
        if (windowModality() == Qt::ApplicationModal) {
            UnloadSoon(this);
        }
    }
};

class Openers : public ::testing::Test {
protected:
    static Program& program() { return Program::Instance(); }

    void SetUp() override {
        program().SetOptions(StartupOptions::Parse(QStringLiteral("/NOPREVCHECK /Profile=Studio")));
        ASSERT_TRUE(InitialiseOrlix(QStringLiteral("SOFTWARE\\Kestova\\Orlix v1\\Client"), false));
        UnloadSplash();
        WindowRegistry& windows = program().Windows();
        windows.SetShower([this](QWidget* w, bool modal) {
            shownModal.push_back(modal);
            w->show();
        });
        RegisterEditWindowDoubles(windows);
        QString refusal;
        user = directory().CreateFirstUser(QStringLiteral("Ann"), QStringLiteral("ann"), QString(),
                                           &refusal);
        ASSERT_TRUE(user) << refusal.toStdString();
        bool ok = false;
        directory().LoginContact(user, 1, AppInfo::ProductName(), ok);
        ASSERT_TRUE(directory().CurrentUser());
    }
    std::shared_ptr<DirectoryContact> user;
    void TearDown() override {
        filler.clear();
        closeAll();
        TerminateOrlix();
    }
    static void closeAll() {
        for (QWidget* w : Forms::All()) {
            delete w;
        }
    }
    static KVDirectory& directory() { return *program().Directory(); }
    // The program's messages database, opened in the test's home on first use.
    static OrlixDatabase& database() {
        if (program().Database() == nullptr) {
            const QString folder = TestHome() + QStringLiteral("/db");
            QDir().mkpath(folder);
            auto db = std::make_unique<OrlixDatabase>();
            EXPECT_EQ(db->OpenDatabase(folder), 0);
            program().SetDatabase(std::move(db));
        }
        return *program().Database();
    }
    // A stored contact (n > 0), read back as a new object each time; n = 0 is a new contact.
    std::shared_ptr<DirectoryContact> contact(int n) {
        if (n == 0) {
            return directory().CreateContact();
        }
        if (!stored.contains(n)) {
            auto c = directory().CreateContact();
            c->SetName(QStringLiteral("Listener %1").arg(n));
            bool ok = false;
            directory().SaveContact(0, c, true, true, ok);
            EXPECT_TRUE(ok);
            stored.insert(n, c->Reference());
        }
        return directory().GetContact(stored.value(n), true, true);
    }
    QMap<int, qint32> stored;
    static std::shared_ptr<OrlixPrize> storedPrize() {
        auto prize = database().NewPrize();
        prize->SetNumberSupplied(1);
        bool ok = false;
        database().StorePrize(*prize, ok);
        EXPECT_TRUE(ok);
        return prize;
    }
    static std::shared_ptr<OrlixPrizeWinner> storedWinner() {
        auto winner = database().NewPrizeWinner(*storedPrize());
        bool ok = false;
        database().StorePrizeWinner(*winner, ok);
        EXPECT_TRUE(ok);
        return winner;
    }
    static std::shared_ptr<OrlixMessage> storedMessage(qint32 kind) {
        auto message = std::make_shared<OrlixMessage>();
        message->SetKind(kind);
        message->SetFolder(6);
        bool ok = false;
        database().StoreMessage(*message, ok);
        EXPECT_TRUE(ok);
        return message;
    }
    QString lastBox() const {
        return TestMessageBoxes().shown().empty() ? QString()
                                                  : TestMessageBoxes().shown().back().text;
    }
    // Plain loaded windows that count against the limit on loaded forms only.
    std::vector<std::unique_ptr<QWidget>> filler;
    void fillForms(int total) {
        while (Forms::Count() < total) {
            filler.push_back(std::make_unique<QWidget>());
            Forms::Add(filler.back().get());
        }
    }
    std::vector<bool> shownModal;
};

TEST_F(Openers, TenVisibleContactWindowsRefuseANewOneButHiddenOnesDoNotCount) {
    for (int i = 0; i < 9; ++i) {
        ASSERT_TRUE(NewContact(0));
    }
    QWidget* hidden = NewContact(0);
    ASSERT_NE(hidden, nullptr);
    hidden->hide();
    EXPECT_TRUE(NewContact(0)); // nine visible and one hidden
    EXPECT_FALSE(NewContact(0));
    EXPECT_EQ(lastBox(),
              QStringLiteral("You cannot have more than 10 Contact windows open simultaneously"));
    EXPECT_EQ(TestMessageBoxes().shown().back().icon, MsgIcon::Exclamation);
}

TEST_F(Openers, OpenContactReusesTheWindowOfTheSameContact) {
    QPointer<QWidget> first = OpenContact(contact(7), 0);
    ASSERT_TRUE(first);
    for (int i = 0; i < 9; ++i) {
        ASSERT_TRUE(OpenContact(contact(100 + i), 0));
    }
    first->hide();
    EXPECT_EQ(OpenContact(contact(7), 0), first); // brought forward even with ten open
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(OpenContact(contact(55), 0)); // ten loaded, one of them hidden
    EXPECT_EQ(lastBox(),
              QStringLiteral("You cannot have more than 10 Contact windows open simultaneously"));
    EXPECT_TRUE(OpenContact(contact(0), 0)); // a new contact is not counted
}

TEST_F(Openers, OpenPrizeShowsThePrizeAndBringsItsOpenWindowForward) {
    const auto prize = storedPrize();
    QPointer<QWidget> w = OpenPrize(prize);
    ASSERT_TRUE(w);
    EXPECT_EQ(dynamic_cast<TestPrizeWindow*>(w.data())->prize, prize);
    EXPECT_TRUE(Forms::Contains(w));
    w->hide();
    // The same stored prize, read again, is the same window.
    EXPECT_EQ(OpenPrize(database().GetPrize(prize->Reference())), w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(OpenPrize(nullptr));
    EXPECT_EQ(Forms::Count(), 1);
}

// The eleventh window of a kind is refused in the kind's own words; e-mail and SMS windows
// share one limit.
TEST_F(Openers, TheEleventhWindowOfAKindIsRefusedInItsOwnWords) {
    struct Case {
        const char* name;
        std::function<QPointer<QWidget>(int)> open; // the nth window, each a stored item
        QString refusal;
    };
    const Case cases[] = {
        {"contacts", [this](int n) { return OpenContact(contact(n + 1), 0); },
         QStringLiteral("You cannot have more than 10 Contact windows open simultaneously")},
        {"prizes", [](int) { return OpenPrize(storedPrize()); },
         QStringLiteral("You cannot have more than 10 Prize windows open simultaneously")},
        {"prize winners", [](int) { return OpenPrizeWinner(storedWinner()); },
         QStringLiteral(
             "You cannot have more than 10 Prize Winner's details window open simultaneously")},
        {"messages opened, e-mail and SMS alike",
         [](int n) {
             return OpenMessage(
                 storedMessage(n % 2 == 0 ? OrlixMessage::KindEmail : OrlixMessage::KindSms), 0);
         },
         QStringLiteral("You cannot have more than 10 Message windows open simultaneously")},
        {"new messages, e-mail and SMS alike",
         [](int n) {
             std::shared_ptr<OrlixMessage> none;
             return NewMessage(none, n < 5 ? OrlixMessage::KindEmail : OrlixMessage::KindSms);
         },
         QStringLiteral("You cannot have more than 10 Message windows open simultaneously")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMessageBoxes().clear();
        for (int n = 0; n < 10; ++n) {
            ASSERT_TRUE(c.open(n)) << n;
        }
        EXPECT_TRUE(TestMessageBoxes().shown().empty());
        EXPECT_FALSE(c.open(10));
        EXPECT_EQ(lastBox(), c.refusal);
        ASSERT_FALSE(TestMessageBoxes().shown().empty());
        EXPECT_EQ(TestMessageBoxes().shown().back().icon, MsgIcon::Exclamation);
        closeAll();
    }
}

TEST_F(Openers, EachOpenerShowsModallyOnlyWhenAskedTo) {
    const auto message = storedMessage(OrlixMessage::KindEmail);
    struct Case {
        const char* name;
        std::function<QPointer<QWidget>()> open;
        bool modal;
    };
    const Case cases[] = {
        {"a contact", [this] { return OpenContact(contact(1), 0); }, false},
        {"the open contact, modally", [this] { return OpenContact(contact(1), 1); }, true},
        {"another contact, modally", [this] { return OpenContact(contact(2), 1); }, true},
        {"a contact, with any other value", [this] { return OpenContact(contact(3), 2); }, false},
        {"a new contact", [] { return NewContact(0); }, false},
        {"a prize", [] { return OpenPrize(storedPrize()); }, false},
        {"a prize winner", [] { return OpenPrizeWinner(storedWinner()); }, false},
        {"a new message",
         [] {
             std::shared_ptr<OrlixMessage> none;
             return NewMessage(none, OrlixMessage::KindSms);
         },
         false},
        {"a message, modally", [message] { return OpenMessage(message, 1); }, true},
        {"the open message", [message] { return OpenMessage(message, 0); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        shownModal.clear();
        ASSERT_TRUE(c.open());
        EXPECT_EQ(shownModal, std::vector<bool>{c.modal});
    }
}

// A window that goes with its closing must not be touched once its modal run has ended:
// neither a new one nor an open one brought forward.
TEST_F(Openers, AModalWindowThatGoesWithItsClosingIsNotTouchedAfterwards) {
    program().Windows().SetShower(nullptr); // the real modal run
    program().Windows().Register(WindowKind::Contact,
                                 [](QWidget*) { return new UnloadingContactWindow; });
    const auto c = contact(5);

    EXPECT_FALSE(OpenContact(c, 1)); // a new window, closed and gone when this returns
    EXPECT_EQ(Forms::Count(), 0);

    QPointer<QWidget> open = OpenContact(c, 0);
    ASSERT_TRUE(open);
    UnloadingContactWindow::UnloadSoon(open);
    EXPECT_FALSE(OpenContact(c, 1)); // brought forward modally, then closed and gone
    EXPECT_TRUE(open.isNull());
    EXPECT_EQ(Forms::Count(), 0);
}

TEST_F(Openers, AModalRunEndsWhenItsWindowIsHiddenAndLeavesItLoaded) {
    program().Windows().SetShower(nullptr);
    QPointer<QWidget> open = OpenContact(contact(6), 0);
    ASSERT_TRUE(open);
    EXPECT_TRUE(open->isVisible());
    QMetaObject::invokeMethod(
        qApp, [open] { open->hide(); }, Qt::QueuedConnection);
    EXPECT_EQ(OpenContact(contact(6), 1), open);
    EXPECT_FALSE(open->isVisible());
    EXPECT_TRUE(Forms::Contains(open));
    EXPECT_EQ(OpenContact(contact(6), 0), open); // modeless again
    EXPECT_TRUE(open->isVisible());
    EXPECT_EQ(open->windowModality(), Qt::NonModal);
}

TEST_F(Openers, MoreThanFortyLoadedFormsRefuseEveryOpener) {
    fillForms(40);
    EXPECT_TRUE(OpenContact(contact(1), 0)); // 40 loaded before: it opens
    fillForms(41);
    std::shared_ptr<OrlixMessage> none;
    EXPECT_FALSE(NewMessage(none, 1));
    EXPECT_EQ(lastBox(), QStringLiteral("You must close some windows first"));
    EXPECT_EQ(TestMessageBoxes().shown().back().icon, MsgIcon::Information);
    EXPECT_FALSE(OpenContact(contact(2), 0));
}

TEST_F(Openers, PrintPreviewsAreLoadedFormsThatCountTowardTheLimit) {
    const QString notes = TestHome() + QStringLiteral("/notes.txt");
    QFile file(notes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Notes");
    file.close();
    fillForms(1); // the main window
    for (int i = 0; i < 40; ++i) {
        frmPrintPreview::DisplayFile(notes, QString(), 0, false);
    }
    EXPECT_EQ(Forms::OfKind<frmPrintPreview>().size(), 40);
    EXPECT_FALSE(OpenContact(contact(1), 0));
    EXPECT_EQ(lastBox(), QStringLiteral("You must close some windows first"));

    // A preview closed by its user leaves the loaded forms.
    QPointer<frmPrintPreview> preview = Forms::OfKind<frmPrintPreview>().first();
    preview->cmdOK->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(preview.isNull());
    EXPECT_EQ(Forms::OfKind<frmPrintPreview>().size(), 39);
    EXPECT_TRUE(OpenContact(contact(1), 0));
}

TEST_F(Openers, RightsAreCheckedOnlyForALoggedInUser) {
    directory().Logout();
    EXPECT_TRUE(NewContact(0)); // nobody logged in counts as allowed
    bool ok = false;
    directory().LoginContact(user, 1, AppInfo::ProductName(), ok);
    ASSERT_TRUE(directory().CurrentUser());
    directory().CurrentUser()->SetDirectoryRights(DirectoryRights());
    directory().CurrentUser()->SetUserRights(UserRights());
    EXPECT_FALSE(NewContact(0));
    EXPECT_EQ(lastBox(),
              QStringLiteral("You have not been given the correct security permissions to "
                             "create new Contacts"));
    std::shared_ptr<OrlixMessage> none;
    EXPECT_FALSE(NewMessage(none, 1));
    EXPECT_EQ(lastBox(),
              QStringLiteral("You have not been given the correct security permissions to "
                             "create new Messages"));
}

TEST_F(Openers, NewMessageMakesTheMessageOfTheKindAskedFor) {
    std::shared_ptr<OrlixMessage> message;
    QPointer<QWidget> w = NewMessage(message, 2);
    ASSERT_TRUE(w);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->Kind(), 2);
    auto* window = dynamic_cast<TestMessageWindow*>(w.data());
    EXPECT_TRUE(window->editable);
    EXPECT_EQ(window->message, message);

    std::shared_ptr<OrlixMessage> other;
    EXPECT_FALSE(NewMessage(other, 3));
    ASSERT_TRUE(other);
    EXPECT_EQ(other->Kind(), 3);
}

TEST_F(Openers, OpenMessageMarksAnUnreadUneditedMessageReadOnce) {
    OrlixDatabase& db = database();
    auto message = std::make_shared<OrlixMessage>();
    message->SetFolder(6);
    bool ok = false;
    db.StoreMessage(*message, ok);
    ASSERT_TRUE(ok);
    ASSERT_GT(message->Reference(), 0);
    QPointer<QWidget> w = OpenMessage(message, 0);
    ASSERT_TRUE(w);
    EXPECT_EQ(message->Flags() & 1, 1);
    EXPECT_EQ(db.GetMessage(message->Reference())->Flags() & 1, 1);

    auto edited = std::make_shared<OrlixMessage>();
    edited->SetFolder(6);
    db.StoreMessage(*edited, ok);
    edited->SetEdited(true);
    OpenMessage(edited, 0);
    EXPECT_EQ(db.GetMessage(edited->Reference())->Flags() & 1, 0);

    auto odd = std::make_shared<OrlixMessage>();
    odd->SetKind(5);
    odd->SetFolder(6);
    db.StoreMessage(*odd, ok);
    EXPECT_FALSE(OpenMessage(odd, 0)); // marked read, but no window for that kind
    EXPECT_EQ(db.GetMessage(odd->Reference())->Flags() & 1, 1);
}

TEST_F(Openers, OpeningAContactOrMessageRecordsItAsRecentEvenWhenRefused) {
    int updates = 0;
    QObject context;
    QObject::connect(&MRUNotifier::Instance(), &MRUNotifier::UpdateMRU, &context,
                     [&updates](int) { ++updates; });
    fillForms(41);
    const auto c = contact(3);
    EXPECT_FALSE(OpenContact(c, 0));
    auto message = std::make_shared<OrlixMessage>();
    message->SetFolder(6);
    EXPECT_FALSE(OpenMessage(message, 0)); // never stored: reference 0 is not recorded
    const UserSettings settings = directory().CurrentUser()->Settings();
    EXPECT_EQ(settings.GetSetting(QStringLiteral("MRUContacts"), QString()).toString(),
              QString::number(c->Reference()));
    EXPECT_EQ(updates, 1);
}

TEST_F(Openers, TwoNewWinnersGetTwoWindows) {
    auto first = std::make_shared<OrlixPrizeWinner>();
    auto second = std::make_shared<OrlixPrizeWinner>();
    QPointer<QWidget> a = OpenPrizeWinner(first);
    QPointer<QWidget> b = OpenPrizeWinner(second);
    ASSERT_TRUE(a && b);
    EXPECT_NE(a, b);
}

TEST_F(Openers, TheSharedDialogsOpenContactsThroughTheOpeners) {
    InstallWindowOpeners();
    const auto c = contact(4);
    QWidget* w = OpenContactThroughHook(c, 0);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(dynamic_cast<TestContactWindow*>(w)->contact, c);
    SetOpenContactHook(nullptr);
}

TEST_F(Openers, AKindWithoutAWindowOpensNothing) {
    program().Windows().Register(WindowKind::Contact, nullptr);
    EXPECT_FALSE(NewContact(0));
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}

TEST_F(Openers, AWindowThatCannotShowTheKindOpensNothingAndLeavesNothing) {
    program().Windows().Register(WindowKind::Prize, [](QWidget*) { return new QWidget; });
    EXPECT_FALSE(OpenPrize(storedPrize()));
    EXPECT_EQ(Forms::Count(), 0);
}
} // namespace
