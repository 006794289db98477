#pragma once
// TrackView: the window "Flugweg". A small bar chooses the colouring and fits
// the whole flight again; below it the map of the track, which follows the
// graphs' time range and marker, picks a time with a click, zooms with the
// wheel around the pointer and pans by dragging. With a tile server set, map
// tiles lie under the track; "Karte…" asks for the server.

#include "track/track_colours.h"
#include "track/track_data.h"
#include "track/track_scene.h"
#include "track/web_mercator.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <limits>
#include <optional>

class QComboBox;
class QPushButton;

namespace veltrin {

class TileSource;

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
    // Map tiles from `urlTemplate` (empty: none, and no network) with the
    // line naming their source.
    void SetTileServer(const QString& urlTemplate, const QString& attribution);
    // Takes `tiles` over in place of the source it has, keeping the server.
    void SetTileSource(TileSource* tiles);
    TileSource* Tiles() const { return tiles_; }
    const QString& TileAttribution() const { return attribution_; }
    // Paints the kept picture anew, as when a map tile arrived.
    void Invalidate();

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
    TileSource* tiles_ = nullptr;  // a child
    QString attribution_;
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
    // The map under the track: a tile URL template such as
    // "https://tile.example.org/{z}/{x}/{y}.png" (empty: no map, no network)
    // and the attribution shown with it. Says nothing by tileServerChanged().
    void SetTileServer(const QString& urlTemplate, const QString& attribution);
    QString TileServer() const;
    QString TileAttribution() const;

    TrackCanvas* Canvas() const { return canvas_; }
    QComboBox* ColouringBox() const { return colouring_; }
    QPushButton* MapButton() const { return map_; }

public slots:
    // "Ganzer Flug": the whole track fitted into the window again.
    void FitWholeFlight();
    // "Karte…": the dialog that asks for the tile server.
    void AskForTileServer();

signals:
    // A click on the track asks for the marker at the time of the place hit.
    void markerRequested(double timeMs);
    // The user chose another tile server or attribution in the dialog.
    void tileServerChanged(const QString& urlTemplate, const QString& attribution);

private:
    TrackCanvas* canvas_ = nullptr;
    QComboBox* colouring_ = nullptr;
    QPushButton* wholeFlight_ = nullptr;
    QPushButton* map_ = nullptr;
};

}  // namespace veltrin
