#include "playout/panel/panelimages.h"

#include <QImage>
#include <QStringList>

#include <gtest/gtest.h>

namespace {
TEST(PanelImages, EveryKeyTheDisplayUsesHasAPictureOfItsSize) {
    ImageList player;
    ImageList go;
    ImageList power;
    FillPlayerImages(player);
    FillGoImages(go);
    FillPowerImages(power);
    const std::tuple<const ImageList*, QStringList, int> lists[] = {
        {&player,
         {"ejectwhite", "ejectdis", "cuewhite", "cuedis", "playwhite", "playdis", "pausewhite",
          "pausedis", "powerwhite", "powerdis"},
         24},
        {&go, {"gowhite", "godis"}, 48},
        {&power, {"powergreen", "powerred", "powerdis"}, 32}};
    for (const auto& [list, keys, size] : lists) {
        EXPECT_EQ(list->Count(), keys.size());
        QList<QImage> seen;
        for (const QString& key : keys) {
            SCOPED_TRACE(key.toStdString());
            const QPixmap picture = list->ListImages(key);
            ASSERT_FALSE(picture.isNull());
            EXPECT_EQ(picture.size(), QSize(size, size));
            const QImage image = picture.toImage();
            EXPECT_FALSE(seen.contains(image)) << "each face is its own";
            seen << image;
        }
    }
}
} // namespace
