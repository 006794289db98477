#pragma once
// StackedSubWindow: a window of the graph area that the frame stacks. It has
// a caption with minimise and maximise boxes but no close box, hides instead
// of closing, and says when it is shown or hidden and when the user moved or
// resized it by hand.

#include <QMdiSubWindow>

namespace veltrin {

class StackedSubWindow : public QMdiSubWindow {
    Q_OBJECT

public:
    explicit StackedSubWindow(const QString& title, QWidget* parent = nullptr);

    // The window's hints: caption, minimise and maximise boxes, no system menu.
    static Qt::WindowFlags Flags();

signals:
    // Shown or hidden, by its toggle, a close request, the frame, or Qt
    // itself while it moves the maximised state between windows.
    void visibilityChanged(bool visible);
    // Hidden by the user's close request.
    void closedByUser();
    // Moved or resized by the user dragging its caption or border.
    void movedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
};

}  // namespace veltrin
