#include "shell/track_window.h"

#include "shell/main_frame.h"
#include "shell/shell_constants.h"
#include "shell/track_data_of.h"
#include "track/track_view.h"

#include <QSettings>

namespace veltrin {

namespace {
constexpr const char* kTrackTitle = "Flugweg";
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
    : StackedSubWindow(QString::fromUtf8(kTrackTitle), parent),
      frame_(frame),
      view_(new TrackView(this))
{
    setWidget(view_);

    connect(&frame_, &CMainFrame::shownStartChanged, this, [this] {
        markedRow_ = -1;
        ShowShownStart();
    });
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
}

void TrackWindow::ShowShownStart()
{
    // The track and its exceedances are worked out only for a window that shows them.
    if (isHidden()) {
        trackStale_ = true;
        return;
    }
    trackStale_ = false;
    const StartRecord* start = frame_.ShownStart();
    view_->SetTrack(start ? TrackDataOf(*start, frame_.Limits()) : TrackData{});
    ShowMarker();
}

void TrackWindow::showEvent(QShowEvent* event)
{
    StackedSubWindow::showEvent(event);
    if (trackStale_)
        ShowShownStart();
}

void TrackWindow::ShowTimeRange(double fromSeconds, double toSeconds)
{
    view_->SetTimeRange(fromSeconds * kMillisecondsPerSecond, toSeconds * kMillisecondsPerSecond);
}

void TrackWindow::OnSampleMarked(int row)
{
    markedRow_ = row;
    ShowMarker();
}

void TrackWindow::ShowMarker()
{
    const StartRecord* start = frame_.ShownStart();
    if (!start || markedRow_ < 0 || static_cast<std::size_t>(markedRow_) >= start->samples.size()) {
        view_->ClearMarker();
        return;
    }
    const auto& samples = start->samples;
    view_->SetMarkerTime(static_cast<double>(samples[static_cast<std::size_t>(markedRow_)].timeMs -
                                             samples.front().timeMs));
}

}  // namespace veltrin
