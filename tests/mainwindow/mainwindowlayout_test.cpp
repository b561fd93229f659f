#include "mainwindow/mainwindowlayout.h"

#include <gtest/gtest.h>

#include <string>

namespace {
bool inside(const TwipsRect& r, double w, double h) {
    return r.left >= 0 && r.top >= 0 && r.left + r.width <= w && r.top + r.height <= h;
}
bool overlap(const TwipsRect& a, const TwipsRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}
bool nonNegative(const TwipsRect& r) {
    return r.width >= 0 && r.height >= 0;
}

TEST(LayoutMainWindow, WithoutTheKeyboardTheBandRunsToTheBottom) {
    MainLayoutInput in;
    in.clientWidth = 20000;
    in.clientHeight = 12000;
    in.keyboardMenuChecked = false;
    const MainLayout out = LayoutMainWindow(in);
    EXPECT_TRUE(out.hideNotConnected);
    EXPECT_FALSE(out.keyboardVisible || out.showBarVisible);
    EXPECT_EQ(out.picPanes.top, 1245);
    EXPECT_EQ(out.picPanes.top + out.picPanes.height, 12000 - 60);
    EXPECT_EQ(out.pnlTalkback.top, out.picPanes.top);
    EXPECT_EQ(out.pnlTalkback.height, out.picPanes.height);
    EXPECT_EQ(out.pnlClock, (TwipsRect{60, 60, 19880, 1125}));
}

TEST(LayoutMainWindow, TheBandEndsAboveTheKeyboardOrItsShowBar) {
    MainLayoutInput in;
    in.clientWidth = 20000;
    in.clientHeight = 12000;
    MainLayout out = LayoutMainWindow(in);
    EXPECT_TRUE(out.keyboardVisible);
    EXPECT_EQ(out.pnlVorelaKeyboard, (TwipsRect{60, 12000 - 4515 - 60, 19880, 4515}));
    EXPECT_EQ(out.picPanes.top + out.picPanes.height, out.pnlVorelaKeyboard.top - 60);

    in.vorelaPanelHidden = true;
    out = LayoutMainWindow(in);
    EXPECT_TRUE(out.showBarVisible);
    EXPECT_FALSE(out.keyboardVisible);
    EXPECT_EQ(out.cmdShowVorelaKeyboard, (TwipsRect{60, 12000 - 60 - 315, 19880, 315}));
    EXPECT_EQ(out.picPanes.top + out.picPanes.height, out.cmdShowVorelaKeyboard.top - 60);

    in.clientHeight = 9000; // a height-only resize moves the show bar too
    out = LayoutMainWindow(in);
    EXPECT_EQ(out.cmdShowVorelaKeyboard.top, 9000 - 60 - 315);
}

TEST(LayoutMainWindow, TheTalkbackToggleNarrowsOrWidensThePanes) {
    MainLayoutInput in;
    in.clientWidth = 20000;
    in.clientHeight = 12000;
    MainLayout on = LayoutMainWindow(in);
    EXPECT_EQ(on.pnlTalkback.width, 3495);
    EXPECT_EQ(on.pnlTalkback.left + on.pnlTalkback.width, 20000 - 60);
    EXPECT_EQ(on.picPanes.left + on.picPanes.width, on.pnlTalkback.left - 60);
    in.talkbackOn = false;
    MainLayout off = LayoutMainWindow(in);
    EXPECT_EQ(off.picPanes.left + off.picPanes.width, 20000 - 60);
    EXPECT_EQ(off.pnlTalkback, on.pnlTalkback); // placed whether shown or not
}

TEST(LayoutMainWindow, MinimisedMovesNothing) {
    MainLayoutInput in;
    in.minimised = true;
    EXPECT_FALSE(LayoutMainWindow(in).laidOut);
}

struct WindowCase {
    const char* name;
    double width;
    double height;
};

// Studio screens from a small laptop to a wide monitor, in both states of every toggle:
// each region lies inside the window and no two regions overlap.
TEST(LayoutMainWindow, RegionsStayInsideAndApartOnEveryScreen) {
    const std::vector<WindowCase> screens = {
        {"laptop 1366x768", 1366 * 15.0, 700 * 15.0},
        {"typical 1920x1080", 1920 * 15.0, 1000 * 15.0},
        {"wide 3440x1440", 3440 * 15.0, 1360 * 15.0},
    };
    for (const WindowCase& s : screens) {
        for (int state = 0; state < 8; ++state) {
            MainLayoutInput in;
            in.clientWidth = s.width;
            in.clientHeight = s.height;
            in.keyboardMenuChecked = (state & 1) != 0;
            in.vorelaPanelHidden = (state & 2) != 0;
            in.talkbackOn = (state & 4) != 0;
            const MainLayout out = LayoutMainWindow(in);
            const std::string label = std::string(s.name) + " state " + std::to_string(state);
            std::vector<TwipsRect> shown = {out.pnlClock, out.picPanes};
            if (in.talkbackOn) {
                shown.push_back(out.pnlTalkback);
            }
            if (out.keyboardVisible) {
                shown.push_back(out.pnlVorelaKeyboard);
            }
            if (out.showBarVisible) {
                shown.push_back(out.cmdShowVorelaKeyboard);
            }
            for (size_t i = 0; i < shown.size(); ++i) {
                EXPECT_TRUE(inside(shown[i], s.width, s.height)) << label << " region " << i;
                for (size_t j = i + 1; j < shown.size(); ++j) {
                    EXPECT_FALSE(overlap(shown[i], shown[j])) << label << " " << i << "/" << j;
                }
            }
        }
    }
}

TEST(LayoutMainWindow, ATinyWindowGivesNoNegativeSizes) {
    for (double w : {0.0, 100.0, 3000.0}) {
        MainLayoutInput in;
        in.clientWidth = w;
        in.clientHeight = w / 2;
        const MainLayout out = LayoutMainWindow(in);
        for (const TwipsRect& r : {out.pnlClock, out.picPanes, out.pnlTalkback,
                                   out.pnlVorelaKeyboard, out.cmdShowVorelaKeyboard}) {
            EXPECT_TRUE(nonNegative(r)) << w;
        }
    }
}

TEST(LayoutTabStrip, SixEqualButtonsSixtyApartFromTheLeftEdge) {
    const auto b = LayoutTabStrip(7000, 1000);
    for (size_t i = 0; i < b.size(); ++i) {
        EXPECT_EQ(b[i].width, 833);
        EXPECT_EQ(b[i].left, i * (833 + 60.0));
        EXPECT_EQ(b[i].top, 795);
        EXPECT_EQ(b[i].height, 315);
    }
    EXPECT_EQ(LayoutTabStrip(1500, 1000)[0].width, 0);
}

TEST(LayoutTalkbackPane, EqualMarginsInside) {
    const TalkbackLayout t = LayoutTalkbackPane(3495, 6000, 120, 120);
    EXPECT_EQ(t.pnlTalkbackInner, (TwipsRect{120, 120, 3255, 5760}));
    EXPECT_EQ(t.ctlTalkback, (TwipsRect{60, 60, 3135, 5640}));
}

TEST(FillColumnWidth, TheFillColumnTakesWhatTheOthersLeave) {
    EXPECT_EQ(FillColumnWidth(6000, {2000, 1250}), 2435);
    EXPECT_EQ(FillColumnWidth(6000, {1500}), 4185);
    EXPECT_EQ(FillColumnWidth(6000, {0.4, 0.4, 0.4}), 6000 - 315); // rounded after each addition
    EXPECT_EQ(FillColumnWidth(300, {2000}), 0);
}

TEST(LayoutContactsPane, DetailsKeepTheirMinimumHeightAndButtonsTheirColumn) {
    ContactsPaneInput in;
    in.first = {0, 0, 100, 2000};
    in.second = {3800, 0, 9000, 2000};
    in.tabAreaLeft = 100;
    in.tabAreaTop = 400;
    in.tabAreaWidth = 5000;
    in.tabAreaHeight = 2500;
    const ContactsPaneLayout out = LayoutContactsPane(in);
    EXPECT_EQ(out.ctlContacts.width, 0);
    EXPECT_EQ(out.ctlContact.height, 3500);
    EXPECT_EQ(out.buttonColumnLeft, 3800 + 9000 - 60 - 795);
    EXPECT_EQ(out.ctlContact.width, out.buttonColumnLeft - 60 - 3800 - 60);
    EXPECT_EQ(out.historyFrame, (TwipsRect{3860 + 100 + 120, 60 + 400 + 60, 4760, 2320}));
    EXPECT_EQ(out.historyList, (TwipsRect{180, 300, 4400, 1780}));
}

TEST(LayoutOtherPanes, ListsAndDetailsInTheirPanes) {
    const TwipsRect narrow{0, 0, 100, 5000};
    const TwipsRect b{4000, 0, 8000, 6000};
    EXPECT_EQ(LayoutPrizesPane(narrow, b).ctlPrizes.width, 0);
    EXPECT_EQ(LayoutWebsitesPane(narrow, b).ctlWebsites.width, 0);
    EXPECT_EQ(LayoutWebsitesPane(narrow, b).ctlWebsite, (TwipsRect{4060, 60, 7880, 5880}));
    const PrizesPaneLayout p = LayoutPrizesPane(narrow, b);
    EXPECT_EQ(p.cmdOpenPrizeLeft, 4000 + 8000 - 60 - 795);
    EXPECT_EQ(p.ctlPrize, (TwipsRect{4060, 60, p.cmdOpenPrizeLeft - 4000 - 120, 5880}));

    const MessagesPaneLayout m = LayoutMessagesPane(narrow, b);
    EXPECT_EQ(m.ctlMessages.width, 0);
    EXPECT_EQ(m.ctlMessage, (TwipsRect{4060, 60, 7880, 5940}));
    EXPECT_EQ(m.ctlMessageBrowser.top, m.toolbarMessages.top + 330);
    EXPECT_EQ(m.ctlMessageBrowser.top + m.ctlMessageBrowser.height, 6000 - 60);
}

TEST(LayoutScriptsPane, ButtonsInTheirColumnAndTheBrowserUnderTheToolbar) {
    for (double top : {0.0, 600.0}) {
        ScriptsPaneInput in;
        in.first = {0, top, 3800, 7000};
        in.second = {3860, top, 9000, 7000};
        const ScriptsPaneLayout s = LayoutScriptsPane(in);
        EXPECT_EQ(s.cmdNewScript.top + s.cmdNewScript.height, top + 7000 - 60);
        EXPECT_EQ(s.treeScripts.top + s.treeScripts.height, s.cmdNewScript.top - 60);
        EXPECT_EQ(s.chkScriptAutoScroll.left, s.cmdScriptUp.left);
        EXPECT_EQ(s.chkScriptEdit.left, s.cmdScriptUp.left);
        EXPECT_EQ(s.chkScriptEdit.top, s.chkScriptAutoScroll.top + 795 + 60);
        // Centred as a pair between the pane's top and bottom.
        EXPECT_EQ(s.chkScriptAutoScroll.top - top,
                  top + 7000 - (s.chkScriptEdit.top + s.chkScriptEdit.height));
        EXPECT_GT(s.chkScriptAutoScroll.top, s.cmdScriptUp.top + s.cmdScriptUp.height);
        EXPECT_LT(s.chkScriptEdit.top + s.chkScriptEdit.height, s.cmdScriptDown.top);
        EXPECT_EQ(s.wbScripts.top, s.toolScripts.top + 330);
        EXPECT_EQ(s.wbScripts.top + s.wbScripts.height, top + 7000 - 60);
        EXPECT_EQ(s.wbScripts.left + s.wbScripts.width, s.cmdScriptUp.left - 60);
    }
}
} // namespace
