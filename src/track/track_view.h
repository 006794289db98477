#pragma once
// TrackView: the window "Flugweg". A small bar chooses the colouring and fits
// the whole flight again; below it the map of the track, which follows the
// graphs' time range and marker, picks a time with a click, zooms with the
// wheel around the pointer and pans by dragging.

#include "track/track_colours.h"
#include "track/track_data.h"
#include "track/track_scene.h"
#include "track/web_mercator.h"

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <limits>
#include <optional>

class QComboBox;
class QPushButton;

namespace veltrin {

// The map itself. Its picture without the marker's dot is kept, so that moving
// the marker repaints only the dot's neighbourhood from it.
class TrackCanvas : public QWidget {
    Q_OBJECT

public:
    explicit TrackCanvas(QWidget* parent = nullptr);

    void SetTrack(TrackData track);
    void SetTimeRange(double fromMs, double toMs);
    void SetMarkerTime(double timeMs);
    void ClearMarker();
    void SetColouring(TrackColouring colouring);
    void FitWholeFlight();

    const TrackScene& Scene() const { return scene_; }
    const MapView& View() const { return view_; }
    TrackColouring Colouring() const { return colouring_; }
    // The marker dot's centre; none when no marker is set or it lies outside
    // the track's time.
    std::optional<PixelPoint> MarkerDot() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void markerRequested(double timeMs);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void SetView(const MapView& view);
    void Invalidate();
    void UpdateDot(const std::optional<PixelPoint>& before);

    TrackScene scene_;
    MapView view_;
    bool viewChosen_ = false;  // zoomed or panned by the user: a resize keeps the scale
    TrackColouring colouring_ = TrackColouring::Acceleration;
    double fromMs_ = -std::numeric_limits<double>::infinity();
    double toMs_ = std::numeric_limits<double>::infinity();
    std::optional<double> markerMs_;
    QImage picture_;  // everything but the dot; null when it must be painted again
    QPoint pressAt_;
    QPoint lastDragAt_;
    bool pressed_ = false;
    bool dragging_ = false;
};

class TrackView : public QWidget {
    Q_OBJECT

public:
    explicit TrackView(QWidget* parent = nullptr);

    // Shows `track` fitted into the window; the marker is cleared.
    void SetTrack(TrackData track);
    // The graphs' view: the track in it is drawn strong, the rest faint.
    void SetTimeRange(double fromMs, double toMs);
    // Puts the dot at the place of `timeMs`.
    void SetMarkerTime(double timeMs);
    void ClearMarker();
    void SetColouring(TrackColouring colouring);

    TrackCanvas* Canvas() const { return canvas_; }
    QComboBox* ColouringBox() const { return colouring_; }

public slots:
    // "Ganzer Flug": the whole track fitted into the window again.
    void FitWholeFlight();

signals:
    // A click on the track asks for the marker at the time of the place hit.
    void markerRequested(double timeMs);

private:
    TrackCanvas* canvas_ = nullptr;
    QComboBox* colouring_ = nullptr;
    QPushButton* wholeFlight_ = nullptr;
};

}  // namespace veltrin
