#include "platform/web/commandlinks.h"

#include <gtest/gtest.h>

TEST(CommandLinks, TheRewrittenUrlGivesBackTheLinkAsThePageWroteIt) {
    struct Case {
        const char* url;
        std::optional<QString> text;
    };
    const Case cases[] = {
        // What the rewrite makes of orlix://openmessage(1234) and orlix://DeleteMessages.
        {"orlix:///openmessage(1234)", QStringLiteral("orlix://openmessage(1234)")},
        {"orlix:///openmessage%281234%29", QStringLiteral("orlix://openmessage(1234)")},
        {"orlix:///DeleteMessages", QStringLiteral("orlix://DeleteMessages")},
        {"ORLIX:///printmessage55", QStringLiteral("orlix://printmessage55")},
        {"orlix:///", QStringLiteral("orlix://")},
        // Wrapped links of other schemes come back whole, for the program to decide on.
        {"orlixlink:///mailto%3Adesk%40station.example",
         QStringLiteral("mailto:desk@station.example")},
        {"orlixlink:///javascript%3Aalert(1)", QStringLiteral("javascript:alert(1)")},
        // Any other URL is not ours.
        {"https://station.example/orlix:///x", std::nullopt},
        {"file:///tmp/Messages-List.htm", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CommandLinks::LinkText(QUrl(QString::fromLatin1(c.url))), c.text) << c.url;
    }
}
