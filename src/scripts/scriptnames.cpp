#include "scripts/scriptnames.h"

#include "platform/web/htmltext.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace ScriptNames {

QString RefusalText() {
    return QStringLiteral("A script name cannot contain any of the characters \\ / : * ? \" < > | "
                          "and cannot begin with a full stop.");
}

NameCheck CheckName(const QString& typed) {
    const QString name = typed.trimmed();
    if (name.isEmpty()) {
        return {Outcome::Cancelled, {}};
    }
    static const QString kForbidden = QStringLiteral("\\/:*?\"<>|");
    const bool badChar = std::any_of(name.cbegin(), name.cend(), [](QChar c) {
        return kForbidden.contains(c) || c.unicode() < 0x20 || c.unicode() == 0x7f ||
               c.category() == QChar::Other_Control;
    });
    if (badChar || name.startsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char('.')) ||
        name.size() > kMaxNameLength) {
        return {Outcome::Refused, {}};
    }
    return {Outcome::Accepted, name};
}

QString NewScriptPath(const QString& folder, const QString& name) {
    if (folder.isEmpty() || CheckName(name).outcome != Outcome::Accepted) {
        return {};
    }
    const QString path = QDir::cleanPath(folder + QLatin1Char('/') + name + QStringLiteral(".htm"));
    if (QFileInfo(path).absolutePath() != QFileInfo(QDir::cleanPath(folder)).absoluteFilePath()) {
        return {};
    }
    return path;
}

QString PersonalScriptPath(const QString& personalFolder) {
    if (personalFolder.trimmed().isEmpty()) {
        return {};
    }
    return QDir::cleanPath(personalFolder) + QStringLiteral("/OrlixScript.htm");
}

QString NewPersonalScriptHtml(const QString& nodeText) {
    const QString text = HtmlText::Escape(nodeText);
    return QStringLiteral("<html><head><meta charset=\"utf-8\"><title>") + text +
           QStringLiteral("</title></head><body>") + text +
           QStringLiteral(":<br><br></body></html>");
}

QStringList SharedScriptFiles(const QString& folder) {
    const QDir dir(folder);
    QStringList names;
    // Without QDir::System, links whose target is missing are left out too.
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot)) {
        if (info.isSymLink() || info.isHidden() || info.fileName().startsWith(QLatin1Char('.'))) {
            continue;
        }
        names.append(info.fileName());
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

} // namespace ScriptNames
