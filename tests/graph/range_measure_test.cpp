// The measurement between the marker and cursor B on a made table, and cursor B
// on an offscreen pane: Ctrl + middle click sets it and shades the range, Esc
// clears it.
#include "graph/range_measure.h"
#include "graph/graph_pane.h"
#include "graph_test_data.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace veltrin {
namespace {

using testing_data::TestTable;

// Eleven rows, one a second from 0 to 10 s; column 0 holds these values,
// column 1 ten times them.
constexpr std::array<double, 11> kValues{4, 7, 2, 9, 5, 1, 6, 8, 3, 10, 0};

TestTable MadeTable()
{
    return TestTable(11, 1000, 2, [](int row, int column) {
        return kValues[static_cast<std::size_t>(row)] * (column == 0 ? 1.0 : 10.0);
    });
}

constexpr std::array kBothColumns{0, 1};

TEST(RangeMeasure, ValuesAtTheCursorsAndOverTheRowsBetween)
{
    const TestTable table = MadeTable();
    // Rows 2..5 lie in [2 s, 5 s]: 2, 9, 5, 1.
    const RangeMeasure m = MeasureRange(table.View(), kBothColumns, 2000, 5000);
    EXPECT_EQ(m.deltaMs, 3000);
    EXPECT_EQ(m.rowA, 2);
    EXPECT_EQ(m.rowB, 5);
    EXPECT_EQ(m.rowsInside, 4);
    ASSERT_EQ(m.curves.size(), 2u);
    const CurveMeasure& c = m.curves[0];
    EXPECT_EQ(c.atA, 2.0);
    EXPECT_EQ(c.atB, 1.0);
    EXPECT_EQ(c.difference, -1.0);
    ASSERT_TRUE(c.spread);
    EXPECT_EQ(c.spread->min, 1.0);
    EXPECT_EQ(c.spread->max, 9.0);
    EXPECT_DOUBLE_EQ(c.spread->mean, 17.0 / 4);
    // Each curve reads its own column.
    EXPECT_EQ(m.curves[1].column, 1);
    EXPECT_EQ(m.curves[1].difference, -10.0);
    EXPECT_EQ(m.curves[1].spread->max, 90.0);
    EXPECT_DOUBLE_EQ(m.curves[1].spread->mean, 170.0 / 4);
}

TEST(RangeMeasure, AAfterBGivesTheSameRangeWithTheSignsTurned)
{
    const TestTable table = MadeTable();
    const RangeMeasure forward = MeasureRange(table.View(), kBothColumns, 2000, 5000);
    const RangeMeasure backward = MeasureRange(table.View(), kBothColumns, 5000, 2000);
    EXPECT_EQ(backward.deltaMs, -3000);
    EXPECT_EQ(backward.rowsInside, forward.rowsInside);
    const CurveMeasure& c = backward.curves[0];
    EXPECT_EQ(c.atA, 1.0);
    EXPECT_EQ(c.atB, 2.0);
    EXPECT_EQ(c.difference, 1.0);
    EXPECT_EQ(c.spread->min, forward.curves[0].spread->min);
    EXPECT_EQ(c.spread->max, forward.curves[0].spread->max);
    EXPECT_EQ(c.spread->mean, forward.curves[0].spread->mean);
}

TEST(RangeMeasure, EdgeRanges)
{
    const TestTable table = MadeTable();
    struct Case {
        const char* what;
        double a, b;
        int rowA, rowB, inside;
        std::optional<double> atA, atB, difference;
        std::optional<double> min, max, mean;
    };
    const Case cases[] = {
        // Both cursors on one row: that row is the whole range.
        {"A = B", 3000, 3000, 3, 3, 1, 9.0, 9.0, 0.0, 9.0, 9.0, 9.0},
        // Between two samples: the marker rule picks the row before for both
        // cursors, and no row lies inside.
        {"no sample inside", 3200, 3800, 3, 3, 0, 9.0, 9.0, 0.0, {}, {}, {}},
        // Past the last sample B has no row and no value; the rows up to the
        // last one are measured.
        {"past the end", 8000, 15000, 8, -1, 3, 3.0, {}, {}, 0.0, 10.0, 13.0 / 3},
        {"before the start", -5000, 1000, -1, 1, 2, {}, 7.0, {}, 4.0, 7.0, 5.5},
        // On the last sample's own time B is that sample, not the one before.
        {"onto the last sample", 9000, 10000, 9, 10, 2, 10.0, 0.0, -10.0, 0.0, 10.0, 5.0},
        // Fractions of a millisecond are cut off as a click's time is.
        {"fraction of a ms", 2999.6, 3000.4, 2, 3, 1, 2.0, 9.0, 7.0, 9.0, 9.0, 9.0},
        {"wholly outside", 20000, 30000, -1, -1, 0, {}, {}, {}, {}, {}, {}},
    };
    for (const Case& c : cases) {
        const RangeMeasure m = MeasureRange(table.View(), kBothColumns, c.a, c.b);
        EXPECT_EQ(m.deltaMs, c.b - c.a) << c.what;
        EXPECT_EQ(m.rowA, c.rowA) << c.what;
        EXPECT_EQ(m.rowB, c.rowB) << c.what;
        EXPECT_EQ(m.rowsInside, c.inside) << c.what;
        const CurveMeasure& curve = m.curves[0];
        EXPECT_EQ(curve.atA, c.atA) << c.what;
        EXPECT_EQ(curve.atB, c.atB) << c.what;
        EXPECT_EQ(curve.difference, c.difference) << c.what;
        EXPECT_EQ(curve.spread.has_value(), c.min.has_value()) << c.what;
        if (curve.spread && c.min) {
            EXPECT_EQ(curve.spread->min, *c.min) << c.what;
            EXPECT_EQ(curve.spread->max, *c.max) << c.what;
            EXPECT_DOUBLE_EQ(curve.spread->mean, *c.mean) << c.what;
        }
    }
}

TEST(RangeMeasure, NothingToMeasure)
{
    // No table: no rows, no values, yet the times and their distance.
    const RangeMeasure empty = MeasureRange(GraphTable(), kBothColumns, 1000, 4000);
    EXPECT_EQ(empty.deltaMs, 3000);
    EXPECT_EQ(empty.rowA, -1);
    EXPECT_EQ(empty.rowsInside, 0);
    ASSERT_EQ(empty.curves.size(), 2u);
    EXPECT_FALSE(empty.curves[0].atA || empty.curves[0].spread);

    // A column the table lacks gives a curve without values; the others stay.
    const TestTable table = MadeTable();
    const std::array columns{0, 5, -1};
    const RangeMeasure m = MeasureRange(table.View(), columns, 0, 10000);
    ASSERT_EQ(m.curves.size(), 3u);
    EXPECT_EQ(m.curves[0].spread->max, 10.0);
    for (const CurveMeasure* missing : {&m.curves[1], &m.curves[2]})
        EXPECT_FALSE(missing->atA || missing->atB || missing->difference || missing->spread);
}

TEST(RangeMeasure, ValuesThatAreNoNumbersAreLeftOut)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const TestTable table(5, 1000, 1, [nan](int row, int) { return row == 2 ? nan : row * 1.0; });
    const RangeMeasure m = MeasureRange(table.View(), std::array{0}, 0, 4000);
    ASSERT_TRUE(m.curves[0].spread);
    EXPECT_EQ(m.curves[0].spread->min, 0.0);
    EXPECT_EQ(m.curves[0].spread->max, 4.0);
    EXPECT_DOUBLE_EQ(m.curves[0].spread->mean, 8.0 / 4);
    const TestTable broken(3, 1000, 1, [nan](int, int) { return nan; });
    EXPECT_FALSE(MeasureRange(broken.View(), std::array{0}, 0, 2000).curves[0].spread);
}

struct RangeEndLog {
    int calls = 0;
    int row = -2;
    static void OnRangeEnd(void* data, int row, QPoint)
    {
        auto* self = static_cast<RangeEndLog*>(data);
        ++self->calls;
        self->row = row;
    }
};

// A 60 s flight at one row a second, shown whole in a 640 x 320 pane.
class RangeCursor : public ::testing::Test {
protected:
    RangeCursor() : table(61, 1000, 1, [](int r, int) { return (r % 10) - 5.0; })
    {
        pane.resize(640, 320);
        pane.show();
        pane.SetData(table.rows, table.Data());
        pane.Plot().AddSeries({0, QColor(255, 0, 0), true, "Acceleration", "Acceleration", false});
        GraphSettings s = pane.GetSettings();
        s.xMin = 0;
        s.xMax = 60;
        s.xMinorStep = s.xMajorStep = 10;
        s.yMin = -10;
        s.yMax = 10;
        s.showGrid = false;
        pane.ApplySettings(s);
        area = pane.Plot().GetPlotAreaEdges();
        pane.SetRangeEndCallback(&RangeEndLog::OnRangeEnd, &log);
    }

    int XOfSecond(int second) const { return pane.Plot().Mapping().PixelOfTime(second * 1000); }
    // One pixel on: the pixel of a row's time may stand for a time just before it.
    QPoint At(int second) const
    {
        return QPoint(XOfSecond(second) + 1, (area.top + area.bottom) / 2);
    }
    // Pixels of column `x` inside the plot area that differ between `a` and `b`.
    int ChangedInColumn(const QImage& a, const QImage& b, int x) const
    {
        int n = 0;
        for (int y = area.top + 1; y < area.bottom - 1; ++y)
            n += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        return n;
    }

    TestTable table;
    CGraphPane pane;
    PlotArea area;
    RangeEndLog log;
};

TEST_F(RangeCursor, CtrlMiddleClickSetsBAndShadesTheRangeFromTheMarker)
{
    QTest::mousePress(&pane, Qt::MiddleButton, {}, At(10));
    ASSERT_TRUE(pane.Plot().MarkerShown());
    const QImage before = pane.Plot().GetBitmap().copy();

    QTest::mousePress(&pane, Qt::MiddleButton, Qt::ControlModifier, At(40));
    EXPECT_EQ(log.calls, 1);
    EXPECT_EQ(log.row, 40);
    EXPECT_TRUE(pane.Plot().RangeEndShown());
    EXPECT_EQ(pane.Plot().RangeEndTime(), 40000.0);
    // The marker stays where it was.
    EXPECT_EQ(pane.Plot().MarkerTime(), 10000.0);

    const QImage after = pane.Plot().GetBitmap().copy();
    const int height = area.Height() - 2;
    // Inside the range nearly every pixel of a column is washed (the curve's
    // own pixels keep their colour); outside nothing changed.
    for (int second : {12, 25, 38})
        EXPECT_GT(ChangedInColumn(before, after, XOfSecond(second)), height * 3 / 4) << second;
    for (int second : {5, 45, 55})
        EXPECT_EQ(ChangedInColumn(before, after, XOfSecond(second)), 0) << second;
    // Behind the curves: every red curve pixel stays as red as it was.
    auto redPixels = [this](const QImage& image) {
        int n = 0;
        for (int x = XOfSecond(11); x < XOfSecond(39); ++x) {
            for (int y = area.top; y < area.bottom; ++y)
                n += image.pixelColor(x, y) == QColor(255, 0, 0) ? 1 : 0;
        }
        return n;
    };
    EXPECT_GT(redPixels(before), 100);
    EXPECT_EQ(redPixels(after), redPixels(before));
    // The wash is light.
    const QColor washed = after.pixelColor(XOfSecond(25), area.top + 3);
    EXPECT_GT(washed.lightness(), 200);
    EXPECT_NE(washed, QColor(255, 255, 255));
}

TEST_F(RangeCursor, BBeforeTheMarkerShadesTheSameWay)
{
    QTest::mousePress(&pane, Qt::MiddleButton, {}, At(40));
    QTest::mousePress(&pane, Qt::MiddleButton, Qt::ControlModifier, At(10));
    const QImage backward = pane.Plot().GetBitmap().copy();
    QTest::mousePress(&pane, Qt::MiddleButton, {}, At(10));
    QTest::mousePress(&pane, Qt::MiddleButton, Qt::ControlModifier, At(40));
    const QImage forward = pane.Plot().GetBitmap().copy();
    // The same columns are washed; only the solid and the dashed line swap.
    for (int second : {12, 25, 38})
        EXPECT_EQ(ChangedInColumn(backward, forward, XOfSecond(second)), 0) << second;
}

TEST_F(RangeCursor, EscClearsBAndTheShade)
{
    QTest::mousePress(&pane, Qt::MiddleButton, {}, At(10));
    const QImage before = pane.Plot().GetBitmap().copy();
    QTest::mousePress(&pane, Qt::MiddleButton, Qt::ControlModifier, At(40));
    ASSERT_TRUE(pane.Plot().RangeEndShown());

    QTest::keyClick(&pane, Qt::Key_Escape);
    EXPECT_FALSE(pane.Plot().RangeEndShown());
    EXPECT_EQ(log.calls, 2);
    EXPECT_EQ(log.row, -1);
    EXPECT_TRUE(pane.Plot().MarkerShown());
    EXPECT_EQ(pane.Plot().GetBitmap(), before);

    // Without B, Esc reports nothing.
    QTest::keyClick(&pane, Qt::Key_Escape);
    EXPECT_EQ(log.calls, 2);
}

TEST_F(RangeCursor, BOutsideTheDataGoesAndWithoutTheMarkerNothingIsShaded)
{
    const QImage plain = pane.Plot().GetBitmap().copy();
    // B alone draws its line but no range.
    QTest::mousePress(&pane, Qt::MiddleButton, Qt::ControlModifier, At(30));
    EXPECT_TRUE(pane.Plot().RangeEndShown());
    EXPECT_EQ(ChangedInColumn(plain, pane.Plot().GetBitmap(), XOfSecond(20)), 0);

    // A click outside the data's time range takes B away, as it hides the marker.
    pane.SetData(0, nullptr);
    QTest::mousePress(&pane, Qt::MiddleButton, Qt::ControlModifier, At(30));
    EXPECT_EQ(log.row, -1);
    EXPECT_FALSE(pane.Plot().RangeEndShown());
}

TEST_F(RangeCursor, ARangeOutsideTheViewShadesNothingAndAPartlyShownOneToTheEdge)
{
    QTest::mousePress(&pane, Qt::MiddleButton, {}, At(10));
    QTest::mousePress(&pane, Qt::MiddleButton, Qt::ControlModifier, At(40));
    auto show = [this](double xMin, double xMax) {
        GraphSettings s = pane.GetSettings();
        s.xMin = xMin;
        s.xMax = xMax;
        pane.ApplySettings(s);
    };
    show(45, 60);
    const QImage outside = pane.Plot().GetBitmap().copy();
    pane.Plot().ClearRangeEnd();
    EXPECT_EQ(pane.Plot().GetBitmap(), outside);

    pane.Plot().SetRangeEndTime(40000);
    show(20, 50);
    const QImage partly = pane.Plot().GetBitmap().copy();
    pane.Plot().ClearRangeEnd();
    const QImage none = pane.Plot().GetBitmap().copy();
    EXPECT_GT(ChangedInColumn(none, partly, area.left + 1), 0);
    EXPECT_EQ(ChangedInColumn(none, partly, XOfSecond(45)), 0);
}

}  // namespace
}  // namespace veltrin
