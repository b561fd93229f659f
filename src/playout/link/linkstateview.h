#pragma once

#include "playout/link/playoutlink.h"

// How a window shows the link's state: which of "&Connect To Vorela" and "&Disconnect from
// Vorela" is enabled, and what becomes of the "Not Connected to Vorela" cover over the
// keyboard panel. Waiting for the next attempt shows as down: Connect tries again at once.
struct LinkStateView {
    enum class Cover {
        Keep,
        Hide,
        // Shown and brought in front of the panel while the View menu's keyboard item is
        // ticked; otherwise left as it is.
        ShowWhileKeyboardTicked,
    };

    bool connectEnabled = true;
    bool disconnectEnabled = false;
    Cover cover = Cover::Keep;

    static LinkStateView Of(PlayoutLink::LinkState state);
};
