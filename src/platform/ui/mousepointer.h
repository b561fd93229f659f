#pragma once

// The screen's mouse pointer for the time of one operation: the default pointer (for a
// message box shown in the middle of a long task) or the hourglass. The old pointer comes
// back when the guard ends.
class MousePointerGuard {
public:
    enum Pointer { Default = 0, Hourglass = 11 };
    explicit MousePointerGuard(Pointer pointer);
    ~MousePointerGuard();
    MousePointerGuard(const MousePointerGuard&) = delete;
    MousePointerGuard& operator=(const MousePointerGuard&) = delete;

private:
    bool pushed_ = false;
};
