#include "platform/mime/attachmentname.h"

#include <QList>

#include <algorithm>

namespace {

constexpr qsizetype kMaxNameBytes = 200; // file systems allow 255 bytes of UTF-8
constexpr qsizetype kMaxExtensionChars = 16;

bool Unwanted(char32_t c) {
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return c == U'/' || c == U'\\';
    }
}

QString TrimDotsAndBlanks(QString name, bool leading) {
    auto strip = [](QChar c) { return c == u'.' || c.isSpace(); };
    if (leading) {
        qsizetype start = 0;
        while (start < name.size() && strip(name.at(start))) {
            ++start;
        }
        name.remove(0, start);
    }
    qsizetype end = name.size();
    while (end > 0 && strip(name.at(end - 1))) {
        --end;
    }
    name.truncate(end);
    return name;
}

// Cuts the name to kMaxNameBytes of UTF-8, keeping a short extension, at a character boundary.
QString Shorten(const QString& name) {
    if (name.toUtf8().size() <= kMaxNameBytes) {
        return name;
    }
    QString extension;
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot > 0 && name.size() - dot <= kMaxExtensionChars + 1) {
        extension = name.mid(dot);
    }
    QString base = name.left(name.size() - extension.size());
    const qsizetype budget = kMaxNameBytes - extension.toUtf8().size();
    const QList<uint> codePoints = base.toUcs4();
    QString shortened;
    qsizetype bytes = 0;
    for (uint cp : codePoints) {
        const char32_t c = cp;
        const QString one = QString::fromUcs4(&c, 1);
        const qsizetype size = one.toUtf8().size();
        if (bytes + size > budget) {
            break;
        }
        shortened += one;
        bytes += size;
    }
    return TrimDotsAndBlanks(shortened, false) + extension;
}

} // namespace

QString SanitiseAttachmentFileName(const QString& fileName) {
    // Only the last component survives, whichever separator the sender's system used.
    const qsizetype cut = std::max(fileName.lastIndexOf(u'/'), fileName.lastIndexOf(u'\\'));
    const QString last = cut >= 0 ? fileName.mid(cut + 1) : fileName;

    QString clean;
    for (uint cp : last.toUcs4()) {
        const char32_t c = cp;
        if (!Unwanted(c)) {
            clean += QString::fromUcs4(&c, 1);
        }
    }
    // No hidden files, no "." or "..", no trailing dots or blanks.
    clean = TrimDotsAndBlanks(clean, true);
    clean = Shorten(clean);
    if (clean.isEmpty()) {
        return QStringLiteral("attachment");
    }
    return clean;
}
