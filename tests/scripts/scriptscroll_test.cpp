#include "scriptspanefixture.h"

namespace {

using ScriptScrollTest = ScriptsPaneFixture;

TEST_F(ScriptScrollTest, AutoScrollIntervalsFollowTheSpeedAtEachStep) {
    load();
    pane->chkScriptAutoScroll->click();
    EXPECT_TRUE(pane->tmrScriptScroll.isActive());
    EXPECT_EQ(pane->tmrScriptScroll.interval(), 2000);
    const std::pair<int, int> steps[] = {{6, 250}, {1, 500}, {10, 50}, {0, 500}, {11, 50}};
    for (const auto& [speed, interval] : steps) {
        settings.SetScriptScrollSpeed(static_cast<qint16>(speed));
        pane->tmrScriptScroll_Timer();
        EXPECT_EQ(pane->tmrScriptScroll.interval(), interval) << speed;
    }
    pane->chkScriptAutoScroll->click();
    EXPECT_FALSE(pane->tmrScriptScroll.isActive());
}

} // namespace
