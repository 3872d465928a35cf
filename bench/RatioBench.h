#pragma once
// A routine timed beside its reference in the same run: each iteration
// prepares, times the reference, prepares again and times the routine. The
// benchmark reports the routine's time, and as counters the ratio of the two
// medians, the ratio of the two fastest runs (steadier on a busy machine) and
// the goal the ratio should stay under. Machines differ; the ratio is what to
// compare, never the milliseconds.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace ratiobench {

inline double median(std::vector<double> v)
{
    if (v.empty()) return 0;
    std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
    return v[v.size() / 2];
}

template <class Prepare, class Reference, class Routine>
void measure(benchmark::State& state, double goal, Prepare prepare, Reference reference, Routine routine)
{
    using Clock = std::chrono::steady_clock;
    std::vector<double> refTimes, routineTimes;
    for (auto _ : state) {
        prepare();
        const auto t0 = Clock::now();
        reference();
        const auto t1 = Clock::now();
        prepare();
        const auto t2 = Clock::now();
        routine();
        const auto t3 = Clock::now();
        benchmark::ClobberMemory();
        refTimes.push_back(std::chrono::duration<double>(t1 - t0).count());
        routineTimes.push_back(std::chrono::duration<double>(t3 - t2).count());
        state.SetIterationTime(routineTimes.back());
    }
    const double ref = median(refTimes);
    const double fastestRef = refTimes.empty() ? 0 : *std::min_element(refTimes.begin(), refTimes.end());
    state.counters["ratio"] = ref > 0 ? median(routineTimes) / ref : 0;
    state.counters["best_ratio"] =
        fastestRef > 0 ? *std::min_element(routineTimes.begin(), routineTimes.end()) / fastestRef : 0;
    state.counters["goal"] = goal;
    state.counters["ref_ms"] = ref * 1e3;
}

} // namespace ratiobench
