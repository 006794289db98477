#include "shell/track_window.h"

#include "shell/main_frame.h"
#include "shell/track_data_of.h"
#include "track/track_view.h"

#include "shell/shell_constants.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QSettings>

namespace veltrin {

namespace {
constexpr const char* kTrackTitle = "Flugweg";
// Caption, sizing border, minimise and maximise boxes: as the graph windows.
constexpr Qt::WindowFlags kFlags =
    Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint;
constexpr double kMillisecondsPerSecond = 1000.0;
// Where the map server the user chose is kept. Empty by default: the program
// goes to the network only once the user has given a server.
constexpr const char* kTileServerKey = "Map/TileServer";
constexpr const char* kTileAttributionKey = "Map/TileAttribution";

QSettings Store()
{
    return QSettings(QString::fromUtf8(kOrganisation), QString::fromUtf8(kApplicationTitle));
}
}  // namespace

TrackWindow::TrackWindow(CMainFrame& frame, QWidget* parent)
    : QMdiSubWindow(parent), frame_(frame), view_(new TrackView(this))
{
    setObjectName(QString::fromUtf8(kTrackTitle));
    setWindowTitle(QString::fromUtf8(kTrackTitle));
    setWindowFlags(kFlags);
    setSystemMenu(nullptr);
    setWidget(view_);
    setAttribute(Qt::WA_DeleteOnClose, false);

    connect(&frame_, &CMainFrame::shownStartChanged, this, &TrackWindow::ShowShownStart);
    connect(&frame_, &CMainFrame::limitsChanged, this, &TrackWindow::ShowShownStart);
    connect(&frame_, &CMainFrame::sampleMarked, this, &TrackWindow::OnSampleMarked);
    connect(view_, &TrackView::markerRequested, this,
            [this](double timeMs) { frame_.MarkTime(timeMs); });
    {
        const QSettings store = Store();
        view_->SetTileServer(store.value(QString::fromUtf8(kTileServerKey)).toString(),
                             store.value(QString::fromUtf8(kTileAttributionKey)).toString());
    }
    connect(view_, &TrackView::tileServerChanged, this,
            [](const QString& urlTemplate, const QString& attribution) {
                QSettings store = Store();
                store.setValue(QString::fromUtf8(kTileServerKey), urlTemplate);
                store.setValue(QString::fromUtf8(kTileAttributionKey), attribution);
            });
    ShowShownStart();
}

void TrackWindow::ShowShownStart()
{
    const StartRecord* start = frame_.ShownStart();
    view_->SetTrack(start ? TrackDataOf(*start, frame_.Limits()) : TrackData{});
}

void TrackWindow::ShowTimeRange(double fromSeconds, double toSeconds)
{
    view_->SetTimeRange(fromSeconds * kMillisecondsPerSecond, toSeconds * kMillisecondsPerSecond);
}

void TrackWindow::OnSampleMarked(int row)
{
    const StartRecord* start = frame_.ShownStart();
    if (!start || row < 0 || static_cast<std::size_t>(row) >= start->samples.size()) {
        view_->ClearMarker();
        return;
    }
    const auto& samples = start->samples;
    view_->SetMarkerTime(static_cast<double>(samples[static_cast<std::size_t>(row)].timeMs -
                                             samples.front().timeMs));
}

void TrackWindow::closeEvent(QCloseEvent* event)
{
    // Like the graph windows: closing only hides.
    event->ignore();
    hide();
}

void TrackWindow::showEvent(QShowEvent* event)
{
    QMdiSubWindow::showEvent(event);
    emit visibilityChanged(true);
}

void TrackWindow::hideEvent(QHideEvent* event)
{
    QMdiSubWindow::hideEvent(event);
    emit visibilityChanged(false);
}

void TrackWindow::mouseMoveEvent(QMouseEvent* event)
{
    // As in the graph windows: a geometry that changed while the caption or a
    // border is dragged changed by hand.
    const QRect before = geometry();
    QMdiSubWindow::mouseMoveEvent(event);
    if ((event->buttons() & Qt::LeftButton) && geometry() != before && !isMaximized() &&
        !isMinimized())
        emit movedByUser();
}

}  // namespace veltrin
