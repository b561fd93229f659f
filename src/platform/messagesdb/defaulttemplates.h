#pragma once

#include <QString>
#include <QVector>

// The templates and graphics a new database starts with; a station edits them afterwards.
namespace DefaultTemplates {
struct Entry {
    QString Category; // "" for the list page and the graphics, which are not listed
    QString Name;
    QString FileName;
};
QVector<Entry> Entries();
// Writes every file that is not in the folder yet (a station's own files are kept).
bool Write(const QString& folder, QString* error);
} // namespace DefaultTemplates
