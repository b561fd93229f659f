// Feeds arbitrary bytes to the message reader, then exercises what the windows do with a
// message that was read: every field, the attachments, an edit, writing it back and reading
// that again, and building a reply and a forward.

#include "platform/mime/attachmentname.h"
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
    MimeMessage message = MimeMessage::FromBytes(bytes);
    if (message.ToBytes() != bytes) {
        __builtin_trap(); // an unchanged message must give back the bytes it was read from
    }

    QString seen = message.From() + message.To() + message.CC() + message.Subject() +
                   message.TextBody() + message.HTMLBody();
    const MimeAttachments& attachments = message.Attachments();
    for (int n = 1; n <= attachments.Count(); ++n) {
        const MimeAttachment attachment = attachments.Item(n);
        const QString safe = attachment.SafeFileName();
        if (safe.isEmpty() || safe.contains(u'/') || safe == QLatin1String("..")) {
            __builtin_trap();
        }
        seen += attachment.FileName() + attachment.ContentType();
    }

    message.SetSubject(message.Subject() + QStringLiteral(" (edited)"));
    message.SetTo(message.To());
    const MimeMessage again = MimeMessage::FromBytes(message.ToBytes());
    seen += again.Subject() + again.TextBody();

    const MimeMessage reply = message.ReplyAll({QStringLiteral("studio@radio.example")});
    const MimeMessage forward = message.Forward();
    seen += reply.To() + reply.CC() + forward.Subject();
    return seen.isNull() ? 1 : 0;
}
