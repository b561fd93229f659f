#include "playout/panel/notconnectedcover.h"

bool NotConnectedCoverShown(bool keyboardTicked, PlayoutLink::LinkState state) {
    using State = PlayoutLink::LinkState;
    if (!keyboardTicked) {
        return false;
    }
    switch (state) {
    case State::Down:
    case State::WaitingToRetry:
    case State::Connecting:
        return true;
    case State::Handshaking:
    case State::Up:
        return false;
    }
    return true;
}
