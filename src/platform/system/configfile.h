#pragma once

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <variant>

// One configuration store file: keys with backslash paths holding named values of two types,
// text and number. Key and value names compare without regard to case and keep the case they
// were first written with. Every write re-reads the file under a lock shared with other
// processes and replaces it atomically, so two programs writing at once lose nothing.
//
// The file may come from a newer version of the program. Values of a type this version does
// not know are read as missing and kept as they are when the file is written, numbers that
// are not whole 64-bit numbers in their exact text; a file of a newer format is read as far as
// this version understands it and never written.
class ConfigFile {
public:
    using Value = std::variant<QString, qint64>;
    struct Write {
        QString key;
        QString name;
        Value value;
    };

    // How the file on disk stands, as the last read found it.
    enum class State {
        Usable,     // ours (or missing, which reads as empty)
        Newer,      // a newer format: read, never written
        Damaged,    // not a configuration file: read as empty, set aside by the next write
        Unreadable, // there but not readable: read as empty, never written over
    };

    explicit ConfigFile(QString path);

    const QString& path() const { return path_; }

    // A missing value, or a value of another type, gives std::nullopt.
    std::optional<QString> readString(const QString& key, const QString& name) const;
    std::optional<qint64> readNumber(const QString& key, const QString& name) const;

    // Writes every value in one replacement of the file under one lock: all of them or none.
    // False when the file could not be written; the store then keeps its old content.
    bool write(const QList<Write>& writes);
    bool deleteValue(const QString& key, const QString& name);
    // Removes the key with every key below it.
    bool deleteKey(const QString& key);

    // Names of the keys directly below key, in the case first written, sorted.
    QStringList subKeyNames(const QString& key) const;
    // Names of the values of key that read as text or number, sorted.
    QStringList valueNames(const QString& key) const;
    bool keyExists(const QString& key) const;

    State state() const;

    // Called once, the first time this object finds its file written by a newer format.
    void setNewerFormatHandler(std::function<void(const QString& path)> handler);
    // Called once for each of Damaged and Unreadable, the first time this object finds its
    // file so; reason says why an unreadable file could not be read ("" for a damaged one).
    using ProblemHandler =
        std::function<void(const QString& path, State state, const QString& reason)>;
    void setProblemHandler(ProblemHandler handler);

    // Splits at backslashes only and trims each part.
    static QString normaliseKey(const QString& key);

    // Tests stop a writer here: the new content is complete beside the file, not yet in its
    // place.
    static void SetBeforeReplaceHook(std::function<void()> hook);

private:
    // The keys of the file by lower-case path: the path as first written and the members of
    // "keys" that spell it (a hand edit may have spelt one key twice; the first one read
    // stands for each value).
    struct KeyEntry {
        QString path;
        QStringList members;
    };

    // The file as read, kept whole as JSON so that a write changes only what it writes:
    // what a newer program added (members, keys, values of other types) goes back as it was.
    struct Snapshot {
        QJsonObject root; // every member but "keys"
        QJsonObject keys;
        QHash<QString, KeyEntry> index;
        QByteArray bytes; // as read from disk, or as last written
        State state = State::Usable;
        QString unreadableReason; // the system's words, when state is Unreadable
        // Numbers that are not whole 64-bit numbers stand in root and keys as texts starting
        // with numberMark, made for each reading; numbers holds their exact text, in order.
        QString numberMark;
        QList<QByteArray> numbers;
    };
    // Where a value is: the member of "keys" holding it and the spelling of its name.
    struct Place {
        QString member;
        QString name;
    };

    const Snapshot& load() const;
    Snapshot readFile(const QByteArray& stamp) const;
    static Snapshot parse(const QByteArray& bytes);
    static QByteArray serialise(const Snapshot& snap);
    static std::optional<Place> place(const Snapshot& snap, const QString& lpath,
                                      const QString& name);
    static void setValue(Snapshot& snap, const Write& write);
    static bool known(const Snapshot& snap, const QJsonValue& v);
    std::optional<QJsonValue> find(const QString& key, const QString& name) const;
    bool setAside() const;
    bool replaceFile(const QByteArray& bytes) const;

    // Applies change to the content on disk under the lock and writes the result when change
    // answers true.
    bool modify(const std::function<bool(Snapshot&)>& change);

    QString path_;
    // The last file read, reused while the file on disk is unchanged.
    mutable Snapshot cache_;
    mutable QByteArray cacheStamp_;
    mutable bool newerReported_ = false;
    mutable bool damagedReported_ = false;
    mutable bool unreadableReported_ = false;
    std::function<void(const QString&)> onNewer_;
    ProblemHandler onProblem_;
};
