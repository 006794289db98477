#include "graph/wheel_zoom.h"

#include "graph/ticks.h"

#include <algorithm>
#include <cmath>

namespace veltrin {

namespace {

void SetXSteps(GraphSettings& s)
{
    const TickSteps x = TickStepsForSpan(s.xMax - s.xMin);
    s.xMajorStep = x.major;
    s.xMinorStep = x.minor;
}

// Moves [xMin, xMax] inside the data without changing its span, where it fits.
void KeepInside(GraphSettings& s, DataSpan data)
{
    const double span = s.xMax - s.xMin;
    if (span >= data.last - data.first) {
        s.xMin = data.first;
        s.xMax = data.first + span;
        return;
    }
    if (s.xMin < data.first) {
        s.xMin = data.first;
        s.xMax = data.first + span;
    } else if (s.xMax > data.last) {
        s.xMax = data.last;
        s.xMin = data.last - span;
    }
}

}  // namespace

double WheelSpanFactor(int angle)
{
    return std::pow(kWheelZoomFactor, -static_cast<double>(angle) / kWheelNotchAngle);
}

void ZoomTimeAround(GraphSettings& s, double anchorX, double factor, DataSpan data)
{
    const double span = s.xMax - s.xMin;
    if (!(span > 0) || !std::isfinite(factor) || !(factor > 0))
        return;
    const double widest = std::max(data.last - data.first, s.xMinSpan);
    const double newSpan = std::clamp(span * factor, std::min(s.xMinSpan, widest), widest);
    const double at = (anchorX - s.xMin) / span;
    s.xMin = anchorX - at * newSpan;
    s.xMax = s.xMin + newSpan;
    KeepInside(s, data);
    SetXSteps(s);
}

void ZoomValueAround(GraphSettings& s, double anchorY, double factor)
{
    const double span = s.yMax - s.yMin;
    if (!(span > 0) || !std::isfinite(factor) || !(factor > 0))
        return;
    const double newSpan = std::max(span * factor, s.yMinSpan);
    const double at = (anchorY - s.yMin) / span;
    s.yMin = anchorY - at * newSpan;
    s.yMax = s.yMin + newSpan;
    const TickSteps y = TickStepsForSpan(newSpan);
    s.yMajorStep = y.major;
    s.yMinorStep = y.minor;
}

void PanTime(GraphSettings& s, double dx, DataSpan data)
{
    const double span = s.xMax - s.xMin;
    if (span >= data.last - data.first || !std::isfinite(dx))
        return;
    s.xMin += dx;
    s.xMax += dx;
    KeepInside(s, data);
}

int SteppedMarkerRow(const GraphTable& table, int row, bool forward, bool bySecond)
{
    if (table.Empty())
        return -1;
    const int last = table.Count() - 1;
    row = std::clamp(row, 0, last);
    if (!bySecond)
        return std::clamp(row + (forward ? 1 : -1), 0, last);
    constexpr std::int64_t kSecondMs = 1000;
    const std::int64_t from = table.Time(row);
    if (forward) {
        int r = row;
        while (r < last && table.Time(r) - from < kSecondMs)
            ++r;
        return r;
    }
    int r = row;
    while (r > 0 && from - table.Time(r) < kSecondMs)
        --r;
    return r;
}

bool WheelBurst::BeginsNew(std::int64_t nowMs)
{
    const bool begins = !lastMs_ || nowMs - *lastMs_ > kWheelBurstMs || nowMs < *lastMs_;
    lastMs_ = nowMs;
    return begins;
}

}  // namespace veltrin
