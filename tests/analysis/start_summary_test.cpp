#include "analysis/start_summary.h"

#include "analysis/exceedances.h"
#include "analysis/flight_events.h"
#include "data/number_format.h"
#include "data/start_reader.h"
#include "support/framed_sentence.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

namespace veltrin {
namespace {

using test::Framed;
using test::TempDir;

constexpr AircraftLimits kLimits{-1.5, 3.8, 240.0};
constexpr CalendarSeconds kFirstStart = 1436954400;  // 15.07.2015 10:00:00 UTC

// "$VLTDR" line of sample `i` of start `seed`: a flight with pull-ups, pushes
// and dives, the event flag set while the load is beyond 3.5 g or below -1 g.
std::string SampleLine(int seed, int i, int stepMs)
{
    const double phase = (i + seed * 17) * 0.05;
    const double accZ = 1.0 + 3.2 * std::sin(phase) * std::sin(phase * 0.13 + seed);
    const double ias = 150.0 + 95.0 * std::sin(phase * 0.07 + seed * 0.5);
    const int altitude = 300 + (i * 7 + seed * 131) % 1800;
    std::string line = "$VLTDR,";
    AppendFixed(line, (1200.0 + i * stepMs - seed * 3000.0) / 1000.0, 3);
    line += ",0.01,-0.02,";
    AppendFixed(line, accZ, 2);
    line += ',';
    AppendFixed(line, ias, 1);
    line += ",0.0,15.0,";
    AppendInt(line, altitude);
    line += accZ > 3.5 || accZ < -1.0 ? ",1" : ",0";
    return Framed(line);
}

// The data file of start `seed`: varied length, sample step and line ends,
// GPS fixes, a landing line, and lines a damaged card holds now and then.
std::string StartText(int seed)
{
    const int samples = 40 + (seed * 397) % 2600;
    const int stepMs = seed % 3 == 0 ? 100 : 40;
    const std::string end = seed % 2 == 0 ? "\r\n" : "\n";
    std::string text;
    for (int i = 0; i < samples; ++i) {
        if (i % 25 == 0) {
            text += Framed("$GPGGA,100000,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
            text += end;
        }
        std::string line = SampleLine(seed, i, stepMs);
        if (seed % 5 == 1 && i % 97 == 3)
            line.back() = line.back() == '0' ? '1' : '0';  // a wrong checksum
        if (seed % 7 == 2 && i % 211 == 5)
            line.resize(line.size() / 2);  // a line cut short
        if (seed % 11 == 4 && i == samples / 2)
            line += std::string(300, 'x');  // an overlong line
        text += line + end;
    }
    if (seed % 4 != 3) {
        std::string landing = "$VLTLD,100,1,10";
        AppendInt(landing, 10 + seed % 40);
        text += Framed(landing + "30") + end;
    }
    if (seed % 6 == 5)
        text += SampleLine(seed, samples, stepMs).substr(0, 20);  // a last line without end
    return text;
}

void Write(const std::filesystem::path& path, const std::string& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// What SummariseStart should give: the start read in full and its samples
// searched afterwards.
StartSummary FromLoadedStart(const StartFile& file, const std::optional<AircraftLimits>& limits)
{
    StartSummary summary;
    summary.file = file;
    StartRecord start;
    start.path = file.path;
    start.startTime = file.startTime;
    summary.read = ReadStartData(start);
    if (!summary.read.Ok())
        return summary;
    summary.landingTime = start.landingTime;
    summary.landingIsTimeOfDay = start.landingIsTimeOfDay;
    summary.minAccZ = start.minAccZ;
    summary.maxAccZ = start.maxAccZ;
    summary.maxIas = start.maxIas;
    summary.maxAltitude = start.maxAltitude;
    summary.sampleCount = start.samples.size();
    summary.eventMarks = static_cast<int>(std::count_if(
        start.samples.begin(), start.samples.end(), [](const Sample& s) { return s.eventMark; }));
    summary.events = static_cast<int>(FindEvents(start.samples).size());
    if (limits)
        summary.exceedances = static_cast<int>(FindExceedances(start.samples, *limits).size());
    return summary;
}

void ExpectSame(const StartSummary& a, const StartSummary& b)
{
    SCOPED_TRACE(a.file.path.string());
    EXPECT_EQ(a.file.path, b.file.path);
    EXPECT_EQ(a.file.startTime, b.file.startTime);
    EXPECT_EQ(a.read.error, b.read.error);
    EXPECT_EQ(a.read.reason, b.read.reason);
    EXPECT_EQ(a.landingTime, b.landingTime);
    EXPECT_EQ(a.landingIsTimeOfDay, b.landingIsTimeOfDay);
    EXPECT_EQ(a.minAccZ, b.minAccZ);
    EXPECT_EQ(a.maxAccZ, b.maxAccZ);
    EXPECT_EQ(a.maxIas, b.maxIas);
    EXPECT_EQ(a.maxAltitude, b.maxAltitude);
    EXPECT_EQ(a.sampleCount, b.sampleCount);
    EXPECT_EQ(a.eventMarks, b.eventMarks);
    EXPECT_EQ(a.events, b.events);
    EXPECT_EQ(a.exceedances, b.exceedances);
}

// A card of `count` starts, two an hour, with a folder and a missing file in
// place of two of them.
class GeneratedCard {
public:
    explicit GeneratedCard(int count)
    {
        for (int i = 0; i < count; ++i) {
            StartFile file;
            file.startTime = kFirstStart + i * 1800;
            std::string day = "D15071";
            AppendInt(day, 5 + i / 20);
            std::string name = "S";
            AppendInt(name, 100000 + i);
            name += ".LOG";
            file.path = dir_.path() / day / name;
            if (i == 7)
                std::filesystem::create_directories(file.path);
            else if (i != 19)
                Write(file.path, StartText(i));
            files_.push_back(file);
        }
    }
    const std::vector<StartFile>& Files() const { return files_; }

private:
    TempDir dir_{"veltrin-summary-test"};
    std::vector<StartFile> files_;
};

TEST(SummariseStart, EqualsTheFullyLoadedStart)
{
    const GeneratedCard card(24);
    int withEvents = 0;
    int withExceedances = 0;
    for (const StartFile& file : card.Files()) {
        for (const auto& limits : {std::optional<AircraftLimits>{}, std::optional{kLimits}}) {
            const StartSummary summary = SummariseStart(file, limits);
            ExpectSame(summary, FromLoadedStart(file, limits));
            withEvents += summary.events > 0 ? 1 : 0;
            withExceedances += summary.exceedances > 0 ? 1 : 0;
        }
    }
    // The generated starts hold what is compared.
    EXPECT_GT(withEvents, 20);
    EXPECT_GT(withExceedances, 10);
}

TEST(SummariseStart, UnreadableFileGivesOnlyTheReason)
{
    const GeneratedCard card(20);
    const StartSummary folder = SummariseStart(card.Files()[7], kLimits);
    EXPECT_EQ(folder.read.error, StartReadError::NotRegularFile);
    EXPECT_EQ(folder.sampleCount, 0U);
    const StartSummary missing = SummariseStart(card.Files()[19], kLimits);
    EXPECT_EQ(missing.read.error, StartReadError::CannotOpen);
    EXPECT_EQ(missing.read.reason, std::errc::no_such_file_or_directory);
    EXPECT_EQ(missing.file.startTime, card.Files()[19].startTime);
}

TEST(ReadStartData, ObserverSeesEverySampleAsKept)
{
    TempDir dir;
    StartRecord kept;
    kept.path = dir.path() / "S100000.LOG";
    Write(kept.path, StartText(3));
    ASSERT_TRUE(LoadStartData(kept));

    struct Collector final : SampleObserver {
        std::vector<Sample> seen;
        void OnSample(const Sample& sample) override { seen.push_back(sample); }
    };
    for (const bool keepSamples : {true, false}) {
        SCOPED_TRACE(keepSamples);
        Collector collector;
        StartRecord start;
        start.path = kept.path;
        ASSERT_TRUE(ReadStartData(start, {&collector, keepSamples}).Ok());
        ASSERT_EQ(collector.seen.size(), kept.samples.size());
        for (std::size_t i = 0; i < kept.samples.size(); ++i) {
            EXPECT_EQ(collector.seen[i].timeMs, kept.samples[i].timeMs);
            EXPECT_EQ(collector.seen[i].accZ, kept.samples[i].accZ);
            EXPECT_EQ(collector.seen[i].eventMark, kept.samples[i].eventMark);
            EXPECT_EQ(collector.seen[i].eventFlag, kept.samples[i].eventFlag);
        }
        EXPECT_EQ(start.minAccZ, kept.minAccZ);
        EXPECT_EQ(start.maxAccZ, kept.maxAccZ);
        EXPECT_EQ(start.maxIas, kept.maxIas);
        EXPECT_EQ(start.maxAltitude, kept.maxAltitude);
        EXPECT_EQ(start.landingTime, kept.landingTime);
        if (keepSamples) {
            EXPECT_TRUE(start.loaded);
            EXPECT_EQ(start.samples.size(), kept.samples.size());
            EXPECT_EQ(start.fixes.size(), kept.fixes.size());
        } else {
            // Nothing kept, and not taken for loaded: a later load reads the file.
            EXPECT_FALSE(start.loaded);
            EXPECT_TRUE(start.samples.empty());
            EXPECT_TRUE(start.fixes.empty());
            ASSERT_TRUE(LoadStartData(start));
            EXPECT_EQ(start.samples.size(), kept.samples.size());
        }
    }
}

std::vector<StartSummary> Serially(const std::vector<StartFile>& files,
                                   const std::optional<AircraftLimits>& limits)
{
    std::vector<StartSummary> summaries;
    for (std::size_t i = 0; i < files.size(); ++i) {
        summaries.push_back(SummariseStart(files[i], limits));
        summaries.back().index = i;
    }
    return summaries;
}

TEST(SummariseCard, ParallelEqualsSerial)
{
    const GeneratedCard card(40);
    const auto serial = Serially(card.Files(), kLimits);
    for (const unsigned threads : {1U, 2U, 3U, 0U, 64U}) {
        SCOPED_TRACE(threads);
        std::mutex mutex;
        std::vector<int> calls(card.Files().size(), 0);
        CardSummaryOptions options;
        options.limits = kLimits;
        options.threads = threads;
        options.onSummary = [&](const StartSummary& summary) {
            const std::lock_guard lock(mutex);
            ++calls.at(summary.index);
        };
        const auto parallel = SummariseCard(card.Files(), options);
        ASSERT_EQ(parallel.size(), serial.size());
        for (std::size_t i = 0; i < serial.size(); ++i) {
            EXPECT_EQ(parallel[i].index, i);
            ExpectSame(parallel[i], serial[i]);
        }
        EXPECT_EQ(std::count(calls.begin(), calls.end(), 1),
                  static_cast<std::ptrdiff_t>(calls.size()));
    }
}

TEST(SummariseCard, CancelledGivesCompleteSummariesOfWhatWasDone)
{
    const GeneratedCard card(40);
    const auto serial = Serially(card.Files(), std::nullopt);
    for (const unsigned threads : {1U, 2U, 4U}) {
        SCOPED_TRACE(threads);
        std::atomic<bool> cancel{false};
        std::atomic<int> calls{0};
        CardSummaryOptions options;
        options.threads = threads;
        options.cancel = &cancel;
        options.onSummary = [&](const StartSummary&) {
            if (++calls == 6)
                cancel = true;
        };
        const auto partial = SummariseCard(card.Files(), options);
        // Every start begun is finished and given back, none after the cancel.
        EXPECT_EQ(partial.size(), static_cast<std::size_t>(calls.load()));
        EXPECT_GE(partial.size(), 6U);
        EXPECT_LE(partial.size(), 6U + threads - 1U);
        for (std::size_t k = 0; k < partial.size(); ++k) {
            if (k > 0) {
                EXPECT_LT(partial[k - 1].index, partial[k].index);
            }
            ASSERT_LT(partial[k].index, serial.size());
            ExpectSame(partial[k], serial[partial[k].index]);
        }
    }
}

TEST(SummariseCard, NothingToDo)
{
    EXPECT_TRUE(SummariseCard({}, {}).empty());
    const GeneratedCard card(3);
    const std::atomic<bool> cancel{true};
    CardSummaryOptions options;
    options.cancel = &cancel;
    options.onSummary = [](const StartSummary&) {
        ADD_FAILURE() << "no start is begun";
    };
    EXPECT_TRUE(SummariseCard(card.Files(), options).empty());
}

}  // namespace
}  // namespace veltrin
