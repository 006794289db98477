#pragma once
// The row of x labels under the plot area: one label centred on each major tick and
// the axis title near the right end, without a label showing through the title or
// running into its neighbour.

#include "graph/axis_mapping.h"
#include "graph/graph_settings.h"

#include <QString>

#include <functional>
#include <limits>
#include <vector>

namespace veltrin {

struct XLabel {
    QString text;
    int x = 0;      // pixel of its tick; the label is centred on it
    int width = 0;  // text width in the label font
};

struct XLabelRow {
    std::vector<XLabel> labels;  // the labels to draw, left to right
    bool hasTitle = false;       // false when the major step is 0 or less
    int titleLeft = 0;           // the title's opaque box, right edge exclusive
    int titleRight = 0;
};

// Lays out the x label row for the settings `s` on `mapping`; `textWidth` measures a
// text in the label font. Where the labels of all major ticks would come closer than
// the width of "0", only those of every 2nd, 5th, 10th, 20th ... tick (counted from
// the value 0) stay, the fewest left out that keep them apart; the ticks all stay. A
// label whose text would reach `rowRight` (the bitmap's width, its right edge exclusive)
// is left out: cut off, it would show a wrong number. The title's right edge lies at
// px(xMax - xMajorStep/3); a label whose text would reach under the title, or come closer
// to it than half the width of "0", is left out rather than painted over. No labels and
// no title when the major step is 0 or less.
XLabelRow LayoutXLabelRow(const AxisMapping& mapping, const GraphSettings& s,
                          const std::function<int(const QString&)>& textWidth,
                          int rowRight = std::numeric_limits<int>::max());

}  // namespace veltrin
