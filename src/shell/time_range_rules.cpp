#include "shell/time_range_rules.h"

#include <algorithm>
#include <cmath>

namespace veltrin {

namespace {

constexpr double kMarginShare = 0.25;
constexpr double kMostSteps = 10.0;
constexpr double kStepFactors[] = {1.0, 2.0, 5.0};

}  // namespace

TimeRange RangeAroundPart(double fromSeconds, double toSeconds)
{
    const double margin = std::max(kPartMarginSeconds, kMarginShare * (toSeconds - fromSeconds));
    return {fromSeconds - margin, toSeconds + margin};
}

TimeRange ShowableRange(double fromSeconds, double toSeconds, double minSpan, double lastSecond)
{
    TimeRange range{fromSeconds, toSeconds};
    const double span = toSeconds - fromSeconds;
    if (span < minSpan) {
        const double middle = 0.5 * (fromSeconds + toSeconds);
        range = {middle - 0.5 * minSpan, middle + 0.5 * minSpan};
    }
    if (range.xMax > lastSecond) {
        range.xMin -= range.xMax - lastSecond;
        range.xMax = lastSecond;
    }
    if (range.xMin < 0) {
        range.xMax -= range.xMin;
        range.xMin = 0;
    }
    return range;
}

double TimeTickStep(double span)
{
    if (!(span > kMostSteps) || !std::isfinite(span))
        return 1.0;
    for (double magnitude = 1.0;; magnitude *= 10.0) {
        for (double factor : kStepFactors) {
            const double step = factor * magnitude;
            if (span / step <= kMostSteps)
                return step;
        }
    }
}

}  // namespace veltrin
