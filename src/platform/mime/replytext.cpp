#include "platform/mime/replytext.h"

#include "platform/mime/safehtml.h"
#include "platform/web/htmltext.h"

#include <QStringList>

namespace mime {

namespace {

QString Prefixed(const QString& subject, const QString& prefix, const QStringList& known) {
    const QString start = subject.trimmed();
    for (const QString& k : known) {
        if (start.startsWith(k, Qt::CaseInsensitive)) {
            return subject;
        }
    }
    return prefix + subject;
}

QStringList HeaderLines(const QuoteHeader& header) {
    QStringList lines;
    auto add = [&lines](const char* label, const QString& value) {
        if (!value.isEmpty()) {
            lines += QString::fromLatin1(label) + QStringLiteral(": ") + value;
        }
    };
    add("From", header.from);
    add("Sent", header.sent);
    add("To", header.to);
    add("Cc", header.cc);
    add("Subject", header.subject);
    return lines;
}

const QString kSeparator = QStringLiteral("-----Original Message-----");

} // namespace

QString ReplySubject(const QString& subject) {
    return Prefixed(subject, QStringLiteral("RE: "), {QStringLiteral("re:")});
}

QString ForwardSubject(const QString& subject) {
    return Prefixed(subject, QStringLiteral("FW: "),
                    {QStringLiteral("fw:"), QStringLiteral("fwd:")});
}

QString QuotedText(const QuoteHeader& header, const QString& originalText) {
    QString text = QStringLiteral("\n\n") + kSeparator + u'\n';
    text += HeaderLines(header).join(u'\n');
    text += QStringLiteral("\n\n");
    QString original = originalText;
    original.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (original.endsWith(u'\n')) {
        original.chop(1);
    }
    const QStringList lines = original.split(u'\n');
    for (const QString& line : lines) {
        text += (line.isEmpty() ? QStringLiteral(">") : QStringLiteral("> ") + line) + u'\n';
    }
    return text;
}

QString QuotedHtml(const QuoteHeader& header, const QString& originalHtml,
                   const QString& originalText) {
    // The first paragraph holds a line, so that the caret and what is typed stay above the
    // quote; the header's first line reads as the text quote's does.
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body>\n"
                                  "<p><br></p>\n<div><hr>\n<p>") +
                   kSeparator + QStringLiteral("<br>\n");
    QStringList lines;
    auto add = [&lines](const char* label, const QString& value) {
        if (!value.isEmpty()) {
            lines += QStringLiteral("<b>") + QString::fromLatin1(label) + QStringLiteral(":</b> ") +
                     HtmlText::Escape(value);
        }
    };
    add("From", header.from);
    add("Sent", header.sent);
    add("To", header.to);
    add("Cc", header.cc);
    add("Subject", header.subject);
    html += lines.join(QStringLiteral("<br>\n"));
    html += QStringLiteral("</p>\n<blockquote style=\"margin:0 0 0 0.8ex;border-left:1px solid "
                           "#ccc;padding-left:1ex\">\n");
    if (originalHtml.isEmpty()) {
        // Each line ends as in the text quote, the last too; a final break shows nothing.
        QString original = originalText;
        if (!original.endsWith(u'\n')) {
            original += u'\n';
        }
        html += HtmlText::Lines(original, {.breakSource = true});
    } else {
        html += SafeHtmlBody(originalHtml);
    }
    html += QStringLiteral("\n</blockquote></div>\n</body></html>\n");
    return html;
}

QString HtmlToPlainText(const QString& html) {
    return PlainTextOfHtml(html);
}

} // namespace mime
