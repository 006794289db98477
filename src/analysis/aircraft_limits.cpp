#include "analysis/aircraft_limits.h"

#include <cmath>

namespace veltrin {

bool LimitsAreUsable(const AircraftLimits& limits)
{
    return std::isfinite(limits.negativeLoad) && std::isfinite(limits.positiveLoad) &&
           std::isfinite(limits.speed) && limits.negativeLoad < limits.positiveLoad &&
           limits.speed > 0.0;
}

}  // namespace veltrin
