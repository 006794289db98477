// Map tiles against a tile server on 127.0.0.1: drawn under the track, kept
// in memory and on disk, left out on errors and slow answers without holding
// up the event loop, no network at all without a template; the view's tile
// server and the dialog "Karte".
#include "support/temp_dir.h"
#include "tile_test_server.h"
#include "track/tile_server_dialog.h"
#include "track/tile_source.h"
#include "track/track_painter.h"
#include "track/track_view.h"
#include "track_test_data.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace veltrin {
namespace {

using track_test::EastwardTrack;
using track_test::kTileColour;
using track_test::TestTileServer;

constexpr int kWidth = 500;
constexpr int kHeight = 400;
// Long enough for a loaded machine, short enough that a stuck test ends soon.
constexpr int kWaitMs = 5000;

TileSourceOptions OptionsIn(const test::TempDir& dir, int timeoutMs = 10000)
{
    TileSourceOptions options;
    options.applicationVersion = QStringLiteral("9.9");
    options.cacheDirectory = QString::fromStdString((dir / "tiles").string());
    options.timeoutMs = timeoutMs;
    return options;
}

// The track map of a made flight painted as the canvas paints it.
struct Map {
    TrackScene scene{EastwardTrack(40, 50.0, 0.02, 3.0)};
    TrackPaintOptions options;

    explicit Map(TileSource* tiles, QString attribution = {})
    {
        options.view = FitView(scene.World(), kWidth, kHeight, kFitMargins);
        options.tiles = tiles;
        options.attribution = std::move(attribution);
    }
    QImage Paint() const
    {
        QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        PaintTrackMap(painter, scene, options);
        return image;
    }
    // A pixel well away from the track (which runs along the middle), the
    // grid lines, the labels and the boxes.
    QPoint Free() const
    {
        const Grid grid = GridFor(options.view, 110.0);
        for (int y = 60; y < kHeight / 2 - 20; y += 7)
            for (int x = 60; x < kWidth - 60; x += 7) {
                const bool onLine = std::ranges::any_of(grid.parallels,
                                                        [&](const GridLine& l) {
                                                            return std::abs(l.screen - y) < 3;
                                                        }) ||
                                    std::ranges::any_of(grid.meridians, [&](const GridLine& l) {
                                        return std::abs(l.screen - x) < 3;
                                    });
                if (!onLine)
                    return {x, y};
            }
        return {kWidth / 3, 70};
    }
    QPoint OnTrack(int index) const
    {
        const PixelPoint p = options.view.ToScreen(scene.World()[static_cast<std::size_t>(index)]);
        return {static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))};
    }
};

int Distance(QRgb pixel, const QColor& colour)
{
    const QColor c(pixel);
    return std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
           std::abs(c.blue() - colour.blue());
}

// A pixel of the tile under the map's light wash: nearer the tile than the
// background.
bool OfTile(QRgb pixel)
{
    return Distance(pixel, kTileColour) < Distance(pixel, kMapBackground);
}

// Paints until every tile the view needs has come or failed.
QImage PaintSettled(const Map& map, TileSource& tiles)
{
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            map.Paint();
            return tiles.InFlight() == 0;
        },
        kWaitMs));
    return map.Paint();
}

TEST(TileMap, TilesLieUnderTheTrackAndAreKeptInMemoryAndOnDisk)
{
    TestTileServer server;
    ASSERT_TRUE(server.Listening());
    test::TempDir dir("veltrin-tiles");
    int requests = 0;
    {
        TileSource tiles(OptionsIn(dir));
        tiles.SetUrlTemplate(server.UrlTemplate());
        QSignalSpy arrived(&tiles, &TileSource::tileArrived);
        const Map map(&tiles, QStringLiteral("Karte: Testdaten"));
        const QPoint free = map.Free();
        EXPECT_FALSE(OfTile(map.Paint().pixel(free)));  // on its way, not there yet
        const QImage image = PaintSettled(map, tiles);
        EXPECT_TRUE(OfTile(image.pixel(free))) << QColor(image.pixel(free)).name().toStdString();
        // The track lies on top of the tiles.
        const QPoint onTrack = map.OnTrack(20);
        EXPECT_FALSE(OfTile(image.pixel(onTrack)));
        // The attribution's box in the bottom right corner whitens the tile.
        const QColor corner(image.pixel(kWidth - 2, kHeight - 2));
        EXPECT_GT(corner.red(), QColor(image.pixel(free)).red() + 60);
        EXPECT_EQ(tiles.Failures(), 0);
        requests = server.Requests();
        EXPECT_GT(requests, 0);
        EXPECT_EQ(arrived.count(), requests);
        EXPECT_EQ(server.LastUserAgent(), "Veltrin View/9.9");
        for (const QString& path : server.Paths())
            EXPECT_TRUE(path.startsWith(
                QStringLiteral("/%1/").arg(TileZoomFor(map.options.view.metresPerPixel))))
                << path.toStdString();

        // A second paint takes them from memory.
        PaintSettled(map, tiles);
        QTest::qWait(50);
        EXPECT_EQ(server.Requests(), requests);
    }
    // A new source, as after a restart, takes them from the disk cache.
    TileSource again(OptionsIn(dir));
    again.SetUrlTemplate(server.UrlTemplate());
    const Map map(&again);
    const QImage image = PaintSettled(map, again);
    EXPECT_TRUE(OfTile(image.pixel(map.Free())));
    EXPECT_EQ(server.Requests(), requests);
}

TEST(TileMap, ErrorsAndSilentServersLeaveTheGridAndNeverHoldUp)
{
    for (const TestTileServer::Answer answer :
         {TestTileServer::Answer::NotFound, TestTileServer::Answer::Never}) {
        SCOPED_TRACE(static_cast<int>(answer));
        TestTileServer server(answer);
        test::TempDir dir("veltrin-tiles");
        TileSource tiles(OptionsIn(dir, 300));
        tiles.SetUrlTemplate(server.UrlTemplate());
        const Map map(&tiles, QStringLiteral("Karte: Testdaten"));
        const Map plain(nullptr);
        // The event loop goes on while the server keeps quiet.
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(10);
        const QImage first = map.Paint();
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.Requests() > 0; }, kWaitMs));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                map.Paint();
                return tiles.InFlight() == 0 && tiles.Failures() > 0;
            },
            kWaitMs));
        EXPECT_GT(ticks, 5);
        // Nothing of a tile and no attribution: the map as without tiles.
        const QImage settled = map.Paint();
        EXPECT_EQ(settled, plain.Paint());
        EXPECT_EQ(first, plain.Paint());
        // A failed tile is not asked for again on every paint.
        const int requests = server.Requests();
        map.Paint();
        QTest::qWait(50);
        EXPECT_EQ(server.Requests(), requests);
    }
}

TEST(TileMap, FailedTilesAreAskedForAgainAfterAWhile)
{
    TestTileServer server(TestTileServer::Answer::NotFound);
    test::TempDir dir("veltrin-tiles");
    TileSourceOptions options = OptionsIn(dir);
    options.retryAfterMs = 300;
    TileSource tiles(options);
    tiles.SetUrlTemplate(server.UrlTemplate());
    const Map map(&tiles);
    PaintSettled(map, tiles);
    ASSERT_GT(tiles.Failures(), 0);
    const int requests = server.Requests();
    PaintSettled(map, tiles);
    EXPECT_EQ(server.Requests(), requests);  // not yet
    // The server is back: after the pause the tiles come.
    server.SetAnswer(TestTileServer::Answer::Tile);
    QTest::qWait(350);
    const QImage image = PaintSettled(map, tiles);
    EXPECT_GT(server.Requests(), requests);
    EXPECT_EQ(tiles.Failures(), 0);
    EXPECT_TRUE(OfTile(image.pixel(map.Free())));
}

// Which quarter of a tile a pixel shows.
int QuarterOf(QRgb pixel)
{
    int best = 0;
    for (int q = 1; q < 4; ++q)
        if (Distance(pixel, track_test::kQuarterColours[q]) <
            Distance(pixel, track_test::kQuarterColours[best]))
            best = q;
    return best;
}

bool OffTheGrid(const MapView& view, QPointF at)
{
    const Grid grid = GridFor(view, 110.0);
    const auto near = [](double line, double value) {
        return std::abs(line - value) < 4.0;
    };
    return std::ranges::none_of(grid.parallels,
                                [&](const GridLine& l) { return near(l.screen, at.y()); }) &&
           std::ranges::none_of(grid.meridians,
                                [&](const GridLine& l) { return near(l.screen, at.x()); });
}

TEST(TileMap, CoarserTileStandsInWithTheRightPartWhileCloserOnesAreAwaited)
{
    TestTileServer server(TestTileServer::Answer::Quarters);
    test::TempDir dir("veltrin-tiles");
    TileSource tiles(OptionsIn(dir, 300));
    tiles.SetUrlTemplate(server.UrlTemplate());
    const Map coarse(&tiles);
    const QImage before = PaintSettled(coarse, tiles);
    ASSERT_EQ(tiles.Failures(), 0);

    // One zoom closer, with a server that no longer answers.
    server.SetAnswer(TestTileServer::Answer::Never);
    Map close(&tiles);
    close.options.view = ZoomAround(coarse.options.view, {kWidth / 2.0, kHeight / 2.0}, 2.0);
    ASSERT_EQ(TileZoomFor(close.options.view.metresPerPixel),
              TileZoomFor(coarse.options.view.metresPerPixel) + 1);
    const int requests = server.Requests();
    const QImage after = close.Paint();
    EXPECT_GT(server.Requests() + tiles.InFlight(), requests);  // the closer ones were asked for

    // Every place shows the same quarter as before: the stand-in's part that
    // covers it, not the whole coarser tile squeezed in.
    int compared = 0;
    bool seen[4] = {};
    for (int y = 40; y < kHeight / 2 - 30; y += 13) {
        for (int x = 40; x < kWidth - 60; x += 13) {
            const QPointF at(x + 0.5, y + 0.5);
            const WorldPoint world = close.options.view.FromScreen({at.x(), at.y()});
            const PixelPoint was = coarse.options.view.ToScreen(world);
            if (!OffTheGrid(close.options.view, at) ||
                !OffTheGrid(coarse.options.view, {was.x, was.y}) || was.y < 40.0)
                continue;
            const int quarter = QuarterOf(after.pixel(x, y));
            EXPECT_EQ(quarter,
                      QuarterOf(before.pixel(static_cast<int>(was.x), static_cast<int>(was.y))))
                << x << "," << y;
            seen[quarter] = true;
            ++compared;
        }
    }
    EXPECT_GT(compared, 50);
    EXPECT_GE(std::ranges::count(seen, true), 2);
}

TEST(TileMap, NoTemplateNoNetwork)
{
    TestTileServer server;
    test::TempDir dir("veltrin-tiles");
    TileSource tiles(OptionsIn(dir));
    const Map map(&tiles, QStringLiteral("Karte: Testdaten"));
    EXPECT_EQ(map.Paint(), Map(nullptr).Paint());
    EXPECT_EQ(tiles.Tile({3, 1, 2}), nullptr);
    // Switched on and off again before anything went out.
    tiles.SetUrlTemplate(server.UrlTemplate());
    tiles.SetUrlTemplate(QStringLiteral("  "));
    EXPECT_FALSE(tiles.Enabled());
    map.Paint();
    QTest::qWait(100);
    EXPECT_EQ(server.Requests(), 0);
    EXPECT_EQ(tiles.InFlight(), 0);
    EXPECT_FALSE(QDir(QString::fromStdString((dir / "tiles").string())).exists());
}

TEST(TileMap, ViewRepaintsWhenTilesArrive)
{
    TestTileServer server;
    test::TempDir dir("veltrin-tiles");
    TrackView view;
    view.resize(kWidth, kHeight);
    view.SetTrack(EastwardTrack(40, 50.0, 0.02, 3.0));
    view.Canvas()->SetTileSource(new TileSource(OptionsIn(dir)));
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    TrackCanvas* canvas = view.Canvas();
    const QPoint free(canvas->width() / 4, 70);
    EXPECT_FALSE(OfTile(canvas->grab().toImage().pixel(free)));
    view.SetTileServer(server.UrlTemplate(), QStringLiteral("Karte: Testdaten"));
    EXPECT_EQ(view.TileServer(), server.UrlTemplate());
    // Only the arriving tiles ask for the repaint that shows them.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return OfTile(canvas->grab().toImage().pixel(free)); }, kWaitMs));
    view.SetTileServer(QString(), QString());
    EXPECT_FALSE(OfTile(canvas->grab().toImage().pixel(free)));
}

TEST(TileServerDialog, OkOnlyForATemplateThatCanFetchTiles)
{
    struct Case {
        const char* text;
        bool usable;
    };
    const Case cases[] = {
        {"", true},
        {"   ", true},
        {"https://tile.example.org/{z}/{x}/{y}.png", true},
        {"http://127.0.0.1:8080/tiles/{z}/{y}/{x}", true},
        {"https://tile.example.org/{z}/{x}.png", false},
        {"tile.example.org/{z}/{x}/{y}.png", false},
    };
    TileServerDialog dialog;
    QPushButton* ok = dialog.Buttons()->button(QDialogButtonBox::Ok);
    for (const Case& c : cases) {
        dialog.UrlField()->setText(QString::fromUtf8(c.text));
        EXPECT_EQ(ok->isEnabled(), c.usable) << c.text;
    }
}

TEST(TileServerDialog, MapButtonAsksAndTheViewSaysWhatChanged)
{
    TrackView view;
    view.SetTrack(EastwardTrack(10));
    view.SetTileServer(QStringLiteral("https://old.example.org/{z}/{x}/{y}.png"),
                       QStringLiteral("Alt"));
    QSignalSpy changed(&view, &TrackView::tileServerChanged);
    const auto openDialog = [&] {
        view.MapButton()->click();
        auto* dialog = view.findChild<TileServerDialog*>();
        EXPECT_NE(dialog, nullptr);
        return dialog;
    };

    // Cancelled: nothing changes.
    TileServerDialog* dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->UrlField()->text(),
              QStringLiteral("https://old.example.org/{z}/{x}/{y}.png"));
    EXPECT_EQ(dialog->AttributionField()->text(), QStringLiteral("Alt"));
    dialog->UrlField()->setText(QStringLiteral("https://new.example.org/{z}/{x}/{y}.png"));
    dialog->reject();
    QTest::qWait(0);
    EXPECT_EQ(changed.count(), 0);

    // Accepted as it was: nothing to say either.
    dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->accept();
    QTest::qWait(0);
    EXPECT_EQ(changed.count(), 0);

    // Emptied: the map goes, and the shell hears of it to keep it.
    dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->UrlField()->clear();
    dialog->AttributionField()->setText(QStringLiteral("  Neu  "));
    dialog->accept();
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toString(), QString());
    EXPECT_EQ(changed[0][1].toString(), QStringLiteral("Neu"));
    EXPECT_EQ(view.TileServer(), QString());
    EXPECT_EQ(view.TileAttribution(), QStringLiteral("Neu"));
    EXPECT_FALSE(view.Canvas()->Tiles()->Enabled());
}

}  // namespace
}  // namespace veltrin
