// The map projection: where known places land in the tile pyramid and in a
// window, the fit of a track, zoom and pan, the scale bar against the true
// ground distance, and the grid's steps and labels.
#include "track/web_mercator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace veltrin {
namespace {

struct KnownPixel {
    double latitude, longitude, zoom;
    double x, y;
};

TEST(WebMercator, KnownPointsLandOnKnownTilePixels)
{
    // Tile corners: the world's corners, its middle, and the corner of tile
    // (1, 1) at zoom 2, whose latitude is atan(sinh(pi / 2)).
    const KnownPixel cases[] = {
        {0.0, 0.0, 0, 128.0, 128.0},
        {kMaxMercatorLatitude, -180.0, 0, 0.0, 0.0},
        {-kMaxMercatorLatitude, 180.0, 0, 256.0, 256.0},
        {0.0, 90.0, 1, 384.0, 256.0},
        {66.51326044311186, -90.0, 2, 256.0, 256.0},
        {-66.51326044311186, 90.0, 2, 768.0, 768.0},
        {89.9, 0.0, 0, 128.0, 0.0},  // beyond the square world: its edge
    };
    for (const KnownPixel& c : cases) {
        const PixelPoint p = ToTilePixel(c.latitude, c.longitude, c.zoom);
        EXPECT_NEAR(p.x, c.x, 1e-6) << c.latitude << " " << c.longitude;
        EXPECT_NEAR(p.y, c.y, 1e-6) << c.latitude << " " << c.longitude;
    }
    EXPECT_NEAR(MetresPerPixelAtZoom(0), 156543.03392804097, 1e-6);
    EXPECT_NEAR(ZoomForMetresPerPixel(MetresPerPixelAtZoom(13.5)), 13.5, 1e-12);
}

TEST(WebMercator, WorldPointsRoundTrip)
{
    for (const LatLon ll :
         {LatLon{47.5, 8.25}, LatLon{-33.9, 151.2}, LatLon{0.0, -179.9}, LatLon{70.0, 25.0}}) {
        const LatLon back = FromWorld(ToWorld(ll.latitude, ll.longitude));
        EXPECT_NEAR(back.latitude, ll.latitude, 1e-9);
        EXPECT_NEAR(back.longitude, ll.longitude, 1e-9);
    }
    // One degree of longitude is the same plane length at every latitude.
    EXPECT_NEAR(ToWorld(60.0, 1.0).x, 111319.49079327357, 1e-6);
}

TEST(MapView, KnownPointsLandOnKnownPixels)
{
    MapView view;
    view.centre = ToWorld(47.5, 8.0);
    view.metresPerPixel = 10.0;
    view.width = 800.0;
    view.height = 600.0;
    const PixelPoint middle = view.ToScreen(view.centre);
    EXPECT_DOUBLE_EQ(middle.x, 400.0);
    EXPECT_DOUBLE_EQ(middle.y, 300.0);
    // North is up, east is right.
    const PixelPoint northEast = view.ToScreen({view.centre.x + 1000.0, view.centre.y + 500.0});
    EXPECT_DOUBLE_EQ(northEast.x, 500.0);
    EXPECT_DOUBLE_EQ(northEast.y, 250.0);
    const WorldPoint back = view.FromScreen({123.0, 456.0});
    const PixelPoint again = view.ToScreen(back);
    EXPECT_NEAR(again.x, 123.0, 1e-9);
    EXPECT_NEAR(again.y, 456.0, 1e-9);
    // A window at tile zoom 10 places a point where the tile pyramid has it,
    // shifted by the window's corner.
    view.metresPerPixel = MetresPerPixelAtZoom(10);
    const PixelPoint corner = ToTilePixel(47.5, 8.0, 10);
    const PixelPoint inTiles = ToTilePixel(47.52, 8.03, 10);
    const PixelPoint inView = view.ToScreen(ToWorld(47.52, 8.03));
    EXPECT_NEAR(inView.x - 400.0, inTiles.x - corner.x, 1e-6);
    EXPECT_NEAR(inView.y - 300.0, inTiles.y - corner.y, 1e-6);
}

TEST(FitView, TrackFitsWindowWithMargin)
{
    struct Case {
        const char* name;
        std::vector<LatLon> points;
        double width, height;
    };
    const std::vector<Case> cases = {
        {"wide", {{47.0, 8.0}, {47.1, 9.5}, {47.05, 8.7}}, 800.0, 600.0},
        {"tall", {{46.0, 8.0}, {48.0, 8.1}}, 800.0, 600.0},
        {"narrow window", {{47.0, 8.0}, {47.3, 8.4}}, 200.0, 700.0},
        {"south and west", {{-34.0, -58.6}, {-34.4, -58.2}}, 640.0, 480.0},
    };
    for (const FitMargins& m :
         {FitMargins{28.0, 28.0, 28.0, 28.0}, FitMargins{5.0, 20.0, 40.0, 70.0}}) {
        for (const Case& c : cases) {
            std::vector<WorldPoint> world;
            for (const LatLon& ll : c.points)
                world.push_back(ToWorld(ll.latitude, ll.longitude));
            const MapView view = FitView(world, c.width, c.height, m);
            double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
            for (const WorldPoint& w : world) {
                const PixelPoint p = view.ToScreen(w);
                minX = std::min(minX, p.x);
                maxX = std::max(maxX, p.x);
                minY = std::min(minY, p.y);
                maxY = std::max(maxY, p.y);
            }
            const std::string name = std::string(c.name) + " left " + std::to_string(m.left);
            EXPECT_GE(minX, m.left - 1e-6) << name;
            EXPECT_LE(maxX, c.width - m.right + 1e-6) << name;
            EXPECT_GE(minY, m.top - 1e-6) << name;
            EXPECT_LE(maxY, c.height - m.bottom + 1e-6) << name;
            // As large as it goes: one pair of margins is met exactly, and the
            // other pair shares what is left alike.
            const double spareX = (minX - m.left) - (c.width - m.right - maxX);
            const double spareY = (minY - m.top) - (c.height - m.bottom - maxY);
            EXPECT_NEAR(spareX, 0.0, 1e-6) << name;
            EXPECT_NEAR(spareY, 0.0, 1e-6) << name;
            const bool fillsWidth = std::abs(minX - m.left) < 1e-6;
            const bool fillsHeight = std::abs(minY - m.top) < 1e-6;
            EXPECT_TRUE(fillsWidth || fillsHeight) << name;
        }
    }
}

TEST(FitView, TinyAndEmptyTracksKeepAReadableScale)
{
    const WorldPoint one = ToWorld(47.5, 8.0);
    const MapView single = FitView({one, one}, 500.0, 400.0, 20.0, 500.0);
    EXPECT_NEAR(single.ToScreen(one).x, 250.0, 1e-9);
    EXPECT_NEAR(single.ToScreen(one).y, 200.0, 1e-9);
    EXPECT_NEAR(single.metresPerPixel, 500.0 / 360.0, 1e-9);  // 500 m over the free height
    const MapView none = FitView({}, 500.0, 400.0, 20.0, 500.0);
    EXPECT_GT(none.metresPerPixel, 0.0);
    // A window smaller than its margins still gets a positive scale.
    EXPECT_GT(FitView({one, ToWorld(47.6, 8.1)}, 30.0, 30.0, 28.0).metresPerPixel, 0.0);
}

TEST(MapView, ZoomKeepsThePointUnderThePointerAndPanFollowsTheDrag)
{
    MapView view;
    view.centre = ToWorld(47.5, 8.0);
    view.metresPerPixel = 25.0;
    view.width = 640.0;
    view.height = 480.0;
    for (const double factor : {1.25, 0.8, 3.0}) {
        const PixelPoint pointer{150.0, 400.0};
        const WorldPoint under = view.FromScreen(pointer);
        const MapView zoomed = ZoomAround(view, pointer, factor);
        EXPECT_NEAR(zoomed.metresPerPixel, 25.0 / factor, 1e-12);
        const PixelPoint still = zoomed.ToScreen(under);
        EXPECT_NEAR(still.x, pointer.x, 1e-6);
        EXPECT_NEAR(still.y, pointer.y, 1e-6);
    }
    const WorldPoint grabbed = view.FromScreen({100.0, 100.0});
    const PixelPoint dropped = PanBy(view, 30.0, -12.0).ToScreen(grabbed);
    EXPECT_NEAR(dropped.x, 130.0, 1e-9);
    EXPECT_NEAR(dropped.y, 88.0, 1e-9);
}

TEST(ScaleBar, LengthMatchesGroundDistanceWithinOnePercent)
{
    for (const double latitude : {0.0, 30.0, 47.5, 60.0, 70.0, -45.0}) {
        for (const double metresPerPixel : {0.7, 12.0, 150.0, 3000.0}) {
            MapView view;
            view.centre = ToWorld(latitude, 10.0);
            view.metresPerPixel = metresPerPixel;
            view.width = 1000.0;
            view.height = 800.0;
            const ScaleBar bar = ScaleBarFor(view, latitude, 180.0);
            ASSERT_GT(bar.pixels, 0.0);
            EXPECT_LE(bar.pixels, 180.0 + 1e-9);
            EXPECT_GT(bar.pixels, 180.0 / 2.5 - 1e-9);  // the next round length would not fit
            // The bar's two ends on the parallel, and the great circle between them.
            const LatLon left = FromWorld(view.FromScreen({500.0 - bar.pixels / 2.0, 400.0}));
            const LatLon right = FromWorld(view.FromScreen({500.0 + bar.pixels / 2.0, 400.0}));
            EXPECT_NEAR(GreatCircleM(left, right) / bar.groundM, 1.0, 0.01)
                << latitude << " " << metresPerPixel;
            const double mantissa =
                bar.groundM / std::pow(10.0, std::floor(std::log10(bar.groundM)));
            EXPECT_TRUE(std::abs(mantissa - 1.0) < 1e-9 || std::abs(mantissa - 2.0) < 1e-9 ||
                        std::abs(mantissa - 5.0) < 1e-9)
                << bar.groundM;
        }
    }
}

TEST(ScaleBar, LabelsInMetresAndKilometres)
{
    MapView view;
    view.metresPerPixel = 2.0;  // at the equator: 2 m of ground a pixel
    EXPECT_EQ(ScaleBarFor(view, 0.0, 150.0).label, "200 m");
    view.metresPerPixel = 40.0;
    EXPECT_EQ(ScaleBarFor(view, 0.0, 150.0).label, "5 km");
    view.metresPerPixel = 1500.0;
    EXPECT_EQ(ScaleBarFor(view, 0.0, 150.0).label, "200 km");
}

TEST(Grid, LinesAtRoundStepsWithLabels)
{
    MapView view;
    view.centre = ToWorld(47.5, 8.0);
    view.width = 1000.0;
    view.height = 800.0;
    struct Case {
        double metresPerPixel;
        double stepDegrees;
    };
    // A minimum spacing of 90 pixels picks the first round step that keeps it.
    for (const Case c : {Case{1000.0, 1.0}, Case{60.0, 5.0 / 60.0}, Case{10.0, 30.0 / 3600.0},
                         Case{1.0, 5.0 / 3600.0}, Case{0.1, 1.0 / 3600.0}}) {
        view.metresPerPixel = c.metresPerPixel;
        const Grid grid = GridFor(view, 90.0);
        EXPECT_NEAR(grid.stepDegrees, c.stepDegrees, 1e-12) << c.metresPerPixel;
        ASSERT_FALSE(grid.meridians.empty());
        ASSERT_FALSE(grid.parallels.empty());
        for (const GridLine& m : grid.meridians) {
            EXPECT_NEAR(std::remainder(m.degrees, grid.stepDegrees), 0.0, 1e-9);
            EXPECT_NEAR(m.screen, view.ToScreen(ToWorld(47.5, m.degrees)).x, 1e-6);
            EXPECT_GE(m.screen, 0.0);
            EXPECT_LE(m.screen, view.width);
        }
        for (std::size_t i = 1; i < grid.meridians.size(); ++i)
            EXPECT_GE(grid.meridians[i].screen - grid.meridians[i - 1].screen, 90.0 - 1e-6);
        for (std::size_t i = 1; i < grid.parallels.size(); ++i)  // northward: up the screen
            EXPECT_GE(grid.parallels[i - 1].screen - grid.parallels[i].screen, 90.0 - 1e-6);
    }
    EXPECT_EQ(FormatLatitude(47.5, 0.5), "47\u00b030\u2032 N");
    EXPECT_EQ(FormatLatitude(-33.0, 1.0), "33\u00b0 S");
    EXPECT_EQ(FormatLongitude(-8.25, 0.25), "8\u00b015\u2032 W");
    EXPECT_EQ(FormatLongitude(8.0 + 10.0 / 3600.0, 10.0 / 3600.0), "8\u00b000\u203210\u2033 O");
    EXPECT_EQ(FormatLongitude(0.0, 1.0), "0\u00b0");
    // 59.99999 minutes rounds up to the next degree, not to "60′".
    EXPECT_EQ(FormatLatitude(47.0 + 59.99999 / 60.0, 1.0 / 60.0), "48\u00b000\u2032 N");
}

}  // namespace
}  // namespace veltrin
