#pragma once

#include "platform/ui/messagebox.h"

#include <deque>
#include <vector>

#include "support/testhome.h"

// Answers every message box of the code under test: the answers queued by the test, in
// order, then the box's default button. Each box shown is recorded.
class ScriptedMessageBoxes : public MessageBoxService {
public:
    MsgResult show(const MessageBoxRequest& request) override;

    void queue(MsgResult answer) { answers_.push_back(answer); }
    const std::vector<MessageBoxRequest>& shown() const { return shown_; }
    void clear() {
        shown_.clear();
        answers_.clear();
    }

private:
    std::vector<MessageBoxRequest> shown_;
    std::deque<MsgResult> answers_;
};

// The double installed for the running test.
