#include "platform/system/stringhelper.h"

#include "platform/system/platformlog.h"
#include "platform/system/textcodec.h"
#include "platform/web/htmltext.h"

#include <QFile>

QString StringHelper::ReplaceText(const QString& text, const QString& tag, const QString& value,
                                  bool option) {
    if (tag.isEmpty() || !text.contains(tag)) {
        return text;
    }
    QString result = text;
    result.replace(tag, HtmlText::Lines(value, {.keepBlanks = !option, .isolateLines = true}),
                   Qt::CaseSensitive);
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
