#pragma once

#include <QString>

// What one player status line makes of a player's column: the three buttons' enabled state
// and picture base ("eject", "cue", "play", "pause"), the play button's Tag and whether the
// scroller shows the line's text or is emptied. Codes the table does not know show the
// player as unavailable.
struct PlayerButtonView {
    bool enabled = false;
    QString pictureBase;

    friend bool operator==(const PlayerButtonView&, const PlayerButtonView&) = default;
};

struct PlayerStatusView {
    PlayerButtonView close;
    PlayerButtonView cue;
    PlayerButtonView play;
    QString playTag;
    bool showsText = false;

    friend bool operator==(const PlayerStatusView&, const PlayerStatusView&) = default;
};

PlayerStatusView PlayerStatusViewOf(qint32 status);

// A player button's picture key: its base followed by "white" when enabled, "dis" when not;
// no base, no picture ("").
QString PlayerPictureKey(const QString& base, bool enabled);
