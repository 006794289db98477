#include "data/start_rules.h"

#include "data/calendar.h"

#include <cmath>

namespace veltrin {

namespace {

// A flagged sample opens a new event only after this pause without flags.
constexpr std::int64_t kEventPauseMs = 2000;
// Bit of a sample's flags that the recorder sets while a limit is exceeded.
constexpr int kEventFlag = 1;
constexpr int kHoursPerDay = 24;
constexpr int kMinutesPerHour = 60;
constexpr int kSecondsPerMinute = 60;

}  // namespace

void ApplyStatistics(StartRecord& start, const Sample& sample)
{
    if (start.samples.empty()) {
        start.minAccZ = sample.accZ;
        start.maxAccZ = sample.accZ;
        start.maxIas = sample.ias;
        start.maxAltitude = sample.altitude;
        return;
    }
    if (sample.accZ > start.maxAccZ) {
        start.maxAccZ = sample.accZ;
    }
    if (sample.accZ < start.minAccZ) {
        start.minAccZ = sample.accZ;
    }
    if (sample.ias > start.maxIas) {
        start.maxIas = sample.ias;
    }
    if (sample.altitude > start.maxAltitude) {
        start.maxAltitude = sample.altitude;
    }
}

bool ApplyEventRule(Sample& sample, int flags, std::int32_t& lastEventMs)
{
    sample.eventMark = false;
    sample.eventFlag = (flags & kEventFlag) != 0;
    if (sample.eventFlag) {
        // Compared in 64 bits so that time stamps near the 32-bit limit cannot overflow.
        sample.eventMark = std::int64_t{sample.timeMs} > std::int64_t{lastEventMs} + kEventPauseMs;
        lastEventMs = sample.timeMs;
    }
    return sample.eventMark;
}

void ApplyLandingRule(StartRecord& start, int hhmmss)
{
    std::optional<CivilTime> time = BreakDownUtc(start.startTime);
    if (!time) {
        return;
    }
    time->hour = hhmmss / 10000;
    time->minute = hhmmss / 100 - time->hour * 100;
    time->second = hhmmss - (hhmmss / 100) * 100;
    start.landingTime = ToCalendarSeconds(*time);
    start.landingIsTimeOfDay = time->hour >= 0 && time->hour < kHoursPerDay && time->minute >= 0 &&
                               time->minute < kMinutesPerHour && time->second >= 0 &&
                               time->second < kSecondsPerMinute;
}

Position InterpolatedPosition(const GpsFix& before, const GpsFix& fix, const GpsFix& after)
{
    const double span = after.utcTime - before.utcTime;
    // Equal times give no ratio: the earlier fix stands for the gap.
    if (span == 0.0) {
        return {before.latitude, before.longitude};
    }
    const double m = (fix.utcTime - before.utcTime) / span;
    const Position p{before.latitude + m * (after.latitude - before.latitude),
                     before.longitude + m * (after.longitude - before.longitude)};
    if (!std::isfinite(p.latitude) || !std::isfinite(p.longitude)) {
        return {before.latitude, before.longitude};
    }
    return p;
}

Position PositionAt(const std::deque<GpsFix>& fixes, std::ptrdiff_t index)
{
    const auto count = static_cast<std::ptrdiff_t>(fixes.size());
    if (index < 0 || index >= count) {
        return {};
    }
    const auto at = [&fixes](std::ptrdiff_t i) -> const GpsFix& {
        return fixes[static_cast<std::size_t>(i)];
    };
    const GpsFix& fix = at(index);
    if (fix.valid) {
        return {fix.latitude, fix.longitude};
    }
    std::ptrdiff_t before = index - 1;
    while (before >= 0 && !at(before).valid) {
        --before;
    }
    std::ptrdiff_t after = index + 1;
    while (after < count && !at(after).valid) {
        ++after;
    }
    const bool hasBefore = before >= 0;
    const bool hasAfter = after < count;
    if (hasBefore && hasAfter) {
        return InterpolatedPosition(at(before), fix, at(after));
    }
    if (hasAfter) {
        const GpsFix& a = at(after);
        return {a.latitude, a.longitude};
    }
    if (hasBefore) {
        const GpsFix& b = at(before);
        return {b.latitude, b.longitude};
    }
    return {};
}

Position TrackPositions::At(std::size_t k)
{
    const GpsFix& fix = fixes_[k];
    if (fix.valid) {
        before_ = static_cast<std::ptrdiff_t>(k);
        return {fix.latitude, fix.longitude};
    }
    if (after_ <= static_cast<std::ptrdiff_t>(k))
        after_ = NextValid(k);
    const auto n = static_cast<std::ptrdiff_t>(fixes_.size());
    if (before_ < 0 && after_ >= n)
        return {};
    if (before_ < 0)
        return Own(after_);
    if (after_ >= n)
        return Own(before_);
    return InterpolatedPosition(fixes_[static_cast<std::size_t>(before_)], fix,
                                fixes_[static_cast<std::size_t>(after_)]);
}

std::ptrdiff_t TrackPositions::NextValid(std::size_t k) const
{
    std::size_t i = k + 1;
    while (i < fixes_.size() && !fixes_[i].valid)
        ++i;
    return static_cast<std::ptrdiff_t>(i);
}

Position TrackPositions::Own(std::ptrdiff_t i) const
{
    const GpsFix& fix = fixes_[static_cast<std::size_t>(i)];
    return {fix.latitude, fix.longitude};
}

}  // namespace veltrin
