#pragma once
// The measurement between the marker (cursor A) and a second cursor B over a
// graph table: the two times, their distance, and per curve the values at both
// cursors and the extremes and mean of the rows between them.

#include "graph/graph_row.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace veltrin {

// Minimum, maximum and mean of one column over the rows of a time range.
struct ValueSpread {
    double min = 0.0;
    double max = 0.0;
    double mean = 0.0;
};

// One curve's part of the measurement.
struct CurveMeasure {
    int column = -1;
    // The values of the rows the marker rule picks for A and B (see RowAtTime);
    // none when that cursor lies outside the data's time range.
    std::optional<double> atA;
    std::optional<double> atB;
    // atB - atA; none unless both exist.
    std::optional<double> difference;
    // Over the rows whose time lies in [min(tA, tB), max(tA, tB)]; none when no
    // row lies inside or the column holds no finite value there.
    std::optional<ValueSpread> spread;
};

struct RangeMeasure {
    double timeAMs = 0.0;
    double timeBMs = 0.0;
    double deltaMs = 0.0;  // timeBMs - timeAMs: negative when B lies before A
    int rowA = -1;         // the rows the marker rule picks, -1 outside the data
    int rowB = -1;
    int rowsInside = 0;                // rows whose time lies in the closed range
    std::vector<CurveMeasure> curves;  // in the order of the columns asked for
};

// Measures `columns` of `table` between the row times `timeAMs` and `timeBMs`
// (either order). Columns outside the table give a curve without any value.
RangeMeasure MeasureRange(const GraphTable& table, std::span<const int> columns, double timeAMs,
                          double timeBMs);

}  // namespace veltrin
