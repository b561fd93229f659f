#include "platform/system/configfile.h"

#include "platform/system/configfilelock.h"
#include "platform/system/platformlog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSet>
#include <QUuid>
#include <QVariant>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {
constexpr qint64 kFormat = 1;
constexpr qint64 kMaxFileBytes = 64LL * 1024 * 1024;
// Long enough for several programs saving at once to each have their turn; a holder that
// ends, also by a crash, frees the lock at once, so only a live program can make us wait.
constexpr std::chrono::milliseconds kLockWait(20000);

const QString kFormatMember = QStringLiteral("format");
const QString kKeysMember = QStringLiteral("keys");
const QByteArray kMissing = QByteArrayLiteral("missing");

QString lower(const QString& s) {
    return s.toLower();
}

// Identifies one version of the file on disk: an atomic replace changes the inode, and a
// change of its mode (or owner) changes its status time.
QByteArray stampOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return kMissing;
        }
        return QByteArrayLiteral("error:") + QByteArray::number(errno);
    }
    const auto n = [](auto v) { return QByteArray::number(static_cast<qlonglong>(v)); };
    return n(st.st_dev) + ':' + n(st.st_ino) + ':' + n(st.st_size) + ':' + n(st.st_mtim.tv_sec) +
           ':' + n(st.st_mtim.tv_nsec) + ':' + n(st.st_ctim.tv_sec) + ':' + n(st.st_ctim.tv_nsec);
}

// A JSON number with no fraction that fits 64 bits is read as an integer; any other number
// is a type of its own to this version.
std::optional<qint64> wholeNumber(const QJsonValue& v) {
    if (!v.isDouble()) {
        return std::nullopt;
    }
    const QVariant n = v.toVariant();
    if (n.typeId() != QMetaType::LongLong) {
        return std::nullopt;
    }
    return n.toLongLong();
}

// The JSON grammar of a number: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
bool isJsonNumber(QByteArrayView t) {
    qsizetype i = 0;
    const auto digits = [&] {
        const qsizetype from = i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            ++i;
        }
        return i > from;
    };
    if (i < t.size() && t[i] == '-') {
        ++i;
    }
    if (i < t.size() && t[i] == '0') {
        ++i;
    } else if (!digits()) {
        return false;
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        if (!digits()) {
            return false;
        }
    }
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
            ++i;
        }
        if (!digits()) {
            return false;
        }
    }
    return i == t.size();
}

bool isWholeNumber(QByteArrayView t) {
    for (qsizetype i = t.startsWith('-') ? 1 : 0; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') {
            return false;
        }
    }
    bool fits = false;
    static_cast<void>(t.toLongLong(&fits));
    return fits;
}

// The JSON reader turns every number into a 64-bit integer or a double: a number that is
// neither (more digits, a fraction, beyond a double's range) would come back changed, or
// make the whole file unreadable. Each such number is replaced, before the reader sees it,
// by a text of mark and its place in numbers.
QByteArray markNumbers(const QByteArray& bytes, const QString& mark, QList<QByteArray>& numbers) {
    QByteArray out;
    out.reserve(bytes.size());
    const QByteArray markBytes = mark.toLatin1();
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const char c = bytes[i];
        if (c == '"') {
            qsizetype j = i + 1;
            while (j < n && bytes[j] != '"') {
                j += bytes[j] == '\\' ? 2 : 1;
            }
            j = std::min(j + 1, n);
            out.append(bytes.constData() + i, j - i);
            i = j;
            continue;
        }
        if (c == '-' || (c >= '0' && c <= '9')) {
            qsizetype j = i;
            while (j < n && (std::strchr("+-.0123456789eE", bytes[j]) != nullptr) &&
                   bytes[j] != '\0') {
                ++j;
            }
            const QByteArrayView token(bytes.constData() + i, j - i);
            if (isJsonNumber(token) && !isWholeNumber(token)) {
                out.append('"').append(markBytes).append(QByteArray::number(numbers.size()));
                out.append('"');
                numbers.append(token.toByteArray());
            } else {
                out.append(token);
            }
            i = j;
            continue;
        }
        out.append(c);
        ++i;
    }
    return out;
}

// Puts the numbers kept by markNumbers back in their exact text.
QByteArray restoreNumbers(const QByteArray& json, const QString& mark,
                          const QList<QByteArray>& numbers) {
    if (numbers.isEmpty()) {
        return json;
    }
    const QByteArray quotedMark = '"' + mark.toLatin1();
    QByteArray out;
    out.reserve(json.size());
    qsizetype from = 0;
    for (qsizetype at = json.indexOf(quotedMark); at >= 0; at = json.indexOf(quotedMark, from)) {
        out.append(json.constData() + from, at - from);
        const qsizetype digits = at + quotedMark.size();
        const qsizetype end = json.indexOf('"', digits);
        bool ok = false;
        const qsizetype index = end < 0 ? -1 : json.mid(digits, end - digits).toLongLong(&ok);
        if (!ok || index < 0 || index >= numbers.size()) {
            out.append(quotedMark);
            from = digits;
            continue;
        }
        out.append(numbers.at(index));
        from = end + 1;
    }
    out.append(json.constData() + from, json.size() - from);
    return out;
}

QString freshMark(const QByteArray& bytes) {
    QString mark;
    do {
        mark = QStringLiteral("~number~%1~")
                   .arg(QString::fromLatin1(QUuid::createUuid().toRfc4122().toHex()));
    } while (bytes.contains(mark.toLatin1()));
    return mark;
}

std::function<void()>& beforeReplaceHook() {
    static std::function<void()> hook;
    return hook;
}
} // namespace

ConfigFile::ConfigFile(QString path) : path_(std::move(path)) {}

void ConfigFile::SetBeforeReplaceHook(std::function<void()> hook) {
    beforeReplaceHook() = std::move(hook);
}

void ConfigFile::setNewerFormatHandler(std::function<void(const QString&)> handler) {
    onNewer_ = std::move(handler);
}

void ConfigFile::setProblemHandler(ProblemHandler handler) {
    onProblem_ = std::move(handler);
}

namespace {
// Most keys are already in the form a write leaves them: no empty parts, no blanks at a
// part's ends.
bool isNormal(const QString& key) {
    const auto blankOrSeparator = [](QChar c) { return c.isSpace() || c == QLatin1Char('\\'); };
    if (key.isEmpty() || blankOrSeparator(key.front()) || blankOrSeparator(key.back())) {
        return key.isEmpty();
    }
    for (qsizetype i = 1; i < key.size(); ++i) {
        const QChar a = key.at(i - 1);
        const QChar b = key.at(i);
        if ((a == QLatin1Char('\\') && blankOrSeparator(b)) ||
            (b == QLatin1Char('\\') && a.isSpace())) {
            return false;
        }
    }
    return true;
}
} // namespace

QString ConfigFile::normaliseKey(const QString& key) {
    if (isNormal(key)) {
        return key;
    }
    QStringList parts = key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (QString& p : parts) {
        p = p.trimmed();
    }
    parts.removeAll(QString());
    return parts.join(QLatin1Char('\\'));
}

ConfigFile::Snapshot ConfigFile::parse(const QByteArray& bytes) {
    Snapshot snap;
    snap.bytes = bytes;
    if (bytes.trimmed().isEmpty()) {
        return snap; // as the lock leaves a file it made
    }
    snap.numberMark = freshMark(bytes);
    QJsonParseError error{};
    const QJsonDocument doc =
        QJsonDocument::fromJson(markNumbers(bytes, snap.numberMark, snap.numbers), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        snap.state = State::Damaged;
        return snap;
    }
    snap.root = doc.object();
    // Every version writes an object with its format number; a newer one may hold more.
    const qint64 format = wholeNumber(snap.root.value(kFormatMember)).value_or(0);
    const QJsonValue keys = snap.root.take(kKeysMember);
    if (format < 1 || (format == kFormat && !keys.isObject() && !keys.isUndefined())) {
        snap.state = State::Damaged;
        return snap;
    }
    snap.state = format > kFormat ? State::Newer : State::Usable;
    snap.keys = keys.toObject();
    for (auto it = snap.keys.constBegin(); it != snap.keys.constEnd(); ++it) {
        if (it.value().isObject()) {
            const QString path = normaliseKey(it.key());
            KeyEntry& entry = snap.index[lower(path)];
            if (entry.members.isEmpty()) {
                entry.path = path;
            }
            entry.members.append(it.key());
        }
    }
    return snap;
}

QByteArray ConfigFile::serialise(const Snapshot& snap) {
    QJsonObject root = snap.root;
    root.insert(kFormatMember, kFormat);
    root.insert(kKeysMember, snap.keys);
    return restoreNumbers(QJsonDocument(root).toJson(QJsonDocument::Indented), snap.numberMark,
                          snap.numbers);
}

bool ConfigFile::known(const Snapshot& snap, const QJsonValue& v) {
    if (v.isString()) {
        return snap.numberMark.isEmpty() || !v.toString().startsWith(snap.numberMark);
    }
    return wholeNumber(v).has_value();
}

std::optional<ConfigFile::Place> ConfigFile::place(const Snapshot& snap, const QString& lpath,
                                                   const QString& name) {
    const auto entry = snap.index.constFind(lpath);
    if (entry == snap.index.constEnd()) {
        return std::nullopt;
    }
    const QString lname = lower(name);
    for (const QString& member : entry->members) {
        const QJsonObject values = snap.keys.value(member).toObject();
        for (auto v = values.constBegin(); v != values.constEnd(); ++v) {
            if (lower(v.key()) == lname) {
                return Place{member, v.key()};
            }
        }
    }
    return std::nullopt;
}

void ConfigFile::setValue(Snapshot& snap, const Write& write) {
    const QString path = normaliseKey(write.key);
    const QString lpath = lower(path);
    Place at{path, write.name};
    if (const std::optional<Place> found = place(snap, lpath, write.name)) {
        at = *found;
    } else if (const auto entry = snap.index.constFind(lpath); entry != snap.index.constEnd()) {
        at.member = entry->members.first();
    } else {
        snap.index.insert(lpath, KeyEntry{path, {path}});
    }
    QJsonObject values = snap.keys.value(at.member).toObject();
    values.insert(at.name, std::visit([](const auto& v) { return QJsonValue(v); }, write.value));
    snap.keys.insert(at.member, values);
}

ConfigFile::Snapshot ConfigFile::readFile(const QByteArray& stamp) const {
    Snapshot snap;
    if (stamp == kMissing) {
        return snap;
    }
    QFile file(path_);
    QByteArray bytes;
    QString why;
    bool read = false;
    if (stamp.startsWith("error:")) {
        why = QString::fromLocal8Bit(std::strerror(stamp.mid(6).toInt()));
    } else if (QFileInfo(path_).isDir()) {
        why = QStringLiteral("it is a folder");
    } else if (!file.open(QIODevice::ReadOnly)) {
        why = file.errorString();
    } else if (file.size() > kMaxFileBytes) {
        read = true;
        snap.state = State::Damaged;
    } else {
        bytes = file.readAll();
        read = file.error() == QFileDevice::NoError;
        why = file.errorString();
    }
    if (!read) {
        snap.unreadableReason = why;
        PlatformLog(QStringLiteral("The configuration file '%1' could not be read; it is used as "
                                   "empty and nothing is written to it.")
                        .arg(path_));
        snap.state = State::Unreadable;
        return snap;
    }
    if (snap.state == State::Usable) {
        // Unchanged since it was last read or written here: nothing to parse again.
        snap = !bytes.isEmpty() && bytes == cache_.bytes ? cache_ : parse(bytes);
    }
    if (snap.state == State::Damaged) {
        PlatformLog(QStringLiteral("The configuration file '%1' is damaged; it is used as empty.")
                        .arg(path_));
        snap = Snapshot{};
        snap.state = State::Damaged;
    }
    if (snap.state == State::Newer && !newerReported_) {
        PlatformLog(QStringLiteral("The configuration file '%1' belongs to a newer version of the "
                                   "program; it is read as far as this version understands it "
                                   "and nothing is written to it.")
                        .arg(path_));
    }
    return snap;
}

const ConfigFile::Snapshot& ConfigFile::load() const {
    const QByteArray stamp = stampOf(path_);
    if (stamp != cacheStamp_) {
        cache_ = readFile(stamp);
        cacheStamp_ = stamp;
        if (cache_.state == State::Newer && !newerReported_) {
            newerReported_ = true;
            if (onNewer_) {
                onNewer_(path_);
            }
        }
        bool* reported = cache_.state == State::Damaged      ? &damagedReported_
                         : cache_.state == State::Unreadable ? &unreadableReported_
                                                             : nullptr;
        if (reported != nullptr && !*reported) {
            *reported = true;
            if (onProblem_) {
                onProblem_(path_, cache_.state, cache_.unreadableReason);
            }
        }
    }
    return cache_;
}

ConfigFile::State ConfigFile::state() const {
    return load().state;
}

std::optional<QJsonValue> ConfigFile::find(const QString& key, const QString& name) const {
    const Snapshot& snap = load();
    const std::optional<Place> at = place(snap, lower(normaliseKey(key)), name);
    if (!at) {
        return std::nullopt;
    }
    const QJsonValue v = snap.keys.value(at->member).toObject().value(at->name);
    if (!known(snap, v)) {
        return std::nullopt;
    }
    return v;
}

std::optional<QString> ConfigFile::readString(const QString& key, const QString& name) const {
    const std::optional<QJsonValue> v = find(key, name);
    if (!v || !v->isString()) {
        return std::nullopt;
    }
    return v->toString();
}

std::optional<qint64> ConfigFile::readNumber(const QString& key, const QString& name) const {
    const std::optional<QJsonValue> v = find(key, name);
    return v ? wholeNumber(*v) : std::nullopt;
}

bool ConfigFile::setAside() const {
    // Keep the damaged file for whoever looks into it; a new one replaces it.
    const QString stem = path_ + QStringLiteral(".damaged-") +
                         QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddhhmmss"));
    QString keep = stem;
    for (int n = 2; QFileInfo::exists(keep); ++n) {
        keep = stem + QLatin1Char('-') + QString::number(n);
    }
    // A second name rather than a move: the file stays in its place, locked, until the new
    // one replaces it, so no other writer finds the place empty and makes a file of its own.
    const bool kept =
        ::link(QFile::encodeName(path_).constData(), QFile::encodeName(keep).constData()) == 0 ||
        QFile::copy(path_, keep);
    if (!kept) {
        PlatformLog(QStringLiteral("The damaged configuration file '%1' could not be set aside; "
                                   "nothing was written.")
                        .arg(path_));
        return false;
    }
    PlatformLog(QStringLiteral("The damaged configuration file was kept as '%1'.").arg(keep));
    return true;
}

bool ConfigFile::replaceFile(const QByteArray& bytes) const {
    // Only the lock's holder writes beside the file, so one name does: a writer that died
    // here leaves it for the next one to overwrite.
    const QString scratch = path_ + QStringLiteral(".new");
    QFile out(scratch);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    struct stat old {};
    if (::stat(QFile::encodeName(path_).constData(), &old) == 0) {
        ::fchmod(out.handle(), old.st_mode & 07777);
    }
    if (out.write(bytes) != bytes.size() || !out.flush() || ::fdatasync(out.handle()) != 0) {
        out.close();
        QFile::remove(scratch);
        return false;
    }
    out.close();
    if (beforeReplaceHook()) {
        beforeReplaceHook()();
    }
    if (::rename(QFile::encodeName(scratch).constData(), QFile::encodeName(path_).constData()) !=
        0) {
        QFile::remove(scratch);
        return false;
    }
    return true;
}

bool ConfigFile::modify(const std::function<bool(Snapshot&)>& change) {
    const QFileInfo info(path_);
    if (!QDir().mkpath(info.absolutePath())) {
        PlatformLog(QStringLiteral("The folder of '%1' could not be made.").arg(path_));
        return false;
    }
    const ConfigFileLock lock(path_, kLockWait);
    if (!lock.locked()) {
        PlatformLog(
            lock.timedOut()
                ? QStringLiteral("The configuration file '%1' is locked by another program; "
                                 "nothing was written.")
                      .arg(path_)
                : QStringLiteral("The configuration file '%1' could not be locked (%2); nothing "
                                 "was written.")
                      .arg(path_, lock.error()));
        return false;
    }
    cacheStamp_.clear(); // always start from what is on disk now
    Snapshot snap = load();
    // The damaged file, kept aside, is replaced even when the change finds nothing to do.
    bool replace = false;
    switch (snap.state) {
    case State::Usable:
        break;
    case State::Newer:
    case State::Unreadable:
        PlatformLog(
            QStringLiteral("Nothing was written to the configuration file '%1'.").arg(path_));
        return false;
    case State::Damaged:
        if (!setAside()) {
            return false;
        }
        snap = Snapshot{};
        replace = true;
        break;
    }
    replace = change(snap) || replace;
    if (!replace) {
        if (QFileInfo(path_).size() == 0) {
            QFile::remove(path_); // made by the lock for nothing
        }
        return true;
    }
    snap.bytes = serialise(snap);
    if (!replaceFile(snap.bytes)) {
        PlatformLog(QStringLiteral("The configuration file '%1' could not be written.").arg(path_));
        return false;
    }
    cache_ = std::move(snap);
    cacheStamp_ = stampOf(path_);
    return true;
}

bool ConfigFile::write(const QList<Write>& writes) {
    for (const Write& w : writes) {
        if (w.name.isEmpty() && normaliseKey(w.key).isEmpty()) {
            return false;
        }
    }
    if (writes.isEmpty()) {
        return true;
    }
    return modify([&](Snapshot& snap) {
        for (const Write& w : writes) {
            setValue(snap, w);
        }
        return true;
    });
}

bool ConfigFile::deleteValue(const QString& key, const QString& name) {
    return modify([&](Snapshot& snap) {
        const std::optional<Place> at = place(snap, lower(normaliseKey(key)), name);
        if (!at) {
            return false;
        }
        QJsonObject values = snap.keys.value(at->member).toObject();
        values.remove(at->name);
        snap.keys.insert(at->member, values);
        return true;
    });
}

namespace {
bool atOrBelow(const QString& lpath, const QString& lkey) {
    return lpath == lkey || (lpath.startsWith(lkey) && lpath.size() > lkey.size() &&
                             lpath.at(lkey.size()) == QLatin1Char('\\'));
}
} // namespace

bool ConfigFile::deleteKey(const QString& key) {
    const QString lkey = lower(normaliseKey(key));
    if (lkey.isEmpty()) {
        return false;
    }
    return modify([&](Snapshot& snap) {
        bool removed = false;
        for (auto it = snap.index.begin(); it != snap.index.end();) {
            if (atOrBelow(it.key(), lkey)) {
                for (const QString& member : it->members) {
                    snap.keys.remove(member);
                }
                it = snap.index.erase(it);
                removed = true;
            } else {
                ++it;
            }
        }
        return removed;
    });
}

QStringList ConfigFile::subKeyNames(const QString& key) const {
    const Snapshot& snap = load();
    const QString lkey = lower(normaliseKey(key));
    const QString prefix = lkey.isEmpty() ? QString() : lkey + QLatin1Char('\\');
    // Views into the index, which stays as it is meanwhile: a store of many profiles has
    // thousands of keys to look at.
    QHash<QStringView, QStringView> names; // lower → first-written case
    for (auto it = snap.index.constBegin(); it != snap.index.constEnd(); ++it) {
        const QString& lpath = it.key();
        if (!lpath.startsWith(prefix) || lpath.size() == prefix.size()) {
            continue;
        }
        const qsizetype start = prefix.size();
        qsizetype end = lpath.indexOf(QLatin1Char('\\'), start);
        if (end < 0) {
            end = lpath.size();
        }
        const QStringView l = QStringView(lpath).mid(start, end - start);
        // The key itself, rather than one below it, tells the case the name was written with.
        if (end == lpath.size() || !names.contains(l)) {
            names.insert(l, QStringView(it->path).mid(start, end - start));
        }
    }
    QStringList out;
    out.reserve(names.size());
    for (const QStringView display : std::as_const(names)) {
        out.append(display.toString());
    }
    std::sort(out.begin(), out.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return out;
}

QStringList ConfigFile::valueNames(const QString& key) const {
    const Snapshot& snap = load();
    QStringList out;
    QSet<QString> seen;
    const auto entry = snap.index.constFind(lower(normaliseKey(key)));
    if (entry != snap.index.constEnd()) {
        for (const QString& member : entry->members) {
            const QJsonObject values = snap.keys.value(member).toObject();
            for (auto v = values.constBegin(); v != values.constEnd(); ++v) {
                const QString lname = lower(v.key());
                if (!seen.contains(lname)) {
                    seen.insert(lname);
                    if (known(snap, v.value())) {
                        out.append(v.key());
                    }
                }
            }
        }
    }
    std::sort(out.begin(), out.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return out;
}

bool ConfigFile::keyExists(const QString& key) const {
    const QString lkey = lower(normaliseKey(key));
    const Snapshot& snap = load();
    for (auto it = snap.index.constBegin(); it != snap.index.constEnd(); ++it) {
        if (atOrBelow(it.key(), lkey)) {
            return true;
        }
    }
    return false;
}
