#include "graph/graph_settings.h"

#include <cmath>
#include <utility>

namespace veltrin {

ZoomState ZoomStateOf(const GraphSettings& s)
{
    return ZoomState{s.xMin,       s.xMax,         s.xMinorStep, s.xMajorStep, s.xLabelFormat,
                     s.xTitle,     s.xMinSpan,     s.yMin,       s.yMax,       s.yMinorStep,
                     s.yMajorStep, s.yLabelFormat, s.yTitle,     s.yMinSpan};
}

void RestoreZoomState(GraphSettings& s, const ZoomState& z)
{
    s.xMin = z.xMin;
    s.xMax = z.xMax;
    s.xMinorStep = z.xMinorStep;
    s.xMajorStep = z.xMajorStep;
    s.xLabelFormat = z.xLabelFormat;
    s.xTitle = z.xTitle;
    s.xMinSpan = z.xMinSpan;
    s.yMin = z.yMin;
    s.yMax = z.yMax;
    s.yMinorStep = z.yMinorStep;
    s.yMajorStep = z.yMajorStep;
    s.yLabelFormat = z.yLabelFormat;
    s.yTitle = z.yTitle;
    s.yMinSpan = z.yMinSpan;
}

double RoundTo9(double v)
{
    // Dividing (rather than multiplying by 1e-9) returns whole and short decimal
    // values exactly, so that limits like 60 compare equal after the rounding.
    return std::floor(v * 1e9 + 0.5) / 1e9;
}

void NormaliseRanges(GraphSettings& s)
{
    s.xMax = RoundTo9(s.xMax);
    s.xMin = RoundTo9(s.xMin);
    s.yMax = RoundTo9(s.yMax);
    s.yMin = RoundTo9(s.yMin);
    if (s.xMax < s.xMin)
        std::swap(s.xMin, s.xMax);
    if (s.yMin > s.yMax)
        std::swap(s.yMin, s.yMax);
    if (s.xMax == s.xMin)
        s.xMax = s.xMin + 10.0;
    if (s.yMax == s.yMin)
        s.yMax = s.yMin + 10.0;
}

}  // namespace veltrin
