#include "shell/event_list_window.h"

#include "data/number_format.h"
#include "data/recording.h"

#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStringList>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <string>

namespace veltrin {

namespace {

constexpr const char* kEventsTitle = "Vom Logger markiert";
constexpr const char* kExceedancesTitle = "Überschreitungen der Grenzwerte";
constexpr const char* kNoLimitsTitle = "Überschreitungen (keine Grenzwerte gesetzt)";
constexpr const char* kEventColumns[] = {"Nr",    "Zeit [s]",       "Dauer [s]", "min g",
                                         "max g", "max IAS [km/h]", "Höhe [m]"};
constexpr const char* kExceedanceColumns[] = {"Art", "Zeit [s]", "Dauer [s]", "Spitzenwert"};
// The item role that carries a row's position in the found list.
constexpr int kIndexRole = Qt::UserRole;

QString Fixed(double value, int decimals)
{
    std::string text;
    AppendFixed(text, value, decimals);
    return QString::fromStdString(text);
}

QTreeWidget* MakeTable(QWidget* parent, const QString& name, const QStringList& columns)
{
    auto* table = new QTreeWidget(parent);
    table->setObjectName(name);
    table->setColumnCount(static_cast<int>(columns.size()));
    table->setHeaderLabels(columns);
    table->setRootIsDecorated(false);
    table->setUniformRowHeights(true);
    table->setAllColumnsShowFocus(true);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Numbers stay next to their heads, not at the far edge.
    table->header()->setStretchLastSection(false);
    return table;
}

template <std::size_t N>
QStringList Texts(const char* const (&texts)[N])
{
    QStringList list;
    for (const char* text : texts)
        list << QString::fromUtf8(text);
    return list;
}

// A row's item, its numbers right-aligned, its place in the list kept.
QTreeWidgetItem* AddRow(QTreeWidget& table, const QStringList& texts, int index)
{
    auto* item = new QTreeWidgetItem(&table, texts);
    for (int column = 1; column < texts.size(); ++column)
        item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    item->setData(0, kIndexRole, index);
    return item;
}

// The list position of the selected current row, or -1.
int SelectedIndex(const QTreeWidget& table)
{
    const QTreeWidgetItem* item = table.currentItem();
    return item && item->isSelected() ? item->data(0, kIndexRole).toInt() : -1;
}

QWidget* Titled(QWidget* parent, QLabel* title, QTreeWidget* table)
{
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(title);
    layout->addWidget(table, 1);
    return box;
}

}  // namespace

CEventListWindow::CEventListWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("EventList"));
    events_ = MakeTable(this, QStringLiteral("EventTable"), Texts(kEventColumns));
    exceedances_ = MakeTable(this, QStringLiteral("ExceedanceTable"), Texts(kExceedanceColumns));
    exceedanceTitle_ = new QLabel(QString::fromUtf8(kNoLimitsTitle), this);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(
        Titled(splitter, new QLabel(QString::fromUtf8(kEventsTitle), this), events_));
    splitter->addWidget(Titled(splitter, exceedanceTitle_, exceedances_));
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(splitter);

    connect(events_, &QTreeWidget::itemSelectionChanged, this, &CEventListWindow::OnEventSelected);
    connect(exceedances_, &QTreeWidget::itemSelectionChanged, this,
            &CEventListWindow::OnExceedanceSelected);
}

void CEventListWindow::ShowStart(const StartRecord* start,
                                 const std::optional<AircraftLimits>& limits)
{
    const bool limitsSet = limits && LimitsAreUsable(*limits);
    foundEvents_.clear();
    foundExceedances_.clear();
    if (start) {
        foundEvents_ = FindEvents(start->samples);
        if (limitsSet)
            foundExceedances_ = FindExceedances(start->samples, *limits);
    }
    FillEvents();
    FillExceedances(limitsSet);
}

void CEventListWindow::FillEvents()
{
    const QSignalBlocker quiet(events_);
    events_->clear();
    for (std::size_t i = 0; i < foundEvents_.size(); ++i) {
        const FlightEvent& event = foundEvents_[i];
        const int index = static_cast<int>(i);
        AddRow(*events_,
               {QString::number(index + 1), Fixed(event.time, 1), Fixed(event.duration, 1),
                Fixed(event.minAccZ, 2), Fixed(event.maxAccZ, 2), Fixed(event.maxIas, 1),
                Fixed(event.altitude, 0)},
               index);
    }
}

void CEventListWindow::FillExceedances(bool limitsSet)
{
    const QSignalBlocker quiet(exceedances_);
    exceedances_->clear();
    exceedanceTitle_->setText(QString::fromUtf8(limitsSet ? kExceedancesTitle : kNoLimitsTitle));
    for (std::size_t i = 0; i < foundExceedances_.size(); ++i) {
        const Exceedance& exceedance = foundExceedances_[i];
        const bool speed = exceedance.kind == ExceedanceKind::Speed;
        const QString peak = speed ? Fixed(exceedance.peak, 1) + QStringLiteral(" km/h")
                                   : Fixed(exceedance.peak, 2) + QStringLiteral(" g");
        AddRow(*exceedances_,
               {QString::fromUtf8(ExceedanceKindText(exceedance.kind).data(),
                                  static_cast<int>(ExceedanceKindText(exceedance.kind).size())),
                Fixed(exceedance.time, 1), Fixed(exceedance.duration, 1), peak},
               static_cast<int>(i));
    }
}

void CEventListWindow::OnEventSelected()
{
    const int index = SelectedIndex(*events_);
    if (index < 0 || static_cast<std::size_t>(index) >= foundEvents_.size())
        return;
    // One selected row in both lists together.
    {
        const QSignalBlocker quiet(exceedances_);
        exceedances_->clearSelection();
    }
    const FlightEvent& event = foundEvents_[static_cast<std::size_t>(index)];
    emit rowSelected(static_cast<int>(event.firstSample), event.time, event.time + event.duration);
}

void CEventListWindow::OnExceedanceSelected()
{
    const int index = SelectedIndex(*exceedances_);
    if (index < 0 || static_cast<std::size_t>(index) >= foundExceedances_.size())
        return;
    {
        const QSignalBlocker quiet(events_);
        events_->clearSelection();
    }
    const Exceedance& exceedance = foundExceedances_[static_cast<std::size_t>(index)];
    emit rowSelected(static_cast<int>(exceedance.firstSample), exceedance.time,
                     exceedance.time + exceedance.duration);
}

}  // namespace veltrin
