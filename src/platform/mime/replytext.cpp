#include "platform/mime/replytext.h"

#include "platform/mime/safehtml.h"
#include "platform/web/htmltext.h"

#include <QRegularExpression>
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
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body>\n<p></p>\n"
                                  "<div><hr>\n<p>");
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
    html += originalHtml.isEmpty() ? HtmlText::Lines(originalText, {.breakSource = true})
                                   : SafeHtmlBody(originalHtml);
    html += QStringLiteral("\n</blockquote></div>\n</body></html>\n");
    return html;
}

QString HtmlToPlainText(const QString& html) {
    QString text = SafeHtmlBody(html);
    text.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
    static const QRegularExpression breakPattern(
        QStringLiteral("<(br|/p|/div|/li|/tr|/h[1-6])\\b[^>]*>"),
        QRegularExpression::CaseInsensitiveOption);
    text.replace(breakPattern, QStringLiteral("\n"));
    static const QRegularExpression tagPattern(QStringLiteral("<[^>]*>"));
    text.remove(tagPattern);
    static const QRegularExpression numericEntity(QStringLiteral("&#(x?)([0-9a-fA-F]{1,6});"));
    QString decoded;
    qsizetype last = 0;
    auto it = numericEntity.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        decoded += text.mid(last, m.capturedStart() - last);
        bool ok = false;
        const uint cp = m.captured(2).toUInt(&ok, m.captured(1).isEmpty() ? 10 : 16);
        if (ok && cp > 0 && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF)) {
            const char32_t c = cp;
            decoded += QString::fromUcs4(&c, 1);
        }
        last = m.capturedEnd();
    }
    decoded += text.mid(last);
    decoded.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    decoded.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    decoded.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    decoded.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    decoded.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    decoded.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    QStringList lines = decoded.split(u'\n');
    for (QString& line : lines) {
        line = line.trimmed();
    }
    return lines.join(u'\n').trimmed();
}

} // namespace mime
