#include "scripts/scriptfile.h"

#include "platform/system/replacefile.h"
#include "platform/system/textcodec.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

namespace ScriptFile {
namespace {
// Only the start of a file is looked at for its declaration, as a browser does.
constexpr qsizetype kDeclarationWindow = 4096;

QString declaredCharset(const QByteArray& bytes) {
    static const QRegularExpression kCharset(
        QStringLiteral("<meta[^>]*charset\\s*=\\s*[\"']?\\s*([A-Za-z0-9_:.+-]+)"),
        QRegularExpression::CaseInsensitiveOption);
    const QString head = QString::fromLatin1(bytes.left(kDeclarationWindow));
    const QRegularExpressionMatch m = kCharset.match(head);
    return m.hasMatch() ? m.captured(1).toLower() : QString();
}
} // namespace

QString DecodeBytes(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        return QString::fromUtf8(bytes.mid(3));
    }
    const QString charset = declaredCharset(bytes);
    if (charset == QLatin1String("utf-8") || charset == QLatin1String("utf8")) {
        return QString::fromUtf8(bytes);
    }
    if (!charset.isEmpty() && charset != QLatin1String("windows-1252") &&
        charset != QLatin1String("iso-8859-1") && charset != QLatin1String("us-ascii")) {
        QStringDecoder decoder(charset.toLatin1().constData());
        if (decoder.isValid()) {
            QString text = decoder.decode(bytes);
            if (!decoder.hasError()) {
                // A decoder may pass on half of a surrogate pair, which no file can hold: it is
                // shown, and saved, as the replacement character, as a browser shows it.
                for (qsizetype i = 0; i < text.size(); ++i) {
                    const bool pairStart = text[i].isHighSurrogate() && i + 1 < text.size() &&
                                           text[i + 1].isLowSurrogate();
                    if (pairStart) {
                        ++i;
                    } else if (text[i].isSurrogate()) {
                        text[i] = QChar::ReplacementCharacter;
                    }
                }
                return text;
            }
        }
    }
    return TextCodec::DecodeWindows1252(bytes);
}

Snapshot Of(const QByteArray& bytes) {
    return {true, QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)};
}

Snapshot Take(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return Of(file.readAll());
}

bool Read(const QString& path, QString& text, Snapshot* snapshot, QString* error, bool* tooLarge) {
    if (tooLarge != nullptr) {
        *tooLarge = false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error != nullptr) {
            *error = file.errorString();
        }
        return false;
    }
    const auto refuse = [&] {
        if (error != nullptr) {
            *error = QStringLiteral("the file is larger than %1 bytes").arg(kMaxScriptBytes);
        }
        if (tooLarge != nullptr) {
            *tooLarge = true;
        }
        return false;
    };
    if (file.size() > kMaxScriptBytes) {
        return refuse();
    }
    const QByteArray bytes = file.read(kMaxScriptBytes + 1);
    if (bytes.size() > kMaxScriptBytes) {
        return refuse();
    }
    if (file.error() != QFileDevice::NoError) {
        if (error != nullptr) {
            *error = file.errorString();
        }
        return false;
    }
    text = DecodeBytes(bytes);
    if (snapshot != nullptr) {
        *snapshot = Of(bytes);
    }
    return true;
}

QString WithUtf8Declaration(const QString& html) {
    static const QRegularExpression kDeclaration(QStringLiteral("<meta[^>]*charset\\s*=[^>]*>"),
                                                 QRegularExpression::CaseInsensitiveOption);
    QString out = html;
    out.remove(kDeclaration);
    static const QRegularExpression kHead(QStringLiteral("<head[^>]*>"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QString meta = QStringLiteral("<meta charset=\"utf-8\">");
    // The reader looks for the declaration in the first bytes only: one that would lie past
    // them goes first of all, where a browser takes it too.
    // lead: what the insertion puts before the declaration itself.
    const auto withinWindow = [&](qsizetype at, qsizetype lead) {
        return QStringView(out).first(at).toUtf8().size() + lead + meta.size() <=
               kDeclarationWindow;
    };
    const QRegularExpressionMatch head = kHead.match(out);
    if (head.hasMatch()) {
        out.insert(withinWindow(head.capturedEnd(), 0) ? head.capturedEnd() : 0, meta);
        return out;
    }
    static const QRegularExpression kHtml(QStringLiteral("<html[^>]*>"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch root = kHtml.match(out);
    const QString newHead = QStringLiteral("<head>") + meta + QStringLiteral("</head>");
    if (root.hasMatch()) {
        if (!withinWindow(root.capturedEnd(), QStringView(u"<head>").size())) {
            return meta + out;
        }
        out.insert(root.capturedEnd(), newHead);
        return out;
    }
    return QStringLiteral("<html>") + newHead + out + QStringLiteral("</html>");
}

bool Save(const QString& path, const QString& html, Snapshot* snapshot, QString* error) {
    const QByteArray bytes = (WithUtf8Declaration(html) + QStringLiteral("\r\n")).toUtf8();
    if (!ReplaceFileContents(path, bytes, error)) {
        return false;
    }
    if (snapshot != nullptr) {
        *snapshot = Of(bytes);
    }
    return true;
}

} // namespace ScriptFile
