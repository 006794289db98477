#pragma once
// VnWindow: the main frame's V-n diagram window. It shows the samples of the
// shown start over the aircraft's limit envelope and moves the graphs' marker
// to a sample clicked in it; or, on request, all samples of many starts at
// once, read in the background.

#include "analysis/start_summary.h"

#include <QMdiSubWindow>
#include <QTimer>

#include <memory>
#include <vector>

class QProgressBar;
class QPushButton;

namespace veltrin {

class CMainFrame;
class VnDiagramWidget;
class VnStartsReader;

class VnWindow : public QMdiSubWindow {
    Q_OBJECT

public:
    // Follows `frame`'s shown start, limits and marker.
    explicit VnWindow(CMainFrame& frame, QWidget* parent = nullptr);
    ~VnWindow() override;

    VnDiagramWidget& Diagram() { return *diagram_; }

    // Shows the samples of the frame's shown start (none when no start is
    // shown) and stops showing or reading many starts.
    void ShowShownStart();
    // Reads `files` in the background and shows all their samples at once,
    // binned by density; a progress bar and a cancel button show meanwhile.
    // Cancelling shows the starts read until then. Showing another start in
    // the graphs returns to that start.
    void ShowStarts(std::vector<StartFile> files);
    // True while starts are read.
    bool Reading() const { return reader_ != nullptr; }
    void CancelReading();
    // Waits until the starts are read and shows them (for tests and batch use).
    void FinishReading();
    // The number of starts shown at once; 0 while the shown start is shown.
    std::size_t StartCount() const { return starts_.size(); }

    QProgressBar* Progress() const { return progress_; }
    QPushButton* CancelButton() const { return cancel_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void OnLimitsChanged();
    void OnSampleMarked(int row);
    void OnPointPicked(int index);
    void BeginReading();
    void PollReading();
    void UpdateTitle();

    CMainFrame& frame_;
    VnDiagramWidget* diagram_ = nullptr;
    QWidget* progressRow_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
    std::vector<StartFile> starts_;  // the starts shown at once; empty: the shown start
    std::unique_ptr<VnStartsReader> reader_;
    QTimer poll_;
};

}  // namespace veltrin
