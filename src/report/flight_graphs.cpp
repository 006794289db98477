#include "report/flight_graphs.h"

#include "graph/graph_plot.h"
#include "graph/ticks.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace veltrin {

namespace {

constexpr int kColumns = 3;  // acceleration, speed, altitude

// How a report graph shows its column; the ranges and steps are those of the
// program's graph windows.
struct ReportGraphConfig {
    const char* title;
    int column;
    double yMin;
    double yMax;
    double yMinorStep;
    double yMajorStep;
    const char* yLabelFormat;
    const char* yTitle;
};

constexpr ReportGraphConfig kConfigs[] = {
    {"Beschleunigung (g)", 0, -10, 10, 1, 5, "%6.1f", "   g"},
    {"Geschwindigkeit (km/h)", 1, 0, 300, 20, 50, "%6.0f", "km/h"},
    {"Höhe (m)", 2, 0, 2000, 200, 500, "%6.0f", "   m"},
};

const ReportGraphConfig& ConfigOf(FlightGraphs::Which which)
{
    return kConfigs[static_cast<int>(which)];
}

// Series colour as in the program's graph windows.
const QColor kSeriesColour{255, 0, 0};

// Print sizes: label font, line and curve widths in millimetres, left margin.
constexpr int kLabelFontTenths = 70;
constexpr double kLineWidthMm = 0.12;
constexpr double kCurveWidthMm = 0.2;
constexpr double kLeftMarginMm = 1.0;

// The configured range, widened to the next multiple of the major step that
// holds `lowest` and `highest`.
void WidenRange(double& yMin, double& yMax, double step, double lowest, double highest)
{
    if (lowest < yMin)
        yMin = std::floor(lowest / step) * step;
    if (highest > yMax)
        yMax = std::ceil(highest / step) * step;
}

}  // namespace

FlightGraphs::FlightGraphs(const StartRecord& start, const std::vector<FlightEvent>& events,
                           const std::optional<AircraftLimits>& limits)
    : limits_(limits)
{
    const auto& samples = start.samples;
    const std::size_t rows =
        std::min<std::size_t>(samples.size(), std::numeric_limits<int>::max() / (kColumns + 1));
    table_.resize(GraphTableSlots(rows, kColumns));
    const std::int64_t firstMs = rows > 0 ? samples.front().timeMs : 0;
    for (std::size_t j = 0; j < rows; ++j) {
        const Sample& sample = samples[j];
        const auto timeMs = static_cast<std::int32_t>(sample.timeMs - firstMs);
        const std::array<double, kColumns> values{sample.accZ, sample.ias, sample.altitude};
        WriteGraphRow(table_.data(), j, timeMs, values);
        lastMs_ = std::max(lastMs_, timeMs);
    }
    rows_ = static_cast<int>(rows);
    for (const FlightEvent& event : events)
        eventTimesMs_.push_back(std::round(event.time * 1000.0));
}

QString FlightGraphs::Title(Which which)
{
    return QString::fromUtf8(ConfigOf(which).title);
}

void FlightGraphs::Paint(Which which, QPainter& painter, const QRect& target,
                         double dotsPerMm) const
{
    const ReportGraphConfig& config = ConfigOf(which);
    CGraphPlot plot;
    plot.SetData(rows_, rows_ > 0 ? table_.data() : nullptr);
    plot.SetEvents(static_cast<int>(eventTimesMs_.size()),
                   eventTimesMs_.empty() ? nullptr : eventTimesMs_.data());
    const QString name = Title(which);
    plot.AddSeries({config.column, kSeriesColour, true, name, name, false});

    double lowest = 0.0;
    double highest = 0.0;
    const GraphTable table(table_.data(), rows_);
    for (int row = 0; row < table.Count(); ++row) {
        const double v = table.Value(row, config.column);
        if (!std::isfinite(v))
            continue;
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    }
    std::vector<double> limitLines;
    if (limits_ && which == Which::Acceleration)
        limitLines = {limits_->negativeLoad, limits_->positiveLoad};
    else if (limits_ && which == Which::Speed)
        limitLines = {limits_->speed};
    for (double limit : limitLines) {
        lowest = std::min(lowest, limit);
        highest = std::max(highest, limit);
    }
    plot.SetLimitLines(limitLines);

    GraphSettings settings;
    settings.yMin = config.yMin;
    settings.yMax = config.yMax;
    WidenRange(settings.yMin, settings.yMax, config.yMajorStep, lowest, highest);
    settings.yMinorStep = config.yMinorStep;
    settings.yMajorStep = config.yMajorStep;
    settings.yLabelFormat = QString::fromUtf8(config.yLabelFormat);
    settings.yTitle = QString::fromUtf8(config.yTitle);
    // The whole flight, to the second after its last sample.
    const int seconds = static_cast<int>((static_cast<std::int64_t>(lastMs_) + 999) / 1000);
    const int step = TimeStepFor(seconds);
    settings.xMin = 0;
    settings.xMax = std::max(seconds, 1);
    settings.xMinorStep = step;
    settings.xMajorStep = step;
    settings.xLabelFormat = QStringLiteral("%6.0f");
    settings.xTitle = QStringLiteral("s");
    settings.leftMargin = static_cast<int>(std::lround(kLeftMarginMm * dotsPerMm));
    settings.interactive = false;
    plot.ApplySettings(settings);

    PlotPrintStyle style;
    style.fontTenths = kLabelFontTenths;
    style.lineWidth = std::max(1, static_cast<int>(std::lround(kLineWidthMm * dotsPerMm)));
    style.curveWidth = std::max(1, static_cast<int>(std::lround(kCurveWidthMm * dotsPerMm)));
    plot.RenderOnto(painter, target, style);
}

}  // namespace veltrin
