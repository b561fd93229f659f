#pragma once

#include <QString>

#include <optional>

class cOCSettings;

// What the playout link and its line parser need of the main window: its settings and link
// state, the menus and cover that show whether the link is up, and the studio panel's display
// operations. The main window implements it; each member is named after the window's member
// it stands for.
class PlayoutHost {
public:
    virtual ~PlayoutHost() = default;

    // The loaded profile settings; nullptr before the first settings load.
    virtual const cOCSettings* clsSettings() const = 0;

    // The link is wanted: a dropped or failed connection is opened again.
    virtual bool bLinkWanted() const = 0;
    virtual void SetbLinkWanted(bool wanted) = 0;

    // The connected playout system's version as minor.build (3.5.120 gives 5.12); 0 until a
    // handshake is accepted.
    virtual float PlayoutVersion() const = 0;
    virtual void SetPlayoutVersion(float version) = 0;

    // "&Connect To Vorela" and "&Disconnect from Vorela".
    virtual void mnuConnectSetEnabled(bool enabled) = 0;
    virtual void mnuDisconnectSetEnabled(bool enabled) = 0;
    // The tick of the View menu's keyboard-panel item.
    virtual bool mnuViewVorelaKeyboardChecked() const = 0;
    // The "Not Connected to Vorela" cover: shown also brings it in front of the panel.
    virtual void pnlNotConnectedShow() = 0;
    virtual void pnlNotConnectedHide() = 0;

    // The studio panel's display of players, carts and log.
    virtual void SetNumberPlayers(qint16 NumberPlayers) = 0;
    virtual void ShowPlayerStatus(qint16 player, qint32 status, const QString& text) = 0;
    virtual void ShowInstantCartState(qint16 cart, const QString& text) = 0;
    // The log mode line: automatic when its first value is not 0, else manual with "Go"
    // allowed when its second value is not 0; text only when the line carries one.
    virtual void ShowLogMode(bool automatic, bool goAllowed,
                             const std::optional<QString>& text) = 0;
    // The log status line: whether a log is loaded.
    virtual void ShowLogStatus(bool logLoaded) = 0;
    // The current-items line: the text for the log's scroller.
    virtual void ShowLogCurrentItem(const QString& text) = 0;

    // Shows a script in the script browser.
    virtual void ShowScript(const QString& ScriptText, const QString& FileName,
                            bool FromPlayout) = 0;
    // The Web tab button: Value := 1 selects it without running its click handler.
    virtual void optWebSetValue(int value) = 0;
    // The website control's ShowWebAddress.
    virtual void ctlWebsiteShowWebAddress(const QString& address) = 0;
};
