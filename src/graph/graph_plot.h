#pragma once
// CGraphPlot: the window-less part of a graph. It holds the settings, the borrowed
// data table and event times, the series and the marker, and renders itself lazily
// into an off-screen bitmap.

#include "graph/axis_mapping.h"
#include "graph/graph_callbacks.h"
#include "graph/graph_row.h"
#include "graph/graph_series.h"
#include "graph/graph_settings.h"
#include "graph/plot_layout.h"

#include <QImage>
#include <QPen>
#include <QRect>

#include <cstdint>
#include <span>
#include <vector>

class QFont;
class QFontMetrics;
class QPainter;

namespace veltrin {

// How RenderOnto draws for paper or a PDF file: the label font size, and the
// widths of the lines and of the curves in pixels of the target device.
struct PlotPrintStyle {
    int fontTenths = 70;
    int lineWidth = 1;
    int curveWidth = 1;
    // Pictures of the screen keep the room the graphs share on screen (the
    // settings' least left and right room), scaled by this; paper (0) has no
    // neighbours to line up with and takes the labels' own room.
    double edgeRoomScale = 0.0;
};

class CGraphPlot {
public:
    CGraphPlot();

    // Copies `settings`, normalises the ranges, recreates the bitmap when the size
    // changed, re-derives the view window, and calls the view-changed callback.
    void ApplySettings(const GraphSettings& settings);
    // The current record, after normalisation and view-window adjustment.
    GraphSettings GetSettings() const { return settings_; }

    // Borrows `count` rows starting at `rows` (null / 0 for none); the owner keeps
    // them unchanged until it hands over another table.
    void SetData(int count, const GraphRow* rows);
    // Borrows `count` event times in ms (same clock as the rows).
    void SetEvents(int count, const double* timesMs);

    // Draws a dashed horizontal line at each of `values` (y axis units) that
    // lies inside the y range, such as an aircraft's load or speed limits.
    void SetLimitLines(std::vector<double> values);
    const std::vector<double>& LimitLines() const { return limitLines_; }

    // Appends a series; returns its index.
    int AddSeries(const GraphSeries& series);
    // Removes the first series drawing `column`; nothing if there is none.
    void RemoveSeries(std::int32_t column);
    void RemoveAllSeries();
    int SeriesCount() const { return static_cast<int>(series_.size()); }
    // Null when `index` is outside the list.
    const GraphSeries* SeriesAt(int index) const;
    // Replaces entry `index`; false when it does not exist.
    bool SetSeriesAt(int index, const GraphSeries& series);

    // Row outside 0..count-1: marker hidden (its time kept); else shown at that row.
    void SetMarkerRow(int row);
    void SetMarkerTime(double timeMs);
    double MarkerTime() const { return markerTimeMs_; }
    bool MarkerShown() const { return markerShown_; }

    // Cursor B, the other end of a measured range (times in ms like the marker's).
    // While the marker and B are both shown the range between them is shaded.
    // Row outside 0..count-1: B goes.
    void SetRangeEndRow(int row);
    void SetRangeEndTime(double timeMs);
    void ClearRangeEnd();
    bool RangeEndShown() const { return rangeEndShown_; }
    double RangeEndTime() const { return rangeEndMs_; }

    void SetViewChangedCallback(ViewChangedCallback callback, void* userData);

    // Renders if needed; the plot area in bitmap (= client) pixels.
    QRect GetPlotArea();
    PlotArea GetPlotAreaEdges();
    // The room left and right of the plot area that the labels, titles, margin
    // and frame need at the bitmap's size, whatever least room the settings ask
    // for; none before the first ApplySettings. Measures without rendering.
    EdgeRoom NaturalRoom();
    // Renders if needed; null image before the first ApplySettings.
    const QImage& GetBitmap();
    void MarkDirty() { dirty_ = true; }
    // Draws the plot into `target` (in pixels of the painter's device, at its
    // resolution) as the bitmap shows it at that size, sharp on paper and in
    // vector output. The bitmap and the layout that the gestures read are left
    // as they were.
    void RenderOnto(QPainter& painter, const QRect& target, const PlotPrintStyle& style);
    bool IsDirty() const { return dirty_; }

    // Axis values of the first and last row; both 0 without rows.
    void GetDataTimeRange(double& first, double& last) const;
    // Row at x axis value `x`; -1 without rows or outside the data's time range.
    int RowAtX(double x) const;

    // Inverts a 1-pixel halftone outline of `rect` in the bitmap (the rubber band)
    // and marks the plot dirty so the next request starts from a clean render.
    void DrawSelectionOutline(const QRect& rect);

    // Curve drawing with one vertex per pixel-column extreme (default) or one per row.
    void SetCurveReduction(bool on)
    {
        reduceCurves_ = on;
        dirty_ = true;
    }

    const GraphTable& Table() const { return table_; }
    std::int64_t TimeOrigin() const { return timeOrigin_; }
    int FirstRow() const { return firstRow_; }
    const AxisMapping& Mapping() const { return mapping_; }
    const LabelMeasures& Measures() const { return measures_; }
    int FontTenths() const { return fontTenths_; }

private:
    void RecomputeViewWindow();
    void Render();
    // Draws everything into a device area of `size` pixels at the origin of `p`,
    // the plot area keeping at least `least` from its edges.
    void Draw(QPainter& p, QSize size, EdgeRoom least);
    QFont LabelFont() const;
    // Fills measures_ for the label font metrics `fm`; the label widths only
    // when not yet measured since the last ApplySettings.
    void MeasureLabels(const QFontMetrics& fm);
    // Pixels a drawn frame takes from each side of the bitmap; 0 without one.
    int FrameInset() const;
    QPen LinePen(const QColor& colour, Qt::PenStyle style = Qt::SolidLine) const;
    void DrawFrame(QPainter& p, PlotArea& area) const;
    // `rowRight`: the right edge of the device area, which no label may reach.
    void DrawXAxis(QPainter& p, int rowRight) const;
    void DrawYAxis(QPainter& p) const;
    void DrawGrid(QPainter& p) const;
    void DrawLimitLines(QPainter& p) const;
    void DrawEventsAndMarker(QPainter& p) const;
    void DrawRangeShade(QPainter& p) const;
    void DrawRangeEnd(QPainter& p) const;
    void DrawCurves(QPainter& p);

    GraphSettings settings_;
    QImage bitmap_;
    bool dirty_ = true;
    PlotArea area_;
    LabelMeasures measures_;
    AxisMapping mapping_;
    int fontTenths_ = 0;
    double viewSpan_ = 60.0;
    std::int64_t timeOrigin_ = 0;
    int firstRow_ = 0;
    GraphTable table_;
    std::span<const double> events_;
    std::vector<double> limitLines_;
    std::vector<GraphSeries> series_;
    int scatterColumn_ = -1;  // x column of the scatter modes; never set by the application
    double markerTimeMs_ = 0.0;
    bool markerShown_ = false;
    double rangeEndMs_ = 0.0;
    bool rangeEndShown_ = false;
    ViewChangedCallback viewChanged_ = nullptr;
    void* viewChangedData_ = nullptr;
    bool inCallback_ = false;
    bool reduceCurves_ = true;
    std::vector<QPoint> points_;
    int lineWidth_ = 1;  // pen widths: 1 except while RenderOnto draws
    int curveWidth_ = 1;
};

}  // namespace veltrin
