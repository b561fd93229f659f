// The SMS text form the receiving program hands over, as arbitrary bytes: read, then built into
// the stored message. Oracle: the stored text is the form's text without its NULs.

#include "platform/messagesdb/messagemime.h"
#include "platform/messagesdb/smsform.h"
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
    SmsForm form;
    QString why;
    if (!ReadSmsForm(bytes, form, why)) {
        return 0;
    }
    const MessageColumns columns = ReadMessageColumns(
        BuildTextMessage(form.From, form.To, QString(), form.Text, form.Received));
    QString expected = form.Text;
    expected.remove(QChar(u'\0'));
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    while (expected.endsWith(u'\n')) {
        expected.chop(1);
    }
    if (columns.TextBody != expected) {
        __builtin_trap(); // the stored text is the form's, NULs aside
    }
    return 0;
}
