#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QScrollArea;

// The presenter's scrolling text. It holds its text and shows it as plain text in a scrolling
// area; scrolling it by itself comes later.
class uHTMLScroller : public QWidget {
    Q_OBJECT
public:
    explicit uHTMLScroller(QWidget* parent = nullptr);
    ~uHTMLScroller() override;

    QString Text() const { return text_; }
    void SetText(const QString& text);

    QLabel* lblText() const { return lblText_; }

private:
    QScrollArea* area_;
    QLabel* lblText_;
    QString text_;
};
