// Start-up time of the client: from starting the process to the main window shown, logged
// in by "/User", measured over several runs of the real program in a prepared home. With
// --browser the time also counts starting the web engine for the message list's view. The
// resident memory at that moment is reported beside it, whole and without the web engine's
// libraries (the message list and the script start the engine at log-in).
//
// With --contacts=N the directory also holds N listeners, and each run of it is paired with a
// run on the empty directory (its floor): log-in should not grow with the directory. --keep=DIR
// keeps the directory of N contacts in DIR/N and reuses it on later runs.
//
// Usage: bench_startup <path of orlix> [runs] [--browser] [--contacts=N] [--keep=DIR]

#include "benchcontacts.h"
#include "benchsizes.h"
#include "benchstudio.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
struct Run {
    qint64 ms = 0;
    qint64 residentKiB = 0;
    qint64 withoutEngineKiB = 0;
};

struct Runs {
    std::vector<qint64> times, residents, withoutEngines;
    void Add(const Run& r) {
        times.push_back(r.ms);
        residents.push_back(r.residentKiB);
        withoutEngines.push_back(r.withoutEngineKiB);
    }
    static qint64 median(std::vector<qint64> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0 : v[v.size() / 2];
    }
    qint64 Time() const { return median(times); }
    double ResidentMiB() const { return double(median(residents)) / 1024.0; }
    double WithoutEngineMiB() const { return double(median(withoutEngines)) / 1024.0; }
};

// One start of the client in home, to its window shown; false when it failed.
bool runOnce(const QString& program, const QString& home, bool browser, Run& run) {
    const QString probe = home + QStringLiteral("/shown");
    QFile::remove(probe);
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ORLIX_HOME"), home);
    env.insert(QStringLiteral("ORLIX_STARTUP_PROBE"), probe);
    if (browser) {
        env.insert(QStringLiteral("ORLIX_STARTUP_PROBE_BROWSER"), QStringLiteral("1"));
    }
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM"))) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    process.setProcessEnvironment(env);
    const qint64 started = QDateTime::currentMSecsSinceEpoch();
    process.start(program, {QStringLiteral("/NOPREVCHECK"), QStringLiteral("/Profile=Studio"),
                            QStringLiteral("/User=bench")});
    if (!process.waitForFinished(600000)) {
        process.kill();
        std::fprintf(stderr, "bench_startup: the client did not finish\n");
        return false;
    }
    QFile f(probe);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "bench_startup: the client never showed its window\n");
        return false;
    }
    const QList<QByteArray> fields = f.readAll().simplified().split(' ');
    run.ms = fields.value(0).toLongLong() - started;
    run.residentKiB = fields.value(1).toLongLong();
    run.withoutEngineKiB = run.residentKiB - fields.value(2).toLongLong();
    return true;
}

void print(const char* what, int i, const Run& r) {
    std::printf("run %d%s: %lld ms, %.1f MiB resident, %.1f MiB without the web engine\n", i, what,
                static_cast<long long>(r.ms), static_cast<double>(r.residentKiB) / 1024.0,
                static_cast<double>(r.withoutEngineKiB) / 1024.0);
}

QString takeText(int& argc, char** argv, const char* name) {
    const QByteArray prefix = QByteArray("--") + name + '=';
    QString value;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]).startsWith(prefix)) {
            value = QString::fromLocal8Bit(argv[i] + prefix.size());
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return value;
}
} // namespace

int main(int argc, char* argv[]) {
    const long long contacts = TakeBenchSize(argc, argv, "contacts", 0);
    const QString keep = takeText(argc, argv, "keep");
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_startup <path of orlix> [runs] [--browser]"
                             " [--contacts=N] [--keep=DIR]\n");
        return 1;
    }
    const QString program = args.at(1);
    const int runs = args.size() > 2 && args.at(2).toInt() > 0 ? args.at(2).toInt() : 5;
    const bool browser = args.contains(QStringLiteral("--browser"));

    QTemporaryDir empty;
    QTemporaryDir made;
    const QString full = keep.isEmpty() ? made.path() : keep + QStringLiteral("/%1").arg(contacts);
    if (!empty.isValid() || !PrepareBenchStudio(empty.path())) {
        std::fprintf(stderr, "bench_startup: the home could not be prepared\n");
        return 2;
    }
    if (contacts > 0) {
        // A kept home is made again only when its directory lacks the contacts.
        qputenv("ORLIX_HOME", QFile::encodeName(full));
        if (!BenchContacts::Holds(KVDirectory::DefaultFilePath(), contacts)) {
            QDir(full).removeRecursively();
            QDir().mkpath(full);
            if (!PrepareBenchStudio(full) ||
                !BenchContacts::Fill(KVDirectory::DefaultFilePath(), contacts)) {
                std::fprintf(stderr, "bench_startup: no directory of %lld contacts\n", contacts);
                return 2;
            }
        }
    }
    Runs floor;
    Runs measured;
    for (int i = 0; i < runs + 1; ++i) {
        Run r;
        if (!runOnce(program, empty.path(), browser, r)) {
            return 2;
        }
        // The first run fills the system's caches; it is not counted.
        if (i > 0) {
            floor.Add(r);
            print(contacts > 0 ? " (empty directory)" : "", i, r);
        }
        if (contacts > 0) {
            if (!runOnce(program, full, browser, r)) {
                return 2;
            }
            if (i > 0) {
                measured.Add(r);
                print(" (with the contacts)", i, r);
            }
        }
    }
    std::printf("median of %d runs: %lld ms, %.1f MiB resident, %.1f MiB without the web "
                "engine (goal under 70 MiB)%s\n",
                runs, static_cast<long long>(floor.Time()), floor.ResidentMiB(),
                floor.WithoutEngineMiB(), browser ? " (web engine started)" : "");
    if (contacts > 0) {
        std::printf("with %lld contacts: %lld ms (%.2f times the empty directory's, goal within"
                    " 1.5), %.1f MiB resident (%+.1f MiB, goal at most 30 more)\n",
                    contacts, static_cast<long long>(measured.Time()),
                    floor.Time() > 0 ? double(measured.Time()) / double(floor.Time()) : 0.0,
                    measured.ResidentMiB(), measured.ResidentMiB() - floor.ResidentMiB());
    }
    return 0;
}
