// The track window "Flugweg" in the main frame: a column beside the stacked
// graphs, the shown start's track, and the marker both ways.
#include "shell_test_support.h"

#include "graph/graph_pane.h"
#include "graph/graph_plot.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"
#include "shell/track_window.h"
#include "track/track_view.h"

#include <QAction>
#include <QCoreApplication>
#include <QMdiArea>
#include <QSettings>

namespace veltrin::test {
namespace {

class TrackWindowTest : public ShellTest {
protected:
    CMainFrame& ShowSteadyStart()
    {
        WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"),
                      SteadyStart(300));
        CMainFrame& frame = MakeFrame(QSize(1000, 700));
        frame.ShowStart(0);
        return frame;
    }
    void Trigger(Command id) const { frame_->Action(id)->trigger(); }
};

TEST_F(TrackWindowTest, ShownBesideTheStackedGraphsAndHiddenAgainGivesThemTheWidth)
{
    CMainFrame& frame = ShowSteadyStart();
    TrackWindow& track = frame.FlightTrackWindow();
    const QRect client = frame.MdiArea()->viewport()->rect();
    EXPECT_TRUE(track.isHidden());
    EXPECT_EQ(frame.AccelerationWindow()->width(), client.width());

    Trigger(Command::ToggleTrack);
    EXPECT_TRUE(frame.TrackWindowShown());
    EXPECT_TRUE(frame.Action(Command::ToggleTrack)->isChecked());
    for (CChildFrame* window :
         {frame.AccelerationWindow(), frame.SpeedWindow(), frame.AltitudeWindow()}) {
        EXPECT_EQ(window->geometry().left(), client.left());
        EXPECT_EQ(window->geometry().right() + 1, track.geometry().left());
    }
    EXPECT_EQ(track.geometry().top(), client.top());
    EXPECT_EQ(track.geometry().bottom(), client.bottom());
    EXPECT_EQ(track.geometry().right(), client.right());

    // "Übereinander" keeps the column; resizing the frame follows with it.
    Trigger(Command::StackWindows);
    EXPECT_EQ(frame.AccelerationWindow()->geometry().right() + 1, track.geometry().left());
    frame.resize(1200, 800);
    QCoreApplication::processEvents();
    EXPECT_EQ(track.geometry().right(), frame.MdiArea()->viewport()->rect().right());
    EXPECT_EQ(frame.SpeedWindow()->geometry().right() + 1, track.geometry().left());

    Trigger(Command::ToggleTrack);
    EXPECT_TRUE(track.isHidden());
    EXPECT_EQ(frame.AccelerationWindow()->width(), frame.MdiArea()->viewport()->width());
}

TEST_F(TrackWindowTest, ShowsTheShownStartsTrackAndTheMarkerBothWays)
{
    CMainFrame& frame = ShowSteadyStart();
    Trigger(Command::ToggleTrack);
    TrackView& view = frame.FlightTrackWindow().View();
    const TrackData& data = view.Canvas()->Scene().Data();
    ASSERT_EQ(data.points.size(), 301u);
    EXPECT_EQ(data.points[10].timeMs, 10000.0);
    EXPECT_NEAR(data.points[10].latitude, 48.1 + 10e-5, 1e-9);
    EXPECT_EQ(data.takeOffIndex, 0);

    // The graphs' marker puts the dot on the track.
    EXPECT_FALSE(view.Canvas()->MarkerDot().has_value());
    frame.MarkSample(120);
    ASSERT_TRUE(view.Canvas()->MarkerDot().has_value());

    // A place picked on the track moves the graphs' marker to its sample.
    emit view.markerRequested(42000.0);
    for (CChildFrame* window :
         {frame.AccelerationWindow(), frame.SpeedWindow(), frame.AltitudeWindow()})
        EXPECT_EQ(window->Pane().Plot().MarkerTime(), 42000.0);
    EXPECT_TRUE(frame.StatusText().startsWith(QStringLiteral("Mark:")));

    // Loading the folder again leaves no start shown: no track either.
    frame.LoadBaseDirectory(cardPath_);
    EXPECT_TRUE(view.Canvas()->Scene().Data().points.empty());
}

TEST_F(TrackWindowTest, TheMapServerIsKeptInTheSettings)
{
    {
        QSettings store(QStringLiteral("Quon"), QStringLiteral("Veltrin View"));
        store.setValue(QStringLiteral("Map/TileServer"),
                       QStringLiteral("http://127.0.0.1:9/{z}/{x}/{y}.png"));
        store.setValue(QStringLiteral("Map/TileAttribution"), QStringLiteral("Karte: Test"));
    }
    CMainFrame& frame = MakeFrame();
    TrackView& view = frame.FlightTrackWindow().View();
    EXPECT_EQ(view.TileServer(), QStringLiteral("http://127.0.0.1:9/{z}/{x}/{y}.png"));

    emit view.tileServerChanged(QString(), QString());
    QSettings store(QStringLiteral("Quon"), QStringLiteral("Veltrin View"));
    EXPECT_EQ(store.value(QStringLiteral("Map/TileServer")).toString(), QString());
    EXPECT_EQ(store.value(QStringLiteral("Map/TileAttribution")).toString(), QString());
}

}  // namespace
}  // namespace veltrin::test
