#include "shell/status_texts.h"
#include "shell/view_rules.h"

#include <gtest/gtest.h>

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
        {800, ZoomDirection::In, 5, 500, 100, 50},
        {500, ZoomDirection::In, 5, 200, 50, 10},
        {200, ZoomDirection::In, 5, 100, 10, 5},
        {100, ZoomDirection::In, 5, 50, 10, 5},
        {50, ZoomDirection::Out, 5, 100, 10, 5},
        {500, ZoomDirection::In, 4, 200, 50, 10},
        {100, ZoomDirection::Out, 5, 200, 50, 10},
        {200, ZoomDirection::Out, 5, 500, 100, 50},
        {500, ZoomDirection::Out, 5, 1000, 100, 50},
        {800, ZoomDirection::Out, 4, 1000, 100, 50},
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
    const std::pair<int, int> cases[] = {{0, 10},    {200, 10},   {201, 50},    {1000, 50},
                                         {1001, 100}, {3000, 100}, {3001, 500}, {10000, 500},
                                         {10001, 1000}};
    for (const auto& [seconds, step] : cases)
        EXPECT_EQ(TimeStepFor(seconds), step) << seconds;
}

TEST(MarkerText, RoundsLikeTheReadOutFormat)
{
    EXPECT_EQ(MarkerText(12.345, 1.23, 150.4, 820.6),
              "Mark:  12.3 sec     1.2 g     150 km/h     821 m");
    EXPECT_EQ(MarkerText(0.0, -0.45, 0.0, 0.0),
              "Mark:   0.0 sec    -0.5 g       0 km/h       0 m");
}

}  // namespace
}  // namespace veltrin
