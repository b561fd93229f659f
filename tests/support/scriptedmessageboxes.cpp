#include "support/scriptedmessageboxes.h"

#include "support/testhome.h"

namespace {
MsgResult defaultAnswer(const MessageBoxRequest& r) {
    static const std::vector<std::vector<MsgResult>> sets = {
        {MsgResult::OK},
        {MsgResult::OK, MsgResult::Cancel},
        {MsgResult::Yes, MsgResult::No},
        {MsgResult::Yes, MsgResult::No, MsgResult::Cancel},
        {MsgResult::Retry, MsgResult::Cancel},
        {MsgResult::Abort, MsgResult::Retry, MsgResult::Ignore},
    };
    const auto& set = sets.at(static_cast<size_t>(r.buttons));
    const auto i = static_cast<size_t>(r.defaultButton);
    return i < set.size() ? set[i] : set.front();
}
} // namespace

MsgResult ScriptedMessageBoxes::show(const MessageBoxRequest& request) {
    shown_.push_back(request);
    if (!answers_.empty()) {
        const MsgResult a = answers_.front();
        answers_.pop_front();
        return a;
    }
    return defaultAnswer(request);
}
