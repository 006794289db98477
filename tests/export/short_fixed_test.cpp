// The fast CSV number formatting gives exactly the general conversion's text.

#include "export/short_fixed.h"
#include "data/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace veltrin {
namespace {

std::string Short(double value, int precision, int width)
{
    char text[512];
    return {text, FormatShortFixed(text, text + sizeof text, value, precision, width)};
}

std::string General(double value, int precision, int width)
{
    char text[512];
    return {text, FormatFixed(text, text + sizeof text, value, precision, width)};
}

TEST(FormatShortFixed, AgreesWithFormatFixed)
{
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.5,
                                  1.5,
                                  2.5,
                                  -2.5,
                                  0.125,
                                  -3.25,
                                  0.0625,
                                  1.0005,
                                  -0.004,
                                  9.9995,
                                  999.9995,
                                  0.045,
                                  1e-300,
                                  5e-324,
                                  123456789.0125,
                                  999999999999999.9,
                                  1e15,
                                  -1e15,
                                  1e300,
                                  std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN()};
    std::mt19937_64 random(20120826);
    std::uniform_real_distribution<double> exponent(-8.0, 16.0);
    std::uniform_int_distribution<int> ticks(-400000, 400000);
    for (int i = 0; i < 50000; ++i) {
        values.push_back((random() % 2 ? 1.0 : -1.0) * std::pow(10.0, exponent(random)));
        values.push_back(ticks(random) /
                         1000.0);                // decimal-looking recorder values, many near ties
        values.push_back(ticks(random) / 16.0);  // exact binary ties
    }
    for (double value : values) {
        for (int precision = 0; precision <= 3; ++precision) {
            ASSERT_EQ(Short(value, precision, 9), General(value, precision, 9))
                << value << " p" << precision;
            ASSERT_EQ(Short(value, precision, 0), General(value, precision, 0))
                << value << " p" << precision;
        }
    }
    char tiny[4];
    EXPECT_EQ(FormatShortFixed(tiny, tiny + sizeof tiny, 12.5, 2, 6), tiny);  // does not fit
}

}  // namespace
}  // namespace veltrin
