#include "platform/directory/directoryfixture.h"

#include "platform/directory/controls/ucontact.h"
#include "platform/directory/controls/ucontactslist.h"
#include "platform/ui/twips.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/waitfor.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

namespace {
class ContactControlsTest : public DirectoryFixture {
protected:
    void SetUp() override {
        DirectoryFixture::SetUp();
        ensureAdmin();
        loginAs(admin);
    }

    KVDirectory::ContactPtr save(const QString& name, const QString& company = {}) {
        auto c = directory->CreateContact(0);
        c->SetName(name);
        c->SetCompany(company);
        bool ok = false;
        directory->SaveContact(0, c, true, true, ok);
        EXPECT_TRUE(ok) << name.toStdString();
        return c;
    }

    static QStringList Lines(const uContactsList& list) {
        QStringList out;
        const QAbstractItemModel* model = list.lstContacts()->model();
        for (int i = 0; i < model->rowCount(); ++i) {
            out << model->index(i, 0).data().toString();
        }
        return out;
    }

    static void DoubleClick(uContactsList& list, const QModelIndex& item) {
        ASSERT_TRUE(item.isValid());
        QListView* view = list.lstContacts();
        const QPoint at = view->visualRect(item).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    }
};
} // namespace

TEST_F(ContactControlsTest, ListsTheContactsOfItsKindInNameOrderWithTheirCompany) {
    save(QStringLiteral("Zed Brown"));
    save(QStringLiteral("Ann Smith"), QStringLiteral("Acme Ltd"));
    uContactsList list;
    list.SetDirectory(directory.get());
    EXPECT_EQ(Lines(list),
              (QStringList{QStringLiteral("Administrator"), QStringLiteral("Ann Smith (Acme Ltd)"),
                           QStringLiteral("Zed Brown")}));
    list.SetContactTypes(2);
    EXPECT_EQ(Lines(list), QStringList{QStringLiteral("Administrator")});
    list.SetContactTypes(-1);
    list.SetDisplayNewContact(true);
    EXPECT_EQ(Lines(list).front(), uContactsList::NewContactText());
    EXPECT_EQ(list.lstContacts()->model()->rowCount(), 4);
}

TEST_F(ContactControlsTest, TypingInTheSearchBoxFiltersByNameLiterally) {
    save(QStringLiteral("Ann Smith"));
    save(QStringLiteral("Bob 100% Jones"));
    save(QStringLiteral("Joanna Ash"));
    uContactsList list;
    list.SetDirectory(directory.get());
    list.SetAutoUpdate(false);
    ASSERT_TRUE(ShowActive(list));
    list.txtSearch()->setFocus();
    struct Case {
        const char* typed;
        QStringList lines;
    };
    const Case cases[] = {
        {"ann", {QStringLiteral("Ann Smith"), QStringLiteral("Joanna Ash")}},
        {"%", {QStringLiteral("Bob 100% Jones")}},
        {"_", {}},
        {"*", {}},
        {"",
         {QStringLiteral("Administrator"), QStringLiteral("Ann Smith"),
          QStringLiteral("Bob 100% Jones"), QStringLiteral("Joanna Ash")}},
    };
    for (const Case& c : cases) {
        list.txtSearch()->selectAll();
        QTest::keyClick(list.txtSearch(), Qt::Key_Backspace);
        QTest::keyClicks(list.txtSearch(), QString::fromUtf8(c.typed));
        EXPECT_EQ(Lines(list), c.lines) << c.typed;
    }
}

TEST_F(ContactControlsTest, WithoutAutoUpdateSettingsWaitForRefresh) {
    save(QStringLiteral("Ann Smith"));
    uContactsList list;
    list.SetAutoUpdate(false);
    list.SetDirectory(directory.get());
    list.SetSearchText(QStringLiteral("Ann"));
    EXPECT_EQ(list.lstContacts()->model()->rowCount(), 0);
    EXPECT_EQ(list.SearchText(), QStringLiteral("Ann"));
    list.Refresh();
    EXPECT_EQ(Lines(list), QStringList{QStringLiteral("Ann Smith")});
}

TEST_F(ContactControlsTest, SelectedReferenceFollowsTheSelection) {
    const auto ann = save(QStringLiteral("Ann Smith"));
    const auto bob = save(QStringLiteral("Bob Jones"));
    uContactsList list;
    list.SetDirectory(directory.get());
    list.SetDisplayNewContact(true);
    QSignalSpy selected(&list, &uContactsList::ContactSelected);
    EXPECT_EQ(list.SelectedReference(), 0);

    list.SetSelectedReference(bob->Reference());
    EXPECT_EQ(list.SelectedReference(), bob->Reference());
    EXPECT_EQ(list.lstContacts()->currentIndex(), list.ItemOf(bob->Reference()));
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected.at(0).at(0).value<KVDirectory::ContactPtr>()->Name(),
              QStringLiteral("Bob Jones"));

    list.Refresh();
    EXPECT_EQ(list.SelectedReference(), bob->Reference());

    list.lstContacts()->setCurrentIndex(list.NewContactItem());
    EXPECT_EQ(list.SelectedReference(), 0);

    // A contact hidden by the search is shown by clearing the search.
    list.SetSearchText(QStringLiteral("Bob"));
    list.SetSelectedReference(ann->Reference());
    EXPECT_EQ(list.SelectedReference(), ann->Reference());
    EXPECT_EQ(list.SearchText(), QString());

    // Unknown, or a contact the kind of list does not show: nothing selected.
    list.SetSelectedReference(987654);
    EXPECT_EQ(list.SelectedReference(), 0);
    list.SetContactTypes(2);
    list.SetSelectedReference(ann->Reference());
    EXPECT_EQ(list.SelectedReference(), 0);
}

TEST_F(ContactControlsTest, AContactSavedAfterTheLoadCanBeSelected) {
    uContactsList list;
    list.SetAutoUpdate(false);
    list.SetDirectory(directory.get());
    list.Refresh();
    const auto later = save(QStringLiteral("Cat Later"));
    list.SetSelectedReference(later->Reference());
    EXPECT_EQ(list.SelectedReference(), later->Reference());
}

TEST_F(ContactControlsTest, DoubleClickAndEnterChooseTheWholeContact) {
    auto ann = save(QStringLiteral("Ann Smith"));
    ann = directory->GetContact(ann->Reference(), true, true);
    ann->SetAddress(QStringLiteral("1 High Street\r\nTown"));
    bool ok = false;
    directory->SaveContact(ann->Reference(), ann, true, true, ok);
    ASSERT_TRUE(ok);

    uContactsList list;
    list.SetDirectory(directory.get());
    ASSERT_TRUE(ShowActive(list));
    QSignalSpy chosen(&list, &uContactsList::ContactChosen);
    DoubleClick(list, list.ItemOf(ann->Reference()));
    ASSERT_EQ(chosen.count(), 1);
    auto got = chosen.at(0).at(0).value<KVDirectory::ContactPtr>();
    EXPECT_EQ(got->Reference(), ann->Reference());
    EXPECT_TRUE(got->IsFullRecord());
    EXPECT_EQ(got->Address(), QStringLiteral("1 High Street\r\nTown"));

    // Keyboard alone: type in the search box, Enter goes to the list, Enter chooses.
    list.txtSearch()->setFocus();
    QTest::keyClicks(list.txtSearch(), QStringLiteral("smith"));
    QTest::keyClick(list.txtSearch(), Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&list] { return list.lstContacts()->hasFocus(); }));
    QTest::keyClick(list.lstContacts(), Qt::Key_Return);
    ASSERT_EQ(chosen.count(), 2);
    EXPECT_EQ(chosen.at(1).at(0).value<KVDirectory::ContactPtr>()->Reference(), ann->Reference());
}

TEST_F(ContactControlsTest, TheNewContactEntryAsksForANewUnsavedContact) {
    uContactsList list;
    list.SetDirectory(directory.get());
    list.SetDisplayNewContact(true);
    list.SetContactListValue(3);
    ASSERT_TRUE(ShowActive(list));
    QSignalSpy added(&list, &uContactsList::AddNewContact);
    QSignalSpy chosen(&list, &uContactsList::ContactChosen);
    DoubleClick(list, list.NewContactItem());
    ASSERT_EQ(added.count(), 1);
    EXPECT_EQ(chosen.count(), 0);
    const auto fresh = added.at(0).at(0).value<KVDirectory::ContactPtr>();
    ASSERT_TRUE(fresh);
    EXPECT_EQ(fresh->Reference(), 0);
    EXPECT_EQ(fresh->ContactListValue(), 3);
}

TEST_F(ContactControlsTest, AContactRemovedMeanwhileIsNotChosen) {
    const auto gone = save(QStringLiteral("Gone Soon"));
    uContactsList list;
    list.SetDirectory(directory.get());
    ASSERT_TRUE(ShowActive(list));
    const QModelIndex item = list.ItemOf(gone->Reference());
    ASSERT_TRUE(directory->RemoveContact(gone->Reference(), nullptr));
    QSignalSpy chosen(&list, &uContactsList::ContactChosen);
    DoubleClick(list, item);
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_FALSE(list.ItemOf(gone->Reference()).isValid());
}

TEST_F(ContactControlsTest, ContactControlShowsTheContactOrNothing) {
    auto c = save(QStringLiteral("Ann Smith"), QStringLiteral("Acme Ltd"));
    c = directory->GetContact(c->Reference(), true, true);
    c->SetEmail2(QStringLiteral("ann@example.org"));
    c->SetMobileNumber(QStringLiteral("07700 900123"));
    uContact control;
    control.SetContact(c);
    auto text = [&control](const char* name) {
        return control.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
    };
    EXPECT_EQ(control.Contact(), c);
    EXPECT_EQ(text("txtName"), QStringLiteral("Ann Smith"));
    EXPECT_EQ(text("txtCompany"), QStringLiteral("Acme Ltd"));
    EXPECT_EQ(text("txtEmail2"), QStringLiteral("ann@example.org"));
    EXPECT_EQ(text("txtMobileNumber"), QStringLiteral("07700 900123"));
    control.SetContact(nullptr);
    EXPECT_EQ(control.Contact(), nullptr);
    EXPECT_EQ(text("txtName"), QString());
    EXPECT_EQ(text("txtEmail2"), QString());
}

TEST_F(ContactControlsTest, HostTabsOnlyWithinTheTwoSettings) {
    uContact control;
    EXPECT_EQ(control.TabNumbers(), (QList<int>{0, 1, 2, 3}));
    EXPECT_FALSE(control.AddTab(4, QStringLiteral("Messages"))); // no room asked for yet
    control.SetMaxTabs(6);
    EXPECT_FALSE(control.AddTab(4, QStringLiteral("Messages"))); // no host tabs allowed yet
    control.SetCustomTabs(2);
    EXPECT_TRUE(control.AddTab(5, QStringLiteral("Prizes")));
    EXPECT_TRUE(control.AddTab(4, QStringLiteral("Messages")));
    EXPECT_FALSE(control.AddTab(6, QStringLiteral("Beyond")));
    EXPECT_FALSE(control.AddTab(2, QStringLiteral("Own tab")));
    EXPECT_TRUE(control.AddTab(4, QStringLiteral("Mail"))); // renamed, not added again
    EXPECT_EQ(control.TabNumbers(), (QList<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(control.TabCaption(4), QStringLiteral("Mail"));
    EXPECT_EQ(control.TabCaption(5), QStringLiteral("Prizes"));
    EXPECT_EQ(control.TabCaption(2), QStringLiteral("Settings"));
    EXPECT_EQ(control.TabCaption(9), QString());
}

TEST_F(ContactControlsTest, ChoosingATabReportsItsNumber) {
    uContact control;
    control.SetMaxTabs(6);
    control.SetCustomTabs(2);
    control.AddTab(4, QStringLiteral("Messages"));
    control.AddTab(5, QStringLiteral("Prizes"));
    ASSERT_TRUE(ShowActive(control));
    QSignalSpy changed(&control, &uContact::TabChanged);
    QTabBar* bar = control.tabContact()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(5).center());
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(4).center());
    control.SetCurrentTab(1);
    control.SetCurrentTab(42); // not shown: nothing changes
    ASSERT_EQ(changed.count(), 3);
    EXPECT_EQ(changed.at(0).at(0).toInt(), 5);
    EXPECT_EQ(changed.at(1).at(0).toInt(), 4);
    EXPECT_EQ(changed.at(2).at(0).toInt(), 1);
    EXPECT_EQ(control.CurrentTab(), 1);
}

TEST_F(ContactControlsTest, TabAreaIsThePageUnderTheTabsInTwips) {
    uContact control;
    control.setGeometry(0, 0, TwipsToPixels(6000), TwipsToPixels(4500)); // not shown yet
    const int barBottom =
        static_cast<int>(PixelsToTwips(control.tabContact()->tabBar()->sizeHint().height()));
    EXPECT_GE(control.TabAreaTop(), barBottom - 15);
    EXPECT_GE(control.TabAreaLeft(), 0);
    EXPECT_GT(control.TabAreaWidth(), 5000);
    EXPECT_LE(control.TabAreaLeft() + control.TabAreaWidth(), 6000);
    EXPECT_LE(control.TabAreaTop() + control.TabAreaHeight(), 4500);
    EXPECT_GT(control.TabAreaHeight(), 3000);
    const qint32 hiddenTop = control.TabAreaTop();
    ASSERT_TRUE(ShowActive(control));
    EXPECT_EQ(control.TabAreaTop(), hiddenTop);
    QWidget* page = control.tabContact()->currentWidget();
    EXPECT_NEAR(control.TabAreaTop(), PixelsToTwips(page->mapTo(&control, QPoint()).y()), 15);
    EXPECT_NEAR(control.TabAreaWidth(), PixelsToTwips(page->width()), 15);
}

namespace {
QLineEdit* Field(uContact& control, const char* name) {
    return control.findChild<QLineEdit*>(QString::fromLatin1(name));
}
} // namespace

TEST_F(ContactControlsTest, EditsAreHeldUntilTheDirectoryAnnouncesTheSave) {
    auto c = save(QStringLiteral("Ann Smith"));
    uContact control;
    control.SetDirectory(directory.get());
    QSignalSpy state(&control, &uContact::EditStateChanged);
    QSignalSpy history(&control, &uContact::HistoryChanged);
    control.SetContact(directory->GetContact(c->Reference(), false, false));
    ASSERT_EQ(history.count(), 1);
    EXPECT_EQ(history.at(0).at(0).toString(), QString());
    EXPECT_FALSE(control.ContactChanged());
    EXPECT_EQ(state.count(), 0); // loading is not an edit

    Field(control, "txtName")->setText(QStringLiteral("Ann Jones"));
    Field(control, "txtMobileNumber")->setText(QStringLiteral("07700 900123"));
    EXPECT_TRUE(control.ContactChanged());
    ASSERT_EQ(state.count(), 1); // once, at the first edit
    EXPECT_TRUE(state.at(0).at(0).toBool());
    EXPECT_EQ(control.Contact()->Name(), QStringLiteral("Ann Smith")); // not written yet

    control.StoreEdits();
    EXPECT_EQ(control.Contact()->Name(), QStringLiteral("Ann Jones"));
    EXPECT_TRUE(control.ContactChanged()); // storing the edits is not saving them

    bool ok = false;
    directory->SaveContact(c->Reference(), control.Contact(), true, false, ok);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(control.ContactChanged()); // not announced
    directory->SaveContact(c->Reference(), control.Contact(), true, true, ok);
    ASSERT_TRUE(ok);
    EXPECT_FALSE(control.ContactChanged());
    ASSERT_EQ(state.count(), 2);
    EXPECT_FALSE(state.at(1).at(0).toBool());
    EXPECT_EQ(Field(control, "txtMobileNumber")->text(), QStringLiteral("07700 900123"));

    // Another object of the same contact saved elsewhere leaves these edits alone.
    Field(control, "txtCompany")->setText(QStringLiteral("Acme"));
    auto other = directory->GetContact(c->Reference(), true, true);
    directory->SaveContact(c->Reference(), other, true, true, ok);
    EXPECT_TRUE(control.ContactChanged());
    EXPECT_EQ(Field(control, "txtCompany")->text(), QStringLiteral("Acme"));
}

TEST_F(ContactControlsTest, ALightRecordIsCompletedInTheSameObject) {
    auto c = directory->CreateContact();
    c->SetName(QStringLiteral("Listener"));
    c->SetAddress(QStringLiteral("1 High St\r\nTown"));
    c->SetNotes(QStringLiteral("Likes jazz"));
    bool ok = false;
    directory->SaveContact(0, c, true, true, ok);
    ASSERT_TRUE(ok);
    auto light = directory->GetContact(c->Reference(), false, false);
    uContact control;
    control.SetDirectory(directory.get());
    control.SetContact(light);
    EXPECT_EQ(control.Contact(), light);
    EXPECT_EQ(light->Address(), QStringLiteral("1 High St\r\nTown"));
    EXPECT_EQ(light->Notes(), QStringLiteral("Likes jazz"));
    EXPECT_FALSE(light->Modified());
    EXPECT_EQ(control.findChild<QPlainTextEdit*>(QStringLiteral("txtAddress"))->toPlainText(),
              QStringLiteral("1 High St\nTown"));
    // The address typed in lines is stored CR LF joined.
    control.findChild<QPlainTextEdit*>(QStringLiteral("txtAddress"))
        ->setPlainText(QStringLiteral("2 Low Rd\nCity"));
    control.StoreEdits();
    EXPECT_EQ(light->Address(), QStringLiteral("2 Low Rd\r\nCity"));
}

TEST_F(ContactControlsTest, ANameIsNeeded) {
    uContact control;
    control.SetDirectory(directory.get());
    control.SetContact(directory->CreateContact());
    control.SetCurrentTab(3);
    ASSERT_TRUE(ShowActive(control));
    EXPECT_FALSE(control.CheckDetails(false));
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    EXPECT_EQ(control.CurrentTab(), 3);
    Field(control, "txtName")->setText(QStringLiteral("   "));
    EXPECT_FALSE(control.CheckDetails(true));
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
    EXPECT_EQ(TestMessageBoxes().shown()[0].text,
              QStringLiteral("You must enter a Name for this Contact!"));
    EXPECT_EQ(TestMessageBoxes().shown()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(control.CurrentTab(), 0);
    EXPECT_TRUE(WaitFor([&] { return Field(control, "txtName")->hasFocus(); }));
    Field(control, "txtName")->setText(QStringLiteral("Ann"));
    EXPECT_TRUE(control.CheckDetails(true));
}

TEST_F(ContactControlsTest, WhoMayEditWhat) {
    auto plain = addUser(QStringLiteral("plain"), DirectoryRights::SaveContacts, 0);
    struct Case {
        const char* name;
        bool host;
        KVDirectory::ContactPtr user; // null: nobody logged in
        bool newContact;
        bool fields, login, personal;
    };
    const Case cases[] = {
        {"pane display", true, admin, true, false, false, false},
        {"users right, new contact", false, admin, true, true, true, true},
        {"users right, stored contact", false, admin, false, true, true, false},
        {"no users right", false, plain, true, true, false, true},
        {"nobody logged in", false, nullptr, true, true, false, false},
    };
    const auto stored = save(QStringLiteral("Stored"));
    for (const Case& c : cases) {
        if (c.user) {
            loginAs(c.user);
        } else {
            directory->Logout();
        }
        uContact control;
        control.SetDirectory(directory.get());
        control.SetHostOption(c.host);
        control.SetContact(c.newContact ? directory->CreateContact() : stored);
        EXPECT_EQ(!Field(control, "txtName")->isReadOnly(), c.fields) << c.name;
        EXPECT_EQ(!control.findChild<QPlainTextEdit*>(QStringLiteral("txtNotes"))->isReadOnly(),
                  c.fields)
            << c.name;
        EXPECT_EQ(!Field(control, "txtLoginName")->isReadOnly(), c.login) << c.name;
        EXPECT_EQ(control.findChild<QCheckBox*>(QStringLiteral("chkSaveUsers"))->isEnabled(),
                  c.login)
            << c.name;
        EXPECT_EQ(control.findChild<QCheckBox*>(QStringLiteral("chkPersonal"))->isEnabled(),
                  c.personal)
            << c.name;
        if (c.host) {
            Field(control, "txtName")->setText(QStringLiteral("typed by a program"));
            EXPECT_FALSE(control.ContactChanged()) << c.name;
        }
    }
}

TEST_F(ContactControlsTest, PersonalAndRightsAreStoredFromTheirTabs) {
    uContact control;
    control.SetDirectory(directory.get());
    auto c = directory->CreateContact();
    control.SetContact(c);
    Field(control, "txtName")->setText(QStringLiteral("Mine"));
    control.findChild<QCheckBox*>(QStringLiteral("chkPersonal"))->setChecked(true);
    control.StoreEdits();
    EXPECT_EQ(c->OwnerReference(), admin->Reference());
    Field(control, "txtLoginName")->setText(QStringLiteral(" newuser "));
    control.findChild<QCheckBox*>(QStringLiteral("chkSaveContacts"))->setChecked(true);
    control.findChild<QCheckBox*>(QStringLiteral("chkCreateScripts"))->setChecked(true);
    control.StoreEdits();
    EXPECT_EQ(c->LoginName(), QStringLiteral("newuser"));
    EXPECT_TRUE(c->DirectoryRights().CanSaveContacts());
    EXPECT_FALSE(c->DirectoryRights().CanSaveUsers());
    EXPECT_TRUE(c->UserRights().CanCreateScripts());
}

TEST_F(ContactControlsTest, EditCommandsWorkOnTheFocusedField) {
    uContact control;
    control.SetDirectory(directory.get());
    control.SetContact(directory->CreateContact());
    ASSERT_TRUE(ShowActive(control));
    QLineEdit* name = Field(control, "txtName");
    QLineEdit* company = Field(control, "txtCompany");
    name->setText(QStringLiteral("Ann Smith"));
    company->setText(QStringLiteral("Acme"));
    name->setFocus();
    ASSERT_TRUE(WaitFor([&] { return name->hasFocus(); }));
    name->setSelection(3, 6); // " Smith"
    control.EditCut();
    EXPECT_EQ(name->text(), QStringLiteral("Ann"));
    EXPECT_EQ(company->text(), QStringLiteral("Acme"));
    name->setCursorPosition(0);
    control.EditDelete(); // nothing selected: nothing deleted
    EXPECT_EQ(name->text(), QStringLiteral("Ann"));
    name->selectAll();
    control.EditDelete();
    EXPECT_EQ(name->text(), QString());
    control.EditPaste();
    EXPECT_EQ(name->text(), QStringLiteral(" Smith"));
    name->selectAll();
    control.EditCopy();
    company->setFocus();
    ASSERT_TRUE(WaitFor([&] { return company->hasFocus(); }));
    company->selectAll();
    control.EditPaste();
    EXPECT_EQ(company->text(), QStringLiteral(" Smith"));
}

TEST_F(ContactControlsTest, AnAnnouncedSaveReloadsAnAutoUpdatingListKeepingItsSelection) {
    const auto ann = save(QStringLiteral("Ann Smith"));
    uContactsList list;
    list.SetDirectory(directory.get());
    list.SetSelectedReference(ann->Reference());
    auto added = directory->CreateContact();
    added->SetName(QStringLiteral("Bob New"));
    bool ok = false;
    directory->SaveContact(0, added, true, true, ok);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(Lines(list).contains(QStringLiteral("Bob New")));
    EXPECT_EQ(list.SelectedReference(), ann->Reference());

    uContactsList still;
    still.SetAutoUpdate(false);
    still.SetDirectory(directory.get());
    still.Refresh();
    // The list reads when its rows are first asked for; what it read stays until it is told.
    EXPECT_TRUE(Lines(still).contains(QStringLiteral("Bob New")));
    auto later = directory->CreateContact();
    later->SetName(QStringLiteral("Cat Later"));
    directory->SaveContact(0, later, true, true, ok);
    EXPECT_FALSE(Lines(still).contains(QStringLiteral("Cat Later")));
}
