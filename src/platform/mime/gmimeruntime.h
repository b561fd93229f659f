#pragma once

#include "platform/mime/gmimehandles.h"

#include <QByteArray>
#include <QString>

typedef struct _GMimeMessage GMimeMessage;

// The one place that starts GMime and hands out the options every parse and write uses.
namespace mime {

// Starts GMime the first time it is called; every entry point of the message layer calls it.
void EnsureGMime();

// What the parser of one message told us. The warnings go to the platform log, at most a few
// per message, so that a hostile message cannot flood the log.
struct ParseReport {
    QString context;
    int warnings = 0;
};

// Options for reading listeners' mail: loose RFC compliance, UTF-8 then Windows-1252 for raw
// 8-bit header text, and the parser's warnings logged against `report` (which must outlive
// the options).
ParserOptionsPtr NewParserOptions(ParseReport* report);

// The message in `bytes` (at most kMaxMessageBytes of them), parsed with `options`; null when
// GMime finds none. The message object and the stored columns both read messages through
// here, with NewParserOptions, so that the list shows what the message window shows.
GObjectPtr<GMimeMessage> ParseMessage(const QByteArray& bytes, GMimeParserOptions* options);

// How messages are written for storage: CRLF line ends, RFC 2231 parameters.
GMimeFormatOptions* StorageFormat();

// Log text from untrusted input: control characters dropped, at most `limit` characters.
QString LoggableText(const QString& text, int limit = 80);

} // namespace mime
