#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>

// Notices the changes other connections make to a shared SQLite file, by kind, without
// reading the tables themselves: SQLite's data_version moves only when another connection
// commits, and a table of counters kept by triggers (one row per kind) says which kinds that
// commit touched. The counters are read only once the version has moved.
//
// The version and the counters are read together in one short read transaction, so they
// always belong to one state of the file; nothing is announced until that transaction has
// ended, because a read held while the announcement is followed would block the other
// computers' saves on a rollback journal. A read that fails (another computer holding the
// file) keeps every baseline, so the change is found by the next poll.
//
// The owner's own write transactions tell the watch where they begin and commit: the kinds
// the commit changed are announced once, at once (ChangedHere), and what another connection
// had changed before this one took the lock is announced as a change elsewhere.
class ChangeWatch : public QObject {
    Q_OBJECT
public:
    // A set of kinds: bit i is kinds[i] of the constructor.
    using Kinds = quint32;

    // component names the file in log lines; kinds are the counter rows' names.
    ChangeWatch(QString component, QStringList kinds, QObject* parent = nullptr);
    ~ChangeWatch() override;
    ChangeWatch(const ChangeWatch&) = delete;
    ChangeWatch& operator=(const ChangeWatch&) = delete;

    // The statements of a schema step that make a table's every added, changed or removed row
    // count under kind in change_counters (name TEXT PRIMARY KEY, value INTEGER).
    static QStringList CountingTriggers(const QString& table, const QString& kind);

    const QStringList& KindNames() const { return kinds_; }
    // The bit of a kind, 0 for a name not watched.
    Kinds Kind(const QString& name) const;

    // The connection watched, once its schema is up to date: the baselines are read now.
    // Detach before the connection closes. busyTimeoutMs is the connection's own wait for a
    // lock, which a poll shortens while it reads.
    void Attach(const QSqlDatabase& db, int busyTimeoutMs);
    void Detach();
    bool Attached() const { return attached_; }

    // Polls every pollMs (0: only when Check is called); changes elsewhere are announced at
    // most once every minGapMs, the kinds seen meanwhile together.
    void Start(int pollMs, int minGapMs);
    void Stop();
    // Looks for other connections' changes now. False when the file could not be read; the
    // baselines are then as they were.
    bool Check();
    // Announces these kinds again at the next poll, whatever it finds: a re-read that
    // followed their announcement failed.
    void Again(Kinds kinds) { again_ |= kinds; }

    // The owner's write transaction on the attached connection: after its BEGIN, just before
    // its COMMIT, after the COMMIT succeeded, after a rollback.
    void Began();
    void Committing();
    void Committed();
    void RolledBack();

Q_SIGNALS:
    // Another connection changed these kinds.
    void ChangedElsewhere(quint32 kinds);
    // A commit of this connection changed these kinds.
    void ChangedHere(quint32 kinds);

private:
    // One state of the file: its data version and the counters by kind (-1: no such row).
    struct State {
        qint64 Version = -1;
        QVector<qint64> Counters;
    };
    bool inTransaction() const;
    bool readVersion(qint64& version, QString* why) const;
    bool readCounters(QVector<qint64>& counters, QString* why) const;
    // Version and counters in one read transaction of their own.
    bool readState(State& state, QString* why) const;
    Kinds differing(const QVector<qint64>& from, const QVector<qint64>& to) const;
    void announce(Kinds kinds);
    void sendPending();
    void failed(const QString& why);

    QString component_;
    QStringList kinds_;
    QSqlDatabase db_;
    int busyTimeoutMs_ = 0;
    bool attached_ = false;
    State baseline_;
    bool haveBaseline_ = false;
    // The next poll reads the counters though the version has not moved.
    bool readAnyway_ = false;
    Kinds again_ = 0;

    // The own transaction under way.
    bool ownOk_ = false;
    QVector<qint64> atBegin_;
    State atEnd_;

    QTimer pollTimer_;
    QTimer gapTimer_;
    QElapsedTimer sinceAnnounce_;
    int minGapMs_ = 0;
    Kinds pending_ = 0;
    bool failing_ = false;
};
