#include "graph/graph_plot.h"

#include "graph/curve_points.h"
#include "graph/graph_constants.h"
#include "graph/ticks.h"
#include "graph/view_window.h"
#include "graph/x_label_row.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPen>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <utility>

namespace veltrin {

namespace gc = graph_constants;

namespace {

QPen CosmeticPen(const QColor& colour, int width, Qt::PenStyle style)
{
    QPen pen(colour, width, style);
    pen.setCosmetic(true);
    return pen;
}

double ScreenDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
}

QRect Ltrb(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// The measured range: a light wash of the marker's colour behind the curves,
// and cursor B as a dashed line of that colour.
const QColor kRangeShadeColour{255, 128, 0, 48};

// Axis texts are centred across their box and hang from its top edge; a box may
// be lower than the text (the x label row), which then runs on below it.
constexpr int kAxisTextAlign = Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip;

// Draws `text` as an axis text in `box`, on an opaque background of the text's
// own size.
void DrawOpaqueText(QPainter& p, const QFontMetrics& fm, const QRect& box, const QString& text,
                    const QColor& background)
{
    if (text.isEmpty())
        return;
    QRect cell(0, box.top(), fm.horizontalAdvance(text), fm.height());
    cell.moveLeft(box.left() + (box.width() - cell.width()) / 2);
    p.fillRect(cell, background);
    p.drawText(box, kAxisTextAlign, text);
}

}  // namespace

CGraphPlot::CGraphPlot() = default;

void CGraphPlot::ApplySettings(const GraphSettings& settings)
{
    settings_ = settings;
    dirty_ = true;
    // A scale of 0, below 0 or not a number would divide by zero everywhere.
    if (!(settings_.timeScale > 0.0) || !std::isfinite(settings_.timeScale))
        settings_.timeScale = 1.0;
    NormaliseRanges(settings_);

    const int width = std::max(0, settings_.width);
    const int height = std::max(0, settings_.height);
    if (bitmap_.isNull() || bitmap_.width() != width || bitmap_.height() != height) {
        if (width > 0 && height > 0) {
            bitmap_ = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
            // Point sizes of the label font follow the screen's resolution.
            const int dotsPerMetre = static_cast<int>(std::lround(ScreenDpi() / 0.0254));
            bitmap_.setDotsPerMeterX(dotsPerMetre);
            bitmap_.setDotsPerMeterY(dotsPerMetre);
        } else {
            bitmap_ = QImage();
        }
    }
    viewSpan_ = (settings_.xMax - settings_.xMin) * settings_.timeScale;
    RecomputeViewWindow();
    measures_.yLabelWidth = 0;
    measures_.labelHeight = 0;

    if (viewChanged_ != nullptr && !inCallback_) {
        inCallback_ = true;
        viewChanged_(viewChangedData_, *this);
        inCallback_ = false;
    }
}

void CGraphPlot::RecomputeViewWindow()
{
    const ViewWindow current{settings_.xMin, settings_.xMax, timeOrigin_, firstRow_};
    const ViewWindow w = ComputeViewWindow(table_, settings_.viewMode, viewSpan_,
                                           settings_.timeScale, settings_.scatterWindow, current);
    settings_.xMin = w.xMin;
    settings_.xMax = w.xMax;
    timeOrigin_ = w.timeOrigin;
    firstRow_ = w.firstRow;
}

void CGraphPlot::SetData(int count, const GraphRow* rows)
{
    table_ = GraphTable(rows, count);
    dirty_ = true;
    firstRow_ = 0;
    RecomputeViewWindow();
}

void CGraphPlot::SetLimitLines(std::vector<double> values)
{
    limitLines_ = std::move(values);
    dirty_ = true;
}

void CGraphPlot::SetEvents(int count, const double* timesMs)
{
    if (timesMs == nullptr || count <= 0)
        events_ = {};
    else
        events_ = std::span<const double>(timesMs, static_cast<std::size_t>(count));
    dirty_ = true;
}

int CGraphPlot::AddSeries(const GraphSeries& series)
{
    series_.push_back(series);
    dirty_ = true;
    return static_cast<int>(series_.size()) - 1;
}

void CGraphPlot::RemoveSeries(std::int32_t column)
{
    const auto it = std::find_if(series_.begin(), series_.end(),
                                 [column](const GraphSeries& s) { return s.column == column; });
    if (it == series_.end())
        return;
    series_.erase(it);
    dirty_ = true;
}

void CGraphPlot::RemoveAllSeries()
{
    series_.clear();
    dirty_ = true;
}

const GraphSeries* CGraphPlot::SeriesAt(int index) const
{
    if (index < 0 || index >= SeriesCount())
        return nullptr;
    return &series_[static_cast<std::size_t>(index)];
}

bool CGraphPlot::SetSeriesAt(int index, const GraphSeries& series)
{
    if (index < 0 || index >= SeriesCount())
        return false;
    series_[static_cast<std::size_t>(index)] = series;
    dirty_ = true;
    return true;
}

void CGraphPlot::SetMarkerRow(int row)
{
    dirty_ = true;
    if (row < 0 || row >= table_.Count()) {
        markerShown_ = false;  // the time stays for a later double-click
        return;
    }
    markerTimeMs_ = table_.Time(row);
    markerShown_ = true;
}

void CGraphPlot::SetMarkerTime(double timeMs)
{
    markerTimeMs_ = timeMs;
    markerShown_ = true;
    dirty_ = true;
}

void CGraphPlot::SetRangeEndRow(int row)
{
    if (row < 0 || row >= table_.Count()) {
        ClearRangeEnd();
        return;
    }
    SetRangeEndTime(table_.Time(row));
}

void CGraphPlot::SetRangeEndTime(double timeMs)
{
    rangeEndMs_ = timeMs;
    rangeEndShown_ = true;
    dirty_ = true;
}

void CGraphPlot::ClearRangeEnd()
{
    rangeEndShown_ = false;
    dirty_ = true;
}

void CGraphPlot::SetViewChangedCallback(ViewChangedCallback callback, void* userData)
{
    viewChanged_ = callback;
    viewChangedData_ = userData;
}

QRect CGraphPlot::GetPlotArea()
{
    return GetPlotAreaEdges().ToRect();
}

PlotArea CGraphPlot::GetPlotAreaEdges()
{
    if (dirty_)
        Render();
    return area_;
}

EdgeRoom CGraphPlot::NaturalRoom()
{
    if (bitmap_.isNull())
        return {};
    fontTenths_ = LabelFontTenths(bitmap_.width(), bitmap_.height());
    MeasureLabels(QFontMetrics(LabelFont(), &bitmap_));
    const PlotArea bounds{0, 0, bitmap_.width(), bitmap_.height()};
    const int inset = FrameInset();
    const PlotArea outer{inset, inset, bounds.right - inset, bounds.bottom - inset};
    const PlotArea natural = LayoutPlotArea(outer, settings_.leftMargin, settings_.showXAxis,
                                            settings_.showYAxis, measures_, bounds, {});
    return RoomAround(natural, bounds);
}

const QImage& CGraphPlot::GetBitmap()
{
    if (dirty_)
        Render();
    return bitmap_;
}

void CGraphPlot::GetDataTimeRange(double& first, double& last) const
{
    const DataTimeRange r = DataTimeRangeOf(table_, timeOrigin_, settings_.timeScale);
    first = r.first;
    last = r.last;
}

int CGraphPlot::RowAtX(double x) const
{
    if (table_.Empty())
        return -1;
    const double t = x * settings_.timeScale * 1000.0 + static_cast<double>(timeOrigin_);
    if (!std::isfinite(t))
        return -1;
    // Truncated to whole milliseconds; far-off values saturate instead of overflowing.
    const double ms = std::trunc(std::clamp(t, -gc::kMaxTimeMs, gc::kMaxTimeMs));
    return RowAtTime(table_, static_cast<std::int64_t>(ms));
}

void CGraphPlot::DrawSelectionOutline(const QRect& rect)
{
    dirty_ = true;
    if (bitmap_.isNull())
        return;
    const QRect r = rect.normalized().intersected(bitmap_.rect());
    if (r.isEmpty())
        return;
    // Invert every other pixel of the outline, so the band shows on any colour and
    // drawing it twice would restore the picture.
    auto invert = [this](int x, int y) {
        if (((x + y) & 1) != 0)
            return;
        auto* line = reinterpret_cast<QRgb*>(bitmap_.scanLine(y));
        line[x] ^= 0x00FFFFFFu;
    };
    for (int x = r.left(); x <= r.right(); ++x) {
        invert(x, r.top());
        if (r.bottom() != r.top())
            invert(x, r.bottom());
    }
    for (int y = r.top() + 1; y < r.bottom(); ++y) {
        invert(r.left(), y);
        if (r.right() != r.left())
            invert(r.right(), y);
    }
}

void CGraphPlot::Render()
{
    dirty_ = false;
    if (bitmap_.isNull())
        return;
    QPainter p(&bitmap_);
    fontTenths_ = LabelFontTenths(bitmap_.width(), bitmap_.height());
    Draw(p, bitmap_.size(), EdgeRoom{settings_.leastLeftRoom, settings_.leastRightRoom});
}

void CGraphPlot::RenderOnto(QPainter& painter, const QRect& target, const PlotPrintStyle& style)
{
    if (target.isEmpty() || painter.device() == nullptr)
        return;
    // What the bitmap's gestures read is kept and put back afterwards.
    const PlotArea area = area_;
    const LabelMeasures measures = measures_;
    const AxisMapping mapping = mapping_;
    const int tenths = fontTenths_;
    fontTenths_ = style.fontTenths;
    measures_ = {};
    lineWidth_ = std::max(1, style.lineWidth);
    curveWidth_ = std::max(1, style.curveWidth);

    painter.save();
    painter.translate(target.topLeft());
    painter.setClipRect(QRect(QPoint(0, 0), target.size()));
    EdgeRoom least;
    if (style.edgeRoomScale > 0.0) {
        least.left = static_cast<int>(std::lround(settings_.leastLeftRoom * style.edgeRoomScale));
        least.right = static_cast<int>(std::lround(settings_.leastRightRoom * style.edgeRoomScale));
    }
    Draw(painter, target.size(), least);
    painter.restore();

    area_ = area;
    measures_ = measures;
    mapping_ = mapping;
    fontTenths_ = tenths;
    lineWidth_ = 1;
    curveWidth_ = 1;
}

QPen CGraphPlot::LinePen(const QColor& colour, Qt::PenStyle style) const
{
    return CosmeticPen(colour, lineWidth_, style);
}

QFont CGraphPlot::LabelFont() const
{
    QFont font(settings_.fontFace);
    font.setPointSizeF(fontTenths_ / 10.0);
    return font;
}

void CGraphPlot::MeasureLabels(const QFontMetrics& fm)
{
    if (measures_.yLabelWidth == 0 && measures_.labelHeight == 0) {
        int widest = 0;
        int tallest = 0;
        for (double v : TickValues(settings_.yMin, settings_.yMax, settings_.yMajorStep)) {
            widest =
                std::max(widest, fm.horizontalAdvance(FormatLabelRaw(settings_.yLabelFormat, v)));
            tallest = std::max(tallest, fm.height());
        }
        measures_.yLabelWidth = widest + fm.horizontalAdvance(settings_.yTitle) + 5;
        measures_.labelHeight = tallest;
    }
    measures_.cw = fm.horizontalAdvance(QLatin1Char('w'));
    measures_.h2 = fm.height() / 2;
}

void CGraphPlot::Draw(QPainter& p, QSize size, EdgeRoom least)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    const PlotArea bounds{0, 0, size.width(), size.height()};
    PlotArea area = bounds;

    const QFont font = LabelFont();
    p.setFont(font);
    p.setBackgroundMode(Qt::TransparentMode);
    MeasureLabels(QFontMetrics(font, p.device()));

    p.fillRect(Ltrb(area.left, area.top, area.right + 1, area.bottom + 1),
               settings_.backgroundColour);
    DrawFrame(p, area);

    area_ = LayoutPlotArea(area, settings_.leftMargin, settings_.showXAxis, settings_.showYAxis,
                           measures_, bounds, least);
    mapping_ = AxisMapping::For(area_, settings_.xMin, settings_.xMax, settings_.yMin,
                                settings_.yMax, timeOrigin_, settings_.timeScale);
    // A window shrunk below the room the labels need has no usable scale; it
    // shows just its background.
    if (!mapping_.Usable())
        return;

    DrawRangeShade(p);
    if (settings_.showXAxis)
        DrawXAxis(p, size.width());
    if (settings_.showYAxis)
        DrawYAxis(p);
    if (settings_.showGrid)
        DrawGrid(p);
    DrawLimitLines(p);
    DrawEventsAndMarker(p);
    DrawRangeEnd(p);
    DrawCurves(p);
}

int CGraphPlot::FrameInset() const
{
    const FrameStyle style = settings_.frameStyle;
    const bool drawn = style == FrameStyle::Raised || style == FrameStyle::Sunken ||
                       style == FrameStyle::RaisedRing || style == FrameStyle::SunkenRing;
    return drawn ? settings_.frameWidth + 2 : 0;
}

void CGraphPlot::DrawFrame(QPainter& p, PlotArea& area) const
{
    const FrameStyle style = settings_.frameStyle;
    if (style != FrameStyle::Raised && style != FrameStyle::Sunken &&
        style != FrameStyle::RaisedRing && style != FrameStyle::SunkenRing)
        return;
    // A raised or sunken border; the ring forms add an inner ring of the opposite sense.
    const bool raised = style == FrameStyle::Raised || style == FrameStyle::RaisedRing;
    const int width = std::max(1, settings_.frameWidth);
    const QColor& outerLight = raised ? gc::kFrameWhite : gc::kFrameDark;
    const QColor& outerDark = raised ? gc::kFrameDark : gc::kFrameWhite;
    QRect r = Ltrb(area.left, area.top, area.right, area.bottom);
    for (int i = 0; i < width; ++i) {
        const bool inner =
            (style == FrameStyle::RaisedRing || style == FrameStyle::SunkenRing) && i >= width / 2;
        const QColor& light = inner ? gc::kFrameLight : outerLight;
        const QColor& dark = inner ? outerLight : outerDark;
        p.setPen(LinePen(light));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(LinePen(dark));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        r.adjust(1, 1, -1, -1);
    }
    if (r.isValid())
        p.fillRect(r, settings_.backgroundColour);
    const int inset = FrameInset();
    area.left += inset;
    area.top += inset;
    area.right -= inset;
    area.bottom -= inset;
}

void CGraphPlot::DrawXAxis(QPainter& p, int rowRight) const
{
    const AxisMapping& m = mapping_;
    const GraphSettings& s = settings_;
    const int h2 = measures_.h2;
    const int y = m.PixelY(s.yMin);
    p.setPen(LinePen(s.axisColour));
    p.drawLine(m.PixelX(s.xMin), y, m.PixelX(s.xMax), y);
    for (double v : TickValues(s.xMin, s.xMax, s.xMinorStep))
        p.drawLine(m.PixelX(v), y, m.PixelX(v), y + h2);
    const std::vector<double> majors = TickValues(s.xMin, s.xMax, s.xMajorStep);
    for (double v : majors)
        p.drawLine(m.PixelX(v), y, m.PixelX(v), y + static_cast<int>(1.3 * h2));

    const QFontMetrics fm = p.fontMetrics();
    const int top = y + static_cast<int>(1.5 * h2);
    const int bottom = y + static_cast<int>(2.5 * h2);
    const XLabelRow row = LayoutXLabelRow(
        m, s, [&fm](const QString& text) { return fm.horizontalAdvance(text); }, rowRight);
    p.setPen(s.textColour);
    for (const XLabel& label : row.labels) {
        const int half = label.width / 2;
        p.drawText(Ltrb(label.x - half, top, label.x + half, bottom), kAxisTextAlign, label.text);
    }
    // The title sits in the label row, a third of a step left of the end; the label
    // it would have covered was left out above.
    if (row.hasTitle)
        DrawOpaqueText(p, fm, Ltrb(row.titleLeft, top, row.titleRight, bottom), s.xTitle,
                       s.backgroundColour);
}

void CGraphPlot::DrawYAxis(QPainter& p) const
{
    const AxisMapping& m = mapping_;
    const GraphSettings& s = settings_;
    const int cw = measures_.cw;
    const int x = m.PixelX(s.xMin);
    p.setPen(LinePen(s.axisColour));
    p.drawLine(x, m.PixelY(s.yMin), x, m.PixelY(s.yMax));
    for (double v : TickValues(s.yMin, s.yMax, s.yMinorStep))
        p.drawLine(x, m.PixelY(v), x - cw, m.PixelY(v));
    const std::vector<double> majors = TickValues(s.yMin, s.yMax, s.yMajorStep);
    for (double v : majors)
        p.drawLine(x, m.PixelY(v), x - static_cast<int>(1.5 * cw), m.PixelY(v));

    const QFontMetrics fm = p.fontMetrics();
    const int right = x - static_cast<int>(1.7 * cw);
    p.setPen(s.textColour);
    for (double v : majors) {
        const QString text = FormatLabel(s.yLabelFormat, v);
        const int w = fm.horizontalAdvance(text);
        const int t = fm.height();
        const int y = m.PixelY(v);
        p.drawText(Ltrb(right - w, y - t / 2, right, y + t / 2),
                   Qt::AlignRight | Qt::AlignTop | Qt::TextDontClip, text);
    }
    if (s.yMajorStep > 0.0) {
        const int left = s.leftMargin + s.frameWidth;
        const int top = s.frameWidth;
        DrawOpaqueText(p, fm,
                       Ltrb(left, top, left + fm.horizontalAdvance(s.yTitle), top + fm.height()),
                       s.yTitle, s.backgroundColour);
    }
}

void CGraphPlot::DrawGrid(QPainter& p) const
{
    const AxisMapping& m = mapping_;
    const GraphSettings& s = settings_;
    p.setPen(LinePen(s.axisColour, Qt::DotLine));
    for (double v : TickValues(s.xMin, s.xMax, s.xMajorStep, false))
        p.drawLine(m.PixelX(v), m.PixelY(s.yMin), m.PixelX(v), m.PixelY(s.yMax));
    for (double v : TickValues(s.yMin, s.yMax, s.yMajorStep, false))
        p.drawLine(m.PixelX(s.xMin), m.PixelY(v), m.PixelX(s.xMax), m.PixelY(v));
}

void CGraphPlot::DrawLimitLines(QPainter& p) const
{
    const AxisMapping& m = mapping_;
    const GraphSettings& s = settings_;
    p.setPen(LinePen(gc::kLimitLineColour, Qt::DashLine));
    for (double y : limitLines_) {
        if (y >= s.yMin && y <= s.yMax)
            p.drawLine(m.PixelX(s.xMin), m.PixelY(y), m.PixelX(s.xMax), m.PixelY(y));
    }
}

void CGraphPlot::DrawEventsAndMarker(QPainter& p) const
{
    const AxisMapping& m = mapping_;
    const GraphSettings& s = settings_;
    auto vertical = [&](double timeMs) {
        const double x = m.XOfTime(timeMs);
        if (x >= s.xMin && x <= s.xMax)
            p.drawLine(m.PixelX(x), m.PixelY(s.yMin), m.PixelX(x), m.PixelY(s.yMax));
    };
    p.setPen(LinePen(s.eventColour));
    for (double e : events_)
        vertical(e);
    if (markerShown_) {
        p.setPen(LinePen(gc::kMarkerColour));
        vertical(markerTimeMs_);
    }
}

void CGraphPlot::DrawRangeShade(QPainter& p) const
{
    if (!markerShown_ || !rangeEndShown_)
        return;
    const AxisMapping& m = mapping_;
    // Between the two cursor columns, both included, cut to the plot area; a
    // range wholly outside the view shades nothing.
    const double a = m.XOfTime(markerTimeMs_);
    const double b = m.XOfTime(rangeEndMs_);
    const double from = std::max(std::min(a, b), settings_.xMin);
    const double to = std::min(std::max(a, b), settings_.xMax);
    if (from > to)
        return;
    const int left = std::max(m.PixelX(from), area_.left);
    const int right = std::min(m.PixelX(to) + 1, area_.right);
    const int top = std::max(m.PixelY(settings_.yMax), area_.top);
    const int bottom = std::min(m.PixelY(settings_.yMin), area_.bottom);
    if (right > left && bottom > top)
        p.fillRect(Ltrb(left, top, right, bottom), kRangeShadeColour);
}

void CGraphPlot::DrawRangeEnd(QPainter& p) const
{
    if (!rangeEndShown_)
        return;
    const AxisMapping& m = mapping_;
    const GraphSettings& s = settings_;
    const double x = m.XOfTime(rangeEndMs_);
    if (x < s.xMin || x > s.xMax)
        return;
    p.setPen(LinePen(gc::kMarkerColour, Qt::DashLine));
    p.drawLine(m.PixelX(x), m.PixelY(s.yMin), m.PixelX(x), m.PixelY(s.yMax));
}

void CGraphPlot::DrawCurves(QPainter& p)
{
    if (table_.Empty())
        return;
    // The scatter modes take x from a value column, which is never chosen: no curve.
    if ((settings_.viewMode == ViewMode::Scatter || settings_.viewMode == ViewMode::ScatterAlike) &&
        (scatterColumn_ < 0 || scatterColumn_ >= table_.Columns()))
        return;
    // The clip takes in the column of xMax and the row of yMin, where the axes run:
    // a curve lying on the x axis (a speed of 0 on the ground) stays visible.
    p.setClipRect(CurveClip(area_));
    for (const GraphSeries& series : series_) {
        if (!series.visible)
            continue;
        if (series.column < 0 || series.column >= table_.Columns())
            break;  // an entry with a column the table lacks ends the curve drawing
        if (reduceCurves_)
            ReducedCurvePoints(table_, series.column, firstRow_, mapping_, points_);
        else
            FullCurvePoints(table_, series.column, firstRow_, mapping_, points_);
        if (points_.empty())
            continue;
        p.setPen(CosmeticPen(series.colour, curveWidth_, Qt::SolidLine));
        p.drawPolyline(points_.data(), static_cast<int>(points_.size()));
    }
    p.setClipping(false);
}

}  // namespace veltrin
