#include "platform/system/configfile.h"

#include "platform/system/platformlog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kFormat = 1;
constexpr qint64 kMaxFileBytes = 64LL * 1024 * 1024;
constexpr int kLockWaitMs = 5000;

QString lower(const QString& s) {
    return s.toLower();
}

// Identifies one version of the file on disk: an atomic replace changes the inode.
QByteArray stampOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        return QByteArrayLiteral("missing");
    }
    return QByteArray::number(static_cast<qulonglong>(st.st_ino)) + ':' +
           QByteArray::number(static_cast<qlonglong>(st.st_size)) + ':' +
           QByteArray::number(static_cast<qlonglong>(st.st_mtim.tv_sec)) + ':' +
           QByteArray::number(static_cast<qlonglong>(st.st_mtim.tv_nsec));
}
} // namespace

ConfigFile::ConfigFile(QString path) : path_(std::move(path)) {}

QString ConfigFile::normaliseKey(const QString& key) {
    QString k = key;
    k.replace(QLatin1Char('/'), QLatin1Char('\\'));
    QStringList parts = k.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (QString& p : parts) {
        p = p.trimmed();
    }
    parts.removeAll(QString());
    return parts.join(QLatin1Char('\\'));
}

std::optional<ConfigFile::Tree> ConfigFile::parse(const QByteArray& bytes) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        return std::nullopt;
    }
    const QJsonObject root = doc.object();
    if (root.value(QStringLiteral("format")).toInt(-1) != kFormat ||
        !root.value(QStringLiteral("keys")).isObject()) {
        return std::nullopt;
    }
    Tree tree;
    const QJsonObject keys = root.value(QStringLiteral("keys")).toObject();
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        const QString path = normaliseKey(it.key());
        if (!it.value().isObject()) {
            return std::nullopt;
        }
        Key& key = tree[lower(path)];
        if (key.path.isEmpty()) {
            key.path = path;
        }
        const QJsonObject values = it.value().toObject();
        for (auto v = values.begin(); v != values.end(); ++v) {
            const QString lname = lower(v.key());
            if (key.values.contains(lname)) {
                continue; // a hand-edited duplicate: the first one stands
            }
            if (v.value().isString()) {
                key.values.insert(lname, Value{v.key(), v.value().toString()});
            } else if (v.value().isDouble()) {
                const double d = v.value().toDouble();
                if (!std::isfinite(d) || d != std::trunc(d) || std::fabs(d) > 9.0e15) {
                    return std::nullopt;
                }
                key.values.insert(
                    lname, Value{v.key(), QVariant::fromValue<qint64>(static_cast<qint64>(d))});
            } else {
                return std::nullopt;
            }
        }
    }
    return tree;
}

QByteArray ConfigFile::serialise(const Tree& tree) {
    QJsonObject keys;
    QList<const Key*> ordered;
    for (const Key& k : tree) {
        ordered.append(&k);
    }
    std::sort(ordered.begin(), ordered.end(),
              [](const Key* a, const Key* b) { return lower(a->path) < lower(b->path); });
    for (const Key* k : ordered) {
        QJsonObject values;
        for (const Value& v : k->values) {
            if (v.data.typeId() == QMetaType::QString) {
                values.insert(v.name, v.data.toString());
            } else {
                values.insert(v.name, static_cast<double>(v.data.toLongLong()));
            }
        }
        keys.insert(k->path, values);
    }
    QJsonObject root;
    root.insert(QStringLiteral("format"), kFormat);
    root.insert(QStringLiteral("keys"), keys);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

ConfigFile::Snapshot ConfigFile::load() const {
    const QByteArray stamp = stampOf(path_);
    if (stamp == cacheStamp_) {
        return Snapshot{cache_, false};
    }
    Snapshot snap;
    QFile file(path_);
    if (!file.exists()) {
        cache_.clear();
        cacheStamp_ = stamp;
        return snap;
    }
    if (file.size() > kMaxFileBytes || !file.open(QIODevice::ReadOnly)) {
        PlatformLog(QStringLiteral("The configuration file '%1' could not be read; it is used as "
                                   "empty.")
                        .arg(path_));
        snap.corrupt = true;
        return snap;
    }
    const QByteArray bytes = file.readAll();
    std::optional<Tree> tree = parse(bytes);
    if (!tree) {
        PlatformLog(QStringLiteral("The configuration file '%1' is damaged; it is used as empty.")
                        .arg(path_));
        snap.corrupt = true;
        cache_.clear();
        cacheStamp_ = stamp;
        return snap;
    }
    cache_ = *tree;
    cacheStamp_ = stamp;
    snap.tree = std::move(*tree);
    return snap;
}

const ConfigFile::Value* ConfigFile::find(const QString& key, const QString& name) const {
    load();
    auto k = cache_.constFind(lower(normaliseKey(key)));
    if (k == cache_.constEnd()) {
        return nullptr;
    }
    auto v = k->values.constFind(lower(name));
    return v == k->values.constEnd() ? nullptr : &*v;
}

std::optional<QString> ConfigFile::readString(const QString& key, const QString& name) const {
    const Value* v = find(key, name);
    if (v == nullptr || v->data.typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    return v->data.toString();
}

std::optional<qint64> ConfigFile::readNumber(const QString& key, const QString& name) const {
    const Value* v = find(key, name);
    if (v == nullptr || v->data.typeId() != QMetaType::LongLong) {
        return std::nullopt;
    }
    return v->data.toLongLong();
}

template <typename Change> bool ConfigFile::modify(Change change) {
    const QFileInfo info(path_);
    if (!QDir().mkpath(info.absolutePath())) {
        PlatformLog(QStringLiteral("The folder of '%1' could not be made.").arg(path_));
        return false;
    }
    QLockFile lock(path_ + QStringLiteral(".lock"));
    lock.setStaleLockTime(10000);
    if (!lock.tryLock(kLockWaitMs)) {
        PlatformLog(QStringLiteral("The configuration file '%1' is locked by another program; "
                                   "nothing was written.")
                        .arg(path_));
        return false;
    }
    cacheStamp_.clear(); // always start from what is on disk now
    Snapshot snap = load();
    if (snap.corrupt && QFile::exists(path_)) {
        // Keep the damaged file for whoever looks into it; a new one replaces it.
        const QString keep =
            path_ + QStringLiteral(".damaged-") +
            QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddhhmmss"));
        QFile::rename(path_, keep);
        PlatformLog(QStringLiteral("The damaged configuration file was kept as '%1'.").arg(keep));
    }
    if (!change(snap.tree)) {
        return true; // nothing to do
    }
    QSaveFile out(path_);
    if (!out.open(QIODevice::WriteOnly)) {
        PlatformLog(QStringLiteral("The configuration file '%1' could not be written.").arg(path_));
        return false;
    }
    const QByteArray bytes = serialise(snap.tree);
    if (out.write(bytes) != bytes.size() || !out.commit()) {
        PlatformLog(QStringLiteral("The configuration file '%1' could not be written.").arg(path_));
        return false;
    }
    cache_ = std::move(snap.tree);
    cacheStamp_ = stampOf(path_);
    return true;
}

namespace {
template <typename Tree, typename Key> Key& keyFor(Tree& tree, const QString& key) {
    const QString path = ConfigFile::normaliseKey(key);
    Key& k = tree[path.toLower()];
    if (k.path.isEmpty()) {
        k.path = path;
    }
    return k;
}
} // namespace

bool ConfigFile::writeString(const QString& key, const QString& name, const QString& value) {
    if (name.isEmpty() && normaliseKey(key).isEmpty()) {
        return false;
    }
    return modify([&](Tree& tree) {
        Key& k = keyFor<Tree, Key>(tree, key);
        Value& v = k.values[lower(name)];
        if (v.name.isEmpty()) {
            v.name = name;
        }
        v.data = value;
        return true;
    });
}

bool ConfigFile::writeNumber(const QString& key, const QString& name, qint64 value) {
    if (name.isEmpty() && normaliseKey(key).isEmpty()) {
        return false;
    }
    return modify([&](Tree& tree) {
        Key& k = keyFor<Tree, Key>(tree, key);
        Value& v = k.values[lower(name)];
        if (v.name.isEmpty()) {
            v.name = name;
        }
        v.data = QVariant::fromValue<qint64>(value);
        return true;
    });
}

bool ConfigFile::deleteValue(const QString& key, const QString& name) {
    return modify([&](Tree& tree) {
        auto k = tree.find(lower(normaliseKey(key)));
        return k != tree.end() && k->values.remove(lower(name)) > 0;
    });
}

bool ConfigFile::deleteKey(const QString& key) {
    const QString lkey = lower(normaliseKey(key));
    if (lkey.isEmpty()) {
        return false;
    }
    return modify([&](Tree& tree) {
        bool removed = false;
        for (auto it = tree.begin(); it != tree.end();) {
            if (it.key() == lkey || it.key().startsWith(lkey + QLatin1Char('\\'))) {
                it = tree.erase(it);
                removed = true;
            } else {
                ++it;
            }
        }
        return removed;
    });
}

QStringList ConfigFile::subKeyNames(const QString& key) const {
    load();
    const QString lkey = lower(normaliseKey(key));
    const QString prefix = lkey.isEmpty() ? QString() : lkey + QLatin1Char('\\');
    QHash<QString, QString> names; // lower → first-written case
    for (const Key& k : cache_) {
        const QString lpath = lower(k.path);
        if (!lpath.startsWith(prefix) || lpath == lkey) {
            continue;
        }
        const qsizetype start = prefix.size();
        qsizetype end = lpath.indexOf(QLatin1Char('\\'), start);
        if (end < 0) {
            end = lpath.size();
        }
        const QString display = k.path.mid(start, end - start);
        const QString l = lower(display);
        if (!names.contains(l) || end == lpath.size()) {
            names.insert(l, display);
        }
    }
    QStringList out = names.values();
    std::sort(out.begin(), out.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return out;
}

QStringList ConfigFile::valueNames(const QString& key) const {
    load();
    auto k = cache_.constFind(lower(normaliseKey(key)));
    QStringList out;
    if (k != cache_.constEnd()) {
        for (const Value& v : k->values) {
            out.append(v.name);
        }
    }
    std::sort(out.begin(), out.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return out;
}

bool ConfigFile::keyExists(const QString& key) const {
    load();
    const QString lkey = lower(normaliseKey(key));
    for (auto it = cache_.constBegin(); it != cache_.constEnd(); ++it) {
        if (it.key() == lkey || it.key().startsWith(lkey + QLatin1Char('\\'))) {
            return true;
        }
    }
    return false;
}
