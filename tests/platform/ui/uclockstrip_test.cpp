#include "platform/ui/twips.h"
#include "platform/ui/uclockstrip.h"

#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
QLabel* Clock(const uClockStrip& strip) {
    return strip.findChild<QLabel*>(QStringLiteral("lblClock"));
}

// The clock must lie whole within the right ClockWidth twips of the strip.
void ExpectClockAtTheRightEnd(const uClockStrip& strip) {
    const QLabel* clock = Clock(strip);
    ASSERT_NE(clock, nullptr);
    const QRect place = clock->geometry();
    EXPECT_GE(place.left(), strip.width() - TwipsToPixels(strip.ClockWidth()));
    EXPECT_LE(place.right(), strip.width() - 1);
    EXPECT_GE(place.top(), 0);
    EXPECT_LE(place.bottom(), strip.height() - 1);
    // The time shown fits in the label.
    EXPECT_LE(clock->sizeHint().width(), place.width());
}
} // namespace

TEST(uClockStrip, ClockWidthIsFixedForAFont) {
    uClockStrip strip;
    strip.resize(800, 40);
    const qint32 width = strip.ClockWidth();
    EXPECT_GT(width, 240);
    strip.show();
    strip.resize(500, 50);
    EXPECT_EQ(strip.ClockWidth(), width);

    QFont larger = strip.font();
    larger.setPointSizeF(larger.pointSizeF() * 2);
    strip.setFont(larger);
    EXPECT_GT(strip.ClockWidth(), width);
}

TEST(uClockStrip, TheClockSitsAtTheRightEnd) {
    uClockStrip strip;
    strip.resize(800, 40);
    strip.show();
    ExpectClockAtTheRightEnd(strip);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"))
                    .match(Clock(strip)->text())
                    .hasMatch())
        << Clock(strip)->text().toStdString();

    strip.resize(450, 36);
    ExpectClockAtTheRightEnd(strip);
    strip.setFrameStyle(QFrame::Panel | QFrame::Sunken);
    strip.setLineWidth(2);
    ExpectClockAtTheRightEnd(strip);
    QFont larger = strip.font();
    larger.setPointSizeF(larger.pointSizeF() * 1.5);
    strip.setFont(larger);
    strip.resize(450, 80);
    ExpectClockAtTheRightEnd(strip);
}

TEST(uClockStrip, TheClockRunsOnlyWhileShown) {
    uClockStrip strip;
    const auto* timer = strip.findChild<QTimer*>();
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->isActive());
    strip.show();
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 1000);
    strip.hide();
    EXPECT_FALSE(timer->isActive());
}

TEST(uClockStrip, ResizedIsRaisedOnEachResize) {
    uClockStrip strip;
    strip.resize(600, 40);
    strip.show();
    QSignalSpy resized(&strip, &uClockStrip::Resized);
    strip.resize(700, 40);
    strip.resize(700, 44);
    EXPECT_EQ(resized.count(), 2);
}
