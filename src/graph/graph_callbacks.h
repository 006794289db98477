#pragma once
// The two ways a graph reports back to its owner: a function plus the owner's own
// context pointer, which the graph hands back untouched.

#include <QPoint>

namespace veltrin {

class CGraphPlot;

// Called after every ApplySettings of `plot` (also those made by panning, zooming
// and resizing). A callback that applies settings to the same plot is not re-entered.
using ViewChangedCallback = void (*)(void* userData, CGraphPlot& plot);

// Called after a middle click: `row` is the row under the click, or -1 when the
// click lies outside the data's time range; `screenPos` is the click in screen
// coordinates.
using MarkerCallback = void (*)(void* userData, int row, QPoint screenPos);

}  // namespace veltrin
