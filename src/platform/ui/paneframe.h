#pragma once

#include <QFrame>
#include <QString>

class QLabel;
class QVBoxLayout;

// The framed look of the program's own panes: a title over a line of text, then whatever the
// pane adds below. Both texts are plain text: what a pane shows may come from listeners.
class PaneFrame : public QFrame {
    Q_OBJECT
public:
    explicit PaneFrame(const QString& title, QWidget* parent = nullptr);
    ~PaneFrame() override;

    QString Title() const;
    void SetTitle(const QString& title);
    // Hidden while empty.
    QString Text() const;
    void SetText(const QString& text);

    // Adds a widget below the text, taking the room left when stretch is above 0.
    void AddWidget(QWidget* widget, int stretch = 0);

    QLabel* lblTitle() const { return lblTitle_; }
    QLabel* lblText() const { return lblText_; }

private:
    QLabel* lblTitle_;
    QLabel* lblText_;
    QVBoxLayout* layout_;
};
