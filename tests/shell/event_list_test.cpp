#include "shell_test_support.h"

#include "graph/graph_pane.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"
#include "shell/event_list_window.h"
#include "shell/status_texts.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTreeWidget>

#include <string>
#include <vector>

namespace veltrin::test {
namespace {

constexpr AircraftLimits kLimits{-3.5, 5.5, 250};

// 100 s every half second, with
// - an event at 20..21 s (flagged, up to 6.5 g), also beyond +5.5 g;
// - a single flagged sample at 60 s at -4 g, also beyond -3.5 g;
// - an unflagged run at 70..72 s above 250 km/h, up to 270.
std::vector<std::string> MadeStart()
{
    std::vector<std::string> lines;
    for (int half = 0; half <= 200; ++half) {
        const double t = half * 0.5;
        double accZ = 1.0;
        double ias = 100.0;
        int flags = 0;
        if (t >= 20.0 && t <= 21.0) {
            accZ = t == 20.5 ? 6.5 : 6.0;
            ias = 110.0 + t;
            flags = 1;
        } else if (t == 60.0) {
            accZ = -4.0;
            ias = 120.0;
            flags = 1;
        } else if (t >= 70.0 && t <= 72.0) {
            ias = t == 71.0 ? 270.0 : 260.0;
        }
        lines.push_back(SampleLine(1000.0 + t, accZ, ias, 500 + static_cast<int>(t), flags));
    }
    return lines;
}

QStringList RowTexts(const QTreeWidget& table, int row)
{
    QStringList texts;
    const QTreeWidgetItem* item = table.topLevelItem(row);
    for (int column = 0; item && column < table.columnCount(); ++column)
        texts << item->text(column);
    return texts;
}

class EventListTest : public ShellTest {
protected:
    CMainFrame& ShowMadeStart()
    {
        WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"),
                      MadeStart());
        CMainFrame& frame = MakeFrame(QSize(1000, 800));
        frame.ShowStart(0);
        return frame;
    }
    QTreeWidget& Events() const { return *frame_->EventList()->EventTable(); }
    QTreeWidget& Exceedances() const { return *frame_->EventList()->ExceedanceTable(); }
    std::vector<CChildFrame*> Windows() const
    {
        return {frame_->AccelerationWindow(), frame_->SpeedWindow(), frame_->AltitudeWindow()};
    }
};

TEST_F(EventListTest, ListsTheEventsOfTheShownStartAndItsExceedancesOnceLimitsAreSet)
{
    ShowMadeStart();
    ASSERT_EQ(Events().topLevelItemCount(), 2);
    EXPECT_EQ(RowTexts(Events(), 0),
              QStringList({"1", "20.0", "1.0", "6.00", "6.50", "131.0", "520"}));
    EXPECT_EQ(RowTexts(Events(), 1),
              QStringList({"2", "60.0", "0.0", "-4.00", "-4.00", "120.0", "560"}));
    // Without limits no exceedances.
    EXPECT_EQ(Exceedances().topLevelItemCount(), 0);

    frame_->SetLimits(kLimits);
    ASSERT_EQ(Exceedances().topLevelItemCount(), 3);
    EXPECT_EQ(RowTexts(Exceedances(), 0), QStringList({"+g", "20.0", "1.0", "6.50 g"}));
    EXPECT_EQ(RowTexts(Exceedances(), 1), QStringList({"-g", "60.0", "0.0", "-4.00 g"}));
    EXPECT_EQ(RowTexts(Exceedances(), 2), QStringList({"IAS", "70.0", "2.0", "270.0 km/h"}));

    frame_->SetLimits(std::nullopt);
    EXPECT_EQ(Exceedances().topLevelItemCount(), 0);
    EXPECT_EQ(Events().topLevelItemCount(), 2);

    // A new base directory shows no start: both lists empty.
    frame_->SetLimits(kLimits);
    frame_->LoadBaseDirectory(cardPath_);
    EXPECT_EQ(Events().topLevelItemCount(), 0);
    EXPECT_EQ(Exceedances().topLevelItemCount(), 0);
}

TEST_F(EventListTest, SelectingARowMarksItsFirstSampleAndZoomsAllGraphsToIt)
{
    ShowMadeStart();
    frame_->SetLimits(kLimits);
    const struct {
        QTreeWidget* table;
        int row;
        int sample;
        double xMin, xMax;
        const char* status;
    } cases[] = {
        // 20..21 s with 2 s either side, widened to 10 s about its middle.
        {&Events(), 0, 40, 15.5, 25.5, "Mark:  20.0 sec     6.0 g     130 km/h     520 m"},
        {&Events(), 1, 120, 55, 65, "Mark:  60.0 sec    -4.0 g     120 km/h     560 m"},
        {&Exceedances(), 2, 140, 66, 76, "Mark:  70.0 sec     1.0 g     260 km/h     570 m"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        c.table->setCurrentItem(c.table->topLevelItem(c.row));
        for (CChildFrame* window : Windows()) {
            const CGraphPlot& plot = window->Pane().Plot();
            EXPECT_TRUE(plot.MarkerShown());
            EXPECT_EQ(plot.MarkerTime(), plot.Table().Time(c.sample));
            const GraphSettings s = window->Pane().GetSettings();
            EXPECT_DOUBLE_EQ(s.xMin, c.xMin);
            EXPECT_DOUBLE_EQ(s.xMax, c.xMax);
            EXPECT_EQ(s.xMajorStep, 1);
        }
        EXPECT_EQ(frame_->StatusText().toStdString(), c.status);
        // One selected row in both lists together.
        EXPECT_EQ(Events().selectedItems().size() + Exceedances().selectedItems().size(), 1);
    }
}

TEST_F(EventListTest, ShowTimeRangeGivesTicksForTheSpanAndKeepsTheGraphsInStep)
{
    ShowMadeStart();
    const struct {
        double from, to, xMin, xMax, step;
    } cases[] = {
        {10, 90, 10, 90, 10},
        {30, 33, 26.5, 36.5, 1},
        {95, 99, 90, 100, 1},
        {0, 60, 0, 60, 10},
    };
    for (const auto& c : cases) {
        frame_->ShowTimeRange(c.from, c.to);
        for (CChildFrame* window : Windows()) {
            const GraphSettings s = window->Pane().GetSettings();
            EXPECT_DOUBLE_EQ(s.xMin, c.xMin) << c.from;
            EXPECT_DOUBLE_EQ(s.xMax, c.xMax) << c.from;
            EXPECT_EQ(s.xMajorStep, c.step) << c.from;
        }
    }
    // Back to the whole flight as before.
    frame_->FullView();
    EXPECT_EQ(frame_->SpeedWindow()->Pane().GetSettings().xMax, 100);
}

TEST_F(EventListTest, TheViewMenuShowsAndHidesTheListTickedLikeTheBars)
{
    CMainFrame& frame = ShowMadeStart();
    frame.show();
    QAction* toggle = frame.Action(Command::ToggleEventList);
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(toggle->text(), "Ereignisse");
    EXPECT_TRUE(frame.menuBar()->actions().at(1)->menu()->actions().contains(toggle));
    EXPECT_TRUE(frame.EventListBar()->isHidden());
    frame.UpdateMenus();
    EXPECT_FALSE(toggle->isChecked());

    toggle->trigger();
    EXPECT_FALSE(frame.EventListBar()->isHidden());
    frame.UpdateMenus();
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_EQ(frame.EventListBar()->windowTitle(), "Ereignisse");

    toggle->trigger();
    EXPECT_TRUE(frame.EventListBar()->isHidden());
    frame.UpdateMenus();
    EXPECT_FALSE(toggle->isChecked());
}

TEST_F(EventListTest, StackedGraphsAreStackedAgainInTheRoomTheListLeaves)
{
    CMainFrame& frame = ShowMadeStart();
    frame.show();
    QTest::qWait(50);
    frame.StackGraphWindows();
    for (bool shown : {true, false}) {
        SCOPED_TRACE(shown);
        frame.Action(Command::ToggleEventList)->trigger();
        QTest::qWait(50);
        EXPECT_EQ(frame.EventListBar()->isVisible(), shown);
        const QRect client = frame.MdiArea()->viewport()->rect();
        // Stacked from the top: acceleration, speed, altitude down to the bottom edge.
        EXPECT_EQ(frame.AccelerationWindow()->geometry().top(), client.top());
        EXPECT_EQ(frame.AltitudeWindow()->geometry().bottom(), client.bottom());
        EXPECT_EQ(frame.AccelerationWindow()->width(), client.width());
    }
}

}  // namespace
}  // namespace veltrin::test
