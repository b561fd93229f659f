#include "directoryfixture.h"

#include "platform/directory/directorylogindialog.h"
#include "support/scripteddialogs.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>

namespace {
using DR = DirectoryRights;
using UR = UserRights;

class UsersTest : public DirectoryFixture {
protected:
    // Records the directory's events, and what CurrentUser was when each arrived.
    void record() {
        QObject::connect(directory.get(), &KVDirectory::ContactLogin, [this] {
            const auto user = directory->CurrentUser();
            events << QStringLiteral("login:") + (user ? user->LoginName() : QStringLiteral("-"));
        });
        QObject::connect(directory.get(), &KVDirectory::ContactLogout, [this] {
            events << QStringLiteral("logout:") + (directory->CurrentUser()
                                                       ? QStringLiteral("still")
                                                       : QStringLiteral("-"));
        });
    }
    QStringList events;
};

TEST_F(UsersTest, FirstUserGetsEveryRightAndOnlyOnce) {
    EXPECT_EQ(directory->UserCount(), 0);
    QString refusal;
    auto first =
        directory->CreateFirstUser(QStringLiteral("Station Manager"), QStringLiteral("boss"),
                                   QStringLiteral("s3cret"), &refusal);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->DirectoryRights().Bits(), quint32(DR::All));
    EXPECT_EQ(first->UserRights().Bits(), quint32(UR::All));
    EXPECT_TRUE(first->HasPassword());
    EXPECT_EQ(directory->CreateFirstUser(QStringLiteral("Intruder"), QStringLiteral("evil"), {},
                                         &refusal),
              nullptr);
    EXPECT_EQ(directory->UserCount(), 1);
}

TEST_F(UsersTest, PasswordsAreHashedAndAWrongOneIsRefused) {
    QString refusal;
    ASSERT_TRUE(directory->CreateFirstUser(QStringLiteral("Manager"), QStringLiteral("Boss"),
                                           QStringLiteral("s3cret"), &refusal));
    EXPECT_TRUE(
        directory->Authenticate(QStringLiteral("boss"), QStringLiteral("s3cret"), &refusal));
    EXPECT_FALSE(
        directory->Authenticate(QStringLiteral("boss"), QStringLiteral("S3cret"), &refusal));
    EXPECT_EQ(refusal, QStringLiteral("The login name or the password is not correct"));
    EXPECT_FALSE(directory->Authenticate(QStringLiteral("boss"), QString(), &refusal));
    EXPECT_FALSE(
        directory->Authenticate(QStringLiteral("nobody"), QStringLiteral("s3cret"), &refusal));
    EXPECT_EQ(refusal, QStringLiteral("The login name or the password is not correct"));

    QFile file(KVDirectory::DefaultFilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("s3cret"));
}

TEST_F(UsersTest, LoginAndLogoutRaiseTheirEventsInOrder) {
    record();
    auto presenter = addUser(QStringLiteral("pres"), 0, UR::SaveMessages);
    directory->Logout();
    events.clear();
    EXPECT_FALSE(directory->LoggedIn());
    bool ok = false;
    directory->LoginContact(presenter, 1, QStringLiteral("Kestova Orlix v1"), ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(directory->LoggedIn());
    EXPECT_FALSE(directory->LoggedInBySecurityKey());
    EXPECT_EQ(directory->CurrentUser()->Reference(), presenter->Reference());
    EXPECT_TRUE(directory->CurrentUser()->UserRights().CanSaveMessages());
    directory->Logout();
    directory->Logout(); // harmless when nobody is logged in
    EXPECT_EQ(directory->CurrentUser(), nullptr);
    EXPECT_EQ(events, (QStringList{"login:pres", "logout:-"}));

    // A second login while one user is logged in logs that one out first.
    events.clear();
    loginAs(admin);
    loginAs(presenter);
    EXPECT_EQ(events, (QStringList{"login:admin", "logout:-", "login:pres"}));
    bool closed = false;
    directory->Close(closed);
    EXPECT_EQ(events.last(), QStringLiteral("logout:-"));
}

TEST_F(UsersTest, LoginContactNeedsNoPasswordOrTheSystemUser) {
    record();
    auto withPassword = addUser(QStringLiteral("locked"), 0, 0, QStringLiteral("pw"));
    auto systemUser = addUser(QStringLiteral("Studio-OS-User"), 0, 0, QStringLiteral("pw"));
    directory->Logout();
    events.clear();

    bool ok = true;
    directory->LoginContact(withPassword, 1, QStringLiteral("Kestova Orlix v1"), ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(directory->LoggedIn());
    EXPECT_TRUE(events.isEmpty());

    directory->LoginContact(systemUser, 1, QStringLiteral("Kestova Orlix v1"), ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(events, (QStringList{"login:Studio-OS-User"}));

    auto listener = directory->CreateContact();
    listener->SetName(QStringLiteral("Listener"));
    directory->LoginContact(listener, 1, QStringLiteral("Kestova Orlix v1"), ok);
    EXPECT_FALSE(ok);
    directory->LoginContact(nullptr, 1, QStringLiteral("Kestova Orlix v1"), ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(directory->CurrentUser()->LoginName(), QStringLiteral("Studio-OS-User"));
}

TEST_F(UsersTest, AutoLoginTakesTheSystemUserWithoutADialog) {
    addUser(QStringLiteral("studio-os-user"), 0, 0, QStringLiteral("pw"));
    directory->Logout();
    record();
    // Every dialog shown goes unanswered: it is closed, as a cancel.
    auto dialogs = [] { return TestDialogs().shown().size(); };
    bool cancelled = true;
    directory->Login(32, QStringLiteral("Kestova Orlix v1"), nullptr, true, 0, cancelled);
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(dialogs(), 0U);
    EXPECT_EQ(events, (QStringList{"login:studio-os-user"}));

    // Without AutoLogin the dialog is shown; cancelling it logs nobody in.
    directory->Logout();
    directory->Login(32, QStringLiteral("Kestova Orlix v1"), nullptr, false, 0, cancelled);
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(dialogs(), 1U);
    EXPECT_FALSE(directory->LoggedIn());
}

TEST_F(UsersTest, LoginNamesAreCaseInsensitiveAndUnique) {
    auto user = addUser(QStringLiteral("Presenter"), 0, 0);
    const auto found = directory->GetContactByLoginName(QStringLiteral("PRESENTER"));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->Reference(), user->Reference());
    EXPECT_EQ(directory->GetContactByLoginName(QStringLiteral("nobody")), nullptr);
    EXPECT_EQ(directory->GetContactByLoginName(QString()), nullptr);

    loginAs(admin);
    auto twin = directory->CreateContact();
    twin->SetName(QStringLiteral("Twin"));
    twin->SetLoginName(QStringLiteral("presenter"));
    QString refusal;
    EXPECT_FALSE(directory->SaveContact(0, *twin, &refusal));
    EXPECT_TRUE(refusal.contains(QStringLiteral("already used")));
    EXPECT_EQ(directory->GetUsers().size(), 2);
}

// Which saves the directory accepts from whom.
TEST_F(UsersTest, SaveContactEnforcesTheSaversRights) {
    auto contacts = addUser(QStringLiteral("contacts"), DR::SaveContacts, 0);
    auto personal = addUser(QStringLiteral("personal"), DR::SavePersonalContacts, 0);
    auto users = addUser(QStringLiteral("users"), DR::SaveUsers, 0);
    auto none = addUser(QStringLiteral("none"), 0, 0);
    loginAs(admin);
    auto shared = directory->CreateContact();
    shared->SetName(QStringLiteral("Shared Contact"));
    QString refusal;
    ASSERT_TRUE(directory->SaveContact(0, *shared, &refusal));
    auto owned = directory->CreateContact();
    owned->SetName(QStringLiteral("Personal Contact"));
    owned->SetOwnerReference(personal->Reference());
    ASSERT_TRUE(directory->SaveContact(0, *owned, &refusal));

    enum What {
        EditShared,
        EditOwned,
        ClaimShared,
        AddShared,
        EditUser,
        PromoteShared,
        GiveRights
    };
    const struct {
        KVDirectory::ContactPtr saver;
        What what;
        bool allowed;
    } cases[] = {
        {contacts, EditShared, true},   {personal, EditShared, false},
        {none, EditShared, false},      {contacts, AddShared, true},
        {none, AddShared, false},       {personal, EditOwned, true},
        {contacts, EditOwned, true},    {none, EditOwned, false},
        {personal, ClaimShared, false}, {users, EditUser, true},
        {contacts, EditUser, false},    {contacts, PromoteShared, false},
        {users, PromoteShared, true},   {contacts, GiveRights, false},
        {admin, GiveRights, true},
    };
    for (const auto& t : cases) {
        loginAs(t.saver);
        const auto before = directory->GetContact(t.what == EditOwned  ? owned->Reference()
                                                  : t.what == EditUser ? none->Reference()
                                                                       : shared->Reference(),
                                                  true, true);
        auto c = std::make_shared<DirectoryContact>(*before);
        qint32 reference = c->Reference();
        switch (t.what) {
        case EditShared:
        case EditOwned:
        case EditUser:
            c->SetName(c->Name() + QStringLiteral("!"));
            break;
        case ClaimShared:
            // A personal contact is judged by its stored owner, not by what the caller says.
            c->SetOwnerReference(personal->Reference());
            c->SetCompany(QStringLiteral("mine now"));
            break;
        case AddShared:
            c = directory->CreateContact();
            c->SetName(QStringLiteral("New One"));
            reference = 0;
            break;
        case PromoteShared:
            c->SetLoginName(QStringLiteral("promoted") + QString::number(int(t.allowed)));
            break;
        case GiveRights:
            c->SetDirectoryRights(DirectoryRights(DR::All));
            break;
        }
        bool ok = !t.allowed;
        directory->SaveContact(reference, c, true, true, ok);
        EXPECT_EQ(ok, t.allowed) << "saver " << t.saver->LoginName().toStdString() << ", case "
                                 << int(t.what);
        if (!t.allowed && reference > 0) {
            const auto after = directory->GetContact(reference, true, true);
            EXPECT_EQ(after->Record().name, before->Record().name);
            EXPECT_EQ(after->Record().loginName, before->Record().loginName);
            EXPECT_EQ(after->Record().directoryRights, before->Record().directoryRights);
            EXPECT_EQ(after->Record().ownerReference, before->Record().ownerReference);
            EXPECT_TRUE(c->Modified());
        }
    }
    directory->Logout();
    bool ok = true;
    directory->SaveContact(0, directory->CreateContact(), true, true, ok);
    EXPECT_FALSE(ok);
}

TEST_F(UsersTest, TheLastUserWhoManagesUsersKeepsThoseRights) {
    auto deputy = addUser(QStringLiteral("deputy"), DR::SaveUsers, 0);
    loginAs(deputy);
    auto boss = directory->GetContact(admin->Reference(), true, true);
    boss->SetDirectoryRights(DirectoryRights(DR::SaveUsers));
    QString refusal;
    EXPECT_FALSE(directory->SaveContact(boss->Reference(), *boss, &refusal));
    EXPECT_EQ(refusal, QStringLiteral("At least one user must keep the rights to change the "
                                      "Directory Settings and to save Users"));
    EXPECT_FALSE(directory->RemoveContact(boss->Reference(), &refusal));
    EXPECT_TRUE(directory->GetContact(boss->Reference(), true, true)
                    ->DirectoryRights()
                    .CanChangeDirectorySettings());

    // With a second manager, either may give the rights up.
    loginAs(admin);
    auto second = directory->GetContact(deputy->Reference(), true, true);
    second->SetDirectoryRights(DirectoryRights(DR::All));
    ASSERT_TRUE(directory->SaveContact(second->Reference(), *second, &refusal));
    loginAs(second);
    EXPECT_TRUE(directory->SaveContact(boss->Reference(), *boss, &refusal))
        << refusal.toStdString();
    EXPECT_TRUE(directory->RemoveContact(boss->Reference(), &refusal)) << refusal.toStdString();
}

TEST_F(UsersTest, RightsAreReadFreshForEverySave) {
    auto clerk = addUser(QStringLiteral("clerk"), DR::SaveContacts, 0);
    loginAs(clerk);
    auto c = directory->CreateContact();
    c->SetName(QStringLiteral("One"));
    QString refusal;
    ASSERT_TRUE(directory->SaveContact(0, *c, &refusal));

    // Another computer takes the right away while the clerk stays logged in.
    KVDirectory other;
    bool failed = true;
    other.OpenDefault(false, failed);
    ASSERT_FALSE(failed);
    bool ok = false;
    other.LoginContact(other.GetContactByLoginName(QStringLiteral("admin")), 1, {}, ok);
    auto changed = other.GetContact(clerk->Reference(), true, true);
    changed->SetDirectoryRights(DirectoryRights(0));
    ASSERT_TRUE(other.SaveContact(changed->Reference(), *changed, &refusal));

    c->SetName(QStringLiteral("Two"));
    EXPECT_FALSE(directory->SaveContact(c->Reference(), *c, &refusal));
    EXPECT_EQ(refusal, QStringLiteral("You do not have the nescessary Security Permissions to save "
                                      "Contacts into the Directory"));
}

TEST_F(UsersTest, SettingsAreStoredAtOnceAndReadWithDefaults) {
    auto user = addUser(QStringLiteral("pres"), 0, 0);
    loginAs(user);
    UserSettings settings = directory->CurrentUser()->Settings();
    EXPECT_EQ(settings.GetSetting(QStringLiteral("SelectedTab"), QStringLiteral("CONTACTS")),
              QVariant(QStringLiteral("CONTACTS")));
    EXPECT_EQ(settings.GetSetting(QStringLiteral("MessageListFilter"), 240).toInt(), 240);
    // A value equal to its write default is still stored: the read default may differ.
    ASSERT_TRUE(settings.SaveSetting(QStringLiteral("SelectedTab"), QString(), QString()));
    EXPECT_EQ(settings.GetSetting(QStringLiteral("SelectedTab"), QStringLiteral("CONTACTS")),
              QVariant(QString()));
    ASSERT_TRUE(settings.SaveSetting(QStringLiteral("ContactSeparator.Position"), 0, 0));
    EXPECT_EQ(settings.GetSetting(QStringLiteral("ContactSeparator.Position"), 3800).toInt(), 0);
    ASSERT_TRUE(settings.SaveSetting(QStringLiteral("ViewVorelaLogGo"), true, -1));
    EXPECT_EQ(settings.GetSetting(QStringLiteral("viewvorelaloggo"), 1).toString(),
              QStringLiteral("1"));
    ASSERT_TRUE(settings.SaveSetting(QStringLiteral("Talkback.Visible"), QStringLiteral("0"), "1"));

    // The next login, on this or another computer, reads what was stored.
    directory->Logout();
    KVDirectory other;
    bool failed = true;
    other.OpenDefault(false, failed);
    const auto again = other.GetContact(user->Reference(), true, true);
    EXPECT_EQ(again->Settings().GetSetting(QStringLiteral("Talkback.Visible"), "1").toString(),
              QStringLiteral("0"));
    // Settings are per user.
    EXPECT_EQ(admin->Settings().GetSetting(QStringLiteral("Talkback.Visible"), "1").toString(),
              QStringLiteral("1"));
    // A contact not saved, or a closed directory, reads defaults and stores nothing.
    EXPECT_FALSE(directory->CreateContact()->Settings().SaveSetting(QStringLiteral("X"), 1, 0));
    bool ok = false;
    other.Close(ok);
    EXPECT_EQ(again->Settings().GetSetting(QStringLiteral("Talkback.Visible"), "1").toString(),
              QStringLiteral("1"));
    EXPECT_FALSE(again->Settings().SaveSetting(QStringLiteral("Talkback.Visible"), "1", "1"));
}

TEST_F(UsersTest, SecurityKeyEventsCanRefuse) {
    auto keyUser = addUser(QStringLiteral("keyuser"), 0, 0, QStringLiteral("pw"));
    directory->Logout();
    record();
    bool allowLogin = true;
    bool allowLogout = true;
    QObject::connect(directory.get(), &KVDirectory::SecurityKeyInserted,
                     [&](const QString& drive, const QString& login, bool* attempt) {
                         events << QStringLiteral("inserted:%1:%2").arg(drive, login);
                         *attempt = allowLogin;
                     });
    QObject::connect(directory.get(), &KVDirectory::SecurityKeyRemoved,
                     [&](const QString& drive, bool* attempt) {
                         events << QStringLiteral("removed:") + drive;
                         *attempt = allowLogout;
                     });
    directory->RaiseSecurityKeyInserted(QStringLiteral("E"), QStringLiteral("keyuser"));
    EXPECT_TRUE(directory->LoggedInBySecurityKey());
    allowLogout = false;
    directory->RaiseSecurityKeyRemoved(QStringLiteral("E"));
    EXPECT_TRUE(directory->LoggedIn());
    // The key is gone although the user stayed: the user now logs out as any other would.
    EXPECT_FALSE(directory->LoggedInBySecurityKey());
    allowLogin = false;
    directory->RaiseSecurityKeyInserted(QStringLiteral("F"), QStringLiteral("admin"));
    EXPECT_EQ(directory->CurrentUser()->LoginName(), QStringLiteral("keyuser"));
    directory->Logout();
    allowLogin = true;
    allowLogout = true;
    directory->RaiseSecurityKeyInserted(QStringLiteral("E"), QStringLiteral("keyuser"));
    directory->RaiseSecurityKeyRemoved(QStringLiteral("E"));
    EXPECT_FALSE(directory->LoggedIn());
    EXPECT_EQ(events, (QStringList{"inserted:E:keyuser", "login:keyuser", "removed:E",
                                   "inserted:F:admin", "logout:-", "inserted:E:keyuser",
                                   "login:keyuser", "removed:E", "logout:-"}));
    // A key removed while the user logged in otherwise changes nothing.
    loginAs(admin);
    events.clear();
    directory->RaiseSecurityKeyRemoved(QStringLiteral("E"));
    EXPECT_TRUE(events.isEmpty());
    EXPECT_FALSE(directory->LoggedInBySecurityKey());
}
} // namespace
