#pragma once

#include "playout/link/playoutlink.h"

// How a window shows the link's state: which of "&Connect To Vorela" and "&Disconnect from
// Vorela" is enabled, and what becomes of the "Not Connected to Vorela" cover over the
// keyboard panel. A wanted link waiting for its next attempt shows as connecting: the attempts
// go on by themselves, and Disconnect is what calls them off.
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
