#pragma once

#include <QString>

#include <memory>
#include <vector>

class OrlixMessage;

// Messages in order: the result of a query, or a print batch filled by AddMessage.
class OrlixMessageList {
public:
    OrlixMessageList() = default;
    explicit OrlixMessageList(std::vector<std::shared_ptr<OrlixMessage>> messages)
        : messages_(std::move(messages)) {}

    // Ok is false for no message.
    void AddMessage(const std::shared_ptr<OrlixMessage>& message, bool& ok);

    int Count() const { return static_cast<int>(messages_.size()); }
    // 1-based, as the other collections of the component; null outside 1..Count.
    std::shared_ptr<OrlixMessage> Item(int index) const;
    const std::vector<std::shared_ptr<OrlixMessage>>& Messages() const { return messages_; }

    // Option 3: the on-screen list, with tick boxes and command links; 4096: printing a
    // selection (see MessageTemplate).
    QString ApplyTemplate(const QString& text, int options) const;

private:
    std::vector<std::shared_ptr<OrlixMessage>> messages_;
};
