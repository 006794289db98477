#pragma once
// How the visible x range is anchored to the data, and the row lookup by time.

#include "graph/graph_row.h"
#include "graph/graph_settings.h"

#include <cstdint>

namespace veltrin {

// Row index for time `t` (ms): 0 with no rows or before the first row, the last
// index after the last row, otherwise a binary search that keeps the lower bound
// (so a time equal to the last row's time gives count - 2 when there are two rows
// or more).
int RowLookup(const GraphTable& table, std::int64_t t);

// Row at time `t` as a mouse read-out: -1 with no rows, before the first or after
// the last row; the last row at its own time; otherwise RowLookup.
int RowAtTime(const GraphTable& table, std::int64_t t);

// Input and result of the view window computation.
struct ViewWindow {
    double xMin = 0.0;
    double xMax = 0.0;
    std::int64_t timeOrigin = 0;  // row time that x = 0 stands for
    int firstRow = 0;             // first row that drawing starts from
};

// Re-derives the x range from a whole-millisecond start time for the view mode.
// `current` carries the requested xMin/xMax and the previous origin and first row,
// which are returned unchanged when the table is empty. viewSpan is in seconds.
ViewWindow ComputeViewWindow(const GraphTable& table, ViewMode viewMode, double viewSpan,
                             double timeScale, double scatterWindow, const ViewWindow& current);

// Axis values of the first and last row: (t - timeOrigin) / (1000 * timeScale);
// both 0 without rows.
struct DataTimeRange {
    double first = 0.0;
    double last = 0.0;
};
DataTimeRange DataTimeRangeOf(const GraphTable& table, std::int64_t timeOrigin, double timeScale);

}  // namespace veltrin
