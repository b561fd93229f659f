#include "contacts/contactswindows.h"
#include "contacts/frmprize.h"
#include "contacts/prizeweekgrid.h"
#include "core/orlixcommon.h"
#include "core/program.h"
#include "core/windows/windowopeners.h"
#include "core/windows/windowregistry.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/hourpatterndialogs.h"
#include "platform/messagesdb/messagesstorage.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"
#include "platform/system/appinfo.h"
#include "platform/ui/forms.h"
#include "support/enterbox.h"
#include "support/pictures.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStyle>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Stands in for the contact window: the user saves the contact as soon as it is shown.
class SavingContactWindow : public QWidget, public ContactWindow {
public:
    std::shared_ptr<DirectoryContact> Contact() const override { return contact_; }
    void SetContact(const std::shared_ptr<DirectoryContact>& c) override {
        contact_ = c;
        bool ok = false;
        Program::Instance().Directory()->SaveContact(0, c, true, true, ok);
    }

private:
    std::shared_ptr<DirectoryContact> contact_;
};

// Answers the next "Save Hours" box with a name (none: Cancel).
void nameTheHours(const QString& name) {
    TestDialogs().queue([name](QDialog& d) {
        auto& ask = dynamic_cast<HourPatternNameDialog&>(d);
        if (name.isNull()) {
            ask.reject();
            return;
        }
        ask.NameBox()->setText(name);
        ask.accept();
    });
}

// Answers the next "Choose Hours": records the names offered, selects one (none: Cancel) and
// presses OK, or Delete first when asked.
void chooseHours(const QString& name, QStringList* offered = nullptr, bool deleteIt = false) {
    TestDialogs().queue([=](QDialog& d) {
        auto& chooser = dynamic_cast<HourPatternChooser&>(d);
        QListWidget* list = chooser.Names();
        if (offered != nullptr) {
            offered->clear();
            for (int i = 0; i < list->count(); ++i) {
                offered->append(list->item(i)->text());
            }
        }
        EXPECT_FALSE(chooser.OkButton()->isEnabled());
        if (name.isNull()) {
            chooser.reject();
            return;
        }
        const auto found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        found.front()->setSelected(true);
        EXPECT_TRUE(chooser.OkButton()->isEnabled());
        if (deleteIt) {
            chooser.DeleteButton()->click();
            chooser.reject();
            return;
        }
        chooser.OkButton()->click();
    });
}

class PrizeWindowTest : public ::testing::Test {
protected:
    static Program& program() { return Program::Instance(); }

    void SetUp() override {
        program().SetOptions(StartupOptions::Parse(QStringLiteral("/NOPREVCHECK /Profile=Studio")));
        ASSERT_TRUE(InitialiseOrlix(QStringLiteral("SOFTWARE\\Kestova\\Orlix v1\\Client"), false));
        UnloadSplash();
        program().Windows().SetShower([](QWidget* w, bool) { w->show(); });
        InstallContactsWindows(program().Windows());
        QString refusal;
        auto user = directory().CreateFirstUser(QStringLiteral("Ann"), QStringLiteral("ann"),
                                                QString(), &refusal);
        ASSERT_TRUE(user) << refusal.toStdString();
        bool ok = false;
        directory().LoginContact(user, 1, AppInfo::ProductName(), ok);
        folder_ = TestHome() + QStringLiteral("/db");
        QDir().mkpath(folder_);
        auto db = std::make_unique<OrlixDatabase>();
        db->SetChangeWatch(0, 0);
        ASSERT_EQ(db->OpenDatabase(folder_), 0);
        program().SetDatabase(std::move(db));
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

    std::shared_ptr<OrlixPrize> storedPrize(qint32 supplied, int winners) {
        auto prize = db().NewPrize();
        prize->SetTitle(QStringLiteral("Tickets"));
        prize->SetNumberSupplied(supplied);
        bool ok = false;
        db().StorePrize(*prize, ok);
        EXPECT_TRUE(ok);
        for (int i = 0; i < winners; ++i) {
            auto w = db().NewPrizeWinner(*prize);
            db().StorePrizeWinner(*w, ok);
            EXPECT_TRUE(ok);
        }
        return db().GetPrize(prize->Reference());
    }
    qint32 storedContact(const QString& name, const QString& email2 = QString(),
                         const QString& mobile = QString()) {
        auto c = directory().CreateContact();
        c->SetName(name);
        c->SetEmail2(email2);
        c->SetMobileNumber(mobile);
        bool ok = false;
        directory().SaveContact(0, c, true, true, ok);
        EXPECT_TRUE(ok);
        return c->Reference();
    }
    frmPrize* open(const std::shared_ptr<OrlixPrize>& prize) {
        auto* w = new frmPrize();
        Forms::Add(w);
        w->LoadPrize(prize);
        return w;
    }
    static QString lastBox() {
        return TestMessageBoxes().shown().empty() ? QString()
                                                  : TestMessageBoxes().shown().back().text;
    }
    QString folder_;
};

TEST_F(PrizeWindowTest, TheCaptionFollowsTheTitle) {
    frmPrize* w = open(storedPrize(1, 0));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Prize - Tickets"));
    w->TitleBox()->setText(QStringLiteral("   "));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Untitled Prize"));
    EXPECT_EQ(w->Prize()->Title(), QString());
    EXPECT_FALSE(w->SavePrize());
    EXPECT_EQ(lastBox(), QStringLiteral("You must enter a Title for this Prize!"));
    w->ClearButton()->click();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Untitled Prize"));
    EXPECT_EQ(w->ReferenceLabel()->text(), QString());
}

// Clicking or tabbing into the title or the number supplied selects it: typing replaces it.
TEST_F(PrizeWindowTest, EnteringTheTitleOrTheNumberSelectsItToBeTypedOver) {
    frmPrize* w = open(storedPrize(5, 0));
    w->TitleBox()->setText(QStringLiteral("Mug"));
    ASSERT_TRUE(ShowActive(*w));
    for (QLineEdit* box : {w->TitleBox(), w->NumberSuppliedBox()}) {
        for (const Entry how : {Entry::Click, Entry::Tab}) {
            SCOPED_TRACE(std::string(box == w->TitleBox() ? "title, " : "number, ") + NameOf(how));
            box->setText(box == w->TitleBox() ? QStringLiteral("Mug") : QStringLiteral("5"));
            w->OkButton()->setFocus();
            ASSERT_TRUE(EnterBox(box, how));
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("10"));
            EXPECT_EQ(box->text(), QStringLiteral("10"));
        }
    }
}

TEST_F(PrizeWindowTest, SuppliedBelowTheWinnersStoresTheirCount) {
    frmPrize* w = open(storedPrize(3, 2));
    w->NumberSuppliedBox()->setText(QStringLiteral("1"));
    EXPECT_EQ(w->Prize()->NumberSupplied(), 2);
    Q_EMIT w->NumberSuppliedBox()->editingFinished();
    EXPECT_EQ(w->NumberSuppliedBox()->text(), QStringLiteral("2"));
    // More than nine digits cannot be typed.
    QLineEdit* box = w->NumberSuppliedBox();
    box->clear();
    QTest::keyClicks(box, QStringLiteral("12345678901"));
    EXPECT_EQ(box->text(), QStringLiteral("123456789"));
}

TEST_F(PrizeWindowTest, SavingWithNoneSuppliedAsksFirst) {
    frmPrize* w = open(nullptr);
    w->TitleBox()->setText(QStringLiteral("Mug"));
    TestMessageBoxes().queue(MsgResult::No);
    EXPECT_FALSE(w->SavePrize());
    EXPECT_TRUE(lastBox().startsWith(QStringLiteral("Warning - you have not entered")));
    EXPECT_EQ(w->Prize()->Reference(), 0);
    TestMessageBoxes().queue(MsgResult::Yes);
    EXPECT_TRUE(w->SavePrize());
    EXPECT_GT(w->Prize()->Reference(), 0);
    EXPECT_EQ(db().GetPrize(w->Prize()->Reference())->NumberSupplied(), 0);
}

TEST_F(PrizeWindowTest, DeleteAsksAgainWithTheNumberOfWinners) {
    frmPrize* fresh = open(nullptr);
    fresh->DeletePrize();
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    struct Case {
        int winners;
        const char* says;
    };
    for (const Case& c : {Case{1, "1 winner!"}, Case{3, "3 winners!"}}) {
        TestMessageBoxes().clear();
        frmPrize* w = open(storedPrize(5, c.winners));
        const qint32 reference = w->Prize()->Reference();
        TestMessageBoxes().queue(MsgResult::Yes);
        TestMessageBoxes().queue(MsgResult::No);
        w->DeletePrize();
        ASSERT_EQ(TestMessageBoxes().shown().size(), 2U);
        EXPECT_TRUE(TestMessageBoxes().shown()[1].text.contains(QString::fromUtf8(c.says)));
        EXPECT_EQ(TestMessageBoxes().shown()[1].defaultButton, 1);
        EXPECT_NE(db().GetPrize(reference), nullptr);
        QPointer<frmPrize> alive(w);
        TestMessageBoxes().queue(MsgResult::Yes);
        TestMessageBoxes().queue(MsgResult::Yes);
        w->DeletePrize();
        EXPECT_EQ(db().GetPrize(reference), nullptr);
    }
}

// "# Wins" keeps its 800 twips and "Contact" takes the rest of the list, at the size the
// window opens with and wider: a winner's address is not cut for the count beside it.
TEST_F(PrizeWindowTest, TheContactColumnTakesTheRestOfTheWinnersList) {
    auto prize = storedPrize(2, 0);
    auto winner = db().NewPrizeWinner(*prize);
    winner->SetWinnerReference(
        storedContact(QStringLiteral("Carol"), QStringLiteral("carol@example.org")));
    bool ok = false;
    db().StorePrizeWinner(*winner, ok);
    ASSERT_TRUE(ok);
    frmPrize* w = open(db().GetPrize(prize->Reference()));
    w->show();
    QTreeWidget* list = w->Winners();
    w->Tabs()->setCurrentIndex(3);
    ASSERT_TRUE(WaitFor([list] { return list->isVisible(); }));
    const int opened = w->width();
    for (const int width : {opened, opened + 300}) {
        SCOPED_TRACE(width);
        w->resize(width, w->height());
        ASSERT_TRUE(WaitFor([&] {
            return list->columnWidth(3) == list->viewport()->width() - list->columnWidth(0) -
                                               list->columnWidth(1) - list->columnWidth(2) -
                                               list->columnWidth(4);
        }));
        EXPECT_EQ(list->columnWidth(4), 53); // 800 twips
        const int margins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
        EXPECT_GE(list->columnWidth(3),
                  list->fontMetrics().horizontalAdvance(QStringLiteral("carol@example.org")) +
                      margins);
    }
}

TEST_F(PrizeWindowTest, ButtonsFollowTheEditedState) {
    frmPrize* w = open(storedPrize(2, 0));
    EXPECT_FALSE(w->ApplyButton()->isEnabled());
    EXPECT_TRUE(w->DeleteButton()->isEnabled());
    w->Prize()->SetNotes(QStringLiteral("x"));
    EXPECT_TRUE(w->ApplyButton()->isEnabled());
    EXPECT_FALSE(w->DeleteButton()->isEnabled());
    frmPrize* unstored = open(nullptr);
    for (QPushButton* b :
         {unstored->AddWinnerButton(), unstored->ShowWinnerButton(), unstored->RemoveWinnerButton(),
          unstored->EMailWinnerButton(), unstored->PrintWinnersButton()}) {
        EXPECT_FALSE(b->isEnabled());
    }
}

TEST_F(PrizeWindowTest, TheWinnersListShowsEachWinnersContact) {
    auto prize = storedPrize(5, 0);
    const qint32 mailOnly = storedContact(QStringLiteral("Cat"), QStringLiteral("cat@x.example"));
    const qint32 mobileOnly =
        storedContact(QStringLiteral("Bob"), QString(), QStringLiteral("0777"));
    bool ok = false;
    for (qint32 who : {mailOnly, mobileOnly, 0, mailOnly}) {
        auto w = db().NewPrizeWinner(*prize);
        w->SetWinnerReference(who);
        db().StorePrizeWinner(*w, ok);
        ASSERT_TRUE(ok);
    }
    frmPrize* w = open(db().GetPrize(prize->Reference()));
    QTreeWidget* list = w->Winners();
    ASSERT_EQ(list->topLevelItemCount(), 4);
    EXPECT_EQ(w->NumberWinnersLabel()->text(), QStringLiteral("4"));
    struct Row {
        const char* position;
        const char* name;
        const char* contact;
        const char* wins;
    };
    const Row rows[] = {{"1", "Cat", "cat@x.example", "(2)"},
                        {"2", "Bob", "", "(1)"},
                        {"3", "<Missing Contact>", "", ""},
                        {"4", "Cat", "cat@x.example", "(2)"}};
    for (int i = 0; i < 4; ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        EXPECT_EQ(item->text(0), QString::fromUtf8(rows[i].position));
        EXPECT_EQ(item->text(1), QString::fromUtf8(rows[i].name));
        EXPECT_EQ(item->text(3), QString::fromUtf8(rows[i].contact));
        EXPECT_EQ(item->text(4), QString::fromUtf8(rows[i].wins));
        EXPECT_TRUE(item->data(0, Qt::UserRole).toString().startsWith(QLatin1Char('w')));
    }
    EXPECT_EQ(list->headerItem()->text(4), QStringLiteral("# Wins"));

    // Removing the second renumbers the rest from 1.
    list->setCurrentItem(list->topLevelItem(1));
    EXPECT_TRUE(w->RemoveWinnerButton()->isEnabled());
    TestMessageBoxes().queue(MsgResult::Yes);
    w->RemoveWinner();
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->topLevelItem(1)->text(0), QStringLiteral("2"));
    EXPECT_EQ(list->topLevelItem(1)->text(1), QStringLiteral("<Missing Contact>"));
}

// The second studio's window still shows room, but the list is read again first.
TEST_F(PrizeWindowTest, AddingRereadsTheWinnersBeforeTheRules) {
    auto prize = storedPrize(1, 0);
    frmPrize* w = open(prize);
    OrlixDatabase other;
    other.SetChangeWatch(0, 0);
    ASSERT_EQ(other.OpenDatabase(folder_), 0);
    auto elsewhere = other.NewPrizeWinner(*prize);
    bool ok = false;
    other.StorePrizeWinner(*elsewhere, ok);
    ASSERT_TRUE(ok);
    w->AddWinner();
    EXPECT_EQ(lastBox(), QStringLiteral("You cannot add any more Winners to this Prize because "
                                        "it has been fully allocated!"));
    EXPECT_EQ(w->Winners()->topLevelItemCount(), 1);
}

TEST_F(PrizeWindowTest, AClickSwitchesAnHourAndEditsThePrize) {
    auto prize = storedPrize(1, 0);
    prize->SetHourRestrictions(1, QStringLiteral("ABX"));
    bool ok = false;
    db().StorePrize(*prize, ok);
    frmPrize* w = open(db().GetPrize(prize->Reference()));
    PrizeWeekGrid* grid = w->Week();
    EXPECT_TRUE(grid->CellAvailable({1, 1}));
    EXPECT_FALSE(grid->CellAvailable({1, 3}));
    EXPECT_TRUE(grid->CellAvailable({1, 24}));
    w->show();
    const QRect cell = grid->visualItemRect(grid->item(0, 2));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_TRUE(grid->CellAvailable({1, 3}));
    EXPECT_TRUE(w->Prize()->HourAllowed(1, 2));
    EXPECT_TRUE(w->Prize()->Edited());
}

TEST_F(PrizeWindowTest, ThePrizeWindowIsRegisteredForTheOpeners) {
    auto prize = storedPrize(1, 0);
    QPointer<QWidget> shown = OpenPrize(prize);
    ASSERT_FALSE(shown.isNull());
    auto* window = qobject_cast<frmPrize*>(shown.data());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Prize()->Reference(), prize->Reference());
}

// A window brought back to the front shows what was stored elsewhere, unless it holds edits.
TEST_F(PrizeWindowTest, ActivationShowsWinnersStoredElsewhereAndKeepsEdits) {
    auto prize = storedPrize(3, 0);
    frmPrize* w = open(prize);
    OrlixDatabase other;
    other.SetChangeWatch(0, 0);
    ASSERT_EQ(other.OpenDatabase(folder_), 0);
    const auto storeElsewhere = [&] {
        auto winner = other.NewPrizeWinner(*prize);
        bool ok = false;
        other.StorePrizeWinner(*winner, ok);
        ASSERT_TRUE(ok);
    };
    const auto activate = [w] {
        QEvent e(QEvent::WindowActivate);
        QCoreApplication::sendEvent(w, &e);
    };
    storeElsewhere();
    activate();
    EXPECT_EQ(w->Winners()->topLevelItemCount(), 1);
    w->TitleBox()->setText(QStringLiteral("Edited here"));
    storeElsewhere();
    activate();
    EXPECT_EQ(w->TitleBox()->text(), QStringLiteral("Edited here"));
    EXPECT_EQ(w->Winners()->topLevelItemCount(), 1);
}

TEST_F(PrizeWindowTest, TheCloseQuestionsThreeAnswers) {
    struct Case {
        MsgResult answer;
        const char* title;
        bool closes;
        bool stored;
    };
    for (const Case& c :
         {Case{MsgResult::Cancel, "New", false, false}, Case{MsgResult::No, "New", true, false},
          Case{MsgResult::Yes, "New", true, true},
          // A save that fails keeps the window.
          Case{MsgResult::Yes, "  ", false, false}}) {
        TestMessageBoxes().clear();
        auto prize = storedPrize(2, 0);
        QPointer<frmPrize> w = open(prize);
        w->show();
        w->TitleBox()->setText(QString::fromUtf8(c.title));
        TestMessageBoxes().queue(c.answer);
        w->reject();
        ASSERT_FALSE(TestMessageBoxes().shown().empty());
        EXPECT_EQ(TestMessageBoxes().shown().front().text,
                  QStringLiteral("This Prize has been edited. Do you want to save the changes?"));
        EXPECT_EQ(w->isVisible(), !c.closes);
        EXPECT_EQ(db().GetPrize(prize->Reference())->Title() == QStringLiteral("New"), c.stored);
        if (w) {
            delete w.data();
        }
    }
}

// Friday 18:00 back to Monday 9:00: the block takes the anchor's new state, whatever it showed.
TEST_F(PrizeWindowTest, ADragSwitchesTheWholeBlock) {
    frmPrize* w = open(storedPrize(1, 0));
    w->show();
    PrizeWeekGrid* grid = w->Week();
    grid->scrollToItem(grid->item(0, 0));
    const QPoint anchor = grid->visualItemRect(grid->item(4, 18)).center();
    const QPoint far = grid->visualItemRect(grid->item(0, 9)).center();
    // One cell inside the block starts red.
    w->Prize()->SetHour(3, 12, false);
    w->ShowHourRestrictions();
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, anchor);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, far);
    for (int day = 1; day <= 7; ++day) {
        for (int hour = 0; hour < 24; ++hour) {
            const bool inBlock = day <= 5 && hour >= 9 && hour <= 18;
            EXPECT_EQ(w->Prize()->HourAllowed(day, hour), !inBlock) << day << " " << hour;
        }
    }
}

// The picture of each tab shows the prize's values whole, the hours in their colours and the
// winner's name and contact unelided. With ORLIX_SCREENSHOTS set, each tab is also saved as a
// picture in that folder.
TEST_F(PrizeWindowTest, EachTabShowsThePrize) {
    auto prize = storedPrize(3, 0);
    prize->SetTitle(QStringLiteral("Concert Tickets"));
    prize->SetScript(QStringLiteral("Two tickets for Friday"));
    prize->SetNotes(QStringLiteral("Collect from reception"));
    prize->SetNotesToSupplier(QStringLiteral("Send the tickets by post"));
    prize->SetStartDate(QDateTime(QDate(2026, 3, 2), QTime(0, 0)));
    // Monday from 9 to 17, Saturday all day; every other hour is closed.
    for (int day = 1; day <= 7; ++day) {
        prize->SetHourRestrictions(day, day == 1   ? QStringLiteral("JKLMNOPQR")
                                        : day == 6 ? QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWX")
                                                   : QStringLiteral("-"));
    }
    bool ok = false;
    db().StorePrize(*prize, ok);
    ASSERT_TRUE(ok);
    const QString name = QStringLiteral("Catherine Listener-Smith");
    const QString contact = QStringLiteral("catherine.listener@example.org");
    const qint32 winner = storedContact(name, contact);
    auto w = db().NewPrizeWinner(*prize);
    w->SetWinnerReference(winner);
    db().StorePrizeWinner(*w, ok);
    ASSERT_TRUE(ok);
    frmPrize* window = open(db().GetPrize(prize->Reference()));
    window->show();
    const QString shots = qEnvironmentVariable("ORLIX_SCREENSHOTS");
    QTabWidget* tabs = window->Tabs();
    const auto grabbed = [&] {
        if (QWidget* focus = window->focusWidget()) {
            focus->clearFocus(); // no caret or selection over the text
        }
        QApplication::processEvents();
        return window->grab().toImage();
    };
    // A box's text over its base, a label's over the window.
    const auto showsBox = [&](const QImage& image, QWidget* box, const QString& text) {
        const QRect area = Pictures::RectIn(window, box).adjusted(3, 3, -3, -3);
        return box->isVisible() &&
               Pictures::ShowsWholeText(image, area, box->palette().color(QPalette::Base),
                                        box->font(), text);
    };
    const auto showsLabel = [&](const QImage& image, QLabel* label, const QString& text) {
        const QRect area = Pictures::RectIn(window, label);
        return label->isVisible() && label->text() == text &&
               Pictures::ShowsWholeText(image, area, image.pixelColor(area.topLeft()),
                                        label->font(), text);
    };
    const auto plainBox = [&](const QString& text) -> QWidget* {
        for (auto* box : window->findChildren<QPlainTextEdit*>()) {
            if (box->toPlainText() == text) {
                return box->viewport();
            }
        }
        return nullptr;
    };

    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        const QImage image = grabbed();
        ASSERT_FALSE(image.isNull());
        const QString tab = tabs->tabText(i).remove(QLatin1Char('&'));
        if (tab == QStringLiteral("General")) {
            EXPECT_TRUE(showsBox(image, window->TitleBox(), QStringLiteral("Concert Tickets")));
            EXPECT_TRUE(showsBox(image, window->NumberSuppliedBox(), QStringLiteral("3")));
            EXPECT_TRUE(showsLabel(image, window->NumberWinnersLabel(), QStringLiteral("1")));
            EXPECT_TRUE(
                showsLabel(image, window->ReferenceLabel(), QString::number(prize->Reference())));
            QWidget* script = plainBox(QStringLiteral("Two tickets for Friday"));
            ASSERT_NE(script, nullptr);
            EXPECT_TRUE(showsBox(image, script, QStringLiteral("Two tickets for Friday")));
        } else if (tab == QStringLiteral("Availability")) {
            auto* from = window->findChildren<QDateEdit*>().value(0);
            ASSERT_NE(from, nullptr);
            EXPECT_EQ(from->date(), QDate(2026, 3, 2));
            EXPECT_TRUE(showsBox(image, from->findChild<QLineEdit*>(), from->text()));
            PrizeWeekGrid* grid = window->Week();
            for (int day = 1; day <= 7; ++day) {
                for (int hour = 0; hour < 24; ++hour) {
                    const bool open = (day == 1 && hour >= 9 && hour <= 17) || day == 6;
                    const QRect cell =
                        grid->visualItemRect(grid->item(day - 1, hour))
                            .translated(grid->viewport()->mapTo(window, QPoint(0, 0)));
                    ASSERT_TRUE(Pictures::LiesWhole(window, grid)) << day << " " << hour;
                    ASSERT_TRUE(QRect(QPoint(0, 0), grid->viewport()->size())
                                    .contains(grid->visualItemRect(grid->item(day - 1, hour))))
                        << day << " " << hour;
                    const QColor shown = image.pixelColor(cell.center());
                    const QColor wanted = open ? QColor(0, 255, 0) : QColor(255, 0, 0);
                    EXPECT_FALSE(Pictures::Differs(shown, wanted, 12))
                        << day << " " << hour << " " << shown.name().toStdString();
                }
            }
        } else if (tab == QStringLiteral("Notes")) {
            for (const QString& text : {QStringLiteral("Collect from reception"),
                                        QStringLiteral("Send the tickets by post")}) {
                QWidget* box = plainBox(text);
                ASSERT_NE(box, nullptr);
                EXPECT_TRUE(showsBox(image, box, text)) << text.toStdString();
            }
        } else if (tab == QStringLiteral("Winners")) {
            QTreeWidget* list = window->Winners();
            ASSERT_EQ(list->topLevelItemCount(), 1);
            QTreeWidgetItem* row = list->topLevelItem(0);
            for (const auto& [column, text] : {std::pair{1, name}, std::pair{3, contact}}) {
                EXPECT_EQ(row->text(column), text);
                const QRect cell = list->visualRect(list->indexFromItem(row, column))
                                       .translated(list->viewport()->mapTo(window, QPoint(0, 0)))
                                       .adjusted(1, 1, -1, -1);
                EXPECT_TRUE(Pictures::ShowsWholeText(
                    image, cell, list->palette().color(QPalette::Base), list->font(), text))
                    << text.toStdString();
            }
        } else {
            ADD_FAILURE() << "a tab this test does not know: " << tab.toStdString();
        }
        if (!shots.isEmpty()) {
            const QString file = tab.toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
            EXPECT_TRUE(
                image.save(shots + QStringLiteral("/prize-") + file + QStringLiteral(".png")));
        }
    }
}

TEST_F(PrizeWindowTest, TheSupplierCaption) {
    auto withCompany = directory().CreateContact();
    withCompany->SetName(QStringLiteral("Tom"));
    withCompany->SetCompany(QStringLiteral("Tickets Ltd"));
    bool ok = false;
    directory().SaveContact(0, withCompany, true, true, ok);
    ASSERT_TRUE(ok);
    const qint32 plain = storedContact(QStringLiteral("Sue"));
    struct Case {
        qint32 supplier;
        const char* caption;
    };
    for (const Case& c : {Case{withCompany->Reference(), "Tom (Tickets Ltd)"}, Case{plain, "Sue"},
                          Case{9999, "<Missing Supplier>"}, Case{0, ""}}) {
        auto prize = storedPrize(1, 0);
        prize->SetSupplierReference(c.supplier);
        db().StorePrize(*prize, ok);
        ASSERT_TRUE(ok);
        frmPrize* w = open(db().GetPrize(prize->Reference()));
        EXPECT_EQ(w->SupplierLabel()->text(), QString::fromUtf8(c.caption));
        EXPECT_EQ(w->OpenSupplierButton()->isEnabled(), c.supplier != 0);
        if (c.supplier == 9999) {
            TestMessageBoxes().clear();
            w->OpenSupplierButton()->click();
            EXPECT_EQ(lastBox(),
                      QStringLiteral("The Supplier for this Prize cannot be found in the "
                                     "Contacts Directory"));
        }
    }
}

TEST_F(PrizeWindowTest, ANewSupplierSavedInTheContactWindowSuppliesThePrize) {
    InstallWindowOpeners();
    program().Windows().Register(WindowKind::Contact,
                                 [](QWidget*) { return new SavingContactWindow; });
    frmPrize* w = open(storedPrize(1, 0));
    w->AddNewSupplier(QStringLiteral("Radio Shop"));
    EXPECT_GT(w->Prize()->SupplierReference(), 0);
    EXPECT_EQ(w->SupplierLabel()->text(), QStringLiteral("Radio Shop"));
    EXPECT_TRUE(w->Prize()->Edited());
}

TEST_F(PrizeWindowTest, TheGridShowsTheCapitalLettersOfEachDay) {
    auto prize = storedPrize(1, 0);
    prize->SetHourRestrictions(1, QStringLiteral("ABX"));
    prize->SetHourRestrictions(2, QStringLiteral("abx"));
    bool ok = false;
    db().StorePrize(*prize, ok);
    frmPrize* w = open(db().GetPrize(prize->Reference()));
    for (int hour = 0; hour < 24; ++hour) {
        EXPECT_EQ(w->Week()->CellAvailable({1, hour + 1}), hour == 0 || hour == 1 || hour == 23)
            << hour;
        EXPECT_FALSE(w->Week()->CellAvailable({2, hour + 1})) << hour;
    }
}

// Hours are kept under a name, loaded back by it, and the chooser's Delete removes one.
TEST_F(PrizeWindowTest, HoursAreKeptAndLoadedByName) {
    frmPrize* w = open(nullptr);
    w->TitleBox()->setText(QStringLiteral("Mug"));
    for (int day = 1; day <= 7; ++day) {
        w->Prize()->SetHourRestrictions(day, day == 1 ? QStringLiteral("A") : QString());
    }
    ASSERT_TRUE(w->Prize()->Edited());
    // Keeping the hours of an unsaved prize stores no prize and leaves it edited.
    nameTheHours(QStringLiteral("Mornings"));
    w->SaveHours();
    EXPECT_TRUE(w->Prize()->Edited());
    EXPECT_EQ(w->Prize()->Reference(), 0);
    EXPECT_EQ(db().HourPattern(QStringLiteral("Mornings")), QStringLiteral("A......"));
    // Cancel and a blank name keep nothing.
    nameTheHours(QString());
    w->SaveHours();
    nameTheHours(QStringLiteral("   "));
    w->SaveHours();
    EXPECT_EQ(db().HourPatternNames(), QStringList{QStringLiteral("Mornings")});
    // The same name in other letters asks first; No keeps what was kept.
    w->Prize()->SetHourRestrictions(1, QStringLiteral("B"));
    TestMessageBoxes().clear();
    TestMessageBoxes().queue(MsgResult::No);
    nameTheHours(QStringLiteral("MORNINGS"));
    w->SaveHours();
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1U);
    EXPECT_EQ(lastBox(), QStringLiteral("Hours named 'MORNINGS' are already kept. Do you want to "
                                        "replace them?"));
    EXPECT_EQ(TestMessageBoxes().shown().back().defaultButton, 1);
    EXPECT_EQ(db().HourPattern(QStringLiteral("Mornings")), QStringLiteral("A......"));
    TestMessageBoxes().queue(MsgResult::Yes);
    nameTheHours(QStringLiteral("MORNINGS"));
    w->SaveHours();
    EXPECT_EQ(db().HourPattern(QStringLiteral("mornings")), QStringLiteral("B......"));
    EXPECT_EQ(db().HourPatternNames(), QStringList{QStringLiteral("MORNINGS")});

    // Names are offered in alphabetical order; OK loads the one chosen.
    ASSERT_TRUE(db().KeepHourPattern(QStringLiteral("all day"), QStringLiteral("ABC......")));
    QStringList offered;
    chooseHours(QStringLiteral("MORNINGS"), &offered);
    w->Prize()->SetHourRestrictions(1, QStringLiteral("X"));
    w->LoadHours();
    EXPECT_EQ(offered, (QStringList{QStringLiteral("all day"), QStringLiteral("MORNINGS")}));
    EXPECT_EQ(w->Prize()->HourRestrictions(1), QStringLiteral("B"));
    EXPECT_TRUE(w->Week()->CellAvailable({1, 2}));
    // Cancel changes nothing.
    chooseHours(QString());
    w->LoadHours();
    EXPECT_EQ(w->Prize()->HourRestrictions(1), QStringLiteral("B"));
    // Delete asks (No the default), then removes.
    TestMessageBoxes().clear();
    TestMessageBoxes().queue(MsgResult::Yes);
    chooseHours(QStringLiteral("all day"), nullptr, true);
    w->LoadHours();
    EXPECT_EQ(lastBox(), QStringLiteral("Are you sure you want to delete the hours 'all day'?"));
    EXPECT_EQ(TestMessageBoxes().shown().back().defaultButton, 1);
    EXPECT_EQ(db().HourPatternNames(), QStringList{QStringLiteral("MORNINGS")});
    EXPECT_EQ(w->Prize()->HourRestrictions(1), QStringLiteral("B"));
}

// A kept pattern that does not split into seven days (kept by an older program) is ignored.
TEST_F(PrizeWindowTest, APatternOfOtherThanSevenDaysChangesNothing) {
    {
        QSqlDatabase raw =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("older"));
        raw.setDatabaseName(folder_ + QStringLiteral("/") +
                            QLatin1String(MessagesStorage::kFileName));
        ASSERT_TRUE(raw.open());
        QSqlQuery q(raw);
        ASSERT_TRUE(q.exec(QStringLiteral(
            "INSERT INTO hour_patterns (name, name_key, pattern) VALUES"
            " ('Six', 'six', 'A.A.A.A.A.A'), ('Eight', 'eight', 'A.A.A.A.A.A.A.A')")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("older"));
    frmPrize* w = open(storedPrize(1, 0));
    const QString before = w->Prize()->HourRestrictions(1);
    for (const QString& name : {QStringLiteral("Six"), QStringLiteral("Eight")}) {
        chooseHours(name);
        w->LoadHours();
        EXPECT_EQ(w->Prize()->HourRestrictions(1), before);
        EXPECT_FALSE(w->Prize()->Edited());
    }
}

} // namespace
