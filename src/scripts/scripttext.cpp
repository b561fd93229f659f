#include "scripts/scripttext.h"

#include "platform/richtext/rtfreader.h"
#include "platform/system/textcodec.h"
#include "platform/web/htmltext.h"

namespace ScriptText {

bool HoldsRtf(const QString& text) {
    return text.contains(QLatin1String("{\\rtf1\\"), Qt::CaseSensitive);
}

bool RtfToPlainText(const QString& text, QString& plain) {
    // The link hands us text; the reader wants the bytes an RTF file holds, and RTF is
    // written in the Western code page (anything else is escaped inside it).
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const int b = TextCodec::Windows1252ByteOf(c);
        bytes.append(b < 0 ? '?' : static_cast<char>(b));
    }
    RichTextDocument document;
    if (!RtfReader::Read(bytes, document)) {
        return false;
    }
    plain = document.plainText();
    return true;
}

bool LooksLikeHtml(const QString& text) {
    return text.contains(QLatin1String("<html>"), Qt::CaseInsensitive) ||
           text.contains(QLatin1String("<font "), Qt::CaseInsensitive) ||
           text.contains(QLatin1String("<p"), Qt::CaseInsensitive);
}

QString PlainTextToHtml(const QString& text) {
    QString body = HtmlText::Lines(text);
    body.replace(QLatin1String("<br><br>"), QLatin1String("</p><p>"), Qt::CaseInsensitive);
    body.replace(QLatin1String("<br>"), QLatin1String("</p><p>"), Qt::CaseInsensitive);
    return QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body><p>") + body +
           QStringLiteral("</p></body></html>");
}

QString HtmlForScriptText(const QString& text) {
    if (text.isEmpty()) {
        return {};
    }
    QString shown = text;
    if (HoldsRtf(shown)) {
        QString plain;
        if (RtfToPlainText(shown, plain)) {
            shown = plain;
        }
    }
    if (LooksLikeHtml(shown)) {
        return shown;
    }
    return PlainTextToHtml(shown);
}

} // namespace ScriptText
