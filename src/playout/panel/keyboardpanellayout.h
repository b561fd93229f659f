#pragma once

#include "platform/ui/twips.h"

#include <QList>

// The playout keyboard panel's geometry in twips: the design places of its controls and the
// three layout rules (the panel, the instant carts, the player columns). Every computed
// width or left below zero is clamped to zero.
namespace PanelDesign {
// The panel itself and its hide bar.
constexpr double kPanelHeight = 4515;
constexpr double kHideBarHeight = 195;
constexpr double kHideBarTop = kPanelHeight - 60 - kHideBarHeight;
// Players across the top, the two cart rows under them, the log at the right down to 60
// above the hide bar.
constexpr double kPlayersTop = 60;
constexpr double kPlayersHeight = 2580;
constexpr double kCartsTop = kPlayersTop + kPlayersHeight + 60;
constexpr double kCartsHeight = kHideBarTop - 60 - kCartsTop;
constexpr double kCartHeight = 615;
constexpr double kLogTop = 60;
constexpr double kLogHeight = kHideBarTop - 60 - kLogTop;
constexpr double kLogNavigationWidth = 3000;
constexpr double kLogGoWidth = 2000;
constexpr double kLogGroupTop = 60;
constexpr double kLogGroupHeight = 3420;
constexpr double kLogScrollerTop = kLogGroupTop + kLogGroupHeight + 60;
constexpr double kLogScrollerHeight = kLogHeight - 60 - kLogScrollerTop;
// A player column's rows inside the players' panel.
constexpr double kCaptionTop = 60;
constexpr double kCaptionHeight = 300;
constexpr double kEjectCueTop = 420;
constexpr double kEjectCueHeight = 600;
constexpr double kPlayTop = 1080;
constexpr double kPlayHeight = 600;
constexpr double kPlayerScrollerTop = 1740;
constexpr double kPlayerScrollerHeight = 600;
} // namespace PanelDesign

struct KeyboardPanelInput {
    double width = 0; // W, the panel's width
    double hideBarTop = PanelDesign::kHideBarTop;
    bool logNavigation = false; // mnuViewLogNavigation ticked
    bool logGo = false;         // mnuViewLogGo ticked
    double navigationWidth = PanelDesign::kLogNavigationWidth;
    double goWidth = PanelDesign::kLogGoWidth;
};

struct KeyboardPanelLayout {
    double hideBarWidth = 0;
    TwipsRect notConnected;
    bool navigationShown = false;
    double navigationLeft = 0;
    bool goShown = false;
    double goLeft = 0;
    bool logShown = false;
    double logLeft = 0; // only when shown; its top stays
    double logWidth = 0;
    double logScrollerWidth = 0;
    double playersWidth = 0; // and the carts' panel
};

KeyboardPanelLayout LayoutKeyboardPanel(const KeyboardPanelInput& in);

// Carts 1 to 20 (element 0 of the list is cart 1) in a panel of that width, each keeping the
// given height: 1 to 10 in the upper row, 11 to 20 in the lower.
QList<TwipsRect> LayoutInstantCarts(double panelWidth, double cartHeight);

// One player column: its caption, eject, cue, play button and scroller.
struct PlayerColumnRects {
    TwipsRect caption;
    TwipsRect close;
    TwipsRect cue;
    TwipsRect play;
    TwipsRect scroller;
};

// Columns 1 to n (element 0 of the list is player 1) across a players' panel of that width;
// every column keeps the tops and heights of the first column's design.
QList<PlayerColumnRects> LayoutPlayers(double panelWidth, int n, const PlayerColumnRects& first);

// The first column's design: tops and heights (lefts and widths come from the layout).
PlayerColumnRects PlayerColumnDesign();

// The design places of the buttons inside the two log groups, by control name.
struct NamedRect {
    const char* name;
    TwipsRect rect;
};
QList<NamedRect> LogGoGroupDesign();
QList<NamedRect> LogNavigationGroupDesign();
