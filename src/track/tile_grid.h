#pragma once
// Which map tiles of the square tile pyramid cover a view, at which zoom, and
// where each lands on screen. Plain functions without Qt.

#include "track/web_mercator.h"

#include <string>
#include <vector>

namespace veltrin {

// The deepest zoom tile servers commonly serve.
constexpr int kMaxTileZoom = 19;

struct TileKey {
    int zoom = 0;
    int x = 0;  // 0 .. 2^zoom - 1, west to east
    int y = 0;  // 0 .. 2^zoom - 1, north to south

    friend bool operator==(const TileKey&, const TileKey&) = default;
};

// A tile and the screen rectangle it fills.
struct PlacedTile {
    TileKey key;
    double left = 0.0;
    double top = 0.0;
    double size = 0.0;  // edge length in screen pixels
};

// The whole zoom whose tiles show closest to their own size at
// `metresPerPixel`, within 0 .. kMaxTileZoom.
int TileZoomFor(double metresPerPixel);

// The tiles at `zoom` that cover `view`, row by row from the north-west.
// Columns repeat east and west of the world (x taken modulo 2^zoom); rows
// beyond the square world's edge are left out.
std::vector<PlacedTile> TilesCovering(const MapView& view, int zoom);

// `urlTemplate` with "{z}", "{x}" and "{y}" replaced by the tile's numbers.
std::string TileUrl(const std::string& urlTemplate, const TileKey& key);

}  // namespace veltrin
