#pragma once

#include <QString>
#include <QThreadPool>
#include <QVariantList>

#include <functional>
#include <memory>
#include <vector>

class SqliteStatement;

// Read-only connections of their own to the directory file, and the threads that read
// through them: a search of a large directory reads its parts at once, where one connection
// would read them one after another.
//
// Every part must see the file as the caller's connection sees it. With a rollback journal
// no one can commit while any connection holds its shared lock, so the caller takes its lock
// first and keeps it until every part is read: a reader that then takes its own sees the same
// file. A reader that cannot take it (another computer is already waiting to write) reads
// nothing, and its part is read by the others.
class DirectoryReaders {
public:
    static constexpr int kReaders = 3;
    using Read = std::function<void(int part, const SqliteStatement& row)>;
    using ReadHere = std::function<bool(int part)>;

    // device and inode name the file the caller's connection has open; a reader opens
    // filePath only while it is still that file.
    DirectoryReaders(QString filePath, quint64 device, quint64 inode);
    ~DirectoryReaders();
    DirectoryReaders(const DirectoryReaders&) = delete;
    DirectoryReaders& operator=(const DirectoryReaders&) = delete;

    // Reads every part, sql with the part's values bound: each thread, the caller's through
    // here and the readers' handing each row to read on their own, takes the next part no one
    // has taken, so a thread slowed by other work reads fewer. Returns when every part is
    // read, or false when one failed (why receives a reader's reason; here logs its own).
    bool ReadParts(const QString& sql, const std::vector<QVariantList>& parts, const Read& read,
                   const ReadHere& here, QString* why);

private:
    class Reader;
    class Parts;

    QString filePath_;
    quint64 device_;
    quint64 inode_;
    std::vector<std::unique_ptr<Reader>> readers_;
    QThreadPool threads_;
};
