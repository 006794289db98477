#include "track/web_mercator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace veltrin {

namespace {

constexpr double kDegToRad = std::numbers::pi / 180.0;
constexpr double kRadToDeg = 180.0 / std::numbers::pi;
constexpr double kMeanEarthRadiusM = 6371008.8;
constexpr double kEllipsoidEccentricitySquared = 6.69437999014e-3;  // WGS 84
constexpr double kWorldSpanM = 2.0 * std::numbers::pi * kEarthRadiusM;

// Grid steps in seconds of arc, smallest first.
constexpr std::array<int, 20> kGridStepsSeconds{1,     2,     5,     10,     15,     30,    60,
                                                120,   300,   600,   900,    1800,   3600,  7200,
                                                18000, 36000, 54000, 108000, 162000, 324000};

// "47°30′15″" of a non-negative angle, rounded to what `stepDegrees` resolves.
std::string FormatAngle(double degrees, double stepDegrees)
{
    const long total = std::lround(std::fabs(degrees) * 3600.0);
    const long whole = total / 3600;
    const long minutes = total / 60 % 60;
    const long seconds = total % 60;
    char text[48];
    if (stepDegrees >= 1.0 - 1e-9)
        std::snprintf(text, sizeof text, "%ld\u00b0", whole);
    else if (stepDegrees >= 1.0 / 60.0 - 1e-9)
        std::snprintf(text, sizeof text, "%ld\u00b0%02ld\u2032", whole, minutes);
    else
        std::snprintf(text, sizeof text, "%ld\u00b0%02ld\u2032%02ld\u2033", whole, minutes,
                      seconds);
    return text;
}

std::string WithHemisphere(double degrees, double stepDegrees, const char* positive,
                           const char* negative)
{
    std::string text = FormatAngle(degrees, stepDegrees);
    // The equator and the prime meridian carry no side.
    if (std::lround(std::fabs(degrees) * 3600.0) == 0)
        return text;
    return text + " " + (degrees > 0.0 ? positive : negative);
}

}  // namespace

WorldPoint ToWorld(double latitude, double longitude)
{
    const double lat = std::clamp(latitude, -kMaxMercatorLatitude, kMaxMercatorLatitude);
    const double phi = lat * kDegToRad;
    return {kEarthRadiusM * longitude * kDegToRad,
            kEarthRadiusM * std::log(std::tan(std::numbers::pi / 4.0 + phi / 2.0))};
}

LatLon FromWorld(WorldPoint world)
{
    return {std::atan(std::sinh(world.y / kEarthRadiusM)) * kRadToDeg,
            world.x / kEarthRadiusM * kRadToDeg};
}

PixelPoint ToTilePixel(double latitude, double longitude, double zoom)
{
    const WorldPoint world = ToWorld(latitude, longitude);
    const double pixels = kTileSize * std::exp2(zoom);
    return {(world.x / kWorldSpanM + 0.5) * pixels, (0.5 - world.y / kWorldSpanM) * pixels};
}

double MetresPerPixelAtZoom(double zoom)
{
    return kWorldSpanM / (kTileSize * std::exp2(zoom));
}

double ZoomForMetresPerPixel(double metresPerPixel)
{
    return std::log2(kWorldSpanM / (kTileSize * metresPerPixel));
}

double GroundScaleAt(double latitude)
{
    const double phi =
        std::clamp(latitude, -kMaxMercatorLatitude, kMaxMercatorLatitude) * kDegToRad;
    const double s = std::sin(phi);
    // The parallel's radius on the ellipsoid over the projection's radius.
    return std::cos(phi) / std::sqrt(1.0 - kEllipsoidEccentricitySquared * s * s);
}

double GreatCircleM(LatLon a, LatLon b)
{
    const double phi1 = a.latitude * kDegToRad;
    const double phi2 = b.latitude * kDegToRad;
    const double dPhi = phi2 - phi1;
    const double dLambda = (b.longitude - a.longitude) * kDegToRad;
    const double h = std::sin(dPhi / 2.0) * std::sin(dPhi / 2.0) + std::cos(phi1) * std::cos(phi2) *
                                                                       std::sin(dLambda / 2.0) *
                                                                       std::sin(dLambda / 2.0);
    return 2.0 * kMeanEarthRadiusM * std::asin(std::min(1.0, std::sqrt(h)));
}

WorldPoint MapView::FromScreen(PixelPoint screen) const
{
    return {centre.x + (screen.x - width / 2.0) * metresPerPixel,
            centre.y - (screen.y - height / 2.0) * metresPerPixel};
}

MapView FitView(const std::vector<WorldPoint>& points, double width, double height,
                const FitMargins& margins, double minSpanM)
{
    MapView view;
    view.width = std::max(width, 1.0);
    view.height = std::max(height, 1.0);
    if (points.empty()) {
        view.metresPerPixel = minSpanM / view.width;
        return view;
    }
    double minX = points.front().x, maxX = minX;
    double minY = points.front().y, maxY = minY;
    for (const WorldPoint& p : points) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    // A window smaller than its margins still shows the track, without them.
    FitMargins free = margins;
    if (view.width - free.left - free.right <= 1.0)
        free.left = free.right = 0.0;
    if (view.height - free.top - free.bottom <= 1.0)
        free.top = free.bottom = 0.0;
    const double freeWidth = view.width - free.left - free.right;
    const double freeHeight = view.height - free.top - free.bottom;
    view.metresPerPixel = std::max(std::max(maxX - minX, minSpanM) / freeWidth,
                                   std::max(maxY - minY, minSpanM) / freeHeight);
    // The track's middle goes to the middle of the free part.
    const double shiftX = (free.left + freeWidth / 2.0) - view.width / 2.0;
    const double shiftY = (free.top + freeHeight / 2.0) - view.height / 2.0;
    view.centre = {(minX + maxX) / 2.0 - shiftX * view.metresPerPixel,
                   (minY + maxY) / 2.0 + shiftY * view.metresPerPixel};
    return view;
}

MapView FitView(const std::vector<WorldPoint>& points, double width, double height, double margin,
                double minSpanM)
{
    return FitView(points, width, height, FitMargins{margin, margin, margin, margin}, minSpanM);
}

MapView ZoomAround(const MapView& view, PixelPoint screen, double factor)
{
    const WorldPoint under = view.FromScreen(screen);
    MapView zoomed = view;
    zoomed.metresPerPixel = view.metresPerPixel / factor;
    zoomed.centre = {under.x - (screen.x - view.width / 2.0) * zoomed.metresPerPixel,
                     under.y + (screen.y - view.height / 2.0) * zoomed.metresPerPixel};
    return zoomed;
}

MapView PanBy(const MapView& view, double dx, double dy)
{
    MapView moved = view;
    moved.centre = {view.centre.x - dx * view.metresPerPixel,
                    view.centre.y + dy * view.metresPerPixel};
    return moved;
}

ScaleBar ScaleBarFor(const MapView& view, double latitude, double maxPixels)
{
    const double groundPerPixel = view.metresPerPixel * GroundScaleAt(latitude);
    const double longest = maxPixels * groundPerPixel;
    ScaleBar bar;
    double decade = std::pow(10.0, std::floor(std::log10(std::max(longest, 1e-3))));
    for (const double mantissa : {5.0, 2.0, 1.0}) {
        if (mantissa * decade <= longest * (1.0 + 1e-12)) {
            bar.groundM = mantissa * decade;
            break;
        }
    }
    if (bar.groundM == 0.0)
        bar.groundM = decade;
    bar.pixels = bar.groundM / groundPerPixel;
    char text[32];
    if (bar.groundM >= 1000.0)
        std::snprintf(text, sizeof text, "%.0f km", bar.groundM / 1000.0);
    else if (bar.groundM >= 1.0)
        std::snprintf(text, sizeof text, "%.0f m", bar.groundM);
    else
        std::snprintf(text, sizeof text, "%.0f cm", bar.groundM * 100.0);
    bar.label = text;
    return bar;
}

Grid GridFor(const MapView& view, double minSpacingPixels)
{
    Grid grid;
    // Meridians are closest together, so their spacing chooses the step.
    const double pixelsPerDegree = kEarthRadiusM * kDegToRad / view.metresPerPixel;
    grid.stepDegrees = kGridStepsSeconds.back() / 3600.0;
    for (const int seconds : kGridStepsSeconds) {
        if (seconds / 3600.0 * pixelsPerDegree >= minSpacingPixels) {
            grid.stepDegrees = seconds / 3600.0;
            break;
        }
    }
    const double step = grid.stepDegrees;
    const LatLon northWest = FromWorld(view.FromScreen({0.0, 0.0}));
    const LatLon southEast = FromWorld(view.FromScreen({view.width, view.height}));

    const double west = std::max(northWest.longitude, -180.0);
    const double east = std::min(southEast.longitude, 180.0);
    for (double k = std::ceil(west / step); k * step <= east; k += 1.0) {
        const double longitude = k * step;
        grid.meridians.push_back({longitude, view.ToScreen(ToWorld(0.0, longitude)).x,
                                  FormatLongitude(longitude, step)});
    }
    const double south = std::max(southEast.latitude, -kMaxMercatorLatitude);
    const double north = std::min(northWest.latitude, kMaxMercatorLatitude);
    for (double k = std::ceil(south / step); k * step <= north; k += 1.0) {
        const double latitude = k * step;
        grid.parallels.push_back(
            {latitude, view.ToScreen(ToWorld(latitude, 0.0)).y, FormatLatitude(latitude, step)});
    }
    return grid;
}

std::string FormatLatitude(double degrees, double stepDegrees)
{
    return WithHemisphere(degrees, stepDegrees, "N", "S");
}

std::string FormatLongitude(double degrees, double stepDegrees)
{
    return WithHemisphere(degrees, stepDegrees, "O", "W");
}

}  // namespace veltrin
