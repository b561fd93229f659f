// A stored message's bytes, arbitrary: the columns the database keeps of it. Oracle: the
// subject and the plain body agree with what the message object shows in a window.

#include "platform/messagesdb/messagemime.h"
#include "platform/mime/mimemessage.h"
#include "platform/system/platformlog.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = [] {
        SetPlatformLogHandler([](const QString&, int) {});
        return true;
    }();
    (void)quiet;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const MessageColumns columns = ReadMessageColumns(bytes);
    for (const QString* column :
         {&columns.Subject, &columns.From, &columns.To, &columns.Cc, &columns.TextBody}) {
        if (column->contains(QChar(u'\0'))) {
            __builtin_trap(); // no column keeps a NUL
        }
    }
    const MimeMessage message = MimeMessage::FromBytes(bytes);
    QString subject = message.Subject().trimmed();
    subject.remove(QChar(u'\0'));
    if (columns.Subject != subject.trimmed() && !subject.isEmpty()) {
        __builtin_trap(); // the subject column is the window's subject
    }
    QString body = message.TextBody();
    if (!body.isEmpty()) {
        body.remove(QChar(u'\0'));
        body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        while (body.endsWith(u'\n')) {
            body.chop(1);
        }
        if (columns.TextBody != body) {
            __builtin_trap(); // the body column is the window's plain body
        }
    }
    return 0;
}
