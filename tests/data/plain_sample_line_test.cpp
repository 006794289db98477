#include "data/plain_sample_line.h"
#include "data/sentence_parser.h"
#include "data/start_data_stream.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace veltrin {
namespace {

using test::Framed;

// Same bits: the fast reading must round exactly as the general rules do.
bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void ExpectSameFields(const DrFields& fast, const DrFields& general)
{
    EXPECT_EQ(fast.timeMs, general.timeMs);
    EXPECT_PRED2(SameBits, fast.accX, general.accX);
    EXPECT_PRED2(SameBits, fast.accY, general.accY);
    EXPECT_PRED2(SameBits, fast.accZ, general.accZ);
    EXPECT_PRED2(SameBits, fast.ias, general.ias);
    EXPECT_PRED2(SameBits, fast.unused6, general.unused6);
    EXPECT_PRED2(SameBits, fast.unused7, general.unused7);
    EXPECT_EQ(fast.altitude, general.altitude);
    EXPECT_EQ(fast.flags, general.flags);
}

// Mostly plain decimals of every length around the limits of the exact
// conversions, now and then a form the fast reading must leave alone.
std::string RandomField(std::mt19937& random, bool integer)
{
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> digit('0', '9');
    // Short runs mostly; now and then one at or past the eight-digit limit.
    const auto runLength = [&random, &percent] {
        const int kind = percent(random);
        return kind < 8 ? 0 : kind < 90 ? 1 + kind % 3 : kind % 11;
    };
    std::string field;
    const int sign = percent(random);
    if (sign < 25) {
        field += '-';
    } else if (sign < 28) {
        field += '+';
    }
    for (int n = runLength(); n > 0; --n) {
        field += static_cast<char>(digit(random));
    }
    if (percent(random) < (integer ? 3 : 70)) {
        field += '.';
        for (int n = runLength(); n > 0; --n) {
            field += static_cast<char>(digit(random));
        }
    }
    if (percent(random) < 4) {
        static const char* const kOdd[] = {"e5",  "E-2", " ",   "x",     "*",
                                           "\t1", "..",  "inf", "0x1p3", "-"};
        std::uniform_int_distribution<std::size_t> pick(0, std::size(kOdd) - 1);
        const std::string odd = kOdd[pick(random)];
        std::uniform_int_distribution<std::size_t> where(0, field.size());
        field.insert(where(random), odd);
    }
    return field;
}

std::string RandomDataLine(std::mt19937& random)
{
    std::uniform_int_distribution<int> percent(0, 99);
    std::string body = percent(random) < 5 ? "$vltDr" : "$VLTDR";
    int fields = 9;
    if (percent(random) < 4) {
        fields += percent(random) < 50 ? -1 : 1;
    }
    for (int i = 0; i < fields; ++i) {
        body += ',';
        body += RandomField(random, i >= 7);  // altitude and flags are integers
    }
    std::string line = Framed(body);
    const int damage = percent(random);
    if (damage < 3) {
        line.back() = line.back() == '0' ? '1' : '0';  // wrong checksum
    } else if (damage < 5) {
        for (std::size_t i = line.find('*'); i < line.size(); ++i) {
            line[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(line[i])));
        }
    } else if (damage < 7) {
        line.resize(line.size() - 1);  // one checksum digit
    } else if (damage < 9) {
        line += "  junk";
    }
    return line;
}

TEST(PlainSampleLine, AgreesWithTheGeneralRulesOnGeneratedLines)
{
    std::mt19937 random(26082012);
    int taken = 0;
    constexpr int kLines = 100000;
    for (int i = 0; i < kLines; ++i) {
        const std::string line = RandomDataLine(random);
        DrFields fast{};
        if (!ReadPlainSampleLine(line, fast)) {
            continue;
        }
        ++taken;
        SCOPED_TRACE(line);
        Sentence sentence;
        ASSERT_TRUE(ParseSentence(sentence, line));
        const DrFields* general = sentence.Get<DrFields>();
        ASSERT_NE(general, nullptr);
        ExpectSameFields(fast, *general);
        if (HasFailure()) {
            break;
        }
    }
    // Many generated lines have the everyday shape; they must be taken.
    EXPECT_GT(taken, kLines / 10);
}

TEST(PlainSampleLine, TakesEverydayLinesAndLeavesTheRest)
{
    struct Case {
        std::string line;
        bool taken;
    };
    const Case cases[] = {
        {Framed("$VLTDR,1.5,0.10,-0.02,1.05,95.5,3.25,-4.5,512,1"), true},
        {Framed("$VLTDR,39999.960,-0.123,+0.05,1.,.5,0,0,-12,0"), true},
        {Framed("$vltdr,0.000,0.02,-0.05,0.80,90.0,0.00,0.00,300,1") + "\r\n  ", true},
        {Framed("$VLTDR,12345678.12345678,1,1,1,1,1,1,12345678,1"), true},
        // Longer runs, an exponent, a point in an integer field, blanks,
        // empty, missing and extra fields are for the general rules.
        {Framed("$VLTDR,123456789,1,1,1,1,1,1,1,1"), false},
        {Framed("$VLTDR,1,1,1,1,1,1,1,123456789,1"), false},
        {Framed("$VLTDR,1,1e2,1,1,1,1,1,1,1"), false},
        {Framed("$VLTDR,1,1,1,1,1,1,1,300.5,1"), false},
        {Framed("$VLTDR,1, 1,1,1,1,1,1,1,1"), false},
        {Framed("$VLTDR,1,,1,1,1,1,1,1,1"), false},
        {Framed("$VLTDR,1,1,1,1,1,1,1,1"), false},
        {Framed("$VLTDR,1,1,1,1,1,1,1,1,1,1"), false},
        {Framed("$VLTDRX,1,1,1,1,1,1,1,1,1"), false},
        {std::string(" ").append(Framed("$VLTDR,1,1,1,1,1,1,1,1,1")), false},
        {"$VLTDR,1,1,1,1,1,1,1,1,1*00", false},
        {"$VLTDR,1,1,1,1,1,1,1,1,1*", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        DrFields fast{};
        EXPECT_EQ(ReadPlainSampleLine(c.line, fast), c.taken);
        if (c.taken) {
            Sentence sentence;
            ASSERT_TRUE(ParseSentence(sentence, c.line));
            ASSERT_NE(sentence.Get<DrFields>(), nullptr);
            ExpectSameFields(fast, *sentence.Get<DrFields>());
        }
    }
}

TEST(PlainSampleLine, FileReadingMatchesSentenceBySentence)
{
    // Generated data lines mixed with fixes: every sample must come out as
    // ParseSentence reads its line, whichever way the file reader read it.
    std::mt19937 random(1208);
    std::vector<std::string> lines = {
        Framed("$VLTDR,1.5,0.10,-0.02,1.05,95.5,3.25,-4.5,512,1"),
        Framed("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,")};
    for (int i = 0; i < 5000; ++i) {
        lines.push_back(RandomDataLine(random));
        if (i % 25 == 0) {
            lines.push_back(
                Framed("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"));
        }
    }
    std::string bytes;
    std::vector<DrFields> expected;
    for (const std::string& line : lines) {
        bytes += line + "\r\n";
        Sentence sentence;
        // The reader trims trailing blanks and line ends before parsing.
        std::string trimmed = line;
        while (!trimmed.empty() &&
               (trimmed.back() == ' ' || trimmed.back() == '\r' || trimmed.back() == '\n')) {
            trimmed.pop_back();
        }
        ParseSentence(sentence, trimmed);
        if (const DrFields* dr = sentence.Get<DrFields>()) {
            expected.push_back(*dr);
        }
    }
    StartRecord start;
    LoadStartDataFromBytes(start, bytes);
    ASSERT_EQ(start.samples.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const Sample& s = start.samples[i];
        EXPECT_EQ(s.timeMs, expected[i].timeMs);
        EXPECT_PRED2(SameBits, s.accX, expected[i].accX);
        EXPECT_PRED2(SameBits, s.accY, expected[i].accY);
        EXPECT_PRED2(SameBits, s.accZ, expected[i].accZ);
        EXPECT_PRED2(SameBits, s.ias, expected[i].ias);
        EXPECT_EQ(s.altitude, static_cast<double>(expected[i].altitude));
        if (HasFailure()) {
            break;
        }
    }
    // A fix carries the values of the sample read just before it, however
    // that sample's line was read.
    ASSERT_EQ(start.fixes.size(), 201U);
    EXPECT_EQ(start.fixes[0].altitude, 512.0);
    EXPECT_EQ(start.fixes[0].accZ, static_cast<double>(1.05F));
}

}  // namespace
}  // namespace veltrin
