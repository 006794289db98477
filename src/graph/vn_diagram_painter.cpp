#include "graph/vn_diagram_painter.h"

#include "graph/graph_constants.h"
#include "graph/ticks.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace veltrin {

namespace {

// Colours of the diagram.
const QColor kBackground{255, 255, 255};
const QColor kGridColour{225, 225, 225};
const QColor kZeroLineColour{170, 170, 170};
const QColor kAxisColour{0, 0, 0};
const QColor kEnvelopeLine{0, 120, 0};
const QColor kEnvelopeFill{236, 248, 236};
const QColor kInsideColour{0, 60, 200};  // a point within the limits
const QColor kBeyondColour{220, 0, 0};   // a point beyond them
const QColor& kMarkedColour = graph_constants::kMarkerColour;

// Axis titles.
constexpr const char* kIasTitle = "IAS [km/h]";
constexpr const char* kLoadTitle = "n [g]";

// Sizes relative to the label font's height.
constexpr double kDotPerFontHeight = 0.18;
constexpr double kLinePerFontHeight = 0.065;
constexpr double kTickPerFontHeight = 0.35;
constexpr double kMarkRadiusPerFontHeight = 0.6;
// The most dots along one edge; a larger area gets larger dots.
constexpr int kMaxDotsPerEdge = 4096;
// The lightest shade of a dot, for the cells with the fewest points.
constexpr double kLightestShade = 0.45;

// The ranges shown without points and envelope, and how much room is left
// around what is shown.
constexpr double kLeastIas = 0.0, kLeastTopIas = 50.0;
constexpr double kLeastLoad = -1.0, kLeastTopLoad = 2.0;
constexpr double kRangeMargin = 0.05;
constexpr double kTicksPerAxis = 8.0;

// A step of 1, 2 or 5 times a power of ten that cuts `span` into about
// kTicksPerAxis parts.
double NiceStep(double span)
{
    const double raw = span / kTicksPerAxis;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double m = raw / power;
    return (m <= 1.0 ? 1.0 : m <= 2.0 ? 2.0 : m <= 5.0 ? 5.0 : 10.0) * power;
}

VnAxis AxisOver(double lo, double hi)
{
    const double margin = (hi - lo) * kRangeMargin;
    VnAxis axis;
    axis.step = NiceStep(hi - lo + 2.0 * margin);
    axis.min = std::floor((lo - margin) / axis.step) * axis.step;
    axis.max = std::ceil((hi + margin) / axis.step) * axis.step;
    // The speed axis begins at zero when nothing is slower.
    if (lo >= 0.0 && axis.min < 0.0 && lo - margin < 0.0)
        axis.min = 0.0;
    axis.decimals =
        axis.step >= 1.0 ? 0 : static_cast<int>(std::ceil(-std::log10(axis.step) - 1e-9));
    return axis;
}

struct Extent {
    double lo = 0.0, hi = 0.0;
    void Add(double v)
    {
        if (std::isfinite(v)) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
};

QString Label(const VnAxis& axis, double value)
{
    return FormatLabel(QStringLiteral("%0.") + QString::number(axis.decimals) + QStringLiteral("f"),
                       value);
}

// Counts of the dots of the plot area, inside and beyond the envelope.
struct DotGrid {
    int columns = 0, rows = 0;
    std::vector<std::uint32_t> inside, beyond;

    void Add(int column, int row, bool isBeyond, std::uint32_t count)
    {
        std::uint32_t& cell =
            (isBeyond ? beyond
                      : inside)[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
                                static_cast<std::size_t>(column)];
        cell = static_cast<std::uint32_t>(std::min<std::uint64_t>(
            std::numeric_limits<std::uint32_t>::max(), std::uint64_t{cell} + count));
    }
};

DotGrid BinDots(const VnDiagramLayout& layout, const VnDiagramData& data)
{
    DotGrid grid;
    grid.columns = std::clamp(static_cast<int>(std::ceil(layout.plot.width() / layout.dot)), 1,
                              kMaxDotsPerEdge);
    grid.rows = std::clamp(static_cast<int>(std::ceil(layout.plot.height() / layout.dot)), 1,
                           kMaxDotsPerEdge);
    const std::size_t cells =
        static_cast<std::size_t>(grid.columns) * static_cast<std::size_t>(grid.rows);
    grid.inside.assign(cells, 0);
    grid.beyond.assign(cells, 0);

    const VnAxes& axes = layout.axes;
    const double columnsPerKmh = layout.plot.width() / layout.dot / (axes.ias.max - axes.ias.min);
    const double rowsPerG = layout.plot.height() / layout.dot / (axes.accZ.max - axes.accZ.min);
    const auto column = [&](double ias) {
        return std::floor((ias - axes.ias.min) * columnsPerKmh);
    };
    const auto row = [&](double accZ) {
        return std::floor((axes.accZ.max - accZ) * rowsPerG);
    };

    // The hot loop of a million points: no rounding calls, no saturation (a
    // dot would need four thousand million points to overflow).
    const VnEnvelope* envelope = data.envelope ? &*data.envelope : nullptr;
    const double columns = grid.columns, rows = grid.rows;
    for (const VnPoint& point : data.points) {
        const double c = (point.ias - axes.ias.min) * columnsPerKmh;
        const double r = (axes.accZ.max - point.accZ) * rowsPerG;
        if (!(c >= 0.0 && c < columns && r >= 0.0 && r < rows))
            continue;
        const std::size_t i = static_cast<std::size_t>(r) * static_cast<std::size_t>(grid.columns) +
                              static_cast<std::size_t>(c);
        if (envelope && IsBeyondEnvelope(point.ias, point.accZ, *envelope))
            ++grid.beyond[i];
        else
            ++grid.inside[i];
    }

    if (data.density && !data.density->Empty()) {
        const PointDensity& density = *data.density;
        // Each cell of the density goes to the dot of its centre.
        std::vector<int> columnOf(static_cast<std::size_t>(density.LastColumn() + 1), -1);
        for (int i = density.FirstColumn(); i <= density.LastColumn(); ++i) {
            const double c = column(density.CellIas(i));
            columnOf[static_cast<std::size_t>(i)] =
                c >= 0.0 && c < grid.columns ? static_cast<int>(c) : -1;
        }
        for (int j = density.FirstRow(); j <= density.LastRow(); ++j) {
            const double r = row(density.CellAccZ(j));
            if (!(r >= 0.0 && r < grid.rows))
                continue;
            for (int i = density.FirstColumn(); i <= density.LastColumn(); ++i) {
                const int c = columnOf[static_cast<std::size_t>(i)];
                if (c < 0)
                    continue;
                if (const std::uint32_t n = density.InsideAt(i, j))
                    grid.Add(c, static_cast<int>(r), false, n);
                if (const std::uint32_t n = density.BeyondAt(i, j))
                    grid.Add(c, static_cast<int>(r), true, n);
            }
        }
    }
    return grid;
}

// One pixel per dot: a dot beyond the envelope in full red, however few points
// it holds, so that a single sample beyond a limit stands out; else the normal
// colour, darker the more points it holds; empty dots transparent.
QImage DotImage(const DotGrid& grid)
{
    QImage image(grid.columns, grid.rows, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const std::uint32_t most = *std::max_element(grid.inside.begin(), grid.inside.end());
    const double scale = most > 1 ? (1.0 - kLightestShade) / std::log1p(most) : 0.0;
    const auto shade = [&](const QColor& base, std::uint32_t count) {
        const double s = most > 1 ? kLightestShade + scale * std::log1p(count) : 1.0;
        const auto mix = [s](int c) {
            return static_cast<int>(std::lround(255.0 + (c - 255) * s));
        };
        return qRgb(mix(base.red()), mix(base.green()), mix(base.blue()));
    };
    for (int r = 0; r < grid.rows; ++r) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(r));
        const std::size_t offset =
            static_cast<std::size_t>(r) * static_cast<std::size_t>(grid.columns);
        for (int c = 0; c < grid.columns; ++c) {
            const std::uint32_t beyond = grid.beyond[offset + static_cast<std::size_t>(c)];
            const std::uint32_t inside = grid.inside[offset + static_cast<std::size_t>(c)];
            if (beyond > 0)
                line[c] = kBeyondColour.rgb();
            else if (inside > 0)
                line[c] = shade(kInsideColour, inside);
        }
    }
    return image;
}

QPen Pen(const QColor& colour, double width, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(colour, width, style);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

void PaintGrid(QPainter& painter, const VnDiagramLayout& layout, double line)
{
    const VnAxes& axes = layout.axes;
    const QRectF& plot = layout.plot;
    painter.setPen(Pen(kGridColour, line));
    for (double v : TickValues(axes.ias.min, axes.ias.max, axes.ias.step)) {
        const double x = layout.ToScreen(v, 0.0).x();
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    for (double v : TickValues(axes.accZ.min, axes.accZ.max, axes.accZ.step)) {
        const double y = layout.ToScreen(0.0, v).y();
        painter.setPen(
            Pen(std::abs(v) < graph_constants::kLabelZero ? kZeroLineColour : kGridColour, line));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
}

QPolygonF OutlineOnScreen(const VnDiagramLayout& layout, const VnEnvelope& envelope)
{
    QPolygonF outline;
    for (const QPointF& corner : EnvelopeOutline(envelope))
        outline << layout.ToScreen(corner.x(), corner.y());
    return outline;
}

void PaintMark(QPainter& painter, const VnDiagramLayout& layout, const VnPoint& point, double line,
               double radius)
{
    const QPointF at = layout.ToScreen(point.ias, point.accZ);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Pen(kMarkedColour, 2.0 * line));
    painter.drawEllipse(at, radius, radius);
    painter.drawLine(at - QPointF(2.0 * radius, 0.0), at - QPointF(radius, 0.0));
    painter.drawLine(at + QPointF(radius, 0.0), at + QPointF(2.0 * radius, 0.0));
    painter.drawLine(at - QPointF(0.0, 2.0 * radius), at - QPointF(0.0, radius));
    painter.drawLine(at + QPointF(0.0, radius), at + QPointF(0.0, 2.0 * radius));
}

void PaintAxes(QPainter& painter, const VnDiagramLayout& layout, const QRectF& rect, double line)
{
    const QFontMetricsF metrics(painter.font());
    const double tick = metrics.height() * kTickPerFontHeight;
    const VnAxes& axes = layout.axes;
    const QRectF& plot = layout.plot;
    painter.setPen(Pen(kAxisColour, line));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);
    for (double v : TickValues(axes.ias.min, axes.ias.max, axes.ias.step)) {
        const double x = layout.ToScreen(v, 0.0).x();
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + tick));
        const QString text = Label(axes.ias, v);
        const double w = metrics.horizontalAdvance(text);
        painter.drawText(QPointF(x - w / 2.0, plot.bottom() + tick + metrics.ascent()), text);
    }
    for (double v : TickValues(axes.accZ.min, axes.accZ.max, axes.accZ.step)) {
        const double y = layout.ToScreen(0.0, v).y();
        painter.drawLine(QPointF(plot.left() - tick, y), QPointF(plot.left(), y));
        const QString text = Label(axes.accZ, v);
        const double w = metrics.horizontalAdvance(text);
        painter.drawText(
            QPointF(plot.left() - tick * 1.5 - w, y + (metrics.ascent() - metrics.descent()) / 2.0),
            text);
    }
    const QString iasTitle = QString::fromUtf8(kIasTitle);
    painter.drawText(QPointF(plot.center().x() - metrics.horizontalAdvance(iasTitle) / 2.0,
                             rect.bottom() - metrics.descent()),
                     iasTitle);
    const QString loadTitle = QString::fromUtf8(kLoadTitle);
    painter.save();
    painter.translate(rect.left() + metrics.ascent(),
                      plot.center().y() + metrics.horizontalAdvance(loadTitle) / 2.0);
    painter.rotate(-90.0);
    painter.drawText(QPointF(0.0, 0.0), loadTitle);
    painter.restore();
}

}  // namespace

VnAxes VnAxesFor(const VnDiagramData& data)
{
    Extent ias{kLeastIas, kLeastTopIas};
    Extent load{kLeastLoad, kLeastTopLoad};
    for (const VnPoint& point : data.points) {
        ias.Add(point.ias);
        load.Add(point.accZ);
    }
    if (data.density && !data.density->Empty()) {
        ias.Add(data.density->MinIas());
        ias.Add(data.density->MaxIas());
        load.Add(data.density->MinAccZ());
        load.Add(data.density->MaxAccZ());
    }
    if (data.envelope) {
        ias.Add(data.envelope->speed);
        load.Add(data.envelope->negativeLoad);
        load.Add(data.envelope->positiveLoad);
    }
    return {AxisOver(ias.lo, ias.hi), AxisOver(load.lo, load.hi)};
}

QPointF VnDiagramLayout::ToScreen(double ias, double accZ) const
{
    const double x =
        plot.left() + (ias - axes.ias.min) / (axes.ias.max - axes.ias.min) * plot.width();
    const double y =
        plot.top() + (axes.accZ.max - accZ) / (axes.accZ.max - axes.accZ.min) * plot.height();
    return {x, y};
}

VnDiagramLayout LayoutVnDiagram(const QRectF& rect, const QFontMetricsF& metrics,
                                const VnDiagramData& data)
{
    VnDiagramLayout layout;
    layout.axes = VnAxesFor(data);
    const double tick = metrics.height() * kTickPerFontHeight;
    double widest = 0.0;
    for (double v : TickValues(layout.axes.accZ.min, layout.axes.accZ.max, layout.axes.accZ.step))
        widest = std::max(widest, metrics.horizontalAdvance(Label(layout.axes.accZ, v)));
    const double lastLabel =
        metrics.horizontalAdvance(Label(layout.axes.ias, layout.axes.ias.max)) / 2.0;
    const double left = metrics.height() * 1.5 + widest + tick * 1.5;
    const double bottom = tick + metrics.height() * 2.5;
    const double top = metrics.height();
    const double right = std::max(lastLabel, metrics.height()) + tick;
    layout.plot = rect.adjusted(left, top, -right, -bottom);
    if (layout.plot.width() < 1.0 || layout.plot.height() < 1.0)
        layout.plot = QRectF(rect.topLeft(),
                             QSizeF(std::max(rect.width(), 1.0), std::max(rect.height(), 1.0)));
    layout.dot = std::max(metrics.height() * kDotPerFontHeight,
                          std::max(layout.plot.width(), layout.plot.height()) / kMaxDotsPerEdge);
    return layout;
}

void PaintVnDiagram(QPainter& painter, const QRectF& rect, const VnDiagramData& data)
{
    const QFontMetricsF metrics(painter.font());
    const VnDiagramLayout layout = LayoutVnDiagram(rect, metrics, data);
    const double line = metrics.height() * kLinePerFontHeight;

    painter.save();
    painter.fillRect(rect, kBackground);
    painter.save();
    painter.setClipRect(layout.plot, Qt::IntersectClip);
    // The envelope's area under the grid, its outline over the dots, so that
    // the limits stay in sight where the points crowd.
    if (data.envelope) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kEnvelopeFill);
        painter.drawPolygon(OutlineOnScreen(layout, *data.envelope));
    }
    PaintGrid(painter, layout, line);

    const DotGrid grid = BinDots(layout, data);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(
        QRectF(layout.plot.topLeft(), QSizeF(grid.columns * layout.dot, grid.rows * layout.dot)),
        DotImage(grid));
    if (data.envelope) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(Pen(kEnvelopeLine, 2.0 * line));
        painter.drawPolygon(OutlineOnScreen(layout, *data.envelope));
    }
    if (data.markedPoint >= 0 && static_cast<std::size_t>(data.markedPoint) < data.points.size())
        PaintMark(painter, layout, data.points[static_cast<std::size_t>(data.markedPoint)], line,
                  metrics.height() * kMarkRadiusPerFontHeight);
    painter.restore();
    PaintAxes(painter, layout, rect, line);
    painter.restore();
}

int NearestVnPoint(std::span<const VnPoint> points, const VnDiagramLayout& layout, QPointF at,
                   double maxDistance)
{
    int nearest = -1;
    double best = maxDistance * maxDistance;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const QPointF d = layout.ToScreen(points[i].ias, points[i].accZ) - at;
        const double squared = d.x() * d.x() + d.y() * d.y();
        if (squared <= best) {
            best = squared;
            nearest = static_cast<int>(i);
        }
    }
    return nearest;
}

}  // namespace veltrin
