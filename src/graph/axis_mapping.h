#pragma once
// Value <-> pixel mapping of a plot area: the rules every drawing step and every
// mouse gesture share.

#include <QPoint>
#include <QRect>

#include <cstdint>

namespace veltrin {

// Plot area edges in bitmap pixels; right and bottom are exclusive.
struct PlotArea {
    int left = 0, top = 0, right = 0, bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    // In the area: left and top inclusive, right and bottom exclusive.
    bool Contains(QPoint p) const
    {
        return p.x() >= left && p.x() < right && p.y() >= top && p.y() < bottom;
    }
    QRect ToRect() const { return QRect(left, top, right - left, bottom - top); }
    bool operator==(const PlotArea&) const = default;
};

// Maps axis values to pixels of one plot area and back.
struct AxisMapping {
    PlotArea area;
    double xOrigin = 0.0, yOrigin = 0.0;      // xMin and yMin
    double xPerPixel = 0.0, yPerPixel = 0.0;  // axis units per pixel
    double xMin = 0.0, xMax = 0.0, yMin = 0.0, yMax = 0.0;
    std::int64_t timeOrigin = 0;  // row time (ms) that x = 0 stands for
    double timeScale = 1.0;       // seconds per x unit

    static AxisMapping For(const PlotArea& area, double xMin, double xMax, double yMin, double yMax,
                           std::int64_t timeOrigin, double timeScale);

    // Finite, non-zero scale on both axes (false for an area without width or height).
    bool Usable() const;

    // px(x) = left + trunc((x - xOrigin) / xPerPixel), clamped to a safe range.
    int PixelX(double x) const;
    // py(y) = bottom - trunc((y - yOrigin) / yPerPixel), clamped likewise.
    int PixelY(double y) const;
    // Axis value of a row time: (t - timeOrigin) * 0.001 / timeScale.
    double XOfTime(double timeMs) const;
    int PixelOfTime(std::int64_t timeMs) const
    {
        return PixelX(XOfTime(static_cast<double>(timeMs)));
    }

    // Mouse pixel to value: the fraction of the area times the range.
    double ValueX(int px) const;
    double ValueY(int py) const;  // the area top is yMax
};

}  // namespace veltrin
