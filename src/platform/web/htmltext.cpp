#include "platform/web/htmltext.h"

#include "platform/system/displaytext.h"

namespace HtmlText {

namespace {

void appendEscaped(QString& out, QChar c) {
    switch (c.unicode()) {
    case u'&':
        out += QLatin1String("&amp;");
        break;
    case u'<':
        out += QLatin1String("&lt;");
        break;
    case u'>':
        out += QLatin1String("&gt;");
        break;
    case u'"':
        out += QLatin1String("&quot;");
        break;
    case u'\'':
        out += QLatin1String("&#39;");
        break;
    case 0:
        break;
    default:
        if (!DisplayText::IsDirectionCharacter(c.unicode())) {
            out += c;
        }
    }
}

bool needsEscape(QChar c) {
    switch (c.unicode()) {
    case u'&':
    case u'<':
    case u'>':
    case u'"':
    case u'\'':
    case 0:
        return true;
    default:
        return c.unicode() >= 0x061C && DisplayText::IsDirectionCharacter(c.unicode());
    }
}

// Where the first character that must change is; size() when none.
qsizetype firstToEscape(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && !needsEscape(text[i])) {
        ++i;
    }
    return i;
}

// What a page never holds: NUL and the direction characters.
bool needsDropping(QChar c) {
    return c.unicode() == 0 || DisplayText::IsDirectionCharacter(c.unicode());
}

bool isBreak(QChar c) {
    return c == u'\n' || c == u'\r';
}

// A blank the page would fold away or drop: one of a run, or at either edge of a line.
bool isFoldedBlank(QStringView text, qsizetype i) {
    const bool blankBefore = i > 0 && text[i - 1] == u' ';
    const bool blankAfter = i + 1 < text.size() && text[i + 1] == u' ';
    const bool lineStart = i == 0 || isBreak(text[i - 1]);
    const bool lineEnd = i + 1 >= text.size() || isBreak(text[i + 1]);
    return blankBefore || blankAfter || lineStart || lineEnd;
}

} // namespace

QString Escape(QStringView text) {
    // Most of a page's fields hold nothing to escape: the clean start is copied in one go.
    const qsizetype clean = firstToEscape(text);
    if (clean == text.size()) {
        return text.toString();
    }
    QString out;
    out.reserve(text.size() + text.size() / 8);
    out.append(text.first(clean));
    for (const QChar c : text.sliced(clean)) {
        appendEscaped(out, c);
    }
    return out;
}

QString Escape(const QString& text) {
    if (firstToEscape(text) == text.size()) {
        return text;
    }
    return Escape(QStringView(text));
}

QString Lines(QStringView text, LineOptions options) {
    const QLatin1String lineBreak =
        options.breakSource ? QLatin1String("<br>\n") : QLatin1String("<br>");
    QString out;
    out.reserve(text.size() + text.size() / 8 + 8);
    bool isolated = false; // a line's isolate is open
    const auto endIsolate = [&] {
        if (isolated) {
            out += QChar(DisplayText::kIsolateEnd);
            isolated = false;
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            continue; // the LF of the pair makes the break
        }
        if (isBreak(c)) {
            endIsolate();
            out += lineBreak;
            continue;
        }
        if (options.isolateLines && !isolated && !needsDropping(c)) {
            out += QChar(DisplayText::kIsolateStart);
            isolated = true;
        }
        if (c == u' ' && options.keepBlanks && isFoldedBlank(text, i)) {
            out += QLatin1String("&nbsp;");
        } else {
            appendEscaped(out, c);
        }
    }
    endIsolate();
    return out;
}

} // namespace HtmlText
