#pragma once
// The polyline of one series: every row as a vertex, or per pixel column only the
// rows that decide which pixels the polyline covers.

#include "graph/axis_mapping.h"
#include "graph/graph_row.h"

#include <QPoint>
#include <QRect>

#include <vector>

namespace veltrin {

// The pixels a curve may cover: the plot area together with its right column and
// bottom row, the pixels of xMax and yMin on which the axes are drawn.
QRect CurveClip(const PlotArea& area);

// One vertex per row from `firstRow` to the last row.
void FullCurvePoints(const GraphTable& table, int column, int firstRow, const AxisMapping& map,
                     std::vector<QPoint>& out);

// The same pixels with far fewer vertices: rows that fall into one pixel column
// are reduced to the first, the lowest, the highest and the last of them (in row
// order), and rows past the first one right of the clip are dropped, since every
// segment between them lies outside it.
void ReducedCurvePoints(const GraphTable& table, int column, int firstRow, const AxisMapping& map,
                        std::vector<QPoint>& out);

}  // namespace veltrin
