#pragma once
// What the track view shows of a start: its track on the graphs' time axis
// with the load and speed at each point, where it took off and landed, and
// the times of its event marks and of its exceedances of `limits`.

#include "analysis/aircraft_limits.h"
#include "data/recording.h"
#include "track/track_data.h"

#include <optional>

namespace veltrin {

TrackData TrackDataOf(const StartRecord& start, const std::optional<AircraftLimits>& limits);

}  // namespace veltrin
