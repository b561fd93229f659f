#include "messagesdbfixture.h"
#include "support/waitfor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

TEST_F(MessagesDbTest, AnotherConnectionsMessageChangesAreAnnouncedThrottled) {
    db_->SetChangeWatch(20, 400);
    open();
    OrlixDatabase other;
    other.SetChangeWatch(0, 0);
    ASSERT_EQ(other.OpenDatabase(folder_, QString()), 0);
    QSignalSpy changed(db_.get(), &OrlixDatabase::MessageChanged);

    auto m = email(QStringLiteral("from the other studio"));
    bool ok = false;
    other.StoreMessage(*m, ok);
    ASSERT_TRUE(ok);
    ASSERT_TRUE(WaitFor([&] { return changed.count() == 1; }));
    EXPECT_EQ(changed.at(0).at(0).toInt(), 0) << "announced as many changed";

    // Three more changes at once come as one announcement, after the gap.
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 3; ++i) {
        auto more = email(QStringLiteral("burst"));
        other.StoreMessage(*more, ok);
    }
    ASSERT_TRUE(WaitFor([&] { return changed.count() == 2; }));
    const qint64 waited = timer.elapsed();
    QTest::qWait(600);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_GE(waited, 200);

    // Changes that touch no message are not announced.
    auto prize = other.NewPrize();
    other.StorePrize(*prize, ok);
    ASSERT_TRUE(ok);
    QTest::qWait(700);
    EXPECT_EQ(changed.count(), 2);

    // Own changes are announced once, with their Reference, never again by the watch.
    auto own = email(QStringLiteral("own"));
    db_->StoreMessage(*own, ok);
    QTest::qWait(700);
    ASSERT_EQ(changed.count(), 3);
    EXPECT_EQ(changed.at(2).at(0).toInt(), own->Reference());
}

TEST_F(MessagesDbTest, ChangesElsewhereDuringABatchAreAnnouncedWhenEventsComeBack) {
    db_->SetChangeWatch(20, 0);
    open();
    OrlixDatabase other;
    other.SetChangeWatch(0, 0);
    ASSERT_EQ(other.OpenDatabase(folder_, QString()), 0);
    QSignalSpy changed(db_.get(), &OrlixDatabase::MessageChanged);
    db_->SetEventsEnabled(false);
    auto m = email(QStringLiteral("meanwhile"));
    bool ok = false;
    other.StoreMessage(*m, ok);
    QTest::qWait(300);
    EXPECT_EQ(changed.count(), 0);
    db_->SetEventsEnabled(true);
    EXPECT_EQ(changed.count(), 1);
}
