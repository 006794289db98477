#include "recorder/card/command_file.h"

#include "recorder/card/card_constants.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cstdio>
#include <system_error>

#if defined(__unix__)
#include <unistd.h>
#endif

namespace veltrin::card {
namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads a decimal integer the way "%d" does: leading white space, an
// optional sign, at least one digit. Values beyond int are clamped.
bool ScanInt(std::string_view text, std::size_t& pos, int& value)
{
    while (pos < text.size() && IsSpace(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t digitsStart = pos;
    long long magnitude = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (magnitude <= static_cast<long long>(INT_MAX) + 1)
            magnitude = magnitude * 10 + (text[pos] - '0');
        ++pos;
    }
    if (pos == digitsStart)
        return false;
    const long long signedValue = negative ? -magnitude : magnitude;
    value = static_cast<int>(std::clamp<long long>(signedValue, INT_MIN, INT_MAX));
    return true;
}

bool ScanLiteral(std::string_view text, std::size_t& pos, char literal)
{
    if (pos >= text.size() || text[pos] != literal)
        return false;
    ++pos;
    return true;
}

// Appends `value` like "%0*d": zero-padded to `width`, the sign counted in.
void AppendPadded(std::string& out, int value, int width)
{
    std::array<char, 16> digits{};
    const long long magnitude = value < 0 ? -static_cast<long long>(value) : value;
    const auto [end, error] =
        std::to_chars(digits.data(), digits.data() + digits.size(), magnitude);
    const auto count = static_cast<int>(end - digits.data());
    int padding = width - count - (value < 0 ? 1 : 0);
    if (value < 0)
        out.push_back('-');
    for (; padding > 0; --padding)
        out.push_back('0');
    out.append(digits.data(), end);
}

void HashBytes(std::uint32_t& hash, std::string_view bytes)
{
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= kKeyPrime;
    }
}

}  // namespace

std::optional<std::string> NormalisedEventTime(std::string_view eventLine)
{
    // day.month.year hour:minute:second; the blank matches any white space.
    std::array<int, 6> n{};
    std::size_t pos = 0;
    if (!ScanInt(eventLine, pos, n[0]) || !ScanLiteral(eventLine, pos, '.') ||
        !ScanInt(eventLine, pos, n[1]) || !ScanLiteral(eventLine, pos, '.') ||
        !ScanInt(eventLine, pos, n[2]))
        return std::nullopt;
    while (pos < eventLine.size() && IsSpace(eventLine[pos]))
        ++pos;
    if (!ScanInt(eventLine, pos, n[3]) || !ScanLiteral(eventLine, pos, ':') ||
        !ScanInt(eventLine, pos, n[4]) || !ScanLiteral(eventLine, pos, ':') ||
        !ScanInt(eventLine, pos, n[5]))
        return std::nullopt;

    std::string text;
    AppendPadded(text, n[0], 2);
    text.push_back('.');
    AppendPadded(text, n[1], 2);
    text.push_back('.');
    AppendPadded(text, n[2], 4);
    text.push_back(' ');
    AppendPadded(text, n[3], 2);
    text.push_back(':');
    AppendPadded(text, n[4], 2);
    text.push_back(':');
    AppendPadded(text, n[5], 2);
    return text;
}

std::uint32_t CommandFileKey(std::string_view password, std::string_view serialNumber,
                             std::string_view lastEventLine)
{
    std::uint32_t hash = kKeyOffsetBasis;
    HashBytes(hash, password);
    HashBytes(hash, serialNumber);
    if (const std::optional<std::string> time = NormalisedEventTime(lastEventLine))
        HashBytes(hash, *time);
    return hash;
}

std::string CommandFileText(int command, std::uint32_t key)
{
    std::array<char, 16> number{};
    std::string text(kCommandSection);
    text += "\r\nCOMMAND=";
    auto result = std::to_chars(number.data(), number.data() + number.size(), command);
    text.append(number.data(), result.ptr);
    text += "\r\nKEY=";
    result = std::to_chars(number.data(), number.data() + number.size(), key);
    text.append(number.data(), result.ptr);
    text += "\r\n";
    return text;
}

bool WriteCommandFile(const std::filesystem::path& path, std::string_view password,
                      std::string_view serialNumber, std::string_view lastEventLine)
{
    const std::string text =
        CommandFileText(kClearEventsCommand, CommandFileKey(password, serialNumber, lastEventLine));
    std::filesystem::path temporary = path;
    temporary += ".tmp";

    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = std::fflush(file) == 0 && written;
#if defined(__unix__)
    // The card is pulled soon after; the data must be on it, not in a cache.
    written = fsync(fileno(file)) == 0 && written;
#endif
    written = std::fclose(file) == 0 && written;

    std::error_code error;
    if (written) {
        std::filesystem::rename(temporary, path, error);
        if (!error)
            return true;
    }
    std::filesystem::remove(temporary, error);
    return false;
}

}  // namespace veltrin::card
