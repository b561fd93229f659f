#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// The print templates, the message-list page and the graphics beside them as the database
// settings dialog edits them: every change waits here until OK. Then the new files are first
// copied into the templates folder under hidden temporary names, the template rows stored
// with the rest of the settings, and only after that commit are the files renamed into place
// and the removed ones deleted; a failed store leaves the folder as it was.
//
// File names never leave the templates folder: a name with a separator, "..", a control
// character or a leading "." is refused.
class TemplateDraft {
public:
    struct Template {
        QString Category;
        QString Name;
        QString FileName;
    };

    static constexpr const char* kListPage = "Messages-List.htm";
    // The categories the program prints with, in the order they are shown.
    static QStringList Categories();
    // Why the name cannot be a file of the templates folder ("" when it can).
    static QString FileNameProblem(const QString& fileName);
    static bool IsGraphic(const QString& fileName);

    // The stored templates of the categories and the files the folder holds now.
    TemplateDraft(QVector<Template> stored, QStringList folderFiles);

    const QVector<Template>& Templates() const { return templates_; }
    QStringList Names(const QString& category) const;
    QString FileOf(const QString& category, const QString& name) const;
    // The graphics of the folder as it will be, sorted.
    QStringList Graphics() const;
    // Whether anything changed that OK has to store or write.
    bool Changed() const { return changed_; }

    // Each gives "" when done, else why not, for the user; a refused change changes nothing.
    // A new file keeps the name it has where it is chosen from.
    QString AddTemplate(const QString& category, const QString& name, const QString& source);
    QString RenameTemplate(const QString& category, const QString& name, const QString& newName);
    QString RemoveTemplate(const QString& category, const QString& name);
    QString AddGraphic(const QString& source);
    QString RemoveGraphic(const QString& fileName);
    QString ReplaceListPage(const QString& source);
    void ResetListPage();

    // Copies the new files into the folder under temporary names.
    bool StageFiles(const QString& folder, QString* problem);
    // After the store: the staged files renamed into place, the removed ones deleted.
    bool FinishFiles(const QString& folder, QString* problem);
    // After a failed store: the staged files deleted.
    void AbandonFiles();

private:
    QString addFile(const QString& source, QString* fileName);
    bool fileInUse(const QString& fileName) const;

    QVector<Template> templates_;
    QStringList files_;
    // File name -> where its new content comes from ("" for the default list page).
    QHash<QString, QString> incoming_;
    QStringList outgoing_;
    // File name -> its temporary copy in the folder.
    QHash<QString, QString> staged_;
    bool changed_ = false;
};
