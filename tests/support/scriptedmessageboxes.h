#pragma once

#include "platform/ui/messagebox.h"

#include <deque>
#include <functional>
#include <vector>

#include "support/testhome.h"

// Answers every message box of the code under test: the answers queued by the test, in
// order, then the box's default button. Each box shown is recorded.
class ScriptedMessageBoxes : public MessageBoxService {
public:
    MsgResult show(const MessageBoxRequest& request) override;

    void queue(MsgResult answer) { answers_.push_back(answer); }
    // The next box stays open in a nested event loop, as a modal box does, so that the program
    // runs on meanwhile: opened runs once it is open, and release is looked at every few
    // milliseconds until it holds or timeoutMs has passed. It is then answered as any other.
    void holdNext(std::function<void()> opened, std::function<bool()> release,
                  int timeoutMs = 20000);
    // A box is held open now.
    bool holding() const { return holding_; }
    const std::vector<MessageBoxRequest>& shown() const { return shown_; }
    void clear() {
        shown_.clear();
        answers_.clear();
        hold_ = {};
    }

private:
    struct Hold {
        std::function<void()> opened;
        std::function<bool()> release;
        int timeoutMs = 0;
    };
    void holdOpen(const Hold& hold);

    std::vector<MessageBoxRequest> shown_;
    std::deque<MsgResult> answers_;
    Hold hold_;
    bool holding_ = false;
};

// The double installed for the running test.
