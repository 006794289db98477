#pragma once
// The label font size and the plot area that remains for the curves once the
// margin, the axis labels and the titles have their room.

#include "graph/axis_mapping.h"

namespace veltrin {

// Label font size in tenths of a point for a bitmap of width x height pixels:
// the diagonal times 2/17, never below 7 points.
int LabelFontTenths(int width, int height);

// Measures the layout needs, in pixels of the label font.
struct LabelMeasures {
    int yLabelWidth = 0;  // widest y label + y title width + 5
    int labelHeight = 0;  // tallest y label
    int cw = 0;           // width of "w"
    int h2 = 0;           // half the height of "w"
};

// Room left and right of the plot area, in pixels from the bitmap's edges.
struct EdgeRoom {
    int left = 0;
    int right = 0;

    bool operator==(const EdgeRoom&) const = default;
};

// Shrinks `outer` (the bitmap, already inset by a frame if one is drawn) for the
// left margin and the axes that are shown, and further where `least` asks for
// more room from the edges of `bitmap`.
PlotArea LayoutPlotArea(const PlotArea& outer, int leftMargin, bool showXAxis, bool showYAxis,
                        const LabelMeasures& m, const PlotArea& bitmap, EdgeRoom least);

// The room `area` leaves from the edges of `bitmap`.
EdgeRoom RoomAround(const PlotArea& area, const PlotArea& bitmap);

}  // namespace veltrin
