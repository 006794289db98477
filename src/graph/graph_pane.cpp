#include "graph/graph_pane.h"

#include "graph/graph_constants.h"
#include "graph/view_window.h"
#include "graph/zoom_rules.h"

#include <QKeyEvent>
#include <QNativeGestureEvent>
#include <QWheelEvent>

#include <cmath>

namespace veltrin {

namespace gc = graph_constants;

namespace {

constexpr double kKeyPanPart = 0.1;  // Left / Right move a tenth of the view

}  // namespace

CGraphPane::CGraphPane(QWidget* parent) : CLegendGraph(parent, false)
{
}

void CGraphPane::SetLegendSlot(int slot, std::int32_t column, const QString& name, bool visible)
{
    if (slot < 1 || slot > gc::kLegendSlots)
        return;
    // Slot k takes palette entry k; the palette has four entries, so slot 4 wraps
    // round to entry 0.
    const QColor& colour = gc::kLegendPalette[static_cast<std::size_t>(slot % gc::kLegendSlots)];
    if (const GraphSeries* entry = Plot().SeriesAt(slot - 1)) {
        GraphSeries changed = *entry;
        changed.column = column;
        changed.colour = colour;
        changed.visible = visible;
        changed.name = name;
        changed.label = name;
        Plot().SetSeriesAt(slot - 1, changed);
        update();
    }
    CLegendButton* button = LegendButton(slot);
    button->setToolTip(name);
    button->SetSwatch(colour, true);
    button->setChecked(visible);
}

DataSpan CGraphPane::DataRange() const
{
    DataSpan range;
    Plot().GetDataTimeRange(range.first, range.last);
    return range;
}

void CGraphPane::ApplyZoom(const GraphSettings& changed, bool newZoom)
{
    const GraphSettings before = Plot().GetSettings();
    if (newZoom)
        burstPending_ = true;
    ApplySettings(changed);
    if (burstPending_ && RangesDiffer(ZoomStateOf(before), Plot().GetSettings())) {
        EditableHistory().Push(ZoomStateOf(before));
        burstPending_ = false;
    }
    update();
}

bool CGraphPane::WheelZoom(QPointF at, double factor, bool valueAxis, std::int64_t timestamp)
{
    const PlotArea& area = Area();
    if (!Interactive() || Plot().Table().Empty() || SelectionActive() || area.Empty())
        return false;
    GraphSettings s = GetSettings();
    if (valueAxis) {
        const double y = s.yMax - (at.y() - area.top) / area.Height() * (s.yMax - s.yMin);
        ZoomValueAround(s, y, factor);
    } else {
        const double x = s.xMin + (at.x() - area.left) / area.Width() * (s.xMax - s.xMin);
        ZoomTimeAround(s, x, factor, DataRange());
    }
    ApplyZoom(s, burst_.BeginsNew(timestamp));
    return true;
}

void CGraphPane::PanBy(double dx)
{
    GraphSettings s = GetSettings();
    PanTime(s, dx, DataRange());
    ApplySettings(s);
    update();
}

void CGraphPane::wheelEvent(QWheelEvent* event)
{
    const PlotArea& area = Area();
    if (!Interactive() || Plot().Table().Empty() || SelectionActive() || area.Empty()) {
        event->ignore();
        return;
    }
    const QPoint angle = event->angleDelta();
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    const bool sideways = std::abs(angle.x()) > std::abs(angle.y());
    if (shift || sideways) {
        // Some systems turn Shift + wheel into a sideways turn themselves.
        const int turn = angle.x() != 0 ? angle.x() : angle.y();
        const GraphSettings s = GetSettings();
        const double span = s.xMax - s.xMin;
        // A touchpad scroll carries pixels: the curve follows the fingers.
        const QPoint pixels = event->pixelDelta();
        const int pixelTurn = pixels.x() != 0 ? pixels.x() : pixels.y();
        const double dx = pixelTurn != 0 && !shift ? -pixelTurn * span / area.Width()
                                                   : -turn * span * kKeyPanPart / kWheelNotchAngle;
        PanBy(dx);
    } else if (angle.y() != 0) {
        WheelZoom(event->position(), WheelSpanFactor(angle.y()),
                  event->modifiers().testFlag(Qt::ControlModifier),
                  static_cast<std::int64_t>(event->timestamp()));
    }
    event->accept();
}

bool CGraphPane::event(QEvent* event)
{
    if (event->type() == QEvent::NativeGesture) {
        auto* gesture = static_cast<QNativeGestureEvent*>(event);
        if (gesture->gestureType() == Qt::ZoomNativeGesture) {
            // The pinch value is the growth of the picture: 0.1 shows a tenth more.
            const double grow = 1.0 + gesture->value();
            if (grow > 0)
                WheelZoom(gesture->position(), 1.0 / grow, false,
                          static_cast<std::int64_t>(gesture->timestamp()));
        }
        event->accept();
        return true;
    }
    return CLegendGraph::event(event);
}

void CGraphPane::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A zoom by double-click or a step back ends the wheel's burst.
    burst_.Reset();
    CLegendGraph::mouseDoubleClickEvent(event);
}

bool CGraphPane::StepMarker(bool forward, bool bySecond)
{
    if (!Plot().MarkerShown() || Plot().Table().Empty())
        return false;
    const GraphTable& table = Plot().Table();
    const auto markerMs = static_cast<std::int64_t>(std::llround(Plot().MarkerTime()));
    const int row = SteppedMarkerRow(table, RowAtTime(table, markerMs), forward, bySecond);
    Plot().SetMarkerRow(row);
    update();
    const int x = Plot().Mapping().PixelOfTime(table.Time(row));
    ReportMarker(row, mapToGlobal(QPoint(x, (Area().top + Area().bottom) / 2)));
    return true;
}

void CGraphPane::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && Plot().RangeEndShown()) {
        Plot().ClearRangeEnd();
        update();
        ReportRangeEnd(-1, mapToGlobal(rect().center()));
        event->accept();
        return;
    }
    if (!Interactive() || Plot().Table().Empty()) {
        CLegendGraph::keyPressEvent(event);
        return;
    }
    const GraphSettings s = GetSettings();
    const double span = s.xMax - s.xMin;
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    bool handled = true;
    switch (event->key()) {
    case Qt::Key_Left: PanBy(-span * kKeyPanPart); break;
    case Qt::Key_Right: PanBy(span * kKeyPanPart); break;
    case Qt::Key_PageUp: PanBy(-span); break;
    case Qt::Key_PageDown: PanBy(span); break;
    case Qt::Key_Plus:
    case Qt::Key_Minus: {
        burst_.Reset();
        GraphSettings zoomed = s;
        const double factor =
            event->key() == Qt::Key_Plus ? 1.0 / kWheelZoomFactor : kWheelZoomFactor;
        ZoomTimeAround(zoomed, (s.xMin + s.xMax) / 2, factor, DataRange());
        ApplyZoom(zoomed, true);
        break;
    }
    case Qt::Key_Home: emit fullViewRequested(); break;
    case Qt::Key_Backspace:
        burst_.Reset();
        GoBack();
        break;
    // Shift + "," and "." give ";" and ":" on German keys, "<" and ">" on others.
    case Qt::Key_Comma: handled = StepMarker(false, shift); break;
    case Qt::Key_Period: handled = StepMarker(true, shift); break;
    case Qt::Key_Semicolon:
    case Qt::Key_Less: handled = StepMarker(false, true); break;
    case Qt::Key_Colon:
    case Qt::Key_Greater: handled = StepMarker(true, true); break;
    default: handled = false; break;
    }
    if (handled)
        event->accept();
    else
        CLegendGraph::keyPressEvent(event);
}

}  // namespace veltrin
