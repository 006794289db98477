#pragma once
// The polyline of one series: every row as a vertex, or per pixel column only the
// rows that decide which pixels the polyline covers.

#include "graph/axis_mapping.h"
#include "graph/graph_row.h"

#include <QPoint>

#include <vector>

namespace veltrin {

// One vertex per row from `firstRow` to the last row.
void FullCurvePoints(const GraphTable& table, int column, int firstRow, const AxisMapping& map,
                     std::vector<QPoint>& out);

// The same pixels with far fewer vertices: rows that fall into one pixel column
// are reduced to the first, the lowest, the highest and the last of them (in row
// order), and rows past the first one right of the area are dropped, since every
// segment between them lies outside the clipped area.
void ReducedCurvePoints(const GraphTable& table, int column, int firstRow, const AxisMapping& map,
                        std::vector<QPoint>& out);

}  // namespace veltrin
