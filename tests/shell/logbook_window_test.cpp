#include "shell_test_support.h"

#include "graph/graph_pane.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"
#include "shell/logbook_filler.h"
#include "shell/logbook_window.h"
#include "shell/vn_window.h"

#include <QAction>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

#include <atomic>
#include <chrono>
#include <functional>
#include <set>
#include <thread>

namespace veltrin::test {
namespace {

constexpr AircraftLimits kLimits{-1.5, 3.8, 240.0};

// Runs the event loop until `done` holds or `timeoutMs` passed; says whether it held.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Holds the fill's workers once `count` starts are done, until the fill is cancelled.
struct WorkerHold {
    explicit WorkerHold(int holdAfter) : count(holdAfter) {}
    void Install(LogbookFiller& filler)
    {
        filler.SetWorkerPause([this](const std::atomic<bool>& cancel) {
            if (++done < count)
                return;
            while (!cancel && !released)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
    }
    int count;
    std::atomic<int> done{0};
    std::atomic<bool> released{false};
};

class LogbookWindowTest : public ShellTest {
protected:
    // Five starts over four days, in the order of their start times:
    //   26.08. 14:05  landing 14:18:20, one event, +g beyond the limits
    //   26.08. 15:00  landing 17:00:00, IAS beyond the limits
    //   27.08. 08:00  landing 18:30:00, two events, -g beyond the limits
    //   28.08. 23:50  landing 00:10:00 of the next day
    //   29.08. 12:00  no landing
    void WriteCard()
    {
        WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"),
                      {SampleLine(1.0, -1.25, 100.0, 500), SampleLine(2.0, 4.2, 182.0, 1450, 1),
                       SampleLine(3.0, 1.0, 95.0, 800), LandingLine(4.0, 141820)});
        WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S150000.TXT"),
                      {SampleLine(1.0, 1.0, 250.0, 300), SampleLine(2.0, 1.1, 95.0, 400),
                       LandingLine(3.0, 170000)});
        WriteDataFile(cardPath_, QStringLiteral("D120827"), QStringLiteral("S080000.TXT"),
                      {SampleLine(1.0, -2.0, 95.0, 2000, 1), SampleLine(2.0, 1.0, 90.0, 1000),
                       SampleLine(5.0, 1.0, 90.0, 1000, 1), LandingLine(6.0, 183000)});
        WriteDataFile(cardPath_, QStringLiteral("D120828"), QStringLiteral("S235000.TXT"),
                      {SampleLine(1.0, 1.0, 120.0, 600), LandingLine(2.0, 1000)});
        WriteDataFile(cardPath_, QStringLiteral("D120829"), QStringLiteral("S120000.TXT"),
                      {SampleLine(1.0, 0.5, 60.0, 100)});
    }

    // `count` starts of a minute each, one per day from 1 September 2012.
    void WriteManyStarts(int count)
    {
        for (int i = 0; i < count; ++i) {
            const QString day = QStringLiteral("D1209%1").arg(i % 28 + 1, 2, 10, QLatin1Char('0'));
            const QString file = QStringLiteral("S1%1000.TXT").arg(i / 28, 2, 10, QLatin1Char('0'));
            WriteDataFile(cardPath_, day, file, SteadyStart(60));
        }
    }

    LogbookWindow& Open()
    {
        frame_->Action(Command::ToggleLogbook)->trigger();
        return frame_->Logbook();
    }

    LogbookWindow& OpenFilled()
    {
        LogbookWindow& logbook = Open();
        EXPECT_TRUE(WaitUntil([&] { return !logbook.IsFilling(); }));
        return logbook;
    }

    // The index of the start at `startTime` in the loaded recording.
    int StartIndexAt(CalendarSeconds startTime) const
    {
        const Recording& recording = frame_->LoadedRecording();
        for (std::size_t i = 0; i < recording.size(); ++i) {
            if (recording[i].startTime == startTime)
                return static_cast<int>(i);
        }
        return -1;
    }

    // The shown texts of `column`, top to bottom.
    QStringList Column(LogbookColumn column) const
    {
        QStringList texts;
        QAbstractItemModel* rows = frame_->Logbook().Table()->model();
        for (int row = 0; row < rows->rowCount(); ++row)
            texts << rows->index(row, static_cast<int>(column)).data().toString();
        return texts;
    }

    QStringList Row(int row) const
    {
        QStringList texts;
        QAbstractItemModel* rows = frame_->Logbook().Table()->model();
        for (int column = 0; column < kLogbookColumnCount; ++column)
            texts << rows->index(row, column).data().toString();
        return texts;
    }

    QStringList TotalsRow() const
    {
        const auto* view =
            frame_->Logbook().findChild<QTableView*>(QStringLiteral("LogbookTotals"));
        QStringList texts;
        for (int column = 0; column < kLogbookColumnCount; ++column)
            texts << view->model()->index(0, column).data().toString();
        return texts;
    }

    QProgressBar* Progress() const
    {
        return frame_->statusBar()->findChild<QProgressBar*>(QStringLiteral("LogbookProgress"));
    }
};

// 26.08.2012 14:05:00 and 27.08.2012 08:00:00 UTC.
constexpr CalendarSeconds kFirstStart = 1345989900;
constexpr CalendarSeconds kThirdStart = 1346054400;

TEST_F(LogbookWindowTest, ShowsEveryStartAndTheTotals)
{
    WriteCard();
    MakeFrame();
    LogbookWindow& logbook = OpenFilled();
    EXPECT_TRUE(logbook.isVisible());
    EXPECT_TRUE(frame_->Action(Command::ToggleLogbook)->isChecked());
    EXPECT_EQ(logbook.windowTitle(), QStringLiteral("Flugbuch"));
    ASSERT_EQ(logbook.Table()->model()->rowCount(), 5);
    EXPECT_EQ(Row(0), QStringList({"26.08.2012", "14:05:00", "14:18:20", "0:13:20", "-1,25", "4,20",
                                   "182,0", "1450,0", "1", ""}));
    EXPECT_EQ(Row(3), QStringList({"28.08.2012", "23:50:00", "00:10:00", "0:20:00", "1,00", "1,00",
                                   "120,0", "600,0", "0", ""}));
    EXPECT_EQ(Row(4), QStringList({"29.08.2012", "12:00:00", "", "", "0,50", "0,50", "60,0",
                                   "100,0", "0", ""}));
    // 800 + 7200 + 37800 + 1200 s; the start without landing adds no time.
    EXPECT_EQ(TotalsRow(), QStringList({"5 Starts", "", "", "13:03:20", "", "", "", "", "3", ""}));
    const LogbookTotals totals = logbook.Totals();
    EXPECT_EQ(totals.starts, 5);
    EXPECT_EQ(totals.flightSeconds, 47000);
    EXPECT_EQ(totals.events, 3);
    EXPECT_FALSE(Progress()->isVisible());

    frame_->Action(Command::ToggleLogbook)->trigger();
    EXPECT_FALSE(logbook.isVisible());
    EXPECT_FALSE(frame_->Action(Command::ToggleLogbook)->isChecked());
}

TEST_F(LogbookWindowTest, ExceedancesOnlyWithLimitsAndReadAnewWhenTheyChange)
{
    WriteCard();
    MakeFrame();
    OpenFilled();
    EXPECT_EQ(Column(LogbookColumn::Exceedances), QStringList({"", "", "", "", ""}));

    frame_->SetLimits(kLimits);
    ASSERT_TRUE(WaitUntil([&] { return !frame_->Logbook().IsFilling(); }));
    EXPECT_EQ(Column(LogbookColumn::Exceedances), QStringList({"1", "1", "1", "0", "0"}));
    EXPECT_EQ(TotalsRow().at(static_cast<int>(LogbookColumn::Exceedances)), "3");
    EXPECT_EQ(frame_->Logbook().Totals().exceedances, 3);

    frame_->SetLimits(std::nullopt);
    ASSERT_TRUE(WaitUntil([&] { return !frame_->Logbook().IsFilling(); }));
    EXPECT_EQ(Column(LogbookColumn::Exceedances), QStringList({"", "", "", "", ""}));
    EXPECT_EQ(TotalsRow().at(static_cast<int>(LogbookColumn::Exceedances)), "");
}

TEST_F(LogbookWindowTest, SortsEveryColumnByItsNumbersAndKeepsTheTotalsBelow)
{
    WriteCard();
    MakeFrame();
    frame_->SetLimits(kLimits);
    LogbookWindow& logbook = OpenFilled();
    const QStringList totals = TotalsRow();
    QTableView* table = logbook.Table();

    // As text, "10:30:00" would come before "2:00:00" and "182,0" before "60,0".
    const struct {
        LogbookColumn column;
        QStringList ascending;
    } cases[] = {
        {LogbookColumn::Date,
         {"26.08.2012", "26.08.2012", "27.08.2012", "28.08.2012", "29.08.2012"}},
        {LogbookColumn::Start, {"08:00:00", "12:00:00", "14:05:00", "15:00:00", "23:50:00"}},
        {LogbookColumn::Landing, {"", "00:10:00", "14:18:20", "17:00:00", "18:30:00"}},
        {LogbookColumn::Duration, {"", "0:13:20", "0:20:00", "2:00:00", "10:30:00"}},
        {LogbookColumn::MinAccZ, {"-2,00", "-1,25", "0,50", "1,00", "1,00"}},
        {LogbookColumn::MaxAccZ, {"0,50", "1,00", "1,00", "1,10", "4,20"}},
        {LogbookColumn::MaxIas, {"60,0", "95,0", "120,0", "182,0", "250,0"}},
        {LogbookColumn::MaxAltitude, {"100,0", "400,0", "600,0", "1450,0", "2000,0"}},
        {LogbookColumn::Events, {"0", "0", "0", "1", "2"}},
        {LogbookColumn::Exceedances, {"0", "0", "1", "1", "1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.column));
        table->sortByColumn(static_cast<int>(c.column), Qt::AscendingOrder);
        EXPECT_EQ(Column(c.column), c.ascending);
        table->sortByColumn(static_cast<int>(c.column), Qt::DescendingOrder);
        QStringList descending = c.ascending;
        std::reverse(descending.begin(), descending.end());
        EXPECT_EQ(Column(c.column), descending);
        EXPECT_EQ(table->model()->rowCount(), 5);
        EXPECT_EQ(TotalsRow(), totals);
    }
    // Equal values keep the start order: 28.08. before 26.08. would be text order of the rows.
    table->sortByColumn(static_cast<int>(LogbookColumn::MaxAccZ), Qt::AscendingOrder);
    EXPECT_EQ(Column(LogbookColumn::Date).mid(1, 2), QStringList({"27.08.2012", "28.08.2012"}));

    // A click on a column head sorts by it.
    QHeaderView* header = table->horizontalHeader();
    const int column = static_cast<int>(LogbookColumn::MaxIas);
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    table->sortByColumn(static_cast<int>(LogbookColumn::Date), Qt::AscendingOrder);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    const QStringList clicked = Column(LogbookColumn::MaxIas);
    EXPECT_TRUE(clicked == cases[6].ascending ||
                clicked == QStringList({"250,0", "182,0", "120,0", "95,0", "60,0"}))
        << clicked.join(' ').toStdString();
}

TEST_F(LogbookWindowTest, DateFilterLimitsRowsTotalsAndTheFilteredStarts)
{
    WriteCard();
    MakeFrame();
    frame_->SetLimits(kLimits);
    LogbookWindow& logbook = OpenFilled();
    auto* from = logbook.findChild<QDateEdit*>(QStringLiteral("LogbookFrom"));
    auto* to = logbook.findChild<QDateEdit*>(QStringLiteral("LogbookTo"));
    ASSERT_NE(from, nullptr);
    ASSERT_NE(to, nullptr);
    // The card's first and last day at first, and no earlier or later day to pick.
    EXPECT_EQ(from->date(), QDate(2012, 8, 26));
    EXPECT_EQ(to->date(), QDate(2012, 8, 29));
    EXPECT_EQ(from->minimumDate(), QDate(2012, 8, 26));
    EXPECT_EQ(to->maximumDate(), QDate(2012, 8, 29));
    EXPECT_EQ(logbook.FilteredStarts().size(), 5U);

    QSignalSpy changed(&logbook, &LogbookWindow::dateRangeChanged);
    from->setDate(QDate(2012, 8, 27));
    to->setDate(QDate(2012, 8, 28));
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(Column(LogbookColumn::Date), QStringList({"27.08.2012", "28.08.2012"}));
    EXPECT_EQ(TotalsRow(), QStringList({"2 Starts", "", "", "10:50:00", "", "", "", "", "2", "1"}));
    EXPECT_EQ(logbook.DateRange().from, QDate(2012, 8, 27));
    EXPECT_EQ(logbook.DateRange().to, QDate(2012, 8, 28));
    const std::vector<int> starts = logbook.FilteredStarts();
    ASSERT_EQ(starts.size(), 2U);
    EXPECT_EQ(starts[0], StartIndexAt(kThirdStart));
    EXPECT_EQ(frame_->LoadedRecording()[static_cast<std::size_t>(starts[1])].startTime,
              kThirdStart + 86400 + 15 * 3600 + 50 * 60);

    // The range never runs backwards: moving one end past the other takes it along.
    to->setDate(QDate(2012, 8, 26));
    EXPECT_EQ(from->date(), QDate(2012, 8, 26));
    EXPECT_EQ(TotalsRow().at(0), "2 Starts");
    from->setDate(QDate(2012, 8, 29));
    EXPECT_EQ(to->date(), QDate(2012, 8, 29));
    EXPECT_EQ(TotalsRow().at(0), "1 Start");

    // Set by the program, as the reports do.
    logbook.SetDateRange({QDate(2012, 8, 26), QDate(2012, 8, 26)});
    EXPECT_EQ(Column(LogbookColumn::Start), QStringList({"14:05:00", "15:00:00"}));
    EXPECT_EQ(logbook.FilteredStarts(),
              std::vector<int>({StartIndexAt(kFirstStart), StartIndexAt(kFirstStart + 3300)}));

    // Sorting keeps the filter.
    logbook.Table()->sortByColumn(static_cast<int>(LogbookColumn::MaxIas), Qt::DescendingOrder);
    EXPECT_EQ(Column(LogbookColumn::MaxIas), QStringList({"250,0", "182,0"}));
}

TEST_F(LogbookWindowTest, TheDateRangeChoosesTheStartsOfTheVnDiagramAndTheReport)
{
    WriteCard();
    MakeFrame();
    LogbookWindow& logbook = OpenFilled();
    logbook.SetDateRange({QDate(2012, 8, 27), QDate(2012, 8, 28)});

    auto* vn = logbook.findChild<QPushButton*>(QStringLiteral("LogbookVn"));
    ASSERT_NE(vn, nullptr);
    vn->click();
    VnWindow& window = frame_->VnDiagramWindow();
    EXPECT_FALSE(window.isHidden());
    EXPECT_EQ(window.StartCount(), 2u);
    window.FinishReading();

    auto* report = logbook.findChild<QPushButton*>(QStringLiteral("LogbookReport"));
    ASSERT_NE(report, nullptr);
    const QString pdf = settingsDir_.filePath(QStringLiteral("flugbuch.pdf"));
    dialogs_->saveAnswers.push_back(pdf);
    report->click();
    QFile written(pdf);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.read(5).startsWith("%PDF-"));
}

TEST_F(LogbookWindowTest, DoubleClickShowsThatStartInTheGraphs)
{
    WriteCard();
    MakeFrame();
    LogbookWindow& logbook = OpenFilled();
    QTableView* table = logbook.Table();
    table->sortByColumn(static_cast<int>(LogbookColumn::MaxIas), Qt::DescendingOrder);
    // The second row: the start with 182 km/h, 26.08. 14:05.
    const QModelIndex second = table->model()->index(1, 0);
    const QPoint at = table->visualRect(second).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(frame_->ShownStartIndex(), StartIndexAt(kFirstStart));
    EXPECT_EQ(frame_->AccelerationWindow()->Pane().Plot().Table().Count(), 3);

    // Enter shows the current row's start.
    table->setCurrentIndex(table->model()->index(0, 0));
    QTest::keyClick(table, Qt::Key_Return);
    EXPECT_EQ(frame_->ShownStartIndex(), StartIndexAt(kFirstStart + 3300));
}

TEST_F(LogbookWindowTest, RowsComeWhileItFillsAndCancelLeavesAConsistentPartialTable)
{
    WriteManyStarts(40);
    MakeFrame();
    WorkerHold hold(6);
    hold.Install(frame_->Logbook().Filler());
    LogbookWindow& logbook = Open();
    ASSERT_TRUE(WaitUntil([&] { return logbook.Table()->model()->rowCount() >= 6; }));
    EXPECT_TRUE(logbook.IsFilling());
    EXPECT_TRUE(Progress()->isVisible());
    auto* cancel = frame_->statusBar()->findChild<QPushButton*>(QStringLiteral("LogbookCancel"));
    ASSERT_NE(cancel, nullptr);
    EXPECT_TRUE(cancel->isVisible());

    // The window answers while it fills: sorting works on the rows there are.
    logbook.Table()->sortByColumn(static_cast<int>(LogbookColumn::Date), Qt::DescendingOrder);

    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_FALSE(logbook.IsFilling());
    EXPECT_FALSE(Progress()->isVisible());
    EXPECT_FALSE(cancel->isVisible());
    const int rows = logbook.Table()->model()->rowCount();
    EXPECT_GE(rows, 6);
    EXPECT_LT(rows, 40);
    EXPECT_EQ(static_cast<std::size_t>(rows), logbook.Filler().HandedOver());
    // Every row is a different start, and the totals are those of the rows.
    std::set<int> starts;
    for (int row = 0; row < logbook.Model().rowCount(); ++row)
        starts.insert(logbook.Model().Entry(row).startIndex);
    EXPECT_EQ(starts.size(), static_cast<std::size_t>(rows));
    EXPECT_EQ(logbook.Totals().starts, rows);
    EXPECT_EQ(TotalsRow().at(0), QStringLiteral("%1 Starts").arg(rows));
    EXPECT_EQ(logbook.findChild<QLabel*>(QStringLiteral("LogbookFillState"))->text(),
              QStringLiteral("Abgebrochen: %1 von 40 Starts gelesen").arg(rows));
    // Nothing comes after the cancel.
    QTest::qWait(3 * LogbookFiller::kBatchIntervalMs);
    EXPECT_EQ(logbook.Table()->model()->rowCount(), rows);

    // Opened again, it reads the whole card.
    hold.released = true;
    frame_->Action(Command::ToggleLogbook)->trigger();
    frame_->Action(Command::ToggleLogbook)->trigger();
    ASSERT_TRUE(WaitUntil([&] { return !logbook.IsFilling(); }));
    EXPECT_EQ(logbook.Table()->model()->rowCount(), 40);
    EXPECT_EQ(logbook.Totals().starts, 40);
    EXPECT_TRUE(logbook.findChild<QLabel*>(QStringLiteral("LogbookFillState"))->text().isEmpty());
}

TEST_F(LogbookWindowTest, ClosingTheWindowWhileItFillsStopsTheFill)
{
    WriteManyStarts(20);
    MakeFrame();
    WorkerHold hold(3);
    hold.Install(frame_->Logbook().Filler());
    LogbookWindow& logbook = Open();
    ASSERT_TRUE(WaitUntil([&] { return logbook.Table()->model()->rowCount() >= 3; }));
    logbook.close();
    EXPECT_FALSE(logbook.IsFilling());
    EXPECT_FALSE(Progress()->isVisible());
    EXPECT_FALSE(frame_->Action(Command::ToggleLogbook)->isChecked());
}

TEST_F(LogbookWindowTest, ClosingTheProgramWhileItFillsWaitsForTheWorkers)
{
    WriteManyStarts(20);
    MakeFrame();
    WorkerHold hold(3);
    hold.Install(frame_->Logbook().Filler());
    Open();
    ASSERT_TRUE(WaitUntil([&] { return hold.done >= 3; }));
    frame_->close();
    DestroyFrame();
    const int done = hold.done;
    QTest::qWait(50);
    EXPECT_EQ(hold.done, done);  // no worker runs on
}

TEST_F(LogbookWindowTest, AnotherCardIsReadAnewAndResetsTheDateRange)
{
    WriteCard();
    MakeFrame();
    LogbookWindow& logbook = OpenFilled();
    logbook.SetDateRange({QDate(2012, 8, 27), QDate(2012, 8, 27)});
    QTemporaryDir other;
    WriteDataFile(other.path(), QStringLiteral("D130101"), QStringLiteral("S100000.TXT"),
                  {SampleLine(1.0, 1.0, 80.0, 300), LandingLine(2.0, 103000)});
    QSignalSpy changed(&logbook, &LogbookWindow::dateRangeChanged);
    frame_->LoadBaseDirectory(other.path());
    EXPECT_EQ(changed.count(), 1);
    ASSERT_TRUE(WaitUntil([&] { return !logbook.IsFilling(); }));
    EXPECT_EQ(Row(0), QStringList({"01.01.2013", "10:00:00", "10:30:00", "0:30:00", "1,00", "1,00",
                                   "80,0", "300,0", "0", ""}));
    EXPECT_EQ(logbook.Table()->model()->rowCount(), 1);
    EXPECT_EQ(logbook.DateRange().from, QDate(2013, 1, 1));
    EXPECT_EQ(logbook.FilteredStarts(), std::vector<int>({0}));

    // A card loaded while the logbook is closed is read when it opens.
    frame_->Action(Command::ToggleLogbook)->trigger();
    frame_->LoadBaseDirectory(cardPath_);
    EXPECT_EQ(logbook.FilteredStarts().size(), 5U);
    OpenFilled();
    EXPECT_EQ(logbook.Table()->model()->rowCount(), 5);
}

// The first show cut the window to two thirds of the screen, the last column
// out of sight, and the progress text broke onto a second line.
TEST_F(LogbookWindowTest, RegressionColumnsAndProgressTextCutOffAtFirstOpen)
{
    WriteManyStarts(20);
    MakeFrame();
    WorkerHold hold(1);
    hold.Install(frame_->Logbook().Filler());
    LogbookWindow& logbook = Open();
    ASSERT_TRUE(WaitUntil([&] { return logbook.Table()->model()->rowCount() >= 1; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(logbook.Table()->horizontalScrollBar()->maximum(), 0);
    EXPECT_GE(logbook.Table()->viewport()->width(), logbook.Table()->horizontalHeader()->length());
    QProgressBar* progress = Progress();
    progress->setRange(0, 10000);
    progress->setValue(10000);
    EXPECT_GE(progress->width(), progress->fontMetrics().horizontalAdvance(progress->text()) + 20);
    logbook.CancelFill();
}

}  // namespace
}  // namespace veltrin::test
