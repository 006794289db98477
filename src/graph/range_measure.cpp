#include "graph/range_measure.h"

#include "graph/graph_constants.h"
#include "graph/view_window.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace veltrin {

namespace {

// The row the marker rule picks for a cursor time: the time truncated to whole
// milliseconds, as a click's axis value is in CGraphPlot::RowAtX.
int CursorRow(const GraphTable& table, double timeMs)
{
    if (!std::isfinite(timeMs))
        return -1;
    const double limit = graph_constants::kMaxTimeMs;
    return RowAtTime(table,
                     static_cast<std::int64_t>(std::trunc(std::clamp(timeMs, -limit, limit))));
}

// First row whose time is not below `t` (Count() when none is).
int FirstRowFrom(const GraphTable& table, double t)
{
    int lo = 0;
    int hi = table.Count();
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (static_cast<double>(table.Time(mid)) < t)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

// First row whose time lies above `t` (Count() when none does).
int FirstRowAfter(const GraphTable& table, double t)
{
    int lo = 0;
    int hi = table.Count();
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (static_cast<double>(table.Time(mid)) <= t)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

std::optional<double> ValueAt(const GraphTable& table, int row, int column)
{
    if (row < 0)
        return std::nullopt;
    return table.Value(row, column);
}

// Running minimum, maximum and sum of one column's finite values.
struct Accumulator {
    int column = -1;
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    double sum = 0.0;
    int count = 0;

    std::optional<ValueSpread> Spread() const
    {
        if (count == 0)
            return std::nullopt;
        return ValueSpread{low, high, sum / count};
    }
};

// Rows measured together: their slots stay in the cache while every column
// is read from them.
constexpr int kBlockRows = 2048;

// Rows [from, to) of one column, every value taken as it is. Four lanes of
// running values keep the additions from waiting on each other.
void AddPlain(const GraphTable& table, int column, int from, int to, double& low, double& high,
              double& sum)
{
    double lows[4] = {low, low, low, low};
    double highs[4] = {high, high, high, high};
    double sums[4] = {0.0, 0.0, 0.0, 0.0};
    int row = from;
    for (; row + 4 <= to; row += 4) {
        for (int lane = 0; lane < 4; ++lane) {
            const double v = table.Value(row + lane, column);
            lows[lane] = v < lows[lane] ? v : lows[lane];
            highs[lane] = v > highs[lane] ? v : highs[lane];
            sums[lane] += v;
        }
    }
    for (; row < to; ++row) {
        const double v = table.Value(row, column);
        lows[0] = v < lows[0] ? v : lows[0];
        highs[0] = v > highs[0] ? v : highs[0];
        sums[0] += v;
    }
    low = std::min({lows[0], lows[1], lows[2], lows[3]});
    high = std::max({highs[0], highs[1], highs[2], highs[3]});
    sum = (sums[0] + sums[1]) + (sums[2] + sums[3]);
}

// The same, leaving out values that are not finite (a sensor that failed).
void AddFinite(const GraphTable& table, Accumulator& a, int from, int to)
{
    for (int row = from; row < to; ++row) {
        const double v = table.Value(row, a.column);
        if (!std::isfinite(v))
            continue;
        a.low = std::min(a.low, v);
        a.high = std::max(a.high, v);
        a.sum += v;
        ++a.count;
    }
}

// One pass over rows [from, to) for all columns: a long flight's table is far
// larger than any cache, so it is read from memory only once.
void Accumulate(const GraphTable& table, std::vector<Accumulator>& columns, int from, int to)
{
    for (int block = from; block < to; block += kBlockRows) {
        const int end = std::min(to, block + kBlockRows);
        for (Accumulator& a : columns) {
            double low = a.low;
            double high = a.high;
            double sum = 0.0;
            AddPlain(table, a.column, block, end, low, high, sum);
            // A sum that is not finite says the block holds a value that is not;
            // only then is it read again value by value.
            if (std::isfinite(sum)) {
                a.low = low;
                a.high = high;
                a.sum += sum;
                a.count += end - block;
            } else {
                AddFinite(table, a, block, end);
            }
        }
    }
}

}  // namespace

RangeMeasure MeasureRange(const GraphTable& table, std::span<const int> columns, double timeAMs,
                          double timeBMs)
{
    RangeMeasure m;
    m.timeAMs = timeAMs;
    m.timeBMs = timeBMs;
    m.deltaMs = timeBMs - timeAMs;
    m.rowA = CursorRow(table, timeAMs);
    m.rowB = CursorRow(table, timeBMs);

    int from = 0;
    int to = 0;
    if (!table.Empty() && std::isfinite(timeAMs) && std::isfinite(timeBMs)) {
        from = FirstRowFrom(table, std::min(timeAMs, timeBMs));
        to = FirstRowAfter(table, std::max(timeAMs, timeBMs));
    }
    m.rowsInside = std::max(0, to - from);

    std::vector<Accumulator> sums;
    for (int column : columns) {
        if (column >= 0 && column < table.Columns())
            sums.push_back(Accumulator{column});
    }
    if (m.rowsInside > 0)
        Accumulate(table, sums, from, to);

    m.curves.reserve(columns.size());
    for (int column : columns) {
        CurveMeasure curve;
        curve.column = column;
        const auto sum = std::find_if(sums.begin(), sums.end(), [column](const Accumulator& a) {
            return a.column == column;
        });
        if (sum != sums.end()) {
            curve.atA = ValueAt(table, m.rowA, column);
            curve.atB = ValueAt(table, m.rowB, column);
            if (curve.atA && curve.atB)
                curve.difference = *curve.atB - *curve.atA;
            curve.spread = sum->Spread();
        }
        m.curves.push_back(curve);
    }
    return m;
}

}  // namespace veltrin
