// Shared plot-area edges: the room a plot's labels need, the least room that
// lines graphs up with their neighbours, and what keeps or ignores it.
#include "graph/graph_pane.h"
#include "graph/graph_plot.h"
#include "graph/plot_layout.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace veltrin {
namespace {

// One way of labelling a graph's value axis, as the owners of graphs vary it.
struct Labels {
    const char* name;
    const char* format;
    const char* title;
    double yMin, yMax, yMajor;
    bool showX = true, showY = true;
};

const Labels kLabels[] = {
    {"load", "%6.1f", "   g", -10, 10, 5},
    {"speed", "%6.0f", "km/h", 0, 300, 50},
    {"altitude", "%6.0f", "   m", 0, 2000, 500},
    {"deep negative", "%8.2f", "m/s", -12000, -1000, 1000},
    {"no title", "%3.0f", "", 0, 9, 3},
    {"long title", "%6.0f", "Hoehe ueber Grund", 0, 15000, 5000},
    {"no x axis", "%6.1f", "   g", -10, 10, 5, false, true},
    {"no y axis", "%6.0f", "km/h", 0, 300, 50, true, false},
    {"no axes", "%6.0f", "   m", 0, 2000, 500, false, false},
};

GraphSettings Labelled(const Labels& l, int width, int height)
{
    GraphSettings s;
    s.width = width;
    s.height = height;
    s.xMin = 0;
    s.xMax = 520;
    s.xMinorStep = s.xMajorStep = 50;
    s.xTitle = QStringLiteral("s");
    s.yLabelFormat = QString::fromUtf8(l.format);
    s.yTitle = QString::fromUtf8(l.title);
    s.yMin = l.yMin;
    s.yMax = l.yMax;
    s.yMajorStep = s.yMinorStep = l.yMajor;
    s.showXAxis = l.showX;
    s.showYAxis = l.showY;
    return s;
}

// What an owner of stacked graphs does: each plot gets the widest room of all.
void ShareWidestRoom(std::array<CGraphPlot, 3>& plots)
{
    EdgeRoom widest;
    for (CGraphPlot& plot : plots) {
        const EdgeRoom natural = plot.NaturalRoom();
        widest.left = std::max(widest.left, natural.left);
        widest.right = std::max(widest.right, natural.right);
    }
    for (CGraphPlot& plot : plots) {
        GraphSettings s = plot.GetSettings();
        s.leastLeftRoom = widest.left;
        s.leastRightRoom = widest.right;
        plot.ApplySettings(s);
    }
}

TEST(PlotLayout, LeastRoomCountsFromTheBitmapEdgesAndOnlyWidens)
{
    const PlotArea bitmap{0, 0, 400, 300};
    const PlotArea framed{4, 4, 396, 296};  // a frame of width 2 takes 4 pixels a side
    const LabelMeasures m{40, 14, 8, 7};
    // Own room with both axes: 20 + 40 + 16 = 76 on the left, 20 on the right.
    struct Case {
        PlotArea outer;
        EdgeRoom least;
        int left, right;
    };
    const Case cases[] = {
        {bitmap, {}, 76, 380},
        {bitmap, {50, 10}, 76, 380},  // less than the labels need: no change
        {bitmap, {90, 35}, 90, 365},  // more: the edges move in
        {framed, {}, 80, 376},        // the frame's inset adds to the own room
        {framed, {80, 24}, 80, 376},  // which the least room counts in
        {framed, {81, 25}, 81, 375},
    };
    for (const Case& c : cases) {
        const PlotArea a = LayoutPlotArea(c.outer, 20, true, true, m, bitmap, c.least);
        EXPECT_EQ(a.left, c.left) << c.least.left;
        EXPECT_EQ(a.right, c.right) << c.least.right;
        EXPECT_EQ(RoomAround(a, bitmap), (EdgeRoom{c.left, 400 - c.right}));
    }
}

// NaturalRoom is what the owner compares across graphs; it must agree with the
// room the rendered plot takes when no least room is set, or the shared edges
// would be off by the difference.
TEST(PlotEdges, NaturalRoomIsTheRenderedRoomOfEveryLabelling)
{
    for (const QSize size : {QSize(400, 160), QSize(1600, 300)}) {
        for (const Labels& l : kLabels) {
            for (FrameStyle frame : {FrameStyle::None, FrameStyle::SunkenRing}) {
                CGraphPlot plot;
                GraphSettings s = Labelled(l, size.width(), size.height());
                s.frameStyle = frame;
                plot.ApplySettings(s);
                const EdgeRoom natural = plot.NaturalRoom();
                const PlotArea drawn = plot.GetPlotAreaEdges();
                EXPECT_EQ(natural, RoomAround(drawn, {0, 0, size.width(), size.height()}))
                    << l.name << " at " << size.width();
                // Asked again after rendering, it stays the same.
                EXPECT_EQ(plot.NaturalRoom(), natural) << l.name;
            }
        }
    }
}

TEST(PlotEdges, WidestRoomLinesUpEveryCombinationOfLabels)
{
    constexpr int kWidth = 900;
    const std::size_t count = std::size(kLabels);
    std::size_t differentNaturalEdges = 0;
    for (std::size_t a = 0; a < count; ++a) {
        // The first two are alike in size: their order makes no difference.
        for (std::size_t b = a; b < count; ++b) {
            for (std::size_t c = 0; c < count; ++c) {
                std::array<CGraphPlot, 3> plots;
                // Stacked slices differ in height, and so in label font size.
                const int heights[3] = {233, 233, 234};
                const std::size_t picked[3] = {a, b, c};
                for (std::size_t i = 0; i < 3; ++i)
                    plots[i].ApplySettings(Labelled(kLabels[picked[i]], kWidth, heights[i]));
                if (plots[0].NaturalRoom() != plots[1].NaturalRoom())
                    ++differentNaturalEdges;
                ShareWidestRoom(plots);
                const PlotArea first = plots[0].GetPlotAreaEdges();
                for (CGraphPlot& plot : plots) {
                    const PlotArea edges = plot.GetPlotAreaEdges();
                    ASSERT_EQ(edges.left, first.left)
                        << kLabels[a].name << " / " << kLabels[b].name << " / " << kLabels[c].name;
                    ASSERT_EQ(edges.right, first.right)
                        << kLabels[a].name << " / " << kLabels[b].name << " / " << kLabels[c].name;
                    // No plot is squeezed beyond what the widest labels need.
                    const EdgeRoom own = plot.NaturalRoom();
                    EXPECT_GE(edges.left, own.left);
                    EXPECT_LE(edges.right, kWidth - own.right);
                }
                // One time, one pixel column.
                for (double x : {0.0, 0.4, 17.3, 260.0, 519.9, 520.0}) {
                    const int column = plots[0].Mapping().PixelX(x);
                    for (const CGraphPlot& plot : plots)
                        ASSERT_EQ(plot.Mapping().PixelX(x), column) << x;
                }
            }
        }
    }
    // The cases really differ; otherwise the test proves nothing.
    EXPECT_GT(differentNaturalEdges, count * count * (count - 1) / 4);
}

// Paper and PDF output have no neighbours: the room the labels need, and the
// on-screen layout the gestures read untouched.
TEST(PlotEdges, RenderOntoIgnoresTheLeastRoom)
{
    const GraphSettings plain = Labelled(kLabels[1], 600, 300);
    GraphSettings roomy = plain;
    roomy.leastLeftRoom = 150;
    roomy.leastRightRoom = 90;
    CGraphPlot a;
    a.ApplySettings(plain);
    CGraphPlot b;
    b.ApplySettings(roomy);
    const PlotArea onScreen = b.GetPlotAreaEdges();
    ASSERT_EQ(onScreen.left, 150);
    ASSERT_EQ(onScreen.right, 510);

    auto print = [](CGraphPlot& plot) {
        QImage page(1200, 600, QImage::Format_ARGB32_Premultiplied);
        page.fill(Qt::white);
        QPainter painter(&page);
        plot.RenderOnto(painter, QRect(20, 30, 1100, 500), PlotPrintStyle{90, 2, 2});
        return page;
    };
    EXPECT_EQ(print(a), print(b));
    EXPECT_EQ(b.GetPlotAreaEdges(), onScreen);

    // A picture of the screen at twice its size keeps the room, doubled: the
    // value axis is the first thing drawn right of the labels' room.
    QImage picture(1200, 600, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        PlotPrintStyle style{LabelFontTenths(1200, 600), 2, 2};
        style.edgeRoomScale = 2.0;
        b.RenderOnto(painter, picture.rect(), style);
    }
    int axis = 250;
    while (axis < picture.width() && picture.pixel(axis, 300) == qRgb(255, 255, 255))
        ++axis;
    EXPECT_NEAR(axis, 300, 2);
}

// The room belongs to the window's place among its neighbours, not to a view:
// going back through the zoom history keeps the room the owner set since.
TEST(PlotEdges, RoomOutlivesZoomAndGoingBack)
{
    CGraphPane pane;
    pane.resize(640, 300);
    pane.show();
    GraphSettings s = pane.GetSettings();
    s.leastLeftRoom = 70;
    pane.ApplySettings(s);
    const PlotArea area = pane.Plot().GetPlotAreaEdges();
    ASSERT_EQ(area.left, 70);

    const QPoint inside((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    QTest::mouseDClick(&pane, Qt::LeftButton, Qt::NoModifier, inside);
    ASSERT_LT(pane.GetSettings().xMax - pane.GetSettings().xMin, 60.0);
    EXPECT_EQ(pane.GetSettings().leastLeftRoom, 70);

    s = pane.GetSettings();
    s.leastLeftRoom = 95;
    s.leastRightRoom = 60;
    pane.ApplySettings(s);
    QTest::mouseDClick(&pane, Qt::RightButton, Qt::NoModifier, inside);
    const GraphSettings back = pane.GetSettings();
    EXPECT_EQ(back.xMax - back.xMin, 60.0);
    EXPECT_EQ(back.leastLeftRoom, 95);
    EXPECT_EQ(back.leastRightRoom, 60);
    EXPECT_EQ(pane.Plot().GetPlotAreaEdges().left, 95);
    EXPECT_EQ(pane.Plot().GetPlotAreaEdges().right, 580);
}

}  // namespace
}  // namespace veltrin
