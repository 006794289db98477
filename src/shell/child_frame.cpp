#include "shell/child_frame.h"

#include "graph/graph_pane.h"

#include <QCloseEvent>

namespace veltrin {

namespace {
// Caption, sizing border, minimise and maximise boxes; no system menu and
// therefore no close box.
constexpr Qt::WindowFlags kFlags = Qt::SubWindow | Qt::CustomizeWindowHint |
                                   Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint;
}  // namespace

CChildFrame::CChildFrame(const QString& title, QWidget* parent)
    : QMdiSubWindow(parent), pane_(new CGraphPane(this))
{
    setObjectName(title);
    setWindowFlags(kFlags);
    setSystemMenu(nullptr);
    setWindowTitle(title);
    setWidget(pane_);
    setFocusProxy(pane_);
}

Qt::WindowFlags CChildFrame::Flags()
{
    return kFlags;
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    // The frame feeds all three graphs for the whole run; closing only hides.
    event->ignore();
    hide();
}

void CChildFrame::showEvent(QShowEvent* event)
{
    QMdiSubWindow::showEvent(event);
    emit visibilityChanged(true);
}

void CChildFrame::hideEvent(QHideEvent* event)
{
    QMdiSubWindow::hideEvent(event);
    emit visibilityChanged(false);
}

}  // namespace veltrin
