// Export speed for a long start: 1,000,000 samples and 40,000 track points.
// Reports bytes written per second and heap allocations per written line.

#include "export/start_export.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>

namespace {

std::atomic<long long> gAllocations{0};

}  // namespace

// Counting allocator: a per-line allocation would show as about one per line.
// The replacements pair malloc with free, which the compiler cannot see.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size)
{
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
#pragma GCC diagnostic pop

namespace veltrin {
namespace {

constexpr int kSamples = 1000000;
constexpr int kFixes = 40000;

const StartRecord& LongStart()
{
    static const StartRecord start = [] {
        StartRecord s;
        s.startTime = 1345991702;  // 26 August 2012 14:35:02 UTC
        s.loaded = true;
        for (int i = 0; i < kSamples; ++i) {
            Sample sample;
            sample.timeMs = 10000 + i * 40;
            sample.accX = 0.01 * (i % 37) - 0.18;
            sample.accY = -0.005 * (i % 23);
            sample.accZ = 1.0 + 0.013 * (i % 101) - 0.6;
            sample.ias = 80.0 + 0.1 * (i % 700);
            sample.altitude = 300 + i % 1500;
            s.samples.push_back(sample);
        }
        for (int i = 0; i < kFixes; ++i) {
            GpsFix fix;
            fix.valid = i % 50 != 7;  // some gaps to interpolate
            fix.utcTime = 52502.0 + i;
            fix.latitude = fix.valid ? 48.0 + i * 1e-5 : 0.0;
            fix.longitude = fix.valid ? 11.5 + i * 2e-5 : 0.0;
            fix.gpsAltitude = 600.0 + i % 900;
            fix.altitude = 550.0 + i % 900;
            fix.ias = 90.0 + i % 60;
            fix.accZ = 1.0 + 0.01 * (i % 40);
            s.fixes.push_back(fix);
        }
        return s;
    }();
    return start;
}

// Discards what is written; counts it.
class NullOutput final : public OutputBuffer {
public:
    ~NullOutput() override = default;
    std::size_t bytes = 0;

protected:
    bool Deliver(const char*, std::size_t size) override
    {
        bytes += size;
        return true;
    }
};

void Report(benchmark::State& state, long long bytes, long long allocations, long long lines)
{
    state.SetBytesProcessed(bytes);
    state.counters["allocs/line"] =
        benchmark::Counter(static_cast<double>(allocations) / static_cast<double>(lines));
}

void CsvIntoMemory(benchmark::State& state)
{
    const StartRecord& start = LongStart();
    long long bytes = 0;
    const long long before = gAllocations.load();
    for (auto _ : state) {
        NullOutput out;
        WriteCsv(start, CsvVariant::Semicolon, out);
        out.Flush();
        bytes += static_cast<long long>(out.bytes);
    }
    Report(state, bytes, gAllocations.load() - before,
           static_cast<long long>(state.iterations()) * kSamples);
}

std::filesystem::path Target(const char* name)
{
    return std::filesystem::temp_directory_path() / name;
}

void CsvIntoFile(benchmark::State& state)
{
    const StartRecord& start = LongStart();
    const auto target = Target("veltrin-bench.csv");
    long long bytes = 0;
    const long long before = gAllocations.load();
    for (auto _ : state) {
        if (!ExportCsv(start, target).Ok())
            state.SkipWithError("export failed");
        bytes += static_cast<long long>(std::filesystem::file_size(target));
    }
    Report(state, bytes, gAllocations.load() - before,
           static_cast<long long>(state.iterations()) * kSamples);
    std::filesystem::remove(target);
}

void KmlIntoFile(benchmark::State& state)
{
    const StartRecord& start = LongStart();
    const bool extended = state.range(0) != 0;
    const auto target = Target("veltrin-bench.kml");
    KmlWriter writer([](const char*) { return std::optional<std::string>(); });
    long long bytes = 0;
    const long long before = gAllocations.load();
    for (auto _ : state) {
        if (!ExportKml(start, target, extended, writer).Ok())
            state.SkipWithError("export failed");
        bytes += static_cast<long long>(std::filesystem::file_size(target));
    }
    const long long linesPerDocument = extended ? 4LL * kFixes : kFixes;
    Report(state, bytes, gAllocations.load() - before,
           static_cast<long long>(state.iterations()) * linesPerDocument);
    std::filesystem::remove(target);
}

BENCHMARK(CsvIntoMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(CsvIntoFile)->Unit(benchmark::kMillisecond);
BENCHMARK(KmlIntoFile)->Arg(0)->Arg(1)->ArgName("extended")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrin

BENCHMARK_MAIN();
