// Time to measure the range between the two cursors over a whole flight table:
// acceleration, speed and altitude at 5 rows a second, 10,000 to 1,000,000 rows.
#include "graph/graph_row.h"
#include "graph/range_measure.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

std::vector<veltrin::GraphRow> FlightTable(int rows)
{
    std::vector<veltrin::GraphRow> table(
        veltrin::GraphTableSlots(static_cast<std::size_t>(rows), 3));
    std::uint32_t state = 12345;
    for (int r = 0; r < rows; ++r) {
        state = state * 1664525u + 1013904223u;
        const double noise = static_cast<double>(state >> 8) / 8388608.0 - 1.0;
        const double values[3] = {1.0 + 0.8 * std::sin(r * 0.001) + 0.3 * noise,
                                  120.0 + 40.0 * std::sin(r * 0.0001), 800.0 + 5.0 * noise};
        veltrin::WriteGraphRow(table.data(), static_cast<std::size_t>(r), r * 200, values);
    }
    return table;
}

void MeasureWholeFlight(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    const std::vector<veltrin::GraphRow> cells = FlightTable(rows);
    const veltrin::GraphTable table(cells.data(), rows);
    constexpr std::array columns{0, 1, 2};
    for (auto _ : state) {
        // From the last row back to the first: the whole flight, B before A.
        const veltrin::RangeMeasure m =
            veltrin::MeasureRange(table, columns, table.LastTime(), table.FirstTime());
        benchmark::DoNotOptimize(m.curves.data());
    }
}
BENCHMARK(MeasureWholeFlight)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
