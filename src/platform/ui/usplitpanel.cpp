#include "platform/ui/usplitpanel.h"

#include "platform/ui/eventguard.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

// The separator is a child widget of its own, so that its pointer shape ends at its edges
// and does not pass to the owner's controls beside it.
class uSplitPanelSeparator : public QWidget {
public:
    explicit uSplitPanelSeparator(uSplitPanel* splitter) : QWidget(splitter), splitter_(splitter) {
        setCursor(Qt::SplitHCursor);
        setObjectName(QStringLiteral("uSplitPanelSeparator"));
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        QStyleOption option;
        option.initFrom(this);
        option.state |= QStyle::State_Horizontal;
        if (dragging_) {
            option.state |= QStyle::State_Sunken;
        }
        style()->drawControl(QStyle::CE_Splitter, &option, &painter, this);
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) {
            QWidget::mousePressEvent(event);
            return;
        }
        dragging_ = true;
        grabOffset_ = event->position().toPoint().x();
        event->accept();
        update();
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        if (!dragging_) {
            QWidget::mouseMoveEvent(event);
            return;
        }
        event->accept();
        const int left = mapTo(splitter_, event->position().toPoint()).x() - grabOffset_;
        GuardEvent("uSplitPanel drag", [this, left] { splitter_->dragTo(left); });
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) {
            QWidget::mouseReleaseEvent(event);
            return;
        }
        dragging_ = false;
        event->accept();
        update();
    }

private:
    uSplitPanel* splitter_;
    bool dragging_ = false;
    int grabOffset_ = 0; // where on the separator it was taken, in pixels
};

uSplitPanel::uSplitPanel(QWidget* parent)
    : QWidget(parent), separator_(new uSplitPanelSeparator(this)) {
    relayout();
}

uSplitPanel::~uSplitPanel() = default;

qint32 uSplitPanel::EffectivePosition(qint32 position, qint32 width) {
    const qint32 w = std::max(width, 0);
    const qint32 room = std::max(w - kSeparatorWidth, 0);
    const qint32 lowest = std::min(kMinimumPane, room / 2);
    const qint32 highest = std::max(lowest, w - kSeparatorWidth - kMinimumPane);
    return std::clamp(position, lowest, highest);
}

TwipsRect uSplitPanel::FirstPaneRectFor(qint32 width, qint32 height, qint32 position) {
    return {0, 0, double(EffectivePosition(position, width)), double(std::max(height, 0))};
}

TwipsRect uSplitPanel::SecondPaneRectFor(qint32 width, qint32 height, qint32 position) {
    const qint32 w = std::max(width, 0);
    const qint32 left = std::min(EffectivePosition(position, w) + kSeparatorWidth, w);
    return {double(left), 0, double(w - left), double(std::max(height, 0))};
}

qint32 uSplitPanel::widthTwips() const {
    return static_cast<qint32>(PixelsToTwips(width()));
}

qint32 uSplitPanel::heightTwips() const {
    return static_cast<qint32>(PixelsToTwips(height()));
}

TwipsRect uSplitPanel::FirstPaneRect() const {
    return FirstPaneRectFor(widthTwips(), heightTwips(), position_);
}

TwipsRect uSplitPanel::SecondPaneRect() const {
    return SecondPaneRectFor(widthTwips(), heightTwips(), position_);
}

void uSplitPanel::SetPosition(qint32 twips) {
    position_ = std::max(twips, 0);
    relayout();
}

void uSplitPanel::dragTo(int separatorLeftPixels) {
    const qint32 wanted = static_cast<qint32>(
        std::clamp(PixelsToTwips(separatorLeftPixels), 0.0, PixelsToTwips(width())));
    const qint32 position = EffectivePosition(wanted, widthTwips());
    if (position == position_) {
        return;
    }
    position_ = position;
    relayout();
}

void uSplitPanel::relayout() {
    const qint32 left = EffectivePosition(position_, widthTwips());
    separator_->setGeometry(TwipsToPixels(left), 0, TwipsToPixels(kSeparatorWidth), height());
    Q_EMIT Layout();
    // Above whatever the owner placed, so that it can always be taken.
    separator_->raise();
}

void uSplitPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    GuardEvent("uSplitPanel Layout", [this] { relayout(); });
}
