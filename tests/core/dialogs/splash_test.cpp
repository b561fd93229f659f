#include "core/dialogs/frmsplash.h"
#include "core/dialogs/splashlayout.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace {
TEST(SplashIconLayout, SharesTheWidthAndCentresEachCaptionUnderItsIcon) {
    const auto places = SplashIconLayout(4920, 3600, 2, 480, 480, 255);
    ASSERT_EQ(places.size(), 2U);
    EXPECT_EQ(places[0].label.width, 2340);
    EXPECT_EQ(places[1].label.width, 2340);
    EXPECT_EQ(places[0].icon.left, 60 + (2400 - 480) / 2.0);
    EXPECT_EQ(places[1].icon.left, 2400 + 60 + (2400 - 480) / 2.0);
    for (const SplashIconPlace& p : places) {
        EXPECT_EQ(p.label.top + p.label.height, 3600 - 90);
        EXPECT_EQ(p.label.top - p.icon.top, 480);
        EXPECT_EQ(p.icon.left + p.icon.width / 2, p.label.left + p.label.width / 2);
    }
}

TEST(SplashIconLayout, SlotsRoundHalfToEven) {
    EXPECT_EQ(SplashIconLayout(125, 1000, 2, 0, 0, 0)[0].label.width, 2 - 60); // 2.5 -> 2
    EXPECT_EQ(SplashIconLayout(127, 1000, 2, 0, 0, 0)[0].label.width, 4 - 60); // 3.5 -> 4
    EXPECT_TRUE(SplashIconLayout(4920, 3600, 0, 480, 480, 255).empty());
}

TEST(frmSplash, ShowsVersionAndStartsWithLoading) {
    frmSplash splash;
    EXPECT_EQ(splash.lblVersion->text(), QStringLiteral("Version 1.0.11"));
    EXPECT_FALSE(splash.lblCopyright->text().isEmpty());
    EXPECT_EQ(splash.lblCurrentAction->text(), QStringLiteral("Loading"));
    EXPECT_FALSE(splash.Floating());
}

TEST(frmSplash, SetIconInfoOnlyWithinTheIconsLaidOut) {
    frmSplash splash;
    splash.SetNumberIcons(2);
    splash.SetIconInfo(1, QStringLiteral("local"), QStringLiteral("Local Settings"));
    splash.SetIconInfo(2, QStringLiteral("security"), QStringLiteral("User Security"));
    EXPECT_EQ(splash.LastIconChangedIndex(), 2);
    for (int bad : {0, -1, 3}) {
        splash.SetIconInfo(bad, QStringLiteral("localon"), QStringLiteral("x"));
        EXPECT_EQ(splash.LastIconChangedIndex(), 2) << bad;
    }
    EXPECT_EQ(splash.lblIconDescription(1)->text(), QStringLiteral("Local Settings"));

    splash.SetIconInfo(1, QStringLiteral("no such picture"), QStringLiteral("Renamed"));
    EXPECT_EQ(splash.IconPictureKey(1), QStringLiteral("local")); // the picture stays
    EXPECT_EQ(splash.lblIconDescription(1)->text(), QStringLiteral("Renamed"));
    EXPECT_EQ(splash.LastIconChangedIndex(), 1);

    splash.SetIconInfo(1, QStringLiteral("localon"), QStringLiteral("Local Settings"));
    EXPECT_EQ(splash.IconPictureKey(1), QStringLiteral("localon"));
}

TEST(frmSplash, LoweringTheIconCountHidesTheRestAndRespaces) {
    frmSplash splash;
    splash.SetNumberIcons(3);
    splash.SetIconInfo(3, QStringLiteral("security"), QStringLiteral("Third"));
    const int thirdWidth = splash.lblIconDescription(1)->width();
    splash.SetNumberIcons(2);
    EXPECT_TRUE(splash.imgIcon(3)->isHidden());
    EXPECT_TRUE(splash.lblIconDescription(3)->isHidden());
    EXPECT_EQ(splash.IconPictureKey(3), QString());
    EXPECT_GT(splash.lblIconDescription(1)->width(), thirdWidth);
    EXPECT_FALSE(splash.imgIcon(2)->isHidden());
    splash.SetIconInfo(3, QStringLiteral("local"), QStringLiteral("x"));
    EXPECT_EQ(splash.LastIconChangedIndex(), 3 - 0); // set before lowering; unchanged since
}
} // namespace
