#include "data/start_rules.h"

#include "data/start_data_stream.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace veltrin {
namespace {

StartRecord WithSamples(const std::vector<double>& accZ)
{
    StartRecord start;
    for (const double a : accZ) {
        Sample s;
        s.accZ = a;
        s.ias = a * 10;
        s.altitude = a * 100;
        ApplyStatistics(start, s);
        start.samples.push_back(s);
    }
    return start;
}

TEST(ApplyStatistics, ExtremesOfAllSamples)
{
    const StartRecord start = WithSamples({1.0, 2.5, -0.5, 1.0});
    EXPECT_EQ(start.minAccZ, -0.5);
    EXPECT_EQ(start.maxAccZ, 2.5);
    EXPECT_EQ(start.maxIas, 25.0);
    EXPECT_EQ(start.maxAltitude, 250.0);

    // The first sample initialises every value, even when they are all negative.
    const StartRecord single = WithSamples({-1.1});
    EXPECT_EQ(single.minAccZ, -1.1);
    EXPECT_EQ(single.maxAccZ, -1.1);
    EXPECT_EQ(single.maxIas, -11.0);
}

TEST(ApplyEventRule, MarksTheFirstSampleAfterAPause)
{
    struct Step {
        std::int32_t timeMs;
        int flags;
        bool marked;
    };
    const Step steps[] = {{1000, 1, false}, {3500, 1, true},   {4000, 1, false}, {5000, 0, false},
                          {9000, 3, true},  {11000, 1, false}, {13001, 1, true}, {20000, 2, false}};
    std::int32_t last = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.timeMs);
        Sample s;
        s.timeMs = step.timeMs;
        EXPECT_EQ(ApplyEventRule(s, step.flags, last), step.marked);
        EXPECT_EQ(s.eventMark, step.marked);
    }
    EXPECT_EQ(last, 13001);

    std::int32_t nearLimit = 2147483000;
    Sample late;
    late.timeMs = 2147483647;
    EXPECT_FALSE(ApplyEventRule(late, 1, nearLimit));  // no overflow in the comparison
}

TEST(ApplyLandingRule, KeepsTheStartDate)
{
    StartRecord start;
    start.startTime = 1345991702;  // 26.08.2012 14:35:02 UTC
    ApplyLandingRule(start, 153012);
    EXPECT_EQ(start.landingTime, 1345995012);
    ApplyLandingRule(start, 5);
    EXPECT_EQ(start.landingTime, 1345939205);  // 00:00:05 the same day

    StartRecord negative;
    negative.startTime = -10;
    negative.landingTime = 77;
    ApplyLandingRule(negative, 120000);
    EXPECT_EQ(negative.landingTime, 77);
}

TEST(ApplyLandingRule, TellsWhetherTheValueIsATimeOfDay)
{
    const struct {
        int value;
        bool timeOfDay;
    } cases[] = {{0, true},       {5, true},     {153012, true},  {235959, true},
                 {240000, false}, {7000, false}, {6000, false},   {5960, false},
                 {-3456, false},  {-1, false},   {764039, false}, {2147483647, false}};
    for (const auto& c : cases) {
        StartRecord start;
        start.startTime = 1345991702;
        ApplyLandingRule(start, c.value);
        EXPECT_EQ(start.landingIsTimeOfDay, c.timeOfDay) << c.value;
        EXPECT_NE(start.landingTime, 0) << c.value;  // the start list's rule is unchanged
    }
    // The last landing sentence of a file decides; a file without one has none.
    StartRecord start;
    start.startTime = 1345991702;
    LoadStartDataFromBytes(start, test::Framed("$VLTLD,100,0,153012") + "\n" +
                                      test::Framed("$VLTLD,100,0,-3456") + "\n");
    EXPECT_FALSE(start.landingIsTimeOfDay);
    start.landingIsTimeOfDay = true;
    LoadStartDataFromBytes(start, test::Framed("$VLTDR,1,0,0,1.0,50,0,0,100,0") + "\n");
    EXPECT_FALSE(start.landingIsTimeOfDay);
}

std::deque<GpsFix> Fixes(const std::vector<std::pair<bool, double>>& validAndTime,
                         const std::vector<double>& latitudes)
{
    std::deque<GpsFix> fixes;
    for (std::size_t i = 0; i < validAndTime.size(); ++i) {
        GpsFix fix;
        fix.valid = validAndTime[i].first;
        fix.utcTime = validAndTime[i].second;
        fix.latitude = latitudes[i];
        fix.longitude = latitudes[i] / 4;
        fixes.push_back(fix);
    }
    return fixes;
}

TEST(PositionAt, InterpolatesInTimeBetweenValidFixes)
{
    const auto fixes =
        Fixes({{true, 100}, {false, 101}, {false, 102}, {true, 104}}, {48.0, 0, 0, 48.4});
    EXPECT_DOUBLE_EQ(PositionAt(fixes, 0).latitude, 48.0);
    EXPECT_DOUBLE_EQ(PositionAt(fixes, 1).latitude, 48.1);
    EXPECT_DOUBLE_EQ(PositionAt(fixes, 2).latitude, 48.2);
    EXPECT_DOUBLE_EQ(PositionAt(fixes, 2).longitude, 12.05);
    EXPECT_DOUBLE_EQ(PositionAt(fixes, 3).latitude, 48.4);
}

TEST(PositionAt, EdgesAndGaps)
{
    const auto runs =
        Fixes({{false, 1}, {false, 2}, {true, 3}, {true, 4}, {false, 5}}, {9, 9, 47.0, 47.5, 9});
    EXPECT_EQ(PositionAt(runs, 0).latitude, 47.0);  // leading run: first valid fix
    EXPECT_EQ(PositionAt(runs, 1).latitude, 47.0);
    EXPECT_EQ(PositionAt(runs, 4).latitude, 47.5);  // trailing run: last valid fix
    EXPECT_EQ(PositionAt(runs, -1).latitude, 0.0);
    EXPECT_EQ(PositionAt(runs, 5).latitude, 0.0);

    const auto none = Fixes({{false, 1}, {false, 2}}, {9, 9});
    EXPECT_EQ(PositionAt(none, 0).latitude, 0.0);
    EXPECT_EQ(PositionAt(none, 1).longitude, 0.0);
    EXPECT_EQ(PositionAt({}, 0).latitude, 0.0);
}

TEST(PositionAt, EqualBracketTimesTakeTheEarlierFix)
{
    const auto fixes = Fixes({{true, 100}, {false, 100}, {true, 100}}, {48.0, 0, 49.0});
    const Position p = PositionAt(fixes, 1);
    EXPECT_EQ(p.latitude, 48.0);
    EXPECT_EQ(p.longitude, 12.0);

    const auto infinite = Fixes({{true, 0}, {false, INFINITY}, {true, 1}}, {48.0, 0, 49.0});
    EXPECT_TRUE(std::isfinite(PositionAt(infinite, 1).latitude));
}

TEST(PositionAt, GapAcrossMidnightIsNotUnwrapped)
{
    const auto fixes = Fixes({{true, 86399}, {false, 0.5}, {true, 1}}, {48.0, 0, 48.2});
    const Position p = PositionAt(fixes, 1);
    EXPECT_TRUE(std::isfinite(p.latitude));
    EXPECT_NEAR(p.latitude, 48.0 + (0.5 - 86399) / (1 - 86399.0) * 0.2, 1e-9);
}

}  // namespace
}  // namespace veltrin
