// Gestures on graph panes that sit in the sub-windows of a QMdiArea, as in the
// program: a drag ends when its sub-window or the whole program loses activation.
#include "graph/graph_pane.h"
#include "graph_test_data.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include <gtest/gtest.h>

#include <array>

namespace veltrin {
namespace {

using testing_data::TestTable;

// Two graph windows in a main window, both showing 100..160 s of a 600 s flight.
class SubWindowGestures : public ::testing::Test {
protected:
    SubWindowGestures() : table(601, 1000, 1, [](int r, int) { return (r % 20) - 10.0; })
    {
        main.setCentralWidget(area);
        for (std::size_t i = 0; i < panes.size(); ++i) {
            panes[i] = new CGraphPane;
            frames[i] = area->addSubWindow(panes[i]);
            panes[i]->SetData(table.rows, table.Data());
            panes[i]->Plot().AddSeries({0, QColor(255, 0, 0), true, "Acceleration", "a", false});
        }
        main.resize(1000, 700);
        main.show();
        for (std::size_t i = 0; i < panes.size(); ++i) {
            frames[i]->setGeometry(static_cast<int>(i) * 480, 0, 480, 320);
            GraphSettings s = panes[i]->GetSettings();
            s.xMin = 100;
            s.xMax = 160;
            s.xMinorStep = s.xMajorStep = 10;
            s.xMinSpan = 10;
            s.yMinSpan = 0.1;
            panes[i]->ApplySettings(s);
        }
        QApplication::setActiveWindow(&main);
        area->setActiveSubWindow(frames[0]);
        QApplication::processEvents();
        area_ = pane().Plot().GetPlotAreaEdges();
    }
    ~SubWindowGestures() override { QApplication::setActiveWindow(nullptr); }

    CGraphPane& pane() { return *panes[0]; }
    QPoint At(int dx, int dy) const
    {
        return QPoint(area_.left + dx, (area_.top + area_.bottom) / 2 + dy);
    }

    TestTable table;
    QMainWindow main;
    QMdiArea* area = new QMdiArea;  // owned by the main window
    std::array<CGraphPane*, 2> panes{};
    std::array<QMdiSubWindow*, 2> frames{};
    PlotArea area_;
};

enum class Gesture { Pan, ShiftDrag, ArmedClick };

// Starts the gesture in the first pane and leaves the button down.
void Start(CGraphPane& pane, Gesture g, QPoint from)
{
    const Qt::KeyboardModifiers keys =
        g == Gesture::ShiftDrag ? Qt::ShiftModifier : Qt::KeyboardModifiers{};
    QTest::mousePress(&pane, Qt::LeftButton, keys, from);
    if (g != Gesture::ArmedClick)
        QTest::mouseMove(&pane, from + QPoint(40, 30));
}

// After the drag's window lost activation, nothing the mouse does in it may move
// or zoom the view, and the pan cursor is gone.
void ExpectEnded(CGraphPane& pane, QPoint from, const char* what)
{
    SCOPED_TRACE(what);
    EXPECT_FALSE(pane.Panning());
    EXPECT_FALSE(pane.SelectionActive());
    EXPECT_EQ(pane.cursor().shape(), Qt::ArrowCursor);
    const GraphSettings before = pane.GetSettings();
    QTest::mouseMove(&pane, from + QPoint(120, 60));
    EXPECT_EQ(pane.GetSettings(), before);
    EXPECT_FALSE(pane.Panning());
    QTest::mouseRelease(&pane, Qt::LeftButton, {}, from + QPoint(120, 60));
    EXPECT_EQ(pane.GetSettings(), before);
    EXPECT_TRUE(pane.History().Empty());
}

const struct {
    Gesture gesture;
    const char* name;
} kGestures[] = {
    {Gesture::Pan, "pan"},
    {Gesture::ShiftDrag, "SHIFT-drag"},
    {Gesture::ArmedClick, "armed click"},
};

TEST_F(SubWindowGestures, RegressionDragSurvivesAnotherGraphWindowBecomingActive)
{
    for (const auto& c : kGestures) {
        area->setActiveSubWindow(frames[0]);
        const QPoint from = At(60, -20);
        Start(pane(), c.gesture, from);
        if (c.gesture == Gesture::Pan) {
            ASSERT_EQ(pane().cursor().shape(), Qt::ClosedHandCursor);
        }
        const GraphSettings started = pane().GetSettings();
        area->setActiveSubWindow(frames[1]);  // what a click into the other graph does
        ASSERT_EQ(area->activeSubWindow(), frames[1]);
        EXPECT_EQ(pane().GetSettings(), started);  // the view stays where the drag left it
        ExpectEnded(pane(), from, c.name);
    }
}

TEST_F(SubWindowGestures, RegressionDragSurvivesTheProgramLosingActivation)
{
    for (const auto& c : kGestures) {
        QApplication::setActiveWindow(&main);
        const QPoint from = At(60, -20);
        Start(pane(), c.gesture, from);
        QApplication::setActiveWindow(nullptr);  // another program takes over
        ASSERT_FALSE(pane().isActiveWindow());
        ExpectEnded(pane(), from, c.name);
    }
}

TEST_F(SubWindowGestures, DragStartedByTheActivatingClickGoesOn)
{
    // A click into the inactive graph activates its window after the press has
    // started the gesture: the pan carries on.
    CGraphPane& second = *panes[1];
    const GraphSettings before = second.GetSettings();
    QTest::mousePress(&second, Qt::LeftButton, {}, At(200, 0));
    area->setActiveSubWindow(frames[1]);
    QTest::mouseMove(&second, At(200 - second.Plot().GetPlotAreaEdges().Width() / 6, 0));
    EXPECT_TRUE(second.Panning());
    EXPECT_NEAR(second.GetSettings().xMin, before.xMin + 10.0, 0.2);
    QTest::mouseRelease(&second, Qt::LeftButton, {}, At(100, 0));
    EXPECT_FALSE(second.Panning());
    EXPECT_EQ(second.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(SubWindowGestures, PaneMovedToAnotherSubWindowFollowsTheNewOne)
{
    QMdiSubWindow* newHome = area->addSubWindow(new QWidget);
    frames[0]->setWidget(nullptr);
    newHome->widget()->deleteLater();
    newHome->setWidget(panes[0]);
    newHome->show();
    QApplication::processEvents();
    ASSERT_TRUE(pane().isVisible());
    area->setActiveSubWindow(newHome);
    Start(pane(), Gesture::Pan, At(60, 0));
    ASSERT_TRUE(pane().Panning());
    area->setActiveSubWindow(frames[1]);
    ExpectEnded(pane(), At(60, 0), "pan in the new window");
}

}  // namespace
}  // namespace veltrin
