#include "track/track_painter.h"

#include "track/tile_layer.h"
#include "track/tile_source.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace veltrin {

namespace {

constexpr double kGridSpacingPixels = 110.0;  // room for a label with seconds
constexpr double kScaleBarMaxShare = 0.25;    // of the width
constexpr double kScaleBarMaxPixels = 180.0;
constexpr double kLegendBarWidth = 150.0;
constexpr double kLegendBarHeight = 10.0;
constexpr double kLegendPadding = 6.0;
constexpr double kEdge = 10.0;  // free space between the map's edge and what sits there
// A point closer than this to the last drawn one of its run is left out.
constexpr double kMinPointSpacing = 2.0;
constexpr double kMarkerDotRadius = 5.0;

// The kinds of line the track is drawn in; each kind is drawn with one pen.
constexpr int kLineKinds = 2 * 2 * kColourSteps;  // faint/strong x solid/dashed x step

// Plain length; no guard against overflow is needed for screen coordinates.
double Distance(QPointF a, QPointF b)
{
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    return std::sqrt(dx * dx + dy * dy);
}

int KindOf(bool strong, bool dashed, int step)
{
    return ((strong ? 2 : 0) + (dashed ? 1 : 0)) * kColourSteps + step;
}

QPointF ToQt(PixelPoint p)
{
    return {p.x, p.y};
}

QColor Blend(const QColor& colour, const QColor& under, double share)
{
    const auto mix = [share](int a, int b) {
        return static_cast<int>(std::lround(a * share + b * (1.0 - share)));
    };
    return QColor(mix(colour.red(), under.red()), mix(colour.green(), under.green()),
                  mix(colour.blue(), under.blue()));
}

// The track's screen points, split into runs of one kind each: every run a
// polyline, every kind drawn with one pen. Pieces of the track shorter than a
// pixel are merged into one segment that takes the most telling of their
// colours, so that a long flight draws about one segment a pixel of its length.
class TrackRuns {
public:
    TrackRuns() : runs_(kLineKinds) {}

    void Build(const TrackScene& scene, const TrackPaintOptions& options)
    {
        const std::vector<TrackPoint>& points = scene.Data().points;
        const std::vector<WorldPoint>& world = scene.World();
        const std::vector<unsigned char>& steps = scene.Steps(options.colouring);
        const int calm = scene.Scale(options.colouring).CalmStep();
        const double width = options.view.width, height = options.view.height;
        const double reach = kStrongPenWidth;
        // Which side of the painted area a point lies beyond, as bits.
        const auto outside = [&](QPointF p) {
            return (p.x() < -reach ? 1 : 0) | (p.x() > width + reach ? 2 : 0) |
                   (p.y() < -reach ? 4 : 0) | (p.y() > height + reach ? 8 : 0);
        };
        QPointF from = ToQt(options.view.ToScreen(world[0]));  // the last point drawn to
        int fromOutside = outside(from);
        // The pieces gathered since `from`.
        int step = -1;
        bool strong = false;
        bool dashed = false;
        const std::size_t last = points.size() - 1;
        for (std::size_t i = 1; i <= last; ++i) {
            const TrackPoint& p0 = points[i - 1];
            const TrackPoint& p1 = points[i];
            // The end farther from calm colours a piece, so that peaks show.
            const int s0 = steps[i - 1], s1 = steps[i];
            const int pieceStep = std::abs(s0 - calm) >= std::abs(s1 - calm) ? s0 : s1;
            if (step < 0 || std::abs(pieceStep - calm) > std::abs(step - calm))
                step = pieceStep;
            strong = strong || (p1.timeMs >= options.fromMs && p0.timeMs <= options.toMs);
            dashed = !p0.fix || !p1.fix;
            const QPointF to = ToQt(options.view.ToScreen(world[i]));
            if (i < last &&
                std::fabs(to.x() - from.x()) + std::fabs(to.y() - from.y()) < kMinPointSpacing)
                continue;
            const int toOutside = outside(to);
            // Both ends beyond one edge: nothing of it shows.
            const double length = Distance(from, to);
            if ((fromOutside & toOutside) == 0) {
                Add(KindOf(strong, dashed, step), from, to);
                if (strong)
                    strongLength_ += length;
            } else {
                current_ = -1;
            }
            along_ += length;
            from = to;
            fromOutside = toOutside;
            step = -1;
            strong = false;
        }
    }

    // The length of the track on screen and of its strong part, in pixels.
    double Length() const { return along_; }
    double StrongLength() const { return strongLength_; }

    // Draws the runs of one kind with `pen`.
    void Draw(QPainter& painter, int kind, const QPen& pen) const
    {
        const Kind& runs = runs_[static_cast<std::size_t>(kind)];
        if (runs.starts.empty())
            return;
        const bool dashed = pen.style() != Qt::SolidLine;
        painter.setPen(pen);
        for (std::size_t r = 0; r < runs.starts.size(); ++r) {
            const int begin = runs.starts[r];
            const int end = r + 1 < runs.starts.size() ? runs.starts[r + 1]
                                                       : static_cast<int>(runs.points.size());
            if (dashed) {
                // The dashes go on where the last run of another colour ended.
                QPen along = pen;
                along.setDashOffset(runs.along[r] / pen.widthF());
                painter.setPen(along);
            }
            painter.drawPolyline(runs.points.data() + begin, end - begin);
        }
    }

    // Draws the runs of one kind as lines one pixel wide straight into
    // `image`, within `width` x `height`: many times faster than a painter for
    // a crowded track, whose pixels are drawn over again and again.
    void DrawPixels(QImage& image, double width, double height, int kind, QRgb colour,
                    bool dashed) const
    {
        const Kind& runs = runs_[static_cast<std::size_t>(kind)];
        if (runs.starts.empty())
            return;
        PixelTarget target{reinterpret_cast<QRgb*>(image.bits()),
                           static_cast<qsizetype>(image.bytesPerLine() / 4),
                           std::min(static_cast<double>(image.width()), std::floor(width)),
                           std::min(static_cast<double>(image.height()), std::floor(height)),
                           colour | 0xff000000u,
                           dashed};
        for (std::size_t r = 0; r < runs.starts.size(); ++r) {
            const int begin = runs.starts[r];
            const int end = r + 1 < runs.starts.size() ? runs.starts[r + 1]
                                                       : static_cast<int>(runs.points.size());
            double along = runs.along[r];
            for (int i = begin + 1; i < end; ++i) {
                const QPointF a = runs.points[static_cast<std::size_t>(i - 1)];
                const QPointF b = runs.points[static_cast<std::size_t>(i)];
                target.Line(a, b, along);
                along += Distance(a, b);
            }
        }
    }

private:
    struct PixelTarget {
        QRgb* bits;
        qsizetype stride;  // pixels a row
        double width, height;
        QRgb colour;
        bool dashed;

        void Line(QPointF a, QPointF b, double along) const
        {
            // Clipped to the area first, so that far-off ends cost nothing.
            double t0 = 0.0, t1 = 1.0;
            const double dx = b.x() - a.x(), dy = b.y() - a.y();
            const double edge = 1e-6;
            const auto clip = [&](double p, double q) {
                if (p == 0.0)
                    return q >= 0.0;
                const double r = q / p;
                if (p < 0.0) {
                    if (r > t1)
                        return false;
                    t0 = std::max(t0, r);
                } else {
                    if (r < t0)
                        return false;
                    t1 = std::min(t1, r);
                }
                return true;
            };
            if (!clip(-dx, a.x()) || !clip(dx, width - edge - a.x()) || !clip(-dy, a.y()) ||
                !clip(dy, height - edge - a.y()))
                return;
            const double x0 = a.x() + t0 * dx, y0 = a.y() + t0 * dy;
            const double x1 = a.x() + t1 * dx, y1 = a.y() + t1 * dy;
            const int n = std::max(
                1, static_cast<int>(std::ceil(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0)))));
            const double sx = (x1 - x0) / n, sy = (y1 - y0) / n;
            const double stepLength = std::hypot(sx, sy);
            double distance = along + t0 * std::hypot(dx, dy);
            double x = x0, y = y0;
            for (int k = 0; k < n; ++k) {
                // About the rhythm of the wide dashes: 6 pixels on, 7 off.
                if (!dashed || std::fmod(distance, 13.0) < 6.0)
                    bits[static_cast<qsizetype>(y) * stride + static_cast<qsizetype>(x)] = colour;
                x += sx;
                y += sy;
                distance += stepLength;
            }
        }
    };

    struct Kind {
        std::vector<QPointF> points;
        std::vector<int> starts;    // where each run begins in `points`
        std::vector<double> along;  // the track's length on screen before each run
    };

    // The segment from `from` to `to`: the open run goes on if it is of the
    // same kind, else a new one begins.
    void Add(int kind, QPointF from, QPointF to)
    {
        Kind& runs = runs_[static_cast<std::size_t>(kind)];
        if (kind != current_) {
            runs.starts.push_back(static_cast<int>(runs.points.size()));
            runs.along.push_back(along_);
            runs.points.push_back(from);
            current_ = kind;
        }
        runs.points.push_back(to);
    }

    std::vector<Kind> runs_;
    int current_ = -1;  // the kind of the open run; -1 none
    double strongLength_ = 0.0;
    double along_ = 0.0;  // the length of the track on screen so far
};

void PaintGrid(QPainter& painter, const MapView& view, const QFontMetricsF& metrics)
{
    const Grid grid = GridFor(view, kGridSpacingPixels);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(kGridColour, 1.0));
    for (const GridLine& line : grid.parallels)
        painter.drawLine(QLineF(0.0, line.screen, view.width, line.screen));
    for (const GridLine& line : grid.meridians)
        painter.drawLine(QLineF(line.screen, 0.0, line.screen, view.height));
    // Labels left of the parallels and along the top beside the meridians,
    // where they fit whole and clear of each other.
    painter.setPen(QColor(120, 118, 110));
    for (const GridLine& line : grid.parallels) {
        if (line.screen - metrics.height() < metrics.height() + 2.0)
            continue;
        painter.drawText(QPointF(4.0, line.screen - metrics.descent() - 1.0),
                         QString::fromStdString(line.label));
    }
    for (const GridLine& line : grid.meridians) {
        const QString label = QString::fromStdString(line.label);
        if (line.screen + 3.0 + metrics.horizontalAdvance(label) > view.width)
            continue;
        painter.drawText(QPointF(line.screen + 3.0, metrics.ascent() + 2.0), label);
    }
}

// The image a painter draws into, when pixels may be written into it
// directly: a raster image of 32-bit pixels, painted without any transform.
QImage* DirectTarget(QPainter& painter)
{
    QPaintDevice* device = painter.device();
    if (device == nullptr || device->devType() != QInternal::Image ||
        !painter.deviceTransform().isIdentity())
        return nullptr;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format format = image->format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        return nullptr;
    return image;
}

void PaintTrackLine(QPainter& painter, const TrackScene& scene, const TrackPaintOptions& options)
{
    if (scene.World().size() < 2)
        return;
    TrackRuns runs;
    runs.Build(scene, options);
    // Steps nearest to calm first, so that the strongest loads lie on top.
    const int calm = scene.Scale(options.colouring).CalmStep();
    std::array<int, kColourSteps> order{};
    for (int s = 0; s < kColourSteps; ++s)
        order[static_cast<std::size_t>(s)] = s;
    std::stable_sort(order.begin(), order.end(),
                     [calm](int x, int y) { return std::abs(x - calm) < std::abs(y - calm); });
    const bool crowded = runs.StrongLength() > kCrowdedTrackPixels ||
                         runs.Length() > kCrowdedTrackPixels * kCrowdedFaintFactor;
    QImage* direct = crowded ? DirectTarget(painter) : nullptr;
    const double strongWidth = crowded ? kFaintPenWidth : kStrongPenWidth;
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const bool strong : {false, true}) {
        for (const bool dashed : {false, true}) {
            for (const int step : order) {
                if (direct) {
                    runs.DrawPixels(*direct, options.view.width, options.view.height,
                                    KindOf(strong, dashed, step),
                                    (strong ? StepColour(step) : FaintColour(step)).rgb(), dashed);
                    continue;
                }
                QPen pen(strong ? StepColour(step) : FaintColour(step),
                         strong ? strongWidth : kFaintPenWidth);
                pen.setCapStyle(Qt::RoundCap);
                pen.setJoinStyle(Qt::BevelJoin);
                if (dashed)
                    pen.setDashPattern({2.0, 2.5});
                runs.Draw(painter, KindOf(strong, dashed, step), pen);
            }
        }
    }
}

void PaintLabel(QPainter& painter, const QFontMetricsF& metrics, QPointF at, const QString& text,
                const QColor& colour)
{
    const QRectF box(at.x(), at.y() - metrics.ascent(), metrics.horizontalAdvance(text),
                     metrics.height());
    painter.fillRect(box.adjusted(-2.0, -1.0, 2.0, 1.0), QColor(255, 255, 255, 190));
    painter.setPen(colour);
    painter.drawText(at, text);
}

void PaintMarks(QPainter& painter, const TrackScene& scene, const MapView& view,
                const QFontMetricsF& metrics)
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    const TrackData& data = scene.Data();
    const auto diamond = [&](QPointF c, double r) {
        const QPointF corners[4] = {
            {c.x(), c.y() - r}, {c.x() + r, c.y()}, {c.x(), c.y() + r}, {c.x() - r, c.y()}};
        painter.drawPolygon(corners, 4);
    };
    painter.setPen(QPen(Qt::white, 1.0));
    painter.setBrush(kEventColour);
    for (const double timeMs : data.eventTimesMs)
        if (const auto at = scene.PositionAt(timeMs))
            diamond(ToQt(view.ToScreen(*at)), 5.0);
    painter.setBrush(kExceedanceColour);
    for (const double timeMs : data.exceedanceTimesMs) {
        if (const auto at = scene.PositionAt(timeMs)) {
            const QPointF c = ToQt(view.ToScreen(*at));
            const QPointF corners[3] = {
                {c.x(), c.y() - 7.0}, {c.x() + 6.5, c.y() + 4.5}, {c.x() - 6.5, c.y() + 4.5}};
            painter.drawPolygon(corners, 3);
        }
    }
    const auto endPoint = [&](int index, const QColor& fill, const QString& text, bool round) {
        if (index < 0 || static_cast<std::size_t>(index) >= scene.World().size())
            return;
        const QPointF c = ToQt(view.ToScreen(scene.World()[static_cast<std::size_t>(index)]));
        painter.setPen(QPen(kMarkOutline, 2.0));
        painter.setBrush(fill);
        if (round)
            painter.drawEllipse(c, 5.5, 5.5);
        else
            painter.drawRect(QRectF(c.x() - 5.0, c.y() - 5.0, 10.0, 10.0));
        // Right of the mark, or left of it where the label would leave the map.
        const double textWidth = metrics.horizontalAdvance(text);
        const double x =
            c.x() + 10.0 + textWidth + 2.0 <= view.width ? c.x() + 10.0 : c.x() - 10.0 - textWidth;
        PaintLabel(painter, metrics, QPointF(x, c.y() + metrics.ascent() / 2.0 - 1.0), text,
                   kMarkOutline);
    };
    endPoint(data.takeOffIndex, kTakeOffColour, QStringLiteral("Start"), true);
    endPoint(data.landingIndex, kLandingColour, QStringLiteral("Landung"), false);
    painter.setBrush(Qt::NoBrush);
}

void PaintScaleBar(QPainter& painter, const QRectF& bar, const ScaleBar& scale,
                   const QFontMetricsF& metrics)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QString label = QString::fromStdString(scale.label);
    painter.fillRect(QRectF(bar.left() - 3.0, bar.top() - metrics.height() - 3.0,
                            std::max(bar.width(), metrics.horizontalAdvance(label)) + 6.0,
                            bar.height() + metrics.height() + 6.0),
                     QColor(255, 255, 255, 170));
    const double half = bar.width() / 2.0;
    painter.fillRect(QRectF(bar.left(), bar.top(), half, bar.height()), QColor(40, 40, 40));
    painter.fillRect(QRectF(bar.left() + half, bar.top(), bar.width() - half, bar.height()),
                     Qt::white);
    painter.setPen(QPen(QColor(40, 40, 40), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar);
    painter.drawText(QPointF(bar.left(), bar.top() - metrics.descent() - 2.0), label);
}

void PaintNorthArrow(QPainter& painter, double width, const QFontMetricsF& metrics)
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double x = width - kEdge - 10.0;
    const double top = kEdge + metrics.height() + 2.0;
    const QPointF left[3] = {{x, top}, {x - 8.0, top + 26.0}, {x, top + 19.0}};
    const QPointF right[3] = {{x, top}, {x + 8.0, top + 26.0}, {x, top + 19.0}};
    painter.setPen(QPen(QColor(40, 40, 40), 1.0));
    painter.setBrush(QColor(40, 40, 40));
    painter.drawPolygon(left, 3);
    painter.setBrush(Qt::white);
    painter.drawPolygon(right, 3);
    painter.setBrush(Qt::NoBrush);
    const QString north = QStringLiteral("N");
    painter.drawText(QPointF(x - metrics.horizontalAdvance(north) / 2.0, kEdge + metrics.ascent()),
                     north);
}

QString LegendNumber(double value)
{
    // Whole numbers only, so that no decimal separator is needed.
    return QString::number(static_cast<long long>(std::llround(value)));
}

void PaintLegend(QPainter& painter, const TrackMapLayout& layout, const ColourScale& scale,
                 const QFontMetricsF& metrics)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(layout.legendBox, QColor(255, 255, 255, 200));
    const QRectF& bar = layout.legendBar;
    const double stepWidth = bar.width() / kColourSteps;
    for (int s = 0; s < kColourSteps; ++s)
        painter.fillRect(QRectF(bar.left() + s * stepWidth, bar.top(), stepWidth, bar.height()),
                         StepColour(s));
    painter.setPen(QColor(40, 40, 40));
    const double span = scale.high - scale.low;
    if (!(span > 0.0))
        return;
    const double textY = bar.bottom() + 3.0 + metrics.ascent();
    for (double v = scale.low; v <= scale.high + 1e-9; v += scale.labelStep) {
        const double x = bar.left() + (v - scale.low) / span * bar.width();
        painter.drawLine(QLineF(x, bar.bottom(), x, bar.bottom() + 2.0));
        const QString text = LegendNumber(v);
        painter.drawText(QPointF(x - metrics.horizontalAdvance(text) / 2.0, textY), text);
    }
    painter.drawText(QPointF(bar.right() + 8.0, bar.bottom()), scale.unit);
}

}  // namespace

QColor FaintColour(int step)
{
    return Blend(StepColour(step), kMapBackground, kFaintShare);
}

TrackMapLayout LayoutTrackMap(double width, double height, const QFontMetricsF& metrics,
                              double scaleBarPixels)
{
    TrackMapLayout layout;
    const double unitWidth = metrics.horizontalAdvance(QStringLiteral("km/h")) + 8.0;
    const double boxWidth = kLegendPadding * 2.0 + kLegendBarWidth + unitWidth + 6.0;
    const double boxHeight = kLegendPadding * 2.0 + kLegendBarHeight + 3.0 + metrics.height();
    layout.legendBox =
        QRectF(width - kEdge - boxWidth, height - kEdge - boxHeight, boxWidth, boxHeight);
    layout.legendBar =
        QRectF(layout.legendBox.left() + kLegendPadding + 6.0,
               layout.legendBox.top() + kLegendPadding, kLegendBarWidth, kLegendBarHeight);
    layout.scaleBar = QRectF(kEdge + 3.0, height - kEdge - 3.0 - 6.0, scaleBarPixels, 6.0);
    return layout;
}

void PaintTrackMap(QPainter& painter, const TrackScene& scene, const TrackPaintOptions& options)
{
    const MapView& view = options.view;
    const QRectF area(0.0, 0.0, view.width, view.height);
    painter.save();
    painter.setClipRect(area);
    painter.fillRect(area, kMapBackground);
    const QFontMetricsF metrics(painter.font());
    const bool withTiles = options.tiles != nullptr && options.tiles->Enabled() && !scene.Empty();
    const int tilesDrawn =
        withTiles ? PaintTiles(painter, view, *options.tiles, kMapBackground) : 0;
    PaintGrid(painter, view, metrics);
    if (scene.Empty()) {
        painter.setPen(QColor(120, 118, 110));
        painter.drawText(area, Qt::AlignCenter, QStringLiteral("Keine GPS-Positionen"));
        painter.restore();
        return;
    }
    PaintTrackLine(painter, scene, options);
    PaintMarks(painter, scene, view, metrics);
    const ScaleBar scale = ScaleBarFor(
        view, scene.MiddleLatitude(), std::min(kScaleBarMaxPixels, view.width * kScaleBarMaxShare));
    // The attribution takes the bottom edge while a tile shows; the legend
    // and the scale bar sit above it.
    const QString attribution = tilesDrawn > 0 ? options.attribution : QString();
    const double below = AttributionBox(painter, view.width, view.height, attribution).height();
    const TrackMapLayout layout =
        LayoutTrackMap(view.width, view.height - below, metrics, scale.pixels);
    PaintScaleBar(painter, layout.scaleBar, scale, metrics);
    PaintNorthArrow(painter, view.width, metrics);
    PaintLegend(painter, layout, scene.Scale(options.colouring), metrics);
    PaintAttribution(painter, view.width, view.height, attribution);
    painter.restore();
}

void PaintMarkerDot(QPainter& painter, PixelPoint at)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor(60, 30, 0), 1.5));
    painter.setBrush(kMarkerDotColour);
    painter.drawEllipse(ToQt(at), kMarkerDotRadius, kMarkerDotRadius);
    painter.restore();
}

QRect MarkerDotRect(PixelPoint at)
{
    const double reach = kMarkerDotRadius + 3.0;
    // Far outside any window the rectangle only has to stay outside it.
    at = {std::clamp(at.x, -1.0e6, 1.0e6), std::clamp(at.y, -1.0e6, 1.0e6)};
    const int left = static_cast<int>(std::floor(at.x - reach));
    const int top = static_cast<int>(std::floor(at.y - reach));
    const int right = static_cast<int>(std::ceil(at.x + reach));
    const int bottom = static_cast<int>(std::ceil(at.y + reach));
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace veltrin
