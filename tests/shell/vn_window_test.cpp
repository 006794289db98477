// The V-n diagram window of the main frame: it follows the shown start, the
// limits and the marker, a click moves the graphs' marker to the sample
// picked, and many starts are read in the background and shown at once.
#include "shell_test_support.h"

#include "graph/graph_pane.h"
#include "graph/vn_diagram_widget.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"
#include "shell/vn_starts_reader.h"
#include "shell/vn_window.h"

#include <QAction>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace veltrin::test {
namespace {

constexpr AircraftLimits kLimits{-3.5, 5.5, 250.0};

struct Point {
    double ias, accZ;
};

// One sample a second.
std::vector<std::string> StartOf(const std::vector<Point>& points)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < points.size(); ++i)
        lines.push_back(
            SampleLine(100.0 + static_cast<double>(i), points[i].accZ, points[i].ias, 300));
    return lines;
}

const std::vector<Point> kFirst = {
    {100.0, 1.0}, {120.0, 2.0}, {150.0, 6.0}, {260.0, 1.0}, {180.0, 5.5},
};
const std::vector<Point> kSecond = {{90.0, -4.0}, {95.0, -3.5}, {110.0, 0.5}};

struct Counts {
    std::uint64_t inside = 0, beyond = 0;
};

Counts CountsOf(const PointDensity& density)
{
    Counts counts;
    for (int row = density.FirstRow(); row <= density.LastRow(); ++row) {
        for (int column = density.FirstColumn(); column <= density.LastColumn(); ++column) {
            counts.inside += density.InsideAt(column, row);
            counts.beyond += density.BeyondAt(column, row);
        }
    }
    return counts;
}

class VnWindowTest : public ShellTest {
protected:
    CMainFrame& FrameWithStarts()
    {
        WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"),
                      StartOf(kFirst));
        WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S160000.TXT"),
                      StartOf(kSecond));
        return MakeFrame(QSize(1100, 800));
    }

    VnWindow& OpenedWindow()
    {
        frame_->Action(Command::ToggleVnDiagram)->trigger();
        QCoreApplication::processEvents();
        return frame_->VnDiagramWindow();
    }
};

TEST_F(VnWindowTest, ShowsTheShownStartOverTheEnvelopeOfTheLimits)
{
    CMainFrame& frame = FrameWithStarts();
    frame.ShowStart(0);
    VnWindow& window = OpenedWindow();
    EXPECT_FALSE(window.isHidden());
    frame.UpdateMenus();
    EXPECT_TRUE(frame.Action(Command::ToggleVnDiagram)->isChecked());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("V-n-Diagramm"));

    const std::vector<VnPoint>& points = window.Diagram().Points();
    ASSERT_EQ(points.size(), kFirst.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_DOUBLE_EQ(points[i].ias, kFirst[i].ias);
        EXPECT_DOUBLE_EQ(points[i].accZ, kFirst[i].accZ);
    }
    EXPECT_FALSE(window.Diagram().Envelope());

    frame.SetLimits(kLimits);
    ASSERT_TRUE(window.Diagram().Envelope());
    EXPECT_EQ(window.Diagram().Envelope()->positiveLoad, 5.5);
    EXPECT_EQ(window.Diagram().Envelope()->negativeLoad, -3.5);
    EXPECT_EQ(window.Diagram().Envelope()->speed, 250.0);
    // Limits that cannot be checked against draw no envelope.
    frame.SetLimits(AircraftLimits{2.0, 1.0, 250.0});
    EXPECT_FALSE(window.Diagram().Envelope());
    frame.SetLimits(std::nullopt);
    EXPECT_FALSE(window.Diagram().Envelope());

    // Another start replaces the points; none shown leaves none.
    frame.ShowStart(1);
    EXPECT_EQ(window.Diagram().Points().size(), kSecond.size());
    frame.LoadBaseDirectory(cardPath_);
    EXPECT_TRUE(window.Diagram().Points().empty());

    frame.Action(Command::ToggleVnDiagram)->trigger();
    EXPECT_TRUE(window.isHidden());
    EXPECT_FALSE(frame.Action(Command::ToggleVnDiagram)->isChecked());
}

TEST_F(VnWindowTest, AClickPicksTheNearestSampleAndMovesTheMarkerOfAllGraphs)
{
    CMainFrame& frame = FrameWithStarts();
    frame.ShowStart(0);
    VnWindow& window = OpenedWindow();
    VnDiagramWidget& diagram = window.Diagram();
    ASSERT_GT(diagram.width(), 200);

    const QPoint at = diagram.Layout().ToScreen(151.0, 5.9).toPoint();
    QTest::mouseClick(&diagram, Qt::LeftButton, {}, at);
    EXPECT_EQ(diagram.MarkedPoint(), 2);
    for (CChildFrame* graph :
         {frame.AccelerationWindow(), frame.SpeedWindow(), frame.AltitudeWindow()}) {
        EXPECT_TRUE(graph->Pane().Plot().MarkerShown());
        EXPECT_EQ(graph->Pane().Plot().MarkerTime(), 2000.0);
    }
    EXPECT_FALSE(frame.StatusText().isEmpty());

    // The marker moved elsewhere is followed.
    frame.MarkSample(4);
    EXPECT_EQ(diagram.MarkedPoint(), 4);
    // Showing another start clears the mark.
    frame.ShowStart(1);
    EXPECT_EQ(diagram.MarkedPoint(), -1);
}

TEST_F(VnWindowTest, ManyStartsAreReadInTheBackgroundAndShownAtOnce)
{
    CMainFrame& frame = FrameWithStarts();
    frame.SetLimits(kLimits);
    frame.ShowStart(0);
    std::vector<StartFile> files = StartFiles(frame.LoadedRecording());
    ASSERT_EQ(files.size(), 2u);
    files.push_back({cardPath_.toStdString() + "/D120826/S999999.TXT", 0});  // unreadable

    frame.ShowStartsInVnDiagram(files);
    VnWindow& window = frame.VnDiagramWindow();
    EXPECT_FALSE(window.isHidden());
    EXPECT_EQ(window.StartCount(), 3u);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("V-n-Diagramm (3 Starts)"));
    window.FinishReading();
    EXPECT_FALSE(window.Reading());
    EXPECT_FALSE(window.Progress()->isVisible());
    EXPECT_TRUE(window.Diagram().Points().empty());
    const Counts counts = CountsOf(window.Diagram().Density());
    EXPECT_EQ(counts.inside + counts.beyond, kFirst.size() + kSecond.size());
    EXPECT_EQ(counts.beyond, 3u);  // 6.0 g, 260 km/h, -4.0 g

    // Other limits classify the starts again.
    frame.SetLimits(AircraftLimits{-3.0, 5.0, 250.0});
    EXPECT_TRUE(window.Reading());
    window.FinishReading();
    EXPECT_EQ(CountsOf(window.Diagram().Density()).beyond, 5u);

    // A start shown in the graphs is shown again on its own.
    frame.ShowStart(1);
    EXPECT_EQ(window.StartCount(), 0u);
    EXPECT_EQ(window.Diagram().Points().size(), kSecond.size());
    EXPECT_TRUE(window.Diagram().Density().Empty());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("V-n-Diagramm"));
}

TEST_F(VnWindowTest, CancellingShowsTheStartsReadUntilThen)
{
    CMainFrame& frame = FrameWithStarts();
    std::vector<StartFile> files;
    for (int i = 0; i < 200; ++i) {
        for (const StartFile& file : StartFiles(frame.LoadedRecording()))
            files.push_back(file);
    }
    frame.ShowStartsInVnDiagram(files);
    VnWindow& window = frame.VnDiagramWindow();
    ASSERT_TRUE(window.Reading());
    EXPECT_TRUE(window.Progress()->isVisible());
    EXPECT_EQ(window.Progress()->maximum(), 400);
    QTest::mouseClick(window.CancelButton(), Qt::LeftButton);
    EXPECT_FALSE(window.Reading());
    EXPECT_FALSE(window.Progress()->isVisible());
    const std::uint64_t shown = window.Diagram().Density().Count();
    EXPECT_LE(shown, 400 * 4u);
    EXPECT_EQ(window.StartCount(), 400u);
}

TEST(VnStartsReader, TwoWorkersBinWhatOneDoes)
{
    QTemporaryDir card;
    ASSERT_TRUE(card.isValid());
    std::vector<StartFile> files;
    for (int i = 0; i < 12; ++i) {
        std::vector<Point> points;
        for (int j = 0; j < 50; ++j)
            points.push_back({60.0 + i * 10.0 + j * 0.7, -4.0 + j * 0.2});
        const QString name = QStringLiteral("S1400%1.TXT").arg(i, 2, 10, QLatin1Char('0'));
        WriteDataFile(card.path(), QStringLiteral("D120826"), name, StartOf(points));
        files.push_back({(card.path() + QStringLiteral("/D120826/") + name).toStdString(), 0});
    }
    files.push_back({(card.path() + QStringLiteral("/missing.TXT")).toStdString(), 0});
    const VnEnvelope envelope{-3.5, 5.5, 150.0};

    VnStartsReader one(files, envelope, 1);
    VnStartsReader two(files, envelope, 2);
    const PointDensity a = one.TakeDensity();
    const PointDensity b = two.TakeDensity();
    EXPECT_TRUE(one.Finished());
    EXPECT_EQ(one.Done(), files.size());
    EXPECT_EQ(two.Unreadable(), 1u);
    EXPECT_EQ(a.Count(), 12u * 50u);
    ASSERT_EQ(b.Count(), a.Count());
    for (int row = a.FirstRow(); row <= a.LastRow(); ++row) {
        for (int column = a.FirstColumn(); column <= a.LastColumn(); ++column) {
            ASSERT_EQ(a.InsideAt(column, row), b.InsideAt(column, row)) << column << ", " << row;
            ASSERT_EQ(a.BeyondAt(column, row), b.BeyondAt(column, row)) << column << ", " << row;
        }
    }
    EXPECT_GT(CountsOf(a).beyond, 0u);

    // Nothing to read finishes at once with nothing.
    VnStartsReader none({}, std::nullopt);
    EXPECT_TRUE(none.TakeDensity().Empty());
}

}  // namespace
}  // namespace veltrin::test
