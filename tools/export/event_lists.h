#pragma once
// The event list and the exceedance list of loaded starts, written one start
// at a time: each start's file is read, its rows written and its samples freed
// before the next, so that only one start's samples are ever in memory.

#include "analysis/aircraft_limits.h"
#include "data/recording.h"

#include <filesystem>
#include <optional>
#include <ostream>

namespace veltrin::tool {

// Writes the header and the rows of every start of `starts` whose file can be
// read, to `target` (replaced only once the list is complete) or, without a
// target, to `out`. A start that cannot be read is told of on `err` and
// skipped. Returns kExitOk, or kExitFailure when a start could not be read or
// the list not written.
int WriteEventList(Recording& starts, const std::optional<std::filesystem::path>& target,
                   std::ostream& out, std::ostream& err);

// The same for the runs beyond `limits`.
int WriteExceedanceList(Recording& starts, const AircraftLimits& limits,
                        const std::optional<std::filesystem::path>& target, std::ostream& out,
                        std::ostream& err);

}  // namespace veltrin::tool
