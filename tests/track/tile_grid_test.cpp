// Which tiles cover a view and where they land, the zoom for a scale, and the
// tile URL from its template.
#include "track/tile_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace veltrin {
namespace {

TEST(TileZoom, WholeZoomNearestTheScale)
{
    struct Case {
        double metresPerPixel;
        int zoom;
    };
    const Case cases[] = {
        {MetresPerPixelAtZoom(0), 0},
        {MetresPerPixelAtZoom(12), 12},
        {MetresPerPixelAtZoom(12) * 1.3, 12},  // tiles drawn a little smaller
        {MetresPerPixelAtZoom(12) * 1.5, 11},  // past the half: the coarser zoom
        {MetresPerPixelAtZoom(12) / 1.3, 12},
        {MetresPerPixelAtZoom(25), kMaxTileZoom},  // closer than any server goes
        {MetresPerPixelAtZoom(-3), 0},
        {0.0, 0},
        {-5.0, 0},
        {std::nan(""), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TileZoomFor(c.metresPerPixel), c.zoom) << c.metresPerPixel;
}

// A view of `width` x `height` pixels at the tile pyramid's own scale for
// `zoom`, centred on the tile pixel (px, py).
MapView ViewAtTilePixel(int zoom, double px, double py, double width, double height)
{
    const double mpp = MetresPerPixelAtZoom(zoom);
    const double half = std::numbers::pi * kEarthRadiusM;
    return {{px * mpp - half, half - py * mpp}, mpp, width, height};
}

TEST(TilesCovering, OneTileFillsAViewAlignedWithIt)
{
    const MapView view = ViewAtTilePixel(10, 537.5 * 256, 358.5 * 256, 256, 256);
    const std::vector<PlacedTile> tiles = TilesCovering(view, 10);
    ASSERT_EQ(tiles.size(), 1u);
    EXPECT_EQ(tiles[0].key, (TileKey{10, 537, 358}));
    EXPECT_NEAR(tiles[0].left, 0.0, 1e-6);
    EXPECT_NEAR(tiles[0].top, 0.0, 1e-6);
    EXPECT_NEAR(tiles[0].size, 256.0, 1e-6);
}

TEST(TilesCovering, TileUnderAPlaceHoldsItsScreenPoint)
{
    const double latitude = 47.5, longitude = 8.0;
    const MapView view{ToWorld(latitude, longitude), MetresPerPixelAtZoom(13.3), 1000, 800};
    const int zoom = TileZoomFor(view.metresPerPixel);
    ASSERT_EQ(zoom, 13);
    const std::vector<PlacedTile> tiles = TilesCovering(view, zoom);
    // Half a tile drawn about 0.8 times its size beyond each edge at most.
    EXPECT_LE(tiles.size(), 7u * 6u);
    const PixelPoint pyramid = ToTilePixel(latitude, longitude, zoom);
    const TileKey expected{zoom, static_cast<int>(pyramid.x / kTileSize),
                           static_cast<int>(pyramid.y / kTileSize)};
    const auto found = std::ranges::find(tiles, expected, &PlacedTile::key);
    ASSERT_NE(found, tiles.end());
    // The place is at the view's middle; inside its tile at the same share.
    const double share = view.metresPerPixel / MetresPerPixelAtZoom(zoom);
    EXPECT_NEAR(found->left + (pyramid.x - expected.x * kTileSize) / share, 500.0, 1e-3);
    EXPECT_NEAR(found->top + (pyramid.y - expected.y * kTileSize) / share, 400.0, 1e-3);
    // Every pixel of the view lies under some tile.
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    for (const PlacedTile& t : tiles) {
        left = std::min(left, t.left);
        top = std::min(top, t.top);
        right = std::max(right, t.left + t.size);
        bottom = std::max(bottom, t.top + t.size);
    }
    EXPECT_LE(left, 0.0);
    EXPECT_LE(top, 0.0);
    EXPECT_GE(right, 1000.0);
    EXPECT_GE(bottom, 800.0);
}

TEST(TilesCovering, ColumnsWrapAtTheAntimeridianAndRowsStopAtTheWorldsEdge)
{
    // Zoom 2 has 4 x 4 tiles; a view on the world's north-east corner.
    const MapView view = ViewAtTilePixel(2, 4 * 256, 0, 512, 512);
    const std::vector<PlacedTile> tiles = TilesCovering(view, 2);
    ASSERT_EQ(tiles.size(), 2u);  // row 0, one column either side of the seam
    EXPECT_EQ(tiles[0].key, (TileKey{2, 3, 0}));
    EXPECT_EQ(tiles[1].key, (TileKey{2, 0, 0}));
    EXPECT_NEAR(tiles[1].left, 256.0, 1e-6);
    EXPECT_NEAR(tiles[1].top, 256.0, 1e-6);
}

TEST(TilesCovering, NothingForABrokenView)
{
    MapView view{{}, 0.0, 100, 100};
    EXPECT_TRUE(TilesCovering(view, 3).empty());
    view.metresPerPixel = MetresPerPixelAtZoom(3);
    EXPECT_TRUE(TilesCovering(view, -1).empty());
    EXPECT_TRUE(TilesCovering(view, kMaxTileZoom + 1).empty());
    // Far more tiles than a window could show at a sensible zoom.
    EXPECT_TRUE(TilesCovering(view, 15).empty());
}

TEST(TileUrl, ReplacesEveryPlaceholder)
{
    EXPECT_EQ(TileUrl("https://tile.example.org/{z}/{x}/{y}.png", {7, 68, 45}),
              "https://tile.example.org/7/68/45.png");
    EXPECT_EQ(TileUrl("https://t.example.org/{z}-{z}/{y}/{x}?{x}", {12, 2140, 1436}),
              "https://t.example.org/12-12/1436/2140?2140");
    EXPECT_EQ(TileUrl("https://t.example.org/fixed.png", {1, 0, 1}),
              "https://t.example.org/fixed.png");
}

}  // namespace
}  // namespace veltrin
