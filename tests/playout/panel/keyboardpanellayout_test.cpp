#include "playout/panel/keyboardpanellayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using namespace PanelDesign;

TEST(KeyboardPanelLayout, BothLogGroupsOnATwelveThousandTwipPanel) {
    KeyboardPanelInput in;
    in.width = 12000;
    in.logNavigation = true;
    in.logGo = true;
    const KeyboardPanelLayout l = LayoutKeyboardPanel(in);
    EXPECT_EQ(l.hideBarWidth, 11880);
    EXPECT_EQ(l.notConnected, (TwipsRect{60, 60, 11880, kHideBarTop - 90}));
    EXPECT_TRUE(l.navigationShown);
    EXPECT_EQ(l.navigationLeft, 60);
    EXPECT_TRUE(l.goShown);
    EXPECT_EQ(l.goLeft, 3120);
    EXPECT_TRUE(l.logShown);
    EXPECT_EQ(l.logLeft, 6700);
    EXPECT_EQ(l.logWidth, 5180);
    EXPECT_EQ(l.logScrollerWidth, 5060);
    EXPECT_EQ(l.playersWidth, 6520);
}

TEST(KeyboardPanelLayout, EachChoiceOfLogGroups) {
    struct Case {
        bool navigation, go;
        bool logShown;
        double goLeft, logLeft, logWidth, playersWidth;
    };
    const Case cases[] = {
        {false, false, false, 0, 0, 0, 12000 - 240},
        {false, true, true, 60, 11880 - 2120, 2120, 11880 - 2120 - 180},
        {true, false, true, 0, 11880 - 3120, 3120, 11880 - 3120 - 180},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.navigation << c.go);
        KeyboardPanelInput in;
        in.width = 12000;
        in.logNavigation = c.navigation;
        in.logGo = c.go;
        const KeyboardPanelLayout l = LayoutKeyboardPanel(in);
        EXPECT_EQ(l.navigationShown, c.navigation);
        EXPECT_EQ(l.goShown, c.go);
        EXPECT_EQ(l.logShown, c.logShown);
        if (c.go) {
            EXPECT_EQ(l.goLeft, c.goLeft);
        }
        if (c.logShown) {
            EXPECT_EQ(l.logLeft, c.logLeft);
            EXPECT_EQ(l.logWidth, c.logWidth);
        }
        EXPECT_EQ(l.playersWidth, c.playersWidth);
    }
}

TEST(KeyboardPanelLayout, ANarrowPanelClampsEveryWidthAtZero) {
    for (const double width : {0.0, 100.0, 2000.0}) {
        SCOPED_TRACE(width);
        KeyboardPanelInput in;
        in.width = width;
        in.hideBarTop = 50;
        in.logNavigation = true;
        in.logGo = true;
        const KeyboardPanelLayout l = LayoutKeyboardPanel(in);
        EXPECT_GE(l.hideBarWidth, 0);
        EXPECT_GE(l.notConnected.width, 0);
        EXPECT_EQ(l.notConnected.height, 0);
        EXPECT_EQ(l.logLeft, 0);
        EXPECT_EQ(l.playersWidth, 0);
        for (const TwipsRect& r : LayoutInstantCarts(l.playersWidth, kCartHeight)) {
            EXPECT_GE(r.left, 0);
            EXPECT_GE(r.width, 0);
        }
        for (const PlayerColumnRects& c : LayoutPlayers(l.playersWidth, 12, PlayerColumnDesign())) {
            for (const TwipsRect& r : {c.caption, c.close, c.cue, c.play, c.scroller}) {
                EXPECT_GE(r.left, 0);
                EXPECT_GE(r.width, 0);
            }
        }
    }
}

TEST(InstantCartsLayout, TwoRowsOfTenAcrossTheirPanel) {
    const QList<TwipsRect> carts = LayoutInstantCarts(6520, 615);
    ASSERT_EQ(carts.size(), 20);
    EXPECT_EQ(carts[0], (TwipsRect{60, 60, 586, 615}));
    EXPECT_EQ(carts[9], (TwipsRect{60 + 646 * 9, 60, 586, 615}));
    EXPECT_EQ(carts[10], (TwipsRect{60, 735, 586, 615})) << "cart 11 starts the second row";
    EXPECT_EQ(carts[19], (TwipsRect{60 + 646 * 9, 735, 586, 615}));
}

TEST(PlayersLayout, FourPlayersOnASixThousandFiveHundredTwentyTwipPanel) {
    const QList<PlayerColumnRects> columns = LayoutPlayers(6520, 4, PlayerColumnDesign());
    ASSERT_EQ(columns.size(), 4);
    const double lefts[] = {60, 1675, 3290, 4905};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i + 1);
        const PlayerColumnRects& c = columns[i];
        EXPECT_EQ(c.caption, (TwipsRect{lefts[i], kCaptionTop, 1555, kCaptionHeight}));
        EXPECT_EQ(c.close, (TwipsRect{lefts[i], kEjectCueTop, 1555 / 2.0 - 30, kEjectCueHeight}));
        EXPECT_EQ(c.cue, (TwipsRect{lefts[i] + c.close.width + 60, kEjectCueTop, c.close.width,
                                    kEjectCueHeight}));
        EXPECT_EQ(c.play, (TwipsRect{lefts[i], kPlayTop, 1555, kPlayHeight}));
        EXPECT_EQ(c.scroller,
                  (TwipsRect{lefts[i], kPlayerScrollerTop, 1555, kPlayerScrollerHeight}));
    }
}

// Every control of the panel in the panel's own twips, the cover left out (it lies over
// everything by design).
struct Placed {
    std::string name;
    TwipsRect rect;
};

TwipsRect offset(const TwipsRect& r, double left, double top) {
    return {r.left + left, r.top + top, r.width, r.height};
}

std::vector<Placed> placeEverything(double width, int players, bool navigation, bool go) {
    KeyboardPanelInput in;
    in.width = width;
    in.logNavigation = navigation;
    in.logGo = go;
    const KeyboardPanelLayout l = LayoutKeyboardPanel(in);
    std::vector<Placed> out;
    const TwipsRect hide{60, kHideBarTop, l.hideBarWidth, kHideBarHeight};
    const TwipsRect playersPanel{60, kPlayersTop, l.playersWidth, kPlayersHeight};
    const TwipsRect cartsPanel{60, kCartsTop, l.playersWidth, kCartsHeight};
    out.push_back({"pnlVorelaHide", hide});
    out.push_back({"pnlPlayers", playersPanel});
    out.push_back({"pnlInstantCarts", cartsPanel});
    const QList<PlayerColumnRects> columns =
        LayoutPlayers(l.playersWidth, players, PlayerColumnDesign());
    for (int i = 0; i < columns.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        const PlayerColumnRects& c = columns[i];
        out.push_back({"pnlPlayerCaption" + n, offset(c.caption, 60, kPlayersTop)});
        out.push_back({"cmdPlayerClose" + n, offset(c.close, 60, kPlayersTop)});
        out.push_back({"cmdPlayerCue" + n, offset(c.cue, 60, kPlayersTop)});
        out.push_back({"cmdPlayerPlay" + n, offset(c.play, 60, kPlayersTop)});
        out.push_back({"uPlayerScroller" + n, offset(c.scroller, 60, kPlayersTop)});
    }
    const QList<TwipsRect> carts = LayoutInstantCarts(l.playersWidth, kCartHeight);
    for (int i = 0; i < carts.size(); ++i) {
        out.push_back({"cmdInstantCart" + std::to_string(i + 1), offset(carts[i], 60, kCartsTop)});
    }
    if (l.logShown) {
        const TwipsRect log{l.logLeft, kLogTop, l.logWidth, kLogHeight};
        out.push_back({"pnlLog", log});
        out.push_back(
            {"uLogScroller",
             {log.left + 60, kLogTop + kLogScrollerTop, l.logScrollerWidth, kLogScrollerHeight}});
        const std::pair<bool, std::pair<double, double>> groups[] = {
            {l.navigationShown, {l.navigationLeft, kLogNavigationWidth}},
            {l.goShown, {l.goLeft, kLogGoWidth}}};
        for (int g = 0; g < 2; ++g) {
            if (!groups[g].first) {
                continue;
            }
            const double left = log.left + groups[g].second.first;
            out.push_back(
                {g == 0 ? "picLogNavigation" : "picLogControl",
                 {left, kLogTop + kLogGroupTop, groups[g].second.second, kLogGroupHeight}});
            for (const NamedRect& b : g == 0 ? LogNavigationGroupDesign() : LogGoGroupDesign()) {
                out.push_back({b.name, offset(b.rect, left, kLogTop + kLogGroupTop)});
            }
        }
    }
    return out;
}

bool inside(const TwipsRect& inner, const TwipsRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top &&
           inner.left + inner.width <= outer.left + outer.width &&
           inner.top + inner.height <= outer.top + outer.height;
}

bool overlap(const TwipsRect& a, const TwipsRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

// Which of two controls holds the other: a panel and what it holds may overlap.
bool holds(const std::string& outer, const std::string& inner) {
    const auto starts = [&](const char* prefix) { return inner.rfind(prefix, 0) == 0; };
    if (outer == "pnlPlayers") {
        return starts("pnlPlayerCaption") || starts("cmdPlayer") || starts("uPlayerScroller");
    }
    if (outer == "pnlInstantCarts") {
        return starts("cmdInstantCart");
    }
    if (outer == "pnlLog") {
        return starts("cmdLog") || inner == "uLogScroller" || starts("picLog");
    }
    if (outer == "picLogNavigation") {
        for (const NamedRect& b : LogNavigationGroupDesign()) {
            if (inner == b.name) {
                return true;
            }
        }
    }
    if (outer == "picLogControl") {
        for (const NamedRect& b : LogGoGroupDesign()) {
            if (inner == b.name) {
                return true;
            }
        }
    }
    return false;
}

TEST(KeyboardPanelLayout, EveryControlInsideThePanelAboveTheHideBarAndApart) {
    // Client widths of a laptop, a typical and a wide window, in pixels; the panel is the
    // window's width less its margins.
    for (const int pixels : {1366, 1920, 2560}) {
        const double width = pixels * kTwipsPerPixel - 120;
        for (const int players : {1, 4, 12}) {
            for (const bool navigation : {false, true}) {
                for (const bool go : {false, true}) {
                    SCOPED_TRACE(testing::Message()
                                 << pixels << " px, " << players << " players, navigation "
                                 << navigation << ", go " << go);
                    const std::vector<Placed> all = placeEverything(width, players, navigation, go);
                    const TwipsRect panel{0, 0, width, kPanelHeight};
                    const TwipsRect aboveHideBar{0, 0, width, kHideBarTop};
                    for (const Placed& p : all) {
                        EXPECT_TRUE(inside(p.rect, panel)) << p.name;
                        EXPECT_GT(p.rect.width, 0) << p.name;
                        if (p.name != "pnlVorelaHide") {
                            EXPECT_TRUE(inside(p.rect, aboveHideBar)) << p.name;
                        }
                    }
                    for (size_t i = 0; i < all.size(); ++i) {
                        for (size_t j = i + 1; j < all.size(); ++j) {
                            const Placed& a = all[i];
                            const Placed& b = all[j];
                            if (holds(a.name, b.name) || holds(b.name, a.name)) {
                                EXPECT_TRUE(inside(holds(a.name, b.name) ? b.rect : a.rect,
                                                   holds(a.name, b.name) ? a.rect : b.rect))
                                    << a.name << " and " << b.name;
                                continue;
                            }
                            EXPECT_FALSE(overlap(a.rect, b.rect)) << a.name << " and " << b.name;
                        }
                    }
                }
            }
        }
    }
}
} // namespace
