#pragma once
// The flight table the graph benchmarks draw: acceleration, speed and altitude
// at 5 rows a second, with sensor noise.

#include "graph/graph_row.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace veltrin::bench {

inline std::vector<GraphRow> FlightTable(int rows)
{
    std::vector<GraphRow> table(GraphTableSlots(static_cast<std::size_t>(rows), 3));
    std::uint32_t state = 12345;
    for (int r = 0; r < rows; ++r) {
        state = state * 1664525u + 1013904223u;
        const double noise = static_cast<double>(state >> 8) / 8388608.0 - 1.0;
        const double values[3] = {1.0 + 0.8 * std::sin(r * 0.001) + 0.3 * noise,
                                  120.0 + 40.0 * std::sin(r * 0.0001), 800.0 + 5.0 * noise};
        WriteGraphRow(table.data(), static_cast<std::size_t>(r), r * 200, values);
    }
    return table;
}

}  // namespace veltrin::bench
