#include "platform/mime/mimecontent.h"

#include "platform/mime/gmimehandles.h"
#include "platform/mime/gmimeruntime.h"

#include <gmime/gmime.h>

namespace mime {

QByteArray DecodedContent(GMimeObject* part, qsizetype limit, bool* truncated) {
    if (truncated) {
        *truncated = false;
    }
    if (!part) {
        return {};
    }
    GObjectPtr<GMimeStream> sink(g_mime_stream_mem_new());
    if (GMIME_IS_PART(part)) {
        GMimeDataWrapper* content = g_mime_part_get_content(GMIME_PART(part));
        if (!content) {
            return {};
        }
        g_mime_data_wrapper_write_to_stream(content, sink.get());
    } else if (GMIME_IS_MESSAGE_PART(part)) {
        GMimeMessage* embedded = g_mime_message_part_get_message(GMIME_MESSAGE_PART(part));
        if (!embedded) {
            return {};
        }
        g_mime_object_write_to_stream(GMIME_OBJECT(embedded), StorageFormat(), sink.get());
    } else {
        return {};
    }
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(sink.get()));
    if (!bytes) {
        return {};
    }
    qsizetype size = static_cast<qsizetype>(bytes->len);
    if (size > limit) {
        size = limit;
        if (truncated) {
            *truncated = true;
        }
    }
    return QByteArray(reinterpret_cast<const char*>(bytes->data), size);
}

QString PartFileName(GMimeObject* part) {
    if (!part) {
        return {};
    }
    const char* name = nullptr;
    if (GMIME_IS_PART(part)) {
        name = g_mime_part_get_filename(GMIME_PART(part));
    } else {
        name = g_mime_object_get_content_disposition_parameter(part, "filename");
        if (!name) {
            name = g_mime_object_get_content_type_parameter(part, "name");
        }
    }
    return name ? QString::fromUtf8(name) : QString();
}

QString PartContentType(GMimeObject* part) {
    GMimeContentType* type = part ? g_mime_object_get_content_type(part) : nullptr;
    if (!type) {
        return QStringLiteral("application/octet-stream");
    }
    GCharPtr mime(g_mime_content_type_get_mime_type(type));
    return mime ? QString::fromUtf8(mime.get()).toLower()
                : QStringLiteral("application/octet-stream");
}

} // namespace mime
