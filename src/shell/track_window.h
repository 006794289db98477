#pragma once
// TrackWindow: the main frame's window "Flugweg". It shows the track of the
// shown start beside the graphs, follows the graphs' time range and marker,
// and moves the graphs' marker to a place clicked on the track. While hidden
// it only notes what changed and catches up when it is shown.

#include "shell/stacked_sub_window.h"

namespace veltrin {

class CMainFrame;
class TrackView;

class TrackWindow : public StackedSubWindow {
    Q_OBJECT

public:
    // Follows `frame`'s shown start, limits, marker and time range.
    explicit TrackWindow(CMainFrame& frame, QWidget* parent = nullptr);

    TrackView& View() { return *view_; }

    // Shows the track of the frame's shown start; none when no start is shown.
    void ShowShownStart();
    // The graphs show seconds [fromSeconds, toSeconds] of the shown start.
    void ShowTimeRange(double fromSeconds, double toSeconds);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnSampleMarked(int row);
    void ShowMarker();

    CMainFrame& frame_;
    TrackView* view_;
    bool trackStale_ = true;  // the shown start or the limits changed while hidden
    int markedRow_ = -1;      // the graphs' marker, a sample of the shown start
};

}  // namespace veltrin
