#include "shell/view_rules.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace veltrin {

NiceSpanResult NiceSpan(double span, ZoomDirection direction, double factor)
{
    const double magnitude = std::fabs(span);
    if (magnitude < std::numeric_limits<double>::epsilon())
        return {span, 0.0, 0.0};

    const double g = std::pow(10.0, std::floor(std::log10(magnitude)));
    const double m = magnitude / g;
    NiceSpanResult result;
    if (direction == ZoomDirection::In) {
        if (m > 7.5)
            result = {factor * g, g, g / 2};
        else if (m > 2.1)
            result = {2 * g, g / 2, g / 10};
        else if (m > 1.1)
            result = {g, g / 10, g / 20};
        else
            result = {factor * g / 10, g / 10, g / 20};
    } else {
        if (m > factor - 0.5)
            result = {10 * g, g, g / 2};
        else if (m > 1.9)
            result = {factor * g, g, g / 2};
        else if (m > 0.9)
            result = {2 * g, g / 2, g / 10};
        else
            result = {g, g / 10, g / 20};
    }
    if (span < 0)
        result.span = -result.span;
    return result;
}

TimeRange ShiftedLeft(TimeRange range, double step)
{
    range.xMin -= step;
    range.xMax -= step;
    if (range.xMin < 0) {
        range.xMax -= range.xMin;
        range.xMin = 0;
    }
    return range;
}

TimeRange ShiftedRight(TimeRange range, double step, int lastSecond)
{
    range.xMin += step;
    range.xMax += step;
    if (range.xMax > lastSecond) {
        const double width = range.xMax - range.xMin;
        range.xMax = lastSecond;
        range.xMin = lastSecond - width;
    }
    return range;
}

void ValueExtremes::Add(double value)
{
    if (!std::isfinite(value))
        return;
    if (empty) {
        lowest = highest = value;
        empty = false;
        return;
    }
    lowest = std::min(lowest, value);
    highest = std::max(highest, value);
}

ValueRange RangeHolding(ValueRange configured, double majorStep, const ValueExtremes& data)
{
    if (data.empty || !(majorStep > 0))
        return configured;
    ValueRange range = configured;
    if (data.lowest < configured.yMin)
        range.yMin = std::floor(data.lowest / majorStep) * majorStep;
    if (data.highest > configured.yMax)
        range.yMax = std::ceil(data.highest / majorStep) * majorStep;
    return range;
}

std::vector<StackSlice> StackSlices(int top, int bottom, int count)
{
    std::vector<StackSlice> slices;
    if (count <= 0)
        return slices;
    const int h = (bottom - top) / count;
    int y0 = 0;
    int y1 = h;
    for (int i = 0; i < count; ++i) {
        slices.push_back({top + y0, y1 - y0});
        y0 = y1 + 1;
        y1 = (i + 2 == count) ? bottom - top : y0 + h;
    }
    return slices;
}

}  // namespace veltrin
