#include "platform/system/stringhelper.h"

#include "platform/system/platformlog.h"
#include "platform/system/textcodec.h"

#include <QFile>

namespace {
bool isLineStart(const QString& s, qsizetype i) {
    return i == 0 || s[i - 1] == QLatin1Char('\n') || s[i - 1] == QLatin1Char('\r');
}
bool isLineEnd(const QString& s, qsizetype i) {
    return i + 1 >= s.size() || s[i + 1] == QLatin1Char('\n') || s[i + 1] == QLatin1Char('\r');
}
} // namespace

QString StringHelper::EscapeValue(const QString& value, bool option) {
    QString out;
    out.reserve(value.size() + value.size() / 8 + 8);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        switch (c.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        case '\r':
            if (i + 1 < value.size() && value[i + 1] == QLatin1Char('\n')) {
                ++i;
            }
            out += QLatin1String("<br>");
            break;
        case '\n':
            out += QLatin1String("<br>");
            break;
        case ' ': {
            // A page folds blanks together and drops them at a line's edge; a note keeps
            // each blank of a run, and a lone blank at either edge of a line.
            const bool inRun = (i > 0 && value[i - 1] == QLatin1Char(' ')) ||
                               (i + 1 < value.size() && value[i + 1] == QLatin1Char(' '));
            if (!option && (inRun || isLineStart(value, i) || isLineEnd(value, i))) {
                out += QLatin1String("&nbsp;");
            } else {
                out += c;
            }
            break;
        }
        default:
            out += c;
        }
    }
    return out;
}

QString StringHelper::ReplaceText(const QString& text, const QString& tag, const QString& value,
                                  bool option) {
    if (tag.isEmpty() || !text.contains(tag)) {
        return text;
    }
    QString result = text;
    result.replace(tag, EscapeValue(value, option), Qt::CaseSensitive);
    return result;
}

QString StringHelper::ReadTextFile(const QString& path, qint64 length) {
    if (path.isEmpty() || length == 0) {
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    if (file.size() > kMaxTextFileBytes) {
        PlatformLog(QStringLiteral("Text file '") + path + QStringLiteral("' is ") +
                    QString::number(file.size()) + QStringLiteral(" bytes; not read"));
        return {};
    }
    const QByteArray bytes = file.read(kMaxTextFileBytes + 1);
    if (bytes.size() > kMaxTextFileBytes) {
        PlatformLog(QStringLiteral("Text file '") + path +
                    QStringLiteral("' grew too large; not read"));
        return {};
    }
    QString text = TextCodec::DecodeTextFileBytes(bytes);
    if (length > 0 && text.size() > length) {
        text.truncate(static_cast<qsizetype>(length));
    }
    return text;
}
