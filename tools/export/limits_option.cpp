#include "limits_option.h"

#include <array>
#include <charconv>
#include <cmath>

namespace veltrin::tool {
namespace {

constexpr std::string_view kNotThreeNumbers =
    "--limits erwartet drei Zahlen NEG,POS,VNE mit Dezimalpunkt, zum Beispiel "
    "--limits=-3.5,5.5,250";

// A whole field read as a finite number with from_chars, which never looks at
// the locale.
bool ReadNumber(std::string_view text, double& value)
{
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && std::isfinite(value);
}

}  // namespace

std::optional<AircraftLimits> ParseLimits(std::string_view text, std::string& error)
{
    std::array<double, 3> values{};
    std::size_t count = 0;
    for (;;) {
        const std::size_t comma = text.find(',');
        if (count == values.size() || !ReadNumber(text.substr(0, comma), values[count])) {
            error = kNotThreeNumbers;
            return std::nullopt;
        }
        ++count;
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    if (count != values.size()) {
        error = kNotThreeNumbers;
        return std::nullopt;
    }
    const AircraftLimits limits{values[0], values[1], values[2]};
    if (!(limits.negativeLoad < limits.positiveLoad)) {
        error = "--limits: die negative Lastgrenze NEG muss kleiner als die positive POS sein";
        return std::nullopt;
    }
    if (!(limits.speed > 0.0)) {
        error = "--limits: die Geschwindigkeitsgrenze VNE muss größer als 0 sein";
        return std::nullopt;
    }
    return limits;
}

}  // namespace veltrin::tool
