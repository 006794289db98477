#include "analysis/flight_events.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <limits>
#include <vector>

namespace veltrin {
namespace {

Sample At(std::int32_t timeMs, bool flag, double accZ = 1.0, double ias = 100.0,
          double altitude = 500.0)
{
    Sample sample;
    sample.timeMs = timeMs;
    sample.eventFlag = flag;
    sample.accZ = accZ;
    sample.ias = ias;
    sample.altitude = altitude;
    return sample;
}

TEST(FindEvents, MergeRuleAtTwoThousandMilliseconds)
{
    // 2000 ms between two flagged samples joins them; 2001 ms does not.
    const std::deque<Sample> samples = {At(0, false), At(1000, true), At(3000, true),
                                        At(5001, true)};
    const auto events = FindEvents(samples);
    ASSERT_EQ(events.size(), 2U);
    EXPECT_DOUBLE_EQ(events[0].time, 1.0);
    EXPECT_DOUBLE_EQ(events[0].duration, 2.0);
    EXPECT_EQ(events[0].firstSample, 1U);
    EXPECT_EQ(events[0].lastSample, 2U);
    EXPECT_DOUBLE_EQ(events[1].time, 5.001);
    EXPECT_DOUBLE_EQ(events[1].duration, 0.0);
    EXPECT_EQ(events[1].firstSample, 3U);
}

TEST(FindEvents, UnflaggedSamplesInsideCountTowardsExtremes)
{
    const std::deque<Sample> samples = {
        At(0, true, 4.0, 150.0, 700.0), At(500, false, -1.2, 120.0, 710.0),
        At(1000, false, 6.5, 230.0, 720.0), At(1500, true, 4.1, 140.0, 730.0),
        // After the last flagged sample: not part of the event.
        At(2000, false, 9.0, 300.0, 740.0), At(5000, false, -5.0, 10.0, 750.0)};
    const auto events = FindEvents(samples);
    ASSERT_EQ(events.size(), 1U);
    EXPECT_DOUBLE_EQ(events[0].minAccZ, -1.2);
    EXPECT_DOUBLE_EQ(events[0].maxAccZ, 6.5);
    EXPECT_DOUBLE_EQ(events[0].maxIas, 230.0);
    EXPECT_DOUBLE_EQ(events[0].altitude, 700.0);
    EXPECT_DOUBLE_EQ(events[0].duration, 1.5);
    EXPECT_EQ(events[0].lastSample, 3U);
}

TEST(FindEvents, UnflaggedSamplesOfAGapBelongToNoEvent)
{
    // The unflagged samples between two events are nobody's extremes.
    const std::deque<Sample> samples = {At(0, true, 3.0, 100.0), At(1000, false, 9.0, 400.0),
                                        At(2500, false, -9.0, 400.0), At(4000, true, 2.0, 90.0)};
    const auto events = FindEvents(samples);
    ASSERT_EQ(events.size(), 2U);
    EXPECT_DOUBLE_EQ(events[0].maxAccZ, 3.0);
    EXPECT_DOUBLE_EQ(events[0].maxIas, 100.0);
    EXPECT_DOUBLE_EQ(events[1].minAccZ, 2.0);
    EXPECT_DOUBLE_EQ(events[1].maxIas, 90.0);
    EXPECT_DOUBLE_EQ(events[1].time, 4.0);
}

TEST(FindEvents, EventsAtFirstAndLastSample)
{
    const std::deque<Sample> samples = {At(100, true, 4.0, 150.0, 300.0), At(200, true, 4.2),
                                        At(10000, false), At(20000, true, -2.0, 90.0, 800.0)};
    const auto events = FindEvents(samples);
    ASSERT_EQ(events.size(), 2U);
    EXPECT_DOUBLE_EQ(events[0].time, 0.0);
    EXPECT_DOUBLE_EQ(events[0].duration, 0.1);
    EXPECT_EQ(events[0].firstSample, 0U);
    EXPECT_DOUBLE_EQ(events[1].time, 19.9);
    EXPECT_DOUBLE_EQ(events[1].altitude, 800.0);
    EXPECT_EQ(events[1].firstSample, 3U);
    EXPECT_EQ(events[1].lastSample, 3U);
}

TEST(FindEvents, SingleSampleEventHasNoDuration)
{
    const auto events = FindEvents({At(0, false), At(40, true, 5.5, 180.0, 650.0), At(80, false)});
    ASSERT_EQ(events.size(), 1U);
    EXPECT_DOUBLE_EQ(events[0].duration, 0.0);
    EXPECT_DOUBLE_EQ(events[0].minAccZ, 5.5);
    EXPECT_DOUBLE_EQ(events[0].maxAccZ, 5.5);
    EXPECT_DOUBLE_EQ(events[0].maxIas, 180.0);
    EXPECT_DOUBLE_EQ(events[0].time, 0.04);
}

TEST(FindEvents, NoFlagsNoEvents)
{
    EXPECT_TRUE(FindEvents({}).empty());
    EXPECT_TRUE(FindEvents({At(0, false), At(40, false)}).empty());
}

TEST(FindEvents, NegativeAndHugeRecorderTimes)
{
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    {
        // Times below zero: the merge rule and the times work the same.
        const auto events = FindEvents(
            {At(-10000, false), At(-6000, true), At(-4000, true), At(-1999, true), At(1, true)});
        ASSERT_EQ(events.size(), 2U);
        EXPECT_DOUBLE_EQ(events[0].time, 4.0);
        EXPECT_DOUBLE_EQ(events[0].duration, 2.0);
        EXPECT_DOUBLE_EQ(events[1].time, 8.001);
        EXPECT_DOUBLE_EQ(events[1].duration, 2.0);
    }
    {
        // From the lowest to the highest time stamp: a 32-bit difference
        // would wrap round to -1 and join the two.
        const auto events = FindEvents({At(kMin, true), At(kMax, true)});
        ASSERT_EQ(events.size(), 2U);
        EXPECT_DOUBLE_EQ(events[1].time, 4294967.295);
    }
    {
        // Near the top of the range 2000 ms still joins.
        const auto events = FindEvents({At(kMax - 2000, true), At(kMax, true)});
        ASSERT_EQ(events.size(), 1U);
        EXPECT_DOUBLE_EQ(events[0].duration, 2.0);
    }
}

// The events as the rule reads, found the slow way: flagged samples grouped
// by the gaps between them, extremes over each group's whole range.
std::vector<FlightEvent> EventsTheSlowWay(const std::deque<Sample>& samples)
{
    std::vector<FlightEvent> events;
    std::vector<std::size_t> flagged;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (samples[i].eventFlag)
            flagged.push_back(i);
    }
    for (std::size_t k = 0; k < flagged.size();) {
        std::size_t end = k;
        while (end + 1 < flagged.size() &&
               samples[flagged[end + 1]].timeMs - samples[flagged[end]].timeMs <= 2000)
            ++end;
        FlightEvent event;
        event.firstSample = flagged[k];
        event.lastSample = flagged[end];
        event.minAccZ = event.maxAccZ = samples[event.firstSample].accZ;
        event.maxIas = samples[event.firstSample].ias;
        for (std::size_t i = event.firstSample; i <= event.lastSample; ++i) {
            event.minAccZ = std::min(event.minAccZ, samples[i].accZ);
            event.maxAccZ = std::max(event.maxAccZ, samples[i].accZ);
            event.maxIas = std::max(event.maxIas, samples[i].ias);
        }
        events.push_back(event);
        k = end + 1;
    }
    return events;
}

TEST(FindEvents, AgreesWithTheRuleOnAVariedRecording)
{
    // Flag runs and gaps of many lengths, sample steps of 40 to 760 ms.
    std::deque<Sample> samples;
    std::int32_t timeMs = 5000;
    std::uint32_t noise = 12345;
    for (int i = 0; i < 5000; ++i) {
        noise = noise * 1103515245U + 12345U;
        const int step = 40 + static_cast<int>((noise >> 8) % 20) * 40;
        timeMs += step;
        const bool flag = (noise >> 20) % 7 < 2;
        samples.push_back(At(timeMs, flag, static_cast<double>((noise >> 4) % 200) / 20.0 - 3.0,
                             static_cast<double>((noise >> 12) % 300), i));
    }
    const auto expected = EventsTheSlowWay(samples);
    const auto found = FindEvents(samples);
    ASSERT_GT(expected.size(), 100U);
    ASSERT_EQ(found.size(), expected.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(found[i].firstSample, expected[i].firstSample);
        EXPECT_EQ(found[i].lastSample, expected[i].lastSample);
        EXPECT_EQ(found[i].minAccZ, expected[i].minAccZ);
        EXPECT_EQ(found[i].maxAccZ, expected[i].maxAccZ);
        EXPECT_EQ(found[i].maxIas, expected[i].maxIas);
    }
}

}  // namespace
}  // namespace veltrin
