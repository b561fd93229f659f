#include "mainwindow/messagelistcommand.h"

#include "mainwindow/messagetickboxes.h"

#include <array>

namespace {
struct WordEntry {
    QStringView text;
    MessageListWord word;
    bool takesReference;
};

constexpr std::array<WordEntry, 9> kWords{{
    {u"openmessage", MessageListWord::OpenMessage, true},
    {u"copymessages", MessageListWord::CopyMessages, false},
    {u"copymessage", MessageListWord::CopyMessage, true},
    {u"movemessages", MessageListWord::MoveMessages, false},
    {u"movemessage", MessageListWord::MoveMessage, true},
    {u"deletemessages", MessageListWord::DeleteMessages, false},
    {u"deletemessage", MessageListWord::DeleteMessage, true},
    {u"printmessages", MessageListWord::PrintMessages, false},
    {u"printmessage", MessageListWord::PrintMessage, true},
}};

constexpr QStringView kScheme = u"orlix://";
} // namespace

std::optional<QString> OrlixCommandOf(QStringView url) {
    if (!url.startsWith(kScheme, Qt::CaseInsensitive)) {
        return std::nullopt;
    }
    return url.mid(kScheme.size()).toString();
}

MessageListCommand ParseMessageListCommand(QStringView command) {
    for (const WordEntry& entry : kWords) {
        if (!command.startsWith(entry.text, Qt::CaseInsensitive)) {
            continue;
        }
        MessageListCommand result;
        result.word = entry.word;
        if (entry.takesReference) {
            result.reference = LeadingReference(command.mid(entry.text.size()));
        }
        return result;
    }
    return {};
}
