#pragma once

#include <QTimer>

#include <functional>

// The one-shot timer that paces the link's attempts. The link's own runs on the event loop;
// a test gives the link one whose time it moves on by hand, so that "no attempt follows" is
// known at once rather than after a wait.
class RetryTimer {
public:
    virtual ~RetryTimer() = default;

    // Starts (or starts again) a pause of ms milliseconds.
    virtual void Start(int ms) = 0;
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;
    // The pause of the last start.
    virtual int Interval() const = 0;

    // Called once each time a started pause has passed.
    void SetTimeout(std::function<void()> handler) { timeout_ = std::move(handler); }

protected:
    void Fire() {
        if (timeout_) {
            timeout_();
        }
    }

private:
    std::function<void()> timeout_;
};

// The retry timer on the event loop.
class QtRetryTimer : public RetryTimer {
public:
    QtRetryTimer();

    void Start(int ms) override { timer_.start(ms); }
    void Stop() override { timer_.stop(); }
    bool IsActive() const override { return timer_.isActive(); }
    int Interval() const override { return timer_.interval(); }

private:
    QTimer timer_;
};
