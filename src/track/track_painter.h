#pragma once
// Paints the track map into any painter: the background, map tiles when
// wanted, a latitude and longitude grid, the track coloured by load or speed (strong inside the
// graphs' time range, faint outside it, dashed where the position has no fix),
// take-off, landing, events and exceedances, the scale bar, the north arrow
// and the legend of the colour scale; and the marker's dot on top.

#include "track/track_colours.h"
#include "track/track_scene.h"
#include "track/web_mercator.h"

#include <QColor>
#include <QFontMetricsF>
#include <QRect>
#include <QRectF>

#include <limits>

#include <QString>

class QPainter;

namespace veltrin {

class TileSource;

inline const QColor kMapBackground{246, 244, 238};
inline const QColor kGridColour{205, 203, 196};
inline const QColor kMarkerDotColour{255, 128, 0};  // the graphs' marker colour
// Take-off and landing stay apart from every colour of the scale.
inline const QColor kTakeOffColour{255, 255, 255};
inline const QColor kLandingColour{30, 30, 30};
inline const QColor kMarkOutline{30, 30, 30};
inline const QColor kEventColour{130, 0, 170};
inline const QColor kExceedanceColour{210, 0, 0};

// How much of a step's colour the faint part keeps; the rest is background.
constexpr double kFaintShare = 0.45;
constexpr double kStrongPenWidth = 3.0;
constexpr double kFaintPenWidth = 1.0;
// A strong part longer than this many pixels on screen, or a whole track this
// many times longer, is drawn one pixel thin and without smoothing: so crowded
// a view shows no more with wide lines, and they would take many times as long
// to paint.
constexpr double kCrowdedTrackPixels = 20000.0;
constexpr double kCrowdedFaintFactor = 4.0;
// The free margin around a fitted track, in pixels; below it more, so that
// the scale bar and the legend rarely hide the track.
constexpr double kFitMargin = 28.0;
constexpr FitMargins kFitMargins{kFitMargin, kFitMargin, kFitMargin, kFitMargin + 32.0};

struct TrackPaintOptions {
    MapView view;  // its width and height are the painted area's, from (0, 0)
    TrackColouring colouring = TrackColouring::Acceleration;
    double fromMs = -std::numeric_limits<double>::infinity();  // the strong part
    double toMs = std::numeric_limits<double>::infinity();
    // Map tiles under the track, when set and switched on, with the line that
    // names their source in the bottom right corner.
    TileSource* tiles = nullptr;
    QString attribution;
};

// The colour of a step in the faint part.
QColor FaintColour(int step);

// Where the legend and the scale bar go in an area of `width` x `height`.
struct TrackMapLayout {
    QRectF legendBox;  // the legend's background
    QRectF legendBar;  // its colour bar, low values left
    QRectF scaleBar;   // the bar itself, without its label
};
TrackMapLayout LayoutTrackMap(double width, double height, const QFontMetricsF& metrics,
                              double scaleBarPixels);

// Paints everything but the marker's dot.
void PaintTrackMap(QPainter& painter, const TrackScene& scene, const TrackPaintOptions& options);

// The dot at `at`, and the pixels it may touch.
void PaintMarkerDot(QPainter& painter, PixelPoint at);
QRect MarkerDotRect(PixelPoint at);

}  // namespace veltrin
