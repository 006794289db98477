#pragma once
// The overload events of a start, found from the recorder's event flags.

#include "data/recording.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace veltrin {

// Flagged samples at most this far apart belong to one event.
inline constexpr std::int64_t kEventMergeMs = 2000;

// One event: a run of samples from a first to a last flagged sample in which
// consecutive flagged samples lie at most kEventMergeMs apart. Unflagged
// samples between them belong to it.
struct FlightEvent {
    double time = 0.0;            // s, of the first flagged sample, from the start's first sample
    double duration = 0.0;        // s, from the first to the last flagged sample
    double minAccZ = 0.0;         // g, over the event's samples
    double maxAccZ = 0.0;         // g
    double maxIas = 0.0;          // km/h
    double altitude = 0.0;        // m, of the first flagged sample
    std::size_t firstSample = 0;  // index of the first flagged sample
    std::size_t lastSample = 0;   // index of the last flagged sample
};

// Finds events sample by sample, so that they can be found while a file is
// read without keeping its samples.
class EventFinder {
public:
    // Takes the next sample of the start, in file order.
    void Add(const Sample& sample)
    {
        // Most samples are unflagged and outside any event: only counted.
        if (!sample.eventFlag && !open_ && index_ != 0) {
            ++index_;
            return;
        }
        AddSample(sample);
    }
    // Ends the last open event. Call once, after the last sample.
    void Finish();

    const std::vector<FlightEvent>& Events() const { return events_; }
    std::vector<FlightEvent> TakeEvents() { return std::move(events_); }

private:
    void AddSample(const Sample& sample);
    void Close();

    std::vector<FlightEvent> events_;
    std::size_t index_ = 0;          // index of the next sample
    std::int64_t firstTimeMs_ = 0;   // time of the start's first sample
    std::int64_t eventStartMs_ = 0;  // first flagged sample of the open event
    std::int64_t lastFlaggedMs_ = 0;
    bool open_ = false;
    FlightEvent current_;
    // Extremes of the unflagged samples since the last flagged one; they join
    // the event only when another flagged sample follows in time.
    double pendingMinAccZ_ = 0.0;
    double pendingMaxAccZ_ = 0.0;
    double pendingMaxIas_ = 0.0;
    bool pending_ = false;
};

// The events of `samples`, in recording order.
std::vector<FlightEvent> FindEvents(const std::deque<Sample>& samples);

}  // namespace veltrin
