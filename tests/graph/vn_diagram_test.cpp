// The V-n diagram: the envelope from the limits, which points count as beyond
// it and how they are coloured, the density of many points, picking the point
// nearest to a click, and the widget's marker.
#include "graph/point_density.h"
#include "graph/vn_diagram_painter.h"
#include "graph/vn_diagram_widget.h"
#include "graph/vn_envelope.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace veltrin {
namespace {

constexpr VnEnvelope kLimits{-3.5, 5.5, 250.0};

enum class Shade { None, Normal, Red, Marker };

Shade ShadeOf(QRgb pixel)
{
    const int r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
    // The marker is orange; a red dot's green and blue stay alike at every shade.
    if (r > 200 && g > 90 && g < 170 && b < 60)
        return Shade::Marker;
    if (r > 180 && g < 150 && std::abs(g - b) < 20)
        return Shade::Red;
    if (b > 150 && r < 150 && g < 170)
        return Shade::Normal;
    return Shade::None;
}

// What is painted within two pixels of a point: the shades found there.
struct Around {
    bool normal = false, red = false, marker = false;
};

Around ShadesAround(const QImage& image, QPointF at, int reach = 2)
{
    Around found;
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            const QPoint p(static_cast<int>(std::floor(at.x())) + dx,
                           static_cast<int>(std::floor(at.y())) + dy);
            if (!image.rect().contains(p))
                continue;
            switch (ShadeOf(image.pixel(p))) {
            case Shade::Normal: found.normal = true; break;
            case Shade::Red: found.red = true; break;
            case Shade::Marker: found.marker = true; break;
            case Shade::None: break;
            }
        }
    }
    return found;
}

// The diagram painted into a 640 x 480 image, with its layout.
struct Painted {
    QImage image;
    VnDiagramLayout layout;
};

Painted Paint(const VnDiagramData& data, QSize size = QSize(640, 480))
{
    Painted painted{QImage(size, QImage::Format_RGB32), {}};
    painted.image.fill(Qt::black);
    QPainter painter(&painted.image);
    const QRectF rect(QPointF(0, 0), QSizeF(size));
    PaintVnDiagram(painter, rect, data);
    painted.layout = LayoutVnDiagram(rect, QFontMetricsF(painter.font()), data);
    return painted;
}

TEST(VnEnvelope, OutlineRunsFromZeroSpeedAlongBothLimitsToTheSpeedLimit)
{
    const auto outline = EnvelopeOutline(kLimits);
    EXPECT_EQ(outline[0], QPointF(0.0, -3.5));
    EXPECT_EQ(outline[1], QPointF(0.0, 5.5));
    EXPECT_EQ(outline[2], QPointF(250.0, 5.5));
    EXPECT_EQ(outline[3], QPointF(250.0, -3.5));
}

TEST(VnEnvelope, AValueEqualToALimitIsInside)
{
    struct Case {
        double ias, accZ;
        bool beyond;
    };
    const Case cases[] = {
        {100.0, 5.5, false}, {100.0, 5.51, true},  {100.0, -3.5, false}, {100.0, -3.51, true},
        {250.0, 1.0, false}, {250.1, 1.0, true},   {0.0, 0.0, false},    {-5.0, 1.0, false},
        {250.0, 5.5, false}, {250.0, -3.5, false}, {300.0, 9.0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ias << " km/h, " << c.accZ << " g");
        EXPECT_EQ(IsBeyondEnvelope(c.ias, c.accZ, kLimits), c.beyond);
    }
}

TEST(VnDiagramPainter, DrawsTheEnvelopeOutlineOnlyWithLimits)
{
    VnDiagramData data;
    data.envelope = kLimits;
    const Painted with = Paint(data);
    data.envelope.reset();
    const Painted without = Paint(data);
    const auto isOutline = [](QRgb p) {
        return qGreen(p) > 90 && qRed(p) < 60 && qBlue(p) < 60;
    };
    // Along each edge of the outline, away from the grid's lines.
    const std::vector<QPointF> edges = {{0.0, 1.3}, {125.0, 5.5}, {250.0, 1.3}, {125.0, -3.5}};
    for (const QPointF& edge : edges) {
        SCOPED_TRACE(testing::Message() << edge.x() << ", " << edge.y());
        const QPointF at = with.layout.ToScreen(edge.x(), edge.y());
        bool found = false;
        for (int d = -2; d <= 2; ++d) {
            const QPoint p = edge.x() == 125.0 ? QPoint(int(at.x()), int(at.y()) + d)
                                               : QPoint(int(at.x()) + d, int(at.y()));
            found = found || isOutline(with.image.pixel(p));
            EXPECT_FALSE(isOutline(without.image.pixel(p)));
        }
        EXPECT_TRUE(found);
    }
}

TEST(VnDiagramPainter, AxesHoldThePointsAndTheEnvelope)
{
    const std::vector<VnPoint> points = {{310.0, 1.0}, {80.0, -6.2}, {120.0, 7.9}};
    VnDiagramData data;
    data.points = points;
    data.envelope = kLimits;
    const VnAxes axes = VnAxesFor(data);
    EXPECT_EQ(axes.ias.min, 0.0);
    EXPECT_GE(axes.ias.max, 310.0);
    EXPECT_LE(axes.accZ.min, -6.2);
    EXPECT_GE(axes.accZ.max, 7.9);

    // Without anything: zero speed and -1 g to 2 g at least.
    const VnAxes empty = VnAxesFor({});
    EXPECT_EQ(empty.ias.min, 0.0);
    EXPECT_GT(empty.ias.max, 0.0);
    EXPECT_LE(empty.accZ.min, -1.0);
    EXPECT_GE(empty.accZ.max, 2.0);
    EXPECT_GT(empty.accZ.step, 0.0);
}

TEST(VnDiagramPainter, PointsOnTheLimitsAreNormalAndBeyondThemRed)
{
    const std::vector<VnPoint> points = {
        {100.0, 5.5},   // on the positive limit
        {100.0, -3.5},  // on the negative limit
        {250.0, 1.0},   // on the speed limit
        {60.0, 6.5},    // above the positive limit
        {150.0, -4.5},  // below the negative limit
        {280.0, 1.0},   // faster than the speed limit
        {180.0, 2.0},   // well inside
    };
    const bool beyond[] = {false, false, false, true, true, true, false};
    VnDiagramData data;
    data.points = points;
    data.envelope = kLimits;
    const Painted painted = Paint(data);
    data.envelope.reset();
    const Painted noLimits = Paint(data);
    for (std::size_t i = 0; i < points.size(); ++i) {
        SCOPED_TRACE(testing::Message() << points[i].ias << " km/h, " << points[i].accZ << " g");
        const Around at =
            ShadesAround(painted.image, painted.layout.ToScreen(points[i].ias, points[i].accZ));
        EXPECT_EQ(at.red, beyond[i]);
        EXPECT_EQ(at.normal, !beyond[i]);
        // Without limits nothing is beyond.
        const Around plain =
            ShadesAround(noLimits.image, noLimits.layout.ToScreen(points[i].ias, points[i].accZ));
        EXPECT_FALSE(plain.red);
        EXPECT_TRUE(plain.normal);
    }
}

TEST(VnDiagramPainter, PaintsAlikeThroughAScaledPainter)
{
    // As a report paints it at print resolution: the rectangle in the
    // painter's units, three device pixels to each.
    const std::vector<VnPoint> points = {{100.0, 5.5}, {60.0, 6.5}, {280.0, 1.0}};
    const bool beyond[] = {false, true, true};
    VnDiagramData data;
    data.points = points;
    data.envelope = kLimits;
    QImage image(1920, 1440, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.scale(3.0, 3.0);
    const QRectF rect(0, 0, 640, 480);
    PaintVnDiagram(painter, rect, data);
    const VnDiagramLayout layout = LayoutVnDiagram(rect, QFontMetricsF(painter.font()), data);
    painter.end();
    for (std::size_t i = 0; i < points.size(); ++i) {
        SCOPED_TRACE(testing::Message() << points[i].ias << " km/h, " << points[i].accZ << " g");
        const Around at =
            ShadesAround(image, layout.ToScreen(points[i].ias, points[i].accZ) * 3.0, 4);
        EXPECT_EQ(at.red, beyond[i]);
        EXPECT_EQ(at.normal, !beyond[i]);
    }
}

TEST(VnDiagramPainter, MarkedPointIsHighlighted)
{
    const std::vector<VnPoint> points = {{80.0, 1.0}, {160.0, 3.0}};
    VnDiagramData data;
    data.points = points;
    data.markedPoint = 1;
    const Painted marked = Paint(data);
    const QPointF at = marked.layout.ToScreen(160.0, 3.0);
    const QPointF other = marked.layout.ToScreen(80.0, 1.0);
    // The ring and its cross hairs lie within twice the font's height.
    bool found = false;
    for (int d = 3; d < 30 && !found; ++d)
        found = ShadesAround(marked.image, at + QPointF(d, 0), 0).marker;
    EXPECT_TRUE(found);
    bool foundAtOther = false;
    for (int d = 3; d < 30; ++d)
        foundAtOther = foundAtOther || ShadesAround(marked.image, other + QPointF(d, 0), 0).marker;
    EXPECT_FALSE(foundAtOther);
}

TEST(VnDiagramPainter, DensityCellsKeepTheirClassAndALoneCellStillShows)
{
    PointDensity density;
    for (int i = 0; i < 1000; ++i)
        density.Add(120.0, 1.0, false);
    density.Add(90.0, 6.0, true);
    VnDiagramData data;
    data.density = &density;
    data.envelope = kLimits;
    const Painted painted = Paint(data);
    const Around inside = ShadesAround(painted.image, painted.layout.ToScreen(120.0, 1.0));
    EXPECT_TRUE(inside.normal);
    EXPECT_FALSE(inside.red);
    // A single point among a thousand still shows, in red.
    EXPECT_TRUE(ShadesAround(painted.image, painted.layout.ToScreen(90.0, 6.0)).red);
}

TEST(PointDensity, CountsExtremesAndMerges)
{
    PointDensity a;
    EXPECT_TRUE(a.Empty());
    EXPECT_EQ(a.InsideAt(0, 0), 0u);
    a.Add(100.0, 1.0, false);
    a.Add(100.1, 1.01, false);  // the same cell of 0.5 km/h x 0.025 g
    a.Add(300.0, -4.0, true);
    a.Add(std::numeric_limits<double>::quiet_NaN(), 1.0, false);  // left out
    EXPECT_EQ(a.Count(), 3u);
    EXPECT_EQ(a.MinIas(), 100.0);
    EXPECT_EQ(a.MaxIas(), 300.0);
    EXPECT_EQ(a.MinAccZ(), -4.0);
    EXPECT_EQ(a.MaxAccZ(), 1.01);
    EXPECT_EQ(a.InsideAt(200, 520), 2u);  // (100 - 0) / 0.5, (1 + 12) / 0.025
    EXPECT_EQ(a.BeyondAt(600, 320), 1u);
    EXPECT_EQ(a.InsideAt(600, 320), 0u);

    PointDensity b;
    b.Add(100.2, 1.0, false);
    b.Add(900.0, 30.0, true);  // beyond the grid: counted at its corner
    EXPECT_EQ(b.BeyondAt(999, 959), 1u);
    ASSERT_TRUE(a.Merge(b));
    EXPECT_EQ(a.Count(), 5u);
    EXPECT_EQ(a.InsideAt(200, 520), 3u);
    EXPECT_EQ(a.BeyondAt(999, 959), 1u);
    EXPECT_EQ(a.MaxIas(), 900.0);
    EXPECT_EQ(a.LastColumn(), 999);
    EXPECT_EQ(a.FirstColumn(), 200);

    PointDensity other(DensityGridShape{0.0, 100.0, 10, -1.0, 1.0, 10});
    other.Add(1.0, 0.0, false);
    EXPECT_FALSE(a.Merge(other));
    EXPECT_EQ(a.Count(), 5u);
}

TEST(NearestVnPoint, PicksTheNearestInScreenDistanceWithinTheRadius)
{
    // One g is many more pixels than one km/h: the point 3 km/h off is nearer
    // on the screen than the one 1 g off, though not in axis values.
    const std::vector<VnPoint> points = {{100.0, 3.0}, {103.0, 2.0}, {200.0, 2.0}};
    VnDiagramData data;
    data.points = points;
    const VnDiagramLayout layout =
        LayoutVnDiagram(QRectF(0, 0, 640, 480), QFontMetricsF(QFont()), data);
    ASSERT_GT((layout.ToScreen(0, 2) - layout.ToScreen(0, 3)).y(),
              (layout.ToScreen(103, 0) - layout.ToScreen(100, 0)).x());
    EXPECT_EQ(NearestVnPoint(points, layout, layout.ToScreen(100.0, 2.0), 50.0), 1);
    EXPECT_EQ(NearestVnPoint(points, layout, layout.ToScreen(199.0, 2.1), 12.0), 2);
    // Nothing within the radius.
    EXPECT_EQ(NearestVnPoint(points, layout, layout.ToScreen(150.0, -0.5), 12.0), -1);
    EXPECT_EQ(NearestVnPoint({}, layout, layout.ToScreen(100.0, 2.0), 12.0), -1);
}

TEST(VnDiagramWidget, AClickMarksTheNearestPointAndTellsWhich)
{
    VnDiagramWidget widget;
    widget.resize(640, 480);
    widget.show();
    widget.SetPoints({{80.0, 1.0}, {120.0, 2.0}, {160.0, 4.0}});
    QSignalSpy picked(&widget, &VnDiagramWidget::pointPicked);
    const QPointF at = widget.Layout().ToScreen(121.0, 2.05);
    QTest::mouseClick(&widget, Qt::LeftButton, {}, at.toPoint());
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.front().front().toInt(), 1);
    EXPECT_EQ(widget.MarkedPoint(), 1);

    // Far from every point nothing is picked and the mark stays.
    QTest::mouseClick(&widget, Qt::LeftButton, {}, widget.Layout().ToScreen(100.0, -0.8).toPoint());
    EXPECT_EQ(picked.count(), 1);
    EXPECT_EQ(widget.MarkedPoint(), 1);

    // New points clear the mark; an index outside them marks none.
    widget.SetMarkedPoint(7);
    EXPECT_EQ(widget.MarkedPoint(), -1);
    widget.SetMarkedPoint(2);
    widget.SetPoints({{90.0, 1.0}});
    EXPECT_EQ(widget.MarkedPoint(), -1);
}

}  // namespace
}  // namespace veltrin
