#include "data/number_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace veltrin {
namespace {

std::string Printf(const char* format, int width, int precision, double value)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, width, precision, value);
    return buffer;
}

std::vector<double> SampleValues()
{
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.125,
                                  0.375,
                                  2.5,
                                  3.5,
                                  -2.5,
                                  1.005,
                                  -0.001,
                                  0.045,
                                  1e20,
                                  123456.789,
                                  1e-7,
                                  99.95,
                                  9.995,
                                  0.5,
                                  1.5,
                                  1e300,
                                  DBL_MAX,
                                  DBL_MIN,
                                  4.9e-324,
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN()};
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> small(-2000.0, 2000.0);
    for (int i = 0; i < 3000; ++i) {
        values.push_back(small(random));
        // Values on exact halves of the last printed digit test the rounding of ties.
        values.push_back(std::round(small(random) * 8.0) / 8.0);
    }
    return values;
}

TEST(FormatFixed, MatchesPrintfInTheCLocale)
{
    ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
    for (const double value : SampleValues()) {
        for (const int precision : {0, 1, 2, 3, 6, 17}) {
            for (const int width : {0, 9, -9}) {
                std::string ours;
                AppendFixed(ours, value, precision, width);
                ASSERT_EQ(ours, Printf("%*.*f", width, precision, value))
                    << value << " precision " << precision << " width " << width;
            }
        }
    }
}

TEST(FormatFixed, ReportsWhenTheTextDoesNotFit)
{
    char buffer[4];
    EXPECT_EQ(FormatFixed(buffer, buffer + 4, 12.25, 2), buffer);
    EXPECT_EQ(FormatFixed(buffer, buffer + 4, 1.25, 2), buffer + 4);
    EXPECT_EQ(FormatFixed(buffer, buffer + 4, 1.25, 1, 5), buffer);
}

TEST(FormatInt, MatchesPrintfInTheCLocale)
{
    const long long values[] = {0,
                                7,
                                -7,
                                42,
                                -42,
                                123456,
                                -123456,
                                std::numeric_limits<long long>::max(),
                                std::numeric_limits<long long>::min()};
    for (const long long value : values) {
        for (const int width : {0, 1, 2, 4, 8, -6}) {
            char expected[64];
            std::snprintf(expected, sizeof expected, "%0*lld", width, value);
            std::string ours;
            AppendInt(ours, value, width, true);
            EXPECT_EQ(ours, expected) << value << " width " << width;
            std::snprintf(expected, sizeof expected, "%*lld", width, value);
            ours.clear();
            AppendInt(ours, value, width, false);
            EXPECT_EQ(ours, expected) << value << " width " << width;
        }
    }
}

}  // namespace
}  // namespace veltrin
