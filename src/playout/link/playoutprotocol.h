#pragma once

#include <QString>

class AppServices;
class PlayoutDisplay;
struct PlayoutLine;

// What the line parser needs of the link that feeds it.
class PlayoutLinkActions {
public:
    virtual ~PlayoutLinkActions() = default;
    // Sends one line (without its end); dropped when the link is not connected.
    virtual void SendMessageToComputer(const QString& Message) = 0;
    // Sends a request for the playout system's state, unless the same request sent earlier
    // is still waiting to be written: that one is answered with the state when the playout
    // system reads it, so this one would ask for nothing more.
    virtual void SendStateRequest(const QString& Message) = 0;
    virtual void DisconnectFromVorela() = 0;
    // Whether a dropped or failed connection is opened again; a rejected playout system
    // clears it.
    virtual void SetbLinkWanted(bool wanted) = 0;
    // The playout system's "+CONNECTED" line was accepted.
    virtual void HandshakeAccepted() = 0;
    // It was rejected (the link is down and not wanted by now): the user is told the message,
    // after the line's handling.
    virtual void HandshakeRejected(const QString& message) = 0;
    // A script the playout system sent, decoded, for the script browser.
    virtual void ScriptArrived(const QString& ScriptText) = 0;
    // A web address the playout system sent, unchanged, for the Web pane.
    virtual void WebsiteArrived(const QString& address) = 0;
};

// The playout protocol: handles one received line completely, answering the handshake and
// the player count, and hands every status line to the display. It keeps nothing between
// lines but the playout system's version.
class PlayoutProtocol {
public:
    PlayoutProtocol(PlayoutDisplay& display, PlayoutLinkActions& link);

    void ProcessMessage(const QString& line);

    // The connected playout system's version as minor.build (3.5.120 gives 5.12): 0 until a
    // handshake is accepted, then kept across disconnections until the next one. From 5 on
    // the instant carts go by the short word "IC".
    float PlayoutVersion() const { return playoutVersion_; }

    // `+Connected AppName="orlix" Version="1.0.11"`.
    static QString HandshakeAnswer();
    // "1.0.11".
    static QString ProgramVersionText();
    // Reads a.b.c as the number b.c with c padded to three digits (3.5.120 gives 5.12).
    // False for fewer than three parts, a first part below 3, or a value no float holds.
    static bool ReadVersion(const QString& version, float& minorBuild);

private:
    void handshake(const QString& line, const QString& object, const QString& parameterText);
    void rejectHandshake(const QString& text);
    // The status lines, by the object after "SET".
    void set(const PlayoutLine& p);
    void setNumberPlayers(const PlayoutLine& p);
    void setLog(const PlayoutLine& p);
    void setPlayer(const PlayoutLine& p);
    void setInstantCart(const PlayoutLine& p);
    void requestPlayerState();

    PlayoutDisplay& display_;
    PlayoutLinkActions& link_;
    // The process's services, found once rather than on every line.
    const AppServices& services_;
    float playoutVersion_ = 0;
    // Where a current-items line's title and artist are joined, kept for the next.
    QString joinedText_;
};
