// KML of a start whose receiver lost the fix: 100,000 invalid fixes with an
// empty time field between two valid ones, read from its data file and
// exported, plain and extended. The extended export is to stay within twice
// the plain one; the export alone, without the reading, is shown as well.

#include "data/sentence_parser.h"
#include "data/start_reader.h"
#include "export/start_export.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace veltrin {
namespace {

constexpr int kGapFixes = 100000;

std::string Line(std::string body)
{
    AppendChecksum(body);
    return body + "\r\n";
}

// The data file, written once per run.
const std::filesystem::path& GapFile()
{
    static const test::TempDir dir;
    static const std::filesystem::path path = [] {
        const std::filesystem::path file = dir.path() / "D120826" / "S143502.TXT";
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out << Line("$VLTDR,10.000,0.10,-0.02,1.05,80.0,0.0,0.0,550,0");
        out << Line("$GPGGA,143503.00,4800.000,N,01130.000,E,1,08,0.9,600.0,M,46.9,M,,");
        const std::string lost = Line("$GPGGA,,0000.000,N,00000.000,E,0,00,99.9,0.0,M,0.0,M,,");
        for (int i = 0; i < kGapFixes; ++i)
            out << lost;
        out << Line("$GPGGA,165143.00,4812.000,N,01154.000,E,1,08,0.9,610.0,M,46.9,M,,");
        return file;
    }();
    return path;
}

StartRecord GapStart()
{
    StartRecord start;
    start.path = GapFile();
    start.startTime = 1345991702;  // 26 August 2012 14:35:02 UTC
    return start;
}

std::filesystem::path Target()
{
    return std::filesystem::temp_directory_path() / "veltrin-bench-gap.kml";
}

// Reading the data file and exporting it, as the command-line tool does.
void KmlGapFromDataFile(benchmark::State& state)
{
    const bool extended = state.range(0) != 0;
    KmlWriter writer([](const char*) { return std::optional<std::string>(); });
    for (auto _ : state) {
        StartRecord start = GapStart();
        if (!LoadStartData(start) || start.fixes.size() != kGapFixes + 2)
            state.SkipWithError("reading failed");
        if (!ExportKml(start, Target(), extended, writer).Ok())
            state.SkipWithError("export failed");
    }
    state.counters["file bytes"] = static_cast<double>(std::filesystem::file_size(GapFile()));
    state.counters["kml bytes"] = static_cast<double>(std::filesystem::file_size(Target()));
    std::filesystem::remove(Target());
}

// The export alone, of the start read once.
void KmlGapExportOnly(benchmark::State& state)
{
    const bool extended = state.range(0) != 0;
    StartRecord start = GapStart();
    if (!LoadStartData(start))
        state.SkipWithError("reading failed");
    KmlWriter writer([](const char*) { return std::optional<std::string>(); });
    for (auto _ : state) {
        if (!ExportKml(start, Target(), extended, writer).Ok())
            state.SkipWithError("export failed");
    }
    std::filesystem::remove(Target());
}

BENCHMARK(KmlGapFromDataFile)->Arg(0)->Arg(1)->ArgName("extended")->Unit(benchmark::kMillisecond);
BENCHMARK(KmlGapExportOnly)->Arg(0)->Arg(1)->ArgName("extended")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrin
