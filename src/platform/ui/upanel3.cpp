#include "platform/ui/upanel3.h"

#include "platform/ui/eventguard.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <qdrawutil.h>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

uPanel3::uPanel3(QWidget* parent, PanelStyle style) : QFrame(parent), style_(style) {
    setAcceptDrops(true);
    setFocusPolicy(takesFocus() ? Qt::StrongFocus : Qt::NoFocus);
}

void uPanel3::SetStyle(PanelStyle style) {
    if (style == style_) {
        return;
    }
    style_ = style;
    setFocusPolicy(takesFocus() ? Qt::StrongFocus : Qt::NoFocus);
    update();
}

void uPanel3::SetCaption(const QString& caption) {
    if (caption == caption_) {
        return;
    }
    caption_ = caption;
    updateGeometry();
    update();
}

void uPanel3::SetValue(int value) {
    const int v = value != 0 ? 1 : 0;
    // Also when already 1: a group left with two set (by a style change or a new parent)
    // is put right by the next set.
    if (v == 1 && style_ == PanelStyle::Option) {
        clearOtherOptions();
    }
    if (v == value_) {
        return;
    }
    value_ = v;
    update();
}

void uPanel3::clearOtherOptions() {
    QWidget* group = parentWidget();
    if (group == nullptr) {
        return;
    }
    const auto siblings = group->findChildren<uPanel3*>(Qt::FindDirectChildrenOnly);
    for (uPanel3* other : siblings) {
        if (other != this && other->style_ == PanelStyle::Option && other->value_ != 0) {
            other->value_ = 0;
            other->update();
        }
    }
}

void uPanel3::SetPicture(const QPixmap& picture, const QString& key) {
    picture_ = picture;
    pictureKey_ = picture.isNull() ? QString() : key;
    update();
}

bool uPanel3::sunken() const {
    if (style_ == PanelStyle::Button) {
        return pressed_ && pressedInside_ && isEnabled();
    }
    return pushable() && value_ == 1;
}

void uPanel3::SetBackColour(const QColor& colour) {
    backColour_ = colour;
    update();
}

QColor uPanel3::BackColour() const {
    return backColour_.isValid() ? backColour_ : palette().color(QPalette::Button);
}

QSize uPanel3::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(caption_) + 2 * metrics.averageCharWidth() + 4,
            metrics.height() + 8};
}

void uPanel3::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), BackColour());
    drawFrame(&painter);
    const bool down = sunken();
    if (down) {
        qDrawShadePanel(&painter, rect(), palette(), true, 1);
    } else if (style_ == PanelStyle::Button) {
        qDrawShadePanel(&painter, rect(), palette(), false, 1);
    }
    QRect textArea = rect().adjusted(2, 2, -2, -2);
    if (down) {
        textArea.translate(1, 1);
    }
    if (!picture_.isNull()) {
        // The picture in the middle of what the caption leaves.
        const QFontMetrics metrics(font());
        QRect pictureArea = textArea;
        if (!caption_.isEmpty()) {
            pictureArea.setBottom(textArea.bottom() - metrics.height());
            textArea.setTop(pictureArea.bottom());
        }
        const QSize size = picture_.deviceIndependentSize().toSize().scaled(
            pictureArea.size().boundedTo(picture_.deviceIndependentSize().toSize()),
            Qt::KeepAspectRatio);
        QRect target(QPoint(0, 0), size);
        target.moveCenter(pictureArea.center());
        painter.drawPixmap(target, picture_);
    }
    painter.setFont(font());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(textArea, Qt::AlignCenter | Qt::TextShowMnemonic, caption_);
    if (hasFocus() && takesFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(3, 3, -3, -3);
        option.backgroundColor = BackColour();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void uPanel3::userClick() {
    switch (style_) {
    case PanelStyle::Option:
        SetValue(1);
        break;
    case PanelStyle::Check:
        SetValue(value_ == 0 ? 1 : 0);
        break;
    case PanelStyle::Plain:
    case PanelStyle::Button:
        break;
    }
    Q_EMIT Click();
}

void uPanel3::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QFrame::mousePressEvent(event);
        return;
    }
    pressed_ = true;
    pressedInside_ = true;
    event->accept();
    update();
}

void uPanel3::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_) {
        QFrame::mouseMoveEvent(event);
        return;
    }
    const bool inside = rect().contains(event->position().toPoint());
    if (inside != pressedInside_) {
        pressedInside_ = inside;
        update();
    }
    event->accept();
}

void uPanel3::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QFrame::mouseReleaseEvent(event);
        return;
    }
    const bool click = pressed_ && rect().contains(event->position().toPoint());
    pressed_ = false;
    pressedInside_ = false;
    event->accept();
    update();
    if (click) {
        GuardEvent("uPanel3 click", [this] { userClick(); });
    }
}

void uPanel3::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool clickKey = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
    Qt::KeyboardModifiers modifiers = event->modifiers();
    modifiers.setFlag(Qt::KeypadModifier, false);
    if (!takesFocus() || !clickKey || modifiers.toInt() != 0) {
        QFrame::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat()) {
        GuardEvent("uPanel3 click", [this] { userClick(); });
    }
}

void uPanel3::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    GuardEvent("uPanel3 Resized", [this] { Q_EMIT Resized(); });
}

void uPanel3::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled() && pressed_) {
        // A button disabled while held is let go: its release must not click it later.
        pressed_ = false;
        pressedInside_ = false;
        update();
    }
}

void uPanel3::reportDragOver(QDragMoveEvent* event) {
    // Accepted so that the panel keeps hearing about the drag; the drop itself is refused.
    event->accept();
    const Qt::MouseButtons buttons = event->buttons();
    const int state = buttons.testFlag(Qt::LeftButton) ? 1 : static_cast<int>(buttons.toInt());
    GuardEvent("uPanel3 DragOver", [this, state] { Q_EMIT DragOver(state); });
}

void uPanel3::dragEnterEvent(QDragEnterEvent* event) {
    reportDragOver(event);
}

void uPanel3::dragMoveEvent(QDragMoveEvent* event) {
    reportDragOver(event);
}

void uPanel3::dropEvent(QDropEvent* event) {
    event->ignore();
}
