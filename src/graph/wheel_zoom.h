#pragma once
// The view changes of the wheel, the touchpad and the keyboard, as plain functions
// of the settings, and the rule that groups quick wheel steps into one zoom.

#include "graph/graph_row.h"
#include "graph/graph_settings.h"

#include <cstdint>
#include <optional>

namespace veltrin {

// Zoom factor of one wheel notch (and of one + or - key press).
inline constexpr double kWheelZoomFactor = 1.25;
// Wheel angle of one notch, in eighths of a degree.
inline constexpr int kWheelNotchAngle = 120;
// Wheel steps closer together than this form one zoom of the history.
inline constexpr std::int64_t kWheelBurstMs = 500;

// The data's x range that the view must stay inside.
struct DataSpan {
    double first = 0.0;
    double last = 0.0;
};

// The span factor of `angle` eighths of a degree of wheel turn: below 1 (zoom in)
// for a positive angle, 1.25 per notch, smaller touchpad angles in proportion.
double WheelSpanFactor(int angle);

// Scales the x span by `factor` so that `anchorX` stays at the same place in the
// view; the span never drops below xMinSpan nor exceeds the data, and the view
// stays inside the data. The x tick steps suit the new span.
void ZoomTimeAround(GraphSettings& s, double anchorX, double factor, DataSpan data);

// Scales the y span by `factor` around `anchorY`, never below yMinSpan; the y
// tick steps suit the new span.
void ZoomValueAround(GraphSettings& s, double anchorY, double factor);

// Moves the x range by `dx` axis units, stopping at the ends of the data; a view
// that already shows the whole data does not move.
void PanTime(GraphSettings& s, double dx, DataSpan data);

// The row the marker moves to from `row` one step `forward` or back: the next row,
// or with `bySecond` the row one second away (the nearest row at least that far,
// the end row when there is none). Stays inside the table; -1 without rows.
int SteppedMarkerRow(const GraphTable& table, int row, bool forward, bool bySecond);

// Tells, step by step, whether a wheel step begins a new zoom of the history: the
// first step does, and any step more than kWheelBurstMs after the previous one.
class WheelBurst {
public:
    bool BeginsNew(std::int64_t nowMs);
    void Reset() { lastMs_.reset(); }

private:
    std::optional<std::int64_t> lastMs_;
};

}  // namespace veltrin
