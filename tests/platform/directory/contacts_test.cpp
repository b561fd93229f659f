#include "directoryfixture.h"

#include "platform/directory/contactfilter.h"
#include "support/displaymarks.h"

#include <QComboBox>
#include <QDir>

namespace {
class ContactsTest : public DirectoryFixture {
protected:
    void SetUp() override {
        DirectoryFixture::SetUp();
        ensureAdmin();
        loginAs(admin);
    }

    KVDirectory::ContactPtr save(const QString& name, const QString& email1 = {},
                                 const QString& phone1 = {}) {
        auto c = directory->CreateContact(0);
        c->SetName(name);
        c->SetEmail1(email1);
        c->SetPhoneNumber1(phone1);
        bool ok = false;
        directory->SaveContact(0, c, true, true, ok);
        EXPECT_TRUE(ok);
        return c;
    }

    QStringList names(const KVDirectory::ContactList& list) {
        QStringList out;
        for (const auto& c : list) {
            out << c->Name();
        }
        return out;
    }
};

TEST_F(ContactsTest, SavedContactReadsBackWholeAndLight) {
    auto c = directory->CreateContact(0);
    EXPECT_EQ(c->Reference(), 0);
    c->SetName(QStringLiteral("Zoë O'Brien"));
    c->SetCompany(QStringLiteral("Brien & Sons"));
    c->SetEmail1(QString());
    c->SetEmail2(QStringLiteral("zoe@example.org"));
    c->SetEmail3(QStringLiteral("z@example.net"));
    c->SetPhoneNumber1(QStringLiteral("01632 960001"));
    c->SetPhoneNumber2(QStringLiteral("01632 960002"));
    c->SetMobileNumber(QStringLiteral("07700 900123"));
    c->SetOtherNumber(QStringLiteral("0800 123"));
    c->SetAddress(QStringLiteral("1 High Street\r\nTown\r\nAB1 2CD"));
    c->SetOwnerReference(admin->Reference());
    c->SetContactListValue(3);
    EXPECT_TRUE(c->Modified());
    bool ok = false;
    directory->SaveContact(0, c, true, true, ok);
    ASSERT_TRUE(ok);
    EXPECT_GT(c->Reference(), 0);
    EXPECT_FALSE(c->Modified());

    const auto full = directory->GetContact(c->Reference(), true, true);
    ASSERT_TRUE(full);
    EXPECT_EQ(full->Record().address, c->Address());
    for (const auto& read : {full, directory->GetContact(c->Reference(), false, false)}) {
        EXPECT_EQ(read->Name(), c->Name());
        EXPECT_EQ(read->Company(), c->Company());
        EXPECT_EQ(read->Email1(), QString());
        EXPECT_EQ(read->Email2(), c->Email2());
        EXPECT_EQ(read->Email3(), c->Email3());
        EXPECT_EQ(read->PhoneNumber1(), c->PhoneNumber1());
        EXPECT_EQ(read->PhoneNumber2(), c->PhoneNumber2());
        EXPECT_EQ(read->MobileNumber(), c->MobileNumber());
        EXPECT_EQ(read->OtherNumber(), c->OtherNumber());
        EXPECT_EQ(read->OwnerReference(), admin->Reference());
        EXPECT_EQ(read->ContactListValue(), 3);
        EXPECT_TRUE(read->LoginName().isEmpty());
    }
    EXPECT_EQ(directory->GetContact(0, true, true), nullptr);
    EXPECT_EQ(directory->GetContact(-4, false, false), nullptr);
    EXPECT_EQ(directory->GetContact(c->Reference() + 100, true, true), nullptr);
}

// Every script, an empty field and a contact without a login name read back the same
// through a name search, the light record and the whole one.
TEST_F(ContactsTest, TextsReadBackTheSameInEveryScriptThroughEveryRead) {
    const QStringList texts = {
        QStringLiteral("Plain Name"),        QStringLiteral("Zoë Ångström – Straße ĳ"),
        QStringLiteral("Пётр Радио ラジオ"), QStringLiteral("📻 Fan 😀 𝄞"),
        QStringLiteral(" spaced  "),
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        auto c = directory->CreateContact(0);
        c->SetName(text);
        c->SetCompany(text + QStringLiteral(" Ltd"));
        c->SetEmail1(text + QStringLiteral("@example.org"));
        c->SetEmail2(QString());
        c->SetEmail3(text);
        c->SetPhoneNumber1(text);
        c->SetPhoneNumber2(QString());
        c->SetMobileNumber(text);
        c->SetOtherNumber(text);
        bool ok = false;
        directory->SaveContact(0, c, true, true, ok);
        ASSERT_TRUE(ok);
        // A part of three characters and more comes through the name index.
        const auto found = directory->FindContacts(
            QList<ContactCriterion>{{ContactField::Name, ContactMatch::Contains, text}});
        ASSERT_EQ(found.size(), 1);
        for (const auto& read : {found.first(), directory->GetContact(c->Reference(), false, false),
                                 directory->GetContact(c->Reference(), true, true)}) {
            ASSERT_TRUE(read);
            EXPECT_EQ(read->Reference(), c->Reference());
            EXPECT_EQ(read->Name(), text);
            EXPECT_EQ(read->Company(), c->Company());
            EXPECT_EQ(read->Email1(), c->Email1());
            EXPECT_EQ(read->Email2(), QString());
            EXPECT_FALSE(read->Email2().isNull());
            EXPECT_EQ(read->Email3(), text);
            EXPECT_EQ(read->PhoneNumber1(), text);
            EXPECT_EQ(read->PhoneNumber2(), QString());
            EXPECT_EQ(read->MobileNumber(), text);
            EXPECT_EQ(read->OtherNumber(), text);
            EXPECT_TRUE(read->LoginName().isNull());
        }
    }
}

TEST_F(ContactsTest, SavingALightRecordKeepsTheStoredAddress) {
    auto c = directory->CreateContact();
    c->SetName(QStringLiteral("Listener"));
    c->SetAddress(QStringLiteral("2 Low Road"));
    bool ok = false;
    directory->SaveContact(0, c, true, true, ok);
    ASSERT_TRUE(ok);

    auto light = directory->GetContact(c->Reference(), false, false);
    light->SetName(QStringLiteral("Listener Renamed"));
    directory->SaveContact(light->Reference(), light, true, true, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(light->Address(), QStringLiteral("2 Low Road"));
    const auto back = directory->GetContact(c->Reference(), true, true);
    EXPECT_EQ(back->Name(), QStringLiteral("Listener Renamed"));
    EXPECT_EQ(back->Address(), QStringLiteral("2 Low Road"));
}

TEST_F(ContactsTest, NotesAreKeptWithTheWholeRecordAndALightSaveKeepsThem) {
    auto c = directory->CreateContact();
    c->SetName(QStringLiteral("Listener"));
    c->SetNotes(QStringLiteral("Rings every Friday"));
    bool ok = false;
    directory->SaveContact(0, c, true, true, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(directory->GetContact(c->Reference(), true, true)->Notes(),
              QStringLiteral("Rings every Friday"));
    EXPECT_EQ(directory->GetContact(c->Reference(), false, false)->Notes(), QString());

    // A light record whose name and address alone are set leaves the stored notes alone.
    auto light = directory->GetContact(c->Reference(), false, false);
    light->SetName(QStringLiteral("Listener Renamed"));
    light->SetAddress(QStringLiteral("2 Low Road"));
    directory->SaveContact(light->Reference(), light, true, true, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(light->Notes(), QStringLiteral("Rings every Friday"));
    auto back = directory->GetContact(c->Reference(), true, true);
    EXPECT_EQ(back->Notes(), QStringLiteral("Rings every Friday"));
    EXPECT_EQ(back->Address(), QStringLiteral("2 Low Road"));

    // Notes set on a light record are stored; its unread address stays.
    light = directory->GetContact(c->Reference(), false, false);
    light->SetNotes(QString());
    directory->SaveContact(light->Reference(), light, true, true, ok);
    ASSERT_TRUE(ok);
    back = directory->GetContact(c->Reference(), true, true);
    EXPECT_EQ(back->Notes(), QString());
    EXPECT_EQ(back->Address(), QStringLiteral("2 Low Road"));
}

TEST_F(ContactsTest, ASaveWithNotifyAnnouncesTheStoredObject) {
    std::vector<KVDirectory::ContactPtr> announced;
    QObject::connect(directory.get(), &KVDirectory::ContactSaved,
                     [&announced](const KVDirectory::ContactPtr& c) { announced.push_back(c); });
    auto c = directory->CreateContact();
    c->SetName(QStringLiteral("Listener"));
    bool ok = false;
    directory->SaveContact(0, c, true, false, ok);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(announced.empty());
    directory->SaveContact(c->Reference(), c, true, true, ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(announced.size(), 1u);
    EXPECT_EQ(announced[0], c);
    // A refused save is not announced, and says why.
    directory->Logout();
    QString refusal;
    directory->SaveContact(c->Reference(), c, true, true, ok, &refusal);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(refusal.isEmpty());
    EXPECT_EQ(announced.size(), 1u);
}

TEST_F(ContactsTest, FilterTextIsParsedIntoCriteria) {
    using M = ContactMatch;
    using F = ContactField;
    const struct {
        const char* filter;
        QList<ContactCriterion> expected;
    } cases[] = {
        {R"([Email1]="a@b.c")", {{F::Email1, M::Equals, "a@b.c"}}},
        {R"([Email2]='a@b.c')", {{F::Email2, M::Equals, "a@b.c"}}},
        {R"([Name] LIKE "*Ann*")", {{F::Name, M::Contains, "Ann"}}},
        {R"([Name] like "Ann*")", {{F::Name, M::StartsWith, "Ann"}}},
        {R"([Name] LIKE "*Ann")", {{F::Name, M::EndsWith, "Ann"}}},
        {R"([Name] LIKE "Ann")", {{F::Name, M::Equals, "Ann"}}},
        {R"([Name] LIKE "*O""Brien*")", {{F::Name, M::Contains, "O\"Brien"}}},
        {R"([Name]='O''Brien')", {{F::Name, M::Equals, "O'Brien"}}},
        {R"([Name] LIKE "*50%_a?b*c*")", {{F::Name, M::Contains, "50%_a?b*c"}}},
        {R"([Email1]="x" or [Email2]="x" OR [Email3]="x")",
         {{F::Email1, M::Equals, "x"}, {F::Email2, M::Equals, "x"}, {F::Email3, M::Equals, "x"}}},
        {R"([PhoneNumber1] LIKE "*123*" or [PhoneNumber2] LIKE "*123*" or [MobileNumber] LIKE "*123*")",
         {{F::PhoneNumber1, M::Contains, "123"},
          {F::PhoneNumber2, M::Contains, "123"},
          {F::MobileNumber, M::Contains, "123"}}},
    };
    for (const auto& c : cases) {
        const ContactFilterParse p = ParseContactFilter(QString::fromUtf8(c.filter));
        EXPECT_TRUE(p.ok) << c.filter << ": " << p.error.toStdString();
        EXPECT_EQ(p.criteria, c.expected) << c.filter;
    }
}

TEST_F(ContactsTest, MalformedOrUnknownFiltersFindNothingAndAreLogged) {
    save(QStringLiteral("Anyone"));
    for (const char* filter :
         {"", "   ", "[Name]", "[Name]=Anyone", R"([Name]="Anyone)", R"([Nmae]="Anyone")",
          R"([Name]="Anyone" and [Name]="x")", R"([Name]="Anyone" or)", R"(Name="Anyone")",
          R"([Name]="A"; DROP TABLE contacts)", R"([Address] LIKE "*a*")"}) {
        log.clear();
        EXPECT_TRUE(directory->FindContacts(QString::fromUtf8(filter), 0, 0).isEmpty()) << filter;
        EXPECT_TRUE(logged(QStringLiteral("was refused"))) << filter;
    }
    EXPECT_EQ(directory->FindContacts(QStringLiteral("[Name]=\"Anyone\"")).size(), 1);
}

TEST_F(ContactsTest, FindsByEveryFieldAndOperator) {
    auto c = directory->CreateContact();
    c->SetName(QStringLiteral("Harriet Vane"));
    c->SetEmail1(QStringLiteral("harriet@example.org"));
    c->SetEmail2(QStringLiteral("hv@example.net"));
    c->SetEmail3(QStringLiteral("vane@example.com"));
    c->SetPhoneNumber1(QStringLiteral("01632 960111"));
    c->SetPhoneNumber2(QStringLiteral("01632 960222"));
    c->SetMobileNumber(QStringLiteral("07700 900333"));
    bool ok = false;
    directory->SaveContact(0, c, true, true, ok);
    save(QStringLiteral("Someone Else"), QStringLiteral("else@example.org"), QStringLiteral("999"));

    const struct {
        const char* filter;
        bool found;
    } cases[] = {
        {R"([Name]="Harriet Vane")", true},
        {R"([Name]="harriet vane")", true},
        {R"([Name]="Harriet")", false},
        {R"([Name] LIKE "*riet V*")", true},
        {R"([Name] LIKE "Harr*")", true},
        {R"([Name] LIKE "*Vane")", true},
        {R"([Name] LIKE "*Harr")", false},
        {R"([Email1]="harriet@example.org")", true},
        {R"([Email1]="HARRIET@example.org")", true},
        {R"([Email1]="harriet@example")", false},
        {R"([Email2]='hv@example.net')", true},
        {R"([Email3]="vane@example.com")", true},
        {R"([Email3]="hv@example.net")", false},
        {R"([PhoneNumber1] LIKE "*960111*")", true},
        {R"([PhoneNumber2] LIKE "*960222*")", true},
        {R"([MobileNumber] LIKE "*900333*")", true},
        {R"([MobileNumber] LIKE "*960111*")", false},
    };
    for (const auto& t : cases) {
        const auto found = directory->FindContacts(QString::fromUtf8(t.filter), 0, 0);
        EXPECT_EQ(names(found).contains(QStringLiteral("Harriet Vane")), t.found) << t.filter;
        EXPECT_FALSE(names(found).contains(QStringLiteral("Someone Else"))) << t.filter;
    }
}

TEST_F(ContactsTest, QuotesAndWildcardsInValuesMatchLiterally) {
    save(QStringLiteral("Pat \"The Voice\" O'Neil"));
    save(QStringLiteral("100% Pure_Radio"));
    save(QStringLiteral("100 Pure Radio"));
    save(QStringLiteral("Star*Name?"));
    save(QStringLiteral("StarXName!"));

    const struct {
        const char* filter;
        QStringList expected;
    } cases[] = {
        {R"([Name] LIKE "*""The Voice""*")", {"Pat \"The Voice\" O'Neil"}},
        {R"([Name] LIKE '*O''Neil*')", {"Pat \"The Voice\" O'Neil"}},
        {R"([Name]='Pat "The Voice" O''Neil')", {"Pat \"The Voice\" O'Neil"}},
        {R"([Name] LIKE "*% Pure_*")", {"100% Pure_Radio"}},
        {R"([Name] LIKE "100%*")", {"100% Pure_Radio"}},
        {R"([Name] LIKE "*r*N*")", {"Star*Name?"}},
        {R"([Name] LIKE "*r*Name?*")", {"Star*Name?"}},
        {R"([Name] LIKE "*Name?")", {"Star*Name?"}},
        {R"([Name]="Star_Name?")", {}},
    };
    for (const auto& t : cases) {
        EXPECT_EQ(names(directory->FindContacts(QString::fromUtf8(t.filter), 0, 0)), t.expected)
            << t.filter;
    }
    // A caller that writes a value through ContactFilterValue finds it whatever it holds.
    for (const QString& name :
         {QStringLiteral("Pat \"The Voice\" O'Neil"), QStringLiteral("Star*Name?")}) {
        EXPECT_EQ(
            names(directory->FindContacts(QStringLiteral("[Name]=") + ContactFilterValue(name))),
            QStringList{name});
    }
    // An unescaped quote ends the value early: nothing is found, nothing breaks.
    EXPECT_TRUE(
        directory->FindContacts(QStringLiteral("[Name]='Pat \"The Voice\" O'Neil'")).isEmpty());
}

TEST_F(ContactsTest, ResultsComeInNameOrderAndStructuredCriteriaWork) {
    save(QStringLiteral("beta"));
    save(QStringLiteral("Alpha"));
    save(QStringLiteral("Gamma"));
    save(QStringLiteral("alpha"));
    const auto found = directory->FindContacts(
        QList<ContactCriterion>{{ContactField::Name, ContactMatch::Contains, QStringLiteral("a")}});
    ASSERT_EQ(found.size(), 5); // the administrator's name has an "a" too
    EXPECT_EQ(names(found), (QStringList{"Administrator", "Alpha", "alpha", "beta", "Gamma"}));
    EXPECT_LT(found[1]->Reference(), found[2]->Reference());
    EXPECT_TRUE(directory->FindContacts(QList<ContactCriterion>{}).isEmpty());
}

TEST_F(ContactsTest, PhoneLookUpMatchesOnDigits) {
    auto a = save(QStringLiteral("Caller A"), {}, QStringLiteral("+44 (1632) 960-123"));
    auto b = directory->CreateContact();
    b->SetName(QStringLiteral("Caller B"));
    b->SetMobileNumber(QStringLiteral("447700900999"));
    bool ok = false;
    directory->SaveContact(0, b, true, true, ok);
    save(QStringLiteral("No Number"));

    const struct {
        const char* number;
        QStringList expected;
    } cases[] = {
        {"441632960123", {"Caller A"}},
        {" <+44 1632 960123> ", {"Caller A"}},
        {"<+447700900999>", {"Caller B"}},
        {"1632960123", {}}, // digits must be the same, not a part
        {"", {}},
        {"<>", {}}, // no digits never matches contacts without a number
    };
    for (const auto& t : cases) {
        EXPECT_EQ(names(directory->FindContactsByPhoneNumber(QString::fromUtf8(t.number))),
                  t.expected)
            << t.number;
    }
    b->SetMobileNumber(QString());
    b->SetOtherNumber(QStringLiteral("01632 960123"));
    b->SetPhoneNumber2(QStringLiteral("+44 1632 960123"));
    directory->SaveContact(b->Reference(), b, true, true, ok);
    EXPECT_EQ(names(directory->FindContactsByPhoneNumber(QStringLiteral("+441632960123"))),
              (QStringList{"Caller A", "Caller B"}));
}

TEST_F(ContactsTest, CombosAndUsersListTheirContacts) {
    auto listener = save(QStringLiteral("Listener"));
    auto presenter = addUser(QStringLiteral("pres"), 0, 0);
    QComboBox combo;
    qint32 count = 0;
    directory->FillContactsCombo(&combo, -1, count);
    EXPECT_EQ(count, 3);
    ASSERT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.itemText(1), QStringLiteral("Listener"));
    EXPECT_EQ(combo.itemData(1).toInt(), listener->Reference());

    combo.clear();
    directory->FillContactsCombo(&combo, 2, count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(combo.findData(listener->Reference()), -1);
    EXPECT_GE(combo.findData(presenter->Reference()), 0);

    const auto users = directory->GetUsers();
    ASSERT_EQ(users.size(), 2);
    EXPECT_EQ(users[0]->Name(), QStringLiteral("Administrator"));
    EXPECT_EQ(users[1]->Reference(), presenter->Reference());
}

// A combo is filled in one go: its entries must be those of the light look-up, in its order
// (case folded, equal names by reference), after any entry the combo already had.
TEST_F(ContactsTest, FilledCombosFollowTheLookUpOrderAfterTheirOwnEntries) {
    for (const char* name : {"zed", "Adam", "adam", "Émile", "bob"}) {
        save(QString::fromUtf8(name));
    }
    addUser(QStringLiteral("zz"), 0, 0);
    addUser(QStringLiteral("aa"), 0, 0);
    for (const qint32 kind : {-1, 2}) {
        QComboBox combo;
        combo.addItem(QStringLiteral("<None>"), 0);
        qint32 count = 0;
        directory->FillContactsCombo(&combo, kind, count);
        const auto expected = directory->ListContacts(kind);
        EXPECT_EQ(count, expected.size()) << kind;
        ASSERT_EQ(combo.count(), expected.size() + 1) << kind;
        EXPECT_EQ(combo.itemText(0), QStringLiteral("<None>"));
        for (int i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(combo.itemText(i + 1), expected[i]->Name()) << kind << " " << i;
            EXPECT_EQ(combo.itemData(i + 1).toInt(), expected[i]->Reference()) << kind << " " << i;
        }
        EXPECT_EQ(combo.currentIndex(), 0) << kind;
    }
    QComboBox users;
    qint32 count = 0;
    directory->FillContactsCombo(&users, 2, count);
    QStringList shown;
    for (int i = 0; i < users.count(); ++i) {
        shown << users.itemText(i);
    }
    EXPECT_EQ(shown, (QStringList{"Administrator", "User aa", "User zz"}));
}

TEST_F(ContactsTest, TagsAreFilledEscapedForEveryOccurrence) {
    auto c = directory->CreateContact();
    c->SetName(QStringLiteral("Tom <b>& Jerry</b>"));
    c->SetCompany(QStringLiteral("\"ACME\""));
    c->SetEmail2(QStringLiteral("tom@example.org"));
    c->SetPhoneNumber2(QStringLiteral("0123"));
    c->SetMobileNumber(QStringLiteral("0777"));
    c->SetOtherNumber(QStringLiteral("0800"));
    c->SetAddress(QStringLiteral("1 Main St\r\n\r\nTown's End"));
    bool ok = false;
    directory->SaveContact(0, c, true, true, ok);
    const QString text = QStringLiteral(
        "<OCP_PRIZEWINNER_WINNER_REFERENCE>|<OCP_PRIZEWINNER_WINNER_NAME>|"
        "<OCP_PRIZEWINNER_WINNER_COMPANY>|<OCP_PRIZEWINNER_WINNER_LOGINNAME>|"
        "<OCP_PRIZEWINNER_WINNER_ADDRESS>|<OCP_PRIZEWINNER_WINNER_ADDRESSSTRING>|"
        "<OCP_PRIZEWINNER_WINNER_EMAIL>|<OCP_PRIZEWINNER_WINNER_PHONE>|"
        "<OCP_PRIZEWINNER_WINNER_MOBILE>|<OCP_PRIZEWINNER_WINNER_OTHERNUMBER>|"
        "<OCP_PRIZEWINNER_WINNER_NAME>|<ocp_prizewinner_winner_name>|<OCP_PRIZE_SUPPLIER_NAME>");
    EXPECT_EQ(
        c->ReplaceTags(text, QStringLiteral("PRIZEWINNER_WINNER")),
        QString::number(c->Reference()) +
            Marked(QStringLiteral(
                "|\u00abTom &lt;b&gt;&amp; Jerry&lt;/b&gt;\u00bb|\u00ab&quot;ACME&quot;\u00bb||"
                "\u00ab1 Main St\u00bb<br>\u00abTown&#39;s End\u00bb|"
                "\u00ab1 Main St, Town&#39;s End\u00bb|\u00abtom@example.org\u00bb|"
                "\u00ab0123\u00bb|\u00ab0777\u00bb|\u00ab0800\u00bb|"
                "\u00abTom &lt;b&gt;&amp; Jerry&lt;/b&gt;\u00bb|"
                "<ocp_prizewinner_winner_name>|<OCP_PRIZE_SUPPLIER_NAME>")));
    const QString empty = directory->CreateContact(0)->ReplaceTags(
        QStringLiteral("[<OCP_CURRENTUSER_REFERENCE>][<OCP_CURRENTUSER_NAME>]"
                       "[<OCP_CURRENTUSER_ADDRESS>][<OCP_CURRENTUSER_EMAIL>]"),
        QStringLiteral("CURRENTUSER"));
    EXPECT_EQ(empty, QStringLiteral("[][][][]"));
}

TEST_F(ContactsTest, PersonalFolderIsMadeForUsersOnly) {
    const QString folder = admin->PersonalFolder();
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_TRUE(QDir(folder).exists());
    EXPECT_TRUE(folder.startsWith(directory->DataFolder()));
    EXPECT_FALSE(folder.endsWith(QLatin1Char('/')));
    EXPECT_TRUE(save(QStringLiteral("Listener"))->PersonalFolder().isEmpty());
    EXPECT_TRUE(directory->CreateContact()->PersonalFolder().isEmpty());
}

TEST_F(ContactsTest, DetailsTextIsBoundedSummary) {
    auto c = directory->CreateContact();
    c->SetName(QStringLiteral("Ann"));
    c->SetAddress(QStringLiteral("Street\r\nTown"));
    c->SetMobileNumber(QStringLiteral("0777"));
    EXPECT_EQ(c->DetailsText(600, true), QStringLiteral("Ann\r\nStreet\r\nTown\r\n0777"));
    EXPECT_EQ(c->DetailsText(600, false), QStringLiteral("Ann, Street, Town, 0777"));
    EXPECT_EQ(c->DetailsText(5, true).size(), 5);
    EXPECT_TRUE(directory->CreateContact()->DetailsText(600, true).trimmed().isEmpty());
}

TEST_F(ContactsTest, WebsitesAreAddedOnceAndReadBack) {
    auto site = std::make_shared<DirectoryWebsite>();
    site->SetAddress(QStringLiteral("https://example.org/"));
    site->SetTitle(QStringLiteral("Example"));
    bool ok = false;
    directory->AddWebsite(site, ok);
    ASSERT_TRUE(ok);
    ASSERT_TRUE(site);
    EXPECT_GT(site->Reference(), 0);
    EXPECT_EQ(site->Caption(), QStringLiteral("Example"));

    auto again = std::make_shared<DirectoryWebsite>();
    again->SetAddress(QStringLiteral("https://example.org/"));
    directory->AddWebsite(again, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(again->Reference(), site->Reference());

    const auto read = directory->GetWebsite(site->Reference());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Address(), QStringLiteral("https://example.org/"));
    EXPECT_EQ(directory->GetWebsite(site->Reference() + 1), nullptr);
    EXPECT_EQ(directory->GetWebsite(0), nullptr);

    auto blank = std::make_shared<DirectoryWebsite>();
    directory->AddWebsite(blank, ok);
    EXPECT_FALSE(ok);
}
} // namespace
