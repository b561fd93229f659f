// Start-up time of the client: from starting the process to the main window shown, logged
// in by "/User", measured over several runs of the real program in a prepared home. With
// --browser the time also counts starting the web engine for the message list's view. The
// resident memory at that moment is reported beside it, whole and without the web engine's
// libraries (the message list and the script start the engine at log-in).
//
// Usage: bench_startup <path of orlix> [runs] [--browser]

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

namespace {} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_startup <path of orlix> [runs] [--browser]\n");
        return 1;
    }
    const QString program = args.at(1);
    const int runs = args.size() > 2 && args.at(2).toInt() > 0 ? args.at(2).toInt() : 5;
    const bool browser = args.contains(QStringLiteral("--browser"));

    QTemporaryDir home;
    if (!home.isValid() || !PrepareBenchStudio(home.path())) {
        std::fprintf(stderr, "bench_startup: the home could not be prepared\n");
        return 2;
    }
    const QString probe = home.path() + QStringLiteral("/shown");
    std::vector<qint64> times;
    std::vector<qint64> residents;
    std::vector<qint64> withoutEngines;
    for (int i = 0; i < runs + 1; ++i) {
        QFile::remove(probe);
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ORLIX_HOME"), home.path());
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
        if (!process.waitForFinished(60000)) {
            process.kill();
            std::fprintf(stderr, "bench_startup: the client did not finish\n");
            return 2;
        }
        QFile f(probe);
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "bench_startup: the client never showed its window\n");
            return 2;
        }
        const QList<QByteArray> fields = f.readAll().simplified().split(' ');
        const qint64 shown = fields.value(0).toLongLong();
        const qint64 resident = fields.value(1).toLongLong();
        const qint64 withoutEngine = resident - fields.value(2).toLongLong();
        // The first run fills the system's caches; it is not counted.
        if (i > 0) {
            times.push_back(shown - started);
            residents.push_back(resident);
            withoutEngines.push_back(withoutEngine);
            std::printf("run %d: %lld ms, %.1f MiB resident, %.1f MiB without the web engine\n", i,
                        static_cast<long long>(shown - started),
                        static_cast<double>(resident) / 1024.0,
                        static_cast<double>(withoutEngine) / 1024.0);
        }
    }
    std::sort(times.begin(), times.end());
    std::sort(residents.begin(), residents.end());
    std::sort(withoutEngines.begin(), withoutEngines.end());
    std::printf("median of %d runs: %lld ms, %.1f MiB resident, %.1f MiB without the web "
                "engine (goal under 70 MiB)%s\n",
                runs, static_cast<long long>(times[times.size() / 2]),
                static_cast<double>(residents[residents.size() / 2]) / 1024.0,
                static_cast<double>(withoutEngines[withoutEngines.size() / 2]) / 1024.0,
                browser ? " (web engine started)" : "");
    return 0;
}
