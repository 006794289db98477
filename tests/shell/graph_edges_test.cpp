// The main frame's three stacked graphs share their plot-area edges, so that one
// time lies on one pixel column in each, through starts, value zooms, label
// changes, resizes and hidden graphs.
#include "shell_test_support.h"

#include "graph/graph_pane.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QWheelEvent>

#include <algorithm>
#include <string>
#include <vector>

namespace veltrin::test {
namespace {

// A start of `seconds` whose load swings to `lowLoad` and whose altitude climbs
// to `topAltitude`, so that the value ranges and their labels grow.
std::vector<std::string> SwingingStart(int seconds, double lowLoad, int topAltitude)
{
    std::vector<std::string> lines;
    for (int s = 0; s <= seconds; ++s) {
        const double load = s % 2 == 0 ? 1.0 : lowLoad;
        lines.push_back(SampleLine(100.0 + s, load, 80.0 + s % 50, topAltitude * s / seconds));
    }
    return lines;
}

class GraphEdgesTest : public ShellTest {
protected:
    CMainFrame& ShowFlight(const std::vector<std::string>& lines)
    {
        WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"), lines);
        CMainFrame& frame = MakeFrame(QSize(1100, 800));
        frame.ShowStart(0);
        QCoreApplication::processEvents();
        return frame;
    }

    std::vector<CChildFrame*> Shown() const
    {
        std::vector<CChildFrame*> shown;
        for (CChildFrame* w :
             {frame_->AccelerationWindow(), frame_->SpeedWindow(), frame_->AltitudeWindow()}) {
            if (!w->isHidden())
                shown.push_back(w);
        }
        return shown;
    }

    // Every shown graph has the first one's plot-area left and right edge, and
    // puts each time of the start on the same pixel column.
    void ExpectSharedEdges(const char* when) const
    {
        SCOPED_TRACE(when);
        const std::vector<CChildFrame*> shown = Shown();
        ASSERT_FALSE(shown.empty());
        CGraphPlot& first = shown.front()->Pane().Plot();
        const PlotArea edges = first.GetPlotAreaEdges();
        for (CChildFrame* w : shown) {
            const std::string name = w->windowTitle().toStdString();
            ASSERT_EQ(w->width(), shown.front()->width()) << name;
            CGraphPlot& plot = w->Pane().Plot();
            const PlotArea own = plot.GetPlotAreaEdges();
            EXPECT_EQ(own.left, edges.left) << name;
            EXPECT_EQ(own.right, edges.right) << name;
            const GraphSettings s = w->Pane().GetSettings();
            for (double f : {0.0, 0.13, 0.5, 0.77, 1.0}) {
                const auto timeMs =
                    static_cast<std::int64_t>((s.xMin + f * (s.xMax - s.xMin)) * 1000);
                EXPECT_EQ(plot.Mapping().PixelOfTime(timeMs), first.Mapping().PixelOfTime(timeMs))
                    << name << " at " << timeMs << " ms";
            }
        }
    }

    // The room the labels of each shown graph would take on their own.
    std::vector<EdgeRoom> NaturalRooms() const
    {
        std::vector<EdgeRoom> rooms;
        for (CChildFrame* w : Shown())
            rooms.push_back(w->Pane().Plot().NaturalRoom());
        return rooms;
    }

    static void CtrlWheel(CGraphPane& pane, int notches)
    {
        const PlotArea a = pane.Plot().GetPlotAreaEdges();
        const QPoint at((a.left + a.right) / 2, a.top + 5);
        QWheelEvent event(QPointF(at), QPointF(pane.mapToGlobal(at)), QPoint(),
                          QPoint(0, 120 * notches), Qt::NoButton, Qt::ControlModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&pane, &event);
    }

    void Trigger(Command id) const { frame_->Action(id)->trigger(); }
};

TEST_F(GraphEdgesTest, ShownStartsLineUpTheThreeGraphs)
{
    struct Flight {
        const char* name;
        std::vector<std::string> lines;
    };
    const Flight flights[] = {
        {"steady", SteadyStart(300)},
        {"negative loads, high climb", SwingingStart(900, -14.5, 12500)},
        {"ten thousand seconds", SwingingStart(10000, -3.0, 800)},
    };
    for (const Flight& flight : flights) {
        SCOPED_TRACE(flight.name);
        ShowFlight(flight.lines);
        // Left alone, the graphs' labels would put their edges apart.
        const std::vector<EdgeRoom> natural = NaturalRooms();
        ASSERT_EQ(natural.size(), 3u);
        EXPECT_TRUE(natural[0] != natural[1] || natural[1] != natural[2]);
        ExpectSharedEdges("shown");
        // No graph gives up more room than the widest labels need.
        int widestLeft = 0;
        for (const EdgeRoom& room : natural)
            widestLeft = std::max(widestLeft, room.left);
        EXPECT_EQ(frame_->SpeedWindow()->Pane().Plot().GetPlotAreaEdges().left, widestLeft);
        DestroyFrame();
    }
}

TEST_F(GraphEdgesTest, EdgesFollowValueZoomLabelsResizeAndHiddenGraphs)
{
    CMainFrame& frame = ShowFlight(SwingingStart(900, -4.0, 3000));
    CGraphPane& speed = frame.SpeedWindow()->Pane();

    CtrlWheel(speed, 3);
    ASSERT_LT(speed.GetSettings().yMax - speed.GetSettings().yMin, 300.0);
    ExpectSharedEdges("after a value zoom in the speed graph");

    // Labels wider than any other graph's: the others make room for them.
    GraphSettings wide = speed.GetSettings();
    wide.yLabelFormat = QStringLiteral("%12.4f");
    speed.ApplySettings(wide);
    ExpectSharedEdges("after wider labels in the speed graph");
    EXPECT_EQ(frame.AccelerationWindow()->Pane().Plot().GetPlotAreaEdges().left,
              speed.Plot().NaturalRoom().left);

    // A larger window has a larger label font.
    frame.resize(1500, 650);
    QCoreApplication::processEvents();
    Trigger(Command::StackWindows);
    ExpectSharedEdges("after a resize and restack");
    const int wideLeft = speed.Plot().NaturalRoom().left;
    EXPECT_EQ(frame.AltitudeWindow()->Pane().Plot().GetPlotAreaEdges().left, wideLeft);

    // With the wide graph hidden, the others go back to their own widest room.
    Trigger(Command::ToggleSpeed);
    ASSERT_TRUE(frame.SpeedWindow()->isHidden());
    Trigger(Command::StackWindows);
    ExpectSharedEdges("with the speed graph hidden");
    int widestLeft = 0;
    for (const EdgeRoom& room : NaturalRooms())
        widestLeft = std::max(widestLeft, room.left);
    EXPECT_LT(widestLeft, wideLeft);
    EXPECT_EQ(frame.AltitudeWindow()->Pane().Plot().GetPlotAreaEdges().left, widestLeft);

    Trigger(Command::ToggleSpeed);
    Trigger(Command::StackWindows);
    ExpectSharedEdges("with the speed graph shown again");

    // The whole flight again: the configured labels, lined up anew.
    Trigger(Command::FullView);
    ExpectSharedEdges("after the full view");
    EXPECT_LT(speed.Plot().GetPlotAreaEdges().left, wideLeft);
}

}  // namespace
}  // namespace veltrin::test
