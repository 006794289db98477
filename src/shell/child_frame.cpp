#include "shell/child_frame.h"

#include "graph/graph_pane.h"

#include <QEvent>
#include <QMdiArea>

namespace veltrin {

CChildFrame::CChildFrame(const QString& title, QWidget* parent)
    : StackedSubWindow(title, parent), pane_(new CGraphPane(this))
{
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
    return StackedSubWindow::eventFilter(watched, event);
}

QSize CChildFrame::sizeHint() const
{
    // The pane has no size of its own; without a hint a cascade shrinks the
    // window to its title bar.
    if (const QMdiArea* area = mdiArea()) {
        const QSize client = area->viewport()->size();
        return {client.width() * 2 / 3, client.height() * 2 / 3};
    }
    return StackedSubWindow::sizeHint();
}

}  // namespace veltrin
