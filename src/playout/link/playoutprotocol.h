#pragma once

#include <QString>

class PlayoutHost;

// What the line parser needs of the link that feeds it.
class PlayoutLinkActions {
public:
    virtual ~PlayoutLinkActions() = default;
    // Sends one line (without its end); dropped when the link is not connected.
    virtual void SendMessageToComputer(const QString& Message) = 0;
    virtual void DisconnectFromVorela() = 0;
    // The playout system's "+CONNECTED" line was accepted.
    virtual void HandshakeAccepted() = 0;
};

// The playout protocol: handles one received line completely, answering the handshake and
// the player count, and hands every status line to the main window's display.
class PlayoutProtocol {
public:
    PlayoutProtocol(PlayoutHost& host, PlayoutLinkActions& link) : host_(host), link_(link) {}

    void ProcessMessage(const QString& line);

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
    void requestPlayerState();

    PlayoutHost& host_;
    PlayoutLinkActions& link_;
};
