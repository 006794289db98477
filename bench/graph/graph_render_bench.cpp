// Time to render one full view of a flight table into a 1600 x 400 plot, with the
// curve reduced per pixel column and with one polyline vertex per row.
#include "flight_table.h"
#include "graph/graph_plot.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using veltrin::CGraphPlot;
using veltrin::GraphRow;
using veltrin::GraphSettings;
using veltrin::bench::FlightTable;

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
