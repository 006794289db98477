// The main frame's flight analysis: the aircraft's limits (set by the user,
// offered by the recorder, kept in the settings) and the event list of the
// shown start, whose rows show their part of the flight in the graphs.
#include "shell/main_frame.h"

#include "shell/child_frame.h"
#include "shell/event_list_window.h"
#include "shell/limits_dialog.h"
#include "shell/limits_settings.h"
#include "shell/shell_constants.h"
#include "shell/time_range_rules.h"
#include "shell/track_window.h"

#include <QAction>
#include <QDockWidget>
#include <QMdiArea>
#include <QSettings>
#include <QTimer>

namespace veltrin {

namespace {

// Height of the event list bar when it is first shown.
constexpr int kEventListHeight = 150;

std::optional<AircraftLimits> Usable(const std::optional<AircraftLimits>& limits)
{
    if (limits && LimitsArePlausible(*limits))
        return limits;
    return std::nullopt;
}

QSettings FrameStore()
{
    return QSettings(QString::fromUtf8(kOrganisation), QString::fromUtf8(kApplicationTitle));
}

}  // namespace

void CMainFrame::createEventList()
{
    eventListBar_ = new QDockWidget(QString::fromUtf8(kEventListTitle), this);
    eventListBar_->setObjectName(QStringLiteral("EventListBar"));
    eventListBar_->setAllowedAreas(Qt::AllDockWidgetAreas);
    eventListBar_->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable |
                               QDockWidget::DockWidgetClosable);
    eventList_ = new CEventListWindow(eventListBar_);
    eventListBar_->setWidget(eventList_);
    addDockWidget(Qt::BottomDockWidgetArea, eventListBar_);
    resizeDocks({eventListBar_}, {kEventListHeight}, Qt::Vertical);
    // Shown on request only, so that the graphs keep the whole client area.
    eventListBar_->hide();

    const auto refresh = [this] {
        eventList_->ShowStart(ShownStart(), limits_);
    };
    connect(this, &CMainFrame::shownStartChanged, eventList_, refresh);
    connect(this, &CMainFrame::limitsChanged, eventList_, refresh);
    connect(eventList_, &CEventListWindow::rowSelected, this, &CMainFrame::ShowFlightPart);
    connect(eventListBar_, &QDockWidget::visibilityChanged, this, &CMainFrame::UpdateMenus);
    // The list takes room from the graphs: stacked graphs are stacked again
    // in the room left, once the layout has given it.
    connect(Action(Command::ToggleEventList), &QAction::triggered, this, [this] {
        const bool stacked = GraphWindowsStacked();
        eventListBar_->setVisible(eventListBar_->isHidden());
        if (stacked)
            QTimer::singleShot(0, this, &CMainFrame::StackGraphWindows);
    });
}

bool CMainFrame::GraphWindowsStacked() const
{
    return GraphWindowsStackedIn(mdiArea_->viewport()->rect());
}

bool CMainFrame::GraphWindowsStackedIn(const QRect& client) const
{
    std::vector<CChildFrame*> visible;
    for (CChildFrame* window : GraphWindowsInStackOrder()) {
        if (!window->isHidden())
            visible.push_back(window);
    }
    if (visible.empty())
        return false;
    if (TrackWindowShown() && (trackWindow_->isMaximized() || trackWindow_->isMinimized() ||
                               trackWindow_->geometry() != TrackColumn(client)))
        return false;
    const QRect column = GraphColumn(client);
    const std::vector<StackSlice> slices =
        StackSlices(column.top(), column.top() + column.height(), static_cast<int>(visible.size()));
    for (std::size_t i = 0; i < visible.size(); ++i) {
        const QRect expected(column.left(), slices[i].top, column.width(), slices[i].height);
        if (visible[i]->isMaximized() || visible[i]->isMinimized() ||
            visible[i]->geometry() != expected)
            return false;
    }
    return true;
}

void CMainFrame::SetLimits(const std::optional<AircraftLimits>& limits)
{
    const std::optional<AircraftLimits> previous = limits_;
    limits_ = Usable(limits);
    {
        QSettings store = FrameStore();
        WriteLimits(store, limits_);
    }
    ApplyLimitLines(previous);
    emit limitsChanged();
}

void CMainFrame::SetRecorderLimits(const AircraftLimits& limits)
{
    if (!LimitsArePlausible(limits))
        return;
    recorderLimits_ = limits;
    {
        QSettings store = FrameStore();
        WriteRecorderLimits(store, limits);
    }
    if (!limits_)
        SetLimits(limits);
}

void CMainFrame::OnEditLimits()
{
    CLimitsDialog dialog(limits_, recorderLimits_, this);
    if (dialog.exec() == QDialog::Accepted)
        SetLimits(dialog.ChosenLimits());
}

void CMainFrame::ShowFlightPart(int firstSample, double fromSeconds, double toSeconds)
{
    const TimeRange range = RangeAroundPart(fromSeconds, toSeconds);
    ShowTimeRange(range.xMin, range.xMax);
    // Last, so that the status bar shows the marker's read-out.
    MarkSample(firstSample);
}

}  // namespace veltrin
