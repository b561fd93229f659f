#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class PaneFrame;

// A control of the program whose whole face is a PaneFrame, on a background colour of its own.
class PaneControl : public QWidget {
    Q_OBJECT
public:
    ~PaneControl() override;

    QColor BackColour() const { return backColour_; }
    // An invalid colour gives the inherited look back.
    void SetBackColour(const QColor& colour);

protected:
    PaneControl(const QString& title, QWidget* parent);

    PaneFrame* Frame() const { return frame_; }

private:
    PaneFrame* frame_;
    QColor backColour_;
};
