#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

// Times the program's path and its floor (the least the same work can cost) in one loop,
// turn about, so that both see the same caches and the same load on the machine. The time
// reported is the program's; the counters give the floor's time per iteration in
// microseconds and the ratio of the two, and the program's median time of one iteration in
// microseconds: on a shared machine a few iterations stalled by others' work (a processor
// taken away, a page read back from the disk) move the mean far more than the median. Each
// function returns false on a wrong result.
template <typename Program, typename Floor>
void RunBesideFloor(benchmark::State& state, Program program, Floor floor) {
    using Clock = std::chrono::steady_clock;
    double programSeconds = 0;
    double floorSeconds = 0;
    std::vector<double> programTimes;
    for (auto _ : state) {
        const auto start = Clock::now();
        const bool programRight = program();
        const auto between = Clock::now();
        const bool floorRight = floor();
        const auto end = Clock::now();
        if (!programRight || !floorRight) {
            state.SkipWithError(programRight ? "the floor's result is wrong"
                                             : "the program's result is wrong");
            return;
        }
        const double spent = std::chrono::duration<double>(between - start).count();
        programSeconds += spent;
        programTimes.push_back(spent);
        floorSeconds += std::chrono::duration<double>(end - between).count();
        state.SetIterationTime(spent);
    }
    state.counters["floor_us"] =
        benchmark::Counter(floorSeconds * 1e6, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = floorSeconds > 0 ? programSeconds / floorSeconds : 0.0;
    if (!programTimes.empty()) {
        const auto middle = programTimes.begin() + std::ptrdiff_t(programTimes.size() / 2);
        std::nth_element(programTimes.begin(), middle, programTimes.end());
        state.counters["median_us"] = *middle * 1e6;
    }
}
