#pragma once

#include <QStringView>
#include <QtGlobal>

#include <optional>

// What the line parser shows of the playout system's state: the player columns, the log's
// buttons and scroller, and the instant carts. The playout panel implements it; each member
// is named after the display operation it stands for.
//
// Texts are views into the received line, whose buffer the next line is decoded into: they
// hold only for the call, and a display that keeps one makes its own copy.
class PlayoutDisplay {
public:
    virtual ~PlayoutDisplay() = default;

    // Shows that many player columns (1 to 12; the count given is clamped).
    virtual void SetNumberPlayers(qint16 NumberPlayers) = 0;
    // The player columns shown.
    virtual qint16 NumberPlayers() const = 0;
    virtual void ShowPlayerStatus(qint16 player, qint32 status, QStringView text) = 0;
    virtual void ShowInstantCartState(qint16 cart, QStringView text) = 0;
    // The log mode line: automatic when its first value is not 0, else manual with "Go"
    // allowed when its second value is not 0; text only when the line carries one.
    virtual void ShowLogMode(bool automatic, bool goAllowed, std::optional<QStringView> text) = 0;
    // The log status line: whether a log is loaded.
    virtual void ShowLogStatus(bool logLoaded) = 0;
    // The current-items line: the text for the log's scroller.
    virtual void ShowLogCurrentItem(QStringView text) = 0;
};
