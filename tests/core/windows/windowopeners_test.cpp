#include "core/orlixcommon.h"
#include "core/profile/recentlists.h"
#include "core/windows/contactopener.h"
#include "core/windows/editwindows.h"
#include "core/windows/windowopeners.h"

#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/directory/usersettings.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixprizewinner.h"
#include "platform/system/appinfo.h"
#include "platform/ui/forms.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"

#include <QDir>
#include <QMap>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {
// Small stand-ins for the edit windows, with only what the openers use.
class TestContactWindow : public QWidget, public ContactWindow {
public:
    std::shared_ptr<DirectoryContact> Contact() const override { return contact; }
    void SetContact(const std::shared_ptr<DirectoryContact>& c) override { contact = c; }
    std::shared_ptr<DirectoryContact> contact;
};

class TestWinnerWindow : public QWidget, public PrizeWinnerWindow {
public:
    std::shared_ptr<OrlixPrizeWinner> PrizeWinner() const override { return winner; }
    bool LoadPrizeWinner(const std::shared_ptr<OrlixPrizeWinner>& w) override {
        winner = w;
        return true;
    }
    std::shared_ptr<OrlixPrizeWinner> winner;
};

class TestMessageWindow : public QWidget, public MessageWindow {
public:
    std::shared_ptr<OrlixMessage> Message() const override { return message; }
    void SetMessage(const std::shared_ptr<OrlixMessage>& m) override { message = m; }
    void SetEditable(bool e) override { editable = e; }
    std::shared_ptr<OrlixMessage> message;
    bool editable = false;
};

class Openers : public ::testing::Test {
protected:
    void SetUp() override {
        AppInfo::SetCommandLine(QStringLiteral("/NOPREVCHECK /Profile=Studio"));
        ASSERT_TRUE(InitialiseOrlix(QStringLiteral("SOFTWARE\\Kestova\\Orlix v1\\Client"), false));
        UnloadSplash();
        SetWindowShower([this](QWidget* w, bool modal) {
            shownModal.push_back(modal);
            w->show();
        });
        RegisterWindowMaker(EditWindowKind::Contact, [] { return new TestContactWindow; });
        RegisterWindowMaker(EditWindowKind::PrizeWinner, [] { return new TestWinnerWindow; });
        RegisterWindowMaker(EditWindowKind::Email, [] { return new TestMessageWindow; });
        RegisterWindowMaker(EditWindowKind::Sms, [] { return new TestMessageWindow; });
        QString refusal;
        user = Directory()->CreateFirstUser(QStringLiteral("Ann"), QStringLiteral("ann"), QString(),
                                            &refusal);
        ASSERT_TRUE(user) << refusal.toStdString();
        bool ok = false;
        Directory()->LoginContact(user, 1, AppInfo::ProductName(), ok);
        ASSERT_TRUE(Directory()->CurrentUser());
    }
    std::shared_ptr<DirectoryContact> user;
    void TearDown() override {
        filler.clear();
        for (QWidget* w : Forms::All()) {
            delete w;
        }
        SetOpenersDatabase(nullptr);
        SetWindowShower(nullptr);
        TerminateOrlix();
    }
    // A stored contact (n > 0), read back as a new object each time; n = 0 is a new contact.
    std::shared_ptr<DirectoryContact> contact(int n) {
        if (n == 0) {
            return Directory()->CreateContact();
        }
        if (!stored.contains(n)) {
            auto c = Directory()->CreateContact();
            c->SetName(QStringLiteral("Listener %1").arg(n));
            bool ok = false;
            Directory()->SaveContact(0, c, true, true, ok);
            EXPECT_TRUE(ok);
            stored.insert(n, c->Reference());
        }
        return Directory()->GetContact(stored.value(n), true, true);
    }
    QMap<int, qint32> stored;
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

TEST_F(Openers, RightsAreCheckedOnlyForALoggedInUser) {
    Directory()->Logout();
    EXPECT_TRUE(NewContact(0)); // nobody logged in counts as allowed
    bool ok = false;
    Directory()->LoginContact(user, 1, AppInfo::ProductName(), ok);
    ASSERT_TRUE(Directory()->CurrentUser());
    Directory()->CurrentUser()->SetDirectoryRights(DirectoryRights());
    Directory()->CurrentUser()->SetUserRights(UserRights());
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
    OrlixDatabase db;
    const QString folder = TestHome() + QStringLiteral("/db");
    QDir().mkpath(folder);
    ASSERT_EQ(db.OpenDatabase(folder), 0);
    SetOpenersDatabase(&db);

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
    db.CloseDatabase(ok);
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
    const UserSettings settings = Directory()->CurrentUser()->Settings();
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
    RegisterWindowMaker(EditWindowKind::Contact, nullptr);
    EXPECT_FALSE(NewContact(0));
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}
} // namespace
