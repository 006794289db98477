#include "graph/axis_mapping.h"

#include "graph/graph_constants.h"

#include <cmath>

namespace veltrin {

namespace {

// trunc() toward zero into an int, with the result kept inside the range that
// drawing can take (NaN goes to the lower end).
int ClampedTrunc(double v)
{
    constexpr double limit = graph_constants::kMaxPixelCoordinate;
    if (!(v > -limit))
        return static_cast<int>(-limit);
    if (v > limit)
        return static_cast<int>(limit);
    return static_cast<int>(v);
}

}  // namespace

AxisMapping AxisMapping::For(const PlotArea& area, double xMin, double xMax, double yMin,
                             double yMax, std::int64_t timeOrigin, double timeScale)
{
    AxisMapping m;
    m.area = area;
    m.xMin = xMin;
    m.xMax = xMax;
    m.yMin = yMin;
    m.yMax = yMax;
    m.xOrigin = xMin;
    m.yOrigin = yMin;
    m.xPerPixel = (xMax - xMin) / static_cast<double>(area.right - area.left);
    m.yPerPixel = (yMax - yMin) / static_cast<double>(area.bottom - area.top);
    m.timeOrigin = timeOrigin;
    m.timeScale = timeScale;
    return m;
}

bool AxisMapping::Usable() const
{
    return !area.Empty() && std::isfinite(xPerPixel) && std::isfinite(yPerPixel) &&
           xPerPixel > 0.0 && yPerPixel > 0.0 && std::isfinite(timeScale) && timeScale != 0.0;
}

int AxisMapping::PixelX(double x) const
{
    const double offset = std::trunc((x - xOrigin) / xPerPixel);
    return area.left + ClampedTrunc(offset);
}

int AxisMapping::PixelY(double y) const
{
    const double offset = std::trunc((y - yOrigin) / yPerPixel);
    return area.bottom - ClampedTrunc(offset);
}

double AxisMapping::XOfTime(double timeMs) const
{
    return (timeMs - static_cast<double>(timeOrigin)) * 0.001 / timeScale;
}

double AxisMapping::ValueX(int px) const
{
    return xMin +
           static_cast<double>(px - area.left) / static_cast<double>(area.Width()) * (xMax - xMin);
}

double AxisMapping::ValueY(int py) const
{
    // Pixel rows grow downwards, so the top of the area is yMax.
    return yMax -
           static_cast<double>(py - area.top) / static_cast<double>(area.Height()) * (yMax - yMin);
}

}  // namespace veltrin
