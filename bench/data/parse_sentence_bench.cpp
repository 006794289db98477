#include "bench_files.h"

#include "data/plain_sample_line.h"
#include "data/sentence_parser.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace veltrin::bench {
namespace {

// 1024 lines made by `line(i * stride)`.
template <typename MakeLine>
std::vector<std::string> Lines(MakeLine line, std::size_t stride)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < 1024; ++i) {
        lines.push_back(line(i * stride));
    }
    return lines;
}

// Runs `read(line)` over the lines in turn, counting lines and bytes.
template <typename Read>
void ReadInTurn(benchmark::State& state, const std::vector<std::string>& lines, Read read)
{
    std::size_t i = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string& line = lines[i];
        read(line);
        bytes += line.size();
        i = i + 1 == lines.size() ? 0 : i + 1;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

void Parse(benchmark::State& state, const std::vector<std::string>& lines)
{
    Sentence sentence;
    ReadInTurn(state, lines, [&sentence](const std::string& line) {
        benchmark::DoNotOptimize(ParseSentence(sentence, line));
        benchmark::DoNotOptimize(sentence);
    });
}

void BM_ParseSentence_VLTDR(benchmark::State& state)
{
    Parse(state, Lines(DataLine, 37));
}
BENCHMARK(BM_ParseSentence_VLTDR);

// The file reader's shortcut for the same data lines.
void BM_ReadPlainSampleLine_VLTDR(benchmark::State& state)
{
    DrFields fields{};
    ReadInTurn(state, Lines(DataLine, 37), [&fields](const std::string& line) {
        benchmark::DoNotOptimize(ReadPlainSampleLine(line, fields));
        benchmark::DoNotOptimize(fields);
    });
}
BENCHMARK(BM_ReadPlainSampleLine_VLTDR);

void BM_ParseSentence_GPGGA(benchmark::State& state)
{
    Parse(state, Lines(FixLine, 7));
}
BENCHMARK(BM_ParseSentence_GPGGA);

}  // namespace
}  // namespace veltrin::bench
