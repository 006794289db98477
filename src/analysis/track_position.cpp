#include "analysis/track_position.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace veltrin {
namespace {

// Time the graphs give the fix: that of its latest sample, counted from the
// first sample. Samples that were not kept give the last one kept.
std::int64_t GraphTimeMs(const std::deque<Sample>& samples, const GpsFix& fix)
{
    if (fix.sampleIndex < 0 || samples.empty())
        return 0;
    const auto last = static_cast<std::ptrdiff_t>(samples.size()) - 1;
    const auto index = static_cast<std::size_t>(std::min(fix.sampleIndex, last));
    return std::int64_t{samples[index].timeMs} - std::int64_t{samples.front().timeMs};
}

// Longitude difference folded into [-180, 180], so that a track across the
// date line is measured the short way.
double LongitudeDifference(double a, double b)
{
    double d = a - b;
    if (d >= -180.0 && d <= 180.0)
        return d;  // nearly always: no division needed
    d = std::fmod(d, 360.0);
    if (d > 180.0)
        d -= 360.0;
    else if (d < -180.0)
        d += 360.0;
    return d;
}

}  // namespace

TrackTimeline::TrackTimeline(const StartRecord& start)
{
    const std::deque<GpsFix>& fixes = start.fixes;
    if (std::none_of(fixes.begin(), fixes.end(), [](const GpsFix& fix) { return fix.valid; }))
        return;
    points_.reserve(fixes.size());
    TrackPositions positions(fixes);
    std::int64_t previousMs = std::numeric_limits<std::int64_t>::min();
    for (std::size_t k = 0; k < fixes.size(); ++k) {
        const GpsFix& fix = fixes[k];
        TimelinePoint point;
        point.timeMs = std::max(GraphTimeMs(start.samples, fix), previousMs);
        point.position = positions.At(k);
        point.fixIndex = k;
        point.sampleIndex = fix.sampleIndex;
        point.valid = fix.valid;
        previousMs = point.timeMs;
        points_.push_back(point);
    }
}

std::ptrdiff_t TrackTimeline::LastAtOrBefore(std::int64_t timeMs) const
{
    const auto after = std::upper_bound(
        points_.begin(), points_.end(), timeMs,
        [](std::int64_t t, const TimelinePoint& point) { return t < point.timeMs; });
    return (after - points_.begin()) - 1;
}

std::optional<Position> TrackTimeline::PositionAtTime(std::int64_t timeMs) const
{
    if (points_.empty())
        return std::nullopt;
    const std::ptrdiff_t i = LastAtOrBefore(timeMs);
    if (i < 0)
        return points_.front().position;
    const auto before = static_cast<std::size_t>(i);
    if (before + 1 == points_.size())
        return points_.back().position;
    const TimelinePoint& a = points_[before];
    const TimelinePoint& b = points_[before + 1];  // later than `a`: `a` is the last at or before
    const double m =
        static_cast<double>(timeMs - a.timeMs) / static_cast<double>(b.timeMs - a.timeMs);
    const Position p{a.position.latitude + m * (b.position.latitude - a.position.latitude),
                     a.position.longitude + m * (b.position.longitude - a.position.longitude)};
    if (!std::isfinite(p.latitude) || !std::isfinite(p.longitude))
        return a.position;
    return p;
}

std::optional<TimelinePoint> TrackTimeline::NearestInTime(std::int64_t timeMs) const
{
    if (points_.empty())
        return std::nullopt;
    const std::ptrdiff_t before = LastAtOrBefore(timeMs);
    if (static_cast<std::size_t>(before + 1) == points_.size())
        return points_.back();
    // The first point after the time; of its run of equal times, the last.
    const std::int64_t afterMs = points_[static_cast<std::size_t>(before + 1)].timeMs;
    const TimelinePoint& after = points_[static_cast<std::size_t>(LastAtOrBefore(afterMs))];
    if (before < 0)
        return after;
    const TimelinePoint& earlier = points_[static_cast<std::size_t>(before)];
    return after.timeMs - timeMs < timeMs - earlier.timeMs ? after : earlier;
}

std::optional<TimelinePoint> TrackTimeline::NearestToPosition(Position position) const
{
    if (points_.empty())
        return std::nullopt;
    // Near enough to a plane for picking a point: longitude degrees shrink
    // with the cosine of the latitude.
    const double shrink = std::cos(position.latitude * std::numbers::pi / 180.0);
    std::size_t best = 0;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (std::size_t k = 0; k < points_.size(); ++k) {
        const Position& p = points_[k].position;
        const double dy = p.latitude - position.latitude;
        const double dx = LongitudeDifference(p.longitude, position.longitude) * shrink;
        const double distance = dx * dx + dy * dy;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = k;
        }
    }
    return points_[best];
}

}  // namespace veltrin
