#include "platform/mime/gmimeruntime.h"

#include "platform/mime/mimelimits.h"
#include "platform/system/platformlog.h"

#include <gmime/gmime.h>

#include <algorithm>
#include <mutex>

namespace mime {

namespace {

const char* WarningName(GMimeParserWarning code) {
    switch (code) {
    case GMIME_WARN_DUPLICATED_HEADER:
        return "a repeated header";
    case GMIME_WARN_DUPLICATED_PARAMETER:
        return "a repeated header parameter";
    case GMIME_WARN_UNENCODED_8BIT_HEADER:
        return "unencoded 8-bit header text";
    case GMIME_WARN_INVALID_CONTENT_TYPE:
        return "an invalid content type";
    case GMIME_WARN_INVALID_RFC2047_HEADER_VALUE:
        return "an invalid encoded header";
    case GMIME_WARN_MALFORMED_MULTIPART:
        return "a malformed multipart";
    case GMIME_WARN_TRUNCATED_MESSAGE:
        return "a truncated message";
    case GMIME_WARN_MALFORMED_MESSAGE:
        return "a malformed message";
    case GMIME_CRIT_INVALID_HEADER_NAME:
        return "an invalid header name";
    case GMIME_CRIT_CONFLICTING_HEADER:
        return "conflicting headers";
    case GMIME_CRIT_CONFLICTING_PARAMETER:
        return "conflicting header parameters";
    case GMIME_CRIT_MULTIPART_WITHOUT_BOUNDARY:
        return "a multipart without a boundary";
    case GMIME_WARN_INVALID_PARAMETER:
        return "an invalid header parameter";
    case GMIME_WARN_INVALID_ADDRESS_LIST:
        return "an invalid address list";
    case GMIME_CRIT_NESTING_OVERFLOW:
        return "parts nested too deeply";
    case GMIME_WARN_PART_WITHOUT_CONTENT:
        return "a part without content";
    case GMIME_CRIT_PART_WITHOUT_HEADERS_OR_CONTENT:
        return "a part without headers or content";
    }
    return "an unknown problem";
}

void LogParserWarning(gint64 offset, GMimeParserWarning code, const gchar* item,
                      gpointer userData) {
    auto* report = static_cast<ParseReport*>(userData);
    if (!report) {
        return;
    }
    ++report->warnings;
    if (report->warnings > kMaxLoggedWarnings) {
        return;
    }
    QString line = QStringLiteral("Message %1: the parser found %2")
                       .arg(report->context, QString::fromLatin1(WarningName(code)));
    if (offset >= 0) {
        line += QStringLiteral(" at byte %1").arg(offset);
    }
    if (item && *item) {
        line += QStringLiteral(" (\"%1\")").arg(LoggableText(QString::fromUtf8(item)));
    }
    if (report->warnings == kMaxLoggedWarnings) {
        line += QStringLiteral("; further problems of this message are not logged");
    }
    PlatformLog(line);
}

} // namespace

void EnsureGMime() {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

ParserOptionsPtr NewParserOptions(ParseReport* report) {
    EnsureGMime();
    ParserOptionsPtr options(g_mime_parser_options_new());
    g_mime_parser_options_set_address_compliance_mode(options.get(), GMIME_RFC_COMPLIANCE_LOOSE);
    g_mime_parser_options_set_parameter_compliance_mode(options.get(), GMIME_RFC_COMPLIANCE_LOOSE);
    g_mime_parser_options_set_rfc2047_compliance_mode(options.get(), GMIME_RFC_COMPLIANCE_LOOSE);
    g_mime_parser_options_set_allow_addresses_without_domain(options.get(), TRUE);
    const char* fallback[] = {"UTF-8", "windows-1252", nullptr};
    g_mime_parser_options_set_fallback_charsets(options.get(), fallback);
    g_mime_parser_options_set_warning_callback(options.get(), LogParserWarning, report);
    return options;
}

GObjectPtr<GMimeMessage> ParseMessage(const QByteArray& bytes, GMimeParserOptions* options) {
    EnsureGMime();
    const qsizetype size = std::min(bytes.size(), kMaxMessageBytes);
    if (size == 0) {
        return {};
    }
    GObjectPtr<GMimeStream> stream(
        g_mime_stream_mem_new_with_buffer(bytes.constData(), static_cast<size_t>(size)));
    GObjectPtr<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    g_mime_parser_set_format(parser.get(), GMIME_FORMAT_MESSAGE);
    return GObjectPtr<GMimeMessage>(g_mime_parser_construct_message(parser.get(), options));
}

GMimeFormatOptions* StorageFormat() {
    EnsureGMime();
    static FormatOptionsPtr format = [] {
        FormatOptionsPtr created(g_mime_format_options_new());
        g_mime_format_options_set_newline_format(created.get(), GMIME_NEWLINE_FORMAT_DOS);
        g_mime_format_options_set_param_encoding_method(created.get(),
                                                        GMIME_PARAM_ENCODING_METHOD_RFC2231);
        return created;
    }();
    return format.get();
}

QString LoggableText(const QString& text, int limit) {
    QString clean;
    for (QChar c : text) {
        if (clean.size() >= limit) {
            clean += QStringLiteral("...");
            break;
        }
        clean += (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
                     ? QChar(u'?')
                     : c;
    }
    return clean;
}

} // namespace mime
