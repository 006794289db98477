#pragma once
// The view changes the mouse gestures make, as plain functions of the settings.

#include "graph/axis_mapping.h"
#include "graph/graph_settings.h"

namespace veltrin {

// Zooms `s` to `selection` (client pixel edges, normalised) inside `area`: each
// axis whose new span would exceed its minimum span takes the selected part; both
// axes get tick steps for their new spans.
void ZoomToSelection(GraphSettings& s, const PlotArea& area, const PlotArea& selection);

// The selection a left double-click at column `x` zooms to: a quarter of the area
// width that keeps x at the same relative position, over the full height.
PlotArea DoubleClickSelection(const PlotArea& area, int x);

// Moves the view so that the curve follows the mouse from `from` to `to`; the end
// of the view never passes `lastX`, the axis value of the last row.
void PanSettings(GraphSettings& s, const PlotArea& area, QPoint from, QPoint to, double lastX);

// True when any of the four limits differ.
bool RangesDiffer(const ZoomState& a, const GraphSettings& b);

}  // namespace veltrin
