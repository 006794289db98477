#include "track/track_scene.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace veltrin {

TrackScene::TrackScene(TrackData data) : data_(std::move(data))
{
    world_.reserve(data_.points.size());
    double south = 90.0, north = -90.0;
    for (const TrackPoint& p : data_.points) {
        world_.push_back(ToWorld(p.latitude, p.longitude));
        south = std::min(south, p.latitude);
        north = std::max(north, p.latitude);
    }
    middleLatitude_ = data_.points.empty() ? 0.0 : (south + north) / 2.0;
    accelerationScale_ = ScaleFor(TrackColouring::Acceleration, data_.points);
    speedScale_ = ScaleFor(TrackColouring::Speed, data_.points);
    accelerationSteps_ = StepsOf(accelerationScale_, data_.points);
    speedSteps_ = StepsOf(speedScale_, data_.points);
}

const ColourScale& TrackScene::Scale(TrackColouring colouring) const
{
    return colouring == TrackColouring::Acceleration ? accelerationScale_ : speedScale_;
}

const std::vector<unsigned char>& TrackScene::Steps(TrackColouring colouring) const
{
    return colouring == TrackColouring::Acceleration ? accelerationSteps_ : speedSteps_;
}

std::optional<WorldPoint> TrackScene::PositionAt(double timeMs) const
{
    const std::vector<TrackPoint>& points = data_.points;
    if (points.empty() || !(timeMs >= points.front().timeMs) || timeMs > points.back().timeMs)
        return std::nullopt;
    const auto after = std::upper_bound(points.begin(), points.end(), timeMs,
                                        [](double t, const TrackPoint& p) { return t < p.timeMs; });
    const auto i = static_cast<std::size_t>(after - points.begin());
    if (i == points.size())
        return world_.back();
    const std::size_t before = i - 1;
    const double span = points[i].timeMs - points[before].timeMs;
    const double t = span > 0.0 ? (timeMs - points[before].timeMs) / span : 0.0;
    return WorldPoint{world_[before].x + (world_[i].x - world_[before].x) * t,
                      world_[before].y + (world_[i].y - world_[before].y) * t};
}

std::optional<double> TrackScene::NearestTime(const MapView& view, PixelPoint screen,
                                              double maxPixels, double fromMs, double toMs) const
{
    const std::vector<TrackPoint>& points = data_.points;
    if (points.empty())
        return std::nullopt;
    struct Best {
        double distanceSquared = std::numeric_limits<double>::infinity();
        double timeMs = 0.0;
    };
    Best inside, anywhere;
    const double reachSquared = maxPixels * maxPixels;
    const auto consider = [&](double distanceSquared, double timeMs, bool inRange) {
        if (distanceSquared > reachSquared)
            return;
        if (distanceSquared < anywhere.distanceSquared)
            anywhere = {distanceSquared, timeMs};
        if (inRange && distanceSquared < inside.distanceSquared)
            inside = {distanceSquared, timeMs};
    };
    PixelPoint a = view.ToScreen(world_[0]);
    if (points.size() == 1) {
        const double dx = screen.x - a.x, dy = screen.y - a.y;
        consider(dx * dx + dy * dy, points[0].timeMs,
                 points[0].timeMs >= fromMs && points[0].timeMs <= toMs);
    }
    for (std::size_t i = 1; i < points.size(); ++i) {
        const PixelPoint b = view.ToScreen(world_[i]);
        const double ex = b.x - a.x, ey = b.y - a.y;
        const double lengthSquared = ex * ex + ey * ey;
        double u = 0.0;
        if (lengthSquared > 0.0)
            u = std::clamp(((screen.x - a.x) * ex + (screen.y - a.y) * ey) / lengthSquared, 0.0,
                           1.0);
        const double dx = screen.x - (a.x + u * ex), dy = screen.y - (a.y + u * ey);
        const double t0 = points[i - 1].timeMs, t1 = points[i].timeMs;
        consider(dx * dx + dy * dy, t0 + u * (t1 - t0), t1 >= fromMs && t0 <= toMs);
        a = b;
    }
    if (std::isfinite(inside.distanceSquared))
        return inside.timeMs;
    if (std::isfinite(anywhere.distanceSquared))
        return anywhere.timeMs;
    return std::nullopt;
}

}  // namespace veltrin
