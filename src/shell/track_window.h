#pragma once
// TrackWindow: the main frame's window "Flugweg". It shows the track of the
// shown start beside the graphs, follows the graphs' time range and marker,
// and moves the graphs' marker to a place clicked on the track.

#include <QMdiSubWindow>

namespace veltrin {

class CMainFrame;
class TrackView;
struct StartRecord;

class TrackWindow : public QMdiSubWindow {
    Q_OBJECT

public:
    // Follows `frame`'s shown start, limits, marker and time range.
    explicit TrackWindow(CMainFrame& frame, QWidget* parent = nullptr);

    TrackView& View() { return *view_; }

    // Shows the track of the frame's shown start; none when no start is shown.
    void ShowShownStart();
    // The graphs show seconds [fromSeconds, toSeconds] of the shown start.
    void ShowTimeRange(double fromSeconds, double toSeconds);

signals:
    void visibilityChanged(bool visible);
    // Moved or resized by the user dragging its caption or border.
    void movedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void OnSampleMarked(int row);

    CMainFrame& frame_;
    TrackView* view_;
};

}  // namespace veltrin
