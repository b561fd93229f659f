#include "platform/messagesdb/orlixmessagelist.h"

#include "platform/messagesdb/messagetemplate.h"
#include "platform/messagesdb/orlixmessage.h"

void OrlixMessageList::AddMessage(const std::shared_ptr<OrlixMessage>& message, bool& ok) {
    ok = message != nullptr;
    if (ok) {
        messages_.push_back(message);
    }
}

std::shared_ptr<OrlixMessage> OrlixMessageList::Item(int index) const {
    if (index < 1 || index > Count()) {
        return nullptr;
    }
    return messages_[static_cast<size_t>(index - 1)];
}

QString OrlixMessageList::ApplyTemplate(const QString& text, int options) const {
    return MessageTemplate::RenderList(text, messages_, options);
}
