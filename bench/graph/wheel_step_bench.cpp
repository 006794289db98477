// Time of one wheel step over three stacked graphs of 1600 x 300 pixels on a
// 1,000,000-row flight: the zoom of the time axis under the pointer, the other
// two graphs following it and lining up their edges as the main frame does,
// and the three renders. Alternate steps zoom in and out, so the view stays at
// the size given: the whole flight (every row drawn) or ten minutes of it.
#include "flight_table.h"
#include "graph/graph_pane.h"
#include "graph/graph_plot.h"

#include <QApplication>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace {

using veltrin::CGraphPane;
using veltrin::CGraphPlot;
using veltrin::EdgeRoom;
using veltrin::GraphRow;
using veltrin::GraphSettings;

constexpr int kRows = 1000000;

struct Axis {
    double yMin, yMax, yMajor;
    const char* format;
    const char* title;
};
constexpr std::array<Axis, 3> kAxes{{{-10, 10, 5, "%6.1f", "   g"},
                                     {0, 300, 50, "%6.0f", "km/h"},
                                     {0, 2000, 500, "%6.0f", "   m"}}};

// Three panes on one table whose time axes follow each other.
class StackedGraphs {
public:
    explicit StackedGraphs(const std::vector<GraphRow>& table, double shownSeconds)
    {
        for (std::size_t i = 0; i < panes_.size(); ++i) {
            auto pane = std::make_unique<CGraphPane>();
            pane->resize(1600, 300);
            pane->show();
            pane->SetData(kRows, table.data());
            const int column = static_cast<int>(i);
            pane->Plot().AddSeries({column, QColor(255, 0, 0), true, "Curve", "Curve", false});
            GraphSettings s = pane->GetSettings();
            s.xMin = 0;
            s.xMax = shownSeconds;
            s.xMajorStep = s.xMinorStep = shownSeconds / 10;
            s.xMinSpan = 10;
            s.xTitle = QStringLiteral("s");
            s.yMin = kAxes[i].yMin;
            s.yMax = kAxes[i].yMax;
            s.yMajorStep = s.yMinorStep = kAxes[i].yMajor;
            s.yLabelFormat = QString::fromUtf8(kAxes[i].format);
            s.yTitle = QString::fromUtf8(kAxes[i].title);
            pane->ApplySettings(s);
            panes_[i] = std::move(pane);
        }
        for (auto& pane : panes_)
            pane->Plot().SetViewChangedCallback(&StackedGraphs::Follow, this);
        ShareEdges();
    }

    CGraphPane& Pane(std::size_t i) { return *panes_[i]; }

private:
    static void Follow(void* self, CGraphPlot& plot)
    {
        static_cast<StackedGraphs*>(self)->FollowFrom(plot);
    }

    void FollowFrom(CGraphPlot& plot)
    {
        const GraphSettings from = plot.GetSettings();
        for (auto& pane : panes_) {
            GraphSettings s = pane->GetSettings();
            if (&pane->Plot() == &plot || (s.xMin == from.xMin && s.xMax == from.xMax))
                continue;
            s.xMin = from.xMin;
            s.xMax = from.xMax;
            s.xMinorStep = from.xMinorStep;
            s.xMajorStep = from.xMajorStep;
            pane->ApplySettings(s);
        }
        ShareEdges();
    }

    void ShareEdges()
    {
        if (sharing_)
            return;
        sharing_ = true;
        EdgeRoom widest;
        for (auto& pane : panes_) {
            const EdgeRoom room = pane->Plot().NaturalRoom();
            widest.left = std::max(widest.left, room.left);
            widest.right = std::max(widest.right, room.right);
        }
        for (auto& pane : panes_) {
            GraphSettings s = pane->GetSettings();
            if (s.leastLeftRoom == widest.left && s.leastRightRoom == widest.right)
                continue;
            s.leastLeftRoom = widest.left;
            s.leastRightRoom = widest.right;
            pane->ApplySettings(s);
        }
        sharing_ = false;
    }

    std::array<std::unique_ptr<CGraphPane>, 3> panes_;
    bool sharing_ = false;
};

void WheelStep(benchmark::State& state)
{
    const std::vector<GraphRow> table = veltrin::bench::FlightTable(kRows);
    const double wholeFlight = (kRows - 1) * 0.2;
    const double shown = state.range(0) == 0 ? wholeFlight : 600.0;
    StackedGraphs graphs(table, shown);
    CGraphPane& pane = graphs.Pane(1);
    const QPoint at(800, 150);
    const QPointF global(pane.mapToGlobal(at));
    quint64 timestampMs = 0;
    int notch = 120;
    for (auto _ : state) {
        QWheelEvent event(QPointF(at), global, QPoint(), QPoint(0, notch), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        event.setTimestamp(timestampMs += 1000);
        QApplication::sendEvent(&pane, &event);
        for (std::size_t i = 0; i < 3; ++i)
            benchmark::DoNotOptimize(graphs.Pane(i).Plot().GetBitmap().constBits());
        notch = -notch;
    }
    state.SetLabel(state.range(0) == 0 ? "whole flight" : "ten minutes");
}
BENCHMARK(WheelStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
