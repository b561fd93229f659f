#include "contacts/contactswindows.h"
#include "contacts/frmaddresslabels.h"
#include "contacts/frmprize.h"
#include "contacts/frmprizewinner.h"
#include "core/dialogs/frmchoosecontact.h"
#include "core/orlixcommon.h"
#include "core/program.h"
#include "core/windows/windowopeners.h"
#include "core/windows/windowregistry.h"
#include "platform/directory/controls/ucontactslist.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"
#include "platform/messagesdb/storeddates.h"
#include "platform/system/appinfo.h"
#include "platform/ui/forms.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"
#include "support/waitfor.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

// Stands in for the contact window: the user saves the contact when it is set, or closes it
// unsaved.
class TestContactWindow : public QWidget, public ContactWindow {
public:
    static inline bool saves = true;
    std::shared_ptr<DirectoryContact> Contact() const override { return contact_; }
    void SetContact(const std::shared_ptr<DirectoryContact>& c) override {
        contact_ = c;
        if (saves) {
            bool ok = false;
            Program::Instance().Directory()->SaveContact(0, c, true, true, ok);
        }
    }

private:
    std::shared_ptr<DirectoryContact> contact_;
};

class PrizeWinnerWindowTest : public ::testing::Test {
protected:
    static Program& program() { return Program::Instance(); }

    void SetUp() override {
        program().SetOptions(StartupOptions::Parse(QStringLiteral("/NOPREVCHECK /Profile=Studio")));
        ASSERT_TRUE(InitialiseOrlix(QStringLiteral("SOFTWARE\\Kestova\\Orlix v1\\Client"), false));
        UnloadSplash();
        InstallWindowOpeners();
        program().Windows().SetShower([](QWidget* w, bool) { w->show(); });
        InstallContactsWindows(program().Windows());
        program().Windows().Register(WindowKind::Contact,
                                     [](QWidget*) { return new TestContactWindow; });
        TestContactWindow::saves = true;
        QString refusal;
        ann_ = directory().CreateFirstUser(QStringLiteral("Ann"), QStringLiteral("ann"), QString(),
                                           &refusal);
        ASSERT_TRUE(ann_) << refusal.toStdString();
        bool ok = false;
        directory().LoginContact(ann_, 1, AppInfo::ProductName(), ok);
        folder_ = TestHome() + QStringLiteral("/db");
        QDir().mkpath(folder_);
        auto own = std::make_unique<OrlixDatabase>();
        own->SetChangeWatch(0, 0);
        ASSERT_EQ(own->OpenDatabase(folder_), 0);
        program().SetDatabase(std::move(own));
        prize_ = db().NewPrize();
        prize_->SetTitle(QStringLiteral("Concert tickets"));
        prize_->SetNumberSupplied(5);
        db().StorePrize(*prize_, ok);
        ASSERT_TRUE(ok);
        TestMessageBoxes().clear();
    }
    void TearDown() override {
        for (QWidget* w : Forms::All()) {
            delete w;
        }
        TerminateOrlix();
    }
    static OrlixDatabase& db() { return *program().Database(); }
    static KVDirectory& directory() { return *program().Directory(); }

    static qint32 contact(const QString& name, const QString& company = QString(),
                          const QString& address = QString()) {
        auto c = directory().CreateContact();
        c->SetName(name);
        c->SetCompany(company);
        c->SetAddress(address);
        bool ok = false;
        directory().SaveContact(0, c, true, true, ok);
        EXPECT_TRUE(ok);
        return c->Reference();
    }
    std::shared_ptr<OrlixPrizeWinner> stored(qint32 winner, qint32 sentBy = 0) {
        auto w = db().NewPrizeWinner(*prize_);
        w->SetWinnerReference(winner);
        w->SetSentByReference(sentBy);
        if (sentBy > 0) {
            w->SetSentDate(QDateTime(QDate(2026, 3, 4), QTime(10, 30)));
        }
        bool ok = false;
        db().StorePrizeWinner(*w, ok);
        EXPECT_TRUE(ok);
        return db().GetPrizeWinner(w->Reference());
    }
    frmPrizeWinner* open(const std::shared_ptr<OrlixPrizeWinner>& winner) {
        auto* w = new frmPrizeWinner();
        Forms::Add(w);
        w->LoadPrizeWinner(winner);
        return w;
    }
    frmPrizeWinner* openNew() { return open(db().NewPrizeWinner(*prize_)); }
    static QString lastBox() {
        return TestMessageBoxes().shown().empty() ? QString()
                                                  : TestMessageBoxes().shown().back().text;
    }
    static void type(frmPrizeWinner* w, const QString& text) {
        w->WinnerBox()->lineEdit()->clear();
        QTest::keyClicks(w->WinnerBox()->lineEdit(), text);
    }

    std::shared_ptr<DirectoryContact> ann_;
    std::shared_ptr<OrlixPrize> prize_;
    QString folder_;
};

TEST_F(PrizeWinnerWindowTest, LoadingAnUnsentAndASentWinner) {
    const qint32 cat = contact(QStringLiteral("Cat"));
    frmPrizeWinner* unsent = open(stored(cat));
    EXPECT_EQ(unsent->PrizeTitle()->text(), QStringLiteral("Concert tickets"));
    EXPECT_EQ(unsent->WinnerBox()->currentText(), QStringLiteral("Cat"));
    EXPECT_FALSE(unsent->SentBox()->isChecked());
    EXPECT_FALSE(unsent->SentByBox()->isEnabled());
    EXPECT_EQ(unsent->SentByBox()->currentData().toInt(), ann_->Reference());
    EXPECT_FALSE(unsent->SentDateLabel()->text().isEmpty());
    EXPECT_FALSE(unsent->PrizeWinner()->Edited());
    EXPECT_TRUE(unsent->DeleteButton()->isEnabled());
    EXPECT_FALSE(unsent->ApplyButton()->isEnabled());

    frmPrizeWinner* sent = open(stored(cat, ann_->Reference()));
    EXPECT_TRUE(sent->SentBox()->isChecked());
    EXPECT_TRUE(sent->SentByBox()->isEnabled());
    EXPECT_EQ(sent->SentDateLabel()->text(),
              StoredDates::Text(QDateTime(QDate(2026, 3, 4), QTime(10, 30))));
    EXPECT_EQ(sent->PrizeWinner()->SentByReference(), ann_->Reference());
    EXPECT_FALSE(sent->PrizeWinner()->Edited());
}

// A new winner shows the user as the one who awarded it, while the record keeps 0 until the
// user picks.
TEST_F(PrizeWinnerWindowTest, TheAwarderFallsBackToTheUserOnScreenOnly) {
    auto winner = db().NewPrizeWinner(*prize_);
    winner->SetAwardedByReference(0);
    frmPrizeWinner* w = open(winner);
    EXPECT_EQ(w->AwardedByBox()->currentData().toInt(), ann_->Reference());
    EXPECT_EQ(w->PrizeWinner()->AwardedByReference(), 0);
    EXPECT_EQ(w->ReferenceLabel()->text(), QString());
    EXPECT_FALSE(w->DeleteButton()->isEnabled());
}

TEST_F(PrizeWinnerWindowTest, NobodyLoggedInSelectsNobody) {
    directory().Logout();
    frmPrizeWinner* w = openNew();
    EXPECT_EQ(w->AwardedByBox()->currentIndex(), -1);
    EXPECT_EQ(w->SentByBox()->currentIndex(), -1);
}

TEST_F(PrizeWinnerWindowTest, AMissingPrizeCanBeOpenedButOpensNothing) {
    auto winner = stored(contact(QStringLiteral("Cat")));
    bool ok = false;
    db().DeletePrize(prize_->Reference(), ok);
    ASSERT_TRUE(ok);
    frmPrizeWinner* w = open(winner);
    EXPECT_EQ(w->PrizeTitle()->text(), QStringLiteral("<Missing Prize>"));
    EXPECT_TRUE(w->OpenPrizeButton()->isEnabled());
    const int before = Forms::All().size();
    w->OpenPrizeButton()->click();
    EXPECT_EQ(Forms::All().size(), before);
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}

// Ticking "Sent By:" on an unsent winner keeps the moment shown; a sender who left the
// directory's users is kept when the winner is loaded and saved again.
TEST_F(PrizeWinnerWindowTest, TheSentMends) {
    frmPrizeWinner* w = open(stored(contact(QStringLiteral("Cat"))));
    w->SentBox()->click();
    ASSERT_TRUE(w->PrizeWinner()->SentDate().isValid());
    EXPECT_EQ(StoredDates::Text(w->PrizeWinner()->SentDate()), w->SentDateLabel()->text());
    EXPECT_EQ(w->PrizeWinner()->SentByReference(), ann_->Reference());
    ASSERT_TRUE(w->SavePrizeWinner());
    EXPECT_TRUE(db().GetPrizeWinner(w->PrizeWinner()->Reference())->SentDate().isValid());
    w->SentBox()->click();
    EXPECT_EQ(w->PrizeWinner()->SentByReference(), 0);

    // 4242 is no user of the directory.
    frmPrizeWinner* gone = open(stored(contact(QStringLiteral("Dan")), 4242));
    EXPECT_TRUE(gone->SentBox()->isChecked());
    EXPECT_EQ(gone->SentByBox()->currentIndex(), -1);
    EXPECT_EQ(gone->PrizeWinner()->SentByReference(), 4242);
    gone->PrizeWinner()->SetNotes(QStringLiteral("edited"));
    ASSERT_TRUE(gone->SavePrizeWinner());
    EXPECT_EQ(db().GetPrizeWinner(gone->PrizeWinner()->Reference())->SentByReference(), 4242);
}

TEST_F(PrizeWinnerWindowTest, SavingResolvesTheTypedName) {
    contact(QStringLiteral("Cat"));
    const qint32 obrien = contact(QStringLiteral("Sean O'Brien"));
    contact(QStringLiteral("Twin"));
    contact(QStringLiteral("Twin"));
    struct Case {
        const char* typed;
        bool stored;
        const char* message; // "" = none
    };
    const Case cases[] = {
        {"", false, "You must enter the name of the person that has won this Prize!"},
        {"   ", false, "You must enter the name of the person that has won this Prize!"},
        {"Sean O'Brien", true, ""},
    };
    for (const Case& c : cases) {
        TestMessageBoxes().clear();
        frmPrizeWinner* w = openNew();
        w->WinnerBox()->setEditText(QString::fromUtf8(c.typed));
        w->TypeAheadTimer()->stop();
        EXPECT_EQ(w->SavePrizeWinner(), c.stored) << c.typed;
        EXPECT_EQ(lastBox(), QString::fromUtf8(c.message)) << c.typed;
        EXPECT_EQ(w->PrizeWinner()->Reference() > 0, c.stored) << c.typed;
    }
    EXPECT_EQ(db().CountPrizesWon(obrien), 1);

    // Two of that name: the chooser searches for it; cancelling ends without a word.
    frmPrizeWinner* w = openNew();
    w->WinnerBox()->setEditText(QStringLiteral("twin"));
    QString searched;
    TestDialogs().queue([&searched](QDialog& d) {
        auto& chooser = dynamic_cast<frmChooseContact&>(d);
        searched = chooser.ctlContacts()->SearchText();
        chooser.cmdCancel()->click();
    });
    TestMessageBoxes().clear();
    EXPECT_FALSE(w->SavePrizeWinner());
    EXPECT_EQ(searched, QStringLiteral("twin"));
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    EXPECT_EQ(w->PrizeWinner()->Reference(), 0);
}

TEST_F(PrizeWinnerWindowTest, ANameNobodyHasIsAddedToTheDirectoryFirst) {
    const QString question = QStringLiteral(
        "There is no-one listed in the Contacts Directory with the name 'New Person' - Do you "
        "want to add them now?\n\nNote: You will not be able to save them as a Prize Winner "
        "until they are in the Contacts Directory.");
    frmPrizeWinner* w = openNew();
    w->WinnerBox()->setEditText(QStringLiteral("  New Person "));
    TestMessageBoxes().queue(MsgResult::No);
    EXPECT_FALSE(w->SavePrizeWinner());
    EXPECT_EQ(lastBox(), question);
    EXPECT_EQ(TestMessageBoxes().shown().back().defaultButton, 0);
    // The contact window closed without saving: nothing more is said.
    TestContactWindow::saves = false;
    TestMessageBoxes().clear();
    TestMessageBoxes().queue(MsgResult::Yes);
    EXPECT_FALSE(w->SavePrizeWinner());
    EXPECT_EQ(TestMessageBoxes().shown().size(), 1U);
    EXPECT_EQ(w->PrizeWinner()->Reference(), 0);
    TestContactWindow::saves = true;
    TestMessageBoxes().queue(MsgResult::Yes);
    w->WinnerBox()->setEditText(QStringLiteral("  New Person "));
    EXPECT_TRUE(w->SavePrizeWinner());
    const auto found =
        directory().FindContacts({{ContactField::Name, ContactMatch::Equals, "New Person"}});
    ASSERT_EQ(found.size(), 1U);
    EXPECT_EQ(w->PrizeWinner()->WinnerReference(), found.front()->Reference());
    EXPECT_EQ(w->WinnerBox()->currentText(), QStringLiteral("New Person"));
}

// Another studio gave the last unit away since this window opened.
TEST_F(PrizeWinnerWindowTest, AFullyAllocatedPrizeIsRefusedAndTheEditsKept) {
    prize_->SetNumberSupplied(1);
    bool ok = false;
    db().StorePrize(*prize_, ok);
    frmPrizeWinner* w = openNew();
    w->WinnerBox()->setEditText(QStringLiteral("Cat"));
    contact(QStringLiteral("Cat"));
    w->PrizeWinner()->SetNotes(QStringLiteral("keep me"));
    OrlixDatabase other;
    other.SetChangeWatch(0, 0);
    ASSERT_EQ(other.OpenDatabase(folder_), 0);
    auto elsewhere = other.NewPrizeWinner(*other.GetPrize(prize_->Reference()));
    other.StorePrizeWinner(*elsewhere, ok);
    ASSERT_TRUE(ok);
    EXPECT_FALSE(w->SavePrizeWinner());
    EXPECT_EQ(lastBox(), QStringLiteral("You cannot add any more Winners to this Prize because it "
                                        "has been fully allocated!"));
    EXPECT_EQ(TestMessageBoxes().shown().back().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(w->PrizeWinner()->Edited());
    EXPECT_EQ(w->PrizeWinner()->Notes(), QStringLiteral("keep me"));
}

TEST_F(PrizeWinnerWindowTest, TheTypeAheadSelectsOneWholeName) {
    const qint32 cat = contact(QStringLiteral("Cat Stevens"));
    contact(QStringLiteral("Twin"));
    contact(QStringLiteral("twin"));
    frmPrizeWinner* w = openNew();
    ASSERT_TRUE(ShowActive(*w));
    w->WinnerBox()->setFocus();
    type(w, QStringLiteral("  cat STEVENS "));
    EXPECT_EQ(w->WinnerDetails()->text(), QStringLiteral("<Waiting>"));
    EXPECT_EQ(w->PrizeWinner()->WinnerReference(), 0);
    EXPECT_TRUE(w->TypeAheadTimer()->isActive());
    ASSERT_TRUE(WaitFor([w] { return w->PrizeWinner()->WinnerReference() != 0; }));
    EXPECT_EQ(w->PrizeWinner()->WinnerReference(), cat);
    EXPECT_EQ(w->WinnerBox()->currentText(), QStringLiteral("Cat Stevens"));
    EXPECT_TRUE(w->WinnerDetails()->text().startsWith(QStringLiteral("Cat Stevens")));
    EXPECT_TRUE(w->OpenWinnerButton()->isEnabled());

    // Leaving the field resolves at once.
    type(w, QStringLiteral("CAT stevens"));
    EXPECT_EQ(w->PrizeWinner()->WinnerReference(), 0);
    w->SentBox()->setFocus();
    EXPECT_EQ(w->PrizeWinner()->WinnerReference(), cat);
    EXPECT_FALSE(w->TypeAheadTimer()->isActive());

    // Two of a name, or part of one, select nothing.
    for (const QString& text : {QStringLiteral("TWIN"), QStringLiteral("Cat")}) {
        w->WinnerBox()->setFocus();
        type(w, text);
        w->ResolveTypedWinner();
        EXPECT_EQ(w->PrizeWinner()->WinnerReference(), 0) << text.toStdString();
        EXPECT_EQ(w->WinnerDetails()->text(), QStringLiteral("<Waiting>"));
    }
}

// Typed with real keys and ended by Tab, Return or a click on OK, a name two contacts share
// (exactly, or only when letter case is ignored) stays unresolved: OK asks the chooser, which
// searches for that name, and stores the one chosen there. A name only one contact has resolves
// as typing ends, and an entry picked from the list is stored as it is.
TEST_F(PrizeWinnerWindowTest, TheEndOfTypingNeverPicksOneOfTwoContactsOfAName) {
    prize_->SetNumberSupplied(20);
    bool ok = false;
    db().StorePrize(*prize_, ok);
    ASSERT_TRUE(ok);
    const qint32 listener = contact(QStringLiteral("Ann Listener"));
    contact(QStringLiteral("Bob Caller"));
    const qint32 secondBob = contact(QStringLiteral("Bob Caller"));
    const qint32 upperTwin = contact(QStringLiteral("Twin Name"));
    contact(QStringLiteral("twin name"));
    enum class End { Tab, Return, ClickOk };
    struct Case {
        const char* what;
        const char* typed; // "" = the entry of `stored` picked from the list instead
        End end;
        qint32 chosen; // what the chooser picks; 0 = the chooser must not open
        qint32 stored;
    };
    const Case cases[] = {
        {"Bob, Tab", "Bob Caller", End::Tab, secondBob, secondBob},
        {"Bob, Return", "Bob Caller", End::Return, secondBob, secondBob},
        {"Bob, OK", "Bob Caller", End::ClickOk, secondBob, secondBob},
        {"case pair, Tab", "twin name", End::Tab, upperTwin, upperTwin},
        {"case pair, Return", "twin name", End::Return, upperTwin, upperTwin},
        {"case pair, OK", "twin name", End::ClickOk, upperTwin, upperTwin},
        {"one listener, Tab", "ann listener", End::Tab, 0, listener},
        {"the second Bob picked", "", End::ClickOk, 0, secondBob},
    };
    const auto clickOk = [](frmPrizeWinner* w) {
        QTest::mouseClick(w->OkButton(), Qt::LeftButton);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QString searched;
        const int wonBefore = db().CountPrizesWon(c.stored);
        int wonWhenAsked = -1;
        if (c.chosen > 0) {
            TestDialogs().queue([&](QDialog& d) {
                auto& chooser = dynamic_cast<frmChooseContact&>(d);
                searched = chooser.ctlContacts()->SearchText();
                wonWhenAsked = db().CountPrizesWon(c.chosen);
                chooser.ctlContacts()->SetSelectedReference(c.chosen);
                chooser.cmdOK()->click();
            });
        }
        const int choosers = TestDialogs().shownCount(QStringLiteral("frmChooseContact"));
        QPointer<frmPrizeWinner> w = openNew();
        const auto record = w->PrizeWinner();
        ASSERT_TRUE(ShowActive(*w));
        QComboBox* field = w->WinnerBox();
        field->setFocus();
        ASSERT_TRUE(WaitFor([field] { return field->hasFocus(); }));
        if (*c.typed != '\0') {
            QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(c.typed));
        } else {
            // Opened with a click on its arrow, the list takes a click on an entry once the
            // opening click can no longer be taken for it.
            QTest::mouseClick(field, Qt::LeftButton, {},
                              QPoint(field->width() - 4, field->height() / 2));
            QAbstractItemView* list = field->view();
            QElapsedTimer opened;
            opened.start();
            ASSERT_TRUE(WaitFor([&] {
                return list->isVisible() && opened.elapsed() > QApplication::doubleClickInterval();
            }));
            const QRect entry = list->visualRect(
                field->model()->index(field->findData(c.stored), field->modelColumn()));
            QTest::mouseMove(list->viewport(), entry.center());
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry.center());
            ASSERT_TRUE(WaitFor([list] { return !list->isVisible(); }));
            EXPECT_EQ(record->WinnerReference(), c.stored);
        }
        switch (c.end) {
        case End::Tab:
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_FALSE(field->hasFocus());
            if (c.chosen > 0) {
                EXPECT_EQ(record->WinnerReference(), 0);
                EXPECT_EQ(w->WinnerDetails()->text(), QStringLiteral("<Waiting>"));
            } else {
                EXPECT_EQ(record->WinnerReference(), c.stored);
                EXPECT_TRUE(w->WinnerDetails()->text().startsWith(QStringLiteral("Ann Listener")));
            }
            clickOk(w);
            break;
        case End::Return:
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            break;
        case End::ClickOk:
            clickOk(w);
            break;
        }
        EXPECT_EQ(TestDialogs().shownCount(QStringLiteral("frmChooseContact")) - choosers,
                  c.chosen > 0 ? 1 : 0);
        if (c.chosen > 0) {
            EXPECT_EQ(searched, QString::fromUtf8(c.typed));
            EXPECT_EQ(wonWhenAsked, wonBefore);
        }
        ASSERT_GT(record->Reference(), 0);
        EXPECT_EQ(db().GetPrizeWinner(record->Reference())->WinnerReference(), c.stored);
        EXPECT_TRUE(WaitFor([&w] { return w.isNull(); }));
    }
}

TEST_F(PrizeWinnerWindowTest, TheWinnerDetails) {
    const qint32 cat = contact(QStringLiteral("Cat"), QString(), QStringLiteral("1 Road"));
    const qint32 blank = contact(QStringLiteral("   "));
    // Picking the current winner again leaves the details alone.
    frmPrizeWinner* w = open(stored(cat));
    w->WinnerDetails()->setText(QStringLiteral("left alone"));
    const int index = w->WinnerBox()->findData(cat);
    w->WinnerBox()->setCurrentIndex(index);
    Q_EMIT w->WinnerBox()->activated(index);
    EXPECT_EQ(w->WinnerDetails()->text(), QStringLiteral("left alone"));
    // A contact without a summary shows the field's text.
    frmPrizeWinner* noSummary = open(stored(blank));
    EXPECT_EQ(noSummary->WinnerDetails()->text(), QStringLiteral("   "));
    // A winner the directory lost.
    frmPrizeWinner* lost = open(stored(9999));
    EXPECT_EQ(lost->WinnerDetails()->text(), QStringLiteral("<Not found>"));
    EXPECT_EQ(lost->WinnerBox()->currentText(), QString());
    EXPECT_FALSE(lost->OpenWinnerButton()->isEnabled());
}

// The details take the height of their lines (or of the Label button beside them): no empty
// band under a one-line "<Waiting>", and every line of a long summary shows.
TEST_F(PrizeWinnerWindowTest, TheDetailsTakeTheHeightOfTheirLines) {
    auto full = directory().CreateContact();
    full->SetName(QStringLiteral("Cat"));
    full->SetCompany(QStringLiteral("Cat & Co"));
    full->SetPhoneNumber1(QStringLiteral("01632 960001"));
    full->SetPhoneNumber2(QStringLiteral("01632 960002"));
    full->SetMobileNumber(QStringLiteral("07700 900123"));
    full->SetEmail1(QStringLiteral("cat@example.org"));
    full->SetEmail2(QStringLiteral("co@example.org"));
    bool ok = false;
    directory().SaveContact(0, full, true, true, ok);
    ASSERT_TRUE(ok);
    const struct {
        const char* what;
        std::function<frmPrizeWinner*()> window;
        // Run once the window shows.
        std::function<void(frmPrizeWinner*)> then;
    } cases[] = {
        {"waiting",
         [this] {
             frmPrizeWinner* w = openNew();
             w->WinnerBox()->setEditText(QStringLiteral("Ca"));
             EXPECT_EQ(w->WinnerDetails()->text(), QStringLiteral("<Waiting>"));
             return w;
         },
         nullptr},
        {"seven lines", [this, &full] { return open(stored(full->Reference())); }, nullptr},
        {"resolved when shown", [this] { return openNew(); },
         [](frmPrizeWinner* w) {
             w->WinnerBox()->setEditText(QStringLiteral("cat"));
             w->ResolveTypedWinner();
             EXPECT_TRUE(w->WinnerDetails()->text().startsWith(QStringLiteral("Cat")));
         }},
    };
    for (const auto& c : cases) {
        frmPrizeWinner* w = c.window();
        w->show();
        if (c.then) {
            c.then(w);
        }
        w->layout()->activate();
        const QLabel* details = w->WinnerDetails();
        // What the text alone needs at that width.
        QLabel text(details->text());
        text.setFont(details->font());
        text.setWordWrap(true);
        const int lines = text.heightForWidth(details->width());
        EXPECT_GE(details->height(), lines) << c.what;
        EXPECT_LE(details->height(), std::max(lines, w->PrintLabelButton()->height())) << c.what;
    }
}

TEST_F(PrizeWinnerWindowTest, ButtonsDeleteAndTheCloseQuestion) {
    const qint32 cat = contact(QStringLiteral("Cat"));
    frmPrizeWinner* w = open(stored(cat));
    w->PrizeWinner()->SetNotes(QStringLiteral("x"));
    EXPECT_TRUE(w->ApplyButton()->isEnabled());
    EXPECT_FALSE(w->DeleteButton()->isEnabled());
    w->PrizeWinner()->SetEdited(false);
    EXPECT_TRUE(w->DeleteButton()->isEnabled());

    // Delete: nothing for a new record, No keeps it, Yes closes without the save question.
    frmPrizeWinner* fresh = openNew();
    fresh->DeleteWinner();
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    const qint32 reference = w->PrizeWinner()->Reference();
    QPointer<frmPrizeWinner> alive(w);
    w->show();
    TestMessageBoxes().queue(MsgResult::No);
    w->DeleteWinner();
    EXPECT_EQ(lastBox(), QStringLiteral("Are you sure you want to remove this Winner from this "
                                        "Prize?"));
    EXPECT_EQ(TestMessageBoxes().shown().back().defaultButton, 1);
    EXPECT_NE(db().GetPrizeWinner(reference), nullptr);
    TestMessageBoxes().clear();
    TestMessageBoxes().queue(MsgResult::Yes);
    w->DeleteWinner();
    EXPECT_EQ(TestMessageBoxes().shown().size(), 1U);
    EXPECT_EQ(db().GetPrizeWinner(reference), nullptr);
    EXPECT_TRUE(WaitFor([&alive] { return alive.isNull(); }));

    struct Case {
        MsgResult answer;
        const char* name;
        bool closes;
        bool stored;
    };
    for (const Case& c :
         {Case{MsgResult::Cancel, "Cat", false, false}, Case{MsgResult::No, "Cat", true, false},
          Case{MsgResult::Yes, "Cat", true, true},
          // A save that fails keeps the window.
          Case{MsgResult::Yes, " ", false, false}}) {
        TestMessageBoxes().clear();
        const qint32 before = db().CountPrizesWon(cat);
        QPointer<frmPrizeWinner> q = openNew();
        q->show();
        q->WinnerBox()->setEditText(QString::fromUtf8(c.name));
        q->TypeAheadTimer()->stop();
        TestMessageBoxes().queue(c.answer);
        q->reject();
        ASSERT_FALSE(TestMessageBoxes().shown().empty());
        EXPECT_EQ(TestMessageBoxes().shown().front().text,
                  QStringLiteral("This Prize has been edited. Do you want to save the changes?"));
        if (c.closes) {
            EXPECT_TRUE(WaitFor([&q] { return q.isNull() || !q->isVisible(); }));
        } else {
            EXPECT_TRUE(q->isVisible());
        }
        EXPECT_EQ(db().CountPrizesWon(cat), before + (c.stored ? 1 : 0));
        if (q) {
            delete q.data();
        }
    }
}

TEST_F(PrizeWinnerWindowTest, TheAddressLabel) {
    const qint32 plain =
        contact(QStringLiteral("Cat"), QString(), QStringLiteral("1 Road\r\nTown"));
    const qint32 firm =
        contact(QStringLiteral("Dan"), QStringLiteral("Dan Ltd"), QStringLiteral("2 Road"));
    const qint32 homeless = contact(QStringLiteral("Eve"));
    EXPECT_EQ(frmPrizeWinner::AddressLabelText(*directory().GetContact(plain, true, true)),
              QStringLiteral("Cat\r\n1 Road\r\nTown"));
    EXPECT_EQ(frmPrizeWinner::AddressLabelText(*directory().GetContact(firm, true, true)),
              QStringLiteral("Dan\r\nDan Ltd\r\n2 Road"));

    open(stored(homeless))->PrintAddressLabel();
    EXPECT_EQ(lastBox(), QStringLiteral("The selected Winner does not have any address details in "
                                        "the Contacts Directory!"));
    open(stored(9999))->PrintAddressLabel();
    EXPECT_EQ(lastBox(),
              QStringLiteral("The selected Winner cannot be found in the Contacts Directory"));

    QStringList captions;
    bool modal = false;
    TestDialogs().queue([&](QDialog& d) {
        auto& sheet = dynamic_cast<frmAddressLabels&>(d);
        modal = sheet.isModal();
        for (int n = 1; n <= sheet.GridSlots(); ++n) {
            captions << sheet.Caption(n);
        }
    });
    open(stored(firm))->PrintLabelButton()->click();
    EXPECT_TRUE(modal);
    ASSERT_FALSE(captions.isEmpty());
    for (const QString& caption : captions) {
        EXPECT_EQ(caption, QStringLiteral("Dan\r\nDan Ltd\r\n2 Road"));
    }
}

// The prize window's Add opens this window on a new winner of the prize.
TEST_F(PrizeWinnerWindowTest, ThePrizeWindowOpensIt) {
    QPointer<QWidget> prizeWindow = OpenPrize(db().GetPrize(prize_->Reference()));
    auto* prize = qobject_cast<frmPrize*>(prizeWindow.data());
    ASSERT_NE(prize, nullptr);
    prize->AddWinner();
    frmPrizeWinner* found = nullptr;
    for (QWidget* w : Forms::All()) {
        if (auto* f = qobject_cast<frmPrizeWinner*>(w)) {
            found = f;
        }
    }
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->PrizeWinner()->PrizeReference(), prize_->Reference());
    EXPECT_EQ(found->PrizeWinner()->Reference(), 0);
    const QString shots = qEnvironmentVariable("ORLIX_SCREENSHOTS");
    found->WinnerBox()->setEditText(QStringLiteral("Cat"));
    const QImage image = found->grab().toImage();
    EXPECT_FALSE(image.isNull());
    if (!shots.isEmpty()) {
        EXPECT_TRUE(image.save(shots + QStringLiteral("/prize-winner.png")));
    }
}

} // namespace
