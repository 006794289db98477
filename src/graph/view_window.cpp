#include "graph/view_window.h"

#include "graph/graph_constants.h"

#include <algorithm>
#include <cmath>

namespace veltrin {

namespace {

// trunc() toward zero into 64-bit milliseconds; out-of-range values saturate
// instead of overflowing.
std::int64_t TruncMs(double v)
{
    constexpr double limit = graph_constants::kMaxTimeMs;
    if (std::isnan(v))
        return 0;
    return static_cast<std::int64_t>(std::clamp(v, -limit, limit));
}

int Search(const GraphTable& table, std::int64_t t)
{
    int lo = 0;
    int hi = table.Count() - 1;
    while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        if (t < table.Time(mid))
            hi = mid;
        else
            lo = mid;
    }
    return lo;
}

}  // namespace

int RowLookup(const GraphTable& table, std::int64_t t)
{
    if (table.Empty() || t < table.FirstTime())
        return 0;
    if (t > table.LastTime())
        return table.Count() - 1;
    return Search(table, t);
}

int RowAtTime(const GraphTable& table, std::int64_t t)
{
    if (table.Empty() || t < table.FirstTime() || t > table.LastTime())
        return -1;
    // The search never lands on the last row; a click on the last sample's own
    // time must report that sample, not the one before it.
    if (t == table.LastTime())
        return table.Count() - 1;
    return Search(table, t);
}

ViewWindow ComputeViewWindow(const GraphTable& table, ViewMode viewMode, double viewSpan,
                             double timeScale, double scatterWindow, const ViewWindow& current)
{
    if (table.Empty())
        return current;
    ViewWindow w = current;
    const std::int64_t first = table.FirstTime();
    const std::int64_t last = table.LastTime();
    const std::int64_t spanMs = TruncMs(viewSpan * 1000.0);
    const double msPerUnit = 1000.0 * timeScale;

    if (viewMode == ViewMode::Scatter || viewMode == ViewMode::ScatterAlike) {
        // Scatter forms: the newest row is the anchor, the drawn rows cover the
        // scatter window before it, and the x range stays as requested.
        w.timeOrigin = std::max(first, last);
        const std::int64_t from = last - TruncMs(scatterWindow * 1000.0);
        w.firstRow = from < first ? 0 : RowLookup(table, from);
        return w;
    }

    // Mode 1 anchors x = 0 at the first row, mode 0 at the newest one.
    const bool fromStart = viewMode != ViewMode::Latest;
    const std::int64_t anchor = fromStart ? first : std::max(first, last);
    w.timeOrigin = anchor;
    const bool allFits = fromStart ? (last - spanMs < first) : (last - spanMs <= first);
    if (allFits) {
        w.firstRow = 0;
        w.xMin = fromStart ? 0.0 : static_cast<double>(first - anchor) / msPerUnit;
    } else {
        std::int64_t start = anchor + TruncMs(timeScale * current.xMin * 1000.0);
        if (start < first)
            start = first;
        if (start > last)
            start = last - spanMs;
        w.firstRow = RowLookup(table, start);
        w.xMin = static_cast<double>(start - anchor) / msPerUnit;
    }
    w.xMax = w.xMin + viewSpan / timeScale;
    return w;
}

DataTimeRange DataTimeRangeOf(const GraphTable& table, std::int64_t timeOrigin, double timeScale)
{
    if (table.Empty())
        return {};
    const double msPerUnit = 1000.0 * timeScale;
    return {static_cast<double>(table.FirstTime() - timeOrigin) / msPerUnit,
            static_cast<double>(table.LastTime() - timeOrigin) / msPerUnit};
}

}  // namespace veltrin
