#include "bench_files.h"

#include "data/number_format.h"
#include "data/sentence_parser.h"
#include "support/temp_dir.h"

#include <fstream>

namespace veltrin::bench {

namespace {

constexpr std::size_t kLargeStartSamples = 1000000;
constexpr std::size_t kSamplesPerSecond = 25;
constexpr int kCardDays = 400;
constexpr int kStartsPerDay = 25;

using test::TempDir;

}  // namespace

std::string DataLine(std::size_t index)
{
    const double phase = static_cast<double>(index % 1000) / 1000.0;
    std::string line = "$VLTDR,";
    AppendFixed(line, static_cast<double>(index) / static_cast<double>(kSamplesPerSecond), 3);
    line += ',';
    AppendFixed(line, 0.02 - phase * 0.04, 2);
    line += ',';
    AppendFixed(line, phase * 0.1 - 0.05, 2);
    line += ',';
    AppendFixed(line, 0.8 + phase, 2);
    line += ',';
    AppendFixed(line, 90.0 + phase * 60.0, 1);
    line += ",0.00,0.00,";
    AppendInt(line, 300 + static_cast<long long>(index % 1500));
    line += ',';
    AppendInt(line, index % 5000 < 10 ? 1 : 0);
    AppendChecksum(line);
    return line;
}

std::string FixLine(std::size_t second)
{
    const std::size_t timeOfDay = 36000 + second;
    std::string line = "$GPGGA,";
    AppendInt(line, static_cast<long long>(timeOfDay / 3600), 2, true);
    AppendInt(line, static_cast<long long>(timeOfDay / 60 % 60), 2, true);
    AppendInt(line, static_cast<long long>(timeOfDay % 60), 2, true);
    line += ".00,48";
    AppendFixed(line, 7.0 + static_cast<double>(second % 3000) * 0.001, 4, 7);
    line += ",N,011";
    AppendFixed(line, 31.0 + static_cast<double>(second % 2000) * 0.001, 4, 7);
    line += ",E,1,08,0.9,";
    AppendFixed(line, 545.4 + static_cast<double>(second % 700), 1);
    line += ",M,46.9,M,,";
    AppendChecksum(line);
    return line;
}

const GeneratedStart& LargeStart()
{
    static const TempDir folder("veltrin-bench-start");
    static const GeneratedStart start = [] {
        GeneratedStart s;
        s.path = folder.path() / "S101500.LOG";
        std::ofstream out(s.path, std::ios::binary);
        std::string chunk;
        for (std::size_t i = 0; i < kLargeStartSamples; ++i) {
            if (i % kSamplesPerSecond == 0) {
                chunk += FixLine(i / kSamplesPerSecond);
                chunk += "\r\n";
                ++s.fixes;
            }
            chunk += DataLine(i);
            chunk += "\r\n";
            ++s.samples;
            if (chunk.size() > (1U << 20)) {
                out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
                s.bytes += chunk.size();
                chunk.clear();
            }
        }
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        s.bytes += chunk.size();
        return s;
    }();
    return start;
}

const std::filesystem::path& LargeCard()
{
    static const TempDir folder("veltrin-bench-card");
    static const bool made = [] {
        for (int d = 0; d < kCardDays; ++d) {
            // Days 1 to 28 of each month from January 2012 on.
            std::string day = "D";
            AppendInt(day, 12 + d / 336, 2, true);
            AppendInt(day, 1 + d / 28 % 12, 2, true);
            AppendInt(day, 1 + d % 28, 2, true);
            const std::filesystem::path dayDir = folder.path() / day;
            std::filesystem::create_directory(dayDir);
            for (int s = 0; s < kStartsPerDay; ++s) {
                std::string name = "S";
                AppendInt(name, s % 24, 2, true);
                AppendInt(name, (s * 7) % 60, 2, true);
                AppendInt(name, (s * 13) % 60, 2, true);
                name += ".LOG";
                std::ofstream(dayDir / name) << "$\r\n";
            }
        }
        return true;
    }();
    static_cast<void>(made);
    return folder.path();
}

}  // namespace veltrin::bench
