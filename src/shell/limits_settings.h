#pragma once
// The aircraft's limits and the recorder's limits as kept in the settings
// store, written as numbers with a decimal point whatever the locale.

#include "analysis/aircraft_limits.h"

#include <optional>

class QSettings;

namespace veltrin {

// True for limits the program takes: usable (LimitsAreUsable), the negative
// load limit below 0 and the positive one above.
bool LimitsArePlausible(const AircraftLimits& limits);

struct LimitsSettings {
    // The limits the program checks the flights against; none when not set.
    std::optional<AircraftLimits> limits;
    // The limits the configuration wizard last read from or wrote to the
    // recorder; the limits dialog offers them.
    std::optional<AircraftLimits> recorder;
};

// Reads the group "Limits" of `store`. A set of values that is missing, not
// a number or not plausible reads as none.
LimitsSettings ReadLimitsSettings(QSettings& store);

// Writes the aircraft's limits to the group "Limits"; none removes them.
void WriteLimits(QSettings& store, const std::optional<AircraftLimits>& limits);

// Writes the recorder's limits to the group "Limits".
void WriteRecorderLimits(QSettings& store, const AircraftLimits& limits);

}  // namespace veltrin
