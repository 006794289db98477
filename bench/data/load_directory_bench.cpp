#include "bench_files.h"

#include "data/directory_loader.h"

#include <benchmark/benchmark.h>

namespace veltrin::bench {
namespace {

// Goal: a card of 10,000 starts lists in less than 50 ms.
void BM_LoadDirectory_10000Starts(benchmark::State& state)
{
    const std::filesystem::path& card = LargeCard();
    Recording recording;
    for (auto _ : state) {
        LoadDirectory(card, recording);
        benchmark::DoNotOptimize(recording);
    }
    state.counters["starts"] = static_cast<double>(recording.size());
}
BENCHMARK(BM_LoadDirectory_10000Starts)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrin::bench
