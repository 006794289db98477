#include "analysis/exceedances.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <deque>
#include <limits>
#include <string>
#include <vector>

namespace veltrin {
namespace {

constexpr AircraftLimits kLimits{-1.5, 3.8, 240.0};

Sample At(std::int32_t timeMs, double accZ, double ias)
{
    Sample sample;
    sample.timeMs = timeMs;
    sample.accZ = accZ;
    sample.ias = ias;
    return sample;
}

// "+g 1.000 0.500 4.20": kind, time, duration and peak of each exceedance.
std::vector<std::string> Described(const std::vector<Exceedance>& found)
{
    std::vector<std::string> lines;
    for (const Exceedance& e : found) {
        char text[96];
        std::snprintf(text, sizeof text, "%s %.3f %.3f %.2f %zu-%zu",
                      std::string(ExceedanceKindText(e.kind)).c_str(), e.time, e.duration, e.peak,
                      e.firstSample, e.lastSample);
        lines.emplace_back(text);
    }
    return lines;
}

TEST(ExceedanceKindText, NamesEachKind)
{
    EXPECT_EQ(ExceedanceKindText(ExceedanceKind::PositiveLoad), "+g");
    EXPECT_EQ(ExceedanceKindText(ExceedanceKind::NegativeLoad), "-g");
    EXPECT_EQ(ExceedanceKindText(ExceedanceKind::Speed), "IAS");
}

TEST(FindExceedances, ValueEqualToALimitIsWithinIt)
{
    const std::deque<Sample> samples = {At(0, 3.8, 240.0), At(40, -1.5, 240.0), At(80, 1.0, 100.0)};
    EXPECT_TRUE(FindExceedances(samples, kLimits).empty());
    // Just beyond each limit, as a recorder value with two or one decimals.
    const std::deque<Sample> beyond = {At(0, 3.81, 100.0), At(40, -1.51, 100.0),
                                       At(80, 1.0, 240.1)};
    EXPECT_EQ(Described(FindExceedances(beyond, kLimits)),
              (std::vector<std::string>{"+g 0.000 0.000 3.81 0-0", "-g 0.040 0.000 -1.51 1-1",
                                        "IAS 0.080 0.000 240.10 2-2"}));
}

TEST(FindExceedances, RunsOfEachKindWithTheirPeaks)
{
    const std::deque<Sample> samples = {
        At(1000, 1.0, 100.0), At(1040, 4.0, 100.0),  At(1080, 4.6, 100.0), At(1120, 3.9, 100.0),
        At(1160, 1.0, 100.0), At(1200, -1.6, 100.0), At(1240, -2.4, 90.0), At(1280, -1.7, 80.0),
        At(1320, 1.0, 100.0), At(1360, 1.0, 245.0),  At(1400, 1.0, 251.5), At(1440, 1.0, 241.0),
        At(1480, 1.0, 200.0), At(1520, 4.2, 100.0),  At(1560, 1.0, 100.0)};
    EXPECT_EQ(
        Described(FindExceedances(samples, kLimits)),
        (std::vector<std::string>{"+g 0.040 0.080 4.60 1-3", "-g 0.200 0.080 -2.40 5-7",
                                  "IAS 0.360 0.080 251.50 9-11", "+g 0.520 0.000 4.20 13-13"}));
}

TEST(FindExceedances, OverlappingKindsOrderedByTimeThenKind)
{
    // A +g run inside a speed run; then a -g and a +g run each beginning at
    // the same sample as a speed run: at equal times "+g" and "-g" come
    // before "IAS".
    const std::deque<Sample> samples = {
        At(0, 1.0, 250.0),   At(40, 4.0, 260.0),   At(80, 4.5, 255.0),
        At(120, 1.0, 230.0), At(160, -2.0, 245.0), At(200, -1.8, 246.0),
        At(240, 1.0, 100.0), At(280, 4.0, 250.0),  At(320, 1.0, 100.0)};
    EXPECT_EQ(Described(FindExceedances(samples, kLimits)),
              (std::vector<std::string>{"IAS 0.000 0.080 260.00 0-2", "+g 0.040 0.040 4.50 1-2",
                                        "-g 0.160 0.040 -2.00 4-5", "IAS 0.160 0.040 246.00 4-5",
                                        "+g 0.280 0.000 4.00 7-7", "IAS 0.280 0.000 250.00 7-7"}));
}

TEST(FindExceedances, RunsOpenAtTheEndOfTheFileAreKept)
{
    const std::deque<Sample> samples = {At(0, 1.0, 100.0), At(40, 4.0, 250.0), At(80, 4.4, 260.0)};
    EXPECT_EQ(Described(FindExceedances(samples, kLimits)),
              (std::vector<std::string>{"+g 0.040 0.040 4.40 1-2", "IAS 0.040 0.040 260.00 1-2"}));
    const std::deque<Sample> negative = {At(0, 1.0, 100.0), At(40, -3.0, 100.0)};
    EXPECT_EQ(Described(FindExceedances(negative, kLimits)),
              (std::vector<std::string>{"-g 0.040 0.000 -3.00 1-1"}));
}

TEST(FindExceedances, NegativeAndHugeRecorderTimes)
{
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const std::deque<Sample> samples = {At(kMin, 1.0, 100.0), At(-20, 5.0, 100.0),
                                        At(kMax, 5.0, 100.0)};
    EXPECT_EQ(Described(FindExceedances(samples, kLimits)),
              (std::vector<std::string>{"+g 2147483.628 2147483.667 5.00 1-2"}));
}

TEST(FindExceedances, WithinTheLimitsNothing)
{
    EXPECT_TRUE(FindExceedances({}, kLimits).empty());
    EXPECT_TRUE(FindExceedances({At(0, 1.0, 100.0), At(40, 2.0, 200.0)}, kLimits).empty());
}

}  // namespace
}  // namespace veltrin
