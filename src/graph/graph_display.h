#pragma once
// CGraphDisplay: a child window that shows one CGraphPlot and turns mouse gestures
// into view changes: left drag pans, SHIFT + left drag zooms to a rectangle, left
// double-click zooms in, right double-click goes back through the zoom history,
// the middle button sets the marker (cursor A) and with Ctrl cursor B, the right
// button cancels a drag.

#include "graph/axis_mapping.h"
#include "graph/graph_callbacks.h"
#include "graph/graph_plot.h"
#include "graph/graph_settings.h"
#include "graph/zoom_history.h"

#include <QCursor>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

#include <memory>

class QMdiSubWindow;

namespace veltrin {

class CGraphDisplay : public QWidget {
    Q_OBJECT

public:
    explicit CGraphDisplay(QWidget* parent = nullptr);
    ~CGraphDisplay() override;

    // Sets width and height to the client size, applies to the plot, takes over
    // the plot area and the interactive flag, and drops any selection.
    void ApplySettings(GraphSettings settings);
    // The plot's settings (also refreshes the window's interactive flag).
    GraphSettings GetSettings();
    // Hands the borrowed table to the plot and empties the zoom history.
    void SetData(int count, const GraphRow* rows);

    CGraphPlot& Plot() { return *plot_; }
    const CGraphPlot& Plot() const { return *plot_; }

    // Called after every middle click with the row under it (or -1).
    void SetMarkerCallback(MarkerCallback callback, void* userData);
    // Called after every Ctrl + middle click with the row under it (or -1), and
    // when the pane clears cursor B.
    void SetRangeEndCallback(RangeEndCallback callback, void* userData);

    const ZoomHistory& History() const { return history_; }
    bool SelectionActive() const { return selecting_; }
    bool Panning() const { return panning_; }

protected:
    // For the wheel and keyboard gestures of derived windows: the history to push
    // their zooms onto, the plot area the mouse maps into, going back one zoom as
    // a right double-click does, and handing a marker row to the marker callback.
    ZoomHistory& EditableHistory() { return history_; }
    const PlotArea& Area() const { return area_; }
    bool Interactive() const { return interactive_; }
    void GoBack() { RightDoubleClick(); }
    void ReportMarker(int row, QPoint screenPos);
    void ReportRangeEnd(int row, QPoint screenPos);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void RefreshArea();
    void LeftDown(QPoint p, bool shift);
    void MouseMoved(QPoint p);
    void LeftUp();
    void LeftDoubleClick(QPoint p);
    void RightDoubleClick();
    void RightDown();
    void MiddleDown(QPoint p, bool rangeEnd);
    void ZoomTo(const PlotArea& selection);
    void StopPanning();
    void EndGesture();
    void WatchSubWindow();

    std::unique_ptr<CGraphPlot> plot_;
    PlotArea area_;
    bool interactive_ = true;
    bool dragging_ = false;
    bool selecting_ = false;
    bool panArmed_ = false;
    bool panning_ = false;
    PlotArea selection_;  // left/top: start corner; right/bottom: moving corner
    QPoint lastPan_;
    QCursor savedCursor_;     // the cursor to restore when the pan ends
    bool hadCursor_ = false;  // whether the window had a cursor of its own then
    double rememberedMarkerMs_ = 0.0;
    ZoomHistory history_;
    MarkerCallback markerCallback_ = nullptr;
    void* markerData_ = nullptr;
    RangeEndCallback rangeEndCallback_ = nullptr;
    void* rangeEndData_ = nullptr;
    QPointer<QMdiSubWindow> subWindow_;  // the sub-window this pane sits in, if any
    QMetaObject::Connection subWindowState_;
};

}  // namespace veltrin
