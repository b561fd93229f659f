// How long a whole profile load and save take through the configuration store.
#include "core/profile/cocsettings.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {
void BM_LoadSettings(benchmark::State& state) {
    QTemporaryDir home;
    qputenv("ORLIX_HOME", QFile::encodeName(home.path()));
    cOCSettings seed;
    seed.SetOrlixPath(home.path() + QStringLiteral("/db"));
    seed.SetScriptPath(home.path() + QStringLiteral("/scripts"));
    seed.SetTalkbackSimplePath(home.path() + QStringLiteral("/talkback"));
    QString profile;
    seed.SaveSettings(profile);
    for (auto _ : state) {
        cOCSettings s;
        QString name;
        benchmark::DoNotOptimize(s.LoadSettings(name));
    }
}
BENCHMARK(BM_LoadSettings);

void BM_SaveSettings(benchmark::State& state) {
    QTemporaryDir home;
    qputenv("ORLIX_HOME", QFile::encodeName(home.path()));
    cOCSettings s;
    for (auto _ : state) {
        QString name;
        benchmark::DoNotOptimize(s.SaveSettings(name));
    }
}
BENCHMARK(BM_SaveSettings)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
