#include "mainwindow/messagetickboxes.h"

#include "core/generalroutines.h"

namespace {
constexpr QStringView kTickWord = kTickBoxWord;
} // namespace

bool IsMessageTickBoxName(QStringView name) {
    return name.indexOf(kTickWord, 0, Qt::CaseInsensitive) >= 0;
}

QString WithoutReferenceBrackets(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'(':
        case u')':
        case u'[':
        case u']':
        case u'<':
        case u'>':
        case u'/':
        case u'\\':
            break;
        default:
            out.append(c);
        }
    }
    return out;
}

qint32 LeadingReference(QStringView text) {
    return ToInteger32(ValOf(WithoutReferenceBrackets(text))).value_or(0);
}

std::optional<qint32> TickBoxReference(QStringView name) {
    const qsizetype at = name.indexOf(kTickWord, 0, Qt::CaseInsensitive);
    if (at < 0) {
        return std::nullopt;
    }
    const QStringView rest = name.mid(at + kTickWord.size());
    if (rest.trimmed().isEmpty()) {
        return std::nullopt;
    }
    const double value = ValOf(WithoutReferenceBrackets(rest));
    if (!(value > 0)) {
        return std::nullopt;
    }
    return ToInteger32(value);
}

QList<qint32> TickedMessageReferences(const QList<MessageTickBox>& boxes) {
    QList<qint32> references;
    for (const MessageTickBox& box : boxes) {
        if (!box.checked) {
            continue;
        }
        if (const auto reference = TickBoxReference(box.name)) {
            references.append(*reference);
        }
    }
    return references;
}
