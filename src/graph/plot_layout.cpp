#include "graph/plot_layout.h"

#include "graph/graph_constants.h"

#include <algorithm>
#include <cmath>

namespace veltrin {

int LabelFontTenths(int width, int height)
{
    const double w = width;
    const double h = height;
    const double tenths =
        std::trunc(std::sqrt(w * w + h * h) * graph_constants::kFontTenthsPerDiagonalPixel);
    return std::max(graph_constants::kMinFontTenths, static_cast<int>(tenths));
}

PlotArea LayoutPlotArea(const PlotArea& outer, int leftMargin, bool showXAxis, bool showYAxis,
                        const LabelMeasures& m, const PlotArea& bitmap, EdgeRoom least)
{
    PlotArea a = outer;
    a.left += leftMargin;
    const int w = m.yLabelWidth;
    const int h = m.labelHeight;
    const int labelRow = h + static_cast<int>(1.5 * m.h2);
    if (showXAxis && showYAxis) {
        a.left += w + 2 * m.cw;
        a.top += h / 2;
        a.right -= w / 2;
        a.bottom -= labelRow;
    } else if (showXAxis) {
        a.left += w / 2;
        a.right -= w / 2;
        a.bottom -= labelRow;
    } else if (showYAxis) {
        a.left += w + 2 * m.cw;
        a.top += h / 2;
        a.bottom -= h / 2;
    }
    a.left = std::max(a.left, bitmap.left + least.left);
    a.right = std::min(a.right, bitmap.right - least.right);
    return a;
}

EdgeRoom RoomAround(const PlotArea& area, const PlotArea& bitmap)
{
    return EdgeRoom{area.left - bitmap.left, bitmap.right - area.right};
}

}  // namespace veltrin
