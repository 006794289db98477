// Wheel, touchpad and keyboard navigation on an offscreen graph pane: zoom around
// the pointer, the limits of span and data, value-axis zoom, one history entry
// per burst of wheel steps, the view keys and stepping the marker.
#include "graph/graph_pane.h"
#include "graph/wheel_zoom.h"
#include "graph_test_data.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>

namespace veltrin {
namespace {

using testing_data::TestTable;

// A 600 s flight at two rows a second, shown 100..200 s.
class WheelKeys : public ::testing::Test {
protected:
    WheelKeys() : table(1201, 500, 1, [](int r, int) { return (r % 20) - 10.0; })
    {
        pane.resize(640, 320);
        pane.show();
        pane.SetData(table.rows, table.Data());
        pane.Plot().AddSeries({0, QColor(255, 0, 0), true, "Acceleration", "Acceleration", false});
        Show(100, 200);
        area = pane.Plot().GetPlotAreaEdges();
    }

    GraphSettings Now() { return pane.GetSettings(); }
    void Show(double xMin, double xMax)
    {
        GraphSettings s = pane.GetSettings();
        s.xMin = xMin;
        s.xMax = xMax;
        s.xMinorStep = s.xMajorStep = 10;
        s.xMinSpan = 10;
        s.yMin = -10;
        s.yMax = 10;
        s.yMinSpan = 1;
        pane.ApplySettings(s);
    }
    void Wheel(QPoint at, int angle, Qt::KeyboardModifiers mods, quint64 timestampMs,
               bool sideways = false)
    {
        const QPoint delta = sideways ? QPoint(angle, 0) : QPoint(0, angle);
        QWheelEvent event(QPointF(at), QPointF(pane.mapToGlobal(at)), QPoint(), delta, Qt::NoButton,
                          mods, Qt::NoScrollPhase, false);
        event.setTimestamp(timestampMs);
        QApplication::sendEvent(&pane, &event);
    }
    double XAt(double px)
    {
        const GraphSettings s = Now();
        return s.xMin + (px - area.left) / area.Width() * (s.xMax - s.xMin);
    }
    double PixelOf(double x)
    {
        const GraphSettings s = Now();
        return area.left + (x - s.xMin) / (s.xMax - s.xMin) * area.Width();
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(&pane, key, mods);
    }

    TestTable table;
    CGraphPane pane;
    PlotArea area;
};

TEST_F(WheelKeys, ZoomKeepsTheTimeUnderThePointer)
{
    const QPoint at(area.left + area.Width() / 3, (area.top + area.bottom) / 2);
    const double t = XAt(at.x());
    quint64 clock = 1000;
    for (int angle : {120, 120, 120, 60, -120, 240, -360, -120, 30}) {
        Wheel(at, angle, Qt::NoModifier, clock += 1000);
        EXPECT_NEAR(PixelOf(t), at.x(), 1.0) << angle;
    }
    // Three notches in, then three out, give back the starting span.
    Show(100, 200);
    for (int i = 0; i < 3; ++i)
        Wheel(at, 120, Qt::NoModifier, clock += 1000);
    EXPECT_NEAR(Now().xMax - Now().xMin, 100 / std::pow(1.25, 3), 0.01);
    for (int i = 0; i < 3; ++i)
        Wheel(at, -120, Qt::NoModifier, clock += 1000);
    EXPECT_NEAR(Now().xMax - Now().xMin, 100, 0.01);
    EXPECT_NEAR(PixelOf(t), at.x(), 1.0);
}

TEST_F(WheelKeys, ZoomHoldsMinimumSpanAndDataEnds)
{
    const QPoint at(area.left + 10, (area.top + area.bottom) / 2);
    quint64 clock = 1000;
    for (int i = 0; i < 40; ++i)
        Wheel(at, 120, Qt::NoModifier, clock += 1000);
    EXPECT_NEAR(Now().xMax - Now().xMin, 10, 1e-6);
    for (int i = 0; i < 40; ++i)
        Wheel(at, -120, Qt::NoModifier, clock += 1000);
    EXPECT_NEAR(Now().xMin, 0, 1e-6);
    EXPECT_NEAR(Now().xMax, 600, 1e-6);
    // Panning stops at both ends.
    Show(100, 200);
    for (int i = 0; i < 30; ++i)
        Wheel(at, 120, Qt::ShiftModifier, clock += 1000);
    EXPECT_NEAR(Now().xMin, 0, 1e-6);
    for (int i = 0; i < 80; ++i)
        Wheel(at, -120, Qt::NoModifier, clock += 1000, true);
    EXPECT_NEAR(Now().xMax, 600, 1e-6);
    EXPECT_NEAR(Now().xMin, 500, 1e-6);
}

TEST_F(WheelKeys, CtrlZoomsOnlyTheValueAxisAroundThePointer)
{
    const QPoint at(area.left + 100, area.top + area.Height() / 4);
    const double at25 = static_cast<double>(at.y() - area.top) / area.Height();
    const double y = 10 - at25 * 20;
    Wheel(at, 120, Qt::ControlModifier, 1000);
    EXPECT_EQ(Now().xMin, 100);
    EXPECT_EQ(Now().xMax, 200);
    EXPECT_NEAR(Now().yMax - Now().yMin, 16, 1e-6);
    EXPECT_NEAR((Now().yMax - y) / (Now().yMax - Now().yMin), at25, 1e-9);
    for (int i = 0; i < 30; ++i)
        Wheel(at, 120, Qt::ControlModifier, 3000u + 1000u * static_cast<quint64>(i));
    EXPECT_NEAR(Now().yMax - Now().yMin, 1, 1e-6);
}

TEST_F(WheelKeys, OneHistoryEntryPerBurst)
{
    const QPoint at(area.left + 200, (area.top + area.bottom) / 2);
    for (quint64 t : {1000u, 1300u, 1700u, 2100u})  // each within half a second of the last
        Wheel(at, 120, Qt::NoModifier, t);
    EXPECT_EQ(pane.History().Size(), 1);
    Wheel(at, 120, Qt::NoModifier, 2700);
    EXPECT_EQ(pane.History().Size(), 2);
    // Right double-click goes back past each burst.
    const QPoint p(area.left + 50, area.top + 20);
    for (int i = 0; i < 2; ++i) {
        QTest::mousePress(&pane, Qt::RightButton, {}, p);
        QTest::mouseRelease(&pane, Qt::RightButton, {}, p);
        QTest::mouseDClick(&pane, Qt::RightButton, {}, p);
        QTest::mouseRelease(&pane, Qt::RightButton, {}, p);
    }
    EXPECT_EQ(Now().xMin, 100);
    EXPECT_EQ(Now().xMax, 200);
    EXPECT_TRUE(pane.History().Empty());
}

TEST_F(WheelKeys, PinchZoomsLikeTheWheel)
{
    const QPoint at(area.left + area.Width() / 2, (area.top + area.bottom) / 2);
    const double t = XAt(at.x());
    QNativeGestureEvent pinch(Qt::ZoomNativeGesture, QPointingDevice::primaryPointingDevice(), 2,
                              QPointF(at), QPointF(at), QPointF(pane.mapToGlobal(at)), 0.25,
                              QPointF(), 0);
    QApplication::sendEvent(&pane, &pinch);
    EXPECT_NEAR(Now().xMax - Now().xMin, 80, 1e-6);
    EXPECT_NEAR(PixelOf(t), at.x(), 1.0);
    EXPECT_EQ(pane.History().Size(), 1);
}

TEST_F(WheelKeys, ViewKeysGiveTheExpectedRange)
{
    struct Case {
        Qt::Key key;
        double xMin, xMax;
    };
    for (const Case& c : {Case{Qt::Key_Left, 90, 190}, Case{Qt::Key_Right, 110, 210},
                          Case{Qt::Key_PageUp, 0, 100}, Case{Qt::Key_PageDown, 200, 300},
                          Case{Qt::Key_Plus, 110, 190}, Case{Qt::Key_Minus, 87.5, 212.5}}) {
        Show(100, 200);
        Key(c.key);
        EXPECT_NEAR(Now().xMin, c.xMin, 1e-6) << c.key;
        EXPECT_NEAR(Now().xMax, c.xMax, 1e-6) << c.key;
    }
    // Whole views stop at the data ends.
    Show(40, 140);
    Key(Qt::Key_PageUp);
    EXPECT_NEAR(Now().xMin, 0, 1e-6);
    Show(450, 550);
    Key(Qt::Key_PageDown);
    EXPECT_NEAR(Now().xMax, 600, 1e-6);
    // Backspace undoes the + zoom; Home asks the owner.
    Show(100, 200);
    Key(Qt::Key_Plus);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Now().xMin, 100);
    EXPECT_EQ(Now().xMax, 200);
    int asked = 0;
    QObject::connect(&pane, &CGraphPane::fullViewRequested, [&asked] { ++asked; });
    Key(Qt::Key_Home);
    EXPECT_EQ(asked, 1);
}

TEST_F(WheelKeys, MarkerStepsBySampleAndSecondAtBothEnds)
{
    int reported = -2;
    pane.SetMarkerCallback([](void* data, int row, QPoint) { *static_cast<int*>(data) = row; },
                           &reported);
    Key(Qt::Key_Period);
    EXPECT_EQ(reported, -2);  // no marker, no step
    pane.Plot().SetMarkerRow(300);
    Key(Qt::Key_Period);
    EXPECT_EQ(reported, 301);
    Key(Qt::Key_Period, Qt::ShiftModifier);
    EXPECT_EQ(reported, 303);
    Key(Qt::Key_Colon);
    EXPECT_EQ(reported, 305);
    Key(Qt::Key_Comma);
    EXPECT_EQ(reported, 304);
    Key(Qt::Key_Semicolon);
    EXPECT_EQ(reported, 302);
    pane.Plot().SetMarkerRow(0);
    Key(Qt::Key_Comma);
    EXPECT_EQ(reported, 0);
    Key(Qt::Key_Less);
    EXPECT_EQ(reported, 0);
    pane.Plot().SetMarkerRow(1199);
    Key(Qt::Key_Greater);
    EXPECT_EQ(reported, 1200);
    Key(Qt::Key_Period);
    EXPECT_EQ(reported, 1200);
    EXPECT_EQ(pane.Plot().MarkerTime(), 600000);
}

}  // namespace
}  // namespace veltrin
