// Pictures of plots: the bitmap and the SVG document show the curves where the
// graph window shows them, one plot or several stacked, at window size or
// scaled to a chosen width.
#include "graph/graph_image.h"
#include "graph/graph_plot.h"
#include "graph_test_data.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace veltrin {
namespace {

using testing_data::TestTable;

const QColor kCurve{255, 0, 0};

// How much of the red curve a pixel shows: 1 for the curve's own colour, a
// share of it where a renderer smooths its edges over white, 0 for grey and black.
double CurveShare(QRgb pixel)
{
    const int excess = qRed(pixel) - std::max(qGreen(pixel), qBlue(pixel));
    return excess > 40 ? excess / 255.0 : 0.0;
}

// Where column `x` within [top, top + height) shows the curve: the middle of
// its pixels weighted by their share, counted from `top`; -1 when none does.
double CurveCentre(const QImage& image, int x, int top, int height)
{
    double weight = 0.0;
    double sum = 0.0;
    for (int y = top; y < top + height; ++y) {
        const double share = CurveShare(image.pixel(x, y));
        weight += share;
        sum += share * (y - top);
    }
    return weight > 0.0 ? sum / weight : -1.0;
}

int CountDark(const QImage& image, const QRect& r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    return n;
}

// A plot as a graph window shows it: axes, labels, grid and one curve that
// climbs from -8 to 8 over a minute.
struct ShownPlot {
    TestTable table{61, 1000, 1, [](int row, int) {
                        return -8.0 + row * (16.0 / 60.0);
                    }};
    CGraphPlot plot;

    ShownPlot(int width, int height)
    {
        plot.SetData(table.rows, table.Data());
        plot.AddSeries({0, kCurve, true, "g", "g", false});
        GraphSettings s;
        s.width = width;
        s.height = height;
        s.xMin = 0;
        s.xMax = 60;
        s.xMinorStep = 10;
        s.xMajorStep = 10;
        s.xTitle = QStringLiteral("s");
        s.yTitle = QStringLiteral("   g");
        plot.ApplySettings(s);
    }
    const QImage& Bitmap() { return plot.GetBitmap(); }
    QRect Area() { return plot.GetPlotArea(); }
};

// Every tenth column of `window`'s plot area shows the curve at the same
// height in the part of `picture` at `top` that `drawn` (a window of the
// part's size) lays out, within `slack` of the plot area's height.
void ExpectTheCurveTheWindowShows(ShownPlot& window, ShownPlot& drawn, const QImage& picture,
                                  int top, double slack)
{
    const QImage& bitmap = window.Bitmap();
    const QRect from = window.Area();
    const QRect to = drawn.Area();
    int compared = 0;
    for (int x = from.left() + 2; x < from.right() - 2; x += 10) {
        const double shown = CurveCentre(bitmap, x, 0, bitmap.height());
        ASSERT_GE(shown, 0.0) << "column " << x;
        const double u = static_cast<double>(x - from.left()) / from.width();
        const int column = to.left() + static_cast<int>(std::lround(u * to.width()));
        const double pictured = CurveCentre(picture, column, top, to.bottom() + 2);
        ASSERT_GE(pictured, 0.0) << "column " << x;
        EXPECT_NEAR((pictured - to.top()) / to.height(), (shown - from.top()) / from.height(),
                    slack)
            << "column " << x;
        ++compared;
    }
    EXPECT_GT(compared, 20);
}

TEST(StackedPlacement, PlotsLieOneBelowTheOtherScaledByTheWidestOne)
{
    struct Case {
        std::vector<QSize> sizes;
        std::optional<int> width;
        std::vector<QRect> placed;
    };
    const Case cases[] = {
        {{}, std::nullopt, {}},
        {{{900, 200}}, std::nullopt, {{0, 0, 900, 200}}},
        {{{900, 200}, {900, 250}, {900, 210}},
         std::nullopt,
         {{0, 0, 900, 200}, {0, 200, 900, 250}, {0, 450, 900, 210}}},
        {{{900, 200}, {900, 250}}, 1800, {{0, 0, 1800, 400}, {0, 400, 1800, 500}}},
        // Narrower windows keep their share of the width; odd factors round.
        {{{600, 101}, {900, 300}}, 450, {{0, 0, 300, 51}, {0, 51, 450, 150}}},
        {{{901, 333}}, 2000, {{0, 0, 2000, 739}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sizes.size());
        EXPECT_EQ(StackedPlacement(c.sizes, c.width), c.placed);
        QRect bounds;
        for (const QRect& r : c.placed)
            bounds = bounds.united(r);
        EXPECT_EQ(StackedImageSize(c.sizes, c.width), bounds.size());
    }
    // The widest plot is exactly as wide as asked, whatever the factor.
    for (int width = 100; width <= 8000; width += 97) {
        const std::vector<QSize> sizes{{877, 213}, {877, 190}};
        EXPECT_EQ(StackedImageSize(sizes, width).width(), width);
    }
}

TEST(StackedPlotImage, AtWindowSizeTheBitmapsAsShownOneBelowTheOther)
{
    ShownPlot upper(640, 180);
    ShownPlot lower(500, 220);
    CGraphPlot* const plots[] = {&upper.plot, &lower.plot};
    const QImage image = StackedPlotImage(plots);
    ASSERT_EQ(image.size(), QSize(640, 400));
    EXPECT_EQ(image.copy(0, 0, 640, 180), upper.Bitmap().convertToFormat(image.format()));
    EXPECT_EQ(image.copy(0, 180, 500, 220), lower.Bitmap().convertToFormat(image.format()));
    // Beside the narrower plot the picture is white.
    EXPECT_EQ(image.pixelColor(600, 300), QColor(Qt::white));

    CGraphPlot* const one[] = {&lower.plot};
    EXPECT_EQ(StackedPlotImage(one), lower.Bitmap().convertToFormat(QImage::Format_RGB32));
}

TEST(StackedPlotImage, AtAChosenWidthAsWindowsOfThatSizeWouldShowThem)
{
    for (const int width : {320, 800, 1280, 2240}) {
        SCOPED_TRACE(width);
        ShownPlot upper(640, 180);
        ShownPlot lower(640, 220);
        CGraphPlot* const plots[] = {&upper.plot, &lower.plot};
        const double factor = width / 640.0;
        const int upperHeight = static_cast<int>(std::lround(180 * factor));
        const int lowerHeight = static_cast<int>(std::lround(220 * factor));
        const QImage image = StackedPlotImage(plots, width);
        ASSERT_EQ(image.size(), QSize(width, upperHeight + lowerHeight));

        ShownPlot upperWindow(width, upperHeight);
        ShownPlot lowerWindow(width, lowerHeight);
        if (std::lround(factor) <= 1) {
            // Up to one and a half times the window's size lines stay one
            // pixel wide: the very pixels of such windows.
            EXPECT_EQ(image.copy(0, 0, width, upperHeight),
                      upperWindow.Bitmap().convertToFormat(image.format()));
            EXPECT_EQ(image.copy(0, upperHeight, width, lowerHeight),
                      lowerWindow.Bitmap().convertToFormat(image.format()));
        } else {
            // Thicker lines on the same layout: curves centred where such a
            // window draws them, labels as it draws them.
            const QRect area = upperWindow.Area();
            for (int x = area.left() + 2; x < area.right() - 2; x += 7) {
                EXPECT_NEAR(CurveCentre(image, x, 0, upperHeight),
                            CurveCentre(upperWindow.Bitmap(), x, 0, upperHeight), 1.0)
                    << "column " << x;
            }
            const QRect labels(0, 0, area.left(), upperHeight);
            const double dark = CountDark(upperWindow.Bitmap(), labels);
            ASSERT_GT(dark, 20);
            EXPECT_NEAR(CountDark(image, labels) / dark, 1.0, 0.1);
        }
        // The curve is the one the windows show, at the same place in the plot area.
        ExpectTheCurveTheWindowShows(upper, upperWindow, image, 0, 0.02);
        ExpectTheCurveTheWindowShows(lower, lowerWindow, image, upperHeight, 0.02);

        // Drawing anew leaves the windows' bitmaps and plot areas as they were.
        const QRect area = upper.Area();
        const QImage before = upper.Bitmap().copy();
        StackedPlotImage(plots, width);
        EXPECT_EQ(upper.Area(), area);
        EXPECT_EQ(upper.Bitmap(), before);
    }
}

TEST(StackedPlotImage, PlotsWithoutASizeAreLeftOut)
{
    CGraphPlot empty;  // never given settings: no bitmap
    ShownPlot shown(300, 150);
    CGraphPlot* const mixed[] = {&empty, nullptr, &shown.plot};
    EXPECT_EQ(StackedPlotImage(mixed).size(), QSize(300, 150));
    EXPECT_EQ(StackedPlotImage(mixed, 600).size(), QSize(600, 300));

    CGraphPlot* const none[] = {&empty};
    EXPECT_TRUE(StackedPlotImage(none).isNull());
    EXPECT_TRUE(StackedPlotImage({}).isNull());
    EXPECT_TRUE(StackedPlotSvg(none, QStringLiteral("x")).isEmpty());
}

TEST(StackedPlotSvg, WellFormedAndDrawsWhatTheWindowsShow)
{
    ShownPlot upper(640, 180);
    ShownPlot lower(640, 220);
    CGraphPlot* const plots[] = {&upper.plot, &lower.plot};
    const QByteArray svg = StackedPlotSvg(plots, QStringLiteral("Höhe & Fahrt"));
    ASSERT_FALSE(svg.isEmpty());
    // Sized in pixels, as the view box is, not in millimetres that every
    // viewer turns into a size of its own.
    EXPECT_TRUE(svg.contains("<svg width=\"640\" height=\"400\""));
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 640 400\""));
    EXPECT_TRUE(svg.contains("<title>H\xc3\xb6he &amp; Fahrt</title>"));

    if (std::filesystem::exists("/usr/bin/xmllint")) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString path = QDir(dir.path()).filePath(QStringLiteral("graphs.svg"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(svg);
        file.close();
        const std::string command = "/usr/bin/xmllint --noout '" + path.toStdString() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }

    // Drawn back at its size, the document shows the curves and labels where
    // the windows show them.
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.defaultSize(), QSize(640, 400));
    QImage drawn(640, 400, QImage::Format_RGB32);
    drawn.fill(Qt::black);
    {
        QPainter painter(&drawn);
        renderer.render(&painter);
    }
    EXPECT_EQ(drawn.pixelColor(639, 399), QColor(Qt::white));
    for (int x = upper.Area().left() + 2; x < upper.Area().right() - 2; x += 7) {
        EXPECT_NEAR(CurveCentre(drawn, x, 0, 180), CurveCentre(upper.Bitmap(), x, 0, 180), 1.0)
            << "column " << x;
        EXPECT_NEAR(CurveCentre(drawn, x, 180, 220), CurveCentre(lower.Bitmap(), x, 0, 220), 1.0)
            << "column " << x;
    }
    const QRect labels(0, 0, upper.Area().left(), 180);
    const double shown = CountDark(upper.Bitmap(), labels);
    ASSERT_GT(shown, 20);
    EXPECT_NEAR(CountDark(drawn, labels) / shown, 1.0, 0.5);

    // The lines are as sharp as on screen: the time axis fills one pixel row
    // in the axis colour, not two in a paler one.
    const QColor axis = upper.plot.GetSettings().axisColour;
    const auto axisPixels = [&axis](const QImage& image, int y) {
        int n = 0;
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == axis ? 1 : 0;
        return n;
    };
    int axisRow = 0;
    for (int y = 0; y < 180; ++y) {
        if (axisPixels(upper.Bitmap(), y) > axisPixels(upper.Bitmap(), axisRow))
            axisRow = y;
    }
    ASSERT_GT(axisPixels(upper.Bitmap(), axisRow), 400);
    EXPECT_GE(axisPixels(drawn, axisRow), axisPixels(upper.Bitmap(), axisRow) * 9 / 10);
}

}  // namespace
}  // namespace veltrin
