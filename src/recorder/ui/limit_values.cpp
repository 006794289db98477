#include "recorder/ui/limit_values.h"

#include "data/number_format.h"

#include <charconv>
#include <cmath>

namespace veltrin {

double ParseLimit(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    std::string number(text.substr(pos));
    bool negative = false;
    if (!number.empty() && (number[0] == '+' || number[0] == '-')) {
        negative = number[0] == '-';
        number.erase(0, 1);
    }
    // Only digits and one separator make a number here; "inf", "nan" and
    // hexadecimal forms do not.
    if (number.empty() ||
        !((number[0] >= '0' && number[0] <= '9') || number[0] == '.' || number[0] == ','))
        return 0.0;
    if (const std::size_t comma = number.find(','); comma != std::string::npos)
        number[comma] = '.';
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value,
                                              std::chars_format::general);
    if (error != std::errc() || !std::isfinite(value))
        return 0.0;
    return negative ? -value : value;
}

std::optional<double> ParseLimitField(std::string_view text)
{
    auto blank = [](char c) {
        return c == ' ' || c == '\t';
    };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    std::size_t pos = begin;
    if (pos < end && (text[pos] == '+' || text[pos] == '-'))
        ++pos;
    int digits = 0;
    int separators = 0;
    for (; pos < end; ++pos) {
        if (text[pos] >= '0' && text[pos] <= '9')
            ++digits;
        else if (text[pos] == '.' || text[pos] == ',')
            ++separators;
        else
            return std::nullopt;
    }
    if (digits == 0 || separators > 1)
        return std::nullopt;
    return ParseLimit(text);
}

double LimitAsSent(double value, int decimals)
{
    return ParseLimit(FormatLimit(value, decimals));
}

std::string FormatLimit(double value, int decimals)
{
    std::string text;
    AppendFixed(text, value, decimals);
    return text;
}

}  // namespace veltrin
