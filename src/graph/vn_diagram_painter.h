#pragma once
// Draws a V-n diagram (air speed against vertical load) into any painter: the
// axes with ticks and labels, the limit envelope and the points, binned into
// dots so that a million of them draw in milliseconds; and finds the point
// nearest to a position on it.

#include "graph/point_density.h"
#include "graph/vn_envelope.h"

#include <QFontMetricsF>
#include <QPointF>
#include <QRectF>

#include <optional>
#include <span>

class QPainter;

namespace veltrin {

// What the diagram shows. The points and the density are lent by the caller
// for the call; both may be given, and both are drawn.
struct VnDiagramData {
    std::span<const VnPoint> points;
    const PointDensity* density = nullptr;  // counts classified when they were binned
    std::optional<VnEnvelope> envelope;     // none: no outline, and no point counts as beyond
    int markedPoint = -1;                   // index into `points` drawn highlighted; -1 none
};

// One axis: its range, the step of its ticks and the decimals of its labels.
struct VnAxis {
    double min = 0.0;
    double max = 1.0;
    double step = 1.0;
    int decimals = 0;
};

struct VnAxes {
    VnAxis ias;   // x, km/h
    VnAxis accZ;  // y, g
};

// Ranges that hold the points, the density's values, the envelope, zero
// speed and the loads -1 g to 2 g, widened a little and rounded to ticks.
VnAxes VnAxesFor(const VnDiagramData& data);

// Where the parts of the diagram go in a rectangle.
struct VnDiagramLayout {
    QRectF plot;  // the area inside the axes
    VnAxes axes;
    double dot = 1.0;  // edge of one dot, in the painter's units

    QPointF ToScreen(double ias, double accZ) const;
};

// The layout of the diagram in `rect` with labels in the font of `metrics`.
VnDiagramLayout LayoutVnDiagram(const QRectF& rect, const QFontMetricsF& metrics,
                                const VnDiagramData& data);

// Paints the whole diagram into `rect` with the painter's font; the size of
// the dots and lines follows the font, so it looks alike on screen and paper.
void PaintVnDiagram(QPainter& painter, const QRectF& rect, const VnDiagramData& data);

// The index of the point nearest to `at` (in the layout's units) that lies at
// most `maxDistance` away; -1 when there is none.
int NearestVnPoint(std::span<const VnPoint> points, const VnDiagramLayout& layout, QPointF at,
                   double maxDistance);

}  // namespace veltrin
