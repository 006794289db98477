#include "shell/child_frame.h"

#include "graph/graph_pane.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMouseEvent>

namespace veltrin {

namespace {
// Caption, sizing border, minimise and maximise boxes; no system menu and
// therefore no close box.
constexpr Qt::WindowFlags kFlags =
    Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint;
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
    // The pane takes no focus of its own, so a click into it would not
    // activate the window; the view commands act on the active window.
    pane_->installEventFilter(this);
}

bool CChildFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == pane_ && (event->type() == QEvent::MouseButtonPress ||
                             event->type() == QEvent::MouseButtonDblClick)) {
        if (QMdiArea* area = mdiArea(); area && area->activeSubWindow() != this)
            area->setActiveSubWindow(this);
        // The keys of the graphs go to the pane clicked last, also when its
        // window was active already and the focus was in the start list.
        if (!pane_->hasFocus())
            pane_->setFocus(Qt::MouseFocusReason);
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

Qt::WindowFlags CChildFrame::Flags()
{
    return kFlags;
}

QSize CChildFrame::sizeHint() const
{
    // The pane has no size of its own; without a hint a cascade shrinks the
    // window to its title bar.
    if (const QMdiArea* area = mdiArea()) {
        const QSize client = area->viewport()->size();
        return {client.width() * 2 / 3, client.height() * 2 / 3};
    }
    return QMdiSubWindow::sizeHint();
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    // The frame feeds all three graphs for the whole run; closing only hides.
    event->ignore();
    if (isHidden())
        return;
    hide();
    emit closedByUser();
}

void CChildFrame::mouseMoveEvent(QMouseEvent* event)
{
    // The sub-window moves and resizes itself while the caption or a border
    // is dragged; a geometry that changed here changed by hand.
    const QRect before = geometry();
    QMdiSubWindow::mouseMoveEvent(event);
    if ((event->buttons() & Qt::LeftButton) && geometry() != before && !isMaximized() &&
        !isMinimized())
        emit movedByUser();
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
