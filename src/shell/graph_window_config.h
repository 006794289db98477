#pragma once
// How each of the three graph windows shows its value column: series name,
// y axis range, ticks, label format and title. Time axis values are shared.

namespace veltrin {

struct GraphWindowConfig {
    const char* seriesName;
    int column;  // value column of the graph table
    double yMin;
    double yMax;
    double yMinorStep;
    double yMajorStep;
    const char* yLabelFormat;
    const char* yTitle;
    double yMinSpan;
};

// Columns of the graph table, in slot order after the row header.
inline constexpr int kAccelerationColumn = 0;
inline constexpr int kSpeedColumn = 1;
inline constexpr int kAltitudeColumn = 2;
inline constexpr int kGraphColumns = 3;

inline constexpr GraphWindowConfig kAccelerationGraph{
    "Acceleration", kAccelerationColumn, -10, 10, 1, 5, "%6.1f", "   g", 0.1};
inline constexpr GraphWindowConfig kSpeedGraph{
    "Speed", kSpeedColumn, 0, 300, 20, 50, "%6.0f", "km/h", 5};
inline constexpr GraphWindowConfig kAltitudeGraph{
    "Altitude", kAltitudeColumn, 0, 2000, 200, 500, "%6.0f", "   m", 10};

// The time axis of every graph.
inline constexpr const char* kTimeLabelFormat = "%6.0f";
inline constexpr const char* kTimeTitle = "s";
inline constexpr double kTimeMinSpan = 10;

// Series colour of every graph (red).
inline constexpr int kSeriesRgb[3] = {255, 0, 0};

}  // namespace veltrin
