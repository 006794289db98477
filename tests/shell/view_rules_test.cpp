#include "shell/view_rules.h"
#include "shell/status_texts.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <limits>

namespace veltrin {
namespace {

struct NiceSpanCase {
    double span;
    ZoomDirection direction;
    double factor;
    double newSpan, major, minor;
};

TEST(NiceSpan, StepsThroughNiceSpansBothWays)
{
    const NiceSpanCase cases[] = {
        {800, ZoomDirection::In, 5, 500, 100, 50},   {500, ZoomDirection::In, 5, 200, 50, 10},
        {200, ZoomDirection::In, 5, 100, 10, 5},     {100, ZoomDirection::In, 5, 50, 10, 5},
        {50, ZoomDirection::Out, 5, 100, 10, 5},     {500, ZoomDirection::In, 4, 200, 50, 10},
        {100, ZoomDirection::Out, 5, 200, 50, 10},   {200, ZoomDirection::Out, 5, 500, 100, 50},
        {500, ZoomDirection::Out, 5, 1000, 100, 50}, {800, ZoomDirection::Out, 4, 1000, 100, 50},
        {-800, ZoomDirection::In, 5, -500, 100, 50},
    };
    for (const NiceSpanCase& c : cases) {
        const NiceSpanResult r = NiceSpan(c.span, c.direction, c.factor);
        EXPECT_DOUBLE_EQ(r.span, c.newSpan) << c.span;
        EXPECT_DOUBLE_EQ(r.majorStep, c.major) << c.span;
        EXPECT_DOUBLE_EQ(r.minorStep, c.minor) << c.span;
    }
}

TEST(NiceSpan, ZeroSpanStaysWithoutSteps)
{
    const NiceSpanResult r = NiceSpan(0.0, ZoomDirection::In, 5);
    EXPECT_EQ(r.span, 0.0);
    EXPECT_EQ(r.majorStep, 0.0);
    EXPECT_EQ(r.minorStep, 0.0);
}

TEST(TimeStepFor, GrowsStrictlyAboveEachLimit)
{
    const std::pair<int, int> cases[] = {{0, 10},     {200, 10},    {201, 50},
                                         {1000, 50},  {1001, 100},  {3000, 100},
                                         {3001, 500}, {10000, 500}, {10001, 1000}};
    for (const auto& [seconds, step] : cases)
        EXPECT_EQ(TimeStepFor(seconds), step) << seconds;
}

ValueExtremes Extremes(std::initializer_list<double> values)
{
    ValueExtremes extremes;
    for (double value : values)
        extremes.Add(value);
    return extremes;
}

struct RangeCase {
    const char* what;
    ValueRange configured;
    double majorStep;
    ValueExtremes data;
    ValueRange expected;
};

TEST(RangeHolding, RegressionValuesBeyondTheConfiguredRangeAreCutOff)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const RangeCase cases[] = {
        {"fits", {0, 2000}, 500, Extremes({12, 1980}), {0, 2000}},
        {"fits exactly", {-10, 10}, 5, Extremes({-10, 10}), {-10, 10}},
        {"no data", {0, 300}, 50, Extremes({}), {0, 300}},
        {"high flight", {0, 2000}, 500, Extremes({2600, 2970}), {0, 3000}},
        {"on a major step", {0, 2000}, 500, Extremes({900, 2500}), {0, 2500}},
        {"fast", {0, 300}, 50, Extremes({0, 300.4}), {0, 350}},
        {"hard landing", {-10, 10}, 5, Extremes({-12.5, 1}), {-15, 10}},
        {"both ends", {-10, 10}, 5, Extremes({-10.1, 16}), {-15, 20}},
        {"below zero", {0, 2000}, 500, Extremes({-30, 800}), {-500, 2000}},
        {"non-finite left out", {0, 300}, 50, Extremes({nan, inf, -inf, 120}), {0, 300}},
        {"no step", {0, 300}, 0, Extremes({900}), {0, 300}},
    };
    for (const RangeCase& c : cases) {
        const ValueRange r = RangeHolding(c.configured, c.majorStep, c.data);
        EXPECT_EQ(r.yMin, c.expected.yMin) << c.what;
        EXPECT_EQ(r.yMax, c.expected.yMax) << c.what;
    }
}

TEST(MarkerText, RoundsLikeTheReadOutFormat)
{
    EXPECT_EQ(MarkerText(12.345, 1.23, 150.4, 820.6),
              "Mark:  12.3 sec     1.2 g     150 km/h     821 m");
    EXPECT_EQ(MarkerText(0.0, -0.45, 0.0, 0.0), "Mark:   0.0 sec    -0.5 g       0 km/h       0 m");
}

}  // namespace
}  // namespace veltrin
