// A listener's message, from arbitrary bytes, through every template filler, on screen and on
// paper. Oracle: filled with the message and with the same message without the "<" of its
// subject and body, a page holds as many "<": nothing a listener wrote becomes markup. Each "<" gives way to a space,
// not to nothing, so that the text keeps its lines ("\r<\n" is two line breaks, "\r\n" one).

#include "platform/messagesdb/messagemime.h"
#include "platform/messagesdb/messagetemplate.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixmessagelist.h"
#include "platform/system/platformlog.h"
#include "platform/system/stringhelper.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {
const QString kTemplate = QStringLiteral(
    "<html><body><OCP_MESSAGES_REPEAT><div title=\"<OCP_MESSAGE_SUBJECT>\">"
    "<OCP_MESSAGE_SELECT><a href=\"<OCP_MESSAGE_OPENLINK>\"><OCP_MESSAGE_SUBJECT></a>"
    "<OCP_MESSAGE_FROM>|<OCP_MESSAGE_TO>|<OCP_MESSAGE_CC>|<OCP_MESSAGE_BODY>|"
    "<OCP_MESSAGE_SUMMARY>|<OCP_MESSAGE_DATE>|<OCP_MESSAGE_FOLDER>|<OCP_MESSAGE_KIND></div>"
    "</OCP_MESSAGES_REPEAT><p><OCP_X></p></body></html>");

// The message's fields from the bytes: From, To, Subject and body, split at each U+0001.
std::shared_ptr<OrlixMessage> messageOf(const QString& text) {
    const QStringList parts = text.split(QChar(u'\x01'));
    auto m = std::make_shared<OrlixMessage>();
    m->SetReference(7);
    m->SetMessageBytes(BuildTextMessage(parts.value(0), parts.value(1), parts.value(2),
                                        parts.value(3), QDateTime()));
    return m;
}

QStringList pages(const QString& text) {
    const auto m = messageOf(text);
    OrlixMessageList list;
    bool ok = false;
    list.AddMessage(m, ok);
    QStringList out;
    for (const int options :
         {int(MessageTemplate::OnScreenList), int(MessageTemplate::OneMessage),
          int(MessageTemplate::PrintSelection),
          int(MessageTemplate::OnScreenList | MessageTemplate::PrintSelection)}) {
        out << list.ApplyTemplate(kTemplate, options);
        out << m->ApplyTemplate(kTemplate, options);
    }
    for (const bool keepBlanks : {true, false}) {
        out << StringHelper::ReplaceText(kTemplate, QStringLiteral("<OCP_X>"), text, keepBlanks);
    }
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = [] {
        SetPlatformLogHandler([](const QString&, int) {});
        return true;
    }();
    (void)quiet;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // In an address line a "<" is grammar (it opens an address), so the address fields keep
    // theirs: both pages then hold them alike, and any leak of them still shows in the count.
    QStringList parts = text.split(QChar(u'\x01'));
    for (qsizetype i = 2; i < parts.size(); ++i) {
        parts[i].replace(u'<', u' ');
    }
    const QString stripped = parts.join(QChar(u'\x01'));
    const QStringList filled = pages(text);
    const QStringList plain = pages(stripped);
    for (qsizetype i = 0; i < filled.size(); ++i) {
        if (filled[i].count(u'<') != plain[i].count(u'<')) {
            __builtin_trap(); // a "<" of the message reached the page as markup
        }
    }
    return 0;
}
