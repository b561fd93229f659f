#include "scriptspanefixture.h"

namespace {

using WebEngineScriptScrollTest = ScriptsPaneFixture;

QString longScript() {
    QString text;
    for (int i = 0; i < 400; ++i) {
        text += QStringLiteral("Line %1 of the long script\r\n").arg(i);
    }
    return text;
}

TEST_F(WebEngineScriptScrollTest, AutoScrollMovesTheRealScrollPosition) {
    settings.SetScriptScrollSpeed(10);
    load(true);
    ASSERT_TRUE(ShowActive(*host));
    pane->ShowScript(longScript(), QString(), true);
    ASSERT_TRUE(ScriptViewDriver::Settled(pane->wbScripts));
    ASSERT_GT(ScriptViewDriver::Run(pane->wbScripts,
                                    QStringLiteral("document.scrollingElement.scrollHeight-"
                                                   "window.innerHeight"))
                  .toInt(),
              10);
    EXPECT_EQ(pane->wbScripts->ScrollPosition().y(), 0);
    pane->chkScriptAutoScroll->click();
    EXPECT_TRUE(WaitFor([&] { return pane->wbScripts->ScrollPosition().y() >= 3; }, 10000));
    pane->chkScriptAutoScroll->click();
}

TEST_F(WebEngineScriptScrollTest, FastScrollRunsOnlyWhileAButtonIsHeld) {
    load(true);
    ASSERT_TRUE(ShowActive(*host));
    pane->ShowScript(longScript(), QString(), true);
    ASSERT_TRUE(ScriptViewDriver::Settled(pane->wbScripts));

    // A press and release within one step scrolls nothing.
    QTest::mousePress(pane->cmdScriptDown, Qt::LeftButton);
    QTest::mouseRelease(pane->cmdScriptDown, Qt::LeftButton);
    EXPECT_FALSE(pane->tmrScriptScrollFast.isActive());
    EXPECT_EQ(pane->wbScripts->ScrollPosition().y(), 0);

    QTest::mousePress(pane->cmdScriptDown, Qt::LeftButton);
    EXPECT_TRUE(pane->tmrScriptScrollFast.isActive());
    EXPECT_EQ(pane->wbScripts->ScrollPosition().y(), 0) << "nothing on the press itself";
    ASSERT_TRUE(WaitFor([&] { return pane->wbScripts->ScrollPosition().y() >= 9; }));
    QTest::mouseRelease(pane->cmdScriptDown, Qt::LeftButton);
    EXPECT_FALSE(pane->tmrScriptScrollFast.isActive());
    const int down = pane->wbScripts->ScrollPosition().y();
    EXPECT_EQ(down % 3, 0);

    QTest::mousePress(pane->cmdScriptUp, Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return pane->wbScripts->ScrollPosition().y() < down; }));
    QTest::mouseRelease(pane->cmdScriptUp, Qt::LeftButton);

    // A release that never comes (the button let go while a box held the mouse) stops it.
    QTest::mousePress(pane->cmdScriptDown, Qt::LeftButton);
    pane->cmdScriptDown->setDown(false);
    EXPECT_TRUE(WaitFor([&] { return !pane->tmrScriptScrollFast.isActive(); }));
    QTest::mousePress(pane->cmdScriptDown, Qt::LeftButton);
    pane->cmdScriptDown->setEnabled(false);
    EXPECT_TRUE(WaitFor([&] { return !pane->tmrScriptScrollFast.isActive(); }));
}

} // namespace
