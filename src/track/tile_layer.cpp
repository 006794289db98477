#include "track/tile_layer.h"

#include "track/tile_grid.h"
#include "track/tile_source.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace veltrin {

namespace {

// How many zooms coarser a stand-in tile may be; beyond it the tile would be
// too blurred to be worth drawing.
constexpr int kStandInZooms = 4;
constexpr double kAttributionShare = 0.85;  // of the painter's font size
constexpr double kAttributionPadding = 3.0;

// A coarser tile kept in memory that covers `key`, and the part of it that does.
const QImage* StandIn(const TileSource& tiles, const TileKey& key, QRectF& part)
{
    for (int up = 1; up <= kStandInZooms && up <= key.zoom; ++up) {
        const TileKey coarser{key.zoom - up, key.x >> up, key.y >> up};
        const QImage* image = tiles.Cached(coarser);
        if (image == nullptr)
            continue;
        const double share = 1.0 / (1 << up);
        const double edge = image->width() * share;
        const int inX = key.x - (coarser.x << up);
        const int inY = key.y - (coarser.y << up);
        part = QRectF(inX * edge, inY * edge, edge, edge);
        return image;
    }
    return nullptr;
}

QFont AttributionFont(const QFont& font)
{
    QFont small = font;
    if (font.pointSizeF() > 0.0)
        small.setPointSizeF(font.pointSizeF() * kAttributionShare);
    else if (font.pixelSize() > 0)
        small.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * kAttributionShare)));
    return small;
}

}  // namespace

int PaintTiles(QPainter& painter, const MapView& view, TileSource& tiles, const QColor& background)
{
    if (!tiles.Enabled())
        return 0;
    int drawn = 0;
    const int zoom = TileZoomFor(view.metresPerPixel);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const PlacedTile& placed : TilesCovering(view, zoom)) {
        // Whole pixels, so that neighbouring tiles leave no seam between them.
        const QPointF topLeft(std::floor(placed.left), std::floor(placed.top));
        const QPointF bottomRight(std::ceil(placed.left + placed.size),
                                  std::ceil(placed.top + placed.size));
        const QRectF target(topLeft, bottomRight);
        if (const QImage* image = tiles.Tile(placed.key)) {
            painter.drawImage(target, *image, QRectF(image->rect()));
            ++drawn;
            continue;
        }
        QRectF part;
        if (const QImage* image = StandIn(tiles, placed.key, part)) {
            painter.drawImage(target, *image, part);
            ++drawn;
        }
    }
    if (drawn > 0) {
        QColor wash = background;
        wash.setAlphaF(static_cast<float>(kTileWash));
        painter.fillRect(QRectF(0.0, 0.0, view.width, view.height), wash);
    }
    painter.restore();
    return drawn;
}

QRectF AttributionBox(QPainter& painter, double width, double height, const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    const QFontMetricsF metrics(AttributionFont(painter.font()));
    const double textWidth =
        std::min(metrics.horizontalAdvance(trimmed), width - 2.0 * kAttributionPadding);
    const double boxWidth = std::max(0.0, textWidth) + 2.0 * kAttributionPadding;
    const double boxHeight = metrics.height() + 2.0;
    return QRectF(width - boxWidth, height - boxHeight, boxWidth, boxHeight);
}

void PaintAttribution(QPainter& painter, double width, double height, const QString& text)
{
    const QRectF box = AttributionBox(painter, width, height, text);
    if (box.isEmpty())
        return;
    painter.save();
    const QFont font = AttributionFont(painter.font());
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    painter.fillRect(box, QColor(255, 255, 255, 170));
    painter.setPen(QColor(40, 40, 40));
    const QString shown =
        metrics.elidedText(text.trimmed(), Qt::ElideRight, box.width() - 2.0 * kAttributionPadding);
    painter.drawText(box.adjusted(kAttributionPadding, 0.0, -kAttributionPadding, 0.0),
                     Qt::AlignVCenter | Qt::AlignRight, shown);
    painter.restore();
}

}  // namespace veltrin
