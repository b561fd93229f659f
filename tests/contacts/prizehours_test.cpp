#include "contacts/prizehours.h"

#include "platform/messagesdb/orlixprize.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

using namespace PrizeHours;

TEST(PrizeHoursTest, OnlyCapitalLettersMakeAnHourAvailable) {
    DayTexts days;
    days[0] = QStringLiteral("ABX");
    days[1] = QStringLiteral("abx");
    days[2] = OrlixPrize::kAllHours;
    days[3] = QStringLiteral("Y Z [ @");
    const Week week = WeekFromTexts(days);
    for (int h = 0; h < kHours; ++h) {
        EXPECT_EQ(week[0][h], h == 0 || h == 1 || h == 23) << h;
        EXPECT_FALSE(week[1][h]) << h;
        EXPECT_TRUE(week[2][h]) << h;
        // Letters past "X" and neighbours of "A" name no hour.
        EXPECT_FALSE(week[3][h]) << h;
        EXPECT_FALSE(week[6][h]) << h;
    }
    EXPECT_FALSE(HourInText(QStringLiteral("ABX"), 24));
    EXPECT_FALSE(HourInText(QStringLiteral("ABX"), -1));
    EXPECT_EQ(HourColour(true), 65280U);
    EXPECT_EQ(HourColour(false), 255U);
}

TEST(PrizeHoursTest, AClickSwitchesOneHourBackAndForth) {
    const BlockSwitch on = SwitchBlock({3, 10}, {3, 10}, false);
    EXPECT_TRUE(on.available);
    ASSERT_EQ(on.cells.size(), 1U);
    EXPECT_EQ(on.cells[0], (Cell{3, 10}));
    EXPECT_FALSE(SwitchBlock({3, 10}, {3, 10}, true).available);
}

// Friday 18:00 is row 5, column 19; Monday 9:00 row 1, column 10.
TEST(PrizeHoursTest, ADragEitherWaySwitchesTheSameBlockToTheAnchorsNewState) {
    const BlockSwitch back = SwitchBlock({5, 19}, {1, 10}, true);
    const BlockSwitch forth = SwitchBlock({1, 10}, {5, 19}, true);
    EXPECT_FALSE(back.available);
    EXPECT_FALSE(forth.available);
    ASSERT_EQ(back.cells.size(), 50U);
    ASSERT_EQ(forth.cells.size(), 50U);
    std::set<std::pair<int, int>> a;
    std::set<std::pair<int, int>> b;
    for (std::size_t i = 0; i < 50; ++i) {
        a.insert({back.cells[i].row, back.cells[i].column});
        b.insert({forth.cells[i].row, forth.cells[i].column});
    }
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.size(), 50U);
    EXPECT_EQ(a.begin()->first, 1);
    EXPECT_EQ(a.begin()->second, 10);
    EXPECT_EQ(a.rbegin()->first, 5);
    EXPECT_EQ(a.rbegin()->second, 19);
    // Written from the anchor outwards.
    EXPECT_EQ(back.cells.front(), (Cell{5, 19}));
    EXPECT_EQ(back.cells[1], (Cell{5, 18}));
    EXPECT_EQ(back.cells[10], (Cell{4, 19}));
    EXPECT_EQ(back.cells.back(), (Cell{1, 10}));
}

TEST(PrizeHoursTest, ADragPastTheGridStaysInsideTheHours) {
    EXPECT_EQ(KeepInHours({0, 0}), (Cell{1, 1}));
    EXPECT_EQ(KeepInHours({9, 40}), (Cell{7, 24}));
    EXPECT_FALSE(IsHourCell({0, 5}));
    EXPECT_FALSE(IsHourCell({3, 0}));
    EXPECT_TRUE(IsHourCell({7, 24}));
    const BlockSwitch all = SwitchBlock({1, 1}, {12, 99}, false);
    EXPECT_EQ(all.cells.size(), static_cast<std::size_t>(kDays * kHours));
    EXPECT_EQ(all.cells.back(), (Cell{7, 24}));
}

TEST(PrizeHoursTest, PatternsOfSevenPartsOnly) {
    DayTexts days;
    days[0] = QStringLiteral("AB");
    days[6] = QStringLiteral("X");
    const QString pattern = JoinPattern(days);
    EXPECT_EQ(pattern, QStringLiteral("AB......X"));
    const auto back = SplitPattern(pattern);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, days);
    struct Case {
        const char* pattern;
        bool accepted;
    };
    for (const Case& c : {Case{"A.B.C.D.E.F", false}, Case{"A.B.C.D.E.F.G.H", false},
                          Case{"", false}, Case{"......", true}, Case{"A.B.C.D.E.F.G", true}}) {
        EXPECT_EQ(SplitPattern(QString::fromUtf8(c.pattern)).has_value(), c.accepted) << c.pattern;
    }
}
