#include "mainwindow/mainwindowlayout.h"

#include <algorithm>
#include <cmath>

namespace {
double atLeast0(double v) {
    return std::max(0.0, v);
}

// Rounded to the nearest whole twip, a tie to the even one, as the window's integers are.
double whole(double v) {
    return std::nearbyint(v);
}

TwipsRect rect(double l, double t, double w, double h) {
    return {l, t, atLeast0(w), atLeast0(h)};
}

TwipsRect inset(const TwipsRect& p) {
    return rect(p.left + 60, p.top + 60, p.width - 120, p.height - 120);
}
} // namespace

MainLayout LayoutMainWindow(const MainLayoutInput& in) {
    MainLayout out;
    if (in.minimised) {
        return out;
    }
    out.laidOut = true;
    const double sw = in.clientWidth;
    const double sh = in.clientHeight;

    out.pnlClock = rect(60, 60, sw - 120, in.clockHeight);

    double bottom = sh - 60;
    if (in.keyboardMenuChecked) {
        out.pnlVorelaKeyboard = rect(60, sh - in.keyboardHeight - 60, sw - 120, in.keyboardHeight);
        // The show bar is placed from the window's own height, so a resize that changes only
        // the height never leaves it where it was.
        out.cmdShowVorelaKeyboard = rect(out.pnlVorelaKeyboard.left, sh - 60 - in.showBarHeight,
                                         sw - 120, in.showBarHeight);
        if (in.vorelaPanelHidden) {
            out.showBarVisible = true;
            bottom = out.cmdShowVorelaKeyboard.top - 60;
        } else {
            out.keyboardVisible = true;
            bottom = out.pnlVorelaKeyboard.top - 60;
        }
    } else {
        out.hideNotConnected = true;
    }

    const double top = out.pnlClock.height + out.pnlClock.top + 60;
    const double right = sw - 60;
    out.pnlTalkback = rect(right - in.talkbackWidth, top, in.talkbackWidth, bottom - top);
    const double paneRight = in.talkbackOn ? out.pnlTalkback.left - 60 : right;
    out.picPanes = rect(60, top, paneRight - 60, bottom - top);
    return out;
}

std::array<TwipsRect, 6> LayoutTabStrip(double stripWidth, double clockWidth, double buttonTop,
                                        double buttonHeight) {
    const double w = atLeast0(whole((stripWidth - clockWidth - 1000) / 6));
    std::array<TwipsRect, 6> buttons{};
    double left = 0;
    for (TwipsRect& b : buttons) {
        b = rect(left, buttonTop, w, buttonHeight);
        left += w + 60;
    }
    return buttons;
}

TalkbackLayout LayoutTalkbackPane(double paneWidth, double paneHeight, double innerLeft,
                                  double innerTop) {
    TalkbackLayout out;
    out.pnlTalkbackInner =
        rect(innerLeft, innerTop, paneWidth - 2 * innerLeft, paneHeight - 2 * innerTop);
    out.ctlTalkback =
        rect(60, 60, out.pnlTalkbackInner.width - 120, out.pnlTalkbackInner.height - 120);
    return out;
}

double FillColumnWidth(double listWidth, const std::vector<double>& otherColumnWidths) {
    double sum = 0;
    for (double w : otherColumnWidths) {
        sum = whole(sum + w);
    }
    return atLeast0(listWidth - 225 - 90 - sum);
}

ContactsPaneLayout LayoutContactsPane(const ContactsPaneInput& in) {
    ContactsPaneLayout out;
    const TwipsRect& a = in.first;
    const TwipsRect& b = in.second;
    out.ctlContacts = inset(a);
    out.buttonColumnLeft = b.left + b.width - 60 - in.buttonWidth;
    out.ctlContact = rect(b.left + 60, b.top + 60, out.buttonColumnLeft - 60 - b.left - 60,
                          std::max(3500.0, b.height - 120));
    out.historyFrame =
        rect(out.ctlContact.left + in.tabAreaLeft + 120, out.ctlContact.top + in.tabAreaTop + 60,
             in.tabAreaWidth - 240, in.tabAreaHeight - 180);
    out.historyList = rect(180, 300, out.historyFrame.width - 360, out.historyFrame.height - 540);
    return out;
}

PrizesPaneLayout LayoutPrizesPane(const TwipsRect& first, const TwipsRect& second,
                                  double openButtonWidth) {
    PrizesPaneLayout out;
    out.ctlPrizes = inset(first);
    out.cmdOpenPrizeLeft = second.left + second.width - 60 - openButtonWidth;
    out.ctlPrize = rect(second.left + 60, second.top + 60, out.cmdOpenPrizeLeft - second.left - 120,
                        second.height - 120);
    return out;
}

WebsitesPaneLayout LayoutWebsitesPane(const TwipsRect& first, const TwipsRect& second) {
    return {inset(first), inset(second)};
}

MessagesPaneLayout LayoutMessagesPane(const TwipsRect& first, const TwipsRect& second,
                                      double toolbarHeight) {
    MessagesPaneLayout out;
    const TwipsRect& b = second;
    out.ctlMessages = inset(first);
    out.ctlMessage = rect(b.left + 60, b.top + 60, b.width - 120, b.height - 60);
    out.toolbarMessages = rect(b.left + 60, b.top + 60, b.width - 120, toolbarHeight);
    const double y = whole(out.toolbarMessages.top + 330);
    out.ctlMessageBrowser = rect(b.left + 60, y, b.width - 120, b.top + b.height - 60 - y);
    return out;
}

ScriptsPaneLayout LayoutScriptsPane(const ScriptsPaneInput& in) {
    ScriptsPaneLayout out;
    const TwipsRect& a = in.first;
    const TwipsRect& b = in.second;
    out.cmdNewScript = rect(a.left + 60, a.top + a.height - 60 - in.newScriptHeight, a.width - 120,
                            in.newScriptHeight);
    out.treeScripts =
        rect(a.left + 60, a.top + 60, a.width - 120, out.cmdNewScript.top - 120 - a.top);

    const double column = b.left + b.width - 60 - in.buttonWidth;
    out.cmdScriptUp = rect(column, b.top + 60, in.buttonWidth, in.buttonHeight);
    out.cmdScriptDown =
        rect(column, b.top + b.height - 60 - in.buttonHeight, in.buttonWidth, in.buttonHeight);
    // The two check buttons, 60 apart, centred as a pair in the pane whatever its top.
    const double checkTop = whole(b.top + (b.height - 2 * in.buttonHeight - 60) / 2);
    out.chkScriptAutoScroll = rect(column, checkTop, in.buttonWidth, in.buttonHeight);
    out.chkScriptEdit =
        rect(column, checkTop + in.buttonHeight + 60, in.buttonWidth, in.buttonHeight);
    const double browserWidth = column - 60 - b.left - 60;
    out.toolScripts = rect(b.left + 60, b.top + 60, browserWidth, in.toolbarHeight);
    const double y = whole(out.toolScripts.top + 330);
    out.wbScripts = rect(b.left + 60, y, browserWidth, b.top + b.height - 60 - y);
    return out;
}
