#include "data/field_rules.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace veltrin {
namespace {

// Fields on which the rules are compared with the C library's scanf in the C
// locale: ordinary recorder values, widths, signs, partial numbers and the
// rarer forms (hexadecimal, infinity, not-a-number, out of range).
const std::vector<std::string> kTrickyFields = {
    "",
    " ",
    "0",
    "12",
    "-5",
    "+7",
    " 42x",
    "007",
    "4294967297",
    "-9223372036854775809",
    "99999999999999999999",
    "1.5",
    ".5",
    "-.5",
    ".",
    "-",
    "+",
    "- 1",
    "1e5",
    "1e",
    "1e+",
    "1E-3",
    "1.e2",
    ".e2",
    "1e5e3",
    "1.5.3",
    "0x1p3",
    "0x",
    "0x.",
    "0x1.8p1",
    "0X1P-2",
    "0xg",
    "0x1p",
    "-0x.8",
    "inf",
    "INF",
    "-infinity",
    "infin",
    "nan",
    "NaN",
    "-nan",
    "na",
    "1e400",
    "-1e400",
    "1e-400",
    "2e-324",
    "4.9e-324",
    "1e39",
    "1e-46",
    "3.4028235e38",
    "3.4028236e38",
    "123519",
    "123519.5",
    "1235",
    "12 35 19",
    "-1-2-3",
    "4807.038",
    "01131.000",
    "*47",
    "M*47",
    "1.5*47",
    "\t 12.5",
    "\v\f\r\n3",
    "0.1",
    "0.30000000000000004",
    "1234567890123456789012345",
    "0.000000000000000000000000000001234",
    "-0",
    "-0.0",
    "16777217",
    "0.1000000000000000055511151231257827",
    "12345.6789e-3",
    "9",
    "-12.5e+1x",
    "777777777777777777777",
    "-18446744073709551617",
    "9223372036854775807",
    "9223372036854775808",
    "-9223372036854775808",
    "1844674407370955161",
};

std::string RandomField(std::mt19937& random)
{
    static constexpr char kAlphabet[] = "0123456789012345.+-eExXpP infa*\t";
    std::uniform_int_distribution<std::size_t> length(1, 12);
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(kAlphabet) - 2);
    std::string field(length(random), ' ');
    for (char& c : field) {
        c = kAlphabet[pick(random)];
    }
    return field;
}

std::vector<std::string> ComparisonFields()
{
    std::vector<std::string> fields = kTrickyFields;
    std::mt19937 random(20120826);
    for (int i = 0; i < 20000; ++i) {
        fields.push_back(RandomField(random));
    }
    return fields;
}

// Same bits, or both not-a-number with the same sign.
bool SameReal(double a, double b)
{
    if (std::isnan(a) || std::isnan(b)) {
        return std::isnan(a) && std::isnan(b) && std::signbit(a) == std::signbit(b);
    }
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class FieldRulesAgainstScanf : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr); }
};

TEST_F(FieldRulesAgainstScanf, EveryRuleMatches)
{
    const auto angle = [](int degrees, double minutes) {
        return (static_cast<double>(degrees * 60) + minutes) * (1.0 / 60.0);
    };
    for (const std::string& field : ComparisonFields()) {
        SCOPED_TRACE("field \"" + field + "\"");
        const char* text = field.c_str();
        int i = 0;
        int j = 0;
        double d = 0.0;
        float f = 0.0F;
        EXPECT_EQ(ReadIntField(field), std::sscanf(text, "%d", &i) == 1 ? i : 0);
        EXPECT_PRED2(SameReal, ReadRealField(field), std::sscanf(text, "%lf", &d) == 1 ? d : 0.0);
        EXPECT_PRED2(SameReal, ReadShortRealField(field),
                     std::sscanf(text, "%f", &f) == 1 ? static_cast<double>(f) : 0.0);
        EXPECT_PRED2(SameReal, ReadTimeOfDayField(field),
                     std::sscanf(text, "%2d%2d%lf", &i, &j, &d) == 3
                         ? static_cast<double>(i * 3600 + j * 60) + d
                         : 0.0);
        EXPECT_PRED2(SameReal, ReadLatitudeField(field),
                     std::sscanf(text, "%2d%lf", &i, &d) == 2 ? angle(i, d) : 0.0);
        EXPECT_PRED2(SameReal, ReadLongitudeField(field),
                     std::sscanf(text, "%3d%lf", &i, &d) == 2 ? angle(i, d) : 0.0);
    }
}

TEST(FieldRules, PartialValuesAndChecksumSuffix)
{
    // A missing seconds or minutes part makes the whole value 0.
    EXPECT_EQ(ReadTimeOfDayField("1235"), 0.0);
    EXPECT_EQ(ReadLatitudeField("48"), 0.0);
    // The checksum suffix on the last field stops the number.
    EXPECT_EQ(ReadIntField("12*4F"), 12);
    EXPECT_EQ(ReadShortRealField("0.1*4F"), static_cast<double>(0.1F));
}

}  // namespace
}  // namespace veltrin
