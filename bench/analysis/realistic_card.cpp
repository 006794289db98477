#include "realistic_card.h"

#include "data/number_format.h"
#include "sim/start_writer.h"
#include "support/temp_dir.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace veltrin::bench {
namespace {

constexpr std::size_t kStarts = 1000;
constexpr std::size_t kFlights = 50;
constexpr int kStartsPerDay = 10;
constexpr std::array<int, 5> kRates = {10, 10, 10, 20, 25};
constexpr CalendarSeconds kFirstDay = 1688169600;  // 01.07.2023 00:00 UTC
constexpr CalendarSeconds kDay = 86400;

std::size_t StartCount()
{
    if (const char* text = std::getenv("VELTRIN_BENCH_STARTS")) {
        const long value = std::strtol(text, nullptr, 10);
        if (value > 0)
            return static_cast<std::size_t>(value);
    }
    return kStarts;
}

// Flight `k` of the fifty: length and rate spread over their ranges.
sim::StartSettings FlightSettings(std::size_t k)
{
    sim::StartSettings settings;
    settings.flight.seed = 7919 * k + 11;
    settings.flight.rateHz = kRates[k % kRates.size()];
    const double minutes =
        20.0 + 70.0 * static_cast<double>((k * 37) % kFlights) / static_cast<double>(kFlights - 1);
    settings.flight.durationS = minutes * 60.0;
    settings.samples = sim::SamplesFor(settings.flight.durationS, settings.flight.rateHz);
    return settings;
}

}  // namespace

AircraftLimits RecorderLimits()
{
    const sim::RecorderSetup setup;
    return {setup.negativeLoadLimit, setup.positiveLoadLimit, setup.speedLimit};
}

const RealisticCard& ThousandStartCard()
{
    static const test::TempDir folder("veltrin-bench-analysis");
    static const RealisticCard card = [] {
        RealisticCard made;
        const std::filesystem::path flights = folder.path() / "flights";
        std::filesystem::create_directories(flights);
        std::vector<std::filesystem::path> written;
        std::vector<std::uint64_t> sizes;
        for (std::size_t k = 0; k < kFlights; ++k) {
            sim::StartSettings settings = FlightSettings(k);
            settings.startTime = kFirstDay;
            std::string name = "F";
            AppendInt(name, static_cast<long long>(k), 2, true);
            const auto path = flights / (name + ".LOG");
            const sim::StartResult result = sim::WriteStart(path, settings, sim::RecorderSetup{});
            written.push_back(path);
            sizes.push_back(result.bytes);
        }
        const std::filesystem::path base = folder.path() / "VELT";
        const std::size_t count = StartCount();
        std::uint64_t largest = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const auto dayIndex = static_cast<CalendarSeconds>(i / kStartsPerDay);
            const auto slot = static_cast<long long>(i % kStartsPerDay);
            std::string day = "D";
            AppendInt(day, 23 + dayIndex / 336, 2, true);
            AppendInt(day, 1 + dayIndex / 28 % 12, 2, true);
            AppendInt(day, 1 + dayIndex % 28, 2, true);
            std::string name = "S";
            AppendInt(name, 7 + slot * 3 / 2, 2, true);
            AppendInt(name, slot % 2 * 30, 2, true);
            name += "00.LOG";
            const std::filesystem::path dir = base / day;
            std::filesystem::create_directories(dir);
            const std::size_t flight = (i * 7) % kFlights;
            std::filesystem::copy_file(written[flight], dir / name);
            StartFile file;
            file.path = dir / name;
            file.startTime = kFirstDay + dayIndex * kDay + 25200 + slot * 5400;
            made.files.push_back(file);
            made.bytes += sizes[flight];
            if (sizes[flight] > largest) {
                largest = sizes[flight];
                made.longest = i;
            }
        }
        return made;
    }();
    return card;
}

}  // namespace veltrin::bench
