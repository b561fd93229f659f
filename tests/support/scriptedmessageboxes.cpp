#include "support/scriptedmessageboxes.h"

#include "support/testhome.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <utility>

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

void ScriptedMessageBoxes::holdNext(std::function<void()> opened, std::function<bool()> release,
                                    int timeoutMs) {
    hold_ = {std::move(opened), std::move(release), timeoutMs};
}

void ScriptedMessageBoxes::holdOpen(const Hold& hold) {
    holding_ = true;
    if (hold.opened) {
        hold.opened();
    }
    QEventLoop loop;
    QElapsedTimer open;
    open.start();
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if ((hold.release && hold.release()) || open.elapsed() >= hold.timeoutMs) {
            loop.quit();
        }
    });
    look.start(5);
    loop.exec();
    holding_ = false;
}

MsgResult ScriptedMessageBoxes::show(const MessageBoxRequest& request) {
    shown_.push_back(request);
    if (hold_.release || hold_.opened) {
        holdOpen(std::exchange(hold_, {}));
    }
    if (!answers_.empty()) {
        const MsgResult a = answers_.front();
        answers_.pop_front();
        return a;
    }
    return defaultAnswer(request);
}
