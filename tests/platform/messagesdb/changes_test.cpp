#include "messagesdbfixture.h"
#include "support/waitfor.h"

#include <QElapsedTimer>
#include <QSignalSpy>

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
