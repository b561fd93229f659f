#include "mainwindowfixture.h"

#include "core/dialogs/contacthistory.h"
#include "core/profile/usersettingskeys.h"
#include "mainwindow/panes/contactspane.h"
#include "mainwindow/panes/prizespane.h"
#include "mainwindow/panes/recentmenus.h"
#include "platform/directory/controls/contactlistmodel.h"
#include "platform/directory/controls/ucontact.h"
#include "platform/directory/controls/ucontactslist.h"
#include "platform/directory/controls/uwebsiteslist.h"
#include "platform/directory/directorywebsite.h"
#include "platform/messagesdb/controls/uprizebasic.h"
#include "platform/messagesdb/controls/uprizeslist.h"
#include "platform/messagesdb/messagemime.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"
#include "platform/ui/listview.h"
#include "platform/ui/usplitpanel.h"
#include "platform/ui/utalkback.h"
#include "support/displaymarks.h"
#include "support/editwindowdoubles.h"
#include "support/waitfor.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QListView>
#include <QMenu>
#include <QStyle>
#include <QTest>
#include <QTreeWidget>

#include <array>

namespace {
class ContentPanesTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        WindowRegistry& windows = Program::Instance().Windows();
        RegisterEditWindowDoubles(windows);
        windows.SetShower([this](QWidget* w, bool) { shown << w; });
    }
    void TearDown() override {
        for (QWidget* w : std::as_const(shown)) {
            delete w;
        }
        shown.clear();
        Program::Instance().Windows().SetShower(nullptr);
        MainWindowFixture::TearDown();
    }

    template <typename W> W* lastShown() const {
        return shown.isEmpty() ? nullptr : dynamic_cast<W*>(shown.back().data());
    }

    void startAndShow() {
        ASSERT_TRUE(startLoggedIn());
        window->show();
        window->optContacts_Click();
    }

    KVDirectory::ContactPtr contact(const QString& name, const QString& email,
                                    const QString& mobile) {
        auto c = directory()->CreateContact();
        c->SetName(name);
        c->SetEmail1(email);
        c->SetMobileNumber(mobile);
        QString refusal;
        EXPECT_TRUE(directory()->SaveContact(0, *c, &refusal)) << refusal.toStdString();
        return c;
    }

    qint32 message(const QString& from, qint32 kind) {
        auto m = std::make_unique<OrlixMessage>();
        m->SetCDOMessage(MimeMessage::FromBytes(
            BuildTextMessage(from, QStringLiteral("studio@station.example"),
                             QStringLiteral("Hello"), QStringLiteral("Play it"), QDateTime())));
        m->SetKind(kind);
        m->SetFolder(OrlixDatabase::kInboxFolder);
        m->SetReceivedDate(QDateTime::currentDateTime());
        bool ok = false;
        window->Database()->StoreMessage(*m, ok);
        EXPECT_TRUE(ok);
        return m->Reference();
    }

    std::shared_ptr<OrlixPrize> prize(const QString& title, qint32 supplier) {
        auto p = window->Database()->NewPrize();
        p->SetTitle(title);
        p->SetNumberSupplied(5);
        p->SetSupplierReference(supplier);
        bool ok = false;
        window->Database()->StorePrize(*p, ok);
        EXPECT_TRUE(ok);
        return p;
    }

    qint32 winner(const OrlixPrize& p, qint32 contact) {
        auto w = window->Database()->NewPrizeWinner(p);
        w->SetWinnerReference(contact);
        bool ok = false;
        window->Database()->StorePrizeWinner(*w, ok);
        EXPECT_TRUE(ok);
        return w->Reference();
    }

    static QStringList keys(const QTreeWidget* list) {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            out << ContactHistory::LineKey(list->topLevelItem(i));
        }
        return out;
    }

    static QTreeWidgetItem* lineOf(QTreeWidget* list, const QString& key) {
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            if (ContactHistory::LineKey(list->topLevelItem(i)) == key) {
                return list->topLevelItem(i);
            }
        }
        return nullptr;
    }

    bool visible(QWidget* w) const { return w->isVisibleTo(window.get()); }

    QList<QPointer<QWidget>> shown;
};

TEST_F(ContentPanesTest, AContactIsShownWithItsHistoryTabs) {
    startAndShow();
    frmMain& w = *window;
    EXPECT_FALSE(w.cmdOpenContact->isEnabled());
    EXPECT_FALSE(w.cmdAddContactToRecent->isEnabled());

    // Known only by a mobile number: its SMS are listed all the same.
    const auto ann = contact(QStringLiteral("Ann"), QString(), QStringLiteral("+44 7700 900123"));
    const auto bob = contact(QStringLiteral("Bob"), QStringLiteral("bob@example.org"), QString());
    const qint32 sms = message(QStringLiteral("+44 7700 900123"), OrlixMessage::KindSms);
    const qint32 mail = message(QStringLiteral("Bob <bob@example.org>"), OrlixMessage::KindEmail);
    const auto mug = prize(QStringLiteral("Mug"), bob->Reference());
    const qint32 won = winner(*mug, ann->Reference());

    w.ctlContacts->SetSelectedReference(ann->Reference());
    ASSERT_TRUE(w.ctlContact->Contact());
    EXPECT_EQ(w.ctlContact->Contact()->Reference(), ann->Reference());
    EXPECT_TRUE(w.cmdOpenContact->isEnabled());
    EXPECT_TRUE(w.cmdAddContactToRecent->isEnabled());

    w.ctlContact->SetCurrentTab(ContactHistory::kMessagesTab);
    EXPECT_TRUE(visible(w.fraContactMessages));
    EXPECT_FALSE(visible(w.fraContactPrizes));
    EXPECT_EQ(keys(w.lvwContactMessages), QStringList{QStringLiteral("m%1").arg(sms)});

    w.ctlContact->SetCurrentTab(ContactHistory::kPrizesTab);
    EXPECT_FALSE(visible(w.fraContactMessages));
    EXPECT_TRUE(visible(w.fraContactPrizes));
    EXPECT_EQ(keys(w.lvwContactPrizes), QStringList{QStringLiteral("w%1").arg(won)});

    // Another contact while the prizes tab shows: the list follows it.
    w.ctlContacts->SetSelectedReference(bob->Reference());
    EXPECT_EQ(keys(w.lvwContactPrizes), QStringList{QStringLiteral("p%1").arg(mug->Reference())});
    w.ctlContact->SetCurrentTab(ContactHistory::kMessagesTab);
    EXPECT_EQ(keys(w.lvwContactMessages), QStringList{QStringLiteral("m%1").arg(mail)});

    for (int tab = 0; tab < 4; ++tab) {
        w.ctlContact->SetCurrentTab(ContactHistory::kMessagesTab);
        w.ctlContact->SetCurrentTab(tab);
        EXPECT_FALSE(visible(w.fraContactMessages)) << tab;
        EXPECT_FALSE(visible(w.fraContactPrizes)) << tab;
    }

    w.contactsPane->DisplayContact(nullptr);
    EXPECT_FALSE(w.cmdOpenContact->isEnabled());
    EXPECT_FALSE(w.cmdAddContactToRecent->isEnabled());
}

// The history frames sit on the contact control's tab page: when the window is resized they
// keep their margins to the control, as the list keeps its margins to the frame.
// Start-up binds the contacts list four times over, and each save announced elsewhere marks it
// again: it reads how many contacts there are once when shown, and once after each save.
TEST_F(ContentPanesTest, TheContactsListReadsTheDirectoryOnceAtStartAndOncePerSave) {
    ASSERT_TRUE(startLoggedIn());
    frmMain& w = *window;
    for (const char* name : {"Ann", "Bob", "Cat"}) {
        contact(QString::fromLatin1(name), QString(), QString());
    }
    const ContactListModel* model = w.ctlContacts->Model();
    w.show();
    w.optContacts_Click();
    ASSERT_TRUE(WaitFor([&w] { return w.ctlContacts->lstContacts()->isVisible(); }));
    QApplication::processEvents();
    EXPECT_EQ(model->CountReads(), 1);
    EXPECT_EQ(model->rowCount(), 4); // the user too

    auto added = directory()->CreateContact();
    added->SetName(QStringLiteral("Dan New"));
    bool ok = false;
    directory()->SaveContact(0, added, true, true, ok); // as the contact window saves
    ASSERT_TRUE(ok);
    QApplication::processEvents();
    EXPECT_EQ(model->CountReads(), 2);
    EXPECT_EQ(model->rowCount(), 5);
}

TEST_F(ContentPanesTest, TheHistoryFramesFollowTheWindowsSize) {
    ASSERT_TRUE(startLoggedIn());
    frmMain& w = *window;
    w.resize(1280, 800);
    w.show();
    w.optContacts_Click();
    const auto ann = contact(QStringLiteral("Ann"), QString(), QString());
    w.ctlContacts->SetSelectedReference(ann->Reference());
    ASSERT_TRUE(WaitFor([&] { return w.ctlContact->width() > 0; }));
    const struct {
        int tab;
        QGroupBox* frame;
        QWidget* list;
    } tabs[] = {{ContactHistory::kMessagesTab, w.fraContactMessages, w.lvwContactMessages},
                {ContactHistory::kPrizesTab, w.fraContactPrizes, w.lvwContactPrizes}};
    // The frame's right and bottom margins inside the control, and the list's inside the frame.
    const auto margins = [&](QWidget* frame, QWidget* list) {
        const QRect control = w.ctlContact->geometry();
        return std::array<int, 4>{control.right() - frame->geometry().right(),
                                  control.bottom() - frame->geometry().bottom(),
                                  frame->width() - list->geometry().right(),
                                  frame->height() - list->geometry().bottom()};
    };
    for (const auto& t : tabs) {
        w.ctlContact->SetCurrentTab(t.tab);
        ASSERT_TRUE(visible(t.frame)) << t.tab;
        const auto before = margins(t.frame, t.list);
        const QSize frameBefore = t.frame->size();
        for (const QSize& size : {QSize(1500, 950), QSize(1100, 700)}) {
            const QSize control = w.ctlContact->size();
            w.resize(size);
            ASSERT_TRUE(WaitFor([&] { return w.ctlContact->size() != control; })) << t.tab;
            const auto after = margins(t.frame, t.list);
            for (std::size_t i = 0; i < after.size(); ++i) {
                EXPECT_NEAR(after[i], before[i], 1) << t.tab << " " << size.width() << " " << i;
            }
        }
        EXPECT_NE(t.frame->size(), frameBefore) << t.tab;
        w.resize(1280, 800);
        ASSERT_TRUE(WaitFor([&] { return t.frame->size() == frameBefore; })) << t.tab;
    }
}

TEST_F(ContentPanesTest, HistoryLinesOpenWhatTheyNameAndAnyButtonSelects) {
    startAndShow();
    frmMain& w = *window;
    const auto ann = contact(QStringLiteral("Ann"), QStringLiteral("ann@example.org"), QString());
    const qint32 mail = message(QStringLiteral("ann@example.org"), OrlixMessage::KindEmail);
    const auto mug = prize(QStringLiteral("Mug"), ann->Reference());
    const qint32 won = winner(*mug, ann->Reference());
    w.contactsPane->DisplayContact(directory()->GetContact(ann->Reference(), true, true));

    w.ctlContact->SetCurrentTab(ContactHistory::kMessagesTab);
    // Nothing selected: nothing opens.
    w.lvwContactMessages->clearSelection();
    w.contactsPane->lvwContactMessages_DblClick();
    EXPECT_TRUE(shown.isEmpty());

    QTreeWidgetItem* line = lineOf(w.lvwContactMessages, QStringLiteral("m%1").arg(mail));
    ASSERT_NE(line, nullptr);
    QWidget* viewport = w.lvwContactMessages->viewport();
    QTest::mousePress(viewport, Qt::RightButton, {},
                      w.lvwContactMessages->visualItemRect(line).center());
    EXPECT_TRUE(line->isSelected());
    Q_EMIT w.lvwContactMessages->itemDoubleClicked(line, 0);
    auto* opened = lastShown<TestMessageWindow>();
    ASSERT_NE(opened, nullptr);
    ASSERT_TRUE(opened->message);
    EXPECT_EQ(opened->message->Reference(), mail);
    // A press below the lines selects none.
    QTest::mousePress(viewport, Qt::MiddleButton, {}, QPoint(5, viewport->height() - 2));
    EXPECT_TRUE(w.lvwContactMessages->selectedItems().isEmpty());

    w.ctlContact->SetCurrentTab(ContactHistory::kPrizesTab);
    const struct {
        QString key;
        bool winnerWindow;
    } cases[] = {{QStringLiteral("w%1").arg(won), true},
                 {QStringLiteral("p%1").arg(mug->Reference()), false}};
    for (const auto& c : cases) {
        QTreeWidgetItem* item = lineOf(w.lvwContactPrizes, c.key);
        ASSERT_NE(item, nullptr) << c.key.toStdString();
        w.lvwContactPrizes->setCurrentItem(item);
        item->setSelected(true);
        const qsizetype before = shown.size();
        w.contactsPane->lvwContactPrizes_DblClick();
        ASSERT_EQ(shown.size(), before + 1) << c.key.toStdString();
        if (c.winnerWindow) {
            auto* ww = lastShown<TestWinnerWindow>();
            ASSERT_TRUE(ww && ww->winner);
            EXPECT_EQ(ww->winner->Reference(), won);
        } else {
            auto* pw = lastShown<TestPrizeWindow>();
            ASSERT_TRUE(pw && pw->prize);
            EXPECT_EQ(pw->prize->Reference(), mug->Reference());
        }
    }
}

TEST_F(ContentPanesTest, TheButtonsOpenKeepAndMakeContactsAndTheRecentMenuFollows) {
    startAndShow();
    frmMain& w = *window;
    const auto ann = contact(QStringLiteral("Ann & Co"), QString(), QString());
    const auto bob = contact(QStringLiteral("Bob"), QString(), QString());
    EXPECT_FALSE(w.mnuRecentContacts->isEnabled());

    w.ctlContacts->SetSelectedReference(ann->Reference());
    w.cmdOpenContact->click();
    auto* opened = lastShown<TestContactWindow>();
    ASSERT_TRUE(opened && opened->contact);
    EXPECT_EQ(opened->contact->Reference(), ann->Reference());
    EXPECT_EQ(userSetting(QStringLiteral("MRUContacts")), QString::number(ann->Reference()));
    EXPECT_TRUE(w.mnuRecentContacts->isEnabled());
    EXPECT_TRUE(w.cmdRecentContacts->isEnabled());
    EXPECT_EQ(Unmarked(w.recentMenus->ContactEntry(1)->text()),
              QStringLiteral("\u00abAnn && Co\u00bb"));

    w.ctlContacts->SetSelectedReference(bob->Reference());
    w.cmdAddContactToRecent->click();
    EXPECT_EQ(userSetting(QStringLiteral("MRUContacts")),
              QStringLiteral("%1|%2").arg(bob->Reference()).arg(ann->Reference()));
    EXPECT_EQ(Unmarked(w.recentMenus->ContactEntry(1)->text()), QStringLiteral("\u00abBob\u00bb"));
    EXPECT_EQ(Unmarked(w.recentMenus->ContactEntry(2)->text()),
              QStringLiteral("\u00abAnn && Co\u00bb"));

    // New: a new contact of the list's group.
    w.ctlContacts->SetContactListValue(3);
    w.cmdNewContact->click();
    auto* made = lastShown<TestContactWindow>();
    ASSERT_TRUE(made && made->contact);
    EXPECT_EQ(made->contact->Reference(), 0);
    EXPECT_EQ(made->contact->ContactListValue(), 3);

    // A recent entry from another tab shows its contact on the contacts tab.
    w.optPrize_Click();
    w.recentMenus->ContactEntry(2)->trigger();
    EXPECT_TRUE(w.splitContacts->isVisible());
    EXPECT_EQ(w.ctlContacts->SelectedReference(), ann->Reference());
    ASSERT_TRUE(w.ctlContact->Contact());
    EXPECT_EQ(w.ctlContact->Contact()->Reference(), ann->Reference());

    // A contact deleted since: nothing happens.
    QString refusal;
    ASSERT_TRUE(directory()->RemoveContact(bob->Reference(), &refusal));
    const qsizetype windows = shown.size();
    w.recentMenus->ContactEntry(1)->trigger();
    EXPECT_EQ(w.ctlContact->Contact()->Reference(), ann->Reference());
    EXPECT_EQ(shown.size(), windows);
}

// At the window's own size, with the widest dates a prize can have, every title shows whole:
// the title column takes what it needs, the dates and counts keep theirs beside it.
TEST_F(ContentPanesTest, ThePrizeListShowsEveryTitleWhole) {
    startAndShow();
    auto dated = prize(QStringLiteral("Concert tickets for two"), 0);
    dated->SetStartDate(QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
    dated->SetEndDate(QDateTime(QDate(9999, 12, 11), QTime(18, 0)));
    bool ok = false;
    window->Database()->StorePrize(*dated, ok);
    ASSERT_TRUE(ok);
    prize(QStringLiteral("Signed album"), 0);
    auto& w = *window;
    w.optPrize_Click();
    QTreeWidget* list = w.ctlPrizes->lvwPrizes();
    ASSERT_TRUE(WaitFor([list] { return list->isVisible() && list->topLevelItemCount() == 3; }));
    const int margins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    const auto needed = [&](int row, int column) {
        return list->fontMetrics().horizontalAdvance(list->topLevelItem(row)->text(column)) +
               margins;
    };
    // Once the window's layout has settled.
    WaitFor([&] { return list->columnWidth(0) >= std::max(needed(1, 0), needed(2, 0)); }, 2000);
    for (int i = 1; i < list->topLevelItemCount(); ++i) {
        EXPECT_GE(list->columnWidth(0), needed(i, 0))
            << list->topLevelItem(i)->text(0).toStdString();
    }
    EXPECT_LE(list->columnWidth(0), list->viewport()->width());
    for (int column = 1; column < list->columnCount(); ++column) {
        for (int i = 1; i < list->topLevelItemCount(); ++i) {
            EXPECT_GE(list->columnWidth(column), needed(i, column))
                << list->topLevelItem(i)->text(column).toStdString();
        }
    }
}

TEST_F(ContentPanesTest, ThePrizesPaneOpensTheDatabasesCopies) {
    startAndShow();
    frmMain& w = *window;
    w.optPrize_Click();
    const auto ann = contact(QStringLiteral("Ann"), QString(), QString());
    const auto mug = prize(QStringLiteral("Mug"), 0);
    winner(*mug, ann->Reference());
    const auto cap = prize(QStringLiteral("Cap"), 0);
    ASSERT_NE(w.ctlPrizes->ItemOf(mug->Reference()), nullptr) << "reloaded after the store";
    EXPECT_FALSE(w.cmdOpenPrize->isEnabled());

    // No prize selected, or a winner of no prize: nothing.
    w.prizesPane->ctlPrize_AddNewWinner();
    EXPECT_TRUE(shown.isEmpty());

    w.ctlPrizes->lvwPrizes()->setCurrentItem(w.ctlPrizes->ItemOf(mug->Reference()));
    ASSERT_TRUE(w.ctlPrize->Prize());
    EXPECT_TRUE(w.cmdOpenPrize->isEnabled());
    w.cmdOpenPrize->click();
    auto* pw = lastShown<TestPrizeWindow>();
    ASSERT_TRUE(pw && pw->prize);
    EXPECT_EQ(pw->prize->Reference(), mug->Reference());
    EXPECT_NE(pw->prize, w.ctlPrize->Prize()) << "fetched afresh";

    // A chosen winner: the database's copy opens and the row keeps it.
    QTreeWidget* rows = w.ctlPrize->lvwWinners();
    ASSERT_EQ(rows->topLevelItemCount(), 2);
    const auto before = w.ctlPrize->WinnerOf(rows->topLevelItem(1));
    Q_EMIT rows->itemDoubleClicked(rows->topLevelItem(1), 0);
    auto* ww = lastShown<TestWinnerWindow>();
    ASSERT_TRUE(ww && ww->winner);
    EXPECT_NE(ww->winner, before);
    EXPECT_EQ(ww->winner->Reference(), before->Reference());
    EXPECT_EQ(w.ctlPrize->WinnerOf(rows->topLevelItem(1)), ww->winner);

    // The new-winner entry: a new winner of the prize shown.
    Q_EMIT rows->itemDoubleClicked(rows->topLevelItem(0), 0);
    ww = lastShown<TestWinnerWindow>();
    ASSERT_TRUE(ww && ww->winner);
    EXPECT_EQ(ww->winner->Reference(), 0);
    EXPECT_EQ(ww->winner->PrizeReference(), mug->Reference());

    // An unstored prize shown: the button opens nothing.
    const qsizetype windows = shown.size();
    w.ctlPrize->SetPrize(window->Database()->NewPrize());
    w.prizesPane->cmdOpenPrize_Click();
    EXPECT_EQ(shown.size(), windows);

    // The new entry selects none: the detail empties and the button is disabled.
    w.ctlPrizes->lvwPrizes()->setCurrentItem(w.ctlPrizes->ItemOf(cap->Reference()));
    w.ctlPrizes->lvwPrizes()->setCurrentItem(w.ctlPrizes->NewPrizeItem());
    EXPECT_FALSE(w.ctlPrize->Prize());
    EXPECT_FALSE(w.cmdOpenPrize->isEnabled());
}
} // namespace

namespace {
// With ORLIX_SCREENSHOTS set, the tabs are saved with something in them: a contact with its
// messages, a prize with its winners, the websites, and the talkback with a conversation.
TEST_F(ContentPanesTest, TabsWithContentDraw) {
    QDir().mkpath(folder("talkback"));
    startAndShow();
    frmMain& w = *window;
    w.resize(1280, 800);
    const auto ann = contact(QStringLiteral("Ann Listener"), QStringLiteral("ann@example.org"),
                             QStringLiteral("+44 7700 900123"));
    const auto bob = contact(QStringLiteral("Bob Supplier"), QString(), QString());
    message(QStringLiteral("Ann Listener <ann@example.org>"), OrlixMessage::KindEmail);
    message(QStringLiteral("+44 7700 900123"), OrlixMessage::KindSms);
    const auto tickets = prize(QStringLiteral("Two concert tickets"), bob->Reference());
    winner(*tickets, ann->Reference());
    winner(*tickets, bob->Reference());
    prize(QStringLiteral("Signed album"), bob->Reference());
    for (const char* site : {"https://example.org/", "https://news.example/"}) {
        auto s = std::make_shared<DirectoryWebsite>();
        s->SetAddress(QString::fromLatin1(site));
        bool ok = false;
        directory()->AddWebsite(s, ok);
    }
    QString why;
    for (const char* text : {"Mic check in studio B", "Loud and clear", "News in two minutes"}) {
        ASSERT_TRUE(w.ctlTalkback->Exchange()->Post(
            QStringLiteral("Admin"), QStringLiteral("admin"), QString::fromLatin1(text), &why))
            << why.toStdString();
    }
    w.ctlTalkback->LookNow();
    EXPECT_EQ(w.ctlTalkback->Shown().size(), 3);

    w.ctlContacts->Refresh();
    w.ctlContacts->SetSelectedReference(ann->Reference());
    w.ctlContact->SetCurrentTab(ContactHistory::kMessagesTab);
    EXPECT_EQ(w.lvwContactMessages->topLevelItemCount(), 2);
    const QString shots = qEnvironmentVariable("ORLIX_SCREENSHOTS");
    const auto save = [&](const char* name) {
        QApplication::processEvents();
        if (!shots.isEmpty()) {
            w.grab().save(shots + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
        }
    };
    save("contacts-history");

    w.optPrize_Click();
    w.ctlPrizes->lvwPrizes()->setCurrentItem(w.ctlPrizes->ItemOf(tickets->Reference()));
    EXPECT_EQ(w.ctlPrize->lvwWinners()->topLevelItemCount(), 3);
    save("prizes-winners");

    w.optWeb_Click();
    w.ctlWebsites->Refresh();
    EXPECT_EQ(w.ctlWebsites->lvwWebsites()->topLevelItemCount(), 3);
    save("web-list");
}
} // namespace
