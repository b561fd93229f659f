#include "platform/ui/imagelist.h"

#include "platform/system/platformlog.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {
TEST(ImageList, GivesThePictureOfAKeyAndNoneWithALogLineForAnUnknownKey) {
    QStringList logged;
    SetPlatformLogHandler([&](const QString& text, int level) {
        logged << QString::number(level) + QLatin1Char(' ') + text;
    });
    ImageList list;
    QPixmap picture(8, 8);
    picture.fill(Qt::green);
    list.Add(QStringLiteral("gowhite"), picture);
    EXPECT_EQ(list.ListImages(QStringLiteral("gowhite")).cacheKey(), picture.cacheKey());
    EXPECT_TRUE(logged.isEmpty());
    EXPECT_TRUE(list.ListImages(QStringLiteral("GOWHITE")).isNull()) << "keys keep their case";
    EXPECT_TRUE(list.ListImages(QString()).isNull());
    EXPECT_EQ(logged, QStringList({QStringLiteral("5 Image list: no picture under the key "
                                                  "\"GOWHITE\""),
                                   QStringLiteral("5 Image list: no picture under the key \"\"")}));
    SetPlatformLogHandler(nullptr);
}
} // namespace
