// The painted map: strong and faint parts, dashed stretches without a fix, the
// track's colours against the legend's, the marks at their places and the
// scale bar's length.
#include "track/track_painter.h"
#include "track/track_scene.h"
#include "track_test_data.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace veltrin {
namespace {

using track_test::EastwardTrack;

constexpr int kWidth = 800;
constexpr int kHeight = 300;

bool Near(QRgb pixel, const QColor& colour, int tolerance = 12)
{
    return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
           std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

struct Painted {
    QImage image;
    TrackPaintOptions options;
    TrackMapLayout layout;
};

Painted Paint(const TrackScene& scene, TrackPaintOptions options = {})
{
    Painted painted{QImage(kWidth, kHeight, QImage::Format_RGB32), options, {}};
    painted.options.view = FitView(scene.World(), kWidth, kHeight, kFitMargin);
    QPainter painter(&painted.image);
    PaintTrackMap(painter, scene, painted.options);
    const ScaleBar bar = ScaleBarFor(painted.options.view, scene.MiddleLatitude(), 180.0);
    painted.layout = LayoutTrackMap(kWidth, kHeight, QFontMetricsF(painter.font()), bar.pixels);
    return painted;
}

QPoint PixelAt(const Painted& painted, WorldPoint world)
{
    const PixelPoint p = painted.options.view.ToScreen(world);
    return {static_cast<int>(std::floor(p.x)), static_cast<int>(std::floor(p.y))};
}

// The share of pixels of `colour` along the track between points `from` and `to`.
double ShareAlong(const Painted& painted, const TrackScene& scene, int from, int to,
                  const QColor& colour)
{
    const QPoint a = PixelAt(painted, scene.World()[static_cast<std::size_t>(from)]);
    const QPoint b = PixelAt(painted, scene.World()[static_cast<std::size_t>(to)]);
    int hits = 0;
    for (int x = a.x(); x <= b.x(); ++x)
        hits += Near(painted.image.pixel(x, a.y()), colour) ? 1 : 0;
    return hits / static_cast<double>(b.x() - a.x() + 1);
}

// The share of columns between points `from` and `to` where the track shows
// faint: its darkest pixel near the line lighter than the strong colour by far,
// but still of its hue. A thin line may fall between two rows of pixels.
double FaintShareAlong(const Painted& painted, const TrackScene& scene, int from, int to,
                       const QColor& strong)
{
    const QPoint a = PixelAt(painted, scene.World()[static_cast<std::size_t>(from)]);
    const QPoint b = PixelAt(painted, scene.World()[static_cast<std::size_t>(to)]);
    int hits = 0;
    for (int x = a.x(); x <= b.x(); ++x) {
        QColor darkest = Qt::white;
        for (int dy = -2; dy <= 2; ++dy) {
            const QColor c(painted.image.pixel(x, a.y() + dy));
            if (c.red() + c.green() + c.blue() < darkest.red() + darkest.green() + darkest.blue())
                darkest = c;
        }
        const bool lighter = darkest.red() > strong.red() + 100;
        const bool hue =
            darkest.green() > darkest.red() + 8 && darkest.green() > darkest.blue() + 8;
        hits += lighter && hue ? 1 : 0;
    }
    return hits / static_cast<double>(b.x() - a.x() + 1);
}

TEST(TrackPainter, StretchesWithoutAFixAreDashed)
{
    TrackData track = EastwardTrack(41);
    for (int i = 15; i <= 25; ++i)
        track.points[static_cast<std::size_t>(i)].fix = false;
    const TrackScene scene(track);
    const Painted painted = Paint(scene);
    const QColor calm = StepColour(scene.Scale(TrackColouring::Acceleration).CalmStep());
    EXPECT_DOUBLE_EQ(ShareAlong(painted, scene, 5, 13, calm), 1.0);
    const double dashed = ShareAlong(painted, scene, 16, 24, calm);
    EXPECT_GT(dashed, 0.25);
    EXPECT_LT(dashed, 0.8);
    EXPECT_DOUBLE_EQ(ShareAlong(painted, scene, 27, 35, calm), 1.0);
}

TEST(TrackPainter, InsideTheTimeRangeStrongOutsideFaint)
{
    const TrackScene scene(EastwardTrack(41));
    TrackPaintOptions options;
    options.fromMs = 10000.0;
    options.toMs = 25000.0;
    const Painted painted = Paint(scene, options);
    const int calm = scene.Scale(TrackColouring::Acceleration).CalmStep();
    EXPECT_DOUBLE_EQ(FaintShareAlong(painted, scene, 4, 8, StepColour(calm)), 1.0);
    EXPECT_DOUBLE_EQ(ShareAlong(painted, scene, 11, 24, StepColour(calm)), 1.0);
    EXPECT_DOUBLE_EQ(FaintShareAlong(painted, scene, 11, 24, StepColour(calm)), 0.0);
    EXPECT_DOUBLE_EQ(FaintShareAlong(painted, scene, 27, 35, StepColour(calm)), 1.0);
}

TEST(TrackPainter, TrackColoursAreTheLegendsColoursAtTheirValues)
{
    // Load rising from 1 g to 5 g and speed from 0 to 200 km/h along the way.
    const TrackScene scene(EastwardTrack(41, 100.0, 0.1, 5.0));
    for (const TrackColouring colouring : {TrackColouring::Acceleration, TrackColouring::Speed}) {
        TrackPaintOptions options;
        options.colouring = colouring;
        const Painted painted = Paint(scene, options);
        const ColourScale& scale = scene.Scale(colouring);
        const QRectF bar = painted.layout.legendBar;
        // The legend runs through every step, low values left.
        for (int s = 0; s < kColourSteps; ++s) {
            const int x = static_cast<int>(bar.left() + (s + 0.5) * bar.width() / kColourSteps);
            EXPECT_EQ(QColor(painted.image.pixel(x, static_cast<int>(bar.center().y()))),
                      StepColour(s))
                << s;
        }
        // A rising track takes each segment's colour from its far end.
        for (const int i : {6, 15, 30, 34}) {  // clear of the labels at both ends
            const TrackPoint& end = scene.Data().points[static_cast<std::size_t>(i + 1)];
            const double value = colouring == TrackColouring::Acceleration ? end.accZ : end.ias;
            const int step = scale.StepOf(value);
            const WorldPoint a = scene.World()[static_cast<std::size_t>(i)];
            const WorldPoint b = scene.World()[static_cast<std::size_t>(i + 1)];
            const QPoint middle = PixelAt(painted, {(a.x + b.x) / 2.0, (a.y + b.y) / 2.0});
            const double legendX =
                bar.left() + (scale.StepOf(value) + 0.5) * bar.width() / kColourSteps;
            EXPECT_TRUE(Near(painted.image.pixel(middle), StepColour(step), 2)) << i;
            EXPECT_EQ(QColor(painted.image.pixel(middle)),
                      QColor(painted.image.pixel(static_cast<int>(legendX),
                                                 static_cast<int>(bar.center().y()))))
                << i;
        }
    }
}

TEST(TrackPainter, TakeOffLandingEventsAndExceedancesAtTheirPlaces)
{
    TrackData track = EastwardTrack(41);
    track.takeOffIndex = 2;
    track.landingIndex = 38;
    track.eventTimesMs = {12500.0, -5000.0};  // the second lies before the track: not drawn
    track.exceedanceTimesMs = {27000.0};
    const TrackScene scene(track);
    const Painted painted = Paint(scene);
    const auto place = [&](double timeMs) {
        return PixelAt(painted, *scene.PositionAt(timeMs));
    };
    EXPECT_TRUE(Near(painted.image.pixel(place(2000.0)), kTakeOffColour));
    EXPECT_TRUE(Near(painted.image.pixel(place(38000.0)), kLandingColour));
    EXPECT_TRUE(Near(painted.image.pixel(place(12500.0)), kEventColour));
    EXPECT_TRUE(Near(painted.image.pixel(place(27000.0)), kExceedanceColour));
    EXPECT_FALSE(Near(painted.image.pixel(place(20000.0)), kEventColour));
}

TEST(TrackPainter, ScaleBarIsAsLongAsItsGroundLength)
{
    const TrackScene scene(EastwardTrack(41));
    const Painted painted = Paint(scene);
    const QRectF bar = painted.layout.scaleBar;
    const int row = static_cast<int>(bar.center().y());
    // Its left half dark, its right half white, framed by dark lines.
    int right = static_cast<int>(bar.left());
    for (int x = static_cast<int>(bar.left()); x < kWidth / 2; ++x)
        if (Near(painted.image.pixel(x, row), QColor(40, 40, 40)))
            right = x;
    const ScaleBar expected = ScaleBarFor(painted.options.view, scene.MiddleLatitude(), 180.0);
    EXPECT_NEAR(right - bar.left(), expected.pixels, 1.5);
    EXPECT_TRUE(Near(painted.image.pixel(static_cast<int>(bar.left() + bar.width() * 0.75), row),
                     Qt::white));
}

TEST(TrackPainter, CrowdedTrackDrawsThinWithTheStrongestLoadOnTop)
{
    // A hundred passes to and fro along one parallel, all calm but one.
    const TrackData pass = EastwardTrack(41);
    TrackData track;
    for (int k = 0; k < 100; ++k) {
        for (int i = 0; i < 41; ++i) {
            TrackPoint p = pass.points[static_cast<std::size_t>(k % 2 == 0 ? i : 40 - i)];
            p.timeMs = 1000.0 * (k * 41 + i);
            p.accZ = k == 30 ? 4.0 : 1.0;
            track.points.push_back(p);
        }
    }
    const TrackScene scene(track);
    const QColor loaded = StepColour(scene.Scale(TrackColouring::Acceleration).StepOf(4.0));
    // Straight into the image's pixels, and through a painter where that is
    // not possible (a scaled painter, as for print).
    for (const double scale : {1.0, 2.0}) {
        QImage image(kWidth * static_cast<int>(scale), kHeight * static_cast<int>(scale),
                     QImage::Format_ARGB32_Premultiplied);
        TrackPaintOptions options;
        options.view = FitView(scene.World(), kWidth, kHeight, kFitMargin);
        QPainter painter(&image);
        painter.scale(scale, scale);
        PaintTrackMap(painter, scene, options);
        painter.end();
        for (const int i : {5, 12, 20}) {
            const PixelPoint p = options.view.ToScreen(scene.World()[static_cast<std::size_t>(i)]);
            const int x = static_cast<int>(p.x * scale);
            const int y = static_cast<int>(std::floor(p.y * scale));
            int red = 0;
            for (int dy = -2; dy <= 2; ++dy)
                red += Near(image.pixel(x, y + dy), loaded, 40) ? 1 : 0;
            EXPECT_GE(red, 1) << scale << " " << i;
            // One pixel thin (two where it falls between rows), not three.
            EXPECT_LE(red, static_cast<int>(2 * scale)) << scale << " " << i;
        }
    }
}

TEST(TrackPainter, EmptyAndSinglePointTracks)
{
    const Painted empty = Paint(TrackScene());
    EXPECT_TRUE(Near(empty.image.pixel(5, kHeight - 5), kMapBackground));
    // One point: no line, but its take-off mark in the middle.
    const TrackScene single(EastwardTrack(1));
    const Painted painted = Paint(single);
    EXPECT_TRUE(Near(painted.image.pixel(PixelAt(painted, single.World()[0])), kLandingColour));
}

}  // namespace
}  // namespace veltrin
