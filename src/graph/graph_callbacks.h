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

// Called after a Ctrl + middle click and after Esc cleared cursor B: `row` is the
// row B went to, or -1 when B went (Esc, or a click outside the data's time
// range); `screenPos` is the click, or the pane's centre, in screen coordinates.
using RangeEndCallback = void (*)(void* userData, int row, QPoint screenPos);

}  // namespace veltrin
