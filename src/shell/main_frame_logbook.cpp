// The main frame's logbook window "Flugbuch": made with the frame once the
// card is loaded, shown and hidden from "Ansicht", taken down first when the
// frame goes so that its fill stops while the frame is whole. Its date range
// chooses the starts of the logbook report and of the V-n diagram of many starts.
#include "shell/main_frame.h"

#include "shell/command_table.h"
#include "shell/logbook_window.h"

#include <QAction>
#include <QDateTime>
#include <QTimeZone>

namespace veltrin {

void CMainFrame::createLogbook()
{
    logbook_ = std::make_unique<LogbookWindow>(*this);
    QAction* toggle = Action(Command::ToggleLogbook);
    toggle->setCheckable(true);
    connect(logbook_.get(), &LogbookWindow::visibilityChanged, toggle, &QAction::setChecked);
}

LogbookWindow& CMainFrame::Logbook() const
{
    return *logbook_;
}

void CMainFrame::LogbookReportOfDateRange()
{
    const DayRange range = logbook_->DateRange();
    auto midnight = [](QDate day) -> std::optional<CalendarSeconds> {
        if (!day.isValid())
            return std::nullopt;
        return QDateTime(day, QTime(0, 0), QTimeZone::utc()).toSecsSinceEpoch();
    };
    OnLogbookReportPdf(midnight(range.from), midnight(range.to));
}

void CMainFrame::VnDiagramOfDateRange()
{
    const std::vector<StartFile> all = StartFiles(recording_);
    std::vector<StartFile> files;
    for (int index : logbook_->FilteredStarts()) {
        if (index >= 0 && static_cast<std::size_t>(index) < all.size())
            files.push_back(all[static_cast<std::size_t>(index)]);
    }
    ShowStartsInVnDiagram(std::move(files));
}

void CMainFrame::ToggleLogbook()
{
    if (logbook_->isVisible()) {
        logbook_->hide();
        return;
    }
    logbook_->show();
    logbook_->raise();
    logbook_->activateWindow();
}

}  // namespace veltrin
