#pragma once

#include "playout/link/playoutlink.h"

// The "Not Connected to Vorela" cover over the keyboard panel shows exactly while the
// keyboard item is ticked and the link is not connected: down, waiting for its next attempt
// or still connecting. From the socket's connect on the panel is live.
bool NotConnectedCoverShown(bool keyboardTicked, PlayoutLink::LinkState state);
