#include "platform/messagesdb/messagesdbfixture.h"

#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/controls/uprizebasic.h"
#include "platform/messagesdb/controls/uprizeslist.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"
#include "platform/messagesdb/prizelist.h"

#include <QKeyEvent>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>

namespace {
// The title column is never narrower than its widest title, nor wider than the list's
// visible width; what the other columns leave goes to it.
TEST(PrizeListColumns, TheTitleTakesTheSpareWidthAndNeverLessThanItsWidest) {
    const struct {
        int visible, widest, others, title;
    } cases[] = {
        {400, 120, 200, 200}, // room to spare: all of it to the title
        {195, 120, 200, 120}, // the dates do not fit beside it: they scroll sideways
        {195, 300, 200, 195}, // a title wider than the list is cut at its visible width
        {400, 120, 280, 120}, // exactly the widest
        {0, 120, 200, 120},   // not laid out yet
    };
    for (const auto& c : cases) {
        EXPECT_EQ(uPrizesList::TitleWidth(c.visible, c.widest, c.others), c.title)
            << c.visible << " " << c.widest << " " << c.others;
    }
}

TEST(PrizeLinesTest, RunningFirstThenEndedEachByTitle) {
    const QDateTime now(QDate(2026, 6, 1), QTime(12, 0));
    auto line = [](qint32 r, const char* title, QDateTime end) {
        PrizeListLine l;
        l.Reference = r;
        l.Title = QString::fromUtf8(title);
        l.EndDate = end;
        return l;
    };
    QVector<PrizeListLine> lines = {
        line(1, "zebra", now.addDays(-1)), // ended
        line(2, "Apple", QDateTime()),     // no end: running
        line(3, "banana", now.addDays(3)), // running
        line(4, "apple", now.addSecs(-1)), // just ended
        line(5, "apple", QDateTime()),     // same title as 2: by Reference
        line(6, "Cherry", now),            // ends this moment: still running
    };
    SortPrizeLines(lines, now);
    QList<qint32> order;
    for (const auto& l : lines) {
        order << l.Reference;
    }
    EXPECT_EQ(order, (QList<qint32>{2, 5, 3, 6, 4, 1}));
    PrizeListLine won;
    won.NumberWon = 2;
    won.NumberSupplied = 5;
    EXPECT_EQ(PrizeWonText(won), QStringLiteral("2 of 5"));
}

class PrizeControlsTest : public MessagesDbTest {
protected:
    void SetUp() override {
        MessagesDbTest::SetUp();
        open();
    }

    qint32 prize(const QString& title, qint32 supplied, const QDateTime& end = {}) {
        auto p = db_->NewPrize();
        p->SetTitle(title);
        p->SetNumberSupplied(supplied);
        p->SetEndDate(end);
        bool ok = false;
        db_->StorePrize(*p, ok);
        EXPECT_TRUE(ok);
        return p->Reference();
    }

    qint32 winner(qint32 prizeReference, qint32 contact, bool sent = false) {
        auto p = db_->GetPrize(prizeReference, false);
        auto w = db_->NewPrizeWinner(*p);
        w->SetWinnerReference(contact);
        if (sent) {
            w->SetSentDate(QDateTime(QDate(2026, 1, 2), QTime(10, 0)));
        }
        bool ok = false;
        db_->StorePrizeWinner(*w, ok);
        EXPECT_TRUE(ok);
        return w->Reference();
    }

    static QStringList column(const QTreeWidget* list, int col) {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            out << list->topLevelItem(i)->text(col);
        }
        return out;
    }
};

TEST_F(PrizeControlsTest, TheListShowsTheNewEntryAndThePrizesInOrderAndReloadsAfterAStore) {
    const qint32 ended =
        prize(QStringLiteral("Old <b>tickets</b>"), 1, QDateTime::currentDateTime().addDays(-2));
    const qint32 album = prize(QStringLiteral("Album"), 3);
    winner(album, 7);
    uPrizesList list;
    list.SetDatabase(db_.get());
    EXPECT_EQ(column(list.lvwPrizes(), 0),
              (QStringList{QStringLiteral("<New Prize>"), QStringLiteral("Album"),
                           QStringLiteral("Old <b>tickets</b>")}));
    EXPECT_EQ(column(list.lvwPrizes(), 3),
              (QStringList{QString(), QStringLiteral("1 of 3"), QStringLiteral("0 of 1")}));

    QList<std::shared_ptr<OrlixPrize>> selected;
    QObject::connect(&list, &uPrizesList::PrizeSelected,
                     [&](const std::shared_ptr<OrlixPrize>& p) { selected << p; });
    list.lvwPrizes()->setCurrentItem(list.ItemOf(ended));
    ASSERT_EQ(selected.size(), 1);
    ASSERT_TRUE(selected.back());
    EXPECT_EQ(selected.back()->Reference(), ended);
    list.lvwPrizes()->setCurrentItem(list.NewPrizeItem());
    ASSERT_EQ(selected.size(), 2);
    EXPECT_FALSE(selected.back());

    // A store through this database reloads the list at once, keeping the selection.
    list.lvwPrizes()->setCurrentItem(list.ItemOf(album));
    const qint32 another = prize(QStringLiteral("Another"), 1);
    EXPECT_NE(list.ItemOf(another), nullptr);
    EXPECT_EQ(list.SelectedReference(), album);
    winner(album, 8);
    EXPECT_EQ(list.ItemOf(album)->text(3), QStringLiteral("2 of 3"));

    // Without AutoUpdate only Refresh reloads.
    list.SetAutoUpdate(false);
    const qint32 quiet = prize(QStringLiteral("Quiet"), 1);
    EXPECT_EQ(list.ItemOf(quiet), nullptr);
    list.Refresh();
    EXPECT_NE(list.ItemOf(quiet), nullptr);
}

TEST_F(PrizeControlsTest, TheListRaisesChosenAndNewOnDoubleClickAndEnter) {
    const qint32 album = prize(QStringLiteral("Album"), 3);
    uPrizesList list;
    list.SetDatabase(db_.get());
    QList<qint32> chosen;
    int added = 0;
    QObject::connect(&list, &uPrizesList::PrizeChosen,
                     [&](const std::shared_ptr<OrlixPrize>& p) { chosen << p->Reference(); });
    QObject::connect(&list, &uPrizesList::AddNewPrize, [&](const std::shared_ptr<OrlixPrize>& p) {
        EXPECT_EQ(p->Reference(), 0);
        ++added;
    });
    Q_EMIT list.lvwPrizes()->itemDoubleClicked(list.ItemOf(album), 0);
    list.lvwPrizes()->setCurrentItem(list.NewPrizeItem());
    QTest::keyClick(list.lvwPrizes(), Qt::Key_Return);
    EXPECT_EQ(chosen, QList<qint32>{album});
    EXPECT_EQ(added, 1);
}

TEST_F(PrizeControlsTest, TheDetailShowsTheWinnersAndKeepsWhatTheHandlerPutsBack) {
    KVDirectory directory;
    bool failed = true;
    directory.OpenDefault(true, failed);
    ASSERT_FALSE(failed);
    QString refusal;
    auto admin =
        directory.CreateFirstUser(QStringLiteral("Admin"), QStringLiteral("admin"), {}, &refusal);
    bool ok = false;
    directory.LoginContact(admin, 1, QString(), ok);
    auto ann = directory.CreateContact();
    ann->SetName(QStringLiteral("Ann <Listener>"));
    ASSERT_TRUE(directory.SaveContact(0, *ann, &refusal));

    const qint32 album = prize(QStringLiteral("Album"), 3);
    const qint32 first = winner(album, ann->Reference(), true);
    winner(album, ann->Reference(), false);
    uPrizeBasic pane;
    pane.SetDirectory(&directory);
    pane.SetPrize(db_->GetPrize(album, true));
    QTreeWidget* rows = pane.lvwWinners();
    EXPECT_EQ(column(rows, 0),
              (QStringList{QStringLiteral("<New Winner>"), QStringLiteral("Ann <Listener>"),
                           QStringLiteral("Ann <Listener>")}));
    EXPECT_EQ(rows->topLevelItem(2)->text(2), QStringLiteral("Not sent"));
    EXPECT_NE(rows->topLevelItem(1)->text(2), QStringLiteral("Not sent"));
    EXPECT_EQ(pane.lblNumbers()->text(), QStringLiteral("3 supplied, 2 won"));
    EXPECT_EQ(pane.lblPrizeTitle()->text(), QStringLiteral("Album"));

    int added = 0;
    auto replacement = std::make_shared<OrlixPrizeWinner>();
    QObject::connect(&pane, &uPrizeBasic::AddNewWinner, [&] { ++added; });
    QObject::connect(&pane, &uPrizeBasic::WinnerChosen, [&](std::shared_ptr<OrlixPrizeWinner>& w) {
        EXPECT_EQ(w->Reference(), first);
        w = replacement;
    });
    Q_EMIT rows->itemDoubleClicked(rows->topLevelItem(0), 0);
    EXPECT_EQ(added, 1);
    rows->setCurrentItem(rows->topLevelItem(1));
    QTest::keyClick(rows, Qt::Key_Enter);
    EXPECT_EQ(pane.WinnerOf(rows->topLevelItem(1)), replacement);

    // An unsaved prize has no new-winner entry; none empties the fields.
    pane.SetPrize(db_->NewPrize());
    EXPECT_EQ(rows->topLevelItemCount(), 0);
    pane.SetPrize(nullptr);
    EXPECT_EQ(pane.lblNumbers()->text(), QString());
    directory.Close(ok);
}
} // namespace
