#pragma once
// The graph's settings record, which an owner reads, edits and applies as a whole,
// and the axis part of it that the zoom history keeps.

#include <QColor>
#include <QString>

#include <cstdint>

namespace veltrin {

// How the x range is anchored to the data. The two scatter forms take x from a
// value column and are drawn alike.
enum class ViewMode : std::int32_t { Latest = 0, FromStart = 1, Scatter = 2, ScatterAlike = 3 };

// The 3-D border around the plot area; the ring forms add an inner ring of the
// opposite sense.
enum class FrameStyle : std::int32_t {
    None = 0,
    Raised = 1,
    Sunken = 2,
    RaisedRing = 3,
    SunkenRing = 4,
};

// Defaults are those a graph pane installs (width and height are set by the
// window from its client size when it applies the record).
struct GraphSettings {
    std::int32_t width = 0;    // plot bitmap width in pixels
    std::int32_t height = 0;   // plot bitmap height in pixels
    double xMin = 0.0;         // left end of the x axis (seconds / timeScale)
    double xMax = 60.0;        // right end of the x axis
    double xMinorStep = 10.0;  // short x ticks; <= 0: none
    double xMajorStep = 10.0;  // long x ticks, labels, vertical grid; <= 0: none
    QString xLabelFormat = QStringLiteral("%6.0f");  // printf format of one double
    QString xTitle;                                  // x axis title
    double xMinSpan = 0.0;    // smallest x span a rubber-band zoom may produce
    double yMin = -10.0;      // bottom of the y axis
    double yMax = 10.0;       // top of the y axis
    double yMinorStep = 1.0;  // short y ticks
    double yMajorStep = 5.0;  // long y ticks, labels, horizontal grid
    QString yLabelFormat = QStringLiteral("%6.1f");
    QString yTitle;                          // y axis title, drawn at the top left
    double yMinSpan = 0.0;                   // smallest y span a rubber-band zoom may produce
    QColor backgroundColour{255, 255, 255};  // also behind the axis titles
    QColor axisColour{192, 192, 192};        // axes, ticks and grid
    QColor textColour{0, 0, 0};              // labels and titles
    QColor eventColour{255, 0, 0};           // event lines
    bool showGrid = true;                    // dotted grid at the major ticks
    bool showXAxis = true;                   // x axis with ticks and labels
    bool showYAxis = true;                   // y axis with ticks and labels
    ViewMode viewMode = ViewMode::FromStart;
    FrameStyle frameStyle = FrameStyle::None;
    std::int32_t frameWidth = 2;   // frame width; also the inset of the legend buttons
    std::int32_t leftMargin = 20;  // extra pixels left of the y labels
    QString fontFace = QStringLiteral("Arial");  // label font face
    bool interactive = true;                     // mouse gestures are accepted
    double timeScale = 1.0;                      // divisor from seconds to x axis units
    double scatterWindow = 60.0;                 // seconds of data shown in view modes 2 and 3
    // Pixels the plot area keeps at least between itself and the bitmap's left
    // and right edge (more where its own labels need more): an owner gives graphs
    // shown one above the other the same edges with them. Not part of the zoom
    // history; paper and PDF output ignore them.
    std::int32_t leastLeftRoom = 0;
    std::int32_t leastRightRoom = 0;

    bool operator==(const GraphSettings&) const = default;
};

// The x and y axis parts of GraphSettings: one entry of the zoom history.
struct ZoomState {
    double xMin = 0.0, xMax = 0.0, xMinorStep = 0.0, xMajorStep = 0.0;
    QString xLabelFormat, xTitle;
    double xMinSpan = 0.0;
    double yMin = 0.0, yMax = 0.0, yMinorStep = 0.0, yMajorStep = 0.0;
    QString yLabelFormat, yTitle;
    double yMinSpan = 0.0;

    bool operator==(const ZoomState&) const = default;
};

ZoomState ZoomStateOf(const GraphSettings& settings);
// Puts the axis parts of `state` into `settings`.
void RestoreZoomState(GraphSettings& settings, const ZoomState& state);

// Rounds v to 9 decimals: floor(v * 1e9 + 0.5) / 1e9.
double RoundTo9(double v);

// Rounds the four limits to 9 decimals, swaps reversed limits and widens equal
// limits to a span of 10.
void NormaliseRanges(GraphSettings& settings);

}  // namespace veltrin
