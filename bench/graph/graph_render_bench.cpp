// Time to render one full view of a flight table into a 1600 x 400 plot, with the
// curve reduced per pixel column and with one polyline vertex per row.
#include "graph/graph_plot.h"
#include "graph/graph_row.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using veltrin::CGraphPlot;
using veltrin::GraphRow;
using veltrin::GraphSettings;

// Acceleration, speed and altitude at 5 rows a second, with sensor noise.
std::vector<GraphRow> FlightTable(int rows)
{
    std::vector<GraphRow> table(veltrin::GraphTableSlots(static_cast<std::size_t>(rows), 3));
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

void RenderFullView(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    const bool reduced = state.range(1) != 0;
    const std::vector<GraphRow> table = FlightTable(rows);
    CGraphPlot plot;
    plot.SetData(rows, table.data());
    plot.AddSeries({0, QColor(255, 0, 0), true, "Acceleration", "Acceleration", false});
    GraphSettings s;
    s.width = 1600;
    s.height = 400;
    s.xMax = (rows - 1) * 0.2;
    s.xMajorStep = s.xMinorStep = s.xMax / 10.0;
    plot.ApplySettings(s);
    plot.SetCurveReduction(reduced);
    for (auto _ : state) {
        plot.MarkDirty();
        benchmark::DoNotOptimize(plot.GetBitmap().constBits());
    }
    state.SetLabel(reduced ? "reduced" : "full");
}
BENCHMARK(RenderFullView)
    ->ArgsProduct({{10000, 100000, 1000000}, {1, 0}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
