#include "platform/system/changewatch.h"

#include "platform/system/platformlog.h"
#include "platform/system/sqlitestatement.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <sqlite3.h>

#include <algorithm>

namespace {
constexpr int kMaxKinds = 32;
// A poll waits this long for another computer's lock, not the owner's whole busy timeout: the
// window must not stop while someone holds the file, and the next poll tries again.
constexpr int kPollBusyMs = 50;

// The connection's busy timeout for the life of the object.
class BusyTimeout {
public:
    BusyTimeout(sqlite3* handle, int ms, int restoreMs) : handle_(handle), restoreMs_(restoreMs) {
        if (handle_ != nullptr) {
            sqlite3_busy_timeout(handle_, ms);
        }
    }
    ~BusyTimeout() {
        if (handle_ != nullptr) {
            sqlite3_busy_timeout(handle_, restoreMs_);
        }
    }
    BusyTimeout(const BusyTimeout&) = delete;
    BusyTimeout& operator=(const BusyTimeout&) = delete;

private:
    sqlite3* handle_;
    int restoreMs_;
};
} // namespace

ChangeWatch::ChangeWatch(QString component, QStringList kinds, QObject* parent)
    : QObject(parent), component_(std::move(component)), kinds_(std::move(kinds)) {
    if (kinds_.size() > kMaxKinds) {
        kinds_ = kinds_.mid(0, kMaxKinds);
    }
    pollTimer_.setSingleShot(false);
    gapTimer_.setSingleShot(true);
    connect(&pollTimer_, &QTimer::timeout, this, [this] { Check(); });
    connect(&gapTimer_, &QTimer::timeout, this, [this] { sendPending(); });
}

ChangeWatch::~ChangeWatch() {
    Detach();
}

QStringList ChangeWatch::CountingTriggers(const QString& table, const QString& kind) {
    QStringList statements;
    for (const char* event : {"INSERT", "UPDATE", "DELETE"}) {
        const QString when = QLatin1String(event);
        statements << QStringLiteral("CREATE TRIGGER %1_counted_%2 AFTER %3 ON %1 BEGIN"
                                     " UPDATE change_counters SET value = value + 1"
                                     " WHERE name = '%4'; END")
                          .arg(table, when.toLower(), when, kind);
    }
    return statements;
}

ChangeWatch::Kinds ChangeWatch::Kind(const QString& name) const {
    const qsizetype index = kinds_.indexOf(name);
    return index < 0 ? 0 : Kinds(1) << index;
}

void ChangeWatch::Attach(const QSqlDatabase& db, int busyTimeoutMs) {
    Detach();
    db_ = db;
    busyTimeoutMs_ = busyTimeoutMs;
    attached_ = true;
    QString why;
    const BusyTimeout shortWait(SqliteHandle(db_), kPollBusyMs, busyTimeoutMs_);
    haveBaseline_ = readState(baseline_, &why);
    if (!haveBaseline_) {
        // The first poll that can read the file takes its state as it finds it.
        readAnyway_ = true;
        failed(why);
    }
}

void ChangeWatch::Detach() {
    Stop();
    attached_ = false;
    db_ = QSqlDatabase();
    baseline_ = State{};
    haveBaseline_ = false;
    readAnyway_ = false;
    again_ = 0;
    ownOk_ = false;
    failing_ = false;
}

void ChangeWatch::Start(int pollMs, int minGapMs) {
    minGapMs_ = std::max(0, minGapMs);
    if (pollMs > 0) {
        pollTimer_.start(std::max(10, pollMs));
    } else {
        pollTimer_.stop();
    }
}

void ChangeWatch::Stop() {
    pollTimer_.stop();
    gapTimer_.stop();
    pending_ = 0;
}

bool ChangeWatch::inTransaction() const {
    sqlite3* handle = SqliteHandle(db_);
    return handle != nullptr && sqlite3_get_autocommit(handle) == 0;
}

bool ChangeWatch::readVersion(qint64& version, QString* why) const {
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("PRAGMA data_version")) || !q.next()) {
        *why = q.lastError().text();
        return false;
    }
    version = q.value(0).toLongLong();
    return true;
}

bool ChangeWatch::readCounters(QVector<qint64>& counters, QString* why) const {
    counters = QVector<qint64>(kinds_.size(), -1);
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT name, value FROM change_counters"))) {
        *why = q.lastError().text();
        return false;
    }
    while (q.next()) {
        const qsizetype index = kinds_.indexOf(q.value(0).toString());
        if (index >= 0) {
            counters[index] = q.value(1).toLongLong();
        }
    }
    if (q.lastError().isValid()) {
        *why = q.lastError().text();
        return false;
    }
    return true;
}

bool ChangeWatch::readState(State& state, QString* why) const {
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("BEGIN"))) {
        *why = q.lastError().text();
        return false;
    }
    State read;
    const bool ok = readVersion(read.Version, why) && readCounters(read.Counters, why);
    // A read transaction holds no change: ending it either way only gives the lock back.
    if (!q.exec(ok ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK")) && ok) {
        *why = q.lastError().text();
        QSqlQuery(db_).exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    if (ok) {
        state = read;
    }
    return ok;
}

ChangeWatch::Kinds ChangeWatch::differing(const QVector<qint64>& from,
                                          const QVector<qint64>& to) const {
    Kinds kinds = 0;
    for (qsizetype i = 0; i < kinds_.size(); ++i) {
        const qint64 a = i < from.size() ? from[i] : -1;
        const qint64 b = i < to.size() ? to[i] : -1;
        if (a != b) {
            kinds |= Kinds(1) << i;
        }
    }
    return kinds;
}

bool ChangeWatch::Check() {
    if (!attached_) {
        return false;
    }
    if (inTransaction()) {
        return true; // the owner's own transaction: its commit tells what it found
    }
    QString why;
    const BusyTimeout shortWait(SqliteHandle(db_), kPollBusyMs, busyTimeoutMs_);
    qint64 version = -1;
    if (!readVersion(version, &why)) {
        failed(why);
        return false;
    }
    Kinds changed = 0;
    if (version != baseline_.Version || readAnyway_) {
        State now;
        if (!readState(now, &why)) {
            failed(why);
            return false;
        }
        // The first state read has nothing to compare with.
        changed = haveBaseline_ ? differing(baseline_.Counters, now.Counters) : 0;
        baseline_ = now;
        haveBaseline_ = true;
        readAnyway_ = false;
    }
    if (failing_) {
        failing_ = false;
        PlatformLog(QStringLiteral("%1: changes can be read again").arg(component_));
    }
    changed |= again_;
    again_ = 0;
    announce(changed);
    return true;
}

void ChangeWatch::Began() {
    QString why;
    ownOk_ = attached_ && readCounters(atBegin_, &why);
}

void ChangeWatch::Committing() {
    QString why;
    ownOk_ = ownOk_ && readVersion(atEnd_.Version, &why) && readCounters(atEnd_.Counters, &why);
}

void ChangeWatch::Committed() {
    if (!attached_) {
        return;
    }
    if (!ownOk_) {
        // What the commit changed is not known: the next poll compares the counters whatever
        // the version says, and tells every difference as made elsewhere.
        readAnyway_ = true;
        return;
    }
    ownOk_ = false;
    const Kinds elsewhere = haveBaseline_ ? differing(baseline_.Counters, atBegin_) : 0;
    const Kinds here = differing(atBegin_, atEnd_.Counters);
    // Between this connection's BEGIN IMMEDIATE and its COMMIT nobody else could commit: the
    // version read before the commit is the file's version after it, for this connection.
    baseline_ = atEnd_;
    haveBaseline_ = true;
    readAnyway_ = false;
    if (elsewhere != 0) {
        announce(elsewhere);
    }
    if (here != 0) {
        Q_EMIT ChangedHere(here);
    }
}

void ChangeWatch::RolledBack() {
    ownOk_ = false;
}

void ChangeWatch::announce(Kinds kinds) {
    pending_ |= kinds;
    if (pending_ == 0 || gapTimer_.isActive()) {
        return; // nothing, or one announcement already on its way
    }
    if (!sinceAnnounce_.isValid() || sinceAnnounce_.elapsed() >= minGapMs_) {
        sendPending();
        return;
    }
    gapTimer_.start(static_cast<int>(minGapMs_ - sinceAnnounce_.elapsed()));
}

void ChangeWatch::sendPending() {
    const Kinds kinds = pending_;
    pending_ = 0;
    if (kinds == 0) {
        return;
    }
    sinceAnnounce_.start();
    Q_EMIT ChangedElsewhere(kinds);
}

void ChangeWatch::failed(const QString& why) {
    // A lock can last many polls: one line when reading stops, one when it comes back.
    if (!failing_) {
        failing_ = true;
        PlatformLog(QStringLiteral("%1: changes made elsewhere could not be read now: %2")
                        .arg(component_, why));
    }
}
