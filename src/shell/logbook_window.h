#pragma once
// LogbookWindow: the "Flugbuch", a table of every start of the loaded card
// with its totals and a date filter. It fills in the background while it is
// open; a double click shows a start in the graphs.

#include "shell/logbook_model.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class QDateEdit;
class QLabel;
class QProgressBar;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace veltrin {

class CMainFrame;
class LogbookFiller;

class LogbookWindow final : public QWidget {
    Q_OBJECT

public:
    // A window of its own above `frame`; its fill's progress shows in the
    // frame's status bar.
    explicit LogbookWindow(CMainFrame& frame);
    // Stops a running fill and waits for it.
    ~LogbookWindow() override;

    // The date filter: the days shown, both included.
    DayRange DateRange() const;
    void SetDateRange(const DayRange& range);
    // The starts of the loaded card whose UTC day lies in the date range, in
    // card order, whether or not their rows are filled yet.
    std::vector<int> FilteredStarts() const;

    // The totals of the rows shown.
    LogbookTotals Totals() const { return filter_->Totals(); }
    bool IsFilling() const;
    // Stops the fill; the rows read so far stay.
    void CancelFill();
    // Reads the card anew.
    void Refill();

    QTableView* Table() const { return table_; }
    const LogbookModel& Model() const { return *model_; }
    // The view's sorted and filtered rows over Model().
    const LogbookFilterModel& Rows() const { return *filter_; }
    LogbookFiller& Filler() { return *filler_; }

    QSize sizeHint() const override;

signals:
    // Shown or hidden.
    void visibilityChanged(bool visible);
    // The user or the program changed the date range.
    void dateRangeChanged();
    // The fill ended, complete or cancelled.
    void fillFinished();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void createTable();
    void createFilter();
    void createTotals();
    void createProgress();

    void OnRecordingLoaded();
    void OnLimitsChanged();
    void OnDateEdited();
    void OnBatch(const std::vector<StartSummary>& batch);
    void OnFillFinished(bool complete);
    void ShowStartAt(const QModelIndex& index);
    void ResetDateRange();
    void UpdateTotals();
    void UpdateFillState();
    void SyncTotalsColumns();
    bool LimitsShown() const;

    CMainFrame& frame_;
    LogbookModel* model_;
    LogbookFilterModel* filter_;
    LogbookFiller* filler_;
    QTableView* table_ = nullptr;
    QTableView* totalsView_ = nullptr;
    QStandardItemModel* totalsModel_ = nullptr;
    QDateEdit* fromEdit_ = nullptr;
    QDateEdit* toEdit_ = nullptr;
    QLabel* fillState_ = nullptr;
    // In the frame's status bar, which deletes them when it goes first.
    QPointer<QProgressBar> progress_;
    QPointer<QPushButton> cancelButton_;
    // The rows do not match the loaded card and limits: read anew when shown.
    bool stale_ = true;
    bool cancelled_ = false;  // the last fill was stopped before its end
};

}  // namespace veltrin
