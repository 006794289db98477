#pragma once
// Rules by which the main frame lays out and steps the three graph windows:
// time-axis steps, nice zoom spans, shifting, stacking and value ranges.
// Plain values, no windows.

#include "graph/ticks.h"  // TimeStepFor

#include <vector>

namespace veltrin {

enum class ZoomDirection { In, Out };

// A new span with its major and minor tick steps.
struct NiceSpanResult {
    double span = 0.0;
    double majorStep = 0.0;
    double minorStep = 0.0;
};

// Turns `span` into the next nicer span in `direction`, zooming by about
// `factor`. A span of (nearly) zero stays as it is, with both steps 0.
NiceSpanResult NiceSpan(double span, ZoomDirection direction, double factor);

// The x range of a graph window, in seconds.
struct TimeRange {
    double xMin = 0.0;
    double xMax = 0.0;
};

// The range moved left by `step`; never begins before 0, keeping its width.
TimeRange ShiftedLeft(TimeRange range, double step);

// The range moved right by `step`; never ends after `lastSecond`, keeping its width.
TimeRange ShiftedRight(TimeRange range, double step, int lastSecond);

// The value axis of a graph window, from bottom to top.
struct ValueRange {
    double yMin = 0.0;
    double yMax = 0.0;
};

// The lowest and highest finite values of a series; `empty` while it has none.
struct ValueExtremes {
    double lowest = 0.0;
    double highest = 0.0;
    bool empty = true;
    // Takes `value` in; NaN and infinities are left out.
    void Add(double value);
};

// The configured range, kept exactly when the data fit in it; otherwise the
// end that the data pass moves out to the next multiple of `majorStep` that
// holds them. A step of zero or less leaves the range as configured.
ValueRange RangeHolding(ValueRange configured, double majorStep, const ValueExtremes& data);

// Vertical extent of one stacked window, in client pixels.
struct StackSlice {
    int top = 0;
    int height = 0;
};

// Splits the client height from `top` to `bottom` among `count` windows, one
// pixel row apart, the last taking the remainder. Empty for count <= 0.
std::vector<StackSlice> StackSlices(int top, int bottom, int count);

}  // namespace veltrin
