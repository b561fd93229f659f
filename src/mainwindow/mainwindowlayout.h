#pragma once

#include "platform/ui/twips.h"

#include <array>
#include <vector>

// The main window's geometry as pure functions of twips: sizes and states in, rectangles out.
// The window applies the results; no computed width or height is ever below zero.

struct MainLayoutInput {
    double clientWidth = 0;
    double clientHeight = 0;
    bool minimised = false;
    bool keyboardMenuChecked = true; // mnuViewVorelaKeyboard
    bool vorelaPanelHidden = false;
    bool talkbackOn = true; // chkTalkback
    // Design sizes the layout keeps.
    double clockHeight = 1125;
    double talkbackWidth = 3495;
    double keyboardHeight = 4515;
    double showBarHeight = 315;
};

struct MainLayout {
    bool laidOut = false; // false while minimised: nothing moves
    TwipsRect pnlClock;
    TwipsRect pnlVorelaKeyboard;
    TwipsRect cmdShowVorelaKeyboard;
    TwipsRect pnlTalkback;
    TwipsRect picPanes;
    bool keyboardVisible = false;
    bool showBarVisible = false;
    bool hideNotConnected = false; // the keyboard is not part of the layout at all
};

MainLayout LayoutMainWindow(const MainLayoutInput& in);

// The five tab buttons and the talkback toggle along the clock strip, left to right.
std::array<TwipsRect, 6> LayoutTabStrip(double stripWidth, double clockWidth,
                                        double buttonTop = 795, double buttonHeight = 315);

// The talkback pane's inner frame (equal margins l and t) and the talkback control in it.
struct TalkbackLayout {
    TwipsRect pnlTalkbackInner;
    TwipsRect ctlTalkback;
};
TalkbackLayout LayoutTalkbackPane(double paneWidth, double paneHeight, double innerLeft,
                                  double innerTop);

// The width a list's fill column gets: the list's width less its borders and the other
// columns (their running total rounded after each addition).
double FillColumnWidth(double listWidth, const std::vector<double>& otherColumnWidths);

struct ContactsPaneInput {
    TwipsRect first;
    TwipsRect second;
    double buttonWidth = 795; // cmdAddContactToRecent
    // The contact control's tab-page area, relative to the control.
    double tabAreaLeft = 0;
    double tabAreaTop = 0;
    double tabAreaWidth = 0;
    double tabAreaHeight = 0;
};

struct ContactsPaneLayout {
    TwipsRect ctlContacts;
    double buttonColumnLeft = 0; // cmdNewContact, cmdOpenContact, separator, recent buttons
    TwipsRect ctlContact;
    TwipsRect historyFrame; // fraContactMessages and fraContactPrizes
    TwipsRect historyList;  // lvwContactMessages / lvwContactPrizes inside the frame
};
ContactsPaneLayout LayoutContactsPane(const ContactsPaneInput& in);

struct PrizesPaneLayout {
    TwipsRect ctlPrizes;
    double cmdOpenPrizeLeft = 0;
    TwipsRect ctlPrize;
};
PrizesPaneLayout LayoutPrizesPane(const TwipsRect& first, const TwipsRect& second,
                                  double openButtonWidth = 795);

struct WebsitesPaneLayout {
    TwipsRect ctlWebsites;
    TwipsRect ctlWebsite;
};
WebsitesPaneLayout LayoutWebsitesPane(const TwipsRect& first, const TwipsRect& second);

struct MessagesPaneLayout {
    TwipsRect ctlMessages;
    TwipsRect ctlMessage;
    TwipsRect toolbarMessages;
    TwipsRect ctlMessageBrowser;
};
MessagesPaneLayout LayoutMessagesPane(const TwipsRect& first, const TwipsRect& second,
                                      double toolbarHeight = 330);

struct ScriptsPaneInput {
    TwipsRect first;
    TwipsRect second;
    double newScriptHeight = 375;
    double buttonWidth = 795; // the scroll buttons and the two check buttons
    double buttonHeight = 795;
    double toolbarHeight = 330;
};

struct ScriptsPaneLayout {
    TwipsRect cmdNewScript;
    TwipsRect treeScripts;
    TwipsRect cmdScriptUp;
    TwipsRect cmdScriptDown;
    TwipsRect chkScriptAutoScroll;
    TwipsRect chkScriptEdit;
    TwipsRect toolScripts;
    TwipsRect wbScripts;
};
ScriptsPaneLayout LayoutScriptsPane(const ScriptsPaneInput& in);
