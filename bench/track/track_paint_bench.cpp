// Time to paint the track view of a 10-hour flight (36,000 points, one a
// second) at 1000 x 800 pixels: the whole map, as after a new time range, a
// zoom or a pan, of a cross-country flight and of a local one; and one step of
// the marker, which repaints only the neighbourhood of the dot; and the whole
// map over map tiles already in memory.
#include "track/tile_grid.h"
#include "track/tile_source.h"
#include "track/track_painter.h"
#include "track/track_scene.h"
#include "track/track_view.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QUrl>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace {

using veltrin::TrackPoint;

constexpr int kWidth = 1000;
constexpr int kHeight = 800;
constexpr int kPoints = 36000;

// A long cross-country flight: a wide loop of some 80 km, circling for a
// minute now and then, loads and speed with noise, and two stretches without
// a fix.
veltrin::TrackData LongFlight()
{
    veltrin::TrackData track;
    track.points.reserve(kPoints);
    std::uint32_t state = 12345;
    const auto noise = [&state] {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
    };
    double east = 0.0, north = 0.0;  // metres from the start
    for (int i = 0; i < kPoints; ++i) {
        const double t = i / static_cast<double>(kPoints);
        const double heading = 2.0 * std::numbers::pi * t + 0.4 * std::sin(t * 37.0);
        const bool circling = (i / 600) % 5 == 0;
        const double turn = circling ? 2.0 * std::numbers::pi * i / 60.0 : heading;
        const double speed = 40.0 + 8.0 * noise();  // m/s
        east += speed * std::cos(turn);
        north += speed * std::sin(turn);
        TrackPoint p;
        p.timeMs = i * 1000.0;
        p.latitude = 47.3 + north / 111200.0;
        p.longitude = 8.2 + east / (111200.0 * std::cos(47.3 * std::numbers::pi / 180.0));
        p.fix = !(i > 9000 && i < 9300) && !(i > 22000 && i < 22100);
        p.accZ = (circling ? 1.6 : 1.0) + 0.4 * noise() + (i % 997 == 0 ? 3.5 : 0.0);
        p.ias = speed * 3.6;
        track.points.push_back(p);
    }
    track.takeOffIndex = 0;
    track.landingIndex = kPoints - 1;
    for (int i = 1; i < 40; ++i)
        track.eventTimesMs.push_back(i * 900000.0);
    for (int i = 1; i < 10; ++i)
        track.exceedanceTimesMs.push_back(i * 3600000.0 + 500.0);
    return track;
}

// Ten hours of figures over one field, some 4 km across: the track crosses
// itself everywhere and no piece of it is shorter than a pixel.
veltrin::TrackData LocalFlight()
{
    veltrin::TrackData track;
    track.points.reserve(kPoints);
    for (int i = 0; i < kPoints; ++i) {
        const double a = 2.0 * std::numbers::pi * i / 90.0;  // a figure in 90 s
        const double drift = 2.0 * std::numbers::pi * i / 5400.0;
        const double east = 1500.0 * std::sin(a) + 400.0 * std::cos(drift);
        const double north = 900.0 * std::sin(2.0 * a) + 400.0 * std::sin(drift);
        TrackPoint p;
        p.timeMs = i * 1000.0;
        p.latitude = 47.3 + north / 111200.0;
        p.longitude = 8.2 + east / (111200.0 * std::cos(47.3 * std::numbers::pi / 180.0));
        p.accZ = 1.0 + 3.0 * std::sin(a * 3.0);
        p.ias = 180.0 + 60.0 * std::cos(a);
        track.points.push_back(p);
    }
    track.takeOffIndex = 0;
    track.landingIndex = kPoints - 1;
    return track;
}

void PaintWholeMap(benchmark::State& state)
{
    const veltrin::TrackScene scene(state.range(1) == 0 ? LongFlight() : LocalFlight());
    veltrin::TrackPaintOptions options;
    options.view = veltrin::FitView(scene.World(), kWidth, kHeight, veltrin::kFitMargins);
    options.colouring = state.range(0) == 0 ? veltrin::TrackColouring::Acceleration
                                            : veltrin::TrackColouring::Speed;
    options.fromMs = 3.0 * 3600000.0;  // the graphs show an hour of it
    options.toMs = 4.0 * 3600000.0;
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        veltrin::PaintTrackMap(painter, scene, options);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
// Arguments: colouring (0 load, 1 speed), flight (0 cross-country, 1 local).
BENCHMARK(PaintWholeMap)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

// The whole map of the cross-country flight over the tiles that cover it,
// read from tile files beforehand so that only the painting is timed.
void PaintMapOverTiles(benchmark::State& state)
{
    const veltrin::TrackScene scene(LongFlight());
    veltrin::TrackPaintOptions options;
    options.view = veltrin::FitView(scene.World(), kWidth, kHeight, veltrin::kFitMargins);
    options.fromMs = 3.0 * 3600000.0;
    options.toMs = 4.0 * 3600000.0;
    options.attribution = QStringLiteral("Kartendaten: Beispiel");
    QTemporaryDir dir;
    const int zoom = veltrin::TileZoomFor(options.view.metresPerPixel);
    const std::vector<veltrin::PlacedTile> covering = veltrin::TilesCovering(options.view, zoom);
    QImage tile(veltrin::kTileSize, veltrin::kTileSize, QImage::Format_RGB32);
    for (const veltrin::PlacedTile& placed : covering) {
        tile.fill(QColor(200 + placed.key.x % 40, 220, 190 + placed.key.y % 50));
        const QString folder =
            dir.filePath(QStringLiteral("%1/%2").arg(placed.key.zoom).arg(placed.key.x));
        QDir().mkpath(folder);
        tile.save(folder + QStringLiteral("/%1.png").arg(placed.key.y));
    }
    veltrin::TileSourceOptions tileOptions;
    tileOptions.cacheDirectory = dir.filePath(QStringLiteral("cache"));
    veltrin::TileSource tiles(tileOptions);
    tiles.SetUrlTemplate(QUrl::fromLocalFile(dir.path()).toString() +
                         QStringLiteral("/{z}/{x}/{y}.png"));
    options.tiles = &tiles;
    const auto allThere = [&] {
        return std::ranges::all_of(covering, [&](const veltrin::PlacedTile& placed) {
            return tiles.Cached(placed.key) != nullptr;
        });
    };
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    const QDeadlineTimer deadline(10000);
    while (!allThere() && tiles.Failures() == 0 && !deadline.hasExpired()) {
        QPainter painter(&image);
        veltrin::PaintTrackMap(painter, scene, options);
        painter.end();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    if (!allThere()) {
        state.SkipWithError("the tile files were not read");
        return;
    }
    for (auto _ : state) {
        QPainter painter(&image);
        veltrin::PaintTrackMap(painter, scene, options);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(PaintMapOverTiles)->Unit(benchmark::kMillisecond);

// Building the view's data once per new track: projecting and colouring.
void ProjectTrack(benchmark::State& state)
{
    const veltrin::TrackData track = LongFlight();
    for (auto _ : state) {
        veltrin::TrackScene scene(track);
        benchmark::DoNotOptimize(scene.World().data());
    }
}
BENCHMARK(ProjectTrack)->Unit(benchmark::kMillisecond);

// One marker step on the shown window: the dot's old and new neighbourhood
// painted from the kept picture.
void MoveMarker(benchmark::State& state)
{
    veltrin::TrackCanvas canvas;
    canvas.resize(kWidth, kHeight);
    canvas.SetTrack(LongFlight());
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    canvas.render(&image);  // the kept picture is made here
    double timeMs = 3.0 * 3600000.0;
    for (auto _ : state) {
        const auto before = canvas.MarkerDot();
        timeMs += 1000.0;
        canvas.SetMarkerTime(timeMs);
        QRegion dirty(veltrin::MarkerDotRect(*canvas.MarkerDot()));
        if (before)
            dirty += veltrin::MarkerDotRect(*before);
        canvas.render(&image, dirty.boundingRect().topLeft(), dirty);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(MoveMarker)->Unit(benchmark::kMicrosecond);

}  // namespace
