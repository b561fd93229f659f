#pragma once

#include "platform/system/sqliteprocess.h"

#include <benchmark/benchmark.h>

// The benchmarks' run once the program's objects are made: flags read (an unknown one ends the
// run rather than measuring something else than was asked), every benchmark run, reports
// written.
inline int RunBenchmarks(int& argc, char** argv) {
    SqliteProcess::Prepare(); // as the program does; no benchmark has used SQLite yet
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
