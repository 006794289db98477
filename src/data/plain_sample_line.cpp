#include "data/plain_sample_line.h"

#include "data/field_rules.h"

#include <cstdint>
#include <cstring>

namespace veltrin {

namespace {

// The line is copied into a buffer that ends with a NUL, which is neither a
// digit nor a separator: the loops below stop at it without bounds checks.
constexpr std::size_t kMaxLine = 255;
constexpr std::size_t kIdentifierLength = 7;  // "$VLTDR,"

// Digits on either side of the point. Eight digits always fit the exact
// conversions below and the integer rule without wrap-around.
constexpr int kMaxRun = 8;

// Exact powers of ten: a mantissa that the type holds exactly, divided by one
// of these, is rounded once, as the general conversion rounds.
constexpr double kDoublePowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
constexpr std::uint64_t kDoubleExactMantissa = std::uint64_t{1} << 53;
constexpr float kFloatPowers[] = {1e0F, 1e1F, 1e2F, 1e3F, 1e4F, 1e5F, 1e6F, 1e7F, 1e8F};
constexpr std::uint64_t kFloatExactMantissa = std::uint64_t{1} << 24;

// One field "[sign]digits[.digits]" and the character that ended it.
struct PlainNumber {
    std::uint64_t mantissa;  // all digits, the point left out
    int fractionDigits;
    bool negative;
    bool point;
};

// Reads one field from `p` and steps past the character that ends it, which
// it returns in `stop`. False when the field has no digit or a run longer
// than kMaxRun. The checksum takes every character read, `stop` included.
bool ReadPlainNumber(const unsigned char*& p, unsigned& sum, PlainNumber& n, unsigned char& stop)
{
    unsigned c = *p++;
    sum ^= c;
    n.negative = c == '-';
    if (c == '-' || c == '+') {
        c = *p++;
        sum ^= c;
    }
    std::uint64_t mantissa = 0;
    int integerDigits = 0;
    for (unsigned digit = c - '0'; digit <= 9; digit = c - '0') {
        mantissa = mantissa * 10 + digit;
        ++integerDigits;
        c = *p++;
        sum ^= c;
    }
    int fractionDigits = 0;
    n.point = c == '.';
    if (n.point) {
        c = *p++;
        sum ^= c;
        for (unsigned digit = c - '0'; digit <= 9; digit = c - '0') {
            mantissa = mantissa * 10 + digit;
            ++fractionDigits;
            c = *p++;
            sum ^= c;
        }
    }
    n.mantissa = mantissa;
    n.fractionDigits = fractionDigits;
    stop = static_cast<unsigned char>(c);
    return integerDigits + fractionDigits > 0 && integerDigits <= kMaxRun &&
           fractionDigits <= kMaxRun;
}

bool ToDouble(const PlainNumber& n, double& value)
{
    const double magnitude = static_cast<double>(n.mantissa) / kDoublePowers[n.fractionDigits];
    value = n.negative ? -magnitude : magnitude;
    return n.mantissa <= kDoubleExactMantissa;
}

bool ToFloat(const PlainNumber& n, double& value)
{
    const float magnitude = static_cast<float>(n.mantissa) / kFloatPowers[n.fractionDigits];
    value = static_cast<double>(n.negative ? -magnitude : magnitude);
    return n.mantissa <= kFloatExactMantissa;
}

bool ToInt(const PlainNumber& n, int& value)
{
    // "%d" stops at a point; such a field is left to the general rule.
    const int magnitude = static_cast<int>(n.mantissa);
    value = n.negative ? -magnitude : magnitude;
    return !n.point;
}

// An upper-case hexadecimal digit's value, or -1.
int HexDigit(unsigned char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    return (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
}

}  // namespace

bool ReadPlainSampleLine(std::string_view line, DrFields& out)
{
    static constexpr char kIdentifier[] = "$vltdr,";
    if (line.size() < kIdentifierLength || line.size() > kMaxLine || line[0] != '$' ||
        line[kIdentifierLength - 1] != ',') {
        return false;
    }
    unsigned sum = ',';
    for (std::size_t i = 1; i + 1 < kIdentifierLength; ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        // Or-ing 0x20 folds exactly the two cases of a letter onto the lower one.
        if ((c | 0x20U) != static_cast<unsigned char>(kIdentifier[i])) {
            return false;
        }
        sum ^= c;
    }
    unsigned char buffer[kMaxLine + 1];
    std::memcpy(buffer, line.data(), line.size());
    buffer[line.size()] = '\0';

    // Nine fields: eight ended by ",", the last by the "*" of the checksum.
    constexpr int kFieldCount = 9;
    const unsigned char* p = buffer + kIdentifierLength;
    PlainNumber fields[kFieldCount];
    unsigned char stop = ',';
    bool plain = true;
    int count = 0;
    while (count < kFieldCount && stop == ',') {
        plain &= ReadPlainNumber(p, sum, fields[count], stop);
        ++count;
    }
    // `p` stands after the "*". When it stands on the closing NUL, nothing
    // may be read behind it; a NUL in place of the second digit fails HexDigit.
    if (!plain || count != kFieldCount || stop != '*' || p[0] == '\0') {
        return false;
    }
    sum ^= '*';  // the checksum ends before the "*"
    const int high = HexDigit(p[0]);
    const int low = HexDigit(p[1]);
    if (high < 0 || low < 0 || static_cast<unsigned>(16 * high + low) != sum) {
        return false;
    }

    double seconds = 0.0;
    bool exact = ToDouble(fields[0], seconds);
    exact &= ToFloat(fields[1], out.accX);
    exact &= ToFloat(fields[2], out.accY);
    exact &= ToFloat(fields[3], out.accZ);
    exact &= ToFloat(fields[4], out.ias);
    exact &= ToFloat(fields[5], out.unused6);
    exact &= ToFloat(fields[6], out.unused7);
    exact &= ToInt(fields[7], out.altitude);
    exact &= ToInt(fields[8], out.flags);
    out.timeMs = TimeStampFromSeconds(seconds);
    return exact;
}

}  // namespace veltrin
