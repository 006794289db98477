// The main frame's graph windows: the shared data table of the shown start,
// the axes of each graph, keeping the time axes and the plot edges in step, the
// view commands, stacking and the marker read-out.
#include "shell/main_frame.h"

#include "graph/graph_pane.h"
#include "graph/graph_plot.h"
#include "shell/child_frame.h"
#include "shell/graph_window_config.h"
#include "shell/stack_follower.h"
#include "shell/status_texts.h"
#include "shell/time_range_rules.h"
#include "shell/track_window.h"

#include <QLabel>
#include <QMdiArea>
#include <QScopedValueRollback>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <new>

namespace veltrin {

namespace {

constexpr double kZoomFactorAtEdge = 5;  // zoom anchored at time 0
constexpr double kZoomFactorInside = 4;  // zoom anchored at the left end
constexpr int kMillisecondsPerSecond = 1000;

int RowCount(const std::vector<GraphRow>& table)
{
    return static_cast<int>(table.size() / (kGraphColumns + 1));
}

// The limits a graph of `column` draws: the load limits in the acceleration
// graph, the speed limit in the speed graph.
std::vector<double> LimitLinesOf(int column, const std::optional<AircraftLimits>& limits)
{
    if (!limits)
        return {};
    if (column == kAccelerationColumn)
        return {limits->negativeLoad, limits->positiveLoad};
    if (column == kSpeedColumn)
        return {limits->speed};
    return {};
}

// The value range that holds the configured one, the values of `column` in
// `table` and the `lines`.
ValueRange FullValueRange(const GraphWindowConfig& config, const GraphTable& table,
                          const std::vector<double>& lines)
{
    ValueExtremes extremes;
    for (int row = 0; row < table.Count(); ++row)
        extremes.Add(table.Value(row, config.column));
    for (double line : lines)
        extremes.Add(line);
    return RangeHolding({config.yMin, config.yMax}, config.yMajorStep, extremes);
}

// Reads `window`'s settings, lets `change` alter their time axis, applies
// them and repaints the window.
template <typename Change>
void ChangeTimeAxis(CChildFrame& window, Change change)
{
    GraphSettings settings = window.Pane().GetSettings();
    change(settings);
    window.Pane().ApplySettings(settings);
    window.Pane().update();
}

}  // namespace

CChildFrame* CMainFrame::GraphWindowAt(GraphWindow which) const
{
    return graphWindows_[static_cast<std::size_t>(which)];
}

std::array<CChildFrame*, kGraphWindowCount> CMainFrame::GraphWindowsInStackOrder() const
{
    std::array<CChildFrame*, kGraphWindowCount> stacked{};
    const auto order = GraphWindowsByStackSlot();
    for (std::size_t slot = 0; slot < kGraphWindowCount; ++slot)
        stacked[slot] = graphWindows_[order[slot]];
    return stacked;
}

CChildFrame* CMainFrame::ActiveGraphWindow() const
{
    auto* window = qobject_cast<CChildFrame*>(mdiArea_->currentSubWindow());
    return window && !window->isHidden() ? window : nullptr;
}

void CMainFrame::ToggleGraphWindow(CChildFrame* window)
{
    if (!window->isHidden()) {
        window->hide();
        ActivateVisibleGraphWindow();
    } else {
        window->show();
        mdiArea_->setActiveSubWindow(window);
        window->setFocus();
    }
    AlignPlotEdges();
    UpdateMenus();
}

void CMainFrame::StackGraphWindows()
{
    std::vector<CChildFrame*> visible;
    for (CChildFrame* window : GraphWindowsInStackOrder()) {
        if (!window->isHidden())
            visible.push_back(window);
    }
    const QRect client = mdiArea_->viewport()->rect();
    if (TrackWindowShown()) {
        if (trackWindow_->isMaximized() || trackWindow_->isMinimized())
            trackWindow_->showNormal();
        trackWindow_->setGeometry(TrackColumn(client));
    }
    if (visible.empty())
        return;
    const QRect column = GraphColumn(client);
    const std::vector<StackSlice> slices =
        StackSlices(column.top(), column.top() + column.height(), static_cast<int>(visible.size()));
    for (std::size_t i = 0; i < visible.size(); ++i) {
        if (visible[i]->isMaximized() || visible[i]->isMinimized())
            visible[i]->showNormal();
        visible[i]->setGeometry(column.left(), slices[i].top, column.width(), slices[i].height);
    }
}

bool CMainFrame::StackFollowsResize() const
{
    return stackFollower_->Following();
}

void CMainFrame::ShowStart(int index)
{
    StartRecord* start = StartAt(index);
    if (!start)
        return;
    ReadStart(index);

    ReleaseGraphTable();
    const int previous = shownStart_;
    shownStart_ = index;
    RestyleStartItem(previous);
    RestyleStartItem(index);
    shownStartPane_->setText(QString::fromStdString(ShownStartText(*start)));
    const auto& samples = start->samples;
    const std::size_t rows = std::min<std::size_t>(
        samples.size(), std::numeric_limits<int>::max() / (kGraphColumns + 1));
    try {
        graphTable_.resize(GraphTableSlots(rows, kGraphColumns));
        if (rows > 0) {
            const std::int64_t firstMs = samples.front().timeMs;
            for (std::size_t j = 0; j < rows; ++j) {
                const Sample& sample = samples[j];
                const auto timeMs = static_cast<std::int32_t>(sample.timeMs - firstMs);
                const std::array<double, kGraphColumns> values{sample.accZ, sample.ias,
                                                               sample.altitude};
                WriteGraphRow(graphTable_.data(), j, timeMs, values);
                shownDurationMs_ = std::max(shownDurationMs_, timeMs);
                if (sample.eventMark)
                    eventTimes_.push_back(timeMs);
            }
        }
    } catch (const std::bad_alloc&) {
        // Not enough memory for this start: the graphs show nothing.
        ReleaseGraphTable();
    }

    const int rowCount = RowCount(graphTable_);
    const GraphRow* table = rowCount > 0 ? graphTable_.data() : nullptr;
    for (CChildFrame* window : GraphWindowsInStackOrder()) {
        window->Pane().SetData(rowCount, table);
        window->Pane().Plot().SetEvents(static_cast<int>(eventTimes_.size()),
                                        eventTimes_.empty() ? nullptr : eventTimes_.data());
    }
    ConfigureAllGraphs();
    UpdateMenus();
    emit shownStartChanged();
}

const StartRecord* CMainFrame::ShownStart() const
{
    if (shownStart_ < 0 || static_cast<std::size_t>(shownStart_) >= recording_.size())
        return nullptr;
    return &recording_[static_cast<std::size_t>(shownStart_)];
}

void CMainFrame::ShowTimeRange(double fromSeconds, double toSeconds)
{
    if (!(toSeconds > fromSeconds) || !std::isfinite(fromSeconds) || !std::isfinite(toSeconds))
        return;
    // No narrower than a rubber band may zoom, inside the start where it
    // fits, with ticks that suit the span.
    const TimeRange range = ShowableRange(fromSeconds, toSeconds, kTimeMinSpan,
                                          shownDurationMs_ / double(kMillisecondsPerSecond));
    const double step = TimeTickStep(range.xMax - range.xMin);
    for (CChildFrame* window : GraphWindowsInStackOrder()) {
        ChangeTimeAxis(*window, [&](GraphSettings& settings) {
            settings.xMin = range.xMin;
            settings.xMax = range.xMax;
            settings.xMinorStep = step;
            settings.xMajorStep = step;
        });
    }
}

void CMainFrame::ApplyLimitLines(const std::optional<AircraftLimits>& previous)
{
    const GraphTable table(graphTable_.data(), RowCount(graphTable_));
    for (std::size_t i = 0; i < kGraphWindowCount; ++i) {
        const GraphWindowConfig& config = kGraphWindows[i].config;
        CGraphPane& pane = graphWindows_[i]->Pane();
        // An empty graph, before any start is shown, draws no lines either.
        const bool curveShown = pane.Plot().SeriesCount() > 0;
        std::vector<double> lines =
            curveShown ? LimitLinesOf(config.column, limits_) : std::vector<double>{};
        if (curveShown) {
            // A value range the user zoomed stays; the full one follows the lines.
            const ValueRange before =
                FullValueRange(config, table, LimitLinesOf(config.column, previous));
            const ValueRange now = FullValueRange(config, table, lines);
            GraphSettings settings = pane.GetSettings();
            if (settings.yMin == before.yMin && settings.yMax == before.yMax &&
                (now.yMin != before.yMin || now.yMax != before.yMax)) {
                settings.yMin = now.yMin;
                settings.yMax = now.yMax;
                pane.ApplySettings(settings);
            }
        }
        pane.Plot().SetLimitLines(std::move(lines));
        pane.Plot().MarkDirty();
        pane.update();
    }
}

void CMainFrame::ReleaseGraphTable()
{
    // The graphs let go of the table before it is freed.
    for (CChildFrame* window : GraphWindowsInStackOrder()) {
        window->Pane().SetData(0, nullptr);
        window->Pane().Plot().SetEvents(0, nullptr);
    }
    // A long start's table is given back, not kept for the next, shorter one.
    graphTable_.clear();
    graphTable_.shrink_to_fit();
    eventTimes_.clear();
    shownDurationMs_ = 0;
}

void CMainFrame::ConfigureAllGraphs()
{
    const int seconds = shownDurationMs_ / kMillisecondsPerSecond;
    {
        // The edges follow once every graph has its new labels.
        const QScopedValueRollback hold(plotEdgesHeld_, true);
        for (std::size_t i : GraphWindowsByStackSlot())
            ConfigureGraph(graphWindows_[i], kGraphWindows[i].config, seconds);
    }
    AlignPlotEdges();
}

void CMainFrame::ConfigureGraph(CChildFrame* window, const GraphWindowConfig& config, int seconds)
{
    CGraphPane& pane = window->Pane();
    CGraphPlot& plot = pane.Plot();
    const QString name = QString::fromUtf8(config.seriesName);

    plot.RemoveAllSeries();
    for (int slot = 1; slot <= 4; ++slot)
        pane.SetLegendSlot(slot, -1, QString(), false);
    plot.AddSeries({config.column, QColor(kSeriesRgb[0], kSeriesRgb[1], kSeriesRgb[2]), true, name,
                    name, false});
    pane.SetLegendSlot(1, config.column, name, true);

    // A start beyond the configured values gets a range that holds it, so
    // that its curve is not cut off or out of sight; so do the limits.
    std::vector<double> lines = LimitLinesOf(config.column, limits_);
    const ValueRange range =
        FullValueRange(config, GraphTable(graphTable_.data(), RowCount(graphTable_)), lines);
    plot.SetLimitLines(std::move(lines));

    GraphSettings settings = pane.GetSettings();
    settings.yMin = range.yMin;
    settings.yMax = range.yMax;
    settings.yMinorStep = config.yMinorStep;
    settings.yMajorStep = config.yMajorStep;
    settings.yLabelFormat = QString::fromUtf8(config.yLabelFormat);
    settings.yTitle = QString::fromUtf8(config.yTitle);
    settings.yMinSpan = config.yMinSpan;
    const int step = TimeStepFor(seconds);
    settings.xMin = 0;
    settings.xMax = seconds;
    settings.xMinorStep = step;
    settings.xMajorStep = step;
    settings.xLabelFormat = QString::fromUtf8(kTimeLabelFormat);
    settings.xTitle = QString::fromUtf8(kTimeTitle);
    settings.xMinSpan = kTimeMinSpan;

    plot.SetViewChangedCallback(&CMainFrame::SyncTimeAxes, this);
    // The Home key in a graph does what the full-view command does.
    connect(&pane, &CGraphPane::fullViewRequested, this, &CMainFrame::FullView,
            Qt::UniqueConnection);
    pane.ApplySettings(settings);
    plot.MarkDirty();
    pane.update();
}

void CMainFrame::SyncTimeAxes(void* userData, CGraphPlot& plot)
{
    static_cast<CMainFrame*>(userData)->SyncFrom(plot);
}

void CMainFrame::SyncFrom(CGraphPlot& plot)
{
    CChildFrame* source = nullptr;
    for (CChildFrame* window : GraphWindowsInStackOrder()) {
        if (&window->Pane().Plot() == &plot)
            source = window;
    }
    if (!source)
        return;
    const GraphSettings from = plot.GetSettings();
    for (CChildFrame* window : GraphWindowsInStackOrder()) {
        if (window == source)
            continue;
        const GraphSettings shown = window->Pane().GetSettings();
        if (shown.xMin == from.xMin && shown.xMax == from.xMax)
            continue;
        ChangeTimeAxis(*window, [&from](GraphSettings& settings) {
            settings.xMin = from.xMin;
            settings.xMax = from.xMax;
            settings.xMinorStep = from.xMinorStep;
            settings.xMajorStep = from.xMajorStep;
        });
    }
    // Every change of size, labels or value range comes through here.
    AlignPlotEdges();
    if (trackWindow_)
        trackWindow_->ShowTimeRange(from.xMin * from.timeScale, from.xMax * from.timeScale);
}

void CMainFrame::AlignPlotEdges()
{
    if (plotEdgesHeld_)
        return;
    // Applying the rooms below calls back into SyncFrom; that must not start
    // another round.
    const QScopedValueRollback hold(plotEdgesHeld_, true);
    struct Shown {
        CChildFrame* window;
        int width;
        EdgeRoom natural;
    };
    std::vector<Shown> shown;
    for (CChildFrame* window : GraphWindowsInStackOrder()) {
        if (window->isHidden())
            continue;
        CGraphPlot& plot = window->Pane().Plot();
        shown.push_back({window, plot.GetSettings().width, plot.NaturalRoom()});
    }
    // Only graphs of one width can share their pixel columns: the stacked
    // layout, or a user's windows that happen to match.
    for (const Shown& graph : shown) {
        EdgeRoom widest;
        for (const Shown& other : shown) {
            if (other.width != graph.width)
                continue;
            widest.left = std::max(widest.left, other.natural.left);
            widest.right = std::max(widest.right, other.natural.right);
        }
        CGraphPane& pane = graph.window->Pane();
        GraphSettings settings = pane.GetSettings();
        if (settings.leastLeftRoom == widest.left && settings.leastRightRoom == widest.right)
            continue;
        settings.leastLeftRoom = widest.left;
        settings.leastRightRoom = widest.right;
        pane.ApplySettings(settings);
        pane.update();
    }
}

void CMainFrame::ZoomTimeAxis(ZoomDirection direction)
{
    CChildFrame* window = ActiveGraphWindow();
    if (!window)
        return;
    ChangeTimeAxis(*window, [direction](GraphSettings& settings) {
        const double span = settings.xMax - settings.xMin;
        bool keepMin = true;
        double factor = kZoomFactorInside;
        if (settings.xMin == 0) {
            factor = kZoomFactorAtEdge;
        } else if (settings.xMax == 0) {
            keepMin = false;
            factor = kZoomFactorAtEdge;
        }
        const NiceSpanResult nice = NiceSpan(span, direction, factor);
        if (keepMin)
            settings.xMax = settings.xMin + nice.span;
        else
            settings.xMin = settings.xMax - nice.span;
        settings.xMajorStep = nice.majorStep;
        settings.xMinorStep = nice.minorStep;
    });
}

void CMainFrame::ShiftTimeAxis(bool right)
{
    CChildFrame* window = ActiveGraphWindow();
    if (!window)
        return;
    const int lastSecond = shownDurationMs_ / kMillisecondsPerSecond;
    ChangeTimeAxis(*window, [right, lastSecond](GraphSettings& settings) {
        const TimeRange range{settings.xMin, settings.xMax};
        const TimeRange moved = right ? ShiftedRight(range, settings.xMajorStep, lastSecond)
                                      : ShiftedLeft(range, settings.xMajorStep);
        settings.xMin = moved.xMin;
        settings.xMax = moved.xMax;
    });
}

void CMainFrame::FullView()
{
    ConfigureAllGraphs();
}

void CMainFrame::OnMarker(void* userData, int row, QPoint /*screenPos*/)
{
    static_cast<CMainFrame*>(userData)->MarkSample(row);
}

void CMainFrame::MarkSample(int row)
{
    const int rowCount = RowCount(graphTable_);
    if (row < 0 || row >= rowCount)
        return;
    const GraphTable table(graphTable_.data(), rowCount);
    const double seconds = table.Time(row) * 0.001;
    const double accZ = table.Value(row, kAccelerationColumn);
    const double ias = table.Value(row, kSpeedColumn);
    const double altitude = table.Value(row, kAltitudeColumn);
    for (CChildFrame* window : GraphWindowsInStackOrder())
        window->Pane().Plot().SetMarkerRow(row);
    for (CChildFrame* window : graphWindows_)
        window->Pane().update();
    SetStatusText(QString::fromStdString(MarkerText(seconds, accZ, ias, altitude)));
    emit sampleMarked(row);
}

}  // namespace veltrin
