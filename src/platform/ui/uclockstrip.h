#pragma once

#include <QFrame>

class QLabel;
class QTimer;

// The strip across the top of the main window: the local time, large, at its right end,
// and whatever controls its owner places on it. The clock ticks only while the strip is
// shown.
class uClockStrip : public QFrame {
    Q_OBJECT
public:
    explicit uClockStrip(QWidget* parent = nullptr);

    // Twips the clock takes at the right end, margin included; the same whatever the time
    // shown, so the owner's controls can be laid out to its left once for a given font.
    qint32 ClockWidth() const;

Q_SIGNALS:
    void Resized();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void tick();
    void applyFont();
    void placeClock();

    QLabel* clock_;
    QTimer* timer_;
    int clockTextWidth_ = 0; // pixels
};
