#include "messagesdbfixture.h"
#include "platform/messagesdb/orlixprize.h"
#include "support/waitfor.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <functional>
#include <vector>

namespace {
// Another studio computer on the same database: it only writes, and watches nothing.
class MessagesChangesTest : public MessagesDbTest {
protected:
    void openOther() {
        other_.SetChangeWatch(0, 0);
        ASSERT_EQ(other_.OpenDatabase(folder_, QString()), 0);
    }

    void storeOther(const QString& subject) {
        auto m = email(subject);
        bool ok = false;
        other_.StoreMessage(*m, ok);
        ASSERT_TRUE(ok);
    }

    OrlixDatabase other_;
};
} // namespace

TEST_F(MessagesChangesTest, AnotherConnectionsMessageChangesAreAnnouncedThrottled) {
    db_->SetChangeWatch(20, 400);
    open();
    openOther();
    QSignalSpy changed(db_.get(), &OrlixDatabase::MessageChanged);

    storeOther(QStringLiteral("from the other studio"));
    ASSERT_TRUE(WaitFor([&] { return changed.count() == 1; }));
    EXPECT_EQ(changed.at(0).at(0).toInt(), 0) << "announced as many changed";

    // Three more changes at once come as one announcement, after the gap.
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 3; ++i) {
        storeOther(QStringLiteral("burst"));
    }
    ASSERT_TRUE(WaitFor([&] { return changed.count() >= 2; }));
    const qint64 waited = timer.elapsed();
    EXPECT_GE(waited, 200);
    // The watch has seen the whole burst by now: nothing is left to announce.
    db_->CheckForChanges();
    EXPECT_EQ(changed.count(), 2);
}

// The watch's polls are made by hand here, so that what is not announced is known at once.
TEST_F(MessagesChangesTest, OnlyAnotherConnectionsMessageChangesAreAnnouncedByTheWatch) {
    open();
    openOther();
    QSignalSpy changed(db_.get(), &OrlixDatabase::MessageChanged);

    // Changes that touch no message are not announced.
    auto prize = other_.NewPrize();
    bool ok = false;
    other_.StorePrize(*prize, ok);
    ASSERT_TRUE(ok);
    db_->CheckForChanges();
    EXPECT_EQ(changed.count(), 0);

    // Own changes are announced once, with their Reference, never again by the watch.
    auto own = email(QStringLiteral("own"));
    db_->StoreMessage(*own, ok);
    ASSERT_TRUE(ok);
    db_->CheckForChanges();
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toInt(), own->Reference());

    // A message stored elsewhere after them is.
    storeOther(QStringLiteral("from the other studio"));
    db_->CheckForChanges();
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(1).at(0).toInt(), 0);
}

TEST_F(MessagesChangesTest, ChangesElsewhereDuringABatchAreAnnouncedWhenEventsComeBack) {
    open();
    openOther();
    QSignalSpy changed(db_.get(), &OrlixDatabase::MessageChanged);
    db_->SetEventsEnabled(false);
    storeOther(QStringLiteral("meanwhile"));
    db_->CheckForChanges();
    EXPECT_EQ(changed.count(), 0);
    db_->SetEventsEnabled(true);
    EXPECT_EQ(changed.count(), 1);
}

// Another computer's change that this one's own commit finds when it takes the lock is
// announced as well, though no poll saw it.
TEST_F(MessagesChangesTest, AChangeElsewhereFoundByAnOwnCommitIsAnnounced) {
    open();
    openOther();
    QSignalSpy changed(db_.get(), &OrlixDatabase::MessageChanged);
    storeOther(QStringLiteral("from the other studio"));
    auto own = email(QStringLiteral("own"));
    bool ok = false;
    db_->StoreMessage(*own, ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(0).at(0).toInt(), 0);
    EXPECT_EQ(changed.at(1).at(0).toInt(), own->Reference());
    db_->CheckForChanges();
    EXPECT_EQ(changed.count(), 2) << "announced once";
}

namespace {
// Every kind's signal of one database, counted.
struct KindSpies {
    explicit KindSpies(OrlixDatabase& db)
        : messages(&db, &OrlixDatabase::MessageChanged),
          folders(&db, &OrlixDatabase::FoldersChanged), prizes(&db, &OrlixDatabase::PrizesChanged),
          station(&db, &OrlixDatabase::StationChanged),
          templates(&db, &OrlixDatabase::TemplatesChanged) {}
    // The counts in the order of the kinds: messages, folders, prizes, station, templates.
    std::vector<qsizetype> Counts() const {
        return {messages.count(), folders.count(), prizes.count(), station.count(),
                templates.count()};
    }
    QSignalSpy messages;
    QSignalSpy folders;
    QSignalSpy prizes;
    QSignalSpy station;
    QSignalSpy templates;
};

// One change of one kind made through a database object, and the signal it must raise.
struct KindCase {
    const char* name;
    int signal; // index into KindSpies::Counts
    std::function<void(OrlixDatabase&)> change;
};

std::vector<qsizetype> only(int signal) {
    std::vector<qsizetype> counts(5, 0);
    counts[std::size_t(signal)] = 1;
    return counts;
}

std::vector<KindCase> kindCases() {
    return {
        {"a message stored", 0,
         [](OrlixDatabase& db) {
             auto m = std::make_unique<OrlixMessage>();
             m->SetMessageBytes(
                 BuildTextMessage(QStringLiteral("a@example.org"), QStringLiteral("b@example.org"),
                                  QStringLiteral("hello"), QStringLiteral("body"), QDateTime()));
             bool ok = false;
             db.StoreMessage(*m, ok);
             ASSERT_TRUE(ok);
         }},
        {"a folder added", 1,
         [](OrlixDatabase& db) {
             QVector<OrlixCategoryTree::Folder> folders = db.CategoryTree()->Folders();
             folders.append({-1, OrlixCategoryTree::kTopLevel, QStringLiteral("Competitions"), 9});
             StationDetails station{db.StationName(),          db.StationAddress(),
                                    db.StationPhoneNumber(),   db.StationSMSPhoneNumber(),
                                    db.StationCompanyNumber(), db.StationVATNumber()};
             QString problem;
             ASSERT_TRUE(db.StoreDatabaseSettings(station, folders, &problem))
                 << problem.toStdString();
         }},
        {"a prize stored", 2,
         [](OrlixDatabase& db) {
             auto prize = db.NewPrize();
             prize->SetTitle(QStringLiteral("Two tickets"));
             bool ok = false;
             db.StorePrize(*prize, ok);
             ASSERT_TRUE(ok);
         }},
        {"the station's details stored", 3,
         [](OrlixDatabase& db) {
             bool ok = false;
             db.SetStationDetails({QStringLiteral("Radio Two"), QString(), QString(),
                                   QStringLiteral("81234"), QString(), QString()},
                                  ok);
             ASSERT_TRUE(ok);
         }},
        {"a template added", 4,
         [](OrlixDatabase& db) {
             bool ok = false;
             db.AddTemplate(QStringLiteral("PrintMessage"), QStringLiteral("Large"),
                            QStringLiteral("large.htm"), ok);
             ASSERT_TRUE(ok);
         }},
    };
}
} // namespace

TEST_F(MessagesChangesTest, EachKindChangedElsewhereRaisesItsOwnSignalOnce) {
    open();
    openOther();
    for (const KindCase& c : kindCases()) {
        SCOPED_TRACE(c.name);
        KindSpies spies(*db_);
        c.change(other_);
        ASSERT_TRUE(db_->CheckForChanges());
        EXPECT_EQ(spies.Counts(), only(c.signal));
        ASSERT_TRUE(db_->CheckForChanges());
        EXPECT_EQ(spies.Counts(), only(c.signal)) << "announced once";
    }
}

TEST_F(MessagesChangesTest, EachKindChangedHereRaisesItsOwnSignalOnceAtItsCommit) {
    open();
    openOther();
    for (const KindCase& c : kindCases()) {
        SCOPED_TRACE(c.name);
        KindSpies spies(*db_);
        KindSpies others(other_);
        c.change(*db_);
        EXPECT_EQ(spies.Counts(), only(c.signal));
        ASSERT_TRUE(db_->CheckForChanges());
        EXPECT_EQ(spies.Counts(), only(c.signal)) << "never again by the watch";
        ASSERT_TRUE(other_.CheckForChanges());
        EXPECT_EQ(others.Counts(), only(c.signal)) << "the other computer hears of it";
    }
}

// A look made while another computer holds the file finds nothing and loses nothing: the
// next look finds what changed before and while it was held.
TEST_F(MessagesChangesTest, ALookWhileTheFileIsHeldLosesNoChange) {
    db_->SetBusyTimeout(100);
    open();
    openOther();
    KindSpies spies(*db_);
    const std::vector<KindCase> cases = kindCases();
    cases[2].change(other_); // a prize
    {
        QSqlDatabase holder =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
        holder.setDatabaseName(db_->DatabaseFile());
        ASSERT_TRUE(holder.open());
        QSqlQuery hold(holder);
        ASSERT_TRUE(hold.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        EXPECT_FALSE(db_->CheckForChanges());
        EXPECT_EQ(spies.Counts(), std::vector<qsizetype>(5, 0));
        ASSERT_TRUE(hold.exec(QStringLiteral("ROLLBACK")));
        hold = QSqlQuery();
        holder.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("holder"));
    cases[3].change(other_); // the station
    ASSERT_TRUE(db_->CheckForChanges());
    EXPECT_EQ(spies.Counts(), (std::vector<qsizetype>{0, 0, 1, 1, 0}));
    EXPECT_EQ(db_->StationSMSPhoneNumber(), QStringLiteral("81234"));
}
