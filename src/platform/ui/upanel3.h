#pragma once

#include <QColor>
#include <QFrame>
#include <QPixmap>
#include <QString>

// A flat panel that serves as a plain panel, as one option button of a group, as a toggle
// button or as a push button. Its picture, when it has one, and its caption are drawn centred
// in the widget's font; while Value is 1 an option or toggle button looks pressed in. A push
// button looks pressed in while the mouse holds it, raises Click when released over it and
// is greyed while disabled; it takes no keyboard focus, so a key typed elsewhere never
// presses it.
//
// The option group of an option-style panel is every option-style uPanel3 with the same
// parent widget: a Value becoming 1 clears the others.
class uPanel3 : public QFrame {
    Q_OBJECT
public:
    enum class PanelStyle { Plain, Option, Check, Button };

    explicit uPanel3(QWidget* parent = nullptr, PanelStyle style = PanelStyle::Plain);

    PanelStyle Style() const { return style_; }
    void SetStyle(PanelStyle style);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);

    // 0 or 1; any non-zero value reads 1. Setting it from code never raises Click.
    int Value() const { return value_; }
    void SetValue(int value);

    // The picture drawn above the caption, with the image-list key it was taken under; a null
    // picture is none.
    void SetPicture(const QPixmap& picture, const QString& key);
    const QPixmap& Picture() const { return picture_; }
    QString PictureKey() const { return pictureKey_; }

    // A text the program keeps with the panel; the panel does nothing with it.
    QString Tag() const { return tag_; }
    void SetTag(const QString& tag) { tag_ = tag; }

    void SetBackColour(const QColor& colour);
    QColor BackColour() const;

    QSize sizeHint() const override;

Q_SIGNALS:
    void Click();
    void Resized();
    // While something is dragged over the panel: 1 when the left button is held, else the
    // mouse buttons held (Qt::MouseButtons).
    void DragOver(int buttonState);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool pushable() const { return style_ != PanelStyle::Plain; }
    bool takesFocus() const { return pushable() && style_ != PanelStyle::Button; }
    bool sunken() const;
    void userClick();
    void clearOtherOptions();
    void reportDragOver(QDragMoveEvent* event);

    PanelStyle style_;
    QString caption_;
    int value_ = 0;
    QColor backColour_; // invalid: the palette's button colour
    bool pressed_ = false;
    bool pressedInside_ = false;
    QPixmap picture_;
    QString pictureKey_;
    QString tag_;
};
