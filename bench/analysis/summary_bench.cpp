#include "realistic_card.h"

#include "analysis/exceedances.h"
#include "analysis/flight_events.h"
#include "data/start_reader.h"

#include <benchmark/benchmark.h>

#include <filesystem>

#include <time.h>

namespace veltrin::bench {
namespace {

// Goal: two threads at least 1.7 times as fast as one, and at least 300 MB/s
// of data files on two cores.
void BM_SummariseCard(benchmark::State& state)
{
    const RealisticCard& card = ThousandStartCard();
    CardSummaryOptions options;
    options.limits = RecorderLimits();
    options.threads = static_cast<unsigned>(state.range(0));
    std::size_t events = 0;
    for (auto _ : state) {
        const auto summaries = SummariseCard(card.files, options);
        if (summaries.size() != card.files.size()) {
            state.SkipWithError("a start was not summarised");
            break;
        }
        events = 0;
        for (const StartSummary& summary : summaries)
            events += static_cast<std::size_t>(summary.events);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(card.bytes) * state.iterations());
    state.SetItemsProcessed(static_cast<std::int64_t>(card.files.size()) * state.iterations());
    state.counters["starts"] = static_cast<double>(card.files.size());
    state.counters["events"] = static_cast<double>(events);
}
BENCHMARK(BM_SummariseCard)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->MinTime(5.0);

std::int64_t FileBytes(const StartFile& file)
{
    return static_cast<std::int64_t>(std::filesystem::file_size(file.path));
}

// The detection benchmarks below read the card's largest start; goal:
// detection adds at most 10 % to reading it.

// Reading alone, samples not kept: what a summary costs without detection.
void BM_ReadStart_Streamed(benchmark::State& state)
{
    const StartFile& file = ThousandStartCard().files[ThousandStartCard().longest];
    StartReadOptions options;
    options.keepSamples = false;
    for (auto _ : state) {
        StartRecord start;
        start.path = file.path;
        ReadStartData(start, options);
        benchmark::DoNotOptimize(start.maxAccZ);
    }
    state.SetBytesProcessed(FileBytes(file) * state.iterations());
}
BENCHMARK(BM_ReadStart_Streamed)->Unit(benchmark::kMillisecond);

// The same read with events and exceedances found on the way.
void BM_SummariseStart(benchmark::State& state)
{
    const StartFile& file = ThousandStartCard().files[ThousandStartCard().longest];
    const std::optional<AircraftLimits> limits = RecorderLimits();
    for (auto _ : state) {
        const StartSummary summary = SummariseStart(file, limits);
        benchmark::DoNotOptimize(summary.events);
    }
    state.SetBytesProcessed(FileBytes(file) * state.iterations());
}
BENCHMARK(BM_SummariseStart)->Unit(benchmark::kMillisecond);

// The shown start: read with its samples kept.
void BM_LoadStart(benchmark::State& state)
{
    const StartFile& file = ThousandStartCard().files[ThousandStartCard().longest];
    for (auto _ : state) {
        StartRecord start;
        start.path = file.path;
        LoadStartData(start);
        benchmark::DoNotOptimize(start.samples.size());
    }
    state.SetBytesProcessed(FileBytes(file) * state.iterations());
}
BENCHMARK(BM_LoadStart)->Unit(benchmark::kMillisecond);

// The shown start read, then its events and exceedances found from the samples.
void BM_LoadStartThenFind(benchmark::State& state)
{
    const StartFile& file = ThousandStartCard().files[ThousandStartCard().longest];
    const AircraftLimits limits = RecorderLimits();
    std::size_t found = 0;
    for (auto _ : state) {
        StartRecord start;
        start.path = file.path;
        LoadStartData(start);
        found = FindEvents(start.samples).size() + FindExceedances(start.samples, limits).size();
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(FileBytes(file) * state.iterations());
    state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_LoadStartThenFind)->Unit(benchmark::kMillisecond);

double ThreadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The two ways of each pair above taken in turn, on this thread's processor
// time, so that other load on the machine shifts both alike. Counters: what
// finding events and exceedances adds, in per cent, to a streamed read and
// to a read that keeps the samples.
void BM_DetectionOverhead(benchmark::State& state)
{
    const StartFile& file = ThousandStartCard().files[ThousandStartCard().longest];
    const std::optional<AircraftLimits> limits = RecorderLimits();
    StartReadOptions streamed;
    streamed.keepSamples = false;
    double plainStream = 0.0;
    double detectingStream = 0.0;
    double plainLoad = 0.0;
    double detectingLoad = 0.0;
    for (auto _ : state) {
        double t = ThreadCpuSeconds();
        {
            StartRecord start;
            start.path = file.path;
            ReadStartData(start, streamed);
            benchmark::DoNotOptimize(start.maxAccZ);
        }
        double u = ThreadCpuSeconds();
        plainStream += u - t;
        benchmark::DoNotOptimize(SummariseStart(file, limits).events);
        t = ThreadCpuSeconds();
        detectingStream += t - u;
        {
            StartRecord start;
            start.path = file.path;
            LoadStartData(start);
            benchmark::DoNotOptimize(start.samples.size());
            u = ThreadCpuSeconds();
            plainLoad += u - t;
        }
        {
            StartRecord start;
            start.path = file.path;
            LoadStartData(start);
            benchmark::DoNotOptimize(FindEvents(start.samples).size() +
                                     FindExceedances(start.samples, *limits).size());
            t = ThreadCpuSeconds();
            detectingLoad += t - u;
        }
    }
    state.counters["streamed_overhead_percent"] = 100.0 * (detectingStream / plainStream - 1.0);
    state.counters["loaded_overhead_percent"] = 100.0 * (detectingLoad / plainLoad - 1.0);
}
BENCHMARK(BM_DetectionOverhead)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace
}  // namespace veltrin::bench
