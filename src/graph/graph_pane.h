#pragma once
// CGraphPane: the graph window a child frame embeds. It shows value columns of a
// borrowed, time-stamped data table as curves over time, with axes, grid, event
// lines and a marker, and lets the user pan, zoom and set the marker with the mouse.
//
// How an owner uses it:
//   1. Build the data table: rows of GraphRow slots (graph/graph_row.h), each row
//      holding N, its time in ms and N values. Keep it alive and unchanged.
//   2. pane.SetData(rowCount, table)            // borrowed; empties the zoom history
//      pane.Plot().SetEvents(count, timesMs)    // borrowed event times, drawn as lines
//   3. pane.Plot().RemoveAllSeries(); SetLegendSlot(k, -1, "", false) for k = 1..4;
//      pane.Plot().AddSeries({column, colour, true, name, name, false});
//      pane.SetLegendSlot(1, column, name, true);
//   4. GraphSettings s = pane.GetSettings(); edit the x and y fields;
//      pane.Plot().SetViewChangedCallback(&OnViewChanged, ownerContext);
//      pane.ApplySettings(s); pane.update();
//   5. pane.SetMarkerCallback(&OnMarker, ownerContext) once after creating the pane;
//      set the marker in other graphs with Plot().SetMarkerRow(row); likewise
//      SetRangeEndCallback and Plot().SetRangeEndRow(row) for cursor B.
// The view-changed callback runs after every ApplySettings (owner's, gestures',
// resizes'); use it to give other graphs the same time range. The marker callback
// runs after a middle click with the row under the mouse, or -1, and after the
// marker moved by key.
//
// Besides the mouse gestures of the display, the pane zooms the time axis with the
// wheel (around the time under the pointer) and a touchpad pinch, the value axis
// with Ctrl + wheel, and pans the time axis with Shift + wheel or a sideways
// scroll. Keys: Left/Right pan by a tenth of the view, Page Up/Down by a view,
// + and - zoom around the centre, Home asks the owner for the whole flight
// (fullViewRequested), Backspace goes back one zoom, "," and "." move a shown
// marker by one row, with Shift by one second, Esc clears cursor B (set with
// Ctrl + middle click) and reports it to the range-end callback.

#include "graph/legend_graph.h"
#include "graph/wheel_zoom.h"

#include <QString>

#include <cstdint>

namespace veltrin {

class CGraphPane : public CLegendGraph {
    Q_OBJECT

public:
    explicit CGraphPane(QWidget* parent = nullptr);

    // Slot 1..4 (else nothing): series entry slot-1, if it exists, draws `column`
    // with the slot's palette colour, `visible`, named `name`; the slot's button
    // takes the name as tooltip, the colour as swatch and `visible` as checked state.
    void SetLegendSlot(int slot, std::int32_t column, const QString& name, bool visible);

signals:
    // The Home key: the owner shows the whole flight.
    void fullViewRequested();

protected:
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Applies `changed`; pushes the view before it onto the zoom history when
    // the ranges moved and `newZoom` says this change begins a zoom of its own.
    void ApplyZoom(const GraphSettings& changed, bool newZoom);
    DataSpan DataRange() const;
    bool WheelZoom(QPointF at, double factor, bool valueAxis, std::int64_t timestamp);
    void PanBy(double dx);
    bool StepMarker(bool forward, bool bySecond);

    WheelBurst burst_;
    bool burstPending_ = false;  // the current burst has not pushed its entry yet
};

}  // namespace veltrin
