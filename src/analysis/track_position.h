#pragma once
// A start's track on the graphs' time axis: where the aircraft was at a time
// the graphs show, and which track point (and sample) lies nearest to a time
// or a position.

#include "data/recording.h"
#include "data/start_rules.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace veltrin {

// One fix of the start placed on the graphs' time axis.
struct TimelinePoint {
    // Milliseconds since the start's first sample, the time the graphs give
    // the fix's latest sample; 0 for a fix read before any sample. Never less
    // than the previous point's: a sample time that goes back keeps the track
    // where it was.
    std::int64_t timeMs = 0;
    Position position;                // the fix's own; PositionAt's for a point without fix
    std::size_t fixIndex = 0;         // in the start's fixes
    std::ptrdiff_t sampleIndex = -1;  // the fix's latest sample; -1 before any
    bool valid = false;               // the fix has a position of its own
};

class TrackTimeline {
public:
    // Every fix of `start` in file order. A start none of whose fixes has a
    // position gives an empty timeline.
    explicit TrackTimeline(const StartRecord& start);

    bool Empty() const { return points_.empty(); }
    std::span<const TimelinePoint> Points() const { return points_; }

    // Position at `timeMs`: interpolated in time between the two track points
    // around it (the later one of points that share the time); the first
    // point's before the track, the last point's after it. nullopt when empty.
    std::optional<Position> PositionAtTime(std::int64_t timeMs) const;

    // The track point nearest in time to `timeMs` (the later one of points
    // that share the time); of two equally near times, the earlier. nullopt
    // when empty.
    std::optional<TimelinePoint> NearestInTime(std::int64_t timeMs) const;

    // The track point nearest on the ground to `position`; of equally near
    // ones, the earliest. nullopt when empty.
    std::optional<TimelinePoint> NearestToPosition(Position position) const;

private:
    // Index of the last point whose time is at most `timeMs`; -1 when none.
    std::ptrdiff_t LastAtOrBefore(std::int64_t timeMs) const;

    std::vector<TimelinePoint> points_;
};

}  // namespace veltrin
