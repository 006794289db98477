// Graph rules that need no window: ranges, view window, row lookup, ticks, labels,
// font size, plot area, zoom steps and history.
#include "graph/axis_mapping.h"
#include "graph/graph_settings.h"
#include "graph/plot_layout.h"
#include "graph/ticks.h"
#include "graph/view_window.h"
#include "graph/x_label_row.h"
#include "graph/zoom_history.h"
#include "graph/zoom_rules.h"
#include "graph_test_data.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

namespace veltrin {
namespace {

using testing_data::TestTable;

TEST(NormaliseRanges, SwapsWidensAndRounds)
{
    struct Case {
        double xMin, xMax, yMin, yMax;
        double wantXMin, wantXMax, wantYMin, wantYMax;
    };
    const Case cases[] = {
        {60, 0, 10, -10, 0, 60, -10, 10},                    // reversed limits swap
        {5, 5, -3, -3, 5, 15, -3, 7},                        // equal limits widen by 10
        {0.0000000004, 60.0000000004, -1, 1, 0, 60, -1, 1},  // 9 decimals
        {1e-10, 0, 0, 0, 0, 10, 0, 10},                      // equal only after rounding
    };
    for (const Case& c : cases) {
        GraphSettings s;
        s.xMin = c.xMin;
        s.xMax = c.xMax;
        s.yMin = c.yMin;
        s.yMax = c.yMax;
        NormaliseRanges(s);
        EXPECT_DOUBLE_EQ(s.xMin, c.wantXMin);
        EXPECT_DOUBLE_EQ(s.xMax, c.wantXMax);
        EXPECT_DOUBLE_EQ(s.yMin, c.wantYMin);
        EXPECT_DOUBLE_EQ(s.yMax, c.wantYMax);
    }
}

// 601 rows, one a second: a flight of 600 s.
TestTable TenMinutes()
{
    return TestTable(601, 1000, 1, [](int r, int) { return r; });
}

ViewWindow Mode1(const GraphTable& t, double xMin, double xMax)
{
    return ComputeViewWindow(t, ViewMode::FromStart, xMax - xMin, 1.0, 60.0,
                             ViewWindow{xMin, xMax, 0, 0});
}

TEST(ViewWindow, ShortRecordingAlwaysStartsAtZero)
{
    const TestTable shortFlight(31, 1000, 1, [](int, int) { return 0.0; });  // 30 s
    for (double xMin : {-20.0, 0.0, 12.5, 500.0}) {
        const ViewWindow w = Mode1(shortFlight.View(), xMin, xMin + 60.0);
        EXPECT_EQ(w.xMin, 0.0) << xMin;
        EXPECT_EQ(w.xMax, 60.0) << xMin;
        EXPECT_EQ(w.firstRow, 0);
    }
}

TEST(ViewWindow, StartIsClampedToTheData)
{
    const TestTable t = TenMinutes();
    // Beyond the last row: the window ends at the last row.
    ViewWindow w = Mode1(t.View(), 700, 760);
    EXPECT_EQ(w.xMin, 540.0);
    EXPECT_EQ(w.xMax, 600.0);
    EXPECT_EQ(w.firstRow, 540);
    // Before the first row: starts at it.
    w = Mode1(t.View(), -30, 30);
    EXPECT_EQ(w.xMin, 0.0);
    EXPECT_EQ(w.xMax, 60.0);
    // Inside: snapped to whole milliseconds, first row from the lookup.
    w = Mode1(t.View(), 100.0004, 160.0004);
    EXPECT_DOUBLE_EQ(w.xMin, 100.0);
    EXPECT_EQ(w.firstRow, 100);
    EXPECT_EQ(w.timeOrigin, 0);
}

TEST(ViewWindow, LatestModeAnchorsAtTheNewestRow)
{
    const TestTable t = TenMinutes();
    ViewWindow w =
        ComputeViewWindow(t.View(), ViewMode::Latest, 60.0, 1.0, 60.0, ViewWindow{-60, 0, 0, 0});
    EXPECT_EQ(w.timeOrigin, 600000);
    EXPECT_EQ(w.xMin, -60.0);
    EXPECT_EQ(w.xMax, 0.0);
    EXPECT_EQ(w.firstRow, 540);
    // All data fits: the view starts at the first row's (negative) time.
    w = ComputeViewWindow(t.View(), ViewMode::Latest, 1000.0, 1.0, 60.0,
                          ViewWindow{-1000, 0, 0, 0});
    EXPECT_EQ(w.xMin, -600.0);
    EXPECT_EQ(w.xMax, 400.0);
}

TEST(ViewWindow, EmptyTableChangesNothing)
{
    const ViewWindow before{3, 9, 77, 5};
    const ViewWindow w =
        ComputeViewWindow(GraphTable(), ViewMode::FromStart, 6.0, 1.0, 60.0, before);
    EXPECT_EQ(w.xMin, 3.0);
    EXPECT_EQ(w.xMax, 9.0);
    EXPECT_EQ(w.timeOrigin, 77);
    EXPECT_EQ(w.firstRow, 5);
}

TEST(RowLookup, AtAndAroundTheEnds)
{
    const TestTable t(4, 1000, 2, [](int r, int c) { return r * 10 + c; });
    const GraphTable v = t.View();
    ASSERT_EQ(v.Columns(), 2);
    EXPECT_EQ(v.Time(3), 3000);
    EXPECT_EQ(v.Value(2, 1), 21.0);
    struct Case {
        std::int64_t t;
        int lookup, atTime;
    };
    const Case cases[] = {
        {-1, 0, -1},
        {0, 0, 0},
        {999, 0, 0},
        {1000, 1, 1},
        {2999, 2, 2},
        // The lookup that places the view finds the row before the last one at the
        // last row's own time; a marker click there reports the last row itself.
        {3000, 2, 3},
        {3001, 3, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RowLookup(v, c.t), c.lookup) << c.t;
        EXPECT_EQ(RowAtTime(v, c.t), c.atTime) << c.t;
    }
    // Two rows sharing the last time: the click gets the later one.
    std::vector<GraphRow> tied(GraphTableSlots(3, 1));
    const double zero[] = {0.0};
    WriteGraphRow(tied.data(), 0, 0, zero);
    WriteGraphRow(tied.data(), 1, 500, zero);
    WriteGraphRow(tied.data(), 2, 500, zero);
    EXPECT_EQ(RowAtTime(GraphTable(tied.data(), 3), 500), 2);
    EXPECT_EQ(RowAtTime(GraphTable(tied.data(), 3), 499), 0);
    const TestTable one(1, 1000, 1, [](int, int) { return 0.0; });
    EXPECT_EQ(RowLookup(one.View(), 0), 0);
    EXPECT_EQ(RowAtTime(one.View(), 0), 0);
    EXPECT_EQ(RowLookup(GraphTable(), 5), 0);
    EXPECT_EQ(RowAtTime(GraphTable(), 5), -1);
}

TEST(DataTimeRange, AxisValuesOfFirstAndLastRow)
{
    const TestTable t = TenMinutes();
    const DataTimeRange r = DataTimeRangeOf(t.View(), 60000, 60.0);  // minutes
    EXPECT_DOUBLE_EQ(r.first, -1.0);
    EXPECT_DOUBLE_EQ(r.last, 9.0);
    EXPECT_EQ(DataTimeRangeOf(GraphTable(), 0, 1.0).last, 0.0);
}

TEST(Ticks, LabelsWithoutNegativeZero)
{
    std::vector<std::string> labels;
    for (double v : TickValues(-10, 10, 5))
        labels.push_back(FormatLabel(QStringLiteral("%6.1f"), v).toStdString());
    EXPECT_EQ(labels, (std::vector<std::string>{"-10.0", "-5.0", "0.0", "5.0", "10.0"}));
    EXPECT_EQ(FormatLabel(QStringLiteral("%6.1f"), -1e-13), QStringLiteral("0.0"));
    EXPECT_EQ(FormatLabelRaw(QStringLiteral("%6.1f"), -1e-13), QStringLiteral("-0.0"));
}

TEST(Ticks, FirstTickAndTolerances)
{
    EXPECT_EQ(TickValues(-7, 10, 5).front(), -5.0);
    EXPECT_EQ(TickValues(-7, 10, 5).back(), 10.0);
    // A limit within 2.2e-15 of a tick still gets it; clearly short of it does not.
    EXPECT_EQ(TickValues(0, 10 - 2e-15, 5).back(), 10.0);
    EXPECT_EQ(TickValues(0, 10 - 1e-13, 5).back(), 5.0);
    // Tick values are rounded to 9 decimals, so 0.1 steps do not drift: each is the
    // very double of its decimal (summing 0.1 would give 0.30000000000000004 and
    // 0.9999999999999999, both within a few units of the last place).
    EXPECT_EQ(TickValues(0, 1, 0.1),
              (std::vector<double>{0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0}));
    EXPECT_EQ(TickValues(-0.3, 0.3, 0.1),
              (std::vector<double>{-0.3, -0.2, -0.1, 0, 0.1, 0.2, 0.3}));
    EXPECT_TRUE(TickValues(0, 10, 0).empty());
    EXPECT_TRUE(TickValues(0, 10, -1).empty());
}

TEST(Ticks, RegressionTinyStepHungOnMillionsOfTicks)
{
    // A step far too fine for the range (millions of ticks) is skipped, not looped over.
    EXPECT_TRUE(TickValues(0, 1e9, 1e-3).empty());
}

TEST(LabelFormat, PrintfFormsWithoutTheLocale)
{
    // The process locale must not turn the decimal point into a comma.
    const char* german = std::setlocale(LC_ALL, "de_DE.UTF-8");
    struct Case {
        const char* format;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {"%6.0f", 59.5, "60"},       {"%6.1f", -2.25, "-2.2"},       {"%+.2f", 3.14159, "+3.14"},
        {"%06.1f", -1.5, "-001.5"},  {"%.3e", 12345.0, "1.234e+04"}, {"%g", 0.0001, "0.0001"},
        {"%.1f s", 12.34, "12.3 s"}, {"%5.1lf%%", 50, "50.0%"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatLabel(QString::fromLatin1(c.format), c.value).toStdString(), c.text)
            << c.format;
    if (german != nullptr)
        std::setlocale(LC_ALL, "C");
}

TEST(TickSteps, AfterAZoom)
{
    struct Case {
        double span, major, minor;
    };
    const Case cases[] = {
        {15, 5, 1},   {400, 100, 50}, {60, 10, 5},    {20, 5, 1},
        {100, 10, 5}, {-15, 5, 1},    {3.75, 1, 0.5}, {1e-17, 0, 0},
    };
    for (const Case& c : cases) {
        const TickSteps s = TickStepsForSpan(c.span);
        EXPECT_DOUBLE_EQ(s.major, c.major) << c.span;
        EXPECT_DOUBLE_EQ(s.minor, c.minor) << c.span;
    }
}

TEST(LabelFont, FromTheBitmapDiagonal)
{
    EXPECT_EQ(LabelFontTenths(480, 350), 70);  // diagonal 594: 7 points
    EXPECT_EQ(LabelFontTenths(100, 30), 70);
    EXPECT_EQ(LabelFontTenths(600, 600), 99);  // 848.5 * 2/17 = 99.8
    EXPECT_EQ(LabelFontTenths(1600, 400), 194);
}

TEST(PlotArea, EachCombinationOfAxes)
{
    const PlotArea bitmap{0, 0, 400, 300};
    const LabelMeasures m{40, 14, 8, 7};  // label width 40, height 14, "w" 8 x 14
    struct Case {
        bool x, y;
        PlotArea want;
    };
    const Case cases[] = {
        {true, true, {76, 7, 380, 276}},
        {true, false, {40, 0, 380, 276}},
        {false, true, {76, 7, 400, 293}},
        {false, false, {20, 0, 400, 300}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LayoutPlotArea(bitmap, 20, c.x, c.y, m, bitmap, {}), c.want) << c.x << c.y;
}

// Label widths of a proportional font without a font: 6 pixels a character.
int SixPerCharacter(const QString& text)
{
    return 6 * static_cast<int>(text.size());
}

std::vector<std::string> Texts(const XLabelRow& row)
{
    std::vector<std::string> texts;
    for (const XLabel& label : row.labels)
        texts.push_back(label.text.toStdString());
    return texts;
}

// The x axis as the program sets it up for a start of `seconds` seconds: a label
// every 50 s, the title "s", on a plot area 520 pixels wide.
struct StartAxis {
    GraphSettings s;
    AxisMapping m;
    explicit StartAxis(double seconds, const QString& title = QStringLiteral("s"))
    {
        s.xMax = seconds;
        s.xMinorStep = s.xMajorStep = 50;
        s.xTitle = title;
        m = AxisMapping::For(PlotArea{40, 10, 560, 300}, 0, seconds, -10, 10, 0, 1.0);
    }
};

TEST(XLabelRow, RegressionTitlePaintedOverTheLastLabel)
{
    // 0 .. 520 s: the title's right edge falls at 503.3 s, right over "500".
    const StartAxis a(520);
    const XLabelRow row = LayoutXLabelRow(a.m, a.s, &SixPerCharacter);
    ASSERT_TRUE(row.hasTitle);
    EXPECT_EQ(row.titleRight, a.m.PixelX(520 - 50 / 3.0));
    EXPECT_EQ(row.titleLeft, row.titleRight - 6);
    EXPECT_EQ(Texts(row), (std::vector<std::string>{"0", "50", "100", "150", "200", "250", "300",
                                                    "350", "400", "450"}));
    // Every label that stays lies wholly beside the title, with a pixel to spare
    // for the rounding of its centring.
    for (const XLabel& label : row.labels) {
        const int left = label.x - label.width / 2 - 1;
        const int right = label.x - label.width / 2 + label.width + 1;
        EXPECT_TRUE(right <= row.titleLeft || left >= row.titleRight) << label.text.toStdString();
        EXPECT_EQ(label.x, a.m.PixelX(std::stod(label.text.toStdString())));
        EXPECT_EQ(label.width, SixPerCharacter(label.text));
    }
}

TEST(XLabelRow, LabelsClearOfTheTitleAllStay)
{
    struct Case {
        double seconds;
        QString title;
        std::size_t labels;
        const char* last;
    };
    const Case cases[] = {
        {540, QStringLiteral("s"), 11, "500"},  // the title falls between 500 and 540
        {520, QString(), 11, "500"},            // no title, nothing to leave out
        {600, QStringLiteral("s"), 13, "600"},  // a range that ends on a tick
    };
    for (const Case& c : cases) {
        const StartAxis a(c.seconds, c.title);
        const XLabelRow row = LayoutXLabelRow(a.m, a.s, &SixPerCharacter);
        EXPECT_EQ(row.labels.size(), c.labels) << c.seconds;
        EXPECT_EQ(row.labels.back().text.toStdString(), c.last) << c.seconds;
    }
    // A title 96 pixels wide reaches under 400, 450 and 500: all three stay out.
    const StartAxis wide(520, QStringLiteral("Zeit in Sekunden"));
    EXPECT_EQ(Texts(LayoutXLabelRow(wide.m, wide.s, &SixPerCharacter)).back(), "350");
    // Without a major step there are neither labels nor a title.
    StartAxis none(520);
    none.s.xMajorStep = 0;
    const XLabelRow empty = LayoutXLabelRow(none.m, none.s, &SixPerCharacter);
    EXPECT_TRUE(empty.labels.empty());
    EXPECT_FALSE(empty.hasTitle);
}

TEST(AxisMapping, ValuesAndPixels)
{
    // 0.125 units per pixel on both axes, so the arithmetic is exact.
    const AxisMapping m = AxisMapping::For(PlotArea{10, 0, 522, 256}, 0, 64, -16, 16, 1000, 1.0);
    EXPECT_EQ(m.PixelX(0), 10);
    EXPECT_EQ(m.PixelX(64), 522);
    EXPECT_EQ(m.PixelX(-0.1), 10);  // truncation toward zero
    EXPECT_EQ(m.PixelY(-16), 256);
    EXPECT_EQ(m.PixelY(16), 0);
    EXPECT_EQ(m.PixelOfTime(33000), 266);
    EXPECT_DOUBLE_EQ(m.ValueX(266), 32.0);
    EXPECT_DOUBLE_EQ(m.ValueY(0), 16.0);
    EXPECT_FALSE(AxisMapping::For(PlotArea{10, 0, 10, 200}, 0, 60, 0, 1, 0, 1).Usable());
}

TEST(AxisMapping, RegressionExtremeValuesOverflowedThePixels)
{
    const AxisMapping m = AxisMapping::For(PlotArea{10, 0, 522, 256}, 0, 64, -16, 16, 1000, 1.0);
    // Extreme values stay inside a drawable range instead of overflowing.
    EXPECT_GT(m.PixelY(-1e300), 1000000);
    EXPECT_LT(m.PixelY(1e300), -1000000);
}

TEST(ZoomRules, SelectionRespectsMinimumSpans)
{
    GraphSettings s;
    s.xMinSpan = 10;
    s.yMinSpan = 0.1;
    const PlotArea area{0, 0, 400, 200};
    // Half the width, a tenth of the height: both axes zoom.
    GraphSettings a = s;
    ZoomToSelection(a, area, PlotArea{100, 20, 300, 40});
    EXPECT_DOUBLE_EQ(a.xMin, 15);
    EXPECT_DOUBLE_EQ(a.xMax, 45);
    EXPECT_DOUBLE_EQ(a.yMin, 6);
    EXPECT_DOUBLE_EQ(a.yMax, 8);
    EXPECT_DOUBLE_EQ(a.xMajorStep, 10);
    EXPECT_DOUBLE_EQ(a.yMajorStep, 0.5);
    // Too narrow in x (6 s): only y zooms.
    GraphSettings b = s;
    ZoomToSelection(b, area, PlotArea{100, 20, 140, 40});
    EXPECT_EQ(b.xMin, 0);
    EXPECT_EQ(b.xMax, 60);
    EXPECT_DOUBLE_EQ(b.yMax, 8);
}

TEST(ZoomRules, DoubleClickKeepsThePointInPlace)
{
    const PlotArea area{50, 0, 450, 200};
    EXPECT_EQ(DoubleClickSelection(area, 50), (PlotArea{50, 0, 150, 200}));
    EXPECT_EQ(DoubleClickSelection(area, 450), (PlotArea{350, 0, 450, 200}));
    EXPECT_EQ(DoubleClickSelection(area, 250), (PlotArea{200, 0, 300, 200}));
}

TEST(ZoomRules, PanStopsAtTheDataEnd)
{
    GraphSettings s;
    s.xMin = 500;
    s.xMax = 560;
    PanSettings(s, PlotArea{0, 0, 600, 200}, QPoint(500, 100), QPoint(0, 120), 600.0);
    EXPECT_DOUBLE_EQ(s.xMax, 600);
    EXPECT_DOUBLE_EQ(s.xMin, 540);
    EXPECT_DOUBLE_EQ(s.yMin, -8);  // dragged 20 px of 200 down: the curve follows
}

TEST(ZoomHistory, NewestFirstAndEmptyPopIsHarmless)
{
    ZoomHistory h;
    EXPECT_FALSE(h.Pop().has_value());
    ZoomState a, b;
    a.xMax = 1;
    b.xMax = 2;
    h.Push(a);
    h.Push(b);
    EXPECT_EQ(h.Pop()->xMax, 2);
    EXPECT_EQ(h.Pop()->xMax, 1);
    EXPECT_TRUE(h.Empty());
}

}  // namespace
}  // namespace veltrin
