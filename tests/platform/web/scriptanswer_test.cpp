// What the engine hands back from the program's scripts in a page, as the engine gives it
// (JavaScript numbers arrive as int or double, NaN and the infinities too when a script
// computes them past the engine's own conversion): only the type and range asked for count.

#include "platform/web/scriptanswer.h"
#include "platform/web/webeditorstate.h"

#include <QVariantList>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <ostream>

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();

QVariant pair(const QVariant& a, const QVariant& b) {
    return QVariantList{a, b};
}

struct PositionCase {
    const char* name;
    QVariant answer;
    std::optional<QPoint> position;
};

void PrintTo(const PositionCase& c, std::ostream* os) {
    *os << c.name;
}

class ScrollPositionAnswers : public ::testing::TestWithParam<PositionCase> {};

TEST_P(ScrollPositionAnswers, AreTakenOnlyAsTwoFiniteNumbersInRange) {
    const PositionCase& c = GetParam();
    EXPECT_EQ(ScriptAnswer::Position(c.answer), c.position);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ScrollPositionAnswers,
    ::testing::Values(
        PositionCase{"WholeNumbers", pair(0, 1200), QPoint(0, 1200)},
        PositionCase{"FractionsOfAHighDensityScreenRound", pair(10.4, 20.5), QPoint(10, 21)},
        PositionCase{"ARightToLeftDocumentScrollsBelowZero", pair(-640.0, 0), QPoint(-640, 0)},
        PositionCase{"AtTheEdgeOfTheLayoutRange", pair(ScriptAnswer::kMostPixels, 0),
                     QPoint(33554432, 0)},
        PositionCase{"PastTheLayoutRange", pair(0, ScriptAnswer::kMostPixels + 1), std::nullopt},
        PositionCase{"AHugeRow", pair(0, 1e300), std::nullopt},
        PositionCase{"AHugeNegativeColumn", pair(-1e300, 0), std::nullopt},
        PositionCase{"NaN", pair(kNaN, 0), std::nullopt},
        PositionCase{"Infinity", pair(0, kInfinity), std::nullopt},
        PositionCase{"ABigInteger", pair(0, qlonglong(1) << 40), std::nullopt},
        PositionCase{"NumbersSpeltOut", pair(QStringLiteral("10"), QStringLiteral("20")),
                     std::nullopt},
        PositionCase{"Flags", pair(true, false), std::nullopt},
        PositionCase{"OneNumber", QVariantList{5}, std::nullopt},
        PositionCase{"ThreeNumbers", QVariantList{1, 2, 3}, std::nullopt},
        PositionCase{"AnObject", QVariantMap{{"0", 1}, {"1", 2}}, std::nullopt},
        PositionCase{"Nothing", QVariant(), std::nullopt}),
    [](const ::testing::TestParamInfo<PositionCase>& info) { return info.param.name; });

TEST(ScriptAnswer, EachReaderTakesItsOwnTypeAndNoOther) {
    EXPECT_EQ(ScriptAnswer::Text(QStringLiteral("<p>x</p>")), QStringLiteral("<p>x</p>"));
    EXPECT_EQ(ScriptAnswer::Text(QString()), QString());
    for (const QVariant& other :
         {QVariant(5), QVariant(true), QVariant(), QVariant(QVariantList{})}) {
        EXPECT_EQ(ScriptAnswer::Text(other), std::nullopt) << other.typeName();
    }

    EXPECT_EQ(ScriptAnswer::Flag(true), true);
    EXPECT_EQ(ScriptAnswer::Flag(false), false);
    for (const QVariant& other : {QVariant(1), QVariant(QStringLiteral("true")), QVariant()}) {
        EXPECT_EQ(ScriptAnswer::Flag(other), std::nullopt) << other.typeName();
    }

    EXPECT_EQ(ScriptAnswer::Record(QVariantMap{{"bold", 1}}), (QVariantMap{{"bold", 1}}));
    for (const QVariant& other :
         {QVariant(QVariantList{}), QVariant(QStringLiteral("{}")), QVariant()}) {
        EXPECT_EQ(ScriptAnswer::Record(other), std::nullopt) << other.typeName();
    }
}

TEST(ScriptAnswer, ANumberIsAFiniteOneInsideItsRange) {
    const struct {
        QVariant answer;
        std::optional<int> number;
    } rows[] = {
        {1, 1},
        {-1.0, -1},
        {0.4, 0},
        {qlonglong(1), 1},
        {2, std::nullopt},
        {-1.6, std::nullopt},
        {1e300, std::nullopt},
        {kNaN, std::nullopt},
        {-kInfinity, std::nullopt},
        {QStringLiteral("1"), std::nullopt},
        {true, std::nullopt},
        {QVariant(), std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ScriptAnswer::Number(row.answer, -1, 1), row.number)
            << row.answer.toString().toStdString();
    }
}

TEST(ScriptAnswer, AnInputRowIsOneTextAndOneFlag) {
    const QVariant answer = QVariantList{
        pair(QStringLiteral("msg12"), true),
        pair(QStringLiteral("msg13"), false),
        pair(14, true),                                    // a name that is no text
        pair(QStringLiteral("msg15"), 1),                  // a tick that is no flag
        QVariantList{QStringLiteral("msg16")},             // half a row
        QVariantList{QStringLiteral("msg17"), true, true}, // a row and more
        QStringLiteral("msg18"),
        pair(QString(), true),
    };
    const QList<DocumentInput> inputs = ScriptAnswer::Inputs(answer);
    ASSERT_EQ(inputs.size(), 3);
    EXPECT_EQ(inputs.at(0).name, QStringLiteral("msg12"));
    EXPECT_TRUE(inputs.at(0).checked);
    EXPECT_EQ(inputs.at(1).name, QStringLiteral("msg13"));
    EXPECT_FALSE(inputs.at(1).checked);
    EXPECT_EQ(inputs.at(2).name, QString());
    EXPECT_TRUE(inputs.at(2).checked);

    for (const QVariant& other :
         {QVariant(QStringLiteral("msg12")), QVariant(QVariantMap{}), QVariant()}) {
        EXPECT_TRUE(ScriptAnswer::Inputs(other).isEmpty()) << other.typeName();
    }
}

TEST(WebEditorStateReport, OnlyStylesOfMinusOneToOneAndRealFlagsCount) {
    const QVariantMap good{
        {"bold", 1},         {"italic", -1.0}, {"underline", 0}, {"strikeThrough", qlonglong(1)},
        {"selection", true}, {"undo", true},   {"redo", false}};
    const WebEditorState s = WebEditorState::FromReport(good, true, true);
    EXPECT_EQ(s.bold, 1);
    EXPECT_EQ(s.italic, -1);
    EXPECT_EQ(s.underline, 0);
    EXPECT_EQ(s.strikeThrough, 1);
    EXPECT_TRUE(s.hasSelection);
    EXPECT_TRUE(s.canCut);
    EXPECT_TRUE(s.canCopy);
    EXPECT_TRUE(s.canPaste);
    EXPECT_TRUE(s.canUndo);
    EXPECT_FALSE(s.canRedo);

    const QVariantMap hostile{
        {"bold", 1e300},      {"italic", kNaN}, {"underline", QStringLiteral("1")},
        {"strikeThrough", 7}, {"selection", 1}, {"undo", QStringLiteral("true")},
        {"redo", 1.0}};
    const WebEditorState h = WebEditorState::FromReport(hostile, true, false);
    EXPECT_EQ(h.bold, 0);
    EXPECT_EQ(h.italic, 0);
    EXPECT_EQ(h.underline, 0);
    EXPECT_EQ(h.strikeThrough, 0);
    EXPECT_FALSE(h.hasSelection);
    EXPECT_FALSE(h.canCut);
    EXPECT_FALSE(h.canCopy);
    EXPECT_FALSE(h.canUndo);
    EXPECT_FALSE(h.canRedo);
}
} // namespace
