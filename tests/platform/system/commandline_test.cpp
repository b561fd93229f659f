#include "platform/system/commandline.h"

#include <gtest/gtest.h>

namespace {
struct Case {
    QStringList args;
    QString expected;
};

TEST(BuildCommandLine, QuotesValuesWithBlanksOnce) {
    const std::vector<Case> cases = {
        {{}, QString()},
        {{QStringLiteral("/NOPREVCHECK")}, QStringLiteral("/NOPREVCHECK")},
        {{QStringLiteral("/Profile=Studio 2")}, QStringLiteral("/Profile=\"Studio 2\"")},
        {{QStringLiteral("/Profile=\"Studio 2\"")}, QStringLiteral("/Profile=\"Studio 2\"")},
        {{QStringLiteral("/Profile=Studio 2"), QStringLiteral("/User=bob")},
         QStringLiteral("/Profile=\"Studio 2\" /User=bob")},
        {{QStringLiteral("/User=")}, QStringLiteral("/User=")},
        {{QStringLiteral("plain words")}, QStringLiteral("plain words")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BuildCommandLine(c.args), c.expected)
            << c.args.join(QLatin1Char('|')).toStdString();
    }
}
} // namespace
