#include "failing_allocation.h"
#include "shell_test_support.h"

#include "graph/graph_pane.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"
#include "shell/graph_window_config.h"
#include "shell/status_texts.h"

#include <QAction>
#include <QMdiArea>
#include <QTest>

#include <algorithm>

namespace veltrin::test {
namespace {

class GraphWindowsTest : public ShellTest {
protected:
    // Shows a start lasting `seconds` and activates the acceleration window.
    CMainFrame& ShowStartOf(int seconds, int stepMs = 1000)
    {
        WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"),
                      SteadyStart(seconds, stepMs));
        CMainFrame& frame = MakeFrame();
        frame.ShowStart(0);
        frame.MdiArea()->setActiveSubWindow(frame.AccelerationWindow());
        frame.UpdateMenus();
        return frame;
    }

    std::vector<CChildFrame*> Windows() const
    {
        return {frame_->AccelerationWindow(), frame_->SpeedWindow(), frame_->AltitudeWindow()};
    }

    // The x range of every graph; all three must agree.
    std::pair<double, double> Range() const
    {
        const GraphSettings first = Windows().front()->Pane().GetSettings();
        for (CChildFrame* window : Windows()) {
            const GraphSettings s = window->Pane().GetSettings();
            EXPECT_EQ(s.xMin, first.xMin) << window->windowTitle().toStdString();
            EXPECT_EQ(s.xMax, first.xMax) << window->windowTitle().toStdString();
        }
        return {first.xMin, first.xMax};
    }

    void Trigger(Command id) const { frame_->Action(id)->trigger(); }
};

TEST_F(GraphWindowsTest, OneSampleStartGivesAZeroDurationNormalisedRange)
{
    WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"),
                  {SampleLine(5.0, 1.0, 80.0, 300)});
    CMainFrame& frame = MakeFrame();
    frame.ShowStart(0);
    EXPECT_EQ(frame.ShownDurationMs(), 0);
    for (CChildFrame* window : Windows()) {
        EXPECT_EQ(window->Pane().Plot().Table().Count(), 1);
        const GraphSettings s = window->Pane().GetSettings();
        EXPECT_EQ(s.xMin, 0.0);
        EXPECT_EQ(s.xMax, 10.0);  // equal limits widen to a span of 10
    }
}

TEST_F(GraphWindowsTest, EachGraphGetsItsColumnAxisAndTheTimeStepOfTheDuration)
{
    ShowStartOf(200);
    struct Expected {
        CChildFrame* window;
        int column;
        double yMin, yMax, yMajor;
        const char* yTitle;
    };
    const Expected expected[] = {{frame_->AccelerationWindow(), 0, -10, 10, 5, "   g"},
                                 {frame_->SpeedWindow(), 1, 0, 300, 50, "km/h"},
                                 {frame_->AltitudeWindow(), 2, 0, 2000, 500, "   m"}};
    for (const Expected& e : expected) {
        CGraphPlot& plot = e.window->Pane().Plot();
        ASSERT_EQ(plot.SeriesCount(), 1);
        EXPECT_EQ(plot.SeriesAt(0)->column, e.column);
        EXPECT_EQ(plot.SeriesAt(0)->colour, QColor(255, 0, 0));
        const GraphSettings s = e.window->Pane().GetSettings();
        EXPECT_EQ(s.yMin, e.yMin);
        EXPECT_EQ(s.yMax, e.yMax);
        EXPECT_EQ(s.yMajorStep, e.yMajor);
        EXPECT_EQ(s.yTitle, QString::fromUtf8(e.yTitle));
        EXPECT_EQ(s.xMax, 200.0);
        EXPECT_EQ(s.xMajorStep, 10.0);
        EXPECT_EQ(s.xTitle, QStringLiteral("s"));
    }
    EXPECT_TRUE(frame_->Action(Command::ZoomIn)->isEnabled());
}

TEST_F(GraphWindowsTest, StartOf201SecondsGetsTheCoarserTimeStep)
{
    ShowStartOf(201);
    EXPECT_EQ(frame_->AccelerationWindow()->Pane().GetSettings().xMajorStep, 50.0);
}

TEST_F(GraphWindowsTest, ZoomStepsThroughNiceSpansAndTheOtherGraphsFollow)
{
    ShowStartOf(800);
    EXPECT_EQ(Range(), std::make_pair(0.0, 800.0));
    const GraphSettings speedBefore = frame_->SpeedWindow()->Pane().GetSettings();
    for (double expectedMax : {500.0, 200.0, 100.0, 50.0}) {
        Trigger(Command::ZoomIn);
        EXPECT_EQ(Range(), std::make_pair(0.0, expectedMax));
    }
    Trigger(Command::ZoomOut);
    EXPECT_EQ(Range(), std::make_pair(0.0, 100.0));
    const GraphSettings speedAfter = frame_->SpeedWindow()->Pane().GetSettings();
    EXPECT_EQ(speedAfter.xMajorStep, 10.0);
    EXPECT_EQ(speedAfter.xMinorStep, 5.0);
    EXPECT_EQ(speedAfter.yMin, speedBefore.yMin);
    EXPECT_EQ(speedAfter.yMax, speedBefore.yMax);
    EXPECT_EQ(speedAfter.yMajorStep, speedBefore.yMajorStep);
}

TEST_F(GraphWindowsTest, ZoomInsideTheDataKeepsTheLeftEnd)
{
    ShowStartOf(800);
    GraphSettings s = frame_->AccelerationWindow()->Pane().GetSettings();
    s.xMin = 100;
    s.xMax = 600;
    frame_->AccelerationWindow()->Pane().ApplySettings(s);
    EXPECT_EQ(Range(), std::make_pair(100.0, 600.0));
    Trigger(Command::ZoomIn);
    EXPECT_EQ(Range(), std::make_pair(100.0, 300.0));
}

TEST_F(GraphWindowsTest, ShiftStopsAtEitherEndKeepingTheWidth)
{
    ShowStartOf(800);
    Trigger(Command::ZoomIn);  // 0..500, major step 100
    Trigger(Command::ShiftRight);
    EXPECT_EQ(Range(), std::make_pair(100.0, 600.0));
    Trigger(Command::ShiftRight);
    Trigger(Command::ShiftRight);
    Trigger(Command::ShiftRight);
    EXPECT_EQ(Range(), std::make_pair(300.0, 800.0));
    for (int i = 0; i < 5; ++i)
        Trigger(Command::ShiftLeft);
    EXPECT_EQ(Range(), std::make_pair(0.0, 500.0));

    Trigger(Command::FullView);
    EXPECT_EQ(Range(), std::make_pair(0.0, 800.0));
}

TEST_F(GraphWindowsTest, ViewCommandsNeedAnActiveGraphWithData)
{
    WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"),
                  SteadyStart(50));
    CMainFrame& frame = MakeFrame();
    frame.MdiArea()->setActiveSubWindow(frame.AccelerationWindow());
    frame.UpdateMenus();
    EXPECT_FALSE(frame.Action(Command::ZoomIn)->isEnabled());
    // Disabled, the commands leave the empty graphs' time axes alone.
    const GraphSettings before = frame.AccelerationWindow()->Pane().GetSettings();
    for (Command id : {Command::ZoomIn, Command::ZoomOut, Command::ShiftRight})
        Trigger(id);
    for (CChildFrame* window : Windows()) {
        const GraphSettings after = window->Pane().GetSettings();
        EXPECT_EQ(after.xMin, before.xMin) << window->windowTitle().toStdString();
        EXPECT_EQ(after.xMax, before.xMax) << window->windowTitle().toStdString();
        EXPECT_EQ(after.xMajorStep, before.xMajorStep) << window->windowTitle().toStdString();
    }
    frame.ShowStart(0);
    EXPECT_TRUE(frame.Action(Command::FullView)->isEnabled());
}

TEST_F(GraphWindowsTest, RegressionGraphTableAllocationFailureEndedTheProgram)
{
    WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"),
                  SteadyStart(1000, 100));
    WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S160000.TXT"),
                  SteadyStart(30));
    CMainFrame& frame = MakeFrame();
    frame.ShowStart(0);
    const int rows = frame.AccelerationWindow()->Pane().Plot().Table().Count();
    ASSERT_GT(rows, 1000);
    frame.ShowStart(1);
    {
        // The start's samples are read already; only its graph table is refused.
        FailingAllocation noTable(GraphTableSlots(static_cast<std::size_t>(rows), kGraphColumns) *
                                  sizeof(GraphRow));
        frame.ShowStart(0);
        EXPECT_EQ(noTable.Failures(), 1);
    }
    for (CChildFrame* window : Windows())
        EXPECT_TRUE(window->Pane().Plot().Table().Empty()) << window->windowTitle().toStdString();
    QCoreApplication::processEvents();  // the empty graphs paint

    // With memory back, the same start shows in full.
    frame.ShowStart(0);
    for (CChildFrame* window : Windows())
        EXPECT_EQ(window->Pane().Plot().Table().Count(), rows);
}

TEST_F(GraphWindowsTest, StackingSharesTheClientHeightAmongVisibleWindows)
{
    CMainFrame& frame = MakeFrame();
    QWidget* client = frame.MdiArea()->viewport();
    frame.MdiArea()->setFixedHeight(600 + frame.MdiArea()->height() - client->height());
    QCoreApplication::processEvents();
    ASSERT_EQ(client->height(), 600);

    Trigger(Command::StackWindows);
    const auto span = [](CChildFrame* w) {
        return std::make_pair(w->geometry().top(), w->geometry().bottom() + 1);
    };
    EXPECT_EQ(span(frame.AccelerationWindow()), std::make_pair(0, 200));
    EXPECT_EQ(span(frame.SpeedWindow()), std::make_pair(201, 401));
    EXPECT_EQ(span(frame.AltitudeWindow()), std::make_pair(402, 600));
    EXPECT_EQ(frame.AccelerationWindow()->width(), client->width());

    Trigger(Command::ToggleSpeed);
    EXPECT_TRUE(frame.SpeedWindow()->isHidden());
    EXPECT_FALSE(frame.Action(Command::ToggleSpeed)->isChecked());
    Trigger(Command::StackWindows);
    EXPECT_EQ(span(frame.AccelerationWindow()), std::make_pair(0, 300));
    EXPECT_EQ(span(frame.AltitudeWindow()), std::make_pair(301, 600));

    // Shown again, it comes back where it was.
    Trigger(Command::ToggleSpeed);
    EXPECT_EQ(span(frame.SpeedWindow()), std::make_pair(201, 401));
    EXPECT_TRUE(frame.Action(Command::ToggleSpeed)->isChecked());

    // A close request hides the window instead of destroying it.
    frame.AltitudeWindow()->close();
    EXPECT_TRUE(frame.AltitudeWindow()->isHidden());
    EXPECT_FALSE(frame.Action(Command::ToggleAltitude)->isChecked());
}

struct YRange {
    CChildFrame* window;
    double yMin, yMax;
};

// The y range of each graph, acceleration, speed and altitude.
void ExpectYRanges(const std::vector<YRange>& expected, const std::string& what)
{
    for (const YRange& e : expected) {
        const GraphSettings s = e.window->Pane().GetSettings();
        EXPECT_EQ(s.yMin, e.yMin) << what << " " << e.window->windowTitle().toStdString();
        EXPECT_EQ(s.yMax, e.yMax) << what << " " << e.window->windowTitle().toStdString();
    }
}

TEST_F(GraphWindowsTest, RegressionStartsBeyondTheValueRangesShowEmptyGraphs)
{
    // A high, fast flight with a hard pull-up: 2600 .. 2970 m, up to 320 km/h,
    // 12.3 g and -10.5 g.
    std::vector<std::string> lines;
    for (int s = 0; s <= 60; ++s)
        lines.push_back(SampleLine(s, s == 30 ? 12.3 : (s == 31 ? -10.5 : 1.0), 200 + 2 * s,
                                   2600 + 6 * s + (s == 60 ? 10 : 0)));
    WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"), lines);
    CMainFrame& frame = MakeFrame();
    frame.ShowStart(0);
    const std::vector<YRange> widened = {{frame.AccelerationWindow(), -15, 15},
                                         {frame.SpeedWindow(), 0, 350},
                                         {frame.AltitudeWindow(), 0, 3000}};
    ExpectYRanges(widened, "shown");

    // Zoomed into the y axis, the full view brings back the widened range.
    GraphSettings zoomed = frame.AltitudeWindow()->Pane().GetSettings();
    zoomed.yMin = 2800;
    zoomed.yMax = 2900;
    frame.AltitudeWindow()->Pane().ApplySettings(zoomed);
    frame.MdiArea()->setActiveSubWindow(frame.AltitudeWindow());
    frame.UpdateMenus();
    Trigger(Command::FullView);
    ExpectYRanges(widened, "full view");
}

TEST_F(GraphWindowsTest, StartsOfTheSampleCardKeepTheConfiguredValueRanges)
{
    StoreSetting(QStringLiteral("BaseDir"), QStringLiteral(VELTRIN_SAMPLES_DIR "/VELT"));
    CMainFrame& frame = MakeFrame();
    ASSERT_GT(frame.LoadedRecording().size(), 0u);
    for (int index = 0; index < static_cast<int>(frame.LoadedRecording().size()); ++index) {
        frame.ShowStart(index);
        ExpectYRanges({{frame.AccelerationWindow(), -10, 10},
                       {frame.SpeedWindow(), 0, 300},
                       {frame.AltitudeWindow(), 0, 2000}},
                      "start " + std::to_string(index));
    }
}

TEST_F(GraphWindowsTest, MiddleClickSetsTheMarkerEverywhereIncludingHiddenWindows)
{
    ShowStartOf(100, 500);
    Trigger(Command::ToggleSpeed);  // hidden, but still kept up to date
    CGraphPane& pane = frame_->AltitudeWindow()->Pane();
    const QRect area = pane.Plot().GetPlotArea();
    // Half way along the x axis: 50 s, the row at 50 000 ms.
    QTest::mouseClick(&pane, Qt::MiddleButton, {},
                      QPoint(area.left() + area.width() / 2, area.center().y()));
    for (CChildFrame* window : Windows()) {
        EXPECT_TRUE(window->Pane().Plot().MarkerShown()) << window->windowTitle().toStdString();
        EXPECT_NEAR(window->Pane().Plot().MarkerTime(), 50000.0, 1000.0);
    }
    // The read-out shows the sample at the marker, each value from its own column.
    const double markerMs = frame_->AccelerationWindow()->Pane().Plot().MarkerTime();
    const std::deque<Sample>& samples = frame_->LoadedRecording()[0].samples;
    const auto at = std::find_if(samples.begin(), samples.end(), [&](const Sample& s) {
        return s.timeMs - samples.front().timeMs == static_cast<int>(markerMs);
    });
    ASSERT_NE(at, samples.end());
    EXPECT_EQ(frame_->StatusText().toStdString(),
              MarkerText(markerMs / 1000.0, at->accZ, at->ias, at->altitude));

    // Outside the data the read-out stays.
    const QString before = frame_->StatusText();
    CMainFrame::OnMarker(frame_.get(), -1, QPoint());
    EXPECT_EQ(frame_->StatusText(), before);
}

}  // namespace
}  // namespace veltrin::test
