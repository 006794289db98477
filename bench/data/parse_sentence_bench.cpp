#include "bench_files.h"

#include "data/plain_sample_line.h"
#include "data/sentence_parser.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace veltrin::bench {
namespace {

void Parse(benchmark::State& state, const std::vector<std::string>& lines)
{
    Sentence sentence;
    std::size_t i = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string& line = lines[i];
        benchmark::DoNotOptimize(ParseSentence(sentence, line));
        benchmark::DoNotOptimize(sentence);
        bytes += line.size();
        i = i + 1 == lines.size() ? 0 : i + 1;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

void BM_ParseSentence_VLTDR(benchmark::State& state)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < 1024; ++i) {
        lines.push_back(DataLine(i * 37));
    }
    Parse(state, lines);
}
BENCHMARK(BM_ParseSentence_VLTDR);

// The file reader's shortcut for the same data lines.
void BM_ReadPlainSampleLine_VLTDR(benchmark::State& state)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < 1024; ++i) {
        lines.push_back(DataLine(i * 37));
    }
    DrFields fields{};
    std::size_t i = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string& line = lines[i];
        benchmark::DoNotOptimize(ReadPlainSampleLine(line, fields));
        benchmark::DoNotOptimize(fields);
        bytes += line.size();
        i = i + 1 == lines.size() ? 0 : i + 1;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_ReadPlainSampleLine_VLTDR);

void BM_ParseSentence_GPGGA(benchmark::State& state)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < 1024; ++i) {
        lines.push_back(FixLine(i * 7));
    }
    Parse(state, lines);
}
BENCHMARK(BM_ParseSentence_GPGGA);

}  // namespace
}  // namespace veltrin::bench
