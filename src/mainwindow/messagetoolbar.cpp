#include "mainwindow/messagetoolbar.h"

#include "mainwindow/messagebatch.h"

const QList<MessageToolbarButton>& MessageToolbarButtons() {
    static const QList<MessageToolbarButton> buttons = [] {
        const auto sep = [](const char* key) {
            return MessageToolbarButton{QString::fromLatin1(key), {}, {}, {}, true};
        };
        const auto button = [](const char* key, const char* caption, const char* tip,
                               const char* image) {
            return MessageToolbarButton{QString::fromLatin1(key), QString::fromLatin1(caption),
                                        QString::fromLatin1(tip), QString::fromLatin1(image),
                                        false};
        };
        return QList<MessageToolbarButton>{
            sep("initsep"),
            button("filter", "", "", ""),
            sep("sendsep"),
            button("email", "", "New email", "email"),
            button("sms", "", "New SMS", "sms"),
            sep("opensep"),
            button("open", "", "Open", "open"),
            sep("replysep"),
            button("reply", "", "Reply", "reply"),
            button("replyall", "", "Reply To All", "replyall"),
            button("forward", "", "Forward", "forward"),
            sep("savesep"),
            button("save", "Save", "Save", "disk"),
            sep("printsep"),
            button("print", "Print", "Print", "print"),
            button("delete", "", "Delete", "delete"),
            sep("foldersep"),
            button("copymessage", "", "Copy to Folder", "folderadd"),
            button("movemessage", "", "Move to Folder", "folderexport"),
            sep("editsep"),
            sep("helpsep"),
            button("help", "Help", "Help!", "help"),
        };
    }();
    return buttons;
}

MessageToolbarAction MessageToolbarActionFor(QStringView key) {
    const QString k = key.toString().toLower();
    MessageToolbarAction action;
    if (k == u"email") {
        action.newMessageKind = 1;
    } else if (k == u"sms") {
        action.newMessageKind = 2;
    } else if (k == u"delete") {
        action.batchMode = kBatchDelete;
    } else if (k == u"print") {
        action.batchMode = kBatchPrint;
    } else if (k == u"copymessage") {
        action.batchMode = kBatchCopy;
    } else if (k == u"movemessage") {
        action.batchMode = kBatchMove;
    }
    return action;
}

HoverCommand HoverCommandFor(QStringView key) {
    const QString k = key.toString().toLower();
    if (k == u"open") {
        return HoverCommand::Open;
    }
    if (k == u"reply") {
        return HoverCommand::Reply;
    }
    if (k == u"replyall") {
        return HoverCommand::ReplyAll;
    }
    if (k == u"forward") {
        return HoverCommand::Forward;
    }
    return HoverCommand::None;
}

std::optional<QString> ReplyRefusal(HoverCommand command, qsizetype ticked) {
    if (ticked == 1 || command == HoverCommand::None || command == HoverCommand::Open) {
        return std::nullopt;
    }
    const bool forward = command == HoverCommand::Forward;
    if (ticked < 1) {
        return forward ? QStringLiteral("You must select a message to 'Forward'")
                       : QStringLiteral("You must select a message to 'Reply' to");
    }
    return forward ? QStringLiteral("You can only 'Forward' one message at a time")
                   : QStringLiteral("You can only 'Reply' to one message at a time");
}
