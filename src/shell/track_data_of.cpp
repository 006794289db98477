#include "shell/track_data_of.h"

#include "analysis/exceedances.h"
#include "analysis/track_position.h"

namespace veltrin {

TrackData TrackDataOf(const StartRecord& start, const std::optional<AircraftLimits>& limits)
{
    TrackData track;
    const TrackTimeline timeline(start);
    for (const TimelinePoint& point : timeline.Points()) {
        const GpsFix& fix = start.fixes[point.fixIndex];
        TrackPoint shown;
        shown.timeMs = static_cast<double>(point.timeMs);
        shown.latitude = point.position.latitude;
        shown.longitude = point.position.longitude;
        shown.fix = point.valid;
        shown.accZ = fix.accZ;
        shown.ias = fix.ias;
        track.points.push_back(shown);
    }
    if (!track.points.empty()) {
        // A start's file runs from the take-off; the landing is the last
        // point once the recorder has told it.
        track.takeOffIndex = 0;
        if (start.landingTime != 0)
            track.landingIndex = static_cast<int>(track.points.size()) - 1;
    }
    if (start.samples.empty())
        return track;
    const std::int64_t firstMs = start.samples.front().timeMs;
    for (const Sample& sample : start.samples) {
        if (sample.eventMark)
            track.eventTimesMs.push_back(static_cast<double>(sample.timeMs - firstMs));
    }
    if (limits) {
        for (const Exceedance& exceedance : FindExceedances(start.samples, *limits))
            track.exceedanceTimesMs.push_back(exceedance.time * 1000.0);
    }
    return track;
}

}  // namespace veltrin
