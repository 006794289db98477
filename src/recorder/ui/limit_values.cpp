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
    if (number.empty() || !((number[0] >= '0' && number[0] <= '9') || number[0] == '.' || number[0] == ','))
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

std::string FormatLimit(double value, int decimals)
{
    std::string text;
    AppendFixed(text, value, decimals);
    return text;
}

}  // namespace veltrin
