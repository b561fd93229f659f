#include "platform/ui/uhtmlscroller.h"

#include "platform/system/displaytext.h"
#include "platform/ui/eventguard.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

uHTMLScroller::uHTMLScroller(QWidget* parent)
    : QWidget(parent), clip_(new QFrame(this)), lblText_(new QLabel(clip_)) {
    setObjectName(QStringLiteral("uHTMLScroller"));
    auto* frame = static_cast<QFrame*>(clip_);
    frame->setObjectName(QStringLiteral("areaText"));
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    lblText_->setObjectName(QStringLiteral("lblText"));
    lblText_->setTextFormat(Qt::PlainText);
    lblText_->setTextInteractionFlags(Qt::NoTextInteraction);
    lblText_->setWordWrap(false);
    lblText_->setMargin(4);
    lblText_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(clip_);
    timer_.setInterval(kStepMs);
    connect(&timer_, &QTimer::timeout, this,
            [this] { GuardEvent("uHTMLScroller step", [this] { Step(); }); });
}

uHTMLScroller::~uHTMLScroller() = default;

QString uHTMLScroller::ShownText(const QString& text) {
    // One isolated field of one line (the display rule); other controls show as blanks.
    QString shown = DisplayText::OneLine(QStringView(text).left(kMostShown));
    for (QChar& c : shown) {
        if (c.category() == QChar::Other_Control) {
            c = QLatin1Char(' ');
        }
    }
    return DisplayText::Field(shown);
}

void uHTMLScroller::SetText(const QString& text) {
    if (text == text_) {
        return;
    }
    text_ = text;
    lblText_->setText(ShownText(text));
    restart();
}

bool uHTMLScroller::overflows() const {
    return lblText_->sizeHint().width() > clip_->width();
}

void uHTMLScroller::restart() {
    const QSize hint = lblText_->sizeHint();
    lblText_->setGeometry(0, 0, std::max(hint.width(), clip_->width()), clip_->height());
    if (isVisible() && overflows()) {
        timer_.start();
    } else {
        timer_.stop();
    }
}

void uHTMLScroller::Step() {
    if (!overflows()) {
        lblText_->move(0, 0);
        return;
    }
    int x = lblText_->x() - 1;
    // Round again once the whole text has passed.
    if (x + lblText_->width() < 0) {
        x = clip_->width();
    }
    lblText_->move(x, 0);
}

void uHTMLScroller::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    restart();
}

void uHTMLScroller::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    restart();
}

void uHTMLScroller::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    timer_.stop();
}
