#pragma once
// StackFollower: keeps the graph windows stacked while the graph area changes
// size. It follows from the moment the windows were stacked on request until
// the user moves or resizes one of them by hand, and only while the windows
// still lie as the stacking put them (not maximised, cascaded or tiled since).

#include <QObject>
#include <QRect>

#include <functional>

class QWidget;

namespace veltrin {

class StackFollower : public QObject {
public:
    // Watches `area` (the graph area's viewport). `stackedIn` says whether the
    // windows lie stacked in a client rectangle; `restack` stacks them in the
    // area's current one.
    StackFollower(QWidget& area, std::function<bool(const QRect&)> stackedIn,
                  std::function<void()> restack);

    // The windows were stacked on request: follow from now on.
    void Start() { following_ = true; }
    // A window was moved or resized by hand: stop until the next Start().
    void Stop() { following_ = false; }
    bool Following() const { return following_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& area_;
    std::function<bool(const QRect&)> stackedIn_;
    std::function<void()> restack_;
    bool following_ = false;
};

}  // namespace veltrin
