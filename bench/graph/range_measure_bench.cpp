// Time to measure the range between the two cursors over a whole flight table:
// acceleration, speed and altitude at 5 rows a second, 10,000 to 1,000,000 rows.
#include "flight_table.h"
#include "graph/graph_row.h"
#include "graph/range_measure.h"

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

namespace {

void MeasureWholeFlight(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    const std::vector<veltrin::GraphRow> cells = veltrin::bench::FlightTable(rows);
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
