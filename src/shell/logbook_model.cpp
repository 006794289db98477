#include "shell/logbook_model.h"

#include "data/start_text.h"
#include "shell/logbook_texts.h"

#include <limits>

namespace veltrin {

namespace {

constexpr CalendarSeconds kSecondsPerDay = 86400;
constexpr double kEmptyKey = std::numeric_limits<double>::lowest();

CalendarSeconds FloorDays(CalendarSeconds time)
{
    return time >= 0 ? time / kSecondsPerDay : -((-time + kSecondsPerDay - 1) / kSecondsPerDay);
}

CalendarSeconds TimeOfDay(CalendarSeconds time)
{
    return time - FloorDays(time) * kSecondsPerDay;
}

QString FromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

bool IsNumberColumn(LogbookColumn column)
{
    return column >= LogbookColumn::Duration;
}

}  // namespace

QDate DayOf(CalendarSeconds time)
{
    return QDate(1970, 1, 1).addDays(FloorDays(time));
}

bool DayRange::Contains(QDate day) const
{
    return (from.isNull() || day >= from) && (to.isNull() || day <= to);
}

void LogbookModel::Append(const std::vector<StartSummary>& summaries)
{
    if (summaries.empty())
        return;
    const int first = static_cast<int>(entries_.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(summaries.size()) - 1);
    for (const StartSummary& summary : summaries)
        entries_.push_back(LogbookEntryOf(summary));
    endInsertRows();
}

void LogbookModel::Clear()
{
    beginResetModel();
    entries_.clear();
    entries_.shrink_to_fit();
    endResetModel();
}

void LogbookModel::SetShowsExceedances(bool shows)
{
    if (shows == showsExceedances_)
        return;
    showsExceedances_ = shows;
    const int column = static_cast<int>(LogbookColumn::Exceedances);
    if (!entries_.empty())
        emit dataChanged(index(0, column), index(rowCount() - 1, column));
}

double LogbookModel::SortKey(int row, LogbookColumn column) const
{
    const LogbookEntry& entry = Entry(row);
    switch (column) {
    case LogbookColumn::Date: return static_cast<double>(entry.startTime);
    case LogbookColumn::Start: return static_cast<double>(TimeOfDay(entry.startTime));
    case LogbookColumn::Landing:
        return entry.landingTime ? static_cast<double>(TimeOfDay(*entry.landingTime)) : kEmptyKey;
    case LogbookColumn::Duration:
        return entry.durationSeconds ? static_cast<double>(*entry.durationSeconds) : kEmptyKey;
    default: break;
    }
    if (!entry.readable)
        return kEmptyKey;
    switch (column) {
    case LogbookColumn::MinAccZ: return entry.minAccZ;
    case LogbookColumn::MaxAccZ: return entry.maxAccZ;
    case LogbookColumn::MaxIas: return entry.maxIas;
    case LogbookColumn::MaxAltitude: return entry.maxAltitude;
    case LogbookColumn::Events: return entry.events;
    case LogbookColumn::Exceedances: return showsExceedances_ ? entry.exceedances : kEmptyKey;
    default: return kEmptyKey;
    }
}

QString LogbookModel::CellText(int row, LogbookColumn column) const
{
    const LogbookEntry& entry = Entry(row);
    switch (column) {
    case LogbookColumn::Date: return FromStd(DayText(entry.startTime));
    case LogbookColumn::Start: return FromStd(TimeOfDayText(entry.startTime));
    case LogbookColumn::Landing:
        return entry.landingTime ? FromStd(TimeOfDayText(*entry.landingTime)) : QString();
    case LogbookColumn::Duration:
        return entry.durationSeconds ? FromStd(DurationText(*entry.durationSeconds)) : QString();
    default: break;
    }
    if (!entry.readable)
        return {};
    switch (column) {
    case LogbookColumn::MinAccZ: return FromStd(DecimalText(entry.minAccZ, 2));
    case LogbookColumn::MaxAccZ: return FromStd(DecimalText(entry.maxAccZ, 2));
    case LogbookColumn::MaxIas: return FromStd(DecimalText(entry.maxIas, 1));
    case LogbookColumn::MaxAltitude: return FromStd(DecimalText(entry.maxAltitude, 1));
    case LogbookColumn::Events: return QString::number(entry.events);
    case LogbookColumn::Exceedances:
        return showsExceedances_ ? QString::number(entry.exceedances) : QString();
    default: return {};
    }
}

int LogbookModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int LogbookModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kLogbookColumnCount;
}

QVariant LogbookModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto column = static_cast<LogbookColumn>(index.column());
    switch (role) {
    case Qt::DisplayRole: return CellText(index.row(), column);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(IsNumberColumn(column) ? Qt::AlignRight | Qt::AlignVCenter
                                                          : Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ToolTipRole:
        return Entry(index.row()).readable ? QVariant() : QString::fromUtf8(kLogbookUnreadableText);
    default: return {};
    }
}

QVariant LogbookModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kLogbookColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(kLogbookColumnTitles[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

LogbookFilterModel::LogbookFilterModel(LogbookModel& source, QObject* parent)
    : QSortFilterProxyModel(parent), source_(source)
{
    setSourceModel(&source);
    setDynamicSortFilter(true);
}

void LogbookFilterModel::SetDayRange(const DayRange& range)
{
    if (range.from == range_.from && range.to == range_.to)
        return;
    range_ = range;
    invalidateRowsFilter();
}

LogbookTotals LogbookFilterModel::Totals() const
{
    LogbookTotals totals;
    for (int row = 0; row < rowCount(); ++row)
        AddToTotals(totals, source_.Entry(mapToSource(index(row, 0)).row()));
    if (!source_.ShowsExceedances())
        totals.exceedances = 0;
    return totals;
}

bool LogbookFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& /*sourceParent*/) const
{
    return range_.Contains(DayOf(source_.Entry(sourceRow).startTime));
}

bool LogbookFilterModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const auto column = static_cast<LogbookColumn>(left.column());
    const double a = source_.SortKey(left.row(), column);
    const double b = source_.SortKey(right.row(), column);
    if (a != b)
        return a < b;
    const LogbookEntry& l = source_.Entry(left.row());
    const LogbookEntry& r = source_.Entry(right.row());
    if (l.startTime != r.startTime)
        return l.startTime < r.startTime;
    return l.startIndex < r.startIndex;
}

}  // namespace veltrin
