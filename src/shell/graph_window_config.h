#pragma once
// The graph windows of the main frame as one table, and how each shows its
// value column: series name, y axis range, ticks, label format and title.
// Time axis values are shared.

#include "shell/command_table.h"
#include "shell/shell_constants.h"

#include <array>
#include <cstddef>

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
inline constexpr GraphWindowConfig kSpeedGraph{"Speed", kSpeedColumn, 0,      300, 20,
                                               50,      "%6.0f",      "km/h", 5};
inline constexpr GraphWindowConfig kAltitudeGraph{"Altitude", kAltitudeColumn, 0,      2000, 200,
                                                  500,        "%6.0f",         "   m", 10};

// One graph window: its title, how it shows its column (the column is the
// configuration's), the command that shows and hides it, and its place from
// the top when the windows are stacked.
struct GraphWindowEntry {
    const char* title;
    GraphWindowConfig config;
    Command toggle;
    int stackSlot;
};

// Every graph window, in the order they are created, listed in the menu and
// ticked.
inline constexpr std::array kGraphWindows{
    GraphWindowEntry{kAccelerationTitle, kAccelerationGraph, Command::ToggleAcceleration, 0},
    GraphWindowEntry{kAltitudeTitle, kAltitudeGraph, Command::ToggleAltitude, 2},
    GraphWindowEntry{kSpeedTitle, kSpeedGraph, Command::ToggleSpeed, 1},
};
inline constexpr std::size_t kGraphWindowCount = kGraphWindows.size();

// Positions of the windows in kGraphWindows.
enum class GraphWindow : std::size_t { Acceleration = 0, Altitude = 1, Speed = 2 };

// The positions in kGraphWindows from the top stack slot down.
constexpr std::array<std::size_t, kGraphWindowCount> GraphWindowsByStackSlot()
{
    std::array<std::size_t, kGraphWindowCount> order{};
    for (std::size_t i = 0; i < kGraphWindowCount; ++i)
        order[static_cast<std::size_t>(kGraphWindows[i].stackSlot)] = i;
    return order;
}

// The time axis of every graph.
inline constexpr const char* kTimeLabelFormat = "%6.0f";
inline constexpr const char* kTimeTitle = "s";
inline constexpr double kTimeMinSpan = 10;

// Series colour of every graph (red).
inline constexpr int kSeriesRgb[3] = {255, 0, 0};

}  // namespace veltrin
