#include "recorder/ui/limit_values.h"

#include <gtest/gtest.h>

#include <optional>

namespace veltrin {
namespace {

TEST(ParseLimit, ReadsLeadingNumberAndZeroForAnythingElse)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"250", 250.0}, {"-3.5", -3.5}, {" +5.5", 5.5}, {"5.5g", 5.5},
        {".5", 0.5},    {"", 0.0},      {"abc", 0.0},   {"-", 0.0},
        {"inf", 0.0},   {"nan", 0.0},   {"1e400", 0.0}, {"0x1A", 0.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(ParseLimit(c.text), c.value) << '"' << c.text << '"';
}

TEST(ParseLimit, RegressionDecimalCommaCutToAnInteger)
{
    // A German user typing "-3,5" means -3.5, not -3.
    EXPECT_DOUBLE_EQ(ParseLimit("-3,5"), -3.5);
    EXPECT_DOUBLE_EQ(ParseLimit("5,5"), 5.5);
}

TEST(ParseLimitField, TakesOnlyWholeDecimalNumbers)
{
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"250", 250.0},
        {"-3.5", -3.5},
        {"-3,5", -3.5},
        {" +5.5 ", 5.5},
        {".5", 0.5},
        {"5.", 5.0},
        {"0", 0.0},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"abc", std::nullopt},
        {"5..5", std::nullopt},
        {"5,5.5", std::nullopt},
        {"-", std::nullopt},
        {".", std::nullopt},
        {"5.5g", std::nullopt},
        {"1e3", std::nullopt},
        {"--3", std::nullopt},
        {"3-", std::nullopt},
        {"inf", std::nullopt},
        {"0x1A", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseLimitField(c.text), c.value) << '"' << c.text << '"';
}

TEST(LimitAsSent, RoundsToTheDigitsTheCommandWrites)
{
    EXPECT_DOUBLE_EQ(LimitAsSent(-3.5, 1), -3.5);
    EXPECT_DOUBLE_EQ(LimitAsSent(-0.04, 1), 0.0);
    EXPECT_DOUBLE_EQ(LimitAsSent(0.4, 0), 0.0);
    EXPECT_DOUBLE_EQ(LimitAsSent(0.6, 0), 1.0);
}

TEST(FormatLimit, RoundsLikeFixedPrintf)
{
    EXPECT_EQ(FormatLimit(-3.5, 1), "-3.5");
    EXPECT_EQ(FormatLimit(249.6, 0), "250");
    EXPECT_EQ(FormatLimit(0.0, 1), "0.0");
    EXPECT_EQ(FormatLimit(2.1f, 2), "2.10");
}

}  // namespace
}  // namespace veltrin
