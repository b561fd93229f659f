#include "playout/panel/playerstatusview.h"

#include <gtest/gtest.h>

namespace {
struct StatusCase {
    qint32 status;
    const char* close; // picture key as shown
    const char* cue;
    const char* play;
    const char* tag;
    bool showsText;
};

QString shown(const PlayerButtonView& b) {
    return PlayerPictureKey(b.pictureBase, b.enabled);
}

TEST(PlayerStatusView, EachStatusGivesTheButtonsTagAndText) {
    const StatusCase cases[] = {
        {5, "ejectwhite", "cuewhite", "pausewhite", "1", true},
        {9, "ejectwhite", "cuewhite", "playwhite", "0", true},
        {11, "ejectwhite", "cuedis", "playwhite", "0", true},
        {14, "ejectwhite", "cuewhite", "playdis", "0", true},
        {18, "ejectdis", "cuedis", "playdis", "0", false},
        {7, "ejectdis", "cuedis", "pausedis", "0", false},
        {0, "ejectdis", "cuedis", "pausedis", "0", false},
        {-5, "ejectdis", "cuedis", "pausedis", "0", false},
        {2147483647, "ejectdis", "cuedis", "pausedis", "0", false},
    };
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.status);
        const PlayerStatusView v = PlayerStatusViewOf(c.status);
        EXPECT_EQ(shown(v.close), QLatin1String(c.close));
        EXPECT_EQ(shown(v.cue), QLatin1String(c.cue));
        EXPECT_EQ(shown(v.play), QLatin1String(c.play));
        EXPECT_EQ(v.close.enabled, QLatin1String(c.close).endsWith(QLatin1String("white")));
        EXPECT_EQ(v.play.enabled, QLatin1String(c.play).endsWith(QLatin1String("white")));
        EXPECT_EQ(v.playTag, QLatin1String(c.tag));
        EXPECT_EQ(v.showsText, c.showsText);
    }
}

TEST(PlayerStatusView, APictureKeyIsTheBaseAndItsStateAndNoBaseIsNoPicture) {
    EXPECT_EQ(PlayerPictureKey(QStringLiteral("eject"), true), QStringLiteral("ejectwhite"));
    EXPECT_EQ(PlayerPictureKey(QStringLiteral("eject"), false), QStringLiteral("ejectdis"));
    EXPECT_EQ(PlayerPictureKey(QString(), true), QString());
    EXPECT_EQ(PlayerPictureKey(QString(), false), QString());
}
} // namespace
