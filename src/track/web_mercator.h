#pragma once
// The map projection of the track view: Web Mercator on the sphere of the
// equatorial radius, in metres of the projection plane (x east, y north) and in
// pixels of the tile pyramid; the view of a window onto the plane; a scale bar
// of true ground length; and latitude/longitude grid lines at round steps.
// Plain functions without Qt.

#include <string>
#include <vector>

namespace veltrin {

constexpr double kEarthRadiusM = 6378137.0;                 // equatorial radius of the projection
constexpr double kMaxMercatorLatitude = 85.05112877980659;  // the square world's edge
constexpr int kTileSize = 256;                              // pixels of one tile edge

struct WorldPoint {
    double x = 0.0;  // metres east of the prime meridian
    double y = 0.0;  // metres north of the equator
};

struct LatLon {
    double latitude = 0.0;
    double longitude = 0.0;
};

// Latitudes beyond the square world are clamped to its edge.
WorldPoint ToWorld(double latitude, double longitude);
LatLon FromWorld(WorldPoint world);

// Pixel of the tile pyramid at `zoom` (0: the world is one tile), origin at
// the north-west corner, y growing south.
struct PixelPoint {
    double x = 0.0;
    double y = 0.0;
};
PixelPoint ToTilePixel(double latitude, double longitude, double zoom);
// Projection metres per pixel of the tile pyramid at `zoom`, and back.
double MetresPerPixelAtZoom(double zoom);
double ZoomForMetresPerPixel(double metresPerPixel);

// Ground metres per projection metre along the parallel at `latitude` (on the
// ellipsoid, so that the scale bar is true to well within a per cent).
double GroundScaleAt(double latitude);
// Great-circle distance on the sphere of mean radius, metres.
double GreatCircleM(LatLon a, LatLon b);

// A window of `width` x `height` pixels onto the plane: `centre` at its middle,
// `metresPerPixel` projection metres per pixel, north up.
struct MapView {
    WorldPoint centre;
    double metresPerPixel = 1.0;
    double width = 1.0;
    double height = 1.0;

    PixelPoint ToScreen(WorldPoint world) const
    {
        return {width / 2.0 + (world.x - centre.x) / metresPerPixel,
                height / 2.0 - (world.y - centre.y) / metresPerPixel};
    }
    WorldPoint FromScreen(PixelPoint screen) const;
};

// Pixels kept free on each side of a fitted track.
struct FitMargins {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
};

// The view that shows all of `points` in a window of `width` x `height`, in
// the middle of what the margins leave free and as large as it fits; very
// small tracks are shown at least `minSpanM` projection metres wide and high.
MapView FitView(const std::vector<WorldPoint>& points, double width, double height,
                const FitMargins& margins, double minSpanM = 500.0);
// The same with `margin` pixels on every side.
MapView FitView(const std::vector<WorldPoint>& points, double width, double height, double margin,
                double minSpanM = 500.0);

// `view` zoomed by `factor` (> 1 closer) so that the plane point under
// `screen` stays there.
MapView ZoomAround(const MapView& view, PixelPoint screen, double factor);
// `view` moved so that the plane follows a drag by (dx, dy) pixels.
MapView PanBy(const MapView& view, double dx, double dy);

// A scale bar: a round ground length (1, 2 or 5 times a power of ten metres)
// whose bar is at most `maxPixels` long at `latitude`.
struct ScaleBar {
    double groundM = 0.0;
    double pixels = 0.0;
    std::string label;  // "500 m", "2 km"
};
ScaleBar ScaleBarFor(const MapView& view, double latitude, double maxPixels);

// Grid lines: the parallels and meridians in the view at one round step
// (seconds, minutes or degrees) chosen so that lines are at least
// `minSpacingPixels` apart.
struct GridLine {
    double degrees = 0.0;  // latitude of a parallel or longitude of a meridian
    double screen = 0.0;   // y of the parallel, x of the meridian
    std::string label;     // "47°30′ N", "8°15′ O"
};
struct Grid {
    double stepDegrees = 0.0;
    std::vector<GridLine> parallels;
    std::vector<GridLine> meridians;
};
Grid GridFor(const MapView& view, double minSpacingPixels);

// "47°30′ N" for a latitude, "8°15′ O" for a longitude, with seconds only
// when `stepDegrees` needs them and minutes only when it is below a degree.
std::string FormatLatitude(double degrees, double stepDegrees);
std::string FormatLongitude(double degrees, double stepDegrees);

}  // namespace veltrin
