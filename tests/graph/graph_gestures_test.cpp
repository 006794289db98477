// Mouse gestures on an offscreen graph pane: pan, rubber band, double-clicks,
// marker, cancel, activation; and the title tip passing input on.
#include "graph/graph_item.h"
#include "graph/graph_pane.h"
#include "graph/title_tip.h"
#include "graph_test_data.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <span>
#include <tuple>
#include <utility>
#include <vector>

namespace veltrin {
namespace {

using testing_data::TestTable;

// A 600 s flight at one row a second, shown 0..60 s as the application does.
class Gestures : public ::testing::Test {
protected:
    Gestures() : table(601, 1000, 1, [](int r, int) { return (r % 20) - 10.0; })
    {
        pane.resize(480, 320);
        pane.show();
        pane.SetData(table.rows, table.Data());
        pane.Plot().AddSeries({0, QColor(255, 0, 0), true, "Acceleration", "Acceleration", false});
        GraphSettings s = pane.GetSettings();
        s.xMin = 0;
        s.xMax = 60;
        s.xMinorStep = s.xMajorStep = 10;
        s.xTitle = QStringLiteral("s");
        s.xMinSpan = 10;
        s.yMinSpan = 0.1;
        pane.ApplySettings(s);
        area = pane.Plot().GetPlotAreaEdges();
    }

    GraphSettings Now() { return pane.GetSettings(); }
    void Apply(double xMin, double xMax, double xMinSpan = 10)
    {
        GraphSettings s = pane.GetSettings();
        s.xMin = xMin;
        s.xMax = xMax;
        s.xMinSpan = xMinSpan;
        pane.ApplySettings(s);
        area = pane.Plot().GetPlotAreaEdges();
    }
    int MidY() const { return (area.top + area.bottom) / 2; }
    void DoubleClick(Qt::MouseButton button, QPoint p)
    {
        QTest::mousePress(&pane, button, {}, p);
        QTest::mouseRelease(&pane, button, {}, p);
        QTest::mouseDClick(&pane, button, {}, p);
        QTest::mouseRelease(&pane, button, {}, p);
    }

    TestTable table;
    CGraphPane pane;
    PlotArea area;
};

TEST_F(Gestures, ShiftDragOnItsStartingColumnZoomsNothing)
{
    const GraphSettings before = Now();
    const QPoint start(area.left + 60, area.top + 10);
    QTest::mousePress(&pane, Qt::LeftButton, Qt::ShiftModifier, start);
    QTest::mouseMove(&pane, QPoint(start.x(), area.top + 120));
    QTest::mouseRelease(&pane, Qt::LeftButton, Qt::ShiftModifier,
                        QPoint(start.x(), area.top + 120));
    EXPECT_EQ(Now(), before);
    EXPECT_TRUE(pane.History().Empty());
    EXPECT_FALSE(pane.SelectionActive());

    // A real rectangle zooms both axes and can be undone.
    QTest::mousePress(&pane, Qt::LeftButton, Qt::ShiftModifier, start);
    QTest::mouseMove(&pane, QPoint(start.x() + area.Width() / 2, area.top + 120));
    QTest::mouseRelease(&pane, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_LT(Now().xMax - Now().xMin, 35.0);
    EXPECT_LT(Now().yMax - Now().yMin, 20.0);
    EXPECT_EQ(pane.History().Size(), 1);
}

TEST_F(Gestures, RegressionBandThatZoomsNothingLeftItsOutline)
{
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    const QPoint start(area.left + 60, area.top + 10);
    QTest::mousePress(&pane, Qt::LeftButton, Qt::ShiftModifier, start);
    QTest::mouseMove(&pane, QPoint(start.x(), area.top + 120));
    QApplication::processEvents();  // the band is painted
    pane.installEventFilter(&counter);
    QTest::mouseRelease(&pane, Qt::LeftButton, Qt::ShiftModifier,
                        QPoint(start.x(), area.top + 120));
    QApplication::processEvents();
    pane.removeEventFilter(&counter);
    EXPECT_GE(counter.paints, 1);
    EXPECT_TRUE(pane.History().Empty());
}

TEST_F(Gestures, RubberBandOutlineDoesNotAccumulate)
{
    QTest::mousePress(&pane, Qt::LeftButton, Qt::ShiftModifier,
                      QPoint(area.left + 20, area.top + 20));
    QTest::mouseMove(&pane, QPoint(area.left + 200, area.top + 150));
    const QImage first = pane.grab().toImage();
    const QImage second = pane.grab().toImage();
    EXPECT_EQ(first, second);
    // Every other pixel of the band is inverted: white background turns black.
    const QRgb a = first.pixel(area.left + 100, area.top + 20);
    const QRgb b = first.pixel(area.left + 101, area.top + 20);
    EXPECT_NE(a, b);
    QTest::mousePress(&pane, Qt::RightButton, {}, QPoint(area.left + 200, area.top + 150));
    QTest::mouseRelease(&pane, Qt::LeftButton, {}, QPoint(area.left + 200, area.top + 150));
    EXPECT_TRUE(pane.History().Empty());  // the right button cancelled the zoom
}

TEST_F(Gestures, DoubleClickZoomsToAQuarterUntilTheMinimumSpan)
{
    DoubleClick(Qt::LeftButton, QPoint(area.left, MidY()));
    GraphSettings s = Now();
    EXPECT_EQ(s.xMin, 0.0);
    EXPECT_LE(s.xMax, 15.0);
    EXPECT_GT(s.xMax, 14.8);
    EXPECT_EQ(s.xMajorStep, 5.0);
    EXPECT_EQ(s.xMinorStep, 1.0);
    EXPECT_EQ(s.yMin, -10.0);
    EXPECT_EQ(s.yMax, 10.0);
    EXPECT_EQ(pane.History().Size(), 1);

    // A quarter of 15 s is below the 10 s minimum: nothing more, nothing pushed.
    DoubleClick(Qt::LeftButton, QPoint(area.left + 30, MidY()));
    EXPECT_EQ(Now().xMin, s.xMin);
    EXPECT_EQ(Now().xMax, s.xMax);
    EXPECT_EQ(pane.History().Size(), 1);
}

TEST_F(Gestures, RightDoubleClickStepsBackThroughTheHistory)
{
    Apply(0, 60, 1);
    const GraphSettings initial = Now();
    DoubleClick(Qt::LeftButton, QPoint(area.left, MidY()));
    const GraphSettings once = Now();
    DoubleClick(Qt::LeftButton, QPoint(area.left, MidY()));
    EXPECT_LT(Now().xMax, 4.0);
    EXPECT_EQ(Now().xMajorStep, 1.0);
    EXPECT_EQ(Now().xMinorStep, 0.5);

    DoubleClick(Qt::RightButton, QPoint(area.left + 50, MidY()));
    EXPECT_EQ(Now().xMax, once.xMax);
    EXPECT_EQ(Now().xMajorStep, 5.0);
    EXPECT_EQ(Now().xMinorStep, 1.0);
    DoubleClick(Qt::RightButton, QPoint(area.left + 50, MidY()));
    EXPECT_EQ(Now().xMax, 60.0);
    EXPECT_EQ(Now().xMajorStep, 10.0);
    EXPECT_EQ(Now().xMinorStep, 10.0);
    DoubleClick(Qt::RightButton, QPoint(area.left + 50, MidY()));
    EXPECT_EQ(Now(), initial);
}

TEST_F(Gestures, PanFollowsTheMouseAndStopsAtTheDataEnd)
{
    Apply(100, 160);
    const QPoint from(area.left + 300, MidY());
    QTest::mousePress(&pane, Qt::LeftButton, {}, from);
    QTest::mouseMove(&pane, from + QPoint(area.Width() / 6, 0));
    EXPECT_TRUE(pane.Panning());
    EXPECT_EQ(pane.cursor().shape(), Qt::ClosedHandCursor);
    EXPECT_NEAR(Now().xMin, 90.0, 0.2);  // within a pixel
    // Far to the left: the end of the view stops at the last row.
    QTest::mouseMove(&pane, QPoint(area.left - 3000, MidY()));
    QTest::mouseRelease(&pane, Qt::LeftButton, {}, QPoint(area.left - 3000, MidY()));
    EXPECT_EQ(Now().xMax, 600.0);
    EXPECT_EQ(Now().xMin, 540.0);
    EXPECT_FALSE(pane.Panning());
    EXPECT_EQ(pane.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Gestures, RegressionPanCursorStuckAfterAnActivationChange)
{
    Apply(100, 160);
    QApplication::setActiveWindow(&pane);
    QTest::mousePress(&pane, Qt::LeftButton, {}, QPoint(area.left + 100, MidY()));
    QTest::mouseMove(&pane, QPoint(area.left + 120, MidY()));
    ASSERT_EQ(pane.cursor().shape(), Qt::ClosedHandCursor);
    QApplication::setActiveWindow(nullptr);  // another program takes over
    ASSERT_FALSE(pane.isActiveWindow());
    EXPECT_FALSE(pane.Panning());
    EXPECT_EQ(pane.cursor().shape(), Qt::ArrowCursor);
    const GraphSettings after = Now();
    QTest::mouseMove(&pane, QPoint(area.left + 200, MidY()));
    EXPECT_EQ(Now(), after);
    QTest::mouseRelease(&pane, Qt::LeftButton, {}, QPoint(area.left + 200, MidY()));

    // The right-button cancel ends a pan the same way.
    QTest::mousePress(&pane, Qt::LeftButton, {}, QPoint(area.left + 100, MidY()));
    QTest::mouseMove(&pane, QPoint(area.left + 120, MidY()));
    QTest::mousePress(&pane, Qt::RightButton, {}, QPoint(area.left + 120, MidY()));
    EXPECT_FALSE(pane.Panning());
    EXPECT_EQ(pane.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Gestures, RegressionFirstDragAfterActivationLost)
{
    // The click into an inactive window starts the gesture; the window becomes
    // active only after the press has been handled.
    QApplication::setActiveWindow(nullptr);
    const QPoint start(area.left + 60, area.top + 10);
    QTest::mousePress(&pane, Qt::LeftButton, Qt::ShiftModifier, start);
    QApplication::setActiveWindow(&pane);
    ASSERT_TRUE(pane.isActiveWindow());
    QTest::mouseMove(&pane, QPoint(start.x() + area.Width() / 2, area.top + 120));
    QTest::mouseRelease(&pane, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(pane.History().Size(), 1);
    EXPECT_FALSE(pane.SelectionActive());
    EXPECT_LT(Now().xMax - Now().xMin, 35.0);
}

struct MarkerLog {
    int calls = 0;
    int row = -2;
    static void OnMarker(void* data, int row, QPoint)
    {
        auto* self = static_cast<MarkerLog*>(data);
        ++self->calls;
        self->row = row;
    }
};

TEST_F(Gestures, MiddleClickSetsTheMarkerEvenWhenNotInteractive)
{
    GraphSettings s = Now();
    s.interactive = false;
    pane.ApplySettings(s);
    MarkerLog log;
    pane.SetMarkerCallback(&MarkerLog::OnMarker, &log);
    const int x = area.left + area.Width() / 2;  // about 30 s
    QTest::mousePress(&pane, Qt::MiddleButton, {}, QPoint(x, MidY()));
    EXPECT_EQ(log.calls, 1);
    EXPECT_NEAR(log.row, 30, 1);
    EXPECT_TRUE(pane.Plot().MarkerShown());
    EXPECT_EQ(pane.Plot().MarkerTime(), log.row * 1000.0);

    // Left gestures do nothing while not interactive.
    QTest::mousePress(&pane, Qt::LeftButton, {}, QPoint(x, MidY()));
    QTest::mouseMove(&pane, QPoint(x + 100, MidY()));
    QTest::mouseRelease(&pane, Qt::LeftButton, {}, QPoint(x + 100, MidY()));
    EXPECT_EQ(Now().xMin, 0.0);

    // Outside the data's time range: hidden, reported as -1.
    Apply(-100, -40);  // the view window puts it back to 0..60
    pane.SetData(0, nullptr);
    QTest::mousePress(&pane, Qt::MiddleButton, {}, QPoint(x, MidY()));
    EXPECT_EQ(log.row, -1);
    EXPECT_FALSE(pane.Plot().MarkerShown());
}

TEST_F(Gestures, RegressionMarkerOnTheLastSampleReportedTheRowBefore)
{
    Apply(540, 600);  // the view ends on the last row, 600 s
    MarkerLog log;
    pane.SetMarkerCallback(&MarkerLog::OnMarker, &log);
    QTest::mousePress(&pane, Qt::MiddleButton, {}, QPoint(area.right, MidY()));
    EXPECT_EQ(log.row, 600);
    EXPECT_EQ(pane.Plot().MarkerTime(), 600000.0);
    // One pixel earlier is still inside the last second: the row before.
    QTest::mousePress(&pane, Qt::MiddleButton, {}, QPoint(area.right - 1, MidY()));
    EXPECT_EQ(log.row, 599);
}

TEST_F(Gestures, LeftDoubleClickWithoutAMarkerShowsItAtTimeZero)
{
    ASSERT_FALSE(pane.Plot().MarkerShown());
    DoubleClick(Qt::LeftButton, QPoint(area.left + 200, MidY()));
    EXPECT_TRUE(pane.Plot().MarkerShown());
    EXPECT_EQ(pane.Plot().MarkerTime(), 0.0);
}

TEST_F(Gestures, NewDataEmptiesTheHistory)
{
    DoubleClick(Qt::LeftButton, QPoint(area.left, MidY()));
    ASSERT_EQ(pane.History().Size(), 1);
    pane.SetData(table.rows, table.Data());
    EXPECT_TRUE(pane.History().Empty());
}

TEST(GraphPane, LegendSlotsAndDefaults)
{
    CGraphPane pane;
    EXPECT_EQ(pane.objectName(), QStringLiteral("ACGraphDisplay"));
    EXPECT_EQ(pane.GetSettings().viewMode, ViewMode::FromStart);
    EXPECT_EQ(pane.GetSettings().yLabelFormat, QStringLiteral("%6.1f"));
    CLegendButton* first = pane.LegendButton(1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->ControlId(), 40001);
    EXPECT_EQ(first->geometry(), QRect(2, 2, 16, 16));
    EXPECT_EQ(pane.LegendButton(2)->geometry().top(), 18);
    EXPECT_FALSE(first->isVisibleTo(&pane));
    EXPECT_EQ(pane.LegendButton(0), nullptr);

    pane.Plot().AddSeries({0, QColor(255, 0, 0), true, "x", "x", false});
    pane.SetLegendSlot(1, 2, QStringLiteral("Altitude"), false);
    const GraphSeries* entry = pane.Plot().SeriesAt(0);
    EXPECT_EQ(entry->column, 2);
    EXPECT_EQ(entry->colour, QColor(255, 0, 0));  // palette entry 1
    EXPECT_FALSE(entry->visible);
    EXPECT_EQ(entry->label, QStringLiteral("Altitude"));
    EXPECT_EQ(first->toolTip(), QStringLiteral("Altitude"));
    EXPECT_FALSE(first->isChecked());

    // Slots outside 1..4 change neither a series nor a button, even when the plot
    // has a fifth series that slot 5 would otherwise reach.
    for (int column = 1; column <= 4; ++column)
        pane.Plot().AddSeries({column, QColor(0, 0, 0), true, "more", "more", false});
    struct Seen {
        std::vector<std::tuple<int, QColor, bool, QString, QString>> series;
        std::vector<std::tuple<QString, QColor, bool, bool>> buttons;
        bool operator==(const Seen&) const = default;
    };
    const auto look = [&pane] {
        Seen seen;
        for (int i = 0; i < pane.Plot().SeriesCount(); ++i) {
            const GraphSeries& e = *pane.Plot().SeriesAt(i);
            seen.series.emplace_back(e.column, e.colour, e.visible, e.name, e.label);
        }
        for (int slot = 1; slot <= 4; ++slot) {
            const CLegendButton* b = pane.LegendButton(slot);
            seen.buttons.emplace_back(b->toolTip(), b->SwatchColour(), b->DrawsSwatch(),
                                      b->isChecked());
        }
        return seen;
    };
    const Seen before = look();
    for (const int slot : {5, 0, -1})
        pane.SetLegendSlot(slot, 0, QStringLiteral("none"), true);
    EXPECT_TRUE(look() == before);

    // Pressing the button toggles the series once the notification arrives.
    QTest::mousePress(first, Qt::LeftButton);
    QTest::mouseRelease(first, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(pane.Plot().SeriesAt(0)->visible);
}

TEST(GraphItem, NewestDataAtRightAndLegendButtonsToggleSeries)
{
    CGraphItem item;
    EXPECT_EQ(item.objectName(), QStringLiteral("ACGraphItem"));
    EXPECT_EQ(item.GetSettings().viewMode, ViewMode::Latest);
    EXPECT_EQ(item.LegendButton(5), nullptr);
    CLegendButton* second = item.LegendButton(2);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->ControlId(), 40002);

    item.Plot().AddSeries({0, QColor(255, 0, 0), true, "a", "a", false});
    item.Plot().AddSeries({1, QColor(0, 0, 255), false, "b", "b", false});
    for (const bool expected : {true, false}) {
        QTest::mousePress(second, Qt::LeftButton);
        QTest::mouseRelease(second, Qt::LeftButton);
        QApplication::processEvents();
        EXPECT_EQ(item.Plot().SeriesAt(1)->visible, expected);
        EXPECT_TRUE(item.Plot().SeriesAt(0)->visible);  // other slots stay as they are
    }

    item.resize(300, 200);  // the settings follow the window size
    item.show();
    QApplication::processEvents();
    EXPECT_EQ(item.GetSettings().width, 300);
}

}  // namespace
}  // namespace veltrin

namespace veltrin {
namespace {

TEST(TitleTip, CreatedHiddenAndPassesKeysToItsOwner)
{
    QLineEdit owner;
    CTitleTip tip;
    EXPECT_EQ(tip.objectName(), QStringLiteral("ZTitleTip"));
    EXPECT_TRUE(tip.Create(&owner));
    EXPECT_TRUE(tip.Create(&owner));  // a second call creates nothing new
    EXPECT_FALSE(tip.isVisible());
    // Hiding a hidden tip leaves it hidden and ready, and leaves another window's
    // mouse grab alone.
    owner.grabMouse();
    tip.Hide();
    EXPECT_FALSE(tip.isVisible());
    EXPECT_TRUE(tip.IsCreated());
    EXPECT_EQ(QWidget::mouseGrabber(), &owner);
    owner.releaseMouse();

    tip.Show(QStringLiteral("Acceleration"), QRect(10, 10, 120, 18));
    ASSERT_TRUE(tip.isVisible());
    EXPECT_EQ(QWidget::mouseGrabber(), &tip);
    QTest::keyClick(&tip, Qt::Key_A);
    QApplication::processEvents();
    EXPECT_FALSE(tip.isVisible());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);  // hiding gave the grab back
    EXPECT_EQ(owner.text(), QStringLiteral("a"));
    tip.DestroyWindow();
    EXPECT_FALSE(tip.IsCreated());
}

}  // namespace
}  // namespace veltrin

namespace veltrin {
namespace {

// A click of `type` with `button` on the title tip.
struct TipClick {
    QEvent::Type type;
    Qt::MouseButton button;
    QEvent::Type arrives;  // what the window below the tip receives
};

// Clicks the shown tip once per case: the tip hides and the window below gets
// exactly one event of the expected kind and button.
void ExpectClicksReachTheWindowBelow(std::span<const TipClick> clicks)
{
    struct Below : QWidget {
        std::vector<std::pair<QEvent::Type, Qt::MouseButton>> got;
        void mousePressEvent(QMouseEvent* e) override { got.emplace_back(e->type(), e->button()); }
        void mouseDoubleClickEvent(QMouseEvent* e) override
        {
            got.emplace_back(e->type(), e->button());
        }
    } below;
    below.setGeometry(0, 0, 300, 100);
    below.show();
    CTitleTip tip;
    tip.Create(&below);
    for (const TipClick& c : clicks) {
        below.got.clear();
        tip.Show(QStringLiteral("Acceleration"), QRect(10, 10, 120, 18));
        const QPoint global(20, 15);
        QMouseEvent click(c.type, QPointF(tip.mapFromGlobal(global)), QPointF(global), c.button,
                          c.button, {});
        QApplication::sendEvent(&tip, &click);
        QApplication::processEvents();
        EXPECT_FALSE(tip.isVisible());
        ASSERT_EQ(below.got.size(), 1u) << c.button;
        EXPECT_EQ(below.got[0].first, c.arrives) << c.button;
        EXPECT_EQ(below.got[0].second, c.button);
    }
}

TEST(TitleTip, ClicksHideItAndReachTheWindowBelow)
{
    const TipClick clicks[] = {
        {QEvent::MouseButtonPress, Qt::LeftButton, QEvent::MouseButtonPress},
        {QEvent::MouseButtonDblClick, Qt::LeftButton, QEvent::MouseButtonDblClick},
    };
    ExpectClicksReachTheWindowBelow(clicks);
}

TEST(TitleTip, RegressionRightOrMiddleDoubleClickReachedTheWindowAsADoubleClick)
{
    // Only the left button double-clicks; the others arrive as presses.
    const TipClick clicks[] = {
        {QEvent::MouseButtonDblClick, Qt::RightButton, QEvent::MouseButtonPress},
        {QEvent::MouseButtonDblClick, Qt::MiddleButton, QEvent::MouseButtonPress},
    };
    ExpectClicksReachTheWindowBelow(clicks);
}

}  // namespace
}  // namespace veltrin
