#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The words a command link of the message list may carry. Plurals act on the ticked
// messages; singulars on the message whose reference follows the word.
enum class MessageListWord {
    None,
    OpenMessage,
    CopyMessages,
    CopyMessage,
    MoveMessages,
    MoveMessage,
    DeleteMessages,
    DeleteMessage,
    PrintMessages,
    PrintMessage,
};

struct MessageListCommand {
    MessageListWord word = MessageListWord::None;
    // For a singular word: the reference after it, 0 when there is none.
    qint32 reference = 0;
};

// The command of an "orlix://" link (the scheme in any case), as the page wrote it; nothing
// for any other link.
std::optional<QString> OrlixCommandOf(QStringView url);

// The command read by its first characters, whatever the case; plurals are tried before their
// singulars so "copymessages" is never "copymessage" of "s".
MessageListCommand ParseMessageListCommand(QStringView command);
