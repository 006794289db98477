#pragma once
// The aircraft's load and speed limits that a flight is checked against.

namespace veltrin {

struct AircraftLimits {
    double negativeLoad = 0.0;  // g, below zero
    double positiveLoad = 0.0;  // g, above zero
    double speed = 0.0;         // km/h indicated
};

// True when the limits can be checked against: negative below positive and a
// positive speed, all finite.
bool LimitsAreUsable(const AircraftLimits& limits);

}  // namespace veltrin
