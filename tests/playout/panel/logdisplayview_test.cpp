#include "playout/panel/logdisplayview.h"

#include <gtest/gtest.h>

#include <optional>

namespace {
// The log's controls as a window holds them, following one view after another.
struct LogControls {
    LogButtonView go{false, "godis"};
    LogButtonView precue{false, ""};
    LogButtonView preview{false, ""};
    LogButtonView standby{false, "powerdis"};
    LogButtonView endType{false, ""};
    bool navigation = false;
    QString scroller = QStringLiteral("before");

    void apply(const LogDisplayView& v) {
        for (auto [from, to] :
             {std::pair{&v.go, &go}, std::pair{&v.precue, &precue}, std::pair{&v.preview, &preview},
              std::pair{&v.standby, &standby}, std::pair{&v.endType, &endType}}) {
            if (*from) {
                *to = **from;
            }
        }
        if (v.navigationEnabled) {
            navigation = *v.navigationEnabled;
        }
        if (v.scrollerText) {
            scroller = *v.scrollerText;
        }
    }
};

LogButtonView b(bool enabled, const char* picture = "") {
    return {enabled, QLatin1String(picture)};
}

struct ModeCase {
    const char* name;
    bool automatic;
    bool goAllowed;
    std::optional<QString> text;
    LogButtonView go, precue, preview, standby, endType;
    QString scroller;
};

TEST(LogModeView, TheThreeModesWithAndWithoutText) {
    const QString kept = QStringLiteral("before");
    const ModeCase cases[] = {
        {"automatic with text", true, false, QStringLiteral("Automation"), b(true, "gowhite"),
         b(true), b(true), b(true, "powergreen"), b(true), QStringLiteral("Automation")},
        {"automatic without text keeps the scroller", true, true, std::nullopt, b(true, "gowhite"),
         b(true), b(true), b(true, "powergreen"), b(true), kept},
        {"automatic with an empty text empties it", true, true, QString(), b(true, "gowhite"),
         b(true), b(true), b(true, "powergreen"), b(true), QString()},
        {"manual with Go", false, true, QStringLiteral("ignored"), b(true, "gowhite"), b(false),
         b(true), b(true, "powerred"), b(false), QString()},
        {"manual with Go, no text", false, true, std::nullopt, b(true, "gowhite"), b(false),
         b(true), b(true, "powerred"), b(false), QString()},
        {"manual", false, false, QStringLiteral("ignored"), b(false, "godis"), b(false), b(true),
         b(true, "powerred"), b(false), QString()},
        {"manual, no text", false, false, std::nullopt, b(false, "godis"), b(false), b(true),
         b(true, "powerred"), b(false), QString()},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (const bool navigation : {false, true}) {
            LogControls controls;
            controls.navigation = navigation;
            controls.apply(LogModeView(c.automatic, c.goAllowed, c.text));
            EXPECT_EQ(controls.go, c.go);
            EXPECT_EQ(controls.precue, c.precue);
            EXPECT_EQ(controls.preview, c.preview);
            EXPECT_EQ(controls.standby, c.standby);
            EXPECT_EQ(controls.endType, c.endType);
            EXPECT_EQ(controls.scroller, c.scroller);
            EXPECT_EQ(controls.navigation, navigation) << "the navigation buttons keep their state";
        }
    }
}

TEST(LogStatusView, ALoadedLogShowsManualAndNoLogDisablesAllButTheEnding) {
    for (const bool ending : {false, true}) {
        LogControls loaded;
        loaded.endType = b(ending);
        loaded.apply(LogStatusView(true));
        EXPECT_EQ(loaded.go, b(true, "gowhite"));
        EXPECT_EQ(loaded.precue, b(false));
        EXPECT_EQ(loaded.preview, b(true));
        EXPECT_EQ(loaded.standby, b(true, "powerred"));
        EXPECT_TRUE(loaded.navigation);
        EXPECT_EQ(loaded.scroller, QStringLiteral("before"));
        EXPECT_EQ(loaded.endType, b(ending));

        LogControls none;
        none.navigation = true;
        none.endType = b(ending);
        none.apply(LogStatusView(false));
        EXPECT_EQ(none.go, b(false, "godis"));
        EXPECT_EQ(none.precue, b(false));
        EXPECT_EQ(none.preview, b(false));
        EXPECT_EQ(none.standby, b(false, "powerdis"));
        EXPECT_FALSE(none.navigation);
        EXPECT_EQ(none.scroller, QString());
        EXPECT_EQ(none.endType, b(ending));
    }
}

TEST(LogStatusView, ALoadedLogAfterAutomaticModeShowsRedUntilTheNextModeLine) {
    LogControls c;
    c.apply(LogModeView(true, true, QStringLiteral("Automation")));
    EXPECT_EQ(c.standby.picture, QStringLiteral("powergreen"));
    c.apply(LogStatusView(true));
    EXPECT_EQ(c.standby.picture, QStringLiteral("powerred"));
    EXPECT_EQ(c.scroller, QStringLiteral("Automation"));
    c.apply(LogModeView(true, false, std::nullopt));
    EXPECT_EQ(c.standby.picture, QStringLiteral("powergreen"));
}
} // namespace
