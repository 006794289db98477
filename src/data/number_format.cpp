#include "data/number_format.h"

#include <charconv>
#include <cstring>
#include <system_error>

namespace veltrin {

namespace {

constexpr int kDefaultPrecision = 6;          // printf's precision when none is given
constexpr std::size_t kMaxFixedDigits = 330;  // sign, 309 integer digits, point and slack
constexpr std::size_t kMaxIntDigits = 24;     // sign and the 19 digits of a long long, with slack

// The number of characters a printf field width asks for, either side.
std::size_t PadWidth(int width)
{
    return width < 0 ? static_cast<std::size_t>(-static_cast<long long>(width))
                     : static_cast<std::size_t>(width);
}

// Pads [first, end) to `width` characters: blanks on the left, or on the right
// for a negative width (printf's "-" flag). Returns the new end, or `first`
// when the padded text does not fit.
char* Pad(char* first, char* end, char* last, int width)
{
    const bool left = width < 0;
    const std::size_t wanted = PadWidth(width);
    const auto length = static_cast<std::size_t>(end - first);
    if (length >= wanted) {
        return end;
    }
    if (static_cast<std::size_t>(last - first) < wanted) {
        return first;
    }
    const std::size_t fill = wanted - length;
    if (left) {
        std::memset(end, ' ', fill);
    } else {
        std::memmove(first + fill, first, length);
        std::memset(first, ' ', fill);
    }
    return first + wanted;
}

}  // namespace

char* FormatFixed(char* first, char* last, double value, int precision, int width)
{
    if (precision < 0) {
        precision = kDefaultPrecision;
    }
    const auto result = std::to_chars(first, last, value, std::chars_format::fixed, precision);
    if (result.ec != std::errc{}) {
        return first;
    }
    return Pad(first, result.ptr, last, width);
}

char* FormatInt(char* first, char* last, long long value, int width, bool zeroPad)
{
    const auto result = std::to_chars(first, last, value);
    if (result.ec != std::errc{}) {
        return first;
    }
    if (!zeroPad || width <= 0) {
        return Pad(first, result.ptr, last, width);
    }
    const auto length = static_cast<std::size_t>(result.ptr - first);
    const auto wanted = static_cast<std::size_t>(width);
    if (length >= wanted) {
        return result.ptr;
    }
    if (static_cast<std::size_t>(last - first) < wanted) {
        return first;
    }
    // Zeros go between the sign and the digits.
    const std::size_t sign = value < 0 ? 1 : 0;
    const std::size_t fill = wanted - length;
    std::memmove(first + sign + fill, first + sign, length - sign);
    std::memset(first + sign, '0', fill);
    return first + wanted;
}

void AppendFixed(std::string& out, double value, int precision, int width)
{
    const std::size_t old = out.size();
    const std::size_t digits =
        precision < 0 ? kDefaultPrecision : static_cast<std::size_t>(precision);
    out.resize(old + kMaxFixedDigits + digits + PadWidth(width));
    char* first = out.data() + old;
    char* end = FormatFixed(first, out.data() + out.size(), value, precision, width);
    out.resize(old + static_cast<std::size_t>(end - first));
}

void AppendInt(std::string& out, long long value, int width, bool zeroPad)
{
    const std::size_t old = out.size();
    out.resize(old + kMaxIntDigits + PadWidth(width));
    char* first = out.data() + old;
    char* end = FormatInt(first, out.data() + out.size(), value, width, zeroPad);
    out.resize(old + static_cast<std::size_t>(end - first));
}

}  // namespace veltrin
