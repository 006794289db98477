#include "shell/time_range_rules.h"
#include "shell/limits_dialog.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

namespace veltrin {
namespace {

TEST(RangeAroundPart, ShortPartsGetTheMarginLongOnesAQuarterOfTheirLength)
{
    const struct {
        double from, to, xMin, xMax;
    } cases[] = {
        {10, 10, 8, 12},      // a single sample
        {10, 14, 8, 16},      // a quarter is 1 s: the margin wins
        {100, 140, 90, 150},  // a quarter is 10 s
    };
    for (const auto& c : cases) {
        const TimeRange range = RangeAroundPart(c.from, c.to);
        EXPECT_DOUBLE_EQ(range.xMin, c.xMin) << c.from << ".." << c.to;
        EXPECT_DOUBLE_EQ(range.xMax, c.xMax) << c.from << ".." << c.to;
    }
}

TEST(ShowableRange, WidensAboutTheMiddleAndStaysInsideTheStart)
{
    const struct {
        double from, to, lastSecond, xMin, xMax;
    } cases[] = {
        {20, 24, 100, 17, 27},    // widened to 10 s about 22
        {20, 60, 100, 20, 60},    // wide enough: kept
        {-2, 2, 100, 0, 10},      // would begin before 0
        {95, 99, 100, 90, 100},   // would end after the start
        {98, 104, 100, 90, 100},  // margin past the end
        {2, 6, 5, 0, 10},         // start shorter than the span: from 0
    };
    for (const auto& c : cases) {
        const TimeRange range = ShowableRange(c.from, c.to, 10, c.lastSecond);
        EXPECT_DOUBLE_EQ(range.xMin, c.xMin) << c.from << ".." << c.to;
        EXPECT_DOUBLE_EQ(range.xMax, c.xMax) << c.from << ".." << c.to;
    }
}

TEST(TimeTickStep, GivesAtMostTenStepsOfOneTwoOrFive)
{
    const struct {
        double span, step;
    } cases[] = {
        {0, 1},      {-5, 1},
        {4, 1},      {10, 1},
        {10.5, 2},   {20, 2},
        {21, 5},     {50, 5},
        {60, 10},    {100, 10},
        {150, 20},   {1000, 100},
        {3600, 500}, {std::numeric_limits<double>::quiet_NaN(), 1},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(TimeTickStep(c.span), c.step) << c.span;
}

TEST(ParseLimitText, ReadsDecimalNumbersWithPointOrCommaOnly)
{
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"-3.5", -3.5},
        {" 5,5 ", 5.5},
        {"+250", 250},
        {"250", 250},
        {".5", 0.5},
        {"-0", 0.0},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"abc", std::nullopt},
        {"5g", std::nullopt},
        {"1e3", std::nullopt},
        {"5..5", std::nullopt},
        {"5,5.0", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"2-", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseLimitText(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
}  // namespace veltrin
