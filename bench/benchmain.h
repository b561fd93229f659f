#pragma once

#include <benchmark/benchmark.h>

// The benchmarks' run once the program's objects are made: flags read (an unknown one ends the
// run rather than measuring something else than was asked), every benchmark run, reports
// written.
inline int RunBenchmarks(int& argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
