#include "bench_files.h"

#include "data/start_reader.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace veltrin::bench {
namespace {

std::size_t HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Goal: at least 100 MB/s and within three times the bare line read below.
void BM_LoadStartData_1MSamples(benchmark::State& state)
{
    const GeneratedStart& file = LargeStart();
    double bytesPerSample = 0.0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        StartRecord start;
        start.path = file.path;
        LoadStartData(start);
        // Memory the start keeps once read: its samples and fixes.
        bytesPerSample =
            static_cast<double>(HeapInUse() - before) / static_cast<double>(start.samples.size());
        if (start.samples.size() != file.samples || start.fixes.size() != file.fixes) {
            state.SkipWithError("wrong sample or fix count");
        }
        benchmark::DoNotOptimize(start);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(file.bytes) * state.iterations());
    state.SetItemsProcessed(static_cast<std::int64_t>(file.samples) * state.iterations());
    state.counters["heap_bytes_per_sample"] = bytesPerSample;
}
BENCHMARK(BM_LoadStartData_1MSamples)->Unit(benchmark::kMillisecond);

// The floor: the same file read line by line into a 256-character buffer, nothing parsed.
void BM_ReadLines_Floor(benchmark::State& state)
{
    const GeneratedStart& file = LargeStart();
    for (auto _ : state) {
        std::FILE* in = std::fopen(file.path.c_str(), "rb");
        if (in == nullptr) {
            state.SkipWithError("cannot open");
            break;
        }
        char line[256];
        std::size_t lines = 0;
        while (std::fgets(line, sizeof line, in) != nullptr) {
            lines += line[0] == '$' ? 1 : 0;
        }
        std::fclose(in);
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(file.bytes) * state.iterations());
}
BENCHMARK(BM_ReadLines_Floor)->Unit(benchmark::kMillisecond);

// For comparison: the same file read line by line with std::getline.
void BM_ReadLines_Getline(benchmark::State& state)
{
    const GeneratedStart& file = LargeStart();
    for (auto _ : state) {
        std::ifstream in(file.path, std::ios::binary);
        std::string line;
        std::size_t lines = 0;
        while (std::getline(in, line)) {
            lines += line.empty() ? 0U : 1U;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(file.bytes) * state.iterations());
}
BENCHMARK(BM_ReadLines_Getline)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrin::bench
