// The track made ready to draw: the position at a time, the time of the place
// nearest to a click, and the colour scale of load and speed.
#include "track/track_scene.h"
#include "track/track_colours.h"
#include "track_test_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace veltrin {
namespace {

using track_test::EastwardTrack;

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(TrackScene, PositionAtTimeInterpolatesBetweenPoints)
{
    const TrackScene scene(EastwardTrack(5));
    const std::vector<WorldPoint>& w = scene.World();
    struct Case {
        double timeMs;
        double expectedX;
    };
    for (const Case c : {Case{0.0, w[0].x}, Case{2000.0, w[2].x}, Case{4000.0, w[4].x},
                         Case{2250.0, w[2].x + 0.25 * (w[3].x - w[2].x)},
                         Case{3999.0, w[3].x + 0.999 * (w[4].x - w[3].x)}}) {
        const auto at = scene.PositionAt(c.timeMs);
        ASSERT_TRUE(at) << c.timeMs;
        EXPECT_NEAR(at->x, c.expectedX, 1e-6) << c.timeMs;
        EXPECT_NEAR(at->y, w[0].y, 1e-6) << c.timeMs;
    }
    EXPECT_FALSE(scene.PositionAt(-1.0));
    EXPECT_FALSE(scene.PositionAt(4001.0));
    EXPECT_FALSE(scene.PositionAt(std::nan("")));
    EXPECT_FALSE(TrackScene().PositionAt(0.0));
}

TEST(TrackScene, PositionAtRepeatedTimeTakesTheLaterPoint)
{
    TrackData track = EastwardTrack(3);
    track.points[2].timeMs = track.points[1].timeMs;  // two points read in one millisecond
    const TrackScene scene(track);
    const auto at = scene.PositionAt(1000.0);
    ASSERT_TRUE(at);
    EXPECT_NEAR(at->x, scene.World()[2].x, 1e-6);
}

MapView FittedView(const TrackScene& scene)
{
    return FitView(scene.World(), 800.0, 400.0, 20.0);
}

TEST(TrackScene, NearestTimeOfAClick)
{
    const TrackScene scene(EastwardTrack(11));
    const MapView view = FittedView(scene);
    const PixelPoint p3 = view.ToScreen(scene.World()[3]);
    const PixelPoint p4 = view.ToScreen(scene.World()[4]);
    // On a point, near it, and part of the way to the next one.
    EXPECT_DOUBLE_EQ(*scene.NearestTime(view, p3, 10.0, -kInf, kInf), 3000.0);
    EXPECT_NEAR(*scene.NearestTime(view, {p3.x, p3.y + 6.0}, 10.0, -kInf, kInf), 3000.0, 1e-6);
    EXPECT_NEAR(
        *scene.NearestTime(view, {p3.x + 0.4 * (p4.x - p3.x), p3.y - 2.0}, 10.0, -kInf, kInf),
        3400.0, 1e-6);
    // Beyond the ends the ends are nearest; too far away nothing is.
    EXPECT_DOUBLE_EQ(*scene.NearestTime(view, {view.ToScreen(scene.World()[0]).x - 5.0, p3.y}, 10.0,
                                        -kInf, kInf),
                     0.0);
    EXPECT_FALSE(scene.NearestTime(view, {p3.x, p3.y + 11.0}, 10.0, -kInf, kInf));
    EXPECT_FALSE(TrackScene().NearestTime(view, p3, 10.0, -kInf, kInf));
}

TEST(TrackScene, NearestTimePrefersTheShownTimeRangeWhereTheTrackPassesTwice)
{
    // Out east and back a few metres north of the way out.
    TrackData track = EastwardTrack(11);
    for (int i = 9; i >= 0; --i) {
        TrackPoint back = track.points[static_cast<std::size_t>(i)];
        back.timeMs = 1000.0 * (20 - i);
        back.latitude += 0.00005;
        track.points.push_back(back);
    }
    const TrackScene scene(track);
    const MapView view = FittedView(scene);
    const PixelPoint out2 = view.ToScreen(scene.World()[2]);
    const PixelPoint back2 = view.ToScreen(scene.World()[18]);
    ASSERT_GT(out2.y - back2.y, 2.0);
    ASSERT_LT(out2.y - back2.y, 8.0);
    EXPECT_NEAR(*scene.NearestTime(view, out2, 10.0, -kInf, kInf), 2000.0, 1e-6);
    EXPECT_NEAR(*scene.NearestTime(view, back2, 10.0, -kInf, kInf), 18000.0, 1e-6);
    // The nearer way out lies outside the shown range; the way back within reach wins.
    EXPECT_NEAR(*scene.NearestTime(view, out2, 10.0, 15000.0, 20000.0), 18000.0, 1e-6);
    EXPECT_NEAR(*scene.NearestTime(view, back2, 10.0, 0.0, 10000.0), 2000.0, 1e-6);
    // Out of reach of the range, the nearest place anywhere is taken.
    EXPECT_NEAR(*scene.NearestTime(view, out2, 10.0, 50000.0, 60000.0), 2000.0, 1e-6);
}

TEST(ColourScale, RangesHoldEveryValueAndAreRound)
{
    TrackData track = EastwardTrack(4);
    track.points[1].accZ = -1.3;
    track.points[2].accZ = 4.2;
    track.points[3].ias = 187.0;
    const ColourScale acc = ScaleFor(TrackColouring::Acceleration, track.points);
    // 4.2 g lies farther from 1 g than -1.3 g: 1 g +- 4 g.
    EXPECT_DOUBLE_EQ(acc.low, -3.0);
    EXPECT_DOUBLE_EQ(acc.high, 5.0);
    EXPECT_EQ(acc.CalmStep(), kColourSteps / 2);
    EXPECT_EQ(acc.unit, "g");
    const ColourScale speed = ScaleFor(TrackColouring::Speed, track.points);
    EXPECT_DOUBLE_EQ(speed.low, 0.0);
    EXPECT_DOUBLE_EQ(speed.high, 200.0);
    EXPECT_EQ(speed.unit, "km/h");
    // A calm flight still spans 0 .. 2 g and 0 .. 100 km/h.
    const TrackData calm = EastwardTrack(3);
    EXPECT_DOUBLE_EQ(ScaleFor(TrackColouring::Acceleration, calm.points).low, 0.0);
    EXPECT_DOUBLE_EQ(ScaleFor(TrackColouring::Acceleration, calm.points).high, 2.0);
    EXPECT_DOUBLE_EQ(ScaleFor(TrackColouring::Speed, calm.points).high, 100.0);
}

TEST(ColourScale, StepsRunFromBlueToRedAndClampAtTheEnds)
{
    ColourScale scale;
    scale.low = -2.0;
    scale.high = 6.0;
    EXPECT_EQ(scale.StepOf(-2.0), 0);
    EXPECT_EQ(scale.StepOf(-10.0), 0);
    EXPECT_EQ(scale.StepOf(6.0), kColourSteps - 1);
    EXPECT_EQ(scale.StepOf(99.0), kColourSteps - 1);
    EXPECT_EQ(scale.StepOf(2.0), kColourSteps / 2);
    EXPECT_EQ(scale.StepOf(std::nan("")), 0);
    EXPECT_EQ(scale.CalmStep(), scale.StepOf(1.0));
    const QColor low = StepColour(0), high = StepColour(kColourSteps - 1);
    EXPECT_GT(low.blue(), low.red() + 100);
    EXPECT_GT(high.red(), high.blue() + 100);
    // Neighbouring steps differ, so that the track shows every step.
    for (int s = 1; s < kColourSteps; ++s)
        EXPECT_NE(StepColour(s - 1), StepColour(s)) << s;
}

}  // namespace
}  // namespace veltrin
