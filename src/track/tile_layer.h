#pragma once
// The map tiles under the track and the line that names their source.

#include "track/web_mercator.h"

#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

namespace veltrin {

class TileSource;

// How much of the map's background lies over the tiles, so that the track,
// its faint part and the grid labels stay clear on a busy map.
constexpr double kTileWash = 0.35;

// The tiles covering `view` at the zoom that suits its scale, under a wash
// of `background`. A tile not yet
// there is stood in for by a coarser one kept in memory; where there is
// neither, what was painted before shows. Returns how many were drawn.
int PaintTiles(QPainter& painter, const MapView& view, TileSource& tiles, const QColor& background);

// Where the attribution `text` goes in an area of `width` x `height` with the
// painter's font: the bottom right corner; empty for an empty text.
QRectF AttributionBox(QPainter& painter, double width, double height, const QString& text);
// The attribution, small on a half-transparent white box.
void PaintAttribution(QPainter& painter, double width, double height, const QString& text);

}  // namespace veltrin
