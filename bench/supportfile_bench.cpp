// The support file's speed goals: the file made from a database of 100,000 messages (unless
// --messages=N says otherwise): at least 20 MB of database a second, copy and archive together,
// and no gap over 250 ms between progress events, so the window keeps answering.
#include "benchmain.h"
#include "benchmessages.h"
#include "benchsizes.h"

#include "platform/messagesdb/messagemime.h"
#include "platform/messagesdb/messagesstorage.h"
#include "platform/messagesdb/messagetable.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/support/supportfilegenerator.h"
#include "platform/system/localzone.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>

namespace {
int kTotal = 100000;

// The messages benchmark's corpus: the same messages, filled the same way, on the machine's
// disk; the program's scratch folders beside it.
struct Corpus {
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/supportfile-bench-XXXXXX")};
    OrlixDatabase db;

    Corpus() {
        qputenv("ORLIX_HOME", dir.filePath(QStringLiteral("home")).toLocal8Bit());
        FillBenchMessages(db, dir.path(), kTotal, QDateTime::currentDateTimeUtc(),
                          [](int i) { return 300LL * (kTotal - i); });
    }
};

void BM_SupportFileFromMessages(benchmark::State& state) {
    static Corpus corpus;
    const qint64 databaseBytes = QFileInfo(corpus.db.DatabaseFile()).size();
    double largestGapMs = 0;
    qint64 archiveBytes = 0;
    for (auto _ : state) {
        SupportFileGenerator generator;
        generator.SetDetails({QStringLiteral("Bench"), QString(),
                              QStringLiteral("bench@station.example"), QString()});
        generator.SetReason(QStringLiteral("Benchmark"));
        generator.AddMessagesDatabase(&corpus.db);
        QElapsedTimer since;
        since.start();
        QObject::connect(&generator, &SupportFileGenerator::Progress, [&](int) {
            largestGapMs = std::max(largestGapMs, since.nsecsElapsed() / 1e6);
            since.restart();
        });
        if (generator.Make() != SupportFileGenerator::Made) {
            state.SkipWithError("the support file was not made");
            break;
        }
        largestGapMs = std::max(largestGapMs, since.nsecsElapsed() / 1e6);
        archiveBytes = QFileInfo(generator.ArchivePath()).size();
        generator.Finish();
    }
    state.SetBytesProcessed(state.iterations() * databaseBytes);
    state.counters["database_MB"] = static_cast<double>(databaseBytes) / 1e6;
    state.counters["archive_MB"] = static_cast<double>(archiveBytes) / 1e6;
    state.counters["largest_gap_ms"] = largestGapMs;
}
BENCHMARK(BM_SupportFileFromMessages)->Iterations(3)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    LocalZone::Pin(); // as the client does
    kTotal = static_cast<int>(TakeBenchSize(argc, argv, "messages", kTotal));
    QCoreApplication app(argc, argv);
    benchmark::AddCustomContext("messages", std::to_string(kTotal));
    return RunBenchmarks(argc, argv);
}
