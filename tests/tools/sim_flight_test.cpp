// Single generated starts: the benchmark flight of an exact sample count, cut
// recordings, and flights of many seeds that must all land and park.
#include "sim/start_writer.h"

#include "data/calendar.h"
#include "data/sentence_parser.h"
#include "data/start_reader.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace veltrin {
namespace {

using sim::StartSettings;
using test::TempDir;

StartSettings Flight(std::uint64_t seed, double seconds, int rateHz)
{
    StartSettings settings;
    settings.startTime = ToCalendarSeconds(CivilTime{2025, 6, 14, 6, 0, 0});
    settings.flight.seed = seed;
    settings.flight.durationS = seconds;
    settings.flight.rateHz = rateHz;
    settings.samples = sim::SamplesFor(seconds, rateHz);
    return settings;
}

StartRecord Load(const std::filesystem::path& file)
{
    StartRecord start;
    start.path = file;
    start.startTime = ToCalendarSeconds(CivilTime{2025, 6, 14, 6, 0, 0});
    EXPECT_TRUE(LoadStartData(start));
    return start;
}

std::size_t CountLines(const std::filesystem::path& file, std::string_view identifier)
{
    std::size_t count = 0;
    for (const auto& line : test::SplitLines(test::ReadBytes(file))) {
        count += line.rfind(identifier, 0) == 0 ? 1U : 0U;
    }
    return count;
}

TEST(SimFlight, WritesExactlyTheRequestedNumberOfSamples)
{
    TempDir dir;
    const auto file = dir.path() / "S060000.LOG";
    StartSettings settings = Flight(4, 0.0, 25);
    settings.samples = 30001;
    settings.flight.durationS = static_cast<double>(settings.samples) / 25.0;
    const auto result = sim::WriteStart(file, settings, sim::RecorderSetup{});
    ASSERT_TRUE(result.written);
    EXPECT_EQ(result.samples, 30001);
    EXPECT_EQ(result.bytes, std::filesystem::file_size(file));
    const auto start = Load(file);
    ASSERT_EQ(start.samples.size(), 30001U);
    EXPECT_EQ(start.samples[30000].timeMs - start.samples[0].timeMs, 30000 * 40);
    // One GGA per second of the recording.
    EXPECT_EQ(start.fixes.size(), 1201U);
    EXPECT_NE(start.landingTime, 0);
}

TEST(SimFlight, RecordingCutBeforeTheLandingHasNoLandingTime)
{
    TempDir dir;
    const auto file = dir.path() / "S060000.LOG";
    const auto result = sim::WriteStart(file, Flight(2, 60.0, 10), sim::RecorderSetup{});
    ASSERT_TRUE(result.written);
    EXPECT_EQ(result.touchdown, -1);
    EXPECT_EQ(CountLines(file, "$VLTLD"), 0U);
    const auto start = Load(file);
    EXPECT_EQ(start.samples.size(), 600U);
    EXPECT_EQ(start.landingTime, 0);
}

TEST(SimFlight, EveryFlightLandsOnTheRunwayAndParksBeforeItsRecordingEnds)
{
    TempDir dir;
    // Short circuits, cruises with manoeuvres, and a long tour with an orbit down.
    const struct {
        double seconds;
        int rate;
    } lengths[] = {{420.0, 10}, {600.0, 25}, {900.0, 20}, {2400.0, 10}, {7200.0, 10}};
    for (std::uint64_t seed = 1; seed <= 6; ++seed) {
        for (const auto& length : lengths) {
            SCOPED_TRACE("seed " + std::to_string(seed) + ", " + std::to_string(length.seconds) +
                         " s");
            const auto file = dir.path() / "S060000.LOG";
            const auto settings = Flight(seed, length.seconds, length.rate);
            const auto result = sim::WriteStart(file, settings, sim::RecorderSetup{});
            ASSERT_TRUE(result.written);
            ASSERT_GE(result.touchdown, settings.startTime);
            EXPECT_EQ(CountLines(file, "$VLTLD"), 1U);
            const auto start = Load(file);
            EXPECT_EQ(start.landingTime, result.touchdown);
            EXPECT_GE(start.minAccZ, -2.05);
            EXPECT_LE(start.maxAccZ, 5.05);
            EXPECT_LE(start.maxIas, 260.0);
            EXPECT_LE(start.maxAltitude, 2500.0);
            // Parked at the end: no speed, on the airfield.
            EXPECT_EQ(start.samples.back().ias, 0.0);
            EXPECT_NEAR(start.samples.back().altitude, 118.0, 3.0);
            EXPECT_TRUE(start.fixes.back().valid);
        }
    }
}

TEST(SimFlight, OverloadRunsAreLoggedOnceWithTheirPeak)
{
    TempDir dir;
    const auto file = dir.path() / "S060000.LOG";
    sim::RecorderSetup setup;
    const auto result = sim::WriteStart(file, Flight(8, 1800.0, 20), setup);
    ASSERT_TRUE(result.written);
    ASSERT_FALSE(result.events.empty());
    EXPECT_EQ(CountLines(file, "$VLTEV"), result.events.size());
    const auto start = Load(file);
    for (const auto& event : result.events) {
        switch (event.type) {
        case sim::EventType::PositiveLoad:
            EXPECT_GT(event.peak, setup.positiveLoadLimit);
            EXPECT_LE(event.peak, start.maxAccZ + 1e-6);  // samples hold single precision
            break;
        case sim::EventType::NegativeLoad:
            EXPECT_LT(event.peak, setup.negativeLoadLimit);
            EXPECT_GE(event.peak, start.minAccZ - 1e-6);
            break;
        case sim::EventType::Speed: EXPECT_GT(event.peak, setup.speedLimit); break;
        }
        EXPECT_GE(event.time, start.startTime);
        EXPECT_LT(event.time, start.startTime + 1800);
    }
    // Every flagged sample lies beyond a limit, and every such sample is flagged.
    Sentence sentence;
    for (const auto& line : test::SplitLines(test::ReadBytes(file))) {
        if (line.rfind("$VLTDR", 0) != 0) {
            continue;
        }
        ASSERT_TRUE(ParseSentence(sentence, std::string_view(line.data(), line.size() - 2)));
        const auto* dr = sentence.Get<DrFields>();
        ASSERT_NE(dr, nullptr);
        const bool beyond = dr->accZ > setup.positiveLoadLimit ||
                            dr->accZ < setup.negativeLoadLimit || dr->ias > setup.speedLimit;
        ASSERT_EQ(dr->flags == 1, beyond) << line;
    }
}

}  // namespace
}  // namespace veltrin
