#include "playout/panel/notconnectedcover.h"

#include <gtest/gtest.h>

namespace {
TEST(NotConnectedCover, ShownWhileTickedAndNotConnected) {
    using State = PlayoutLink::LinkState;
    const std::pair<State, bool> cases[] = {{State::Down, true},
                                            {State::WaitingToRetry, true},
                                            {State::Connecting, true},
                                            {State::Handshaking, false},
                                            {State::Up, false}};
    for (const auto& [state, shown] : cases) {
        SCOPED_TRACE(static_cast<int>(state));
        EXPECT_EQ(NotConnectedCoverShown(true, state), shown);
        EXPECT_FALSE(NotConnectedCoverShown(false, state)) << "never without the keyboard item";
    }
}
} // namespace
