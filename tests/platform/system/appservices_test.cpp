#include "platform/system/appservices.h"

#include <gtest/gtest.h>

namespace {
TEST(AppServices, PadLeft) {
    EXPECT_EQ(AppServices::PadLeft(QStringLiteral("123"), 10, QStringLiteral(" ")),
              QStringLiteral("       123"));
    EXPECT_EQ(AppServices::PadLeft(QStringLiteral("9"), 3, QStringLiteral("0")),
              QStringLiteral("009"));
    EXPECT_EQ(AppServices::PadLeft(QStringLiteral("12345678901"), 10, QStringLiteral(" ")),
              QStringLiteral("12345678901"));
    EXPECT_EQ(AppServices::PadText(QStringLiteral("7"), 2, QStringLiteral("0")),
              QStringLiteral("07"));
}

struct TokenCase {
    const char* text;
    qsizetype start;
    const char* separator;
    const char* token;
    qsizetype sepPos;
};

TEST(AppServices, NextToken) {
    const std::vector<TokenCase> cases = {
        {"a,b,c", 1, ",", "a", 2},         {"a,b,c", 3, ",", "b", 4}, {"a,b,c", 5, ",", "c", 0},
        {"a,b,c", 6, ",", "", 0},          {"", 1, ",", "", 0},       {"abc", 0, ",", "abc", 0},
        {"key=>value", 1, "=>", "key", 4},
    };
    for (const TokenCase& c : cases) {
        qsizetype pos = -1;
        EXPECT_EQ(AppServices::NextToken(QString::fromLatin1(c.text), c.start,
                                         QString::fromLatin1(c.separator), &pos),
                  QString::fromLatin1(c.token))
            << c.text << " from " << c.start;
        EXPECT_EQ(pos, c.sepPos) << c.text << " from " << c.start;
    }
}

TEST(AppServices, NumericKeysAndClamp) {
    EXPECT_EQ(AppServices::FilterNumericKey('7', 1), '7');
    EXPECT_EQ(AppServices::FilterNumericKey('a', 1), 0);
    EXPECT_EQ(AppServices::FilterNumericKey(8, 1), 8); // Backspace still edits
    EXPECT_EQ(AppServices::Clamp(99, 0, 23), 23);
    EXPECT_EQ(AppServices::Clamp(-1, 0, 23), 0);
}
} // namespace

TEST(AppServices, NormaliseForComparePhoneNumbers) {
    const struct {
        const char* a;
        const char* b;
        bool equal;
    } cases[] = {
        {"07700 900123", "<07700900123>", true},
        {"\"(0770) 090.0123\"", "0770-0900123", true},
        {"ANN", "ann", true},
        {"Studio 1", "<1>", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AppServices::NormaliseForCompare(c.a, 1) ==
                      AppServices::NormaliseForCompare(c.b, 1),
                  c.equal)
            << c.a;
    }
    EXPECT_EQ(AppServices::NormaliseForCompare("A <b>", 0), "A <b>");
}
