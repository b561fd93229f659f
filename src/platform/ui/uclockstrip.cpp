#include "platform/ui/uclockstrip.h"

#include "platform/ui/eventguard.h"
#include "platform/ui/twips.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QTime>
#include <QTimer>

#include <algorithm>

namespace {
constexpr double kClockMarginTwips = 240; // split either side of the time
constexpr double kClockFontScale = 2.0;   // against the strip's own font

// The widest the time can be drawn in this font: not every font's digits are one width.
int WidestTime(const QFontMetrics& metrics) {
    int digit = 0;
    for (char16_t c = u'0'; c <= u'9'; ++c) {
        digit = std::max(digit, metrics.horizontalAdvance(QChar(c)));
    }
    return 6 * digit + 2 * metrics.horizontalAdvance(QLatin1Char(':')) + 2;
}
} // namespace

uClockStrip::uClockStrip(QWidget* parent)
    : QFrame(parent), clock_(new QLabel(this)), timer_(new QTimer(this)) {
    clock_->setObjectName(QStringLiteral("lblClock"));
    clock_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    clock_->setAttribute(Qt::WA_TransparentForMouseEvents);
    timer_->setInterval(1000);
    timer_->setTimerType(Qt::PreciseTimer); // a coarse timer would now and then skip a second
    connect(timer_, &QTimer::timeout, this, [this] { tick(); });
    applyFont();
}

qint32 uClockStrip::ClockWidth() const {
    return static_cast<qint32>(PixelsToTwips(clockTextWidth_) + kClockMarginTwips);
}

void uClockStrip::tick() {
    clock_->setText(QTime::currentTime().toString(QStringLiteral("hh:mm:ss")));
}

void uClockStrip::applyFont() {
    QFont large = font();
    if (large.pointSizeF() > 0) {
        large.setPointSizeF(large.pointSizeF() * kClockFontScale);
    } else if (large.pixelSize() > 0) {
        large.setPixelSize(qRound(large.pixelSize() * kClockFontScale));
    }
    large.setBold(true);
    clock_->setFont(large);
    clockTextWidth_ = WidestTime(QFontMetrics(large));
    placeClock();
}

void uClockStrip::placeClock() {
    const QRect area = contentsRect();
    const int margin = TwipsToPixels(kClockMarginTwips / 2);
    clock_->setGeometry(area.right() + 1 - margin - clockTextWidth_, area.top(), clockTextWidth_,
                        area.height());
    clock_->raise();
}

void uClockStrip::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    tick();
    timer_->start();
}

void uClockStrip::hideEvent(QHideEvent* event) {
    QFrame::hideEvent(event);
    timer_->stop();
}

void uClockStrip::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    placeClock();
    GuardEvent("uClockStrip Resized", [this] { Q_EMIT Resized(); });
}

void uClockStrip::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        applyFont();
    }
}

bool uClockStrip::event(QEvent* event) {
    if (event->type() == QEvent::ContentsRectChange) {
        placeClock(); // a frame or margins set by the owner
    }
    return QFrame::event(event);
}
