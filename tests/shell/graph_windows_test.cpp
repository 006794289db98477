#include "shell_test_support.h"

#include "graph/graph_pane.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"
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
        frame.mdiArea()->setActiveSubWindow(frame.accelerationWindow());
        frame.updateMenus();
        return frame;
    }

    std::vector<CChildFrame*> Windows() const
    {
        return {frame_->accelerationWindow(), frame_->speedWindow(), frame_->altitudeWindow()};
    }

    // The x range of every graph; all three must agree.
    std::pair<double, double> Range() const
    {
        const GraphSettings first = Windows().front()->pane().GetSettings();
        for (CChildFrame* window : Windows()) {
            const GraphSettings s = window->pane().GetSettings();
            EXPECT_EQ(s.xMin, first.xMin) << window->windowTitle().toStdString();
            EXPECT_EQ(s.xMax, first.xMax) << window->windowTitle().toStdString();
        }
        return {first.xMin, first.xMax};
    }

    void Trigger(int id) const { frame_->action(id)->trigger(); }
};

TEST_F(GraphWindowsTest, OneSampleStartGivesAZeroDurationNormalisedRange)
{
    WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"),
                  {SampleLine(5.0, 1.0, 80.0, 300)});
    CMainFrame& frame = MakeFrame();
    frame.ShowStart(0);
    EXPECT_EQ(frame.shownDurationMs(), 0);
    for (CChildFrame* window : Windows()) {
        EXPECT_EQ(window->pane().Plot().Table().Count(), 1);
        const GraphSettings s = window->pane().GetSettings();
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
    const Expected expected[] = {{frame_->accelerationWindow(), 0, -10, 10, 5, "   g"},
                                 {frame_->speedWindow(), 1, 0, 300, 50, "km/h"},
                                 {frame_->altitudeWindow(), 2, 0, 2000, 500, "   m"}};
    for (const Expected& e : expected) {
        CGraphPlot& plot = e.window->pane().Plot();
        ASSERT_EQ(plot.SeriesCount(), 1);
        EXPECT_EQ(plot.SeriesAt(0)->column, e.column);
        EXPECT_EQ(plot.SeriesAt(0)->colour, QColor(255, 0, 0));
        const GraphSettings s = e.window->pane().GetSettings();
        EXPECT_EQ(s.yMin, e.yMin);
        EXPECT_EQ(s.yMax, e.yMax);
        EXPECT_EQ(s.yMajorStep, e.yMajor);
        EXPECT_EQ(s.yTitle, QString::fromUtf8(e.yTitle));
        EXPECT_EQ(s.xMax, 200.0);
        EXPECT_EQ(s.xMajorStep, 10.0);
        EXPECT_EQ(s.xTitle, QStringLiteral("s"));
    }
    EXPECT_TRUE(frame_->action(command::ZoomIn)->isEnabled());
}

TEST_F(GraphWindowsTest, StartOf201SecondsGetsTheCoarserTimeStep)
{
    ShowStartOf(201);
    EXPECT_EQ(frame_->accelerationWindow()->pane().GetSettings().xMajorStep, 50.0);
}

TEST_F(GraphWindowsTest, ZoomStepsThroughNiceSpansAndTheOtherGraphsFollow)
{
    ShowStartOf(800);
    EXPECT_EQ(Range(), std::make_pair(0.0, 800.0));
    const GraphSettings speedBefore = frame_->speedWindow()->pane().GetSettings();
    for (double expectedMax : {500.0, 200.0, 100.0, 50.0}) {
        Trigger(command::ZoomIn);
        EXPECT_EQ(Range(), std::make_pair(0.0, expectedMax));
    }
    Trigger(command::ZoomOut);
    EXPECT_EQ(Range(), std::make_pair(0.0, 100.0));
    const GraphSettings speedAfter = frame_->speedWindow()->pane().GetSettings();
    EXPECT_EQ(speedAfter.xMajorStep, 10.0);
    EXPECT_EQ(speedAfter.xMinorStep, 5.0);
    EXPECT_EQ(speedAfter.yMin, speedBefore.yMin);
    EXPECT_EQ(speedAfter.yMax, speedBefore.yMax);
    EXPECT_EQ(speedAfter.yMajorStep, speedBefore.yMajorStep);
}

TEST_F(GraphWindowsTest, ZoomInsideTheDataKeepsTheLeftEnd)
{
    ShowStartOf(800);
    GraphSettings s = frame_->accelerationWindow()->pane().GetSettings();
    s.xMin = 100;
    s.xMax = 600;
    frame_->accelerationWindow()->pane().ApplySettings(s);
    EXPECT_EQ(Range(), std::make_pair(100.0, 600.0));
    Trigger(command::ZoomIn);
    EXPECT_EQ(Range(), std::make_pair(100.0, 300.0));
}

TEST_F(GraphWindowsTest, ShiftStopsAtEitherEndKeepingTheWidth)
{
    ShowStartOf(800);
    Trigger(command::ZoomIn);  // 0..500, major step 100
    Trigger(command::ShiftRight);
    EXPECT_EQ(Range(), std::make_pair(100.0, 600.0));
    Trigger(command::ShiftRight);
    Trigger(command::ShiftRight);
    Trigger(command::ShiftRight);
    EXPECT_EQ(Range(), std::make_pair(300.0, 800.0));
    for (int i = 0; i < 5; ++i)
        Trigger(command::ShiftLeft);
    EXPECT_EQ(Range(), std::make_pair(0.0, 500.0));

    Trigger(command::FullView);
    EXPECT_EQ(Range(), std::make_pair(0.0, 800.0));
}

TEST_F(GraphWindowsTest, ViewCommandsNeedAnActiveGraphWithData)
{
    WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"),
                  SteadyStart(50));
    CMainFrame& frame = MakeFrame();
    frame.mdiArea()->setActiveSubWindow(frame.accelerationWindow());
    frame.updateMenus();
    EXPECT_FALSE(frame.action(command::ZoomIn)->isEnabled());
    // Disabled, the commands leave the empty graphs' time axes alone.
    const GraphSettings before = frame.accelerationWindow()->pane().GetSettings();
    for (int id : {command::ZoomIn, command::ZoomOut, command::ShiftRight})
        Trigger(id);
    for (CChildFrame* window : Windows()) {
        const GraphSettings after = window->pane().GetSettings();
        EXPECT_EQ(after.xMin, before.xMin) << window->windowTitle().toStdString();
        EXPECT_EQ(after.xMax, before.xMax) << window->windowTitle().toStdString();
        EXPECT_EQ(after.xMajorStep, before.xMajorStep) << window->windowTitle().toStdString();
    }
    frame.ShowStart(0);
    EXPECT_TRUE(frame.action(command::FullView)->isEnabled());
}

TEST_F(GraphWindowsTest, StackingSharesTheClientHeightAmongVisibleWindows)
{
    CMainFrame& frame = MakeFrame();
    QWidget* client = frame.mdiArea()->viewport();
    frame.mdiArea()->setFixedHeight(600 + frame.mdiArea()->height() - client->height());
    QCoreApplication::processEvents();
    ASSERT_EQ(client->height(), 600);

    Trigger(command::StackWindows);
    const auto span = [](CChildFrame* w) {
        return std::make_pair(w->geometry().top(), w->geometry().bottom() + 1);
    };
    EXPECT_EQ(span(frame.accelerationWindow()), std::make_pair(0, 200));
    EXPECT_EQ(span(frame.speedWindow()), std::make_pair(201, 401));
    EXPECT_EQ(span(frame.altitudeWindow()), std::make_pair(402, 600));
    EXPECT_EQ(frame.accelerationWindow()->width(), client->width());

    Trigger(command::ToggleSpeed);
    EXPECT_TRUE(frame.speedWindow()->isHidden());
    EXPECT_FALSE(frame.action(command::ToggleSpeed)->isChecked());
    Trigger(command::StackWindows);
    EXPECT_EQ(span(frame.accelerationWindow()), std::make_pair(0, 300));
    EXPECT_EQ(span(frame.altitudeWindow()), std::make_pair(301, 600));

    // Shown again, it comes back where it was.
    Trigger(command::ToggleSpeed);
    EXPECT_EQ(span(frame.speedWindow()), std::make_pair(201, 401));
    EXPECT_TRUE(frame.action(command::ToggleSpeed)->isChecked());

    // A close request hides the window instead of destroying it.
    frame.altitudeWindow()->close();
    EXPECT_TRUE(frame.altitudeWindow()->isHidden());
    EXPECT_FALSE(frame.action(command::ToggleAltitude)->isChecked());
}

struct YRange {
    CChildFrame* window;
    double yMin, yMax;
};

// The y range of each graph, acceleration, speed and altitude.
void ExpectYRanges(const std::vector<YRange>& expected, const std::string& what)
{
    for (const YRange& e : expected) {
        const GraphSettings s = e.window->pane().GetSettings();
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
    const std::vector<YRange> widened = {{frame.accelerationWindow(), -15, 15},
                                         {frame.speedWindow(), 0, 350},
                                         {frame.altitudeWindow(), 0, 3000}};
    ExpectYRanges(widened, "shown");

    // Zoomed into the y axis, the full view brings back the widened range.
    GraphSettings zoomed = frame.altitudeWindow()->pane().GetSettings();
    zoomed.yMin = 2800;
    zoomed.yMax = 2900;
    frame.altitudeWindow()->pane().ApplySettings(zoomed);
    frame.mdiArea()->setActiveSubWindow(frame.altitudeWindow());
    frame.updateMenus();
    Trigger(command::FullView);
    ExpectYRanges(widened, "full view");
}

TEST_F(GraphWindowsTest, StartsOfTheSampleCardKeepTheConfiguredValueRanges)
{
    StoreSetting(QStringLiteral("BaseDir"), QStringLiteral(VELTRIN_SAMPLES_DIR "/VELT"));
    CMainFrame& frame = MakeFrame();
    ASSERT_GT(frame.recording().size(), 0u);
    for (int index = 0; index < static_cast<int>(frame.recording().size()); ++index) {
        frame.ShowStart(index);
        ExpectYRanges({{frame.accelerationWindow(), -10, 10},
                       {frame.speedWindow(), 0, 300},
                       {frame.altitudeWindow(), 0, 2000}},
                      "start " + std::to_string(index));
    }
}

TEST_F(GraphWindowsTest, MiddleClickSetsTheMarkerEverywhereIncludingHiddenWindows)
{
    ShowStartOf(100, 500);
    Trigger(command::ToggleSpeed);  // hidden, but still kept up to date
    CGraphPane& pane = frame_->altitudeWindow()->pane();
    const QRect area = pane.Plot().GetPlotArea();
    // Half way along the x axis: 50 s, the row at 50 000 ms.
    QTest::mouseClick(&pane, Qt::MiddleButton, {}, QPoint(area.left() + area.width() / 2,
                                                          area.center().y()));
    for (CChildFrame* window : Windows()) {
        EXPECT_TRUE(window->pane().Plot().MarkerShown()) << window->windowTitle().toStdString();
        EXPECT_NEAR(window->pane().Plot().MarkerTime(), 50000.0, 1000.0);
    }
    // The read-out shows the sample at the marker, each value from its own column.
    const double markerMs = frame_->accelerationWindow()->pane().Plot().MarkerTime();
    const std::deque<Sample>& samples = frame_->recording()[0].samples;
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
