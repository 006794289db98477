#include "graph/graph_display.h"

#include "graph/zoom_rules.h"

#include <QEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace veltrin {

namespace {

// The rubber band as the user drew it, corners in any order, made left <= right
// and top <= bottom.
PlotArea Normalised(const PlotArea& r)
{
    return PlotArea{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                    std::max(r.top, r.bottom)};
}

bool Inside(const PlotArea& r, QPoint p)
{
    const PlotArea n = Normalised(r);
    return p.x() >= n.left && p.x() <= n.right && p.y() >= n.top && p.y() <= n.bottom;
}

}  // namespace

CGraphDisplay::CGraphDisplay(QWidget* parent)
    : QWidget(parent), plot_(std::make_unique<CGraphPlot>())
{
    setObjectName(QStringLiteral("ACGraphDisplay"));
    // The bitmap covers the whole client area: no background erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CGraphDisplay::~CGraphDisplay() = default;

void CGraphDisplay::ApplySettings(GraphSettings settings)
{
    settings.width = width();
    settings.height = height();
    plot_->ApplySettings(settings);
    RefreshArea();
    interactive_ = plot_->GetSettings().interactive;
    selecting_ = false;
}

GraphSettings CGraphDisplay::GetSettings()
{
    GraphSettings s = plot_->GetSettings();
    interactive_ = s.interactive;
    return s;
}

void CGraphDisplay::SetData(int count, const GraphRow* rows)
{
    plot_->SetData(count, rows);
    history_.Clear();
}

void CGraphDisplay::SetMarkerCallback(MarkerCallback callback, void* userData)
{
    markerCallback_ = callback;
    markerData_ = userData;
}

void CGraphDisplay::ReportMarker(int row, QPoint screenPos)
{
    if (markerCallback_ != nullptr)
        markerCallback_(markerData_, row, screenPos);
}

void CGraphDisplay::SetRangeEndCallback(RangeEndCallback callback, void* userData)
{
    rangeEndCallback_ = callback;
    rangeEndData_ = userData;
}

void CGraphDisplay::ReportRangeEnd(int row, QPoint screenPos)
{
    if (rangeEndCallback_ != nullptr)
        rangeEndCallback_(rangeEndData_, row, screenPos);
}

void CGraphDisplay::RefreshArea()
{
    area_ = plot_->GetPlotAreaEdges();
}

void CGraphDisplay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QImage& bitmap = plot_->GetBitmap();
    if (bitmap.isNull()) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    if (selecting_) {
        const PlotArea s = Normalised(selection_);
        plot_->DrawSelectionOutline(QRect(QPoint(s.left, s.top), QPoint(s.right, s.bottom)));
    }
    painter.drawImage(0, 0, bitmap);
    // Parts of a window that grew before the next render.
    if (bitmap.width() < width())
        painter.fillRect(bitmap.width(), 0, width() - bitmap.width(), height(), palette().window());
    if (bitmap.height() < height())
        painter.fillRect(0, bitmap.height(), width(), height() - bitmap.height(),
                         palette().window());
}

void CGraphDisplay::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    switch (event->button()) {
    case Qt::LeftButton: LeftDown(p, event->modifiers().testFlag(Qt::ShiftModifier)); break;
    case Qt::RightButton: RightDown(); break;
    case Qt::MiddleButton: MiddleDown(p, event->modifiers().testFlag(Qt::ControlModifier)); break;
    default: break;
    }
    event->accept();
}

void CGraphDisplay::mouseMoveEvent(QMouseEvent* event)
{
    MouseMoved(event->position().toPoint());
    event->accept();
}

void CGraphDisplay::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        LeftUp();
    event->accept();
}

void CGraphDisplay::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    switch (event->button()) {
    case Qt::LeftButton: LeftDoubleClick(p); break;
    case Qt::RightButton: RightDoubleClick(); break;
    default: break;  // the press before a double-click already did the rest
    }
    event->accept();
}

void CGraphDisplay::changeEvent(QEvent* event)
{
    // Losing the activation ends a drag whose button release this window may never
    // see. Gaining it does not: the click that activates the window may well be the
    // start of a drag, and its press can arrive before the activation does.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        EndGesture();
    QWidget::changeEvent(event);
}

bool CGraphDisplay::event(QEvent* event)
{
    // A pane inside another window gets no activation change of its own; when the
    // program loses the activation, the window passes WindowDeactivate down to it.
    if (event->type() == QEvent::WindowDeactivate)
        EndGesture();
    return QWidget::event(event);
}

void CGraphDisplay::showEvent(QShowEvent* event)
{
    // Reparenting hides a widget, so every new place is seen here before any click.
    WatchSubWindow();
    QWidget::showEvent(event);
}

void CGraphDisplay::WatchSubWindow()
{
    QMdiSubWindow* frame = nullptr;
    for (QWidget* w = parentWidget(); w != nullptr && frame == nullptr; w = w->parentWidget())
        frame = qobject_cast<QMdiSubWindow*>(w);
    if (frame == subWindow_)
        return;
    disconnect(subWindowState_);
    subWindow_ = frame;
    if (frame == nullptr)
        return;
    // Another sub-window becoming the active one sends this pane no event at all;
    // only its own sub-window's state tells that it lost the activation.
    subWindowState_ = connect(frame, &QMdiSubWindow::windowStateChanged, this,
                              [this](Qt::WindowStates, Qt::WindowStates now) {
                                  if (!now.testFlag(Qt::WindowActive))
                                      EndGesture();
                              });
}

void CGraphDisplay::EndGesture()
{
    // A drag that lost its window cannot be finished: its release may go elsewhere.
    // The rubber band goes too, as nothing could complete or move it any more.
    if (selecting_)
        update();
    dragging_ = false;
    panArmed_ = false;
    selecting_ = false;
    StopPanning();
}

void CGraphDisplay::StopPanning()
{
    // The pan cursor never outlives the pan, however it ends.
    if (panning_) {
        if (hadCursor_)
            setCursor(savedCursor_);
        else
            unsetCursor();
    }
    panning_ = false;
}

void CGraphDisplay::LeftDown(QPoint p, bool shift)
{
    rememberedMarkerMs_ = plot_->MarkerTime();
    if (!interactive_ || dragging_)
        return;
    if (selecting_ && Inside(selection_, p))
        return;
    if (!area_.Contains(p))
        return;
    dragging_ = true;
    if (shift) {
        selecting_ = true;
        selection_ = PlotArea{p.x(), p.y(), p.x(), p.y()};
    } else {
        lastPan_ = p;
        panArmed_ = !plot_->Table().Empty();
    }
    update();
}

void CGraphDisplay::MouseMoved(QPoint p)
{
    if (panArmed_ && !panning_) {
        panning_ = true;
        hadCursor_ = testAttribute(Qt::WA_SetCursor);
        savedCursor_ = cursor();
        setCursor(Qt::ClosedHandCursor);
    }
    if (panning_) {
        GraphSettings s = plot_->GetSettings();
        double first = 0.0;
        double last = 0.0;
        plot_->GetDataTimeRange(first, last);
        PanSettings(s, area_, lastPan_, p, last);
        lastPan_ = p;
        selecting_ = false;
        plot_->ApplySettings(s);
        RefreshArea();
        update();
    }
    if (dragging_ && interactive_) {
        selection_.right = std::clamp(p.x(), area_.left, std::max(area_.left, area_.right));
        selection_.bottom = std::clamp(p.y(), area_.top, std::max(area_.top, area_.bottom));
        update();
    }
}

void CGraphDisplay::LeftUp()
{
    if (!interactive_ || !dragging_)
        return;
    dragging_ = false;
    StopPanning();
    panArmed_ = false;
    if (selection_.top == selection_.bottom || selection_.left == selection_.right)
        selecting_ = false;
    selection_ = Normalised(selection_);
    if (selecting_)
        ZoomTo(selection_);
    // A band that zoomed nothing was last painted into the shown picture; repaint
    // so that no outline stays behind.
    update();
}

void CGraphDisplay::ZoomTo(const PlotArea& selection)
{
    GraphSettings s = plot_->GetSettings();
    const ZoomState old = ZoomStateOf(s);
    ZoomToSelection(s, area_, selection);
    selecting_ = false;
    plot_->ApplySettings(s);
    RefreshArea();
    if (RangesDiffer(old, plot_->GetSettings()))
        history_.Push(old);
    update();
}

void CGraphDisplay::LeftDoubleClick(QPoint p)
{
    plot_->SetMarkerTime(rememberedMarkerMs_);
    if (interactive_ && area_.Contains(p))
        ZoomTo(DoubleClickSelection(area_, p.x()));
    update();
}

void CGraphDisplay::RightDoubleClick()
{
    if (!interactive_)
        return;
    const std::optional<ZoomState> previous = history_.Pop();
    if (!previous)
        return;
    GraphSettings s = plot_->GetSettings();
    RestoreZoomState(s, *previous);
    plot_->ApplySettings(s);
    RefreshArea();
    update();
}

void CGraphDisplay::RightDown()
{
    selecting_ = false;
    panArmed_ = false;
    StopPanning();
    update();
}

void CGraphDisplay::MiddleDown(QPoint p, bool rangeEnd)
{
    const GraphSettings s = plot_->GetSettings();
    const double t = s.xMin + static_cast<double>(p.x() - area_.left) /
                                  static_cast<double>(area_.Width()) * (s.xMax - s.xMin);
    const int row = plot_->RowAtX(t);
    // Cursor B follows the marker's rule: it sits on the row under the click,
    // and a click outside the data takes it away.
    if (rangeEnd) {
        // Esc, which takes B away again, reaches the pane that set it.
        setFocus(Qt::MouseFocusReason);
        plot_->SetRangeEndRow(row);
        update();
        ReportRangeEnd(row, mapToGlobal(p));
        return;
    }
    plot_->SetMarkerRow(row);
    update();
    if (markerCallback_ != nullptr)
        markerCallback_(markerData_, row, mapToGlobal(p));
}

}  // namespace veltrin
