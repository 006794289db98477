#include "track/track_colours.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace veltrin {

namespace {

struct Stop {
    double at;
    int r, g, b;
};
// Dark enough at every stop to show on the light map.
constexpr std::array<Stop, 5> kStops{{{0.0, 40, 60, 210},
                                      {0.25, 0, 150, 215},
                                      {0.5, 20, 160, 60},
                                      {0.75, 235, 160, 0},
                                      {1.0, 215, 25, 25}}};

double Value(TrackColouring colouring, const TrackPoint& point)
{
    return colouring == TrackColouring::Acceleration ? point.accZ : point.ias;
}

}  // namespace

int ColourScale::StepOf(double value) const
{
    if (!(high > low) || std::isnan(value))
        return 0;
    const double fraction = (value - low) / (high - low);
    const int step = static_cast<int>(std::floor(fraction * kColourSteps));
    return std::clamp(step, 0, kColourSteps - 1);
}

int ColourScale::CalmStep() const
{
    return StepOf(colouring == TrackColouring::Acceleration ? 1.0 : 0.0);
}

QColor ColourAtFraction(double fraction)
{
    const double f = std::clamp(fraction, 0.0, 1.0);
    std::size_t i = 1;
    while (i + 1 < kStops.size() && kStops[i].at < f)
        ++i;
    const Stop& a = kStops[i - 1];
    const Stop& b = kStops[i];
    const double t = (f - a.at) / (b.at - a.at);
    const auto mix = [t](int x, int y) {
        return static_cast<int>(std::lround(x + (y - x) * t));
    };
    return QColor(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
}

QColor StepColour(int step)
{
    return ColourAtFraction((std::clamp(step, 0, kColourSteps - 1) + 0.5) / kColourSteps);
}

ColourScale ScaleFor(TrackColouring colouring, std::span<const TrackPoint> points)
{
    ColourScale scale;
    scale.colouring = colouring;
    double low = 0.0;
    double high = colouring == TrackColouring::Acceleration ? 2.0 : 100.0;
    for (const TrackPoint& point : points) {
        const double value = Value(colouring, point);
        if (std::isfinite(value)) {
            low = std::min(low, value);
            high = std::max(high, value);
        }
    }
    if (colouring == TrackColouring::Acceleration) {
        // 1 g in the middle, in green: blue below it, red above it.
        const double reach = std::ceil(std::max(1.0 - low, high - 1.0));
        scale.low = 1.0 - reach;
        scale.high = 1.0 + reach;
        scale.labelStep = scale.high - scale.low > 8.0 ? 2.0 : 1.0;
        scale.unit = QStringLiteral("g");
    } else {
        scale.labelStep = high > 400.0 ? 100.0 : 50.0;
        scale.low = std::floor(low / scale.labelStep) * scale.labelStep;
        scale.high = std::ceil(high / scale.labelStep) * scale.labelStep;
        scale.unit = QStringLiteral("km/h");
    }
    return scale;
}

std::vector<unsigned char> StepsOf(const ColourScale& scale, std::span<const TrackPoint> points)
{
    std::vector<unsigned char> steps(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        steps[i] = static_cast<unsigned char>(scale.StepOf(Value(scale.colouring, points[i])));
    return steps;
}

}  // namespace veltrin
