#pragma once
// CChildFrame: one graph window of the main frame. It holds a graph pane that
// fills it, has no close button, and hides when asked to close.

#include "shell/stacked_sub_window.h"

namespace veltrin {

class CGraphPane;

class CChildFrame : public StackedSubWindow {
    Q_OBJECT

public:
    explicit CChildFrame(const QString& title, QWidget* parent = nullptr);

    CGraphPane& Pane() { return *pane_; }

    // Two thirds of the graph area, so that a cascade leaves usable windows.
    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CGraphPane* pane_;  // owned as the window's widget
};

}  // namespace veltrin
