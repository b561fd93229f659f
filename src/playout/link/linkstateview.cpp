#include "playout/link/linkstateview.h"

LinkStateView LinkStateView::Of(PlayoutLink::LinkState state) {
    using State = PlayoutLink::LinkState;
    switch (state) {
    case State::Down:
        return {true, false, Cover::ShowWhileKeyboardTicked};
    case State::WaitingToRetry:
    case State::Connecting:
        return {false, true, Cover::Keep};
    case State::Handshaking:
        return {false, true, Cover::Hide};
    case State::Up:
        return {false, true, Cover::Keep};
    }
    return {};
}
