#include "platform/mime/mimemessage.h"

#include "platform/mime/addresstext.h"
#include "platform/mime/attachmentdata_p.h"
#include "platform/mime/bodytext.h"
#include "platform/mime/gmimehandles.h"
#include "platform/mime/gmimeruntime.h"
#include "platform/mime/headertext.h"
#include "platform/mime/mimecontent.h"
#include "platform/mime/mimelimits.h"
#include "platform/mime/replytext.h"
#include "platform/mime/standardmailboxes.h"
#include "platform/system/platformlog.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMimeDatabase>
#include <QRegularExpression>

#include <gmime/gmime.h>

#include <cstdlib>

using namespace mime;

namespace {

enum class Field { From, To, CC };

const char* HeaderName(Field field) {
    switch (field) {
    case Field::From:
        return "From";
    case Field::To:
        return "To";
    case Field::CC:
        return "Cc";
    }
    return "";
}

// Where an address text that the standard header cannot hold as it was typed is kept verbatim.
const char* PrivateHeaderName(Field field) {
    switch (field) {
    case Field::From:
        return "X-Orlix-From";
    case Field::To:
        return "X-Orlix-To";
    case Field::CC:
        return "X-Orlix-Cc";
    }
    return "";
}

GMimeAddressType AddressType(Field field) {
    switch (field) {
    case Field::From:
        return GMIME_ADDRESS_TYPE_FROM;
    case Field::To:
        return GMIME_ADDRESS_TYPE_TO;
    case Field::CC:
        return GMIME_ADDRESS_TYPE_CC;
    }
    return GMIME_ADDRESS_TYPE_TO;
}

QString FromUtf8(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

void AppendListText(InternetAddressList* list, QStringList& entries) {
    if (!list) {
        return;
    }
    const int count = internet_address_list_length(list);
    for (int i = 0; i < count; ++i) {
        InternetAddress* address = internet_address_list_get_address(list, i);
        if (INTERNET_ADDRESS_IS_GROUP(address)) {
            AppendListText(internet_address_group_get_members(INTERNET_ADDRESS_GROUP(address)),
                           entries);
        } else if (INTERNET_ADDRESS_IS_MAILBOX(address)) {
            const QString name = OneLineText(FromUtf8(internet_address_get_name(address)));
            const QString addr = OneLineText(
                FromUtf8(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(address))));
            entries += ComposeAddressEntry(name, addr);
        }
    }
}

// The address text of a parsed header.
QString ListText(InternetAddressList* list) {
    QStringList entries;
    AppendListText(list, entries);
    return entries.join(u',');
}

GObjectPtr<GMimeObject> NewTextPart(const char* subtype, const QString& text, bool alone) {
    GMimeTextPart* part = g_mime_text_part_new_with_subtype(subtype);
    GObjectPtr<GMimeObject> object(GMIME_OBJECT(part));
    g_mime_object_set_content_type_parameter(object.get(), "charset", "utf-8");
    const QByteArray utf8 = text.toUtf8();
    GObjectPtr<GMimeStream> stream(
        g_mime_stream_mem_new_with_buffer(utf8.constData(), static_cast<size_t>(utf8.size())));
    GObjectPtr<GMimeDataWrapper> content(
        g_mime_data_wrapper_new_with_stream(stream.get(), GMIME_CONTENT_ENCODING_DEFAULT));
    g_mime_part_set_content(GMIME_PART(part), content.get());
    // Quoted-printable keeps the text readable in storage, but it cannot carry a lone CR, and
    // a part that ends the message gains a final line break; base64 brings back every byte.
    const bool base64 = text.contains(u'\r') || (alone && !text.endsWith(u'\n'));
    g_mime_part_set_content_encoding(GMIME_PART(part),
                                     base64 ? GMIME_CONTENT_ENCODING_BASE64
                                            : GMIME_CONTENT_ENCODING_QUOTEDPRINTABLE);
    return object;
}

void SetRawHeader(GMimeObject* object, const char* name, const QByteArray& raw) {
    g_mime_object_set_header(object, name, "", nullptr);
    GMimeHeader* header =
        g_mime_header_list_get_header(g_mime_object_get_header_list(object), name);
    if (header) {
        g_mime_header_set_raw_value(header, raw.constData());
    }
}

// Writes an unstructured header so that it reads back exactly as `text`.
void SetExactHeader(GMimeObject* object, const char* name, const QString& text) {
    if (text.isEmpty()) {
        g_mime_object_remove_header(object, name);
    } else if (IsPlainHeaderText(text)) {
        g_mime_object_set_header(object, name, text.toUtf8().constData(), nullptr);
    } else {
        SetRawHeader(object, name, EncodeHeaderWords(text));
    }
}

// The raw value of the first header of that name, or a null array when there is none.
QByteArray RawHeader(GMimeObject* object, const char* name) {
    GMimeHeader* header =
        g_mime_header_list_get_header(g_mime_object_get_header_list(object), name);
    const char* raw = header ? g_mime_header_get_raw_value(header) : nullptr;
    return raw ? QByteArray(raw) : QByteArray();
}

// An unstructured header's text, decoded by GMime after the encoded words were repaired.
QString DecodedHeaderText(GMimeParserOptions* options, const QByteArray& raw) {
    if (raw.isNull()) {
        return {};
    }
    GCharPtr unfolded(g_mime_utils_header_unfold(RepairEncodedWords(raw).constData()));
    const char* start = unfolded.get();
    while (start && (*start == ' ' || *start == '\t')) {
        ++start;
    }
    GCharPtr decoded(start ? g_mime_utils_header_decode_text(options, start) : nullptr);
    return OneLineText(FromUtf8(decoded.get()));
}

// An address header parsed by GMime after the encoded words were repaired.
GObjectPtr<InternetAddressList> ParsedAddressHeader(GMimeParserOptions* options,
                                                    const QByteArray& raw) {
    if (raw.trimmed().isEmpty()) {
        return {};
    }
    return GObjectPtr<InternetAddressList>(
        internet_address_list_parse(options, RepairEncodedWords(raw).constData()));
}

QString MessageIdToken(const QString& id) {
    static const QRegularExpression valid(QStringLiteral("^[!-;=?-~]{1,250}$"));
    return valid.match(id).hasMatch() ? u'<' + id + u'>' : QString();
}

} // namespace

struct MimeMessage::Impl {
    ParseReport report;
    // Kept for the message's life: its headers are parsed with these options when read.
    ParserOptionsPtr options = NewParserOptions(&report);
    // For reading fields after the parse: its problems were logged once, by the parse.
    ParserOptionsPtr quiet = NewParserOptions(nullptr);
    GObjectPtr<GMimeMessage> message;
    // The bytes the message was read from, given back until something changes.
    QByteArray original;
    bool changed = true;
    bool bodyDirty = true;
    QString textBody;
    QString htmlBody;
    MimeAttachments attachments;

    Impl() {
        attachments.m_changed = [this] { BodyChanged(); };
    }

    GMimeObject* object() const { return GMIME_OBJECT(message.get()); }

    void NewMessage() {
        message = GObjectPtr<GMimeMessage>(g_mime_message_new(FALSE));
        g_mime_object_set_header(object(), "MIME-Version", "1.0", nullptr);
    }

    void BodyChanged() {
        bodyDirty = true;
        changed = true;
    }

    void Log(const QString& what) const {
        PlatformLog(QStringLiteral("Message %1: %2").arg(report.context, what));
    }

    // -- reading the parsed tree --------------------------------------------------------

    struct Walk {
        int leaves = 0;
        bool haveText = false;
        bool haveHtml = false;
        bool tooDeep = false;
        bool tooMany = false;
    };

    void ReadBody() {
        textBody.clear();
        htmlBody.clear();
        attachments.m_items.clear();
        Walk walk;
        GMimeObject* root = g_mime_message_get_mime_part(message.get());
        WalkPart(root, 0, walk);
        if (textBody.isEmpty() && htmlBody.isEmpty() && attachments.m_items.empty() && root &&
            GMIME_IS_MULTIPART(root)) {
            // A multipart whose boundary never comes holds everything in its prologue: show
            // that rather than nothing.
            const char* prologue = g_mime_multipart_get_prologue(GMIME_MULTIPART(root));
            if (prologue && *prologue) {
                QByteArray bytes(prologue);
                bytes.truncate(kMaxPartBytes);
                textBody = DecodeBodyText(bytes, QByteArray());
                textBody.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
                Log(QStringLiteral("no part was found; the text before the first boundary is "
                                   "shown"));
            }
        }
        if (walk.tooDeep) {
            Log(QStringLiteral("parts nested deeper than %1 levels were not read")
                    .arg(kMaxNestingDepth));
        }
        if (walk.tooMany) {
            Log(QStringLiteral("only the first %1 parts were read").arg(kMaxParts));
        }
    }

    static bool IsBodyCandidate(GMimeObject* part, const QString& type) {
        if (type != QLatin1String("text/plain") && type != QLatin1String("text/html")) {
            return false;
        }
        const QString disposition = FromUtf8(g_mime_object_get_disposition(part));
        return disposition.compare(QLatin1String("attachment"), Qt::CaseInsensitive) != 0 &&
               PartFileName(part).isEmpty();
    }

    void WalkPart(GMimeObject* part, int depth, Walk& walk) {
        if (!part) {
            return;
        }
        if (GMIME_IS_MULTIPART(part)) {
            if (depth >= kMaxNestingDepth) {
                walk.tooDeep = true;
                return;
            }
            GMimeMultipart* multipart = GMIME_MULTIPART(part);
            const int count = g_mime_multipart_get_count(multipart);
            for (int i = 0; i < count && !walk.tooMany; ++i) {
                WalkPart(g_mime_multipart_get_part(multipart, i), depth + 1, walk);
            }
            return;
        }
        if (walk.leaves >= kMaxParts) {
            walk.tooMany = true;
            return;
        }
        ++walk.leaves;
        const QString type = PartContentType(part);
        if (GMIME_IS_PART(part) && IsBodyCandidate(part, type)) {
            const bool plain = type == QLatin1String("text/plain");
            if (plain && !walk.haveText) {
                textBody = ReadText(part);
                walk.haveText = true;
                return;
            }
            if (!plain && !walk.haveHtml) {
                htmlBody = ReadText(part);
                walk.haveHtml = true;
                return;
            }
        }
        if (GMIME_IS_PART(part) || GMIME_IS_MESSAGE_PART(part)) {
            auto data = std::make_shared<AttachmentData>();
            data->part = GObjectPtr<GMimeObject>::Retain(part);
            data->fileName = PartFileName(part);
            data->contentType = type;
            attachments.m_items.push_back(MimeAttachment(std::move(data)));
        }
    }

    QString ReadText(GMimeObject* part) const {
        bool truncated = false;
        const QByteArray bytes = DecodedContent(part, kMaxPartBytes, &truncated);
        if (truncated) {
            Log(QStringLiteral("a body longer than %1 bytes was cut").arg(kMaxPartBytes));
        }
        const QByteArray charset = g_mime_object_get_content_type_parameter(part, "charset");
        QString text = DecodeBodyText(bytes, charset);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        return text;
    }

    // -- writing --------------------------------------------------------------------------

    void RebuildBody() {
        const bool haveText = !textBody.isEmpty();
        const bool haveHtml = !htmlBody.isEmpty();
        const bool noAttachments = attachments.m_items.empty();
        const bool alone = noAttachments && !(haveText && haveHtml);
        GObjectPtr<GMimeObject> body;
        if (haveText && haveHtml) {
            GObjectPtr<GMimeObject> alternative(
                GMIME_OBJECT(g_mime_multipart_new_with_subtype("alternative")));
            g_mime_multipart_add(GMIME_MULTIPART(alternative.get()),
                                 NewTextPart("plain", textBody, false).get());
            g_mime_multipart_add(GMIME_MULTIPART(alternative.get()),
                                 NewTextPart("html", htmlBody, false).get());
            body = alternative;
        } else if (haveHtml) {
            body = NewTextPart("html", htmlBody, alone);
        } else if (haveText || noAttachments) {
            body = NewTextPart("plain", textBody, alone);
        }
        GObjectPtr<GMimeObject> root = body;
        if (!noAttachments) {
            root =
                GObjectPtr<GMimeObject>(GMIME_OBJECT(g_mime_multipart_new_with_subtype("mixed")));
            if (body) {
                g_mime_multipart_add(GMIME_MULTIPART(root.get()), body.get());
            }
            for (const MimeAttachment& attachment : attachments.m_items) {
                g_mime_multipart_add(GMIME_MULTIPART(root.get()), attachment.m_data->part.get());
            }
        }
        g_mime_message_set_mime_part(message.get(), root.get());
        bodyDirty = false;
    }

    QByteArray Serialise() {
        if (bodyDirty) {
            RebuildBody();
        }
        GObjectPtr<GMimeStream> sink(g_mime_stream_mem_new());
        g_mime_object_write_to_stream(object(), StorageFormat(), sink.get());
        GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(sink.get()));
        if (!bytes) {
            return {};
        }
        return QByteArray(reinterpret_cast<const char*>(bytes->data),
                          static_cast<qsizetype>(bytes->len));
    }

    // -- addresses ------------------------------------------------------------------------

    // The address text of what the standard header holds of text.
    QString StandardText(const QString& text) const {
        if (text.isEmpty()) {
            return {};
        }
        GObjectPtr<InternetAddressList> list(
            internet_address_list_parse(quiet.get(), text.toUtf8().constData()));
        return ListText(StandardMailboxes(list.get()).get());
    }

    QString AddressText(Field field) const {
        const QByteArray raw = RawHeader(object(), HeaderName(field));
        const GObjectPtr<InternetAddressList> header = ParsedAddressHeader(quiet.get(), raw);
        const QString derived = ListText(header.get());
        const QByteArray kept = RawHeader(object(), PrivateHeaderName(field));
        if (!kept.isNull()) {
            // Only a verbatim copy that still agrees with the real header counts; one that a
            // sender forged, or that another program left behind after changing the header, is
            // ignored. Both sides are read by the header's own rule: a copy written when
            // numbers still went into the header agrees as well.
            const QString verbatim = DecodedHeaderText(quiet.get(), kept);
            if (StandardText(verbatim) == ListText(StandardMailboxes(header.get()).get())) {
                return verbatim;
            }
        }
        if (derived.isEmpty()) {
            // A header that is not an address list at all still shows what it says.
            return DecodedHeaderText(quiet.get(), raw).trimmed();
        }
        return derived;
    }

    void SetAddressText(Field field, const QString& text) {
        const QString clean = OneLineText(text);
        if (clean == AddressText(field)) {
            return;
        }
        InternetAddressList* target =
            g_mime_message_get_addresses(message.get(), AddressType(field));
        internet_address_list_clear(target);
        GObjectPtr<InternetAddressList> parsed;
        if (!clean.isEmpty()) {
            parsed = GObjectPtr<InternetAddressList>(
                internet_address_list_parse(quiet.get(), clean.toUtf8().constData()));
        }
        const GObjectPtr<InternetAddressList> mailboxes = StandardMailboxes(parsed.get());
        if (internet_address_list_length(mailboxes.get()) > 0) {
            internet_address_list_append(target, mailboxes.get());
        } else {
            g_mime_object_remove_header(object(), HeaderName(field));
        }
        if (ListText(target) != clean) {
            SetRawHeader(object(), PrivateHeaderName(field), EncodeHeaderWords(clean));
        } else {
            g_mime_object_remove_header(object(), PrivateHeaderName(field));
        }
        changed = true;
    }

    // -- reply and forward ----------------------------------------------------------------

    QString SentText() const {
        GDateTime* date = g_mime_message_get_date(message.get());
        if (!date) {
            return {};
        }
        const qint64 seconds = g_date_time_to_unix(date);
        const int offset = static_cast<int>(g_date_time_get_utc_offset(date) / G_TIME_SPAN_SECOND);
        const QDateTime sent = QDateTime::fromSecsSinceEpoch(seconds, Qt::OffsetFromUTC, offset);
        const int minutes = std::abs(offset) / 60;
        return QLocale::c().toString(sent, QStringLiteral("ddd, dd MMM yyyy hh:mm:ss ")) +
               (offset < 0 ? u'-' : u'+') +
               QStringLiteral("%1%2")
                   .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                   .arg(minutes % 60, 2, 10, QLatin1Char('0'));
    }

    QString ReplyTarget() const {
        const QString replyTo =
            ListText(ParsedAddressHeader(quiet.get(), RawHeader(object(), "Reply-To")).get());
        return replyTo.isEmpty() ? AddressText(Field::From) : replyTo;
    }

    void CopyThreading(GMimeObject* target) const {
        const QString id = MessageIdToken(FromUtf8(g_mime_message_get_message_id(message.get())));
        if (id.isEmpty()) {
            return;
        }
        QStringList references;
        static const QRegularExpression token(QStringLiteral("<[^<>\\s]{1,250}>"));
        auto it = token.globalMatch(FromUtf8(g_mime_object_get_header(object(), "References")));
        while (it.hasNext()) {
            references += it.next().captured(0);
        }
        while (references.size() > 20) {
            references.removeFirst();
        }
        references += id;
        g_mime_object_set_header(target, "In-Reply-To", id.toUtf8().constData(), nullptr);
        g_mime_object_set_header(target, "References", references.join(u' ').toUtf8().constData(),
                                 nullptr);
    }
};

MimeMessage::MimeMessage() : d(std::make_unique<Impl>()) {
    EnsureGMime();
    d->NewMessage();
}

MimeMessage::~MimeMessage() = default;

MimeMessage::MimeMessage(const MimeMessage& other) : MimeMessage(FromBytes(other.ToBytes())) {}

MimeMessage& MimeMessage::operator=(const MimeMessage& other) {
    if (this != &other) {
        *this = FromBytes(other.ToBytes());
    }
    return *this;
}

MimeMessage::MimeMessage(MimeMessage&& other) noexcept = default;
MimeMessage& MimeMessage::operator=(MimeMessage&& other) noexcept = default;

MimeMessage MimeMessage::FromBytes(const QByteArray& bytes) {
    MimeMessage result;
    Impl& d = *result.d;
    d.original = bytes;
    d.changed = false;
    d.bodyDirty = false;
    d.report.context = QStringLiteral("of %1 bytes").arg(bytes.size());
    if (bytes.size() > kMaxMessageBytes) {
        d.Log(QStringLiteral("only the first %1 bytes were read").arg(kMaxMessageBytes));
    }
    if (!bytes.isEmpty()) {
        GObjectPtr<GMimeMessage> parsed = ParseMessage(bytes, d.options.get());
        if (parsed) {
            d.message = std::move(parsed);
        } else {
            d.Log(QStringLiteral("could not be read; it opens empty"));
            d.NewMessage();
        }
    }
    d.ReadBody();
    return result;
}

QByteArray MimeMessage::ToBytes() const {
    // A message read only in part would be written back cut: it keeps the bytes it came with,
    // which no store takes.
    if (!d->changed || d->original.size() > kMaxMessageBytes) {
        return d->original;
    }
    return d->Serialise();
}

bool MimeMessage::ReadInPart() const {
    return d->original.size() > kMaxMessageBytes;
}

QString MimeMessage::From() const {
    return d->AddressText(Field::From);
}
void MimeMessage::SetFrom(const QString& addressText) {
    d->SetAddressText(Field::From, addressText);
}
QString MimeMessage::To() const {
    return d->AddressText(Field::To);
}
void MimeMessage::SetTo(const QString& addressText) {
    d->SetAddressText(Field::To, addressText);
}
QString MimeMessage::CC() const {
    return d->AddressText(Field::CC);
}
void MimeMessage::SetCC(const QString& addressText) {
    d->SetAddressText(Field::CC, addressText);
}

bool MimeMessage::IsMailboxEntry(const QString& entry) {
    const QString clean = OneLineText(entry).trimmed();
    if (clean.isEmpty()) {
        return false;
    }
    EnsureGMime();
    const ParserOptionsPtr options = NewParserOptions(nullptr);
    GObjectPtr<InternetAddressList> list(
        internet_address_list_parse(options.get(), clean.toUtf8().constData()));
    if (!list || internet_address_list_length(list.get()) != 1) {
        return false;
    }
    InternetAddress* address = internet_address_list_get_address(list.get(), 0);
    if (!INTERNET_ADDRESS_IS_MAILBOX(address)) {
        return false;
    }
    const QString addr =
        FromUtf8(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(address)));
    const qsizetype at = addr.indexOf(u'@');
    return at > 0 && at < addr.size() - 1;
}

QString MimeMessage::Subject() const {
    return DecodedHeaderText(d->quiet.get(), RawHeader(d->object(), "Subject"));
}

void MimeMessage::SetSubject(const QString& subject) {
    const QString clean = OneLineText(subject);
    if (clean == Subject()) {
        return;
    }
    SetExactHeader(d->object(), "Subject", clean);
    d->changed = true;
}

QDateTime MimeMessage::Date() const {
    GDateTime* date = g_mime_message_get_date(d->message.get());
    if (!date) {
        return {};
    }
    const int offset = static_cast<int>(g_date_time_get_utc_offset(date) / G_TIME_SPAN_SECOND);
    return QDateTime::fromSecsSinceEpoch(g_date_time_to_unix(date), Qt::OffsetFromUTC, offset);
}

void MimeMessage::SetDate(const QDateTime& date) {
    if (!date.isValid()) {
        if (g_mime_object_remove_header(d->object(), "Date")) {
            d->changed = true;
        }
        return;
    }
    using ZonePtr = std::unique_ptr<GTimeZone, decltype(&g_time_zone_unref)>;
    using DatePtr = std::unique_ptr<GDateTime, decltype(&g_date_time_unref)>;
    const ZonePtr zone(g_time_zone_new_offset(date.offsetFromUtc()), &g_time_zone_unref);
    const DatePtr utc(g_date_time_new_from_unix_utc(date.toSecsSinceEpoch()), &g_date_time_unref);
    if (!zone || !utc) {
        return;
    }
    const DatePtr local(g_date_time_to_timezone(utc.get(), zone.get()), &g_date_time_unref);
    if (!local) {
        return;
    }
    g_mime_message_set_date(d->message.get(), local.get());
    d->changed = true;
}

QString MimeMessage::TextBody() const {
    return d->textBody;
}

void MimeMessage::SetTextBody(const QString& text) {
    if (text == d->textBody) {
        return;
    }
    d->textBody = text;
    d->BodyChanged();
}

QString MimeMessage::HTMLBody() const {
    return d->htmlBody;
}

void MimeMessage::SetHTMLBody(const QString& html) {
    if (html == d->htmlBody) {
        return;
    }
    d->htmlBody = html;
    d->BodyChanged();
}

MimeAttachments& MimeMessage::Attachments() {
    return d->attachments;
}
const MimeAttachments& MimeMessage::Attachments() const {
    return d->attachments;
}

bool MimeMessage::AddAttachment(const QString& path, QString* error) {
    auto fail = [error](const QString& why) {
        if (error) {
            *error = why;
        }
        return false;
    };
    QString local = path;
    if (local.startsWith(QLatin1String("file://"), Qt::CaseInsensitive)) {
        local = local.mid(7);
        if (local.startsWith(QLatin1String("localhost/"), Qt::CaseInsensitive)) {
            local = local.mid(9);
        }
    }
    const QFileInfo info(local);
    if (!info.isFile()) {
        return fail(QStringLiteral("The file '%1' does not exist").arg(local));
    }
    if (info.size() > kMaxPartBytes) {
        return fail(QStringLiteral("The file '%1' is larger than %2 MB")
                        .arg(local)
                        .arg(kMaxPartBytes / (1024 * 1024)));
    }
    QFile file(local);
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(file.errorString());
    }
    const QByteArray content = file.read(kMaxPartBytes + 1);
    if (content.size() > kMaxPartBytes) {
        return fail(QStringLiteral("The file '%1' is larger than %2 MB")
                        .arg(local)
                        .arg(kMaxPartBytes / (1024 * 1024)));
    }
    QString type = QMimeDatabase().mimeTypeForFile(info).name();
    const qsizetype slash = type.indexOf(u'/');
    if (slash <= 0 || slash == type.size() - 1) {
        type = QStringLiteral("application/octet-stream");
    }
    const QByteArray major = type.left(type.indexOf(u'/')).toUtf8();
    const QByteArray minor = type.mid(type.indexOf(u'/') + 1).toUtf8();

    GObjectPtr<GMimeObject> part(
        GMIME_OBJECT(g_mime_part_new_with_type(major.constData(), minor.constData())));
    GObjectPtr<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(
        content.constData(), static_cast<size_t>(content.size())));
    GObjectPtr<GMimeDataWrapper> wrapper(
        g_mime_data_wrapper_new_with_stream(stream.get(), GMIME_CONTENT_ENCODING_DEFAULT));
    g_mime_part_set_content(GMIME_PART(part.get()), wrapper.get());
    g_mime_part_set_content_encoding(GMIME_PART(part.get()), GMIME_CONTENT_ENCODING_BASE64);
    g_mime_object_set_disposition(part.get(), "attachment");
    g_mime_part_set_filename(GMIME_PART(part.get()), info.fileName().toUtf8().constData());

    auto data = std::make_shared<AttachmentData>();
    data->part = part;
    data->fileName = info.fileName();
    data->contentType = type.toLower();
    d->attachments.m_items.push_back(MimeAttachment(std::move(data)));
    d->BodyChanged();
    // The whole message must stay readable: a store of it past the limit would be read back
    // cut.
    if (d->Serialise().size() > kMaxMessageBytes) {
        d->attachments.m_items.pop_back();
        d->BodyChanged();
        return fail(QStringLiteral("With the file '%1' the message would be larger than %2 MB.")
                        .arg(local)
                        .arg(kMaxMessageBytes / (1024 * 1024)));
    }
    return true;
}

MimeMessage MimeMessage::Reply() const {
    return Answered(Answer::Reply, {});
}

MimeMessage MimeMessage::ReplyAll(const QStringList& ownAddresses) const {
    return Answered(Answer::ReplyAll, ownAddresses);
}

MimeMessage MimeMessage::Forward() const {
    return Answered(Answer::Forward, {});
}

MimeMessage MimeMessage::Answered(Answer kind, const QStringList& ownAddresses) const {
    MimeMessage answer;
    QuoteHeader header;
    header.from = From();
    header.sent = d->SentText();
    header.to = To();
    header.cc = CC();
    header.subject = Subject();

    if (kind == Answer::Forward) {
        answer.SetSubject(ForwardSubject(header.subject));
        for (const MimeAttachment& attachment : d->attachments.m_items) {
            answer.d->attachments.m_items.push_back(attachment);
        }
        answer.d->BodyChanged();
    } else {
        const QString target = d->ReplyTarget();
        answer.SetTo(target);
        answer.SetSubject(ReplySubject(header.subject));
        if (kind == Answer::ReplyAll) {
            QStringList seen;
            for (const QString& own : ownAddresses) {
                seen += AddressOfEntry(own).toLower();
            }
            for (const QString& entry : SplitAddressText(target)) {
                seen += AddressOfEntry(entry).toLower();
            }
            QStringList copies;
            for (const QString& entry : SplitAddressText(header.to + u',' + header.cc)) {
                const QString address = AddressOfEntry(entry).toLower();
                if (!address.isEmpty() && !seen.contains(address)) {
                    seen += address;
                    copies += entry;
                }
            }
            answer.SetCC(copies.join(u','));
        }
        d->CopyThreading(answer.d->object());
    }

    const QString originalText = d->textBody.isEmpty() ? HtmlToPlainText(d->htmlBody) : d->textBody;
    answer.SetTextBody(QuotedText(header, originalText));
    answer.SetHTMLBody(QuotedHtml(header, d->htmlBody, originalText));
    // Read back from its own bytes, so that it shares no part with this message.
    return FromBytes(answer.ToBytes());
}
