#include "shell/stacked_sub_window.h"

#include <QCloseEvent>
#include <QMouseEvent>

namespace veltrin {

namespace {
// Caption, sizing border, minimise and maximise boxes; no system menu and
// therefore no close box.
constexpr Qt::WindowFlags kFlags =
    Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint;
}  // namespace

StackedSubWindow::StackedSubWindow(const QString& title, QWidget* parent) : QMdiSubWindow(parent)
{
    setObjectName(title);
    setWindowFlags(kFlags);
    setSystemMenu(nullptr);
    setWindowTitle(title);
}

Qt::WindowFlags StackedSubWindow::Flags()
{
    return kFlags;
}

void StackedSubWindow::closeEvent(QCloseEvent* event)
{
    // The frame keeps its windows for the whole run; closing only hides.
    event->ignore();
    if (isHidden())
        return;
    hide();
    emit closedByUser();
}

void StackedSubWindow::mouseMoveEvent(QMouseEvent* event)
{
    // The sub-window moves and resizes itself while the caption or a border
    // is dragged; a geometry that changed here changed by hand.
    const QRect before = geometry();
    QMdiSubWindow::mouseMoveEvent(event);
    if ((event->buttons() & Qt::LeftButton) && geometry() != before && !isMaximized() &&
        !isMinimized())
        emit movedByUser();
}

void StackedSubWindow::showEvent(QShowEvent* event)
{
    QMdiSubWindow::showEvent(event);
    emit visibilityChanged(true);
}

void StackedSubWindow::hideEvent(QHideEvent* event)
{
    QMdiSubWindow::hideEvent(event);
    emit visibilityChanged(false);
}

}  // namespace veltrin
