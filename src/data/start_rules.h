#pragma once
// What is derived for a start while its file is read: extreme values, event
// marks, landing time; and the track position of a fix.

#include "data/recording.h"

#include <cstddef>
#include <cstdint>
#include <deque>

namespace veltrin {

// Updates the start's extreme values with `sample` before it is appended;
// the first sample of a start initialises them.
void ApplyStatistics(StartRecord& start, const Sample& sample);

// Marks the first sample of an event: a sample whose flags have bit 0 set and
// that comes more than 2000 ms after the last flagged one. Updates
// `lastEventMs` for every flagged sample and keeps the flag in the sample.
// Returns the mark.
bool ApplyEventRule(Sample& sample, int flags, std::int32_t& lastEventMs);

// Sets the start's landing time to its start date at the time of day hhmmss,
// and whether hhmmss is a real time of day (hours 0-23, minutes and seconds
// 0-59). Leaves both unchanged when the start time has no breakdown.
void ApplyLandingRule(StartRecord& start, int hhmmss);

struct Position {
    double latitude = 0.0;
    double longitude = 0.0;
};

// Position of `fix`, which lies between the valid fixes `before` and `after`:
// interpolated by time of day; `before`'s own when the two share a time or the
// interpolation gives no finite position.
Position InterpolatedPosition(const GpsFix& before, const GpsFix& fix, const GpsFix& after);

// Position of fix `index`: its own when valid, otherwise interpolated in time
// between the nearest valid fixes around it, or the one valid neighbour.
// 0/0 for an index outside the sequence or when no fix is valid.
Position PositionAt(const std::deque<GpsFix>& fixes, std::ptrdiff_t index);

// Positions of all track points in order, as PositionAt gives them, in one pass:
// a point with fix keeps its own, a point between two fixes is interpolated by
// time of day, a run before the first or after the last fix takes that fix's.
// Each fix is looked at a bounded number of times, so a long gap stays linear.
class TrackPositions {
public:
    explicit TrackPositions(const std::deque<GpsFix>& fixes) : fixes_(fixes) {}

    // Position of point `k`; the points are asked for in increasing order.
    Position At(std::size_t k);

private:
    std::ptrdiff_t NextValid(std::size_t k) const;
    Position Own(std::ptrdiff_t i) const;

    const std::deque<GpsFix>& fixes_;
    std::ptrdiff_t before_ = -1;  // last point with fix before the current one
    std::ptrdiff_t after_ = -1;   // next point with fix after the current run
};

}  // namespace veltrin
