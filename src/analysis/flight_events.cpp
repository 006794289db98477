#include "analysis/flight_events.h"

#include "analysis/relative_time.h"

#include <algorithm>

namespace veltrin {

void EventFinder::AddSample(const Sample& sample)
{
    const std::size_t index = index_++;
    const std::int64_t timeMs = sample.timeMs;
    if (index == 0)
        firstTimeMs_ = timeMs;

    if (!sample.eventFlag) {
        if (!open_)
            return;
        if (!pending_) {
            pendingMinAccZ_ = sample.accZ;
            pendingMaxAccZ_ = sample.accZ;
            pendingMaxIas_ = sample.ias;
            pending_ = true;
        } else {
            pendingMinAccZ_ = std::min(pendingMinAccZ_, sample.accZ);
            pendingMaxAccZ_ = std::max(pendingMaxAccZ_, sample.accZ);
            pendingMaxIas_ = std::max(pendingMaxIas_, sample.ias);
        }
        return;
    }

    if (open_ && timeMs - lastFlaggedMs_ <= kEventMergeMs) {
        if (pending_) {
            current_.minAccZ = std::min(current_.minAccZ, pendingMinAccZ_);
            current_.maxAccZ = std::max(current_.maxAccZ, pendingMaxAccZ_);
            current_.maxIas = std::max(current_.maxIas, pendingMaxIas_);
            pending_ = false;
        }
        current_.minAccZ = std::min(current_.minAccZ, sample.accZ);
        current_.maxAccZ = std::max(current_.maxAccZ, sample.accZ);
        current_.maxIas = std::max(current_.maxIas, sample.ias);
        current_.lastSample = index;
        current_.duration = SecondsBetween(eventStartMs_, timeMs);
        lastFlaggedMs_ = timeMs;
        return;
    }

    if (open_)
        Close();
    current_ = FlightEvent{};
    current_.time = SecondsBetween(firstTimeMs_, timeMs);
    current_.minAccZ = sample.accZ;
    current_.maxAccZ = sample.accZ;
    current_.maxIas = sample.ias;
    current_.altitude = sample.altitude;
    current_.firstSample = index;
    current_.lastSample = index;
    eventStartMs_ = timeMs;
    lastFlaggedMs_ = timeMs;
    open_ = true;
}

void EventFinder::Finish()
{
    if (open_)
        Close();
}

void EventFinder::Close()
{
    events_.push_back(current_);
    open_ = false;
    pending_ = false;
}

std::vector<FlightEvent> FindEvents(const std::deque<Sample>& samples)
{
    EventFinder finder;
    for (const Sample& sample : samples)
        finder.Add(sample);
    finder.Finish();
    return finder.TakeEvents();
}

}  // namespace veltrin
