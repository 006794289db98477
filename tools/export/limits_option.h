#pragma once
// The aircraft's limits as the command line gives them: "--limits=NEG,POS,VNE".

#include "analysis/aircraft_limits.h"

#include <optional>
#include <string>
#include <string_view>

namespace veltrin::tool {

inline constexpr std::string_view kLimitsOption = "--limits";

// Reads "NEG,POS,VNE" (negative and positive load limit in g, speed limit in
// km/h; decimal points, for example "-3.5,5.5,250"). Returns nullopt and sets
// `error` to the German reason when the text is not three numbers, NEG is not
// below POS or VNE is not above 0.
std::optional<AircraftLimits> ParseLimits(std::string_view text, std::string& error);

}  // namespace veltrin::tool
