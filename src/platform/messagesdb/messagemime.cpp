#include "platform/messagesdb/messagemime.h"

#include "platform/mime/gmimehandles.h"
#include "platform/mime/gmimeruntime.h"
#include "platform/mime/headertext.h"
#include "platform/mime/mimemessage.h"
#include "platform/mime/standardmailboxes.h"

#include <QRegularExpression>

#include <gmime/gmime.h>

#include <algorithm>

namespace {
using mime::GObjectPtr;

QString fromUtf8(const char* text) {
    return text == nullptr ? QString() : QString::fromUtf8(text);
}

// Display text and addr-specs of one address list (groups flattened).
void readAddresses(InternetAddressList* list, QString& display, QStringList& addresses) {
    if (list == nullptr) {
        return;
    }
    QStringList shown;
    const int count = internet_address_list_length(list);
    for (int i = 0; i < count; ++i) {
        InternetAddress* address = internet_address_list_get_address(list, i);
        if (INTERNET_ADDRESS_IS_GROUP(address)) {
            QString inner;
            readAddresses(internet_address_group_get_members(INTERNET_ADDRESS_GROUP(address)),
                          inner, addresses);
            if (!inner.isEmpty()) {
                shown << inner;
            }
            continue;
        }
        const QString spec =
            fromUtf8(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(address)));
        const QString name = fromUtf8(internet_address_get_name(address)).trimmed();
        if (!spec.isEmpty()) {
            addresses << spec.toLower();
        }
        shown << (name.isEmpty()   ? spec
                  : spec.isEmpty() ? name
                                   : name + QStringLiteral(" <") + spec + QLatin1Char('>'));
    }
    display = shown.join(QStringLiteral(", "));
}

// A NUL has no meaning in a column's text, and a reader in C would stop at it: it goes, the rest
// stays.
QString withoutNul(QString text) {
    text.remove(QChar(u'\0'));
    return text;
}

bool hasC1Control(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.unicode() >= 0x80 && c.unicode() < 0xA0; });
}

QString stripHtml(QString html) {
    static const QRegularExpression hidden(
        QStringLiteral("<(script|style|head)\\b[^>]*>.*?</\\1\\s*>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression breaks(QStringLiteral("<(br|/p|/div|/tr|/li)\\b[^>]*>"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    html.remove(hidden);
    html.replace(breaks, QStringLiteral("\n"));
    html.remove(tags);
    html.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    html.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    html.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    html.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    html.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    html.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return html.trimmed();
}

} // namespace

MessageColumns ReadMessageColumns(const QByteArray& rfc5322) {
    MessageColumns columns;
    // The message object's options; what the parser finds wrong is logged when a window opens
    // the message, not once more for each column read.
    const mime::ParserOptionsPtr options = mime::NewParserOptions(nullptr);
    const GObjectPtr<GMimeMessage> message = mime::ParseMessage(rfc5322, options.get());
    if (!message) {
        return columns;
    }
    // The subject and the body as the message object reads them for a window: the list, its
    // summary and the printout then show what the window shows.
    const MimeMessage mime = MimeMessage::FromBytes(rfc5322);
    columns.Subject = mime.Subject().trimmed();
    readAddresses(g_mime_message_get_from(message.get()), columns.From, columns.Addresses);
    readAddresses(g_mime_message_get_to(message.get()), columns.To, columns.Addresses);
    readAddresses(g_mime_message_get_cc(message.get()), columns.Cc, columns.Addresses);
    // A field this program kept verbatim beside its header (phone numbers, names in quotes)
    // is the message object's own text, every entry: the header holds only the mailboxes.
    GMimeHeaderList* headers = g_mime_object_get_header_list(GMIME_OBJECT(message.get()));
    if (g_mime_header_list_contains(headers, "X-Orlix-From")) {
        columns.From = mime.From().trimmed();
    }
    if (g_mime_header_list_contains(headers, "X-Orlix-To")) {
        columns.To = mime.To().trimmed();
    }
    if (g_mime_header_list_contains(headers, "X-Orlix-Cc")) {
        columns.Cc = mime.CC().trimmed();
    }
    // Where a field holds no mailbox (an SMS number, a hand-typed fragment), the message
    // object gives back the text exactly as it was set; only without one is the header used.
    if (columns.From.isEmpty() || columns.To.isEmpty()) {
        const auto exact = [](const QString& text, QString& column) {
            if (column.isEmpty()) {
                column = text.trimmed();
            }
        };
        exact(mime.From(), columns.From);
        exact(mime.To(), columns.To);
        exact(mime.CC(), columns.Cc);
    }
    if (columns.From.isEmpty()) {
        columns.From =
            fromUtf8(g_mime_object_get_header(GMIME_OBJECT(message.get()), "From")).trimmed();
    }
    if (columns.To.isEmpty()) {
        columns.To =
            fromUtf8(g_mime_object_get_header(GMIME_OBJECT(message.get()), "To")).trimmed();
    }
    if (GDateTime* date = g_mime_message_get_date(message.get())) {
        columns.Date = QDateTime::fromSecsSinceEpoch(g_date_time_to_unix(date), Qt::UTC);
    }
    columns.TextBody = !mime.TextBody().isEmpty() ? mime.TextBody() : stripHtml(mime.HTMLBody());
    for (QString* column :
         {&columns.Subject, &columns.From, &columns.To, &columns.Cc, &columns.TextBody}) {
        *column = withoutNul(*column);
    }
    columns.TextBody.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    while (columns.TextBody.endsWith(QLatin1Char('\n'))) {
        columns.TextBody.chop(1);
    }
    return columns;
}

QByteArray BuildTextMessage(const QString& fromText, const QString& toText,
                            const QString& subjectText, const QString& bodyText,
                            const QDateTime& date) {
    mime::EnsureGMime();
    // GMime takes C strings: a NUL would end the text there and lose the rest.
    const QString from = withoutNul(fromText);
    const QString to = withoutNul(toText);
    const QString subject = withoutNul(subjectText);
    const QString body = withoutNul(bodyText);
    GObjectPtr<GMimeMessage> message(g_mime_message_new(TRUE));
    const auto setAddresses = [&](const char* privateName, GMimeAddressType type,
                                  const QString& text) {
        if (text.trimmed().isEmpty()) {
            return;
        }
        const QByteArray utf8 = text.toUtf8();
        GObjectPtr<InternetAddressList> list(
            internet_address_list_parse(nullptr, utf8.constData()));
        // The standard header takes the mailboxes alone; a phone number is none, and the whole
        // text is then kept as written in the private header beside it, as the message object
        // keeps it.
        const GObjectPtr<InternetAddressList> mailboxes = mime::StandardMailboxes(list.get());
        const int parsed = list ? internet_address_list_length(list.get()) : 0;
        internet_address_list_append(g_mime_message_get_addresses(message.get(), type),
                                     mailboxes.get());
        if (parsed == 0 || internet_address_list_length(mailboxes.get()) != parsed) {
            GMimeObject* object = GMIME_OBJECT(message.get());
            g_mime_object_set_header(object, privateName, "", nullptr);
            GMimeHeader* header =
                g_mime_header_list_get_header(g_mime_object_get_header_list(object), privateName);
            if (header != nullptr) {
                g_mime_header_set_raw_value(
                    header, mime::EncodeHeaderWords(mime::OneLineText(text.trimmed())).constData());
            }
        }
    };
    setAddresses("X-Orlix-From", GMIME_ADDRESS_TYPE_FROM, from);
    setAddresses("X-Orlix-To", GMIME_ADDRESS_TYPE_TO, to);
    g_mime_message_set_subject(message.get(), subject.toUtf8().constData(), "utf-8");
    if (date.isValid()) {
        GDateTime* when = g_date_time_new_from_unix_utc(date.toSecsSinceEpoch());
        g_mime_message_set_date(message.get(), when);
        g_date_time_unref(when);
    }
    GObjectPtr<GMimeTextPart> part(g_mime_text_part_new_with_subtype("plain"));
    const QByteArray bodyUtf8 = body.toUtf8();
    g_mime_text_part_set_text(part.get(), bodyUtf8.constData());
    if (hasC1Control(body)) {
        // The narrowest charset for such a text is Latin-1, which every reader here takes as
        // Windows-1252: the control would come back as a printable sign. UTF-8 keeps it.
        GObjectPtr<GMimeStream> content(
            g_mime_stream_mem_new_with_buffer(bodyUtf8.constData(), size_t(bodyUtf8.size())));
        GObjectPtr<GMimeDataWrapper> wrapper(
            g_mime_data_wrapper_new_with_stream(content.get(), GMIME_CONTENT_ENCODING_DEFAULT));
        g_mime_part_set_content(GMIME_PART(part.get()), wrapper.get());
        g_mime_text_part_set_charset(part.get(), "utf-8");
    }
    if (!body.endsWith(QLatin1Char('\n')) || body.contains(QLatin1Char('\r'))) {
        // As the last part of the message a text part gains a line break, and quoted-printable
        // cannot carry a lone CR: base64 gives the text back exactly.
        g_mime_part_set_content_encoding(GMIME_PART(part.get()), GMIME_CONTENT_ENCODING_BASE64);
    }
    g_mime_message_set_mime_part(message.get(), GMIME_OBJECT(part.get()));

    GObjectPtr<GMimeStream> out(g_mime_stream_mem_new());
    GMimeFormatOptions* options = g_mime_format_options_get_default();
    g_mime_object_write_to_stream(GMIME_OBJECT(message.get()), options, out.get());
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(out.get()));
    return QByteArray(reinterpret_cast<const char*>(bytes->data),
                      static_cast<qsizetype>(bytes->len));
}
