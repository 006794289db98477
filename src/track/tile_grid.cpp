#include "track/tile_grid.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace veltrin {

namespace {

// Half the square world's edge in projection metres.
constexpr double kHalfWorldM = std::numbers::pi * kEarthRadiusM;
// More tiles than this across or down would mean a view far too wide for the
// chosen zoom; a guard against a broken view rather than a real limit.
constexpr int kMaxTilesAcross = 64;
constexpr double kEdgeSlack = 1e-6;  // of a tile

void ReplaceAll(std::string& text, const std::string& what, const std::string& with)
{
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

}  // namespace

int TileZoomFor(double metresPerPixel)
{
    if (!(metresPerPixel > 0.0) || !std::isfinite(metresPerPixel))
        return 0;
    // Rounded, so that tiles are drawn between about 0.7 and 1.4 times their
    // size: their labels stay readable.
    const double zoom = std::round(ZoomForMetresPerPixel(metresPerPixel));
    return static_cast<int>(std::clamp(zoom, 0.0, static_cast<double>(kMaxTileZoom)));
}

std::vector<PlacedTile> TilesCovering(const MapView& view, int zoom)
{
    std::vector<PlacedTile> tiles;
    if (zoom < 0 || zoom > kMaxTileZoom || !(view.metresPerPixel > 0.0))
        return tiles;
    const int count = 1 << zoom;
    const double tileM = MetresPerPixelAtZoom(zoom) * kTileSize;
    const double size = tileM / view.metresPerPixel;
    // The view's edges in projection metres, as tile numbers.
    const WorldPoint northWest = view.FromScreen({0.0, 0.0});
    const WorldPoint southEast = view.FromScreen({view.width, view.height});
    // A view edge on a tile edge, give or take rounding, takes no tile beyond it.
    const auto first = [](double at) {
        return static_cast<int>(std::floor(at + kEdgeSlack));
    };
    const auto last = [](double at) {
        return static_cast<int>(std::ceil(at - kEdgeSlack)) - 1;
    };
    const int firstColumn = first((northWest.x + kHalfWorldM) / tileM);
    const int lastColumn = last((southEast.x + kHalfWorldM) / tileM);
    const int firstRow = std::max(0, first((kHalfWorldM - northWest.y) / tileM));
    const int lastRow = std::min(count - 1, last((kHalfWorldM - southEast.y) / tileM));
    if (lastColumn - firstColumn >= kMaxTilesAcross || lastRow - firstRow >= kMaxTilesAcross)
        return tiles;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const PixelPoint corner =
                view.ToScreen({column * tileM - kHalfWorldM, kHalfWorldM - row * tileM});
            const int x = ((column % count) + count) % count;
            tiles.push_back({{zoom, x, row}, corner.x, corner.y, size});
        }
    }
    return tiles;
}

std::string TileUrl(const std::string& urlTemplate, const TileKey& key)
{
    std::string url = urlTemplate;
    ReplaceAll(url, "{z}", std::to_string(key.zoom));
    ReplaceAll(url, "{x}", std::to_string(key.x));
    ReplaceAll(url, "{y}", std::to_string(key.y));
    return url;
}

}  // namespace veltrin
