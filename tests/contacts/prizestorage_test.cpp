#include "platform/messagesdb/messagesdbfixture.h"

#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"

#include <QThread>

#include <atomic>
#include <thread>
#include <vector>

namespace {

std::shared_ptr<OrlixPrize> storedPrize(OrlixDatabase& db, qint32 supplied) {
    auto prize = db.NewPrize();
    prize->SetTitle(QStringLiteral("Tickets"));
    prize->SetNumberSupplied(supplied);
    bool ok = false;
    db.StorePrize(*prize, ok);
    return ok ? prize : nullptr;
}

PrizeWinnerRefusal addWinner(OrlixDatabase& db, const OrlixPrize& prize, bool& ok) {
    auto winner = db.NewPrizeWinner(prize);
    winner->SetWinnerReference(42);
    PrizeWinnerRefusal why = PrizeWinnerRefusal::Failed;
    db.StorePrizeWinner(*winner, ok, &why);
    return why;
}

} // namespace

// Two studio computers, each with its own database object on the one file, both allocating the
// last unit of a prize: one gets it, the other is told it has gone.
TEST_F(MessagesDbTest, TheLastUnitGoesToOneOfTwoStudios) {
    open();
    OrlixDatabase second;
    second.SetChangeWatch(0, 0);
    ASSERT_EQ(second.OpenDatabase(folder_, QString()), 0);
    auto prize = storedPrize(*db_, 1);
    ASSERT_NE(prize, nullptr);
    auto seenThere = second.GetPrize(prize->Reference());
    ASSERT_NE(seenThere, nullptr);

    bool ok = false;
    EXPECT_EQ(addWinner(*db_, *prize, ok), PrizeWinnerRefusal::None);
    EXPECT_TRUE(ok);
    EXPECT_EQ(addWinner(second, *seenThere, ok), PrizeWinnerRefusal::FullyAllocated);
    EXPECT_FALSE(ok);
    EXPECT_EQ(db_->GetPrize(prize->Reference())->NumberWinners(), 1);
}

TEST_F(MessagesDbTest, StorePrizeWinnerSaysWhyItRefused) {
    OrlixDatabase closed;
    auto loose = closed.NewPrize();
    bool ok = true;
    EXPECT_EQ(addWinner(closed, *loose, ok), PrizeWinnerRefusal::Failed);
    EXPECT_FALSE(ok);

    open();
    auto prize = storedPrize(*db_, 2);
    ASSERT_NE(prize, nullptr);
    auto gone = db_->NewPrizeWinner(*prize);
    bool deleted = false;
    db_->DeletePrize(prize->Reference(), deleted);
    ASSERT_TRUE(deleted);
    PrizeWinnerRefusal why = PrizeWinnerRefusal::None;
    db_->StorePrizeWinner(*gone, ok, &why);
    EXPECT_FALSE(ok);
    EXPECT_EQ(why, PrizeWinnerRefusal::PrizeMissing);
    // Without a place for the reason the refusal still holds.
    db_->StorePrizeWinner(*gone, ok);
    EXPECT_FALSE(ok);

    auto none = storedPrize(*db_, 0);
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(addWinner(*db_, *none, ok), PrizeWinnerRefusal::ZeroSupplied);
    EXPECT_FALSE(ok);
    EXPECT_EQ(db_->GetPrize(none->Reference())->NumberWinners(), 0);
}

// Lowering the number supplied below what was given away (here by another studio since the
// prize was read) stores the count of winners, and the object takes it.
TEST_F(MessagesDbTest, TheNumberSuppliedIsNeverStoredBelowTheWinners) {
    open();
    auto prize = storedPrize(*db_, 3);
    ASSERT_NE(prize, nullptr);
    OrlixDatabase second;
    second.SetChangeWatch(0, 0);
    ASSERT_EQ(second.OpenDatabase(folder_, QString()), 0);
    bool ok = false;
    auto there = second.GetPrize(prize->Reference());
    for (int i = 0; i < 2; ++i) {
        addWinner(second, *there, ok);
        ASSERT_TRUE(ok);
    }
    prize->SetNumberSupplied(1);
    db_->StorePrize(*prize, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(prize->NumberSupplied(), 2);
    EXPECT_EQ(second.GetPrize(prize->Reference())->NumberSupplied(), 2);

    // At or above the count the number given is kept.
    prize->SetNumberSupplied(5);
    db_->StorePrize(*prize, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(db_->GetPrize(prize->Reference())->NumberSupplied(), 5);
    // A new prize has no winners yet: 0 is stored as given.
    auto none = storedPrize(*db_, 0);
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->NumberSupplied(), 0);
}

// Two threads, each with its own connection to the file, allocate as fast as they can: however
// the transactions interleave, no prize ends with more winners than supplied.
TEST_F(MessagesDbTest, RacingStudiosNeverAllocateMoreThanSupplied) {
    open();
    constexpr int kRounds = 15;
    constexpr qint32 kSupplied = 3;
    std::vector<qint32> prizes;
    for (int round = 0; round < kRounds; ++round) {
        auto prize = storedPrize(*db_, kSupplied);
        ASSERT_NE(prize, nullptr);
        prizes.push_back(prize->Reference());
    }
    std::atomic<int> stored{0};
    std::atomic<int> failures{0};
    std::atomic<int> ready{0};
    const auto studio = [&] {
        OrlixDatabase db;
        db.SetChangeWatch(0, 0);
        db.SetBusyTimeout(20000);
        if (db.OpenDatabase(folder_, QString()) != 0) {
            ++failures;
            return;
        }
        ++ready;
        while (ready.load() < 2) {
            std::this_thread::yield();
        }
        for (qint32 reference : prizes) {
            auto prize = db.GetPrize(reference, false);
            if (!prize) {
                ++failures;
                continue;
            }
            // Each studio tries more often than there are units.
            for (int attempt = 0; attempt < kSupplied + 1; ++attempt) {
                bool ok = false;
                const PrizeWinnerRefusal why = addWinner(db, *prize, ok);
                if (ok) {
                    ++stored;
                } else if (why != PrizeWinnerRefusal::FullyAllocated) {
                    ++failures;
                }
            }
        }
    };
    std::thread a(studio);
    std::thread b(studio);
    a.join();
    b.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(stored.load(), kRounds * kSupplied);
    for (qint32 reference : prizes) {
        auto prize = db_->GetPrize(reference);
        ASSERT_NE(prize, nullptr);
        EXPECT_EQ(prize->NumberWinners(), kSupplied) << "prize " << reference;
    }
}
