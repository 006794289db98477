// The main frame's track window "Flugweg": made hidden with the graphs, shown
// by its toggle as a column beside the stacked graphs, and tied to their
// marker and time range.
#include "shell/main_frame.h"

#include "graph/view_window.h"
#include "shell/stack_follower.h"
#include "shell/track_window.h"

#include <QMdiArea>

#include <cmath>

namespace veltrin {

void CMainFrame::createTrackWindow()
{
    trackWindow_ = new TrackWindow(*this);
    mdiArea_->addSubWindow(trackWindow_);
    // Adding puts the system menu hint back; without it there is no close box.
    trackWindow_->overrideWindowFlags(TrackWindow::Flags());
    // Shown on request only, so that the graphs keep the client area as before.
    trackWindow_->hide();
    connect(trackWindow_, &TrackWindow::visibilityChanged, this, [this] {
        QMetaObject::invokeMethod(this, &CMainFrame::UpdateMenus, Qt::QueuedConnection);
    });
    connect(trackWindow_, &TrackWindow::movedByUser, this, [this] { stackFollower_->Stop(); });
}

TrackWindow& CMainFrame::FlightTrackWindow() const
{
    return *trackWindow_;
}

bool CMainFrame::TrackWindowShown() const
{
    return trackWindow_ && !trackWindow_->isHidden();
}

void CMainFrame::ToggleTrackWindow()
{
    // Stacked windows make room for the track, or take it back.
    const bool stacked = GraphWindowsStacked();
    if (trackWindow_->isHidden()) {
        trackWindow_->show();
        mdiArea_->setActiveSubWindow(trackWindow_);
    } else {
        trackWindow_->hide();
        ActivateVisibleGraphWindow();
    }
    if (stacked)
        StackGraphWindows();
    UpdateMenus();
}

namespace {
// The share of the graph area's width the graphs keep beside the track.
constexpr int kGraphColumnPercent = 60;
}  // namespace

QRect CMainFrame::GraphColumn(const QRect& client) const
{
    if (!TrackWindowShown())
        return client;
    return {client.left(), client.top(), client.width() * kGraphColumnPercent / 100,
            client.height()};
}

QRect CMainFrame::TrackColumn(const QRect& client) const
{
    const QRect graphs = GraphColumn(client);
    return {graphs.right() + 1, client.top(), client.right() - graphs.right(), client.height()};
}

void CMainFrame::MarkTime(double timeMs)
{
    const GraphTable table(graphTable_.data(),
                           static_cast<int>(graphTable_.size() / (kGraphColumns + 1)));
    if (table.Empty() || !std::isfinite(timeMs))
        return;
    MarkSample(RowAtTime(table, std::llround(timeMs)));
}

}  // namespace veltrin
