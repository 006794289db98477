#include "shell/stack_follower.h"

#include <QResizeEvent>
#include <QWidget>

namespace veltrin {

StackFollower::StackFollower(QWidget& area, std::function<bool(const QRect&)> stackedIn,
                             std::function<void()> restack)
    : QObject(&area), area_(area), stackedIn_(std::move(stackedIn)), restack_(std::move(restack))
{
    area_.installEventFilter(this);
}

bool StackFollower::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &area_ && event->type() == QEvent::Resize && following_) {
        // The windows are compared with the stacking of the size before: they
        // still lie there only if nothing but the area has changed since.
        const auto* resize = static_cast<QResizeEvent*>(event);
        if (resize->oldSize().isValid() && stackedIn_(QRect(QPoint(0, 0), resize->oldSize())))
            restack_();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace veltrin
