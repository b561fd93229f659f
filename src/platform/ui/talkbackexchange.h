#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

// One line of the studio conversation.
struct TalkbackLine {
    qint64 TimeMs = 0; // UTC, milliseconds since the epoch
    QString Writer;    // made at each start of a client
    qint64 Sequence = 0;
    QString Name;
    QString Login;
    QString Text;

    // Merge order: time, then writer, then sequence.
    bool operator<(const TalkbackLine& other) const;
};

// The talkback folder's exchange: each computer appends its lines to a file of its own in the
// folder, and reads everybody's (the format is in talkbackformat.md beside this file). It
// reads only whole lines, and only the part of each file it has not read yet.
class TalkbackExchange {
public:
    static constexpr int kMaxText = 500;
    static constexpr qint64 kStartRead = 64 * 1024;
    static constexpr qint64 kMaxRead = 256 * 1024;
    static constexpr qint64 kRewriteAbove = 256 * 1024;
    static constexpr qint64 kRewriteKeep = 128 * 1024;
    static constexpr int kStartDays = 7;
    static constexpr int kMaxLineBytes = 16 * 1024;

    enum class State { Running, FolderMissing, ReadOnly };

    // The ways to the files, replaceable by tests: whether the folder takes new files (root
    // writes past permissions), and the append of one line under the writer's lock.
    struct FileLayer {
        std::function<bool(const QString& folder)> folderWritable;
        std::function<bool(const QString& file, const QByteArray& line, QString* why)> append;
    };
    static FileLayer RealFiles();

    // computer and user name this computer's file.
    TalkbackExchange(const QString& folder, const QString& computer, const QString& user);

    void SetFileLayer(FileLayer layer) { files_ = std::move(layer); }

    // The file name of a computer and user: only letters, digits, "-", "_" and "." kept, at
    // most 64 characters, then ".talkback".
    static QString FileNameFor(const QString& computer, const QString& user);
    QString OwnFile() const;
    QString Folder() const { return folder_; }
    QString WriterId() const { return writer_; }

    // One JSON object a line, and back; a line that is not one gives nothing. Texts are
    // bounded to kMaxText characters.
    static QByteArray Encode(const TalkbackLine& line);
    static std::optional<TalkbackLine> Decode(const QByteArray& bytes);

    // Forgets what was read and reads the end of each file changed in the last days.
    QList<TalkbackLine> Start();
    // The lines added since the last look; the state says whether the folder is there and
    // writable.
    QList<TalkbackLine> Look();
    State LastState() const { return state_; }

    // Appends a line as this computer's; false with why when it could not be written.
    bool Post(const QString& name, const QString& login, const QString& text, QString* why);

private:
    struct FileMark {
        qint64 offset = 0;
    };
    QList<TalkbackLine> readFile(const QString& path, qint64 from, qint64 size);
    QList<TalkbackLine> lookAt(bool starting);
    void rewriteIfLarge(const QString& path);

    QString folder_;
    QString computer_;
    QString user_;
    QString writer_;
    qint64 sequence_ = 0;
    FileLayer files_;
    QHash<QString, FileMark> marks_;
    QSet<QString> seen_; // writer + sequence of every line read
    State state_ = State::FolderMissing;
};
