#pragma once
// Flight-like tables for the graph tests.

#include "graph/graph_row.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace veltrin::testing_data {

// A table of `rows` rows, one every `stepMs`, whose column c holds value(row, c).
struct TestTable {
    std::vector<GraphRow> cells;
    int rows = 0;

    TestTable(int rowCount, int stepMs, int columns, const std::function<double(int, int)>& value)
        : cells(GraphTableSlots(static_cast<std::size_t>(rowCount),
                                static_cast<std::size_t>(columns))),
          rows(rowCount)
    {
        std::vector<double> values(static_cast<std::size_t>(columns));
        for (int r = 0; r < rowCount; ++r) {
            for (int c = 0; c < columns; ++c)
                values[static_cast<std::size_t>(c)] = value(r, c);
            WriteGraphRow(cells.data(), static_cast<std::size_t>(r), r * stepMs, values);
        }
    }
    const GraphRow* Data() const { return cells.data(); }
    GraphTable View() const { return GraphTable(cells.data(), rows); }
};

// Deterministic noise in [-1, 1).
inline double Noise(std::uint32_t& state)
{
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
}

}  // namespace veltrin::testing_data
