#pragma once
// CChildFrame: one graph window of the main frame. It holds a graph pane that
// fills it, has no close button, and hides when asked to close.

#include <QMdiSubWindow>

namespace veltrin {

class CGraphPane;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT

public:
    explicit CChildFrame(const QString& title, QWidget* parent = nullptr);

    CGraphPane& Pane() { return *pane_; }

    // The window's hints: caption, minimise and maximise boxes, no system menu.
    static Qt::WindowFlags Flags();

    // Two thirds of the graph area, so that a cascade leaves usable windows.
    QSize sizeHint() const override;

signals:
    // Shown or hidden, by its toggle, a close request, the frame, or Qt
    // itself while it moves the maximised state between windows.
    void visibilityChanged(bool visible);
    // Hidden by the user's close request.
    void closedByUser();
    // Moved or resized by the user dragging its caption or border.
    void movedByUser();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    CGraphPane* pane_;  // owned as the window's widget
};

}  // namespace veltrin
