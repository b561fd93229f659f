#include "platform/ui/colournumber.h"
#include "platform/ui/twips.h"

#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

TEST(ColourNumber, FixedColoursAreBlueGreenRed) {
    EXPECT_EQ(ColourNumber::ToColour(255), QColor(255, 0, 0));
    EXPECT_EQ(ColourNumber::ToColour(65280), QColor(0, 255, 0));
    EXPECT_EQ(ColourNumber::ToColour(0x00FF0000U), QColor(0, 0, 255));
    EXPECT_EQ(ColourNumber::ToColour(0x00123456U), QColor(0x56, 0x34, 0x12));
    EXPECT_FALSE(ColourNumber::ToColour(0x01000000U).isValid());
}

TEST(ColourNumber, DesktopColoursComeFromThePalette) {
    const QPalette palette = QGuiApplication::palette();
    EXPECT_EQ(ColourNumber::ToColour(ColourNumber::kSystemButtonFace),
              palette.color(QPalette::Button));
    EXPECT_EQ(ColourNumber::ToColour(ColourNumber::kSystemWindow), palette.color(QPalette::Base));
    EXPECT_FALSE(ColourNumber::ToColour(0x8000FFFFU).isValid());
}

TEST(ColourNumber, LooseValues) {
    const QPalette palette = QGuiApplication::palette();
    EXPECT_EQ(ColourNumber::FromVariant(QVariant(QColor(Qt::cyan))), QColor(Qt::cyan));
    // A Long holding the button-face colour is negative.
    EXPECT_EQ(ColourNumber::FromVariant(QVariant(static_cast<qint32>(0x8000000FU))),
              palette.color(QPalette::Button));
    EXPECT_EQ(ColourNumber::FromVariant(QVariant(255)), QColor(255, 0, 0));
    EXPECT_FALSE(ColourNumber::FromVariant(QVariant(QStringLiteral("red"))).isValid());
    EXPECT_FALSE(ColourNumber::FromVariant(QVariant()).isValid());
}

TEST(Twips, FifteenToAPixel) {
    struct Case {
        qint64 twips;
        int pixels;
    };
    for (const Case c : {Case{0, 0}, Case{7, 0}, Case{8, 1}, Case{15, 1}, Case{120, 8},
                         Case{3075, 205}, Case{-15, -1}}) {
        EXPECT_EQ(TwipsToPixels(c.twips), c.pixels) << c.twips;
    }
    EXPECT_EQ(PixelsToTwips(205), 3075);
}
