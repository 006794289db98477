#include "graph/curve_points.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace veltrin {

QRect CurveClip(const PlotArea& area)
{
    return QRect(area.left, area.top, area.right - area.left + 1, area.bottom - area.top + 1);
}

void FullCurvePoints(const GraphTable& table, int column, int firstRow, const AxisMapping& map,
                     std::vector<QPoint>& out)
{
    out.clear();
    const int n = table.Count();
    if (firstRow < 0 || firstRow >= n)
        return;
    out.reserve(static_cast<std::size_t>(n - firstRow));
    for (int i = firstRow; i < n; ++i)
        out.emplace_back(map.PixelOfTime(table.Time(i)), map.PixelY(table.Value(i, column)));
}

namespace {

// The first row time after `from` (whose column is `column`) that maps to a later
// pixel column; `last` + 1 when no row time up to `last` does. The pixel of a time
// never decreases with the time, so the estimate from the inverse mapping only
// needs a few exact checks around it.
std::int64_t NextColumnTime(const AxisMapping& map, int column, std::int64_t from,
                            std::int64_t last)
{
    auto beyond = [&](std::int64_t t) {
        return t > last || map.PixelOfTime(t) > column;
    };
    std::int64_t lo = from;      // known: not beyond
    std::int64_t hi = last + 1;  // treated as beyond
    const double xNext = map.xOrigin + (column + 1 - map.area.left) * map.xPerPixel;
    const double estimate =
        std::ceil(static_cast<double>(map.timeOrigin) + xNext * map.timeScale * 1000.0);
    if (estimate > static_cast<double>(lo) && estimate < static_cast<double>(hi)) {
        const auto t = static_cast<std::int64_t>(estimate);
        if (beyond(t)) {
            if (!beyond(t - 1))
                return t;
            hi = t;
        } else {
            lo = t;
            // Gallop upwards from a low estimate.
            for (std::int64_t step = 1; lo + step < hi; step *= 2) {
                if (beyond(lo + step)) {
                    hi = lo + step;
                    break;
                }
                lo += step;
            }
        }
    }
    while (hi - lo > 1) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        if (beyond(mid))
            hi = mid;
        else
            lo = mid;
    }
    return hi;
}

void Append(std::vector<QPoint>& out, QPoint p)
{
    if (out.empty() || out.back() != p)
        out.push_back(p);
}

}  // namespace

void ReducedCurvePoints(const GraphTable& table, int column, int firstRow, const AxisMapping& map,
                        std::vector<QPoint>& out)
{
    out.clear();
    const int n = table.Count();
    if (firstRow < 0 || firstRow >= n)
        return;
    const std::int64_t lastTime = table.LastTime();
    int i = firstRow;
    while (i < n) {
        const std::int64_t t0 = table.Time(i);
        const int px = map.PixelOfTime(t0);
        const double v0 = table.Value(i, column);
        if (px > map.area.right) {
            // Everything from here on lies right of the clip.
            Append(out, QPoint(px, map.PixelY(v0)));
            return;
        }
        const std::int64_t boundary = NextColumnTime(map, px, t0, lastTime);
        // The lowest value draws the lowest pixel; a NaN value counts as the
        // lowest, as it maps to the bottom end of the pixel range.
        const bool firstIsNan = std::isnan(v0);
        double minV = v0;
        double maxV = firstIsNan ? -std::numeric_limits<double>::infinity() : v0;
        int minRow = i, maxRow = i;
        bool minIsNan = firstIsNan;
        int j = i + 1;
        for (; j < n; ++j) {
            if (table.Time(j) >= boundary)
                break;
            const double v = table.Value(j, column);
            if (v > maxV) {
                maxV = v;
                maxRow = j;
            }
            if (!minIsNan && !(v >= minV)) {
                minV = v;
                minRow = j;
                minIsNan = std::isnan(v);
            }
        }
        const int lastRow = j - 1;
        Append(out, QPoint(px, map.PixelY(v0)));
        const int a = minRow < maxRow ? minRow : maxRow;
        const int b = minRow < maxRow ? maxRow : minRow;
        Append(out, QPoint(px, map.PixelY(table.Value(a, column))));
        Append(out, QPoint(px, map.PixelY(table.Value(b, column))));
        Append(out, QPoint(px, map.PixelY(table.Value(lastRow, column))));
        i = j;
    }
}

}  // namespace veltrin
