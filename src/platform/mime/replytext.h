#pragma once

#include <QString>

// The texts of a reply or forward as a mail client writes them: the subject prefix and the
// original message quoted below a short header.
namespace mime {

// "RE: " before a reply's subject, "FW: " before a forward's; no second prefix when the
// subject already starts with one of the same kind ("RE:", "Re:", "FW:", "Fwd:", ...).
QString ReplySubject(const QString& subject);
QString ForwardSubject(const QString& subject);

// Who wrote the original, when, to whom and about what; empty fields are left out.
struct QuoteHeader {
    QString from;
    QString sent;
    QString to;
    QString cc;
    QString subject;
};

// The original text below the header, each line marked with "> ".
QString QuotedText(const QuoteHeader& header, const QString& originalText);

// The original below the header as HTML: its own HTML body made safe (SafeHtmlBody) when it
// has one, else its text escaped. Every header field is escaped.
QString QuotedHtml(const QuoteHeader& header, const QString& originalHtml,
                   const QString& originalText);

// A plain text reading of an HTML body, for quoting a message that has no text body.
QString HtmlToPlainText(const QString& html);

} // namespace mime
