#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>

class QLabel;

// The presenter's scrolling text strip. It keeps the whole text it is given and shows it as
// plain text on one line (line breaks and control characters as blanks, never markup): still
// when it fits, moving sideways when it is wider than the strip. Its timer runs only while
// the strip is shown and the text overflows. At most kMostShown characters are drawn.
class uHTMLScroller : public QWidget {
    Q_OBJECT
public:
    static constexpr qsizetype kMostShown = 1000;
    static constexpr int kStepMs = 40;

    explicit uHTMLScroller(QWidget* parent = nullptr);
    ~uHTMLScroller() override;

    QString Text() const { return text_; }
    void SetText(const QString& text);

    QLabel* lblText() const { return lblText_; }
    // Whether the text is moving (a test and diagnostics figure).
    bool Scrolling() const { return timer_.isActive(); }
    // Moves the text one step, as the timer does.
    void Step();

    // The one-line form a text is shown in.
    static QString ShownText(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool overflows() const;
    void restart();

    QWidget* clip_;
    QLabel* lblText_;
    QString text_;
    QTimer timer_;
};
