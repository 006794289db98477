#include "graph/zoom_rules.h"

#include "graph/ticks.h"

#include <cmath>

namespace veltrin {

void ZoomToSelection(GraphSettings& s, const PlotArea& area, const PlotArea& selection)
{
    const double w = area.Width();
    const double h = area.Height();
    const double fx1 = (selection.left - area.left) / w;
    const double fx2 = (selection.right - area.left) / w;
    const double fy1 = (selection.top - area.top) / h;
    const double fy2 = (selection.bottom - area.top) / h;

    const double xSpan = s.xMax - s.xMin;
    if (xSpan * (fx2 - fx1) > s.xMinSpan) {
        const double xMin = s.xMin;
        s.xMin = xMin + xSpan * fx1;
        s.xMax = xMin + xSpan * fx2;
    }
    // Pixel rows grow downwards: the selection's top is the higher value.
    const double ySpan = s.yMax - s.yMin;
    if (ySpan * (fy2 - fy1) > s.yMinSpan) {
        const double yMax = s.yMax;
        s.yMin = yMax - ySpan * fy2;
        s.yMax = yMax - ySpan * fy1;
    }
    const TickSteps x = TickStepsForSpan(s.xMax - s.xMin);
    s.xMajorStep = x.major;
    s.xMinorStep = x.minor;
    const TickSteps y = TickStepsForSpan(s.yMax - s.yMin);
    s.yMajorStep = y.major;
    s.yMinorStep = y.minor;
}

PlotArea DoubleClickSelection(const PlotArea& area, int x)
{
    const int w = area.Width();
    const double f = static_cast<double>(x - area.left) / w;
    const int q = w / 4;
    const int left = x - static_cast<int>(f * q);
    const int right = x + static_cast<int>(q * (1.0 - f));
    return PlotArea{left, area.top, right, area.bottom};
}

void PanSettings(GraphSettings& s, const PlotArea& area, QPoint from, QPoint to, double lastX)
{
    const double dx = (s.xMax - s.xMin) * (from.x() - to.x()) / area.Width();
    s.xMin += dx;
    s.xMax += dx;
    const double dy = (s.yMax - s.yMin) * (from.y() - to.y()) / area.Height();
    s.yMin -= dy;
    s.yMax -= dy;
    if (s.xMax > lastX) {
        const double span = s.xMax - s.xMin;
        s.xMax = lastX;
        s.xMin = lastX - span;
    }
}

bool RangesDiffer(const ZoomState& a, const GraphSettings& b)
{
    return a.xMin != b.xMin || a.xMax != b.xMax || a.yMin != b.yMin || a.yMax != b.yMax;
}

}  // namespace veltrin
