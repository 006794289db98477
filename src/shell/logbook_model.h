#pragma once
// The logbook's rows as a table model, and the view of them that the window
// shows: sorted by the numbers behind the texts and limited to a date range.

#include "shell/logbook_entry.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QSortFilterProxyModel>

#include <vector>

namespace veltrin {

// The logbook's columns, left to right.
enum class LogbookColumn {
    Date,
    Start,
    Landing,
    Duration,
    MinAccZ,
    MaxAccZ,
    MaxIas,
    MaxAltitude,
    Events,
    Exceedances,
};
inline constexpr int kLogbookColumnCount = 10;

// The UTC day of `time`.
QDate DayOf(CalendarSeconds time);

// Days from `from` to `to`, both included; a null end leaves that side open.
struct DayRange {
    QDate from;
    QDate to;
    bool Contains(QDate day) const;
};

// One row per start, in the order the summaries came in.
class LogbookModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void Append(const std::vector<StartSummary>& summaries);
    void Clear();
    // Without limits the exceedance column stays empty.
    void SetShowsExceedances(bool shows);
    bool ShowsExceedances() const { return showsExceedances_; }

    const LogbookEntry& Entry(int row) const { return entries_[static_cast<std::size_t>(row)]; }
    // The number a column is sorted by: times and counts as they are, an
    // empty cell below every value.
    double SortKey(int row, LogbookColumn column) const;
    // The text of a cell; empty when the start has no such value.
    QString CellText(int row, LogbookColumn column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<LogbookEntry> entries_;
    bool showsExceedances_ = false;
};

// Sorts by LogbookModel::SortKey (equal keys by start time, then index) and
// hides the starts outside the date range.
class LogbookFilterModel final : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit LogbookFilterModel(LogbookModel& source, QObject* parent = nullptr);

    void SetDayRange(const DayRange& range);
    const DayRange& Range() const { return range_; }
    // The totals of the rows shown.
    LogbookTotals Totals() const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    LogbookModel& source_;
    DayRange range_;
};

}  // namespace veltrin
