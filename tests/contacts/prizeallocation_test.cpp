#include "contacts/prizeallocation.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

using namespace PrizeAllocation;

namespace {

struct AddCase {
    const char* name;
    AddInputs in;
    bool answerYes;
    bool saveWorks;
    AddOutcome expected;
    bool asked;
    bool saved;
};

std::ostream& operator<<(std::ostream& out, const AddCase& c) {
    return out << c.name;
}

class AddWinnerRules : public ::testing::TestWithParam<AddCase> {};

TEST_P(AddWinnerRules, FollowTheOrderOfTheRules) {
    const AddCase& c = GetParam();
    bool asked = false;
    bool saved = false;
    const AddOutcome outcome = AddWinner(
        c.in,
        [&] {
            asked = true;
            return c.answerYes;
        },
        [&] {
            saved = true;
            return c.saveWorks;
        });
    EXPECT_EQ(outcome, c.expected);
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(saved, c.saved);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AddWinnerRules,
    ::testing::Values(
        AddCase{"ZeroSupplied", {0, 0, false}, true, true, AddOutcome::RefusedZero, false, false},
        // The zero refusal comes before the save question, even with unsaved edits.
        AddCase{
            "ZeroSuppliedEdited", {0, 0, true}, true, true, AddOutcome::RefusedZero, false, false},
        AddCase{
            "NegativeSupplied", {-4, 0, false}, true, true, AddOutcome::RefusedZero, false, false},
        AddCase{"ThreeOfThree",
                {3, 3, false},
                true,
                true,
                AddOutcome::RefusedFullyAllocated,
                false,
                false},
        AddCase{"ThreeOfThreeEdited",
                {3, 3, true},
                true,
                true,
                AddOutcome::RefusedFullyAllocated,
                false,
                false},
        // More stored than supplied (another studio's allocation) is still full.
        AddCase{"FourOfThree",
                {3, 4, false},
                true,
                true,
                AddOutcome::RefusedFullyAllocated,
                false,
                false},
        AddCase{
            "RaisedToFourUnsavedYes", {4, 3, true}, true, true, AddOutcome::OpenWinner, true, true},
        AddCase{"RaisedToFourUnsavedNo",
                {4, 3, true},
                false,
                true,
                AddOutcome::SaveDeclined,
                true,
                false},
        AddCase{
            "RaisedToFourSaveFails", {4, 3, true}, true, false, AddOutcome::SaveFailed, true, true},
        AddCase{
            "SavedWithRoom", {4, 3, false}, false, false, AddOutcome::OpenWinner, false, false}),
    [](const ::testing::TestParamInfo<AddCase>& info) { return std::string(info.param.name); });

TEST(AddWinnerRulesText, RefusalsSayWhy) {
    EXPECT_EQ(AddRefusalText(AddOutcome::RefusedZero),
              QStringLiteral("You cannot add any Winners to this Prize because the 'Number "
                             "Supplied' is zero!"));
    EXPECT_EQ(AddRefusalText(AddOutcome::RefusedFullyAllocated),
              QStringLiteral("You cannot add any more Winners to this Prize because it has been "
                             "fully allocated!"));
    EXPECT_TRUE(AddRefusalText(AddOutcome::OpenWinner).isEmpty());
    EXPECT_TRUE(AddRefusalText(AddOutcome::SaveDeclined).isEmpty());
}

struct RemoveCase {
    const char* name;
    bool edited;
    bool answerSave;
    bool saveWorks;
    RemoveTarget target;
    bool answerRemove;
    RemoveOutcome expected;
    std::vector<const char*> steps;
};

std::ostream& operator<<(std::ostream& out, const RemoveCase& c) {
    return out << c.name;
}

class RemoveWinnerRules : public ::testing::TestWithParam<RemoveCase> {};

TEST_P(RemoveWinnerRules, FollowTheOrderOfTheRules) {
    const RemoveCase& c = GetParam();
    std::vector<std::string> steps;
    const RemoveOutcome outcome = RemoveWinner(
        c.edited,
        [&] {
            steps.emplace_back("askSave");
            return c.answerSave;
        },
        [&] {
            steps.emplace_back("save");
            return c.saveWorks;
        },
        [&] {
            steps.emplace_back("target");
            return c.target;
        },
        [&] {
            steps.emplace_back("askRemove");
            return c.answerRemove;
        });
    EXPECT_EQ(outcome, c.expected);
    EXPECT_EQ(steps, std::vector<std::string>(c.steps.begin(), c.steps.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Table, RemoveWinnerRules,
    ::testing::Values(RemoveCase{"EditedNo",
                                 true,
                                 false,
                                 true,
                                 {5, true, 9},
                                 true,
                                 RemoveOutcome::SaveDeclined,
                                 {"askSave"}},
                      RemoveCase{"EditedSaveFails",
                                 true,
                                 true,
                                 false,
                                 {5, true, 9},
                                 true,
                                 RemoveOutcome::SaveFailed,
                                 {"askSave", "save"}},
                      // The target is read after the save, which gives a new prize its Reference.
                      RemoveCase{"EditedSavedThenRemoved",
                                 true,
                                 true,
                                 true,
                                 {5, true, 9},
                                 true,
                                 RemoveOutcome::Remove,
                                 {"askSave", "save", "target", "askRemove"}},
                      RemoveCase{"UnstoredPrize",
                                 false,
                                 true,
                                 true,
                                 {0, true, 9},
                                 true,
                                 RemoveOutcome::NothingToRemove,
                                 {"target"}},
                      RemoveCase{"NoSelection",
                                 false,
                                 true,
                                 true,
                                 {5, false, 9},
                                 true,
                                 RemoveOutcome::NothingToRemove,
                                 {"target"}},
                      RemoveCase{"PositionNamesNoWinner",
                                 false,
                                 true,
                                 true,
                                 {5, true, 0},
                                 true,
                                 RemoveOutcome::NothingToRemove,
                                 {"target"}},
                      RemoveCase{"QuestionNo",
                                 false,
                                 true,
                                 true,
                                 {5, true, 9},
                                 false,
                                 RemoveOutcome::Declined,
                                 {"target", "askRemove"}},
                      RemoveCase{"QuestionYes",
                                 false,
                                 true,
                                 true,
                                 {5, true, 9},
                                 true,
                                 RemoveOutcome::Remove,
                                 {"target", "askRemove"}}),
    [](const ::testing::TestParamInfo<RemoveCase>& info) { return std::string(info.param.name); });

} // namespace
