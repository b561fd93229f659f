#include "playout/link/linkstateview.h"

#include <gtest/gtest.h>

namespace {
TEST(LinkStateView, EachStateShowsItsMenusAndCover) {
    using State = PlayoutLink::LinkState;
    using Cover = LinkStateView::Cover;
    struct Case {
        State state;
        bool connectEnabled;
        bool disconnectEnabled;
        Cover cover;
    };
    const Case cases[] = {
        {State::Down, true, false, Cover::ShowWhileKeyboardTicked},
        // Wanted and between two attempts: it is still trying, and only Disconnect stops it.
        {State::WaitingToRetry, false, true, Cover::Keep},
        {State::Connecting, false, true, Cover::Keep},
        {State::Handshaking, false, true, Cover::Hide},
        {State::Up, false, true, Cover::Keep},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.state));
        const LinkStateView view = LinkStateView::Of(c.state);
        EXPECT_EQ(view.connectEnabled, c.connectEnabled);
        EXPECT_EQ(view.disconnectEnabled, c.disconnectEnabled);
        EXPECT_EQ(view.cover, c.cover);
    }
}
} // namespace
