#include "mainwindowfixture.h"

#include "core/profile/usersettingskeys.h"
#include "mainwindow/panes/contactspane.h"
#include "mainwindow/panes/recentmenus.h"
#include "mainwindow/panes/websitespane.h"
#include "platform/directory/controls/ucontact.h"
#include "platform/directory/controls/ucontactslist.h"
#include "platform/directory/controls/uwebsiteslist.h"
#include "platform/directory/directorysettingsdialog.h"
#include "platform/directory/directorywebsite.h"
#include "platform/messagesdb/controls/uprizebasic.h"
#include "platform/messagesdb/controls/uprizeslist.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"
#include "platform/ui/upanel3.h"
#include "platform/ui/usplitpanel.h"
#include "support/waitfor.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <functional>

namespace {
// The studio computer under test runs the main window; the other computer is a second
// database object and a second directory object on the same two files, as another program
// would have them.
class SharedChangesTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(startLoggedIn());
        window->show();
        otherDb.SetChangeWatch(0, 0);
        ASSERT_EQ(otherDb.OpenDatabase(folder("db")), 0);
        otherDirectory.SetChangeWatch(0, 0);
        bool failed = true;
        otherDirectory.Open(directory()->FilePath(), false, failed);
        ASSERT_FALSE(failed);
        bool ok = false;
        otherDirectory.LoginContact(otherDirectory.GetContactByLoginName(QStringLiteral("admin")),
                                    1, QString(), ok);
        ASSERT_TRUE(ok);
    }
    void TearDown() override {
        bool ok = false;
        otherDb.CloseDatabase(ok);
        otherDirectory.Close(ok);
        MainWindowFixture::TearDown();
    }

    qint32 otherPrize(const QString& title, int supplied, int winners) {
        auto prize = otherDb.NewPrize();
        prize->SetTitle(title);
        prize->SetNumberSupplied(supplied);
        bool ok = false;
        otherDb.StorePrize(*prize, ok);
        EXPECT_TRUE(ok);
        for (int i = 0; i < winners; ++i) {
            auto winner = otherDb.NewPrizeWinner(*prize);
            otherDb.StorePrizeWinner(*winner, ok);
            EXPECT_TRUE(ok);
        }
        return prize->Reference();
    }
    qint32 otherContact(qint32 reference, const QString& name, const QString& login = {}) {
        auto c = reference > 0 ? otherDirectory.GetContact(reference, true, true)
                               : otherDirectory.CreateContact();
        c->SetName(name);
        if (!login.isEmpty()) {
            c->SetLoginName(login);
        }
        QString refusal;
        EXPECT_TRUE(otherDirectory.SaveContact(reference, *c, &refusal)) << refusal.toStdString();
        return c->Reference();
    }
    // What the contacts list shows, read from its view's own rows.
    QStringList contactLines() const {
        QStringList lines;
        const auto* view = window->ctlContacts->findChild<QAbstractItemView*>();
        const QAbstractItemModel* model = view != nullptr ? view->model() : nullptr;
        for (int row = 0; model != nullptr && row < model->rowCount(); ++row) {
            lines << model->index(row, 0).data().toString();
        }
        return lines;
    }
    bool within2s(const std::function<bool()>& shown) { return WaitFor(shown, 2000); }

    OrlixDatabase otherDb;
    KVDirectory otherDirectory;
};
} // namespace

TEST_F(SharedChangesTest, PrizesAndWinnersChangedElsewhereShowWithinTwoSeconds) {
    window->optPrize->SetValue(1);
    window->optPrize_Click();
    const qint32 kept = otherPrize(QStringLiteral("Concert tickets"), 3, 3);
    ASSERT_TRUE(within2s([&] { return window->ctlPrizes->ItemOf(kept) != nullptr; }))
        << "a prize stored elsewhere";
    window->ctlPrizes->lvwPrizes()->setCurrentItem(window->ctlPrizes->ItemOf(kept));
    ASSERT_TRUE(window->ctlPrize->Prize());
    EXPECT_EQ(window->ctlPrize->lblNumbers()->text(), QStringLiteral("3 supplied, 3 won"));

    const qint32 added = otherPrize(QStringLiteral("Signed album"), 1, 0);
    EXPECT_TRUE(within2s([&] { return window->ctlPrizes->ItemOf(added) != nullptr; }));
    EXPECT_EQ(window->ctlPrizes->SelectedReference(), kept) << "the selection stays";

    // A winner removed elsewhere: the prize shown is read again.
    auto prize = otherDb.GetPrize(kept, true);
    bool ok = false;
    otherDb.DeletePrizeWinner(prize->Winner(1)->Reference(), ok);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(within2s([&] {
        return window->ctlPrize->lblNumbers()->text() == QStringLiteral("3 supplied, 2 won");
    }));

    // The prize shown deleted elsewhere: none is shown, and it cannot be opened.
    otherDb.DeletePrize(kept, ok);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(within2s([&] { return window->ctlPrizes->ItemOf(kept) == nullptr; }));
    EXPECT_EQ(window->ctlPrize->Prize(), nullptr);
    EXPECT_FALSE(window->cmdOpenPrize->isEnabled());
}

TEST_F(SharedChangesTest, ContactsUsersAndWebsitesChangedElsewhereShowWithinTwoSeconds) {
    window->optContacts->SetValue(1);
    window->optContacts_Click();
    const qint32 acme = otherContact(0, QStringLiteral("Acme Ltd"));
    ASSERT_TRUE(within2s([&] { return contactLines().contains(QStringLiteral("Acme Ltd")); }))
        << "a contact stored elsewhere";
    window->ctlContacts->SetSearchText(QStringLiteral("Acme"));
    window->ctlContacts->SetSelectedReference(acme);
    ASSERT_TRUE(window->ctlContact->Contact());
    ASSERT_EQ(window->ctlContact->Contact()->Name(), QStringLiteral("Acme Ltd"));

    // Renamed elsewhere: its line and the detail under it, the search and selection kept.
    otherContact(acme, QStringLiteral("Acme One"));
    EXPECT_TRUE(within2s([&] {
        return contactLines().contains(QStringLiteral("Acme One")) &&
               window->ctlContact->Contact() &&
               window->ctlContact->Contact()->Name() == QStringLiteral("Acme One");
    }));
    EXPECT_FALSE(contactLines().contains(QStringLiteral("Acme Ltd")));
    EXPECT_EQ(window->ctlContacts->SelectedReference(), acme);
    EXPECT_EQ(window->ctlContacts->SearchText(), QStringLiteral("Acme"));

    // A user added and then removed elsewhere.
    window->ctlContacts->SetSearchText(QString());
    const qint32 bea = otherContact(0, QStringLiteral("Bea Presenter"), QStringLiteral("bea"));
    EXPECT_TRUE(within2s([&] { return contactLines().contains(QStringLiteral("Bea Presenter")); }));
    QString refusal;
    ASSERT_TRUE(otherDirectory.RemoveContact(bea, &refusal)) << refusal.toStdString();
    EXPECT_TRUE(
        within2s([&] { return !contactLines().contains(QStringLiteral("Bea Presenter")); }));

    // A website added elsewhere.
    auto site = std::make_shared<DirectoryWebsite>();
    site->SetAddress(QStringLiteral("https://news.example.org/"));
    site->SetTitle(QStringLiteral("News"));
    bool ok = false;
    otherDirectory.AddWebsite(site, ok);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(within2s([&] { return window->ctlWebsites->ItemOf(site->Reference()); }));
}

TEST_F(SharedChangesTest, ARecentContactRenamedElsewhereShowsInTheMenu) {
    const qint32 acme = otherContact(0, QStringLiteral("Acme Ltd"));
    ASSERT_TRUE(directory()->CurrentUser()->Settings().SaveSetting(
        QStringLiteral("MRUContacts"), QString::number(acme), QString()));
    ASSERT_TRUE(within2s([&] {
        const QAction* entry = window->recentMenus->ContactEntry(1);
        return entry != nullptr && entry->text().contains(QStringLiteral("Acme Ltd"));
    }));
    otherContact(acme, QStringLiteral("Acme One"));
    EXPECT_TRUE(within2s([&] {
        const QAction* entry = window->recentMenus->ContactEntry(1);
        return entry != nullptr && entry->text().contains(QStringLiteral("Acme One"));
    }));
}

TEST_F(SharedChangesTest, AnotherProgramsRegistrationAnnouncesNothing) {
    QSignalSpy contacts(directory(), &KVDirectory::ContactsChanged);
    QSignalSpy websites(directory(), &KVDirectory::WebsitesChanged);
    QSignalSpy settings(directory(), &KVDirectory::UserSettingsChanged);
    QObject application;
    bool ok = false;
    otherDirectory.Applications().Register(32, &application, ok);
    ASSERT_TRUE(ok);
    // A change that is announced comes behind it: nothing came before.
    otherContact(0, QStringLiteral("Marker"));
    ASSERT_TRUE(WaitFor([&] { return contacts.count() == 1; }, 2000));
    EXPECT_EQ(websites.count(), 0);
    EXPECT_EQ(settings.count(), 0);
}

// The recent entries bring their tab forward as a click on its button would: from every tab,
// only the chosen button is pressed, and its pane is the one shown.
TEST_F(SharedChangesTest, ARecentEntryPressesItsTabButtonAlone) {
    const qint32 acme = otherContact(0, QStringLiteral("Acme Ltd"));
    auto site = std::make_shared<DirectoryWebsite>();
    site->SetAddress(QStringLiteral("https://news.example.org/"));
    site->SetTitle(QStringLiteral("News"));
    bool ok = false;
    directory()->AddWebsite(site, ok);
    ASSERT_TRUE(ok);
    const std::pair<uPanel3*, uSplitPanel*> tabs[] = {{window->optContacts, window->splitContacts},
                                                      {window->optPrize, window->splitPrize},
                                                      {window->optScripts, window->splitScripts},
                                                      {window->optMessages, window->splitMessages},
                                                      {window->optWeb, window->splitWebsites}};
    const auto pressedAlone = [&](uPanel3* chosen, uSplitPanel* pane) {
        for (const auto& [button, split] : tabs) {
            EXPECT_EQ(button->Value(), button == chosen ? 1 : 0)
                << button->objectName().toStdString();
            EXPECT_EQ(split->isVisible(), split == pane) << split->objectName().toStdString();
        }
    };
    for (const auto& [from, fromPane] : tabs) {
        SCOPED_TRACE(from->objectName().toStdString());
        from->SetValue(1);
        from->Click();
        window->contactsPane->mnuMRUContact_Click(acme);
        pressedAlone(window->optContacts, window->splitContacts);
        from->SetValue(1);
        from->Click();
        window->websitesPane->mnuMRUWebsite_Click(site->Reference());
        pressedAlone(window->optWeb, window->splitWebsites);
    }
}

// In one program: a user added and removed through the directory's own settings dialog shows
// in the contacts list, and goes from it, as a contact saved elsewhere would.
TEST_F(SharedChangesTest, AUserAddedAndRemovedInTheDirectorySettingsFollowsInTheList) {
    const auto typeInto = [](QDialog& d, const char* field, const QString& text) {
        auto* edit = d.findChild<QLineEdit*>(QLatin1String(field));
        ASSERT_NE(edit, nullptr) << field;
        QTest::keyClicks(edit, text);
    };
    const auto click = [](QDialog& d, const char* button) {
        auto* b = d.findChild<QPushButton*>(QLatin1String(button));
        ASSERT_NE(b, nullptr) << button;
        b->click();
    };
    window->optContacts->SetValue(1);
    window->optContacts_Click();
    ASSERT_TRUE(within2s([&] { return contactLines().contains(QStringLiteral("Admin")); }));

    TestDialogs().queue([&](QDialog& d) {
        click(d, "cmdAdd");
        click(d, "cmdClose");
    });
    TestDialogs().queue([&](QDialog& d) {
        typeInto(d, "txtName", QStringLiteral("Cal Producer"));
        typeInto(d, "txtLoginName", QStringLiteral("cal"));
        typeInto(d, "txtPassword", QStringLiteral("pw"));
        typeInto(d, "txtConfirm", QStringLiteral("pw"));
        click(d, "cmdOK");
    });
    window->mnuDirectorySettings->trigger();
    const auto cal = directory()->GetContactByLoginName(QStringLiteral("cal"));
    ASSERT_TRUE(cal);
    EXPECT_TRUE(within2s([&] { return contactLines().contains(QStringLiteral("Cal Producer")); }));

    TestDialogs().queue([&](QDialog& d) {
        ASSERT_TRUE(dynamic_cast<DirectorySettingsDialog&>(d).SelectUser(cal->Reference()));
        TestMessageBoxes().queue(MsgResult::Yes);
        click(d, "cmdRemove");
        click(d, "cmdClose");
    });
    window->mnuDirectorySettings->trigger();
    EXPECT_EQ(directory()->GetContactByLoginName(QStringLiteral("cal")), nullptr);
    EXPECT_TRUE(within2s([&] { return !contactLines().contains(QStringLiteral("Cal Producer")); }));
    EXPECT_TRUE(contactLines().contains(QStringLiteral("Admin")));
}
