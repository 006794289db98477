// The window "Flugweg": the marker's dot and the little it repaints, a click
// on the track asking for its time, wheel zoom and drag, "Ganzer Flug", the
// colouring box, and a picture of a made flight to look at.
#include "track/track_view.h"
#include "track/track_painter.h"
#include "track_test_data.h"

#include <QComboBox>
#include <QImage>
#include <QPaintEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace veltrin {
namespace {

using track_test::EastwardTrack;

// Records the rectangles a widget is asked to paint.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

struct Shown {
    TrackView view;
    TrackCanvas* canvas = nullptr;

    explicit Shown(TrackData track)
    {
        view.resize(700, 400);
        view.SetTrack(std::move(track));
        view.show();
        canvas = view.Canvas();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    QPoint At(WorldPoint world) const
    {
        const PixelPoint p = canvas->View().ToScreen(world);
        return {static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))};
    }
    QPoint AtPoint(int index) const
    {
        return At(canvas->Scene().World()[static_cast<std::size_t>(index)]);
    }
};

// The middle of the pixels of the dot's colour.
std::optional<QPointF> DotCentre(const QImage& image)
{
    double x = 0.0, y = 0.0;
    int count = 0;
    for (int py = 0; py < image.height(); ++py) {
        for (int px = 0; px < image.width(); ++px) {
            const QColor c(image.pixel(px, py));
            if (std::abs(c.red() - kMarkerDotColour.red()) < 8 &&
                std::abs(c.green() - kMarkerDotColour.green()) < 8 && c.blue() < 8) {
                x += px + 0.5;
                y += py + 0.5;
                ++count;
            }
        }
    }
    if (count == 0)
        return std::nullopt;
    return QPointF(x / count, y / count);
}

TEST(TrackView, MarkerTimePutsTheDotOnTheInterpolatedPlace)
{
    Shown shown(EastwardTrack(21));
    EXPECT_FALSE(DotCentre(shown.canvas->grab().toImage()));
    shown.view.SetMarkerTime(6250.0);
    const WorldPoint a = shown.canvas->Scene().World()[6];
    const WorldPoint b = shown.canvas->Scene().World()[7];
    const PixelPoint expected =
        shown.canvas->View().ToScreen({a.x + 0.25 * (b.x - a.x), a.y + 0.25 * (b.y - a.y)});
    const auto dot = DotCentre(shown.canvas->grab().toImage());
    ASSERT_TRUE(dot);
    EXPECT_NEAR(dot->x(), expected.x, 0.75);
    EXPECT_NEAR(dot->y(), expected.y, 0.75);
    // Outside the track's time, and once cleared, there is no dot.
    shown.view.SetMarkerTime(99000.0);
    EXPECT_FALSE(DotCentre(shown.canvas->grab().toImage()));
    shown.view.SetMarkerTime(3000.0);
    shown.view.ClearMarker();
    EXPECT_FALSE(shown.canvas->MarkerDot());
}

TEST(TrackView, MovingTheMarkerRepaintsOnlyTheDotsNeighbourhood)
{
    Shown shown(EastwardTrack(21));
    shown.view.SetMarkerTime(3000.0);
    QApplication::processEvents();
    PaintRecorder recorder(shown.canvas);
    const QRect before = MarkerDotRect(*shown.canvas->MarkerDot());
    shown.view.SetMarkerTime(12000.0);
    const QRect after = MarkerDotRect(*shown.canvas->MarkerDot());
    QApplication::processEvents();
    ASSERT_FALSE(recorder.painted.isEmpty());
    for (const QRect& r : recorder.painted)
        EXPECT_TRUE(before.contains(r) || after.contains(r)) << r.x() << "," << r.y();
    // The repainted picture still shows the track where the dot was.
    const auto dot = DotCentre(shown.canvas->grab().toImage());
    ASSERT_TRUE(dot);
    EXPECT_NEAR(dot->x(), after.center().x(), 1.5);
    // A new time range repaints everything.
    recorder.painted = QRegion();
    shown.view.SetTimeRange(0.0, 5000.0);
    QApplication::processEvents();
    EXPECT_EQ(recorder.painted.boundingRect(), shown.canvas->rect());
}

TEST(TrackView, ClickOnTheTrackAsksForTheTimeThere)
{
    Shown shown(EastwardTrack(21));
    QSignalSpy requested(&shown.view, &TrackView::markerRequested);
    // Clicks land on whole pixels: a time is as exact as a pixel's share of a segment.
    const QPoint p9 = shown.AtPoint(9), p10 = shown.AtPoint(10);
    const double perPixel = 1000.0 / (p10.x() - p9.x());
    QTest::mouseClick(shown.canvas, Qt::LeftButton, {}, shown.AtPoint(6));
    ASSERT_EQ(requested.count(), 1);
    EXPECT_NEAR(requested.takeFirst().at(0).toDouble(), 6000.0, perPixel);
    // Between two points, a little beside the line: the time of the place nearest.
    QTest::mouseClick(shown.canvas, Qt::LeftButton, {},
                      QPoint((3 * p9.x() + p10.x()) / 4, p9.y() + 4));
    ASSERT_EQ(requested.count(), 1);
    const double between = requested.takeFirst().at(0).toDouble();
    EXPECT_NEAR(between, 9250.0, perPixel);
    EXPECT_TRUE(shown.canvas->MarkerDot());  // the dot follows at once
    // A middle click picks too; a click far off the track asks nothing.
    QTest::mouseClick(shown.canvas, Qt::MiddleButton, {}, shown.AtPoint(15));
    ASSERT_EQ(requested.count(), 1);
    EXPECT_NEAR(requested.takeFirst().at(0).toDouble(), 15000.0, perPixel);
    QTest::mouseClick(shown.canvas, Qt::LeftButton, {}, shown.AtPoint(6) + QPoint(0, 40));
    EXPECT_EQ(requested.count(), 0);
}

void Wheel(QWidget* widget, QPoint at, int delta)
{
    QWheelEvent event(QPointF(at), QPointF(widget->mapToGlobal(at)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

TEST(TrackView, WheelZoomKeepsThePointUnderThePointer)
{
    Shown shown(EastwardTrack(21));
    const QPoint pointer(180, 90);
    const double before = shown.canvas->View().metresPerPixel;
    const WorldPoint under = shown.canvas->View().FromScreen({180.0, 90.0});
    Wheel(shown.canvas, pointer, 240);  // two notches closer
    EXPECT_NEAR(shown.canvas->View().metresPerPixel, before / (1.25 * 1.25), before * 1e-9);
    const PixelPoint still = shown.canvas->View().ToScreen(under);
    EXPECT_NEAR(still.x, 180.0, 1e-6);
    EXPECT_NEAR(still.y, 90.0, 1e-6);
    Wheel(shown.canvas, pointer, -120);
    EXPECT_NEAR(shown.canvas->View().metresPerPixel, before / 1.25, before * 1e-9);
    // No end of zooming in or out runs beyond the limits.
    for (int i = 0; i < 200; ++i)
        Wheel(shown.canvas, pointer, 120);
    EXPECT_GE(shown.canvas->View().metresPerPixel, 0.5);
    for (int i = 0; i < 200; ++i)
        Wheel(shown.canvas, pointer, -120);
    EXPECT_LE(shown.canvas->View().metresPerPixel, 40000.0);
}

TEST(TrackView, DragPansAndWholeFlightFitsAgain)
{
    Shown shown(EastwardTrack(21));
    const MapView fitted = shown.canvas->View();
    QSignalSpy requested(&shown.view, &TrackView::markerRequested);
    const QPoint from = shown.AtPoint(5);
    QTest::mousePress(shown.canvas, Qt::LeftButton, {}, from);
    QTest::mouseMove(shown.canvas, from + QPoint(20, 10));
    QTest::mouseMove(shown.canvas, from + QPoint(60, 30));
    QTest::mouseRelease(shown.canvas, Qt::LeftButton, {}, from + QPoint(60, 30));
    EXPECT_EQ(requested.count(), 0);  // a drag is no click
    const PixelPoint moved = shown.canvas->View().ToScreen(shown.canvas->Scene().World()[5]);
    EXPECT_NEAR(moved.x, from.x() + 60, 1.0);
    EXPECT_NEAR(moved.y, from.y() + 30, 1.0);
    // A resize now keeps the user's scale; "Ganzer Flug" fits the track again.
    shown.view.resize(800, 500);
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(shown.canvas->View().metresPerPixel, fitted.metresPerPixel);
    auto* wholeFlight = shown.view.findChild<QPushButton*>();
    ASSERT_NE(wholeFlight, nullptr);
    EXPECT_EQ(wholeFlight->text(), QStringLiteral("Ganzer Flug"));
    wholeFlight->click();
    const MapView again = shown.canvas->View();
    EXPECT_EQ(again.width, shown.canvas->width());
    for (int i : {0, 20}) {
        const PixelPoint p =
            again.ToScreen(shown.canvas->Scene().World()[static_cast<std::size_t>(i)]);
        EXPECT_GE(p.x, kFitMargin - 1e-6);
        EXPECT_LE(p.x, again.width - kFitMargin + 1e-6);
    }
    EXPECT_NEAR(again.ToScreen(shown.canvas->Scene().World()[0]).x, kFitMargin, 1e-6);
}

TEST(TrackView, ResizeBeforeAnyZoomFitsTheTrackAgain)
{
    Shown shown(EastwardTrack(21));
    shown.view.resize(400, 300);
    QApplication::processEvents();
    const MapView view = shown.canvas->View();
    EXPECT_EQ(view.width, shown.canvas->width());
    EXPECT_NEAR(view.ToScreen(shown.canvas->Scene().World()[20]).x, view.width - kFitMargin, 1e-6);
}

TEST(TrackView, ColouringBoxChoosesLoadOrSpeed)
{
    TrackData track = EastwardTrack(21, 100.0, 0.2, 10.0);
    track.takeOffIndex = track.landingIndex = -1;  // no labels over the line
    Shown shown(track);
    QComboBox* box = shown.view.ColouringBox();
    ASSERT_EQ(box->count(), 2);
    EXPECT_EQ(box->itemText(0), QStringLiteral("Beschleunigung"));
    EXPECT_EQ(box->itemText(1), QStringLiteral("Geschwindigkeit"));
    EXPECT_EQ(shown.canvas->Colouring(), TrackColouring::Acceleration);
    // The start of the track: a calm load (green) but hardly any speed (blue).
    const QPoint start = shown.AtPoint(1) + QPoint(3, 0);
    const QColor byLoad(shown.canvas->grab().toImage().pixel(start));
    box->setCurrentIndex(1);
    EXPECT_EQ(shown.canvas->Colouring(), TrackColouring::Speed);
    const QColor bySpeed(shown.canvas->grab().toImage().pixel(start));
    EXPECT_GT(byLoad.green(), byLoad.blue());
    EXPECT_GT(bySpeed.blue(), bySpeed.green());
    shown.view.SetColouring(TrackColouring::Acceleration);
    EXPECT_EQ(box->currentIndex(), 0);
}

// A flight with climbs, turns, a gap without a fix, events and a loaded
// stretch; saved to the file named by VELTRIN_TRACK_PNG when that is set, to
// look at.
TrackData MadeFlight()
{
    TrackData track;
    double east = 0.0, north = 0.0, heading = 0.3;
    for (int i = 0; i < 1800; ++i) {
        const bool turning = (i / 150) % 3 == 1;
        heading += turning ? 2.0 * std::numbers::pi / 40.0 : 0.004;
        const double speed = 45.0 + 10.0 * std::sin(i / 90.0);
        east += speed * std::cos(heading);
        north += speed * std::sin(heading);
        TrackPoint p;
        p.timeMs = i * 1000.0;
        p.latitude = 47.45 + north / 111200.0;
        p.longitude = 8.55 + east / 75200.0;
        p.fix = !(i > 800 && i < 860);
        p.accZ = turning ? 1.0 + 3.0 * std::fabs(std::sin(i / 7.0)) : 1.0 + 0.2 * std::sin(i);
        p.ias = speed * 3.6;
        track.points.push_back(p);
    }
    track.takeOffIndex = 5;
    track.landingIndex = 1790;
    track.eventTimesMs = {400000.0, 1200000.0};
    track.exceedanceTimesMs = {320000.0};
    return track;
}

TEST(TrackView, PaintsAMadeFlight)
{
    Shown shown(MadeFlight());
    shown.view.resize(900, 650);
    shown.view.SetTimeRange(200000.0, 900000.0);
    shown.view.SetMarkerTime(500000.0);
    const QImage image = shown.view.grab().toImage();
    EXPECT_TRUE(DotCentre(shown.canvas->grab().toImage()));
    if (const char* file = std::getenv("VELTRIN_TRACK_PNG")) {
        EXPECT_TRUE(image.save(QString::fromLocal8Bit(file)));
    }
}

}  // namespace
}  // namespace veltrin
