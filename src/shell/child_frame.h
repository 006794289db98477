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

    CGraphPane& pane() { return *pane_; }

    // The window's hints: caption, minimise and maximise boxes, no system menu.
    static Qt::WindowFlags Flags();

signals:
    // Shown or hidden, by its toggle, a close request or the frame.
    void visibilityChanged(bool visible);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    CGraphPane* pane_;  // owned as the window's widget
};

}  // namespace veltrin
