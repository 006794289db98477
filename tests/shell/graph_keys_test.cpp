// Keys pressed in the real main frame reach the graph pane that was clicked
// and act on all three graphs.
#include "shell_test_support.h"

#include "graph/graph_pane.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QTest>
#include <QTreeWidget>

namespace veltrin::test {
namespace {

class GraphKeysTest : public ShellTest {
protected:
    std::pair<double, double> Range(CChildFrame* window) const
    {
        const GraphSettings s = window->Pane().GetSettings();
        return {s.xMin, s.xMax};
    }
};

TEST_F(GraphKeysTest, KeysReachTheClickedPaneAndMoveAllGraphs)
{
    WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"),
                  SteadyStart(600));
    CMainFrame& frame = MakeFrame();
    frame.ShowStart(0);
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    const std::pair<double, double> full = Range(frame.SpeedWindow());

    // A click into the speed graph gives its pane the keys.
    CGraphPane& pane = frame.SpeedWindow()->Pane();
    QTest::mouseClick(&pane, Qt::LeftButton, {}, pane.rect().center());
    EXPECT_EQ(frame.MdiArea()->activeSubWindow(), frame.SpeedWindow());
    ASSERT_EQ(QApplication::focusWidget(), &pane);

    // Also when the window was active already and the start list had the keys.
    frame.StartList()->setFocus();
    QTest::mouseClick(&pane, Qt::LeftButton, {}, pane.rect().center());
    ASSERT_EQ(QApplication::focusWidget(), &pane);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Plus);
    const std::pair<double, double> zoomed = Range(frame.SpeedWindow());
    EXPECT_LT(zoomed.second - zoomed.first, full.second - full.first);
    EXPECT_EQ(Range(frame.AccelerationWindow()), zoomed);
    EXPECT_EQ(Range(frame.AltitudeWindow()), zoomed);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_GT(Range(frame.AltitudeWindow()).first, zoomed.first);

    // Home is the whole flight, as "Vollansicht" shows it.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
    EXPECT_EQ(Range(frame.AccelerationWindow()), full);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Plus);
    frame.Action(Command::FullView)->trigger();
    EXPECT_EQ(Range(frame.SpeedWindow()), full);

    // With the marker set, "." steps it and the status bar follows.
    frame.MarkSample(10);
    const QString before = frame.StatusText();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Period);
    EXPECT_NE(frame.StatusText(), before);
    EXPECT_EQ(frame.AccelerationWindow()->Pane().Plot().MarkerTime(), 11000.0);
}

}  // namespace
}  // namespace veltrin::test
