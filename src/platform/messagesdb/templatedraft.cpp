#include "platform/messagesdb/templatedraft.h"

#include "platform/messagesdb/defaulttemplates.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {
QString quoted(const QString& text) {
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

bool sameName(const QString& a, const QString& b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}
} // namespace

QStringList TemplateDraft::Categories() {
    return {QStringLiteral("PrintMessage"), QStringLiteral("PrintPrizeWinners")};
}

QString TemplateDraft::FileNameProblem(const QString& fileName) {
    bool control = false;
    for (const QChar c : fileName) {
        control = control || c.unicode() < 0x20 || c.unicode() == 0x7F ||
                  c.category() == QChar::Other_Control || c.category() == QChar::Other_Format;
    }
    if (fileName.trimmed().isEmpty() || fileName.contains(QLatin1Char('/')) ||
        fileName.contains(QLatin1Char('\\')) || fileName.contains(QLatin1String("..")) ||
        fileName.startsWith(QLatin1Char('.')) || control) {
        return QStringLiteral("The file name %1 cannot be used in the templates folder.")
            .arg(quoted(fileName));
    }
    return {};
}

bool TemplateDraft::IsGraphic(const QString& fileName) {
    static const QStringList kGraphics{QStringLiteral("png"), QStringLiteral("gif"),
                                       QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                       QStringLiteral("bmp"), QStringLiteral("svg"),
                                       QStringLiteral("ico"), QStringLiteral("webp")};
    return kGraphics.contains(QFileInfo(fileName).suffix().toLower());
}

TemplateDraft::TemplateDraft(QVector<Template> stored, QStringList folderFiles)
    : templates_(std::move(stored)), files_(std::move(folderFiles)) {}

QStringList TemplateDraft::Names(const QString& category) const {
    QStringList names;
    for (const Template& t : templates_) {
        if (t.Category == category) {
            names << t.Name;
        }
    }
    return names;
}

QString TemplateDraft::FileOf(const QString& category, const QString& name) const {
    for (const Template& t : templates_) {
        if (t.Category == category && t.Name == name) {
            return t.FileName;
        }
    }
    return {};
}

QStringList TemplateDraft::Graphics() const {
    QStringList graphics;
    for (const QString& f : files_) {
        if (IsGraphic(f)) {
            graphics << f;
        }
    }
    graphics.sort(Qt::CaseInsensitive);
    return graphics;
}

bool TemplateDraft::fileInUse(const QString& fileName) const {
    return std::any_of(templates_.cbegin(), templates_.cend(),
                       [&](const Template& t) { return t.FileName == fileName; });
}

QString TemplateDraft::addFile(const QString& source, QString* fileName) {
    const QFileInfo info(source);
    const QString name = info.fileName();
    if (QString problem = FileNameProblem(name); !problem.isEmpty()) {
        return problem;
    }
    if (!info.isFile() || !info.isReadable()) {
        return QStringLiteral("The file %1 cannot be read.").arg(quoted(source));
    }
    if (files_.contains(name, Qt::CaseInsensitive)) {
        return QStringLiteral("A file called %1 is already in the templates folder.")
            .arg(quoted(name));
    }
    files_ << name;
    incoming_.insert(name, info.absoluteFilePath());
    outgoing_.removeAll(name);
    *fileName = name;
    return {};
}

QString TemplateDraft::AddTemplate(const QString& category, const QString& name,
                                   const QString& source) {
    if (!Categories().contains(category)) {
        return QStringLiteral("Choose what the template prints.");
    }
    if (name.trimmed().isEmpty()) {
        return QStringLiteral("A template needs a name.");
    }
    for (const QString& other : Names(category)) {
        if (sameName(other, name)) {
            return QStringLiteral("There is already a template called %1.").arg(quoted(other));
        }
    }
    QString fileName;
    if (QString problem = addFile(source, &fileName); !problem.isEmpty()) {
        return problem;
    }
    templates_.push_back({category, name.trimmed(), fileName});
    changed_ = true;
    return {};
}

QString TemplateDraft::RenameTemplate(const QString& category, const QString& name,
                                      const QString& newName) {
    const auto it = std::find_if(templates_.begin(), templates_.end(), [&](const Template& t) {
        return t.Category == category && t.Name == name;
    });
    if (it == templates_.end()) {
        return QStringLiteral("Choose the template to rename.");
    }
    if (newName.trimmed().isEmpty()) {
        return QStringLiteral("A template needs a name.");
    }
    for (const QString& other : Names(category)) {
        if (other != name && sameName(other, newName)) {
            return QStringLiteral("There is already a template called %1.").arg(quoted(other));
        }
    }
    it->Name = newName.trimmed();
    changed_ = true;
    return {};
}

QString TemplateDraft::RemoveTemplate(const QString& category, const QString& name) {
    const auto it = std::find_if(templates_.begin(), templates_.end(), [&](const Template& t) {
        return t.Category == category && t.Name == name;
    });
    if (it == templates_.end()) {
        return QStringLiteral("Choose the template to remove.");
    }
    const QString fileName = it->FileName;
    templates_.erase(it);
    // A file another template still prints with stays.
    if (!fileInUse(fileName) && fileName != QLatin1String(kListPage)) {
        files_.removeAll(fileName);
        incoming_.remove(fileName);
        if (!outgoing_.contains(fileName)) {
            outgoing_ << fileName;
        }
    }
    changed_ = true;
    return {};
}

QString TemplateDraft::AddGraphic(const QString& source) {
    if (!IsGraphic(source)) {
        return QStringLiteral("The file %1 is not a picture.")
            .arg(quoted(QFileInfo(source).fileName()));
    }
    QString fileName;
    if (QString problem = addFile(source, &fileName); !problem.isEmpty()) {
        return problem;
    }
    changed_ = true;
    return {};
}

QString TemplateDraft::RemoveGraphic(const QString& fileName) {
    if (!IsGraphic(fileName) || !files_.contains(fileName)) {
        return QStringLiteral("Choose the picture to remove.");
    }
    files_.removeAll(fileName);
    incoming_.remove(fileName);
    outgoing_ << fileName;
    changed_ = true;
    return {};
}

QString TemplateDraft::ReplaceListPage(const QString& source) {
    const QFileInfo info(source);
    if (!info.isFile() || !info.isReadable()) {
        return QStringLiteral("The file %1 cannot be read.").arg(quoted(source));
    }
    incoming_.insert(QLatin1String(kListPage), info.absoluteFilePath());
    changed_ = true;
    return {};
}

void TemplateDraft::ResetListPage() {
    incoming_.insert(QLatin1String(kListPage), QString());
    changed_ = true;
}

bool TemplateDraft::StageFiles(const QString& folder, QString* problem) {
    const auto fail = [&](const QString& why) {
        AbandonFiles();
        if (problem) {
            *problem = why;
        }
        return false;
    };
    std::unique_ptr<QTemporaryDir> defaults;
    for (auto it = incoming_.cbegin(); it != incoming_.cend(); ++it) {
        QString source = it.value();
        if (source.isEmpty()) {
            defaults = std::make_unique<QTemporaryDir>();
            QString error;
            if (!defaults->isValid() || !DefaultTemplates::Write(defaults->path(), &error)) {
                return fail(QStringLiteral("The default message list page could not be made."));
            }
            source = defaults->filePath(QLatin1String(kListPage));
        }
        QFile in(source);
        QTemporaryFile out(QDir(folder).filePath(QStringLiteral(".orlix-new-XXXXXX")));
        out.setAutoRemove(false);
        if (!in.open(QIODevice::ReadOnly) || !out.open()) {
            return fail(QStringLiteral("The file %1 could not be copied into the templates "
                                       "folder %2.")
                            .arg(quoted(it.key()), quoted(folder)));
        }
        staged_.insert(it.key(), out.fileName());
        const QByteArray bytes = in.readAll();
        if (in.error() != QFileDevice::NoError || out.write(bytes) != bytes.size() ||
            !out.flush()) {
            return fail(QStringLiteral("The file %1 could not be copied into the templates "
                                       "folder %2.")
                            .arg(quoted(it.key()), quoted(folder)));
        }
        out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                           QFileDevice::ReadGroup | QFileDevice::ReadOther);
    }
    return true;
}

bool TemplateDraft::FinishFiles(const QString& folder, QString* problem) {
    QStringList failed;
    for (auto it = staged_.cbegin(); it != staged_.cend(); ++it) {
        const QString target = QDir(folder).filePath(it.key());
        // rename replaces the old file in one step, so a reader sees the old or the new.
        if (std::rename(QFile::encodeName(it.value()).constData(),
                        QFile::encodeName(target).constData()) != 0) {
            QFile::remove(it.value());
            failed << it.key();
        }
    }
    staged_.clear();
    for (const QString& gone : outgoing_) {
        const QString path = QDir(folder).filePath(gone);
        if (QFileInfo::exists(path) && !QFile::remove(path)) {
            failed << gone;
        }
    }
    outgoing_.clear();
    incoming_.clear();
    if (!failed.isEmpty() && problem) {
        *problem = QStringLiteral("The settings were stored, but these files of the templates "
                                  "folder could not be changed: %1.")
                       .arg(failed.join(QStringLiteral(", ")));
    }
    return failed.isEmpty();
}

void TemplateDraft::AbandonFiles() {
    for (const QString& temp : std::as_const(staged_)) {
        QFile::remove(temp);
    }
    staged_.clear();
}
