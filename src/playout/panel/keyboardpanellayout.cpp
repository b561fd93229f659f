#include "playout/panel/keyboardpanellayout.h"

#include <algorithm>
#include <cmath>

namespace {
// A stored whole twip: halves go to the even number, as the form's integer arithmetic does.
double whole(double twips) {
    return std::nearbyint(twips);
}
double atLeastZero(double twips) {
    return std::max(0.0, twips);
}
} // namespace

KeyboardPanelLayout LayoutKeyboardPanel(const KeyboardPanelInput& in) {
    using namespace PanelDesign;
    const double w = in.width;
    KeyboardPanelLayout out;
    out.hideBarWidth = atLeastZero(w - 120);
    out.notConnected = {60, 60, atLeastZero(w - 120), atLeastZero(in.hideBarTop - 90)};

    double x = 0;
    if (in.logNavigation) {
        out.navigationShown = true;
        out.navigationLeft = 60;
        x = whole(60 + in.navigationWidth);
    }
    if (in.logGo) {
        x = whole(x + 60);
        out.goShown = true;
        out.goLeft = x;
        x = whole(x + in.goWidth);
    }
    if (x <= 0) {
        out.logShown = false;
        x = whole(w - 120);
    } else {
        x = whole(x + 60);
        out.logShown = true;
        out.logLeft = atLeastZero(whole((w - 120) - x));
        out.logWidth = x;
        x = whole(out.logLeft - 60);
        out.logScrollerWidth = atLeastZero(out.logWidth - 120);
    }
    out.playersWidth = atLeastZero(x - 120);
    return out;
}

QList<TwipsRect> LayoutInstantCarts(double panelWidth, double cartHeight) {
    const double w = whole((panelWidth - 60) / 10);
    QList<TwipsRect> carts;
    carts.reserve(20);
    for (int row = 0; row < 2; ++row) {
        for (int c = 1; c <= 10; ++c) {
            carts.append({atLeastZero(60 + w * (c - 1)), 60 + (cartHeight + 60) * row,
                          atLeastZero(w - 60), cartHeight});
        }
    }
    return carts;
}

QList<PlayerColumnRects> LayoutPlayers(double panelWidth, int n, const PlayerColumnRects& first) {
    QList<PlayerColumnRects> columns;
    if (n < 1) {
        return columns;
    }
    const double w = whole((panelWidth - 60) / n);
    columns.reserve(n);
    for (int i = 1; i <= n; ++i) {
        PlayerColumnRects c;
        const double left = atLeastZero(60 + w * (i - 1));
        c.caption = {left, first.caption.top, atLeastZero(w - 60), first.caption.height};
        c.close = {left, first.close.top, atLeastZero(c.caption.width / 2 - 30),
                   first.close.height};
        c.cue = {c.close.left + c.close.width + 60, first.cue.top, c.close.width, first.cue.height};
        c.play = {left, first.play.top, c.caption.width, first.play.height};
        c.scroller = {left, first.scroller.top, c.caption.width, first.scroller.height};
        columns.append(c);
    }
    return columns;
}

PlayerColumnRects PlayerColumnDesign() {
    using namespace PanelDesign;
    PlayerColumnRects c;
    c.caption = {60, kCaptionTop, 1555, kCaptionHeight};
    c.close = {60, kEjectCueTop, 747.5, kEjectCueHeight};
    c.cue = {867.5, kEjectCueTop, 747.5, kEjectCueHeight};
    c.play = {60, kPlayTop, 1555, kPlayHeight};
    c.scroller = {60, kPlayerScrollerTop, 1555, kPlayerScrollerHeight};
    return c;
}

QList<NamedRect> LogGoGroupDesign() {
    // The standby and preview buttons side by side, "PreCue" under them, "Go" large below.
    return {{"cmdLogStandby", {60, 60, 910, 600}},
            {"cmdLogPreview", {1030, 60, 910, 600}},
            {"cmdLogPrecue", {60, 720, 1880, 600}},
            {"cmdLogGo", {60, 1380, 1880, 1980}}};
}

QList<NamedRect> LogNavigationGroupDesign() {
    return {{"cmdLogUp", {60, 60, 1410, 660}},         {"cmdLogHome", {1530, 60, 1410, 660}},
            {"cmdLogDown", {60, 780, 1410, 660}},      {"cmdLogDelete", {1530, 780, 1410, 660}},
            {"cmdLogPrevHour", {60, 1500, 1410, 660}}, {"cmdLogNextHour", {1530, 1500, 1410, 660}},
            {"cmdLogEndType", {60, 2220, 2880, 660}}};
}
