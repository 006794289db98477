#include "shell/logbook_window.h"

#include "analysis/aircraft_limits.h"
#include "shell/logbook_filler.h"
#include "shell/logbook_texts.h"
#include "shell/main_frame.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QShowEvent>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace veltrin {

namespace {

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// A cell text of each column as wide as its widest value, for the column widths.
constexpr const char* kWidestCells[] = {"00.00.0000", "00:00:00", "00:00:00", "000:00:00", "-00,00",
                                        "-00,00",     "000,0",    "0000,0",   "000",       "000"};

constexpr int kCellPadding = 18;
constexpr QSize kInitialSize{640, 520};

}  // namespace

LogbookWindow::LogbookWindow(CMainFrame& frame)
    : QWidget(&frame, Qt::Window),
      frame_(frame),
      model_(new LogbookModel(this)),
      filler_(new LogbookFiller(this))
{
    filter_ = new LogbookFilterModel(*model_, this);
    setObjectName(QStringLiteral("LogbookWindow"));
    setWindowTitle(Text(kLogbookTitle));
    createFilter();
    createTable();
    createTotals();
    createProgress();

    auto* layout = new QVBoxLayout(this);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(new QLabel(Text(kLogbookFromText)));
    filterRow->addWidget(fromEdit_);
    filterRow->addSpacing(12);
    filterRow->addWidget(new QLabel(Text(kLogbookToText)));
    filterRow->addWidget(toEdit_);
    filterRow->addStretch(1);
    filterRow->addWidget(fillState_);
    // The starts of the date range, in a report or in one V-n diagram.
    auto* vn = new QPushButton(Text(kLogbookVnText));
    vn->setObjectName(QStringLiteral("LogbookVn"));
    vn->setToolTip(Text(kLogbookVnTip));
    connect(vn, &QPushButton::clicked, this, [this] { frame_.VnDiagramOfDateRange(); });
    auto* report = new QPushButton(Text(kLogbookReportText));
    report->setObjectName(QStringLiteral("LogbookReport"));
    connect(report, &QPushButton::clicked, this, [this] { frame_.LogbookReportOfDateRange(); });
    filterRow->addWidget(vn);
    filterRow->addWidget(report);
    layout->addLayout(filterRow);
    layout->addWidget(table_, 1);
    layout->addWidget(totalsView_);
    layout->setSpacing(4);

    connect(filler_, &LogbookFiller::summariesReady, this, &LogbookWindow::OnBatch);
    connect(filler_, &LogbookFiller::finished, this, &LogbookWindow::OnFillFinished);
    connect(&frame_, &CMainFrame::recordingLoaded, this, &LogbookWindow::OnRecordingLoaded);
    connect(&frame_, &CMainFrame::limitsChanged, this, &LogbookWindow::OnLimitsChanged);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(filter_, signal, this, &LogbookWindow::UpdateTotals);
    connect(filter_, &QAbstractItemModel::modelReset, this, &LogbookWindow::UpdateTotals);
    connect(filter_, &QAbstractItemModel::dataChanged, this, &LogbookWindow::UpdateTotals);

    ResetDateRange();
    UpdateTotals();
    UpdateFillState();
    // Set here: a first show would cut the hint down to two thirds of the screen.
    resize(sizeHint());
}

LogbookWindow::~LogbookWindow()
{
    filler_->Discard();
    delete progress_;
    delete cancelButton_;
}

void LogbookWindow::createFilter()
{
    for (QDateEdit** edit : {&fromEdit_, &toEdit_}) {
        *edit = new QDateEdit;
        (*edit)->setDisplayFormat(Text(kLogbookDateFormat));
        (*edit)->setCalendarPopup(true);
        connect(*edit, &QDateEdit::dateChanged, this, &LogbookWindow::OnDateEdited);
    }
    fromEdit_->setObjectName(QStringLiteral("LogbookFrom"));
    toEdit_->setObjectName(QStringLiteral("LogbookTo"));
    fillState_ = new QLabel;
    fillState_->setObjectName(QStringLiteral("LogbookFillState"));
}

void LogbookWindow::createTable()
{
    table_ = new QTableView;
    table_->setObjectName(QStringLiteral("LogbookTable"));
    table_->setModel(filter_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(static_cast<int>(LogbookColumn::Date), Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setAlternatingRowColors(true);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    QHeaderView* header = table_->horizontalHeader();
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    for (int column = 0; column < kLogbookColumnCount; ++column) {
        const int width = std::max(fontMetrics().horizontalAdvance(Text(kWidestCells[column])),
                                   fontMetrics().horizontalAdvance(
                                       Text(kLogbookColumnTitles[column]) + QStringLiteral("  ")));
        header->resizeSection(column, width + kCellPadding);
    }

    connect(table_, &QTableView::doubleClicked, this, &LogbookWindow::ShowStartAt);
    // Enter shows the current row's start too, for the keyboard.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(key, table_, nullptr, nullptr, Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this,
                [this] { ShowStartAt(table_->currentIndex()); });
    }
}

void LogbookWindow::createTotals()
{
    // One row under the table, in the table's columns, whatever the sorting.
    totalsModel_ = new QStandardItemModel(1, kLogbookColumnCount, this);
    totalsView_ = new QTableView;
    totalsView_->setObjectName(QStringLiteral("LogbookTotals"));
    totalsView_->setModel(totalsModel_);
    totalsView_->horizontalHeader()->hide();
    totalsView_->verticalHeader()->hide();
    totalsView_->setSelectionMode(QAbstractItemView::NoSelection);
    totalsView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    totalsView_->setFocusPolicy(Qt::NoFocus);
    totalsView_->setWordWrap(false);
    totalsView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    totalsView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont bold = totalsView_->font();
    bold.setBold(true);
    totalsView_->setFont(bold);
    const int rowHeight = table_->verticalHeader()->defaultSectionSize();
    totalsView_->verticalHeader()->setDefaultSectionSize(rowHeight);
    totalsView_->setFixedHeight(rowHeight + 2 * totalsView_->frameWidth());
    for (int column = 0; column < kLogbookColumnCount; ++column) {
        auto* item = new QStandardItem;
        item->setTextAlignment(column >= static_cast<int>(LogbookColumn::Duration)
                                   ? Qt::AlignRight | Qt::AlignVCenter
                                   : Qt::AlignLeft | Qt::AlignVCenter);
        totalsModel_->setItem(0, column, item);
    }

    connect(table_->horizontalHeader(), &QHeaderView::sectionResized, this,
            &LogbookWindow::SyncTotalsColumns);
    connect(table_->horizontalScrollBar(), &QScrollBar::valueChanged,
            totalsView_->horizontalScrollBar(), &QScrollBar::setValue);
    SyncTotalsColumns();
}

void LogbookWindow::createProgress()
{
    QStatusBar* bar = frame_.statusBar();
    progress_ = new QProgressBar(bar);
    progress_->setObjectName(QStringLiteral("LogbookProgress"));
    progress_->setFormat(Text(kLogbookProgressFormat));
    // Room for the text of a card of thousands of starts, on one line.
    progress_->setFixedWidth(bar->fontMetrics().horizontalAdvance(
                                 Text(kLogbookProgressFormat)
                                     .replace(QStringLiteral("%v"), QStringLiteral("00000"))
                                     .replace(QStringLiteral("%m"), QStringLiteral("00000"))) +
                             40);
    progress_->setMaximumHeight(bar->fontMetrics().height() + 4);
    cancelButton_ = new QPushButton(Text(kLogbookCancelText), bar);
    cancelButton_->setObjectName(QStringLiteral("LogbookCancel"));
    cancelButton_->setFlat(true);
    cancelButton_->setMaximumHeight(progress_->maximumHeight() + 2);
    // After the message pane, before the indicators.
    bar->insertPermanentWidget(1, progress_);
    bar->insertPermanentWidget(2, cancelButton_);
    progress_->hide();
    cancelButton_->hide();
    connect(cancelButton_, &QPushButton::clicked, this, &LogbookWindow::CancelFill);
}

void LogbookWindow::SyncTotalsColumns()
{
    for (int column = 0; column < kLogbookColumnCount; ++column)
        totalsView_->setColumnWidth(column, table_->columnWidth(column));
}

QSize LogbookWindow::sizeHint() const
{
    // Wide enough for every column beside the vertical scroll bar.
    const QMargins margins = layout()->contentsMargins();
    const int width = table_->horizontalHeader()->length() + 2 * table_->frameWidth() +
                      style()->pixelMetric(QStyle::PM_ScrollBarExtent) + margins.left() +
                      margins.right() + kCellPadding;
    return {std::max(width, kInitialSize.width()), kInitialSize.height()};
}

DayRange LogbookWindow::DateRange() const
{
    if (!fromEdit_->isEnabled())
        return {};
    return {fromEdit_->date(), toEdit_->date()};
}

void LogbookWindow::SetDateRange(const DayRange& range)
{
    if (!fromEdit_->isEnabled())
        return;
    {
        const QSignalBlocker quietFrom(fromEdit_);
        const QSignalBlocker quietTo(toEdit_);
        fromEdit_->setDate(range.from);
        toEdit_->setDate(range.to);
    }
    OnDateEdited();
}

std::vector<int> LogbookWindow::FilteredStarts() const
{
    const DayRange range = DateRange();
    std::vector<int> starts;
    const Recording& recording = frame_.LoadedRecording();
    for (std::size_t i = 0; i < recording.size(); ++i) {
        if (range.Contains(DayOf(recording[i].startTime)))
            starts.push_back(static_cast<int>(i));
    }
    return starts;
}

void LogbookWindow::ResetDateRange()
{
    const Recording& recording = frame_.LoadedRecording();
    const QSignalBlocker quietFrom(fromEdit_);
    const QSignalBlocker quietTo(toEdit_);
    if (recording.empty()) {
        fromEdit_->setEnabled(false);
        toEdit_->setEnabled(false);
        filter_->SetDayRange({});
        return;
    }
    const auto [first, last] = std::minmax_element(
        recording.begin(), recording.end(),
        [](const StartRecord& a, const StartRecord& b) { return a.startTime < b.startTime; });
    const QDate from = DayOf(first->startTime);
    const QDate to = DayOf(last->startTime);
    for (QDateEdit* edit : {fromEdit_, toEdit_}) {
        edit->setEnabled(true);
        edit->setDateRange(from, to);
    }
    fromEdit_->setDate(from);
    toEdit_->setDate(to);
    filter_->SetDayRange({from, to});
}

void LogbookWindow::OnDateEdited()
{
    // The range never runs backwards: the other end follows the one moved.
    const QSignalBlocker quietFrom(fromEdit_);
    const QSignalBlocker quietTo(toEdit_);
    if (fromEdit_->date() > toEdit_->date()) {
        if (sender() == toEdit_)
            fromEdit_->setDate(toEdit_->date());
        else
            toEdit_->setDate(fromEdit_->date());
    }
    filter_->SetDayRange(DateRange());
    UpdateTotals();
    emit dateRangeChanged();
}

bool LogbookWindow::IsFilling() const
{
    return filler_->IsRunning();
}

void LogbookWindow::CancelFill()
{
    filler_->Cancel();
}

bool LogbookWindow::LimitsShown() const
{
    const std::optional<AircraftLimits>& limits = frame_.Limits();
    return limits && LimitsAreUsable(*limits);
}

void LogbookWindow::Refill()
{
    filler_->Discard();
    model_->Clear();
    model_->SetShowsExceedances(LimitsShown());
    stale_ = false;
    cancelled_ = false;
    std::optional<AircraftLimits> limits;
    if (LimitsShown())
        limits = frame_.Limits();
    filler_->Start(StartFiles(frame_.LoadedRecording()), limits);
    if (progress_) {
        progress_->setRange(0, static_cast<int>(filler_->Total()));
        progress_->setValue(0);
        progress_->show();
        cancelButton_->show();
    }
    UpdateFillState();
}

void LogbookWindow::OnRecordingLoaded()
{
    filler_->Discard();
    model_->Clear();
    cancelled_ = false;
    stale_ = true;
    ResetDateRange();
    emit dateRangeChanged();
    if (isVisible()) {
        Refill();
        return;
    }
    for (QWidget* widget :
         {static_cast<QWidget*>(progress_), static_cast<QWidget*>(cancelButton_)}) {
        if (widget)
            widget->hide();
    }
    UpdateFillState();
}

void LogbookWindow::OnLimitsChanged()
{
    stale_ = true;
    if (isVisible())
        Refill();
}

void LogbookWindow::OnBatch(const std::vector<StartSummary>& batch)
{
    model_->Append(batch);
    if (progress_)
        progress_->setValue(static_cast<int>(filler_->HandedOver()));
    UpdateFillState();
}

void LogbookWindow::OnFillFinished(bool complete)
{
    cancelled_ = !complete;
    if (!complete)
        stale_ = true;
    if (progress_)
        progress_->hide();
    if (cancelButton_)
        cancelButton_->hide();
    UpdateFillState();
    emit fillFinished();
}

void LogbookWindow::UpdateFillState()
{
    const QString done = QString::number(filler_->HandedOver());
    const QString total = QString::number(filler_->Total());
    if (filler_->IsRunning())
        fillState_->setText(Text(kLogbookFillingText).arg(done, total));
    else if (cancelled_)
        fillState_->setText(Text(kLogbookCancelledText).arg(done, total));
    else
        fillState_->clear();
}

void LogbookWindow::UpdateTotals()
{
    const LogbookTotals totals = filter_->Totals();
    const auto set = [this](LogbookColumn column, const QString& text) {
        totalsModel_->item(0, static_cast<int>(column))->setText(text);
    };
    set(LogbookColumn::Date, totals.starts == 1 ? Text(kLogbookOneStartText)
                                                : Text(kLogbookStartsText).arg(totals.starts));
    set(LogbookColumn::Duration, QString::fromStdString(DurationText(totals.flightSeconds)));
    set(LogbookColumn::Events, QString::number(totals.events));
    set(LogbookColumn::Exceedances,
        model_->ShowsExceedances() ? QString::number(totals.exceedances) : QString());
}

void LogbookWindow::ShowStartAt(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    const QModelIndex source = filter_->mapToSource(index);
    frame_.ShowStart(model_->Entry(source.row()).startIndex);
}

void LogbookWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        table_->setFocus();
        if (stale_ && !filler_->IsRunning())
            Refill();
        emit visibilityChanged(true);
    }
}

void LogbookWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        // A closed logbook reads nothing in the background.
        filler_->Cancel();
        emit visibilityChanged(false);
    }
}

}  // namespace veltrin
