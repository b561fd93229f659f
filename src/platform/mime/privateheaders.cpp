#include "platform/mime/privateheaders.h"

#include "platform/mime/gmimehandles.h"
#include "platform/mime/gmimeruntime.h"
#include "platform/system/platformlog.h"

#include <gmime/gmime.h>

namespace mime {

namespace {

constexpr QByteArrayView kPrefix("x-orlix-");

QByteArrayView withoutLineEnd(QByteArrayView line) {
    if (line.endsWith('\n')) {
        line.chop(1);
    }
    if (line.endsWith('\r')) {
        line.chop(1);
    }
    return line;
}

// The name of a header line, or an empty view when the line is no header.
QByteArrayView headerName(QByteArrayView line) {
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0) {
        return {};
    }
    QByteArrayView name = line.first(colon);
    while (!name.isEmpty() && (name.back() == ' ' || name.back() == '\t')) {
        name.chop(1);
    }
    return name;
}

// Takes out the private header lines of the header block, which ends at the first line that
// is empty or no header, as the parser reads it.
QByteArray strippedText(const QByteArray& bytes) {
    const QByteArrayView all(bytes);
    QByteArray out;
    out.reserve(bytes.size());
    qsizetype pos = 0;
    bool dropping = false;
    while (pos < all.size()) {
        const qsizetype lineFeed = all.indexOf('\n', pos);
        const qsizetype next = lineFeed < 0 ? all.size() : lineFeed + 1;
        const QByteArrayView line = all.sliced(pos, next - pos);
        const QByteArrayView text = withoutLineEnd(line);
        const bool continuation = text.startsWith(' ') || text.startsWith('\t');
        if (!continuation) {
            const QByteArrayView name = headerName(text);
            if (name.isEmpty()) {
                break; // the body starts here
            }
            dropping = IsPrivateHeaderName(name);
        }
        if (!dropping) {
            out += line;
        }
        pos = next;
    }
    out += all.sliced(pos);
    return out;
}

// Whether the parser still finds a private header in the message's own headers.
bool parserFindsPrivateHeader(GMimeMessage* message) {
    GMimeHeaderList* headers = g_mime_object_get_header_list(GMIME_OBJECT(message));
    const int count = g_mime_header_list_get_count(headers);
    for (int i = 0; i < count; ++i) {
        const char* name = g_mime_header_get_name(g_mime_header_list_get_header_at(headers, i));
        if (name != nullptr && IsPrivateHeaderName(QByteArrayView(name))) {
            return true;
        }
    }
    return false;
}

// The message as the parser reads it, its private headers removed and written out again: for
// the odd message whose headers the line reading above did not see as the parser does.
QByteArray rewrittenWithoutPrivateHeaders(GMimeMessage* message) {
    GMimeObject* object = GMIME_OBJECT(message);
    GMimeHeaderList* headers = g_mime_object_get_header_list(object);
    for (int i = g_mime_header_list_get_count(headers) - 1; i >= 0; --i) {
        GMimeHeader* header = g_mime_header_list_get_header_at(headers, i);
        const char* name = g_mime_header_get_name(header);
        if (name != nullptr && IsPrivateHeaderName(QByteArrayView(name))) {
            g_mime_header_list_remove_at(headers, i);
        }
    }
    GObjectPtr<GMimeStream> sink(g_mime_stream_mem_new());
    g_mime_object_write_to_stream(object, StorageFormat(), sink.get());
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(sink.get()));
    return bytes ? QByteArray(reinterpret_cast<const char*>(bytes->data),
                              static_cast<qsizetype>(bytes->len))
                 : QByteArray();
}

} // namespace

bool IsPrivateHeaderName(QByteArrayView name) {
    return name.size() > kPrefix.size() &&
           name.first(kPrefix.size()).compare(kPrefix, Qt::CaseInsensitive) == 0;
}

QByteArray WithoutPrivateHeaders(const QByteArray& received) {
    if (!received.toLower().contains(kPrefix)) {
        return received; // a header name is never encoded: without the text there is none
    }
    QByteArray stored = strippedText(received);
    const ParserOptionsPtr options = NewParserOptions(nullptr);
    const GObjectPtr<GMimeMessage> message = ParseMessage(stored, options.get());
    if (message && parserFindsPrivateHeader(message.get())) {
        PlatformLog(QStringLiteral("Received message of %1 bytes: a private header was not "
                                   "found line by line; the message is stored as the parser "
                                   "reads it, without it")
                        .arg(received.size()));
        stored = rewrittenWithoutPrivateHeaders(message.get());
    }
    return stored;
}

} // namespace mime
