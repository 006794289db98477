// The main frame's logbook window "Flugbuch": made with the frame once the
// card is loaded, shown and hidden from "Ansicht", taken down first when the
// frame goes so that its fill stops while the frame is whole.
#include "shell/main_frame.h"

#include "shell/command_table.h"
#include "shell/logbook_window.h"

#include <QAction>

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
