// The plot on its own: callback, data, marker, events and curves, checked on the
// pixels of the rendered bitmap.
#include "graph/graph_plot.h"
#include "graph/graph_constants.h"
#include "graph/graph_pane.h"
#include "graph/x_label_row.h"
#include "graph_test_data.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace veltrin {
namespace {

using testing_data::Noise;
using testing_data::TestTable;

const QColor kRed{255, 0, 0};
const QColor kBlue{0, 0, 255};
const QColor kGreen{0, 160, 0};

int CountColour(const QImage& image, const QColor& colour, const QRect& within = QRect())
{
    const QRect r = within.isNull() ? image.rect() : within;
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += image.pixelColor(x, y) == colour ? 1 : 0;
    return n;
}

int CountDark(const QImage& image, const QRect& r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += image.pixelColor(x, y).lightness() < 128 ? 1 : 0;
    return n;
}

int CountInColumn(const QImage& image, int x, const QColor& colour)
{
    return CountColour(image, colour, QRect(x, 0, 1, image.height()));
}

GraphSettings Sized(int width, int height)
{
    GraphSettings s;
    s.width = width;
    s.height = height;
    return s;
}

struct Counter {
    int calls = 0;
    static void Count(void* self, CGraphPlot&) { ++static_cast<Counter*>(self)->calls; }
};

TEST(GraphPlot, CallbackOncePerApplyWithReentryGuard)
{
    struct Reentrant {
        int calls = 0;
        static void OnView(void* data, CGraphPlot& plot)
        {
            auto* self = static_cast<Reentrant*>(data);
            ++self->calls;
            plot.ApplySettings(plot.GetSettings());  // must not recurse
        }
    } reentrant;
    CGraphPlot plot;
    plot.SetViewChangedCallback(&Reentrant::OnView, &reentrant);
    plot.ApplySettings(Sized(200, 100));
    plot.ApplySettings(Sized(200, 100));
    EXPECT_EQ(reentrant.calls, 2);

    // A resize of the window applies its settings again, and so reports once.
    CGraphPane pane;
    pane.resize(300, 200);
    pane.show();
    Counter counter;
    pane.Plot().SetViewChangedCallback(&Counter::Count, &counter);
    pane.resize(420, 260);
    EXPECT_EQ(counter.calls, 1);
    EXPECT_EQ(pane.Plot().GetBitmap().size(), QSize(420, 260));
}

TEST(GraphPlot, SetMarkerRowOutsideHidesButKeepsTheTime)
{
    const TestTable t(10, 1000, 1, [](int, int) { return 0.0; });
    CGraphPlot plot;
    plot.SetData(t.rows, t.Data());
    plot.SetMarkerRow(4);
    EXPECT_TRUE(plot.MarkerShown());
    EXPECT_EQ(plot.MarkerTime(), 4000.0);
    plot.SetMarkerRow(-1);
    EXPECT_FALSE(plot.MarkerShown());
    EXPECT_EQ(plot.MarkerTime(), 4000.0);
    plot.SetMarkerRow(10);
    EXPECT_FALSE(plot.MarkerShown());
}

// A time scale of 0, below 0 or NaN divided by zero in every conversion.
TEST(GraphPlot, RegressionTimeScaleOfZeroOrBelowDividedByZero)
{
    const TestTable t(601, 1000, 1, [](int, int) { return 0.0; });
    for (const double scale : {0.0, -60.0, std::nan("")}) {
        SCOPED_TRACE(scale);
        CGraphPlot plot;
        plot.SetData(t.rows, t.Data());
        GraphSettings s = Sized(200, 100);
        s.timeScale = scale;
        plot.ApplySettings(s);
        EXPECT_EQ(plot.GetSettings().timeScale, 1.0);
        EXPECT_EQ(plot.RowAtX(30.5), 30);
    }
}

TEST(GraphPlot, RowAtXConvertsThroughTheTimeScale)
{
    const TestTable t(601, 1000, 1, [](int, int) { return 0.0; });
    CGraphPlot plot;
    plot.SetData(t.rows, t.Data());
    GraphSettings s = Sized(200, 100);
    s.timeScale = 60.0;  // minutes
    s.xMax = 10;
    plot.ApplySettings(s);
    EXPECT_EQ(plot.RowAtX(0.5), 30);
    EXPECT_EQ(plot.RowAtX(10.5), -1);
    EXPECT_EQ(plot.RowAtX(-0.001), -1);
    double first = 1, last = 0;
    plot.GetDataTimeRange(first, last);
    EXPECT_EQ(first, 0.0);
    EXPECT_EQ(last, 10.0);
}

TEST(GraphPlot, EventsAndMarkerAtTheEdgesAreDrawn)
{
    CGraphPlot plot;
    GraphSettings s = Sized(400, 300);
    s.showGrid = false;
    plot.ApplySettings(s);  // 0..60 s, no data
    const double atEdges[] = {0.0, 60000.0};
    plot.SetEvents(2, atEdges);
    plot.SetMarkerTime(60000.0);
    const QImage edges = plot.GetBitmap().copy();
    const AxisMapping& m = plot.Mapping();
    const int area = m.area.Height();
    EXPECT_GE(CountInColumn(edges, m.PixelX(0), kRed), area);
    EXPECT_GE(CountInColumn(edges, m.PixelX(60), graph_constants::kMarkerColour), area);

    const double outside[] = {-1.0, 60001.0};
    plot.SetEvents(2, outside);
    plot.SetMarkerTime(-1.0);
    const QImage none = plot.GetBitmap();
    EXPECT_EQ(CountColour(none, kRed), 0);
    EXPECT_EQ(CountColour(none, graph_constants::kMarkerColour), 0);
}

TEST(GraphPlot, RenderedAxesCurveAndBackground)
{
    const TestTable t(61, 1000, 1, [](int, int) { return 5.0; });  // flat at 5 g
    CGraphPlot plot;
    plot.SetData(t.rows, t.Data());
    plot.AddSeries({0, kRed, true, "Acceleration", "Acceleration", false});
    plot.ApplySettings(Sized(400, 300));
    const QImage image = plot.GetBitmap();
    const AxisMapping& m = plot.Mapping();
    EXPECT_EQ(plot.FontTenths(), 70);  // diagonal 500 px
    EXPECT_EQ(image.pixelColor(image.width() - 1, image.height() - 1), QColor(255, 255, 255));
    // The x axis runs along the bottom of the area, the y axis along its left.
    EXPECT_EQ(image.pixelColor((m.area.left + m.area.right) / 2 + 1, m.PixelY(-10)),
              QColor(192, 192, 192));
    EXPECT_EQ(image.pixelColor(m.PixelX(0), (m.area.top + m.area.bottom) / 2 + 1),
              QColor(192, 192, 192));
    // The curve lies on top of the grid line at 5, over the whole width.
    const int y5 = m.PixelY(5);
    EXPECT_GE(CountColour(image, kRed, QRect(m.area.left, y5, m.area.Width(), 1)),
              m.area.Width() - 1);
    // Labels and title are drawn in the text colour, left of the area.
    GraphSettings titled = plot.GetSettings();
    titled.yTitle = QStringLiteral("   g");
    plot.ApplySettings(titled);
    const QImage withTitle = plot.GetBitmap();
    EXPECT_GT(plot.Measures().yLabelWidth, 0);
    EXPECT_GT(CountDark(withTitle, QRect(0, 0, plot.Mapping().area.left, 300)), 20);
}

TEST(GraphPlot, RegressionCurveOnTheAxesHiddenByTheClip)
{
    // A speed of 0 on the ground lies on the x axis; the flight ends on xMax.
    const TestTable ground(61, 1000, 1, [](int, int) { return 0.0; });
    for (bool reduced : {true, false}) {
        CGraphPlot plot;
        plot.SetData(ground.rows, ground.Data());
        plot.AddSeries({0, kRed, true, "Speed", "Speed", false});
        GraphSettings s = Sized(500, 240);
        s.yMin = 0;
        s.yMax = 300;
        s.yMajorStep = 50;
        s.yMinorStep = 20;
        plot.ApplySettings(s);
        plot.SetCurveReduction(reduced);
        const QImage image = plot.GetBitmap();
        const AxisMapping& m = plot.Mapping();
        ASSERT_EQ(m.PixelY(0), m.area.bottom);
        ASSERT_EQ(m.PixelX(60), m.area.right);
        const QRect axisRow(m.area.left, m.area.bottom, m.area.Width() + 1, 1);
        EXPECT_EQ(CountColour(image, kRed, axisRow), m.area.Width() + 1) << reduced;
        // Nothing of it below the axis.
        EXPECT_EQ(
            CountColour(image, kRed, QRect(0, m.area.bottom + 1, 500, 240 - m.area.bottom - 1)), 0);
    }
}

TEST(GraphPlot, XLabelsHangBelowTheTicksInsideTheirRow)
{
    for (const QSize size : {QSize(400, 300), QSize(1200, 400)}) {
        CGraphPlot plot;
        GraphSettings s = Sized(size.width(), size.height());
        s.showGrid = false;
        s.xTitle = QStringLiteral("s");
        plot.ApplySettings(s);
        const QImage image = plot.GetBitmap();
        const AxisMapping& m = plot.Mapping();
        const LabelMeasures& lm = plot.Measures();
        const int rowTop = m.area.bottom + static_cast<int>(1.5 * lm.h2);
        const int width = size.width();
        // No text between the axis and the top of the label row (the ticks are light;
        // the lowest y label, left of the area, reaches below the axis).
        const QRect gap(m.area.left, m.area.bottom + 1, width - m.area.left,
                        rowTop - m.area.bottom - 1);
        EXPECT_EQ(CountDark(image, gap), 0) << size.width();
        EXPECT_GT(CountDark(image, QRect(m.area.left, rowTop, m.area.Width(), lm.labelHeight)), 20);
        // The row reserved below the axis holds the whole label.
        EXPECT_EQ(rowTop + lm.labelHeight, size.height());
    }
}

// A 520 s start as the program shows it: a label every 50 s and the title "s".
struct StartRender {
    QImage image;
    XLabelRow row;  // the layout the plot drew, measured in its own font
    int rowTop = 0;

    StartRender(const QString& title, const QString& format)
    {
        CGraphPlot plot;
        GraphSettings s = Sized(700, 300);
        s.showGrid = false;
        s.xMax = 520;
        s.xMinorStep = s.xMajorStep = 50;
        s.xTitle = title;
        s.xLabelFormat = format;
        plot.ApplySettings(s);
        image = plot.GetBitmap().copy();
        QFont font(s.fontFace);
        font.setPointSizeF(plot.FontTenths() / 10.0);
        const QFontMetrics fm(font, &image);
        row = LayoutXLabelRow(plot.Mapping(), plot.GetSettings(),
                              [&fm](const QString& text) { return fm.horizontalAdvance(text); });
        rowTop = plot.Mapping().area.bottom + static_cast<int>(1.5 * plot.Measures().h2);
    }
};

TEST(GraphPlot, RegressionXTitlePaintedOverTheLastLabel)
{
    const StartRender titled(QStringLiteral("s"), QStringLiteral("%6.0f"));
    const StartRender untitled(QString(), QStringLiteral("%6.0f"));
    const StartRender titleOnly(QStringLiteral("s"), QString());  // labels print nothing
    ASSERT_EQ(untitled.row.labels.size(), 11u);
    ASSERT_EQ(titled.row.labels.size(), 10u);
    const XLabel& last = untitled.row.labels.back();
    ASSERT_EQ(last.text, QStringLiteral("500"));
    ASSERT_EQ(titled.row.labels.back().text, QStringLiteral("450"));
    // The columns of "500" and of the title; the label reached under the title.
    const int left = std::min(last.x - last.width / 2 - 1, titled.row.titleLeft);
    const int right = std::max(last.x - last.width / 2 + last.width + 1, titled.row.titleRight);
    ASSERT_LT(titled.row.titleLeft, last.x + last.width / 2);
    int differing = 0;
    for (int y = titled.rowTop; y < titled.image.height(); ++y) {
        for (int x = 0; x < titled.image.width(); ++x) {
            const QRgb got = titled.image.pixel(x, y);
            // There only the title shows; everywhere else the labels as without one.
            const QImage& want = x >= left && x < right ? titleOnly.image : untitled.image;
            differing += got != want.pixel(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(CountDark(titled.image, QRect(titled.row.titleLeft, titled.rowTop,
                                            titled.row.titleRight - titled.row.titleLeft,
                                            titled.image.height() - titled.rowTop)),
              3);
}

TEST(GraphPlot, HiddenSeriesSkippedInvalidColumnEndsDrawing)
{
    const TestTable t(61, 1000, 2, [](int, int c) { return c == 0 ? 5.0 : -5.0; });
    CGraphPlot plot;
    plot.SetData(t.rows, t.Data());
    plot.ApplySettings(Sized(400, 300));
    plot.AddSeries({0, kBlue, false, "a", "a", false});
    plot.AddSeries({1, kGreen, true, "b", "b", false});
    EXPECT_EQ(CountColour(plot.GetBitmap(), kBlue), 0);
    EXPECT_GT(CountColour(plot.GetBitmap(), kGreen), 300);

    plot.RemoveAllSeries();
    plot.AddSeries({0, kBlue, true, "a", "a", false});
    plot.AddSeries({2, kRed, true, "bad", "bad", false});  // the table has columns 0 and 1
    plot.AddSeries({1, kGreen, true, "b", "b", false});
    EXPECT_GT(CountColour(plot.GetBitmap(), kBlue), 300);
    EXPECT_EQ(CountColour(plot.GetBitmap(), kGreen), 0);

    plot.RemoveSeries(2);
    EXPECT_EQ(plot.SeriesCount(), 2);
    EXPECT_GT(CountColour(plot.GetBitmap(), kGreen), 300);
}

TEST(GraphPlot, TooSmallWindowShowsOnlyItsBackground)
{
    const TestTable t(61, 1000, 1, [](int r, int) { return r; });
    CGraphPlot plot;
    plot.SetData(t.rows, t.Data());
    plot.AddSeries({0, kRed, true, "a", "a", false});
    plot.ApplySettings(Sized(30, 12));
    EXPECT_EQ(CountColour(plot.GetBitmap(), kRed), 0);
    EXPECT_EQ(plot.GetBitmap().pixelColor(0, 0), QColor(255, 255, 255));
}

// Curve pixels drawn both ways; the reduced polyline may differ in at most
// 0.1 % of the curve's pixels.
void ExpectReducedMatchesFull(const TestTable& t, double xMin, double xMax, double yMin,
                              double yMax)
{
    CGraphPlot plot;
    plot.SetData(t.rows, t.Data());
    plot.AddSeries({0, kRed, true, "a", "a", false});
    GraphSettings s = Sized(1600, 400);
    s.xMin = xMin;
    s.xMax = xMax;
    s.yMin = yMin;
    s.yMax = yMax;
    s.showGrid = false;
    plot.ApplySettings(s);
    plot.SetCurveReduction(false);
    const QImage full = plot.GetBitmap().copy();
    plot.SetCurveReduction(true);
    const QImage reduced = plot.GetBitmap();
    int curve = 0;
    int differing = 0;
    for (int y = 0; y < full.height(); ++y)
        for (int x = 0; x < full.width(); ++x) {
            const bool a = full.pixelColor(x, y) == kRed;
            const bool b = reduced.pixelColor(x, y) == kRed;
            curve += a ? 1 : 0;
            differing += a != b ? 1 : 0;
        }
    ASSERT_GT(curve, 1000);
    EXPECT_LE(differing * 1000, curve) << differing << " of " << curve;
}

TEST(CurveReduction, DrawsTheSamePixelsAsEveryRow)
{
    std::uint32_t seed = 7;
    // Many rows per pixel column, with noise and spikes beyond the y range.
    const TestTable dense(300000, 10, 1, [&seed](int r, int) {
        const double spike = r % 50000 == 25000 ? 40.0 : 0.0;
        return 6.0 * std::sin(r * 0.0002) + 2.0 * Noise(seed) + spike;
    });
    ExpectReducedMatchesFull(dense, 0, 3000, -10, 10);       // all of it
    ExpectReducedMatchesFull(dense, 1234.5, 1294.5, -8, 9);  // zoomed into the middle
    // Fewer rows than pixel columns, steep steps.
    const TestTable sparse(700, 1000, 1, [&seed](int, int) { return 9.0 * Noise(seed); });
    ExpectReducedMatchesFull(sparse, 0, 700, -10, 10);
    ExpectReducedMatchesFull(sparse, 100, 400, -10, 10);
}

}  // namespace
}  // namespace veltrin
