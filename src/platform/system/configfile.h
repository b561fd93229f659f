#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

// One configuration store file: keys with backslash paths holding named values of two types,
// text and number. Key and value names compare without regard to case and keep the case they
// were first written with. Every write re-reads the file under a lock shared with other
// processes and replaces it atomically, so two programs writing at once lose nothing.
class ConfigFile {
public:
    explicit ConfigFile(QString path);

    const QString& path() const { return path_; }

    // A missing value, or a value of another type, gives std::nullopt.
    std::optional<QString> readString(const QString& key, const QString& name) const;
    std::optional<qint64> readNumber(const QString& key, const QString& name) const;

    // False when the file could not be written; the store then keeps its old content.
    bool writeString(const QString& key, const QString& name, const QString& value);
    bool writeNumber(const QString& key, const QString& name, qint64 value);
    bool deleteValue(const QString& key, const QString& name);
    // Removes the key with every key below it.
    bool deleteKey(const QString& key);

    // Names of the keys directly below key, in the case first written, sorted.
    QStringList subKeyNames(const QString& key) const;
    QStringList valueNames(const QString& key) const;
    bool keyExists(const QString& key) const;

    static QString normaliseKey(const QString& key);

private:
    struct Value {
        QString name;
        QVariant data; // QString or qint64
    };
    struct Key {
        QString path;
        QHash<QString, Value> values; // by lower-case name
    };
    using Tree = QHash<QString, Key>; // by lower-case path

    struct Snapshot {
        Tree tree;
        bool corrupt = false;
    };

    Snapshot load() const;
    static std::optional<Tree> parse(const QByteArray& bytes);
    static QByteArray serialise(const Tree& tree);
    const Value* find(const QString& key, const QString& name) const;

    template <typename Change> bool modify(Change change);

    QString path_;
    // The last file read, reused while the file on disk is unchanged.
    mutable Tree cache_;
    mutable QByteArray cacheStamp_;
};
