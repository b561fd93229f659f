#include "contacts/addresslabelprinter.h"
#include "contacts/contactsaverules.h"
#include "contacts/contactswindows.h"
#include "contacts/frmcontact.h"
#include "core/debuglog.h"
#include "core/orlixcommon.h"
#include "core/program.h"
#include "core/windows/contactopener.h"
#include "core/windows/windowopeners.h"
#include "core/windows/windowregistry.h"
#include "platform/directory/controls/ucontact.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/messagemime.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"
#include "platform/system/appinfo.h"
#include "platform/ui/forms.h"
#include "platform/ui/listview.h"
#include "platform/ui/twips.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"
#include "support/waitfor.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using namespace ContactSaveRules;

// Stand-ins for the windows a history line opens: they record what they were given.
struct Opened {
    std::vector<QString> items;
};
Opened& opened() {
    static Opened o;
    return o;
}
class RecordingPrizeWindow : public QWidget, public PrizeWindow {
public:
    std::shared_ptr<OrlixPrize> Prize() const override { return prize; }
    bool LoadPrize(const std::shared_ptr<OrlixPrize>& p) override {
        prize = p;
        opened().items.push_back(QStringLiteral("prize %1").arg(p ? p->Reference() : 0));
        return true;
    }
    std::shared_ptr<OrlixPrize> prize;
};
class RecordingWinnerWindow : public QWidget, public PrizeWinnerWindow {
public:
    std::shared_ptr<OrlixPrizeWinner> PrizeWinner() const override { return winner; }
    bool LoadPrizeWinner(const std::shared_ptr<OrlixPrizeWinner>& w) override {
        winner = w;
        opened().items.push_back(QStringLiteral("winner %1").arg(w ? w->Reference() : 0));
        return true;
    }
    std::shared_ptr<OrlixPrizeWinner> winner;
};
class RecordingMessageWindow : public QWidget, public MessageWindow {
public:
    std::shared_ptr<OrlixMessage> Message() const override { return message; }
    void SetMessage(const std::shared_ptr<OrlixMessage>& m) override {
        message = m;
        opened().items.push_back(QStringLiteral("message %1").arg(m ? m->Reference() : 0));
    }
    void SetEditable(bool) override {}
    std::shared_ptr<OrlixMessage> message;
};

class ContactWindowTest : public ::testing::Test {
protected:
    static Program& program() { return Program::Instance(); }

    void SetUp() override {
        program().SetOptions(StartupOptions::Parse(QStringLiteral("/NOPREVCHECK /Profile=Studio")));
        ASSERT_TRUE(InitialiseOrlix(QStringLiteral("SOFTWARE\\Kestova\\Orlix v1\\Client"), false));
        UnloadSplash();
        program().Windows().SetShower([](QWidget* w, bool) { w->show(); });
        InstallContactsWindows(program().Windows());
        QString refusal;
        admin = directory().CreateFirstUser(QStringLiteral("Ann Admin"), QStringLiteral("ann"),
                                            QString(), &refusal);
        ASSERT_TRUE(admin) << refusal.toStdString();
        loginAs(admin);
        const QString folder = TestHome() + QStringLiteral("/db");
        QDir().mkpath(folder);
        auto db = std::make_unique<OrlixDatabase>();
        db->SetChangeWatch(0, 0);
        ASSERT_EQ(db->OpenDatabase(folder), 0);
        program().SetDatabase(std::move(db));
        TestMessageBoxes().clear();
        opened().items.clear();
        labels.clear();
        previousPrinter = SetAddressLabelPrinter([this](const QString& text, bool all, QWidget*) {
            labels.push_back({text, all});
        });
    }
    void TearDown() override {
        SetAddressLabelPrinter(previousPrinter);
        for (QWidget* w : Forms::All()) {
            delete w;
        }
        TerminateOrlix();
    }
    static OrlixDatabase& db() { return *program().Database(); }
    static KVDirectory& directory() { return *program().Directory(); }

    void loginAs(const KVDirectory::ContactPtr& user) {
        bool ok = false;
        directory().LoginContact(user, 1, AppInfo::ProductName(), ok);
        ASSERT_TRUE(ok);
    }
    // A user with these directory rights, saved by the administrator.
    KVDirectory::ContactPtr user(const QString& login, quint32 rights) {
        auto u = directory().CreateContact();
        u->SetName(QStringLiteral("User ") + login);
        u->SetLoginName(login);
        u->SetDirectoryRights(DirectoryRights(rights));
        QString refusal;
        EXPECT_TRUE(directory().SaveContact(0, *u, &refusal)) << refusal.toStdString();
        return directory().GetContact(u->Reference(), true, true);
    }
    KVDirectory::ContactPtr stored(const QString& name, qint32 owner = 0) {
        auto c = directory().CreateContact();
        c->SetName(name);
        c->SetOwnerReference(owner);
        QString refusal;
        EXPECT_TRUE(directory().SaveContact(0, *c, &refusal)) << refusal.toStdString();
        return directory().GetContact(c->Reference(), true, true);
    }
    frmContact* open(const KVDirectory::ContactPtr& contact) {
        auto* w = new frmContact();
        Forms::Add(w);
        w->SetContact(contact);
        w->show();
        return w;
    }
    static QLineEdit* field(frmContact* w, const char* name) {
        return w->ContactControl()->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static QStringList boxes() {
        QStringList out;
        for (const auto& b : TestMessageBoxes().shown()) {
            out << b.text;
        }
        return out;
    }
    static QString storedName(qint32 reference) {
        const auto c = directory().GetContact(reference, true, true);
        return c ? c->Name() : QStringLiteral("<gone>");
    }
    static QStringList lines(QTreeWidget* list) {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            out << list->topLevelItem(i)->data(0, Qt::UserRole).toString();
        }
        return out;
    }
    qint32 storedSms(const QString& from) {
        auto m = std::make_shared<OrlixMessage>();
        m->SetKind(OrlixMessage::KindSms);
        m->SetCDOMessage(MimeMessage::FromBytes(BuildTextMessage(
            from, QStringLiteral("81234"), QString(), QStringLiteral("Hello"), QDateTime())));
        m->SetFolder(OrlixDatabase::kInboxFolder);
        m->SetReceivedDate(QDateTime(QDate(2026, 12, 4), QTime(18, 5)));
        bool ok = false;
        db().StoreMessage(*m, ok);
        EXPECT_TRUE(ok);
        return m->Reference();
    }

    KVDirectory::ContactPtr admin;
    struct Label {
        QString text;
        bool all;
    };
    std::vector<Label> labels;
    AddressLabelPrinter previousPrinter;
};

TEST_F(ContactWindowTest, SaveDetailsFollowsTheRightsAgainstTheContact) {
    const quint32 contacts = DirectoryRights::SaveContacts;
    const quint32 personal = DirectoryRights::SavePersonalContacts;
    const quint32 users = DirectoryRights::SaveUsers;
    struct Case {
        const char* name;
        quint32 rights; // of the user who saves
        int whose;      // 0 shared, 1 own personal, 2 another user's personal, 3 a user record,
                        // 4 one's own record, 5 nobody logged in
        bool saved;
        QStringList boxes;
    };
    const std::vector<Case> cases = {
        {"shared, contacts right", contacts, 0, true, {}},
        {"shared, personal right only", personal, 0, false, {NoContactsRightText()}},
        {"own personal, personal right only", personal, 1, true, {}},
        {"own personal, contacts right only", contacts, 1, false, {NoPersonalRightText()}},
        {"another's personal, personal right", personal, 2, false, {NoContactsRightText()}},
        {"a user, no users right", contacts, 3, false, {NoUsersRightText()}},
        {"a user, users right", contacts | users, 3, true, {}},
        {"own record", contacts | users, 4, true, {OwnRecordText()}},
        {"own record, no users right", contacts, 4, false, {NoUsersRightText()}},
        {"nobody logged in", contacts, 5, false, {NotLoggedInText()}},
    };
    int n = 0;
    for (const Case& c : cases) {
        ++n;
        loginAs(admin);
        const auto saver = user(QStringLiteral("saver%1").arg(n), c.rights);
        const auto other = user(QStringLiteral("other%1").arg(n), contacts);
        KVDirectory::ContactPtr contact;
        switch (c.whose) {
        case 0:
        case 5:
            contact = stored(QStringLiteral("Shared %1").arg(n));
            break;
        case 1:
            contact = stored(QStringLiteral("Mine %1").arg(n), saver->Reference());
            break;
        case 2:
            contact = stored(QStringLiteral("Theirs %1").arg(n), other->Reference());
            break;
        case 3:
            contact = directory().GetContact(other->Reference(), true, true);
            break;
        case 4:
            contact = directory().GetContact(saver->Reference(), true, true);
            break;
        }
        if (c.whose == 5) {
            directory().Logout();
        } else {
            loginAs(saver);
        }
        const QString before = storedName(contact->Reference());
        frmContact* w = open(contact);
        TestMessageBoxes().clear();
        field(w, "txtName")->setText(QStringLiteral("Renamed %1").arg(n));
        EXPECT_EQ(w->SaveDetails(), c.saved) << c.name;
        EXPECT_EQ(boxes(), c.boxes) << c.name;
        EXPECT_EQ(storedName(contact->Reference()),
                  c.saved ? QStringLiteral("Renamed %1").arg(n) : before)
            << c.name;
        EXPECT_EQ(w->ContactControl()->ContactChanged(), !c.saved) << c.name;
        delete w;
    }
}

TEST_F(ContactWindowTest, ANewContactIsStoredAndBecomesRecent) {
    frmContact* w = open(directory().CreateContact());
    field(w, "txtName")->setText(QStringLiteral("New Listener"));
    field(w, "txtMobileNumber")->setText(QStringLiteral("07700 900123"));
    ASSERT_TRUE(w->SaveDetails());
    const qint32 reference = w->Contact()->Reference();
    EXPECT_GT(reference, 0);
    EXPECT_EQ(directory().GetContact(reference, true, true)->MobileNumber(),
              QStringLiteral("07700 900123"));
    const QString recent = directory()
                               .CurrentUser()
                               ->Settings()
                               .GetSetting(QStringLiteral("MRUContacts"), QString())
                               .toString();
    EXPECT_TRUE(recent.startsWith(QString::number(reference))) << recent.toStdString();
    EXPECT_TRUE(boxes().isEmpty());
}

TEST_F(ContactWindowTest, ARefusedCheckStoresNothing) {
    frmContact* w = open(directory().CreateContact());
    field(w, "txtCompany")->setText(QStringLiteral("Acme"));
    EXPECT_FALSE(w->SaveDetails());
    EXPECT_EQ(boxes(), QStringList{QStringLiteral("You must enter a Name for this Contact!")});
    EXPECT_EQ(w->Contact()->Reference(), 0);
    EXPECT_EQ(directory().ListContacts(-1).size(), 1); // the administrator alone
}

TEST_F(ContactWindowTest, AStoreTheDirectoryRefusesShowsNoBoxAndKeepsTheEdits) {
    ResetDebugLogState();
    const auto other = user(QStringLiteral("taken"), 0);
    frmContact* w = open(stored(QStringLiteral("Listener")));
    // The window's rules allow it; the directory refuses a login name another user has.
    w->ContactControl()->SetCurrentTab(1);
    field(w, "txtLoginName")->setText(QStringLiteral("taken"));
    TestMessageBoxes().clear();
    w->OkButton()->click();
    EXPECT_TRUE(boxes().isEmpty());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->ContactControl()->ContactChanged());
    EXPECT_EQ(field(w, "txtLoginName")->text(), QStringLiteral("taken"));
    EXPECT_EQ(directory().GetContact(w->Contact()->Reference(), true, true)->LoginName(),
              QString());
}

TEST_F(ContactWindowTest, TheCloseQuestionAndItsAnswers) {
    enum How { CancelButton, Escape, CloseBox, OkFails };
    struct Case {
        const char* name;
        const char* typed; // the name typed into the window
        How how;
        MsgResult answer;
        bool closed;
        bool saved;
    };
    const Case cases[] = {
        {"named, Yes saves and closes", "Ann", CancelButton, MsgResult::Yes, true, true},
        {"named, No closes unsaved", "Ann", Escape, MsgResult::No, true, false},
        {"named, Cancel stays", "Ann", CloseBox, MsgResult::Cancel, false, false},
        {"blank name, Yes fails the check and stays", "", CancelButton, MsgResult::Yes, false,
         false},
        {"blank name, No closes", "", Escape, MsgResult::No, true, false},
    };
    for (const Case& c : cases) {
        const auto contact = stored(QStringLiteral("Stored"));
        frmContact* w = open(contact);
        QPointer<frmContact> guard(w);
        field(w, "txtName")->setText(QString::fromLatin1(c.typed));
        w->ContactControl()->StoreEdits(); // the question names the contact's own name
        TestMessageBoxes().clear();
        TestMessageBoxes().queue(c.answer);
        switch (c.how) {
        case CancelButton:
            w->CancelButton()->click();
            break;
        case Escape:
            QTest::keyClick(field(w, "txtCompany"), Qt::Key_Escape);
            break;
        case CloseBox:
        case OkFails:
            w->close();
            break;
        }
        ASSERT_FALSE(TestMessageBoxes().shown().empty()) << c.name;
        const auto& question = TestMessageBoxes().shown().front();
        EXPECT_EQ(question.text, CloseQuestion(QString::fromLatin1(c.typed))) << c.name;
        EXPECT_EQ(question.icon, MsgIcon::Exclamation);
        EXPECT_EQ(question.buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(question.defaultButton, 0);
        // The close itself is synchronous; a closed window is then deleted.
        EXPECT_EQ(!guard.isNull() && guard->isVisible(), !c.closed) << c.name;
        if (c.closed) {
            EXPECT_TRUE(WaitFor([&] { return guard.isNull(); })) << c.name;
        }
        EXPECT_EQ(storedName(contact->Reference()),
                  c.saved ? QString::fromLatin1(c.typed) : QStringLiteral("Stored"))
            << c.name;
        delete guard.data();
    }
    // Unchanged: no question.
    frmContact* w = open(stored(QStringLiteral("Quiet")));
    QPointer<frmContact> guard(w);
    TestMessageBoxes().clear();
    w->CancelButton()->click();
    EXPECT_TRUE(WaitFor([&] { return guard.isNull(); }));
    EXPECT_TRUE(boxes().isEmpty());
}

TEST_F(ContactWindowTest, TheCloseQuestionNamesTheNameAsTyped) {
    const struct {
        const char* what;
        const char* storedName; // nullptr: a new contact
        const char* typed;      // replaces the name box's text, key by key
        const char* question;
    } cases[] = {
        {"new and named", nullptr, "Unsaved Listener",
         "Do you want to save the changes you made to the Contact 'Unsaved Listener'?"},
        {"stored and renamed", "Stored Listener", "Renamed Listener",
         "Do you want to save the changes you made to the Contact 'Renamed Listener'?"},
        {"name cleared", "Stored Listener", "",
         "Do you want to save the changes you made to this Contact?"},
    };
    for (const auto& c : cases) {
        frmContact* w = open(c.storedName ? stored(QString::fromLatin1(c.storedName))
                                          : directory().CreateContact());
        QPointer<frmContact> guard(w);
        ASSERT_TRUE(ShowActive(*w)) << c.what;
        QLineEdit* name = field(w, "txtName");
        name->setFocus();
        name->selectAll();
        QTest::keyClick(name, Qt::Key_Delete);
        QTest::keyClicks(name, QString::fromLatin1(c.typed));
        TestMessageBoxes().clear();
        TestMessageBoxes().queue(MsgResult::Cancel);
        QTest::keyClick(name, Qt::Key_Escape);
        EXPECT_EQ(boxes(), QStringList{QString::fromLatin1(c.question)}) << c.what;
        // Cancel keeps the window and what was typed in it.
        ASSERT_FALSE(guard.isNull()) << c.what;
        EXPECT_EQ(field(w, "txtName")->text(), QString::fromLatin1(c.typed)) << c.what;
        TestMessageBoxes().queue(MsgResult::No);
        delete guard.data();
    }
}

TEST_F(ContactWindowTest, AFailingSaveOnYesKeepsTheWindow) {
    const auto limited = user(QStringLiteral("limited"), DirectoryRights::SavePersonalContacts);
    const auto contact = stored(QStringLiteral("Shared"));
    loginAs(limited);
    frmContact* w = open(contact);
    QPointer<frmContact> guard(w);
    field(w, "txtName")->setText(QStringLiteral("Changed"));
    TestMessageBoxes().clear();
    TestMessageBoxes().queue(MsgResult::Yes);
    w->close();
    EXPECT_EQ(boxes(),
              (QStringList{CloseQuestion(QStringLiteral("Changed")), NoContactsRightText()}));
    EXPECT_FALSE(guard.isNull());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(storedName(contact->Reference()), QStringLiteral("Shared"));
}

TEST_F(ContactWindowTest, OkClosesOnlyAfterASave) {
    frmContact* w = open(directory().CreateContact());
    QPointer<frmContact> guard(w);
    w->OkButton()->click(); // no name
    EXPECT_FALSE(guard.isNull());
    field(w, "txtName")->setText(QStringLiteral("Saved by OK"));
    TestMessageBoxes().clear();
    w->OkButton()->click();
    EXPECT_TRUE(WaitFor([&] { return guard.isNull(); }));
    EXPECT_TRUE(boxes().isEmpty()); // no close question after the save
    QStringList names;
    for (const auto& c : directory().ListContacts(-1)) {
        names << c->Name();
    }
    EXPECT_TRUE(names.contains(QStringLiteral("Saved by OK"))) << names.join(u',').toStdString();
}

TEST_F(ContactWindowTest, NewAsksFirstWhenThereAreUnsavedEdits) {
    struct Case {
        const char* name;
        MsgResult answer;
        bool saveFails;
        bool replaced;
        bool saved;
    };
    const Case cases[] = {
        {"Yes saves, then a new contact", MsgResult::Yes, false, true, true},
        {"Yes with a failing save keeps the contact", MsgResult::Yes, true, false, false},
        {"No replaces it", MsgResult::No, false, true, false},
        {"Cancel keeps it", MsgResult::Cancel, false, false, false},
    };
    for (const Case& c : cases) {
        const auto contact = stored(QStringLiteral("Before"));
        frmContact* w = open(contact);
        field(w, "txtName")->setText(c.saveFails ? QString() : QStringLiteral("Typed"));
        w->ContactControl()->SetCurrentTab(5); // prizes of the shown contact
        TestMessageBoxes().clear();
        TestMessageBoxes().queue(c.answer);
        w->ToolbarButton(QStringLiteral("new"))->trigger();
        EXPECT_EQ(boxes().size(), c.saveFails ? 2 : 1) << c.name;
        EXPECT_EQ(w->Contact()->Reference() == 0, c.replaced) << c.name;
        EXPECT_EQ(w->ContactControl()->ContactChanged(), !c.replaced) << c.name;
        EXPECT_EQ(storedName(contact->Reference()),
                  c.saved ? QStringLiteral("Typed") : QStringLiteral("Before"))
            << c.name;
        if (c.replaced) {
            EXPECT_EQ(field(w, "txtName")->text(), QString()) << c.name;
        }
        delete w;
    }
    // Without edits there is no question.
    frmContact* w = open(stored(QStringLiteral("Quiet")));
    TestMessageBoxes().clear();
    w->ToolbarButton(QStringLiteral("new"))->trigger();
    EXPECT_TRUE(boxes().isEmpty());
    EXPECT_EQ(w->Contact()->Reference(), 0);
}

TEST_F(ContactWindowTest, PrintAddressPutsTheLabelOnEveryLabelOfTheSheet) {
    ASSERT_TRUE(HasAddressLabelPrinter());
    auto contact = stored(QStringLiteral("Ann"));
    frmContact* w = open(contact);
    QAction* print = w->ToolbarButton(QStringLiteral("printaddress"));
    ASSERT_TRUE(print->isEnabled());
    auto* address = w->ContactControl()->findChild<QPlainTextEdit*>(QStringLiteral("txtAddress"));
    address->setPlainText(QStringLiteral("   \n  "));
    TestMessageBoxes().clear();
    print->trigger();
    EXPECT_EQ(boxes(), QStringList{NoAddressText()});
    EXPECT_TRUE(labels.empty());

    address->setPlainText(QStringLiteral("1 High St\nTown"));
    print->trigger();
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].text, QStringLiteral("Ann\r\n1 High St\r\nTown"));
    EXPECT_TRUE(labels[0].all);
    field(w, "txtCompany")->setText(QStringLiteral("Acme"));
    print->trigger();
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[1].text, QStringLiteral("Ann\r\nAcme\r\n1 High St\r\nTown"));
    EXPECT_FALSE(w->Contact()->Modified());
    EXPECT_TRUE(w->ContactControl()->ContactChanged());
    EXPECT_EQ(directory().GetContact(contact->Reference(), true, true)->Address(), QString());

    // Without the sheet nothing is printed, and the button says so by being off.
    const AddressLabelPrinter kept = SetAddressLabelPrinter(nullptr);
    frmContact* bare = open(stored(QStringLiteral("Bob")));
    EXPECT_FALSE(bare->ToolbarButton(QStringLiteral("printaddress"))->isEnabled());
    SetAddressLabelPrinter(kept);
}

TEST_F(ContactWindowTest, TheToolbarFollowsTheControlAndTheRights) {
    frmContact* w = open(stored(QStringLiteral("Ann")));
    const auto enabled = [w](const char* key) {
        return w->ToolbarButton(QString::fromLatin1(key))->isEnabled();
    };
    EXPECT_FALSE(enabled("save"));
    for (const char* key : {"history", "print", "undo", "help"}) {
        EXPECT_FALSE(enabled(key)) << key;
    }
    for (const char* key : {"new", "cut", "paste", "copy", "delete"}) {
        EXPECT_TRUE(enabled(key)) << key;
    }
    field(w, "txtName")->setText(QStringLiteral("Ann B"));
    EXPECT_TRUE(enabled("save"));
    w->ToolbarButton(QStringLiteral("save"))->trigger();
    EXPECT_FALSE(w->ContactControl()->ContactChanged());
    EXPECT_FALSE(enabled("save"));
    Q_EMIT w->ContactControl()->HistoryChanged(QStringLiteral("seen"));
    EXPECT_TRUE(enabled("history"));
    Q_EMIT w->ContactControl()->HistoryChanged(QString());
    EXPECT_FALSE(enabled("history"));

    const auto reader = user(QStringLiteral("reader"), 0);
    loginAs(reader);
    for (const char* key : {"new", "cut", "paste"}) {
        EXPECT_FALSE(enabled(key)) << key;
    }
    EXPECT_TRUE(enabled("copy"));
    loginAs(admin);
    EXPECT_TRUE(enabled("new"));
    directory().Logout();
    for (const char* key : {"new", "cut", "paste"}) {
        EXPECT_FALSE(enabled(key)) << key;
    }
}

TEST_F(ContactWindowTest, EditCommandsActOnTheFocusedField) {
    frmContact* w = open(stored(QStringLiteral("Ann Smith")));
    w->activateWindow();
    QLineEdit* name = field(w, "txtName");
    name->setFocus();
    ASSERT_TRUE(WaitFor([&] { return name->hasFocus(); }));
    name->setSelection(3, 6);
    w->ToolbarButton(QStringLiteral("delete"))->trigger();
    EXPECT_EQ(name->text(), QStringLiteral("Ann"));
    EXPECT_EQ(w->Contact()->Name(), QStringLiteral("Ann Smith")); // never the contact itself
    name->selectAll();
    w->ToolbarButton(QStringLiteral("cut"))->trigger();
    EXPECT_EQ(name->text(), QString());
    w->ToolbarButton(QStringLiteral("paste"))->trigger();
    EXPECT_EQ(name->text(), QStringLiteral("Ann"));
}

TEST_F(ContactWindowTest, TheMessagesTabListsByEmailAndByNumber) {
    const qint32 sms = storedSms(QStringLiteral("+44 7700 900123"));
    storedSms(QStringLiteral("+44 7700 900999"));
    auto contact = directory().CreateContact();
    contact->SetName(QStringLiteral("Texter"));
    contact->SetMobileNumber(QStringLiteral("+44 7700 900123"));
    QString refusal;
    ASSERT_TRUE(directory().SaveContact(0, *contact, &refusal));
    frmContact* w = open(contact);
    EXPECT_FALSE(w->MessagesFrame()->isVisible());
    EXPECT_FALSE(w->PrizesFrame()->isVisible());
    w->ContactControl()->SetCurrentTab(4);
    EXPECT_TRUE(w->MessagesFrame()->isVisible());
    EXPECT_EQ(lines(w->MessagesList()), QStringList{QStringLiteral("m%1").arg(sms)});
    w->ContactControl()->SetCurrentTab(5);
    EXPECT_FALSE(w->MessagesFrame()->isVisible());
    EXPECT_TRUE(w->PrizesFrame()->isVisible());
    w->ContactControl()->SetCurrentTab(0);
    EXPECT_FALSE(w->MessagesFrame()->isVisible());
    EXPECT_FALSE(w->PrizesFrame()->isVisible());

    // A new contact: the lists of the tab shown are read again at once, never left showing
    // the contact before; no prizes, and messages only for what is stored in the object.
    w->ContactControl()->SetCurrentTab(4);
    ASSERT_EQ(lines(w->MessagesList()).size(), 1);
    w->ToolbarButton(QStringLiteral("new"))->trigger();
    EXPECT_TRUE(w->MessagesFrame()->isVisible());
    EXPECT_TRUE(lines(w->MessagesList()).isEmpty());
    w->ContactControl()->SetCurrentTab(5);
    EXPECT_TRUE(lines(w->PrizesList()).isEmpty());
    w->ContactControl()->SetCurrentTab(4);
    EXPECT_TRUE(lines(w->MessagesList()).isEmpty());
}

TEST_F(ContactWindowTest, TheFrameAndListsLieOverTheTabPage) {
    frmContact* w = open(stored(QStringLiteral("Ann")));
    w->resize(TwipsToPixels(9000), TwipsToPixels(8000));
    w->ContactControl()->SetCurrentTab(4);
    uContact* control = w->ContactControl();
    const QRect page(control->mapTo(w, QPoint(0, 0)), control->size());
    EXPECT_TRUE(page.contains(w->MessagesFrame()->geometry()));
    EXPECT_EQ(w->MessagesFrame()->geometry(), w->PrizesFrame()->geometry());
    EXPECT_LT(w->OkButton()->x(), w->CancelButton()->x());
    EXPECT_LE(control->geometry().bottom(), w->OkButton()->y());
    ListView* list = w->MessagesList();
    const int subject = list->ColumnIndexOfKey(QStringLiteral("SUBJECT"));
    EXPECT_GT(list->ColumnWidthTwips(subject), 0);
    // The window keeps at least its designed size.
    w->resize(10, 10);
    EXPECT_GE(w->width(), TwipsToPixels(6750));
}

TEST_F(ContactWindowTest, RunModallyTheCallerReadsTheNewReference) {
    // The contact chooser's new entry: the window runs modally and the caller reads the
    // Reference once it has closed.
    InstallWindowOpeners();
    program().Windows().SetShower(nullptr);
    auto contact = directory().CreateContact();
    QMetaObject::invokeMethod(
        qApp,
        [] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (auto* w = qobject_cast<frmContact*>(top); w != nullptr && w->isVisible()) {
                    field(w, "txtName")->setText(QStringLiteral("Chosen New"));
                    w->OkButton()->click();
                }
            }
        },
        Qt::QueuedConnection);
    const QPointer<QWidget> left = OpenContactThroughHook(contact, 1);
    EXPECT_GT(contact->Reference(), 0);
    EXPECT_EQ(storedName(contact->Reference()), QStringLiteral("Chosen New"));
    EXPECT_TRUE(WaitFor([&] { return left.isNull(); }));
    SetOpenContactHook(nullptr);
}

TEST_F(ContactWindowTest, EachTabDraws) {
    storedSms(QStringLiteral("+44 7700 900123"));
    auto contact = directory().CreateContact();
    contact->SetName(QStringLiteral("Cat Listener"));
    contact->SetCompany(QStringLiteral("Acme Ltd"));
    contact->SetAddress(QStringLiteral("1 High Street\r\nTown"));
    contact->SetMobileNumber(QStringLiteral("+44 7700 900123"));
    contact->SetEmail1(QStringLiteral("cat@x.example"));
    contact->SetNotes(QStringLiteral("Rings on Fridays."));
    QString refusal;
    ASSERT_TRUE(directory().SaveContact(0, *contact, &refusal));
    auto prize = db().NewPrize();
    prize->SetTitle(QStringLiteral("Concert tickets"));
    prize->SetNumberSupplied(2);
    bool ok = false;
    db().StorePrize(*prize, ok);
    auto winner = db().NewPrizeWinner(*prize);
    winner->SetWinnerReference(contact->Reference());
    db().StorePrizeWinner(*winner, ok);
    frmContact* w = open(directory().GetContact(contact->Reference(), true, true));
    const QString shots = qEnvironmentVariable("ORLIX_SCREENSHOTS");
    QTabWidget* tabs = w->ContactControl()->tabContact();
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        const QImage image = w->grab().toImage();
        EXPECT_FALSE(image.isNull());
        if (!shots.isEmpty()) {
            const QString name = tabs->tabText(i).toLower().remove(QLatin1Char('&'));
            EXPECT_TRUE(
                image.save(shots + QStringLiteral("/contact-") + name + QStringLiteral(".png")));
        }
    }
    w->ContactControl()->SetCurrentTab(4);
    EXPECT_EQ(w->MessagesList()->topLevelItemCount(), 1);
    w->ContactControl()->SetCurrentTab(5);
    EXPECT_EQ(w->PrizesList()->topLevelItemCount(), 1);
}

class HistoryLinesTest : public ContactWindowTest {
protected:
    void SetUp() override {
        ContactWindowTest::SetUp();
        WindowRegistry& windows = program().Windows();
        windows.Register(WindowKind::Prize, [](QWidget*) { return new RecordingPrizeWindow; });
        windows.Register(WindowKind::PrizeWinner,
                         [](QWidget*) { return new RecordingWinnerWindow; });
        windows.Register(WindowKind::Email, [](QWidget*) { return new RecordingMessageWindow; });
        windows.Register(WindowKind::Sms, [](QWidget*) { return new RecordingMessageWindow; });
    }
    static void line(QTreeWidget* list, const QString& key) {
        auto* item = new QTreeWidgetItem(list, {key});
        item->setData(0, Qt::UserRole, key);
    }
    static void press(QTreeWidget* list, Qt::MouseButton button, const QPoint& at) {
        QTest::mousePress(list->viewport(), button, {}, at);
        QTest::mouseRelease(list->viewport(), button, {}, at);
    }
    static void doubleClick(QTreeWidget* list, const QPoint& at) {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
};

TEST_F(HistoryLinesTest, ADoubleClickOpensTheLineUnderTheSelection) {
    for (int i = 0; i < 12; ++i) {
        auto prize = db().NewPrize();
        prize->SetTitle(QStringLiteral("Prize %1").arg(i));
        prize->SetNumberSupplied(20);
        bool ok = false;
        db().StorePrize(*prize, ok);
        ASSERT_TRUE(ok);
        auto winner = db().NewPrizeWinner(*prize);
        db().StorePrizeWinner(*winner, ok);
        ASSERT_TRUE(ok);
    }
    for (int i = 0; i < 5; ++i) {
        storedSms(QStringLiteral("0770090012%1").arg(i));
    }
    frmContact* w = open(stored(QStringLiteral("Ann")));
    w->resize(TwipsToPixels(9000), TwipsToPixels(8000));
    w->ContactControl()->SetCurrentTab(5);
    ListView* prizes = w->PrizesList();
    line(prizes, QStringLiteral("W12"));
    line(prizes, QStringLiteral("p7"));
    line(prizes, QStringLiteral("x3"));
    ASSERT_TRUE(WaitFor([&] { return prizes->viewport()->isVisible(); }));
    const auto at = [prizes](int row) {
        return prizes->visualItemRect(prizes->topLevelItem(row)).center();
    };
    press(prizes, Qt::RightButton, at(0));
    EXPECT_EQ(prizes->currentItem(), prizes->topLevelItem(0));
    doubleClick(prizes, at(0));
    press(prizes, Qt::LeftButton, at(1));
    doubleClick(prizes, at(1));
    press(prizes, Qt::LeftButton, at(2));
    doubleClick(prizes, at(2)); // an unknown letter opens nothing
    const QPoint below(at(2).x(), prizes->viewport()->height() - 2);
    press(prizes, Qt::LeftButton, below);
    EXPECT_TRUE(prizes->selectedItems().isEmpty());
    doubleClick(prizes, below);
    EXPECT_EQ(opened().items,
              (std::vector<QString>{QStringLiteral("winner 12"), QStringLiteral("prize 7")}));

    w->ContactControl()->SetCurrentTab(4);
    ListView* messages = w->MessagesList();
    line(messages, QStringLiteral("m5"));
    line(messages, QStringLiteral("m999")); // gone from the database: nothing opens
    ASSERT_TRUE(WaitFor([&] { return messages->viewport()->isVisible(); }));
    const QPoint first = messages->visualItemRect(messages->topLevelItem(0)).center();
    const QPoint second = messages->visualItemRect(messages->topLevelItem(1)).center();
    press(messages, Qt::LeftButton, first);
    doubleClick(messages, first);
    press(messages, Qt::LeftButton, second);
    doubleClick(messages, second);
    EXPECT_EQ(opened().items.back(), QStringLiteral("message 5"));
    EXPECT_EQ(opened().items.size(), 3u);
}

} // namespace
