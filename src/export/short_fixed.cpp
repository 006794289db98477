#include "export/short_fixed.h"

#include "data/number_format.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace veltrin {
namespace {

constexpr int kMaxPrecision = 3;
constexpr double kMaxMagnitude = 1e15;  // value * 10^3 stays below 2^60
constexpr std::uint64_t kPowersOfFive[kMaxPrecision + 1] = {1, 5, 25, 125};
constexpr int kMantissaBits = 53;

// |value| * 10^precision rounded to an integer, ties to even, as printf rounds
// the exact binary value.
std::uint64_t ScaledAndRounded(double magnitude, int precision)
{
    int exponent = 0;
    const double fraction = std::frexp(magnitude, &exponent);  // magnitude = fraction * 2^exponent
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, kMantissaBits));
    // magnitude * 10^p = mantissa * 5^p * 2^(exponent - 53 + p), exactly.
    const std::uint64_t n = mantissa * kPowersOfFive[precision];
    const int shift = exponent - kMantissaBits + precision;
    if (shift >= 0)
        return n << shift;
    const int k = -shift;
    if (k >= 63)
        return 0;  // n < 2^60 is below half a unit
    const std::uint64_t quotient = n >> k;
    const std::uint64_t remainder = n & ((std::uint64_t{1} << k) - 1);
    const std::uint64_t half = std::uint64_t{1} << (k - 1);
    return quotient + ((remainder > half || (remainder == half && (quotient & 1) != 0)) ? 1 : 0);
}

}  // namespace

char* FormatShortFixed(char* first, char* last, double value, int precision, int width)
{
    if (precision < 0 || precision > kMaxPrecision || !(std::fabs(value) < kMaxMagnitude)) {
        return FormatFixed(first, last, value, precision, width);
    }
    std::uint64_t scaled = ScaledAndRounded(std::fabs(value), precision);

    // Digits from the right, with the decimal point after `precision` of them
    // and at least one digit before it.
    char text[32];
    char* p = text + sizeof text;
    int digits = 0;
    do {
        if (digits == precision && precision > 0)
            *--p = '.';
        *--p = static_cast<char>('0' + scaled % 10);
        scaled /= 10;
        ++digits;
    } while (scaled != 0 || digits <= precision);
    if (std::signbit(value))
        *--p = '-';

    const auto length = static_cast<std::size_t>(text + sizeof text - p);
    const std::size_t padding = width > 0 && static_cast<std::size_t>(width) > length
                                    ? static_cast<std::size_t>(width) - length
                                    : 0;
    if (static_cast<std::size_t>(last - first) < padding + length)
        return first;
    std::memset(first, ' ', padding);
    std::memcpy(first + padding, p, length);
    return first + padding + length;
}

}  // namespace veltrin
