#include "shell_test_support.h"

#include "graph/graph_pane.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"

#include <QAction>
#include <QPalette>
#include <QTreeWidget>

#include <cstdlib>
#include <ctime>

namespace veltrin::test {
namespace {

// Local time nine hours east of UTC, for the length of one test.
class EastOfUtc {
public:
    EastOfUtc()
    {
        if (const char* tz = std::getenv("TZ"))
            saved_ = tz;
        setenv("TZ", "JST-9", 1);
        tzset();
    }
    ~EastOfUtc()
    {
        if (saved_.empty())
            unsetenv("TZ");
        else
            setenv("TZ", saved_.c_str(), 1);
        tzset();
    }

private:
    std::string saved_;
};

class StartListTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        // Recording order: 26.08. 14:05, 27.08. 01:30 (hour 25 of the 26th),
        // 26.08. 15:00 from a second folder of the 26th.
        WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"),
                      {SampleLine(1.0, -1.25, 100.0, 500), SampleLine(2.0, 3.4, 182.0, 1450),
                       LandingLine(3.0, 141820)});
        WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S253000.TXT"),
                      {SampleLine(1.0, 1.0, 80.0, 300)});
        WriteDataFile(cardPath_, QStringLiteral("D120826X"), QStringLiteral("S150000.TXT"),
                      {SampleLine(1.0, 1.0, 90.0, 400)});
    }

    QStringList TreeLines() const
    {
        QStringList lines;
        QTreeWidget* tree = frame_->StartList();
        for (int d = 0; d < tree->topLevelItemCount(); ++d) {
            QTreeWidgetItem* day = tree->topLevelItem(d);
            lines << day->text(0);
            for (int s = 0; s < day->childCount(); ++s)
                lines << QStringLiteral("  ") + day->child(s)->text(0);
        }
        return lines;
    }
};

TEST_F(StartListTest, DaysInOrderOfFirstStartWithStartsUnderTheirUtcDay)
{
    EastOfUtc zone;
    MakeFrame();
    EXPECT_EQ(TreeLines(), (QStringList{QStringLiteral("26.08.2012"), QStringLiteral("  14:05:00"),
                                        QStringLiteral("  15:00:00"), QStringLiteral("27.08.2012"),
                                        QStringLiteral("  01:30:00")}));
    EXPECT_FALSE(frame_->StartList()->topLevelItem(0)->isExpanded());
    EXPECT_TRUE(frame_->StartList()->selectedItems().isEmpty());
}

TEST_F(StartListTest, SelectingAStartShowsItsValuesAndItsLandingTimeOnceRead)
{
    CMainFrame& frame = MakeFrame();
    QTreeWidgetItem* first = StartItem(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text(0), QStringLiteral("14:05:00"));
    Select(first);
    EXPECT_EQ(frame.StatusText(), QStringLiteral("Acc.: -1.25 - 3.40 V: 182.0  H: 1450.0"));
    EXPECT_EQ(first->text(0), QStringLiteral("14:05:00 - 14:18:20"));
    EXPECT_TRUE(frame.Action(Command::ExportCsv)->isEnabled());
    EXPECT_TRUE(frame.Action(Command::ExportKml)->isEnabled());
    EXPECT_TRUE(frame.Action(Command::ExportGpx)->isEnabled());

    // A start without a landing keeps its start time alone.
    Select(StartItem(1));
    EXPECT_EQ(StartItem(1)->text(0), QStringLiteral("01:30:00"));

    // A day item clears the message pane and disables the exports.
    Select(frame.StartList()->topLevelItem(0));
    EXPECT_EQ(frame.StatusText(), QString());
    EXPECT_FALSE(frame.Action(Command::ExportCsv)->isEnabled());
    EXPECT_FALSE(frame.Action(Command::ExportKml)->isEnabled());
    EXPECT_FALSE(frame.Action(Command::ExportGpx)->isEnabled());
}

TEST_F(StartListTest, TheShownStartIsBoldAndNamedInTheStatusBarUntilTheCardIsLoadedAgain)
{
    CMainFrame& frame = MakeFrame();
    const auto boldItems = [this] {
        std::vector<int> bold;
        for (int index = 0; index < 3; ++index) {
            if (StartItem(index)->font(0).bold())
                bold.push_back(index);
        }
        return bold;
    };
    EXPECT_TRUE(boldItems().empty());
    EXPECT_EQ(frame.ShownStartPaneText(), QString());

    DoubleClick(StartItem(0));
    EXPECT_EQ(boldItems(), std::vector<int>{0});
    EXPECT_EQ(frame.ShownStartPaneText(), QStringLiteral("26.08.2012 14:05:00 – 14:18:20"));
    // The status text stays the start's values.
    EXPECT_EQ(frame.StatusText(), QStringLiteral("Acc.: -1.25 - 3.40 V: 182.0  H: 1450.0"));

    frame.ShowStart(1);
    EXPECT_EQ(boldItems(), std::vector<int>{1});
    EXPECT_EQ(frame.ShownStartPaneText(), QStringLiteral("27.08.2012 01:30:00"));

    // After a reload the graphs still show the start of the card read before.
    frame.LoadBaseDirectory(cardPath_);
    EXPECT_TRUE(boldItems().empty());
    EXPECT_EQ(frame.ShownStartPaneText(),
              QStringLiteral("27.08.2012 01:30:00 (nicht mehr geladen)"));
    frame.LoadBaseDirectory(cardPath_);
    EXPECT_EQ(frame.ShownStartPaneText(),
              QStringLiteral("27.08.2012 01:30:00 (nicht mehr geladen)"));
    frame.ShowStart(2);
    EXPECT_EQ(frame.ShownStartPaneText(), QStringLiteral("26.08.2012 15:00:00"));
}

TEST_F(StartListTest, AStartWhoseFileHoldsNoSampleIsGreyedWithATip)
{
    WriteDataFile(cardPath_, QStringLiteral("D120828"), QStringLiteral("S090000.TXT"),
                  {"not a recorder file", "$GPRMC,broken"});
    CMainFrame& frame = MakeFrame();
    QTreeWidgetItem* empty = StartItem(3);
    ASSERT_NE(empty, nullptr);
    const QPalette palette = frame.StartList()->palette();
    // Not read yet, it looks like any other start.
    EXPECT_EQ(empty->toolTip(0), QString());
    EXPECT_EQ(empty->foreground(0).color(), palette.color(QPalette::Active, QPalette::Text));

    Select(empty);
    EXPECT_EQ(empty->toolTip(0), QStringLiteral("Keine Messwerte in der Datei"));
    EXPECT_EQ(empty->foreground(0).color(), palette.color(QPalette::Disabled, QPalette::Text));
    EXPECT_EQ(frame.StatusText(), QStringLiteral("Acc.: 0.00 - 0.00 V: 0.0  H: 0.0"));

    // Shown, it stays greyed (and turns bold); a start with samples is not greyed.
    DoubleClick(empty);
    EXPECT_TRUE(StartItem(3)->font(0).bold());
    EXPECT_EQ(StartItem(3)->toolTip(0), QStringLiteral("Keine Messwerte in der Datei"));
    Select(StartItem(0));
    EXPECT_EQ(StartItem(0)->toolTip(0), QString());
    EXPECT_EQ(StartItem(0)->foreground(0).color(), palette.color(QPalette::Active, QPalette::Text));
}

TEST_F(StartListTest, DoubleClickShowsAStartButADayItemLeavesTheGraphsAlone)
{
    CMainFrame& frame = MakeFrame();
    CGraphPlot& plot = frame.AccelerationWindow()->Pane().Plot();
    DoubleClick(StartItem(0));
    ASSERT_EQ(plot.Table().Count(), 2);
    ASSERT_EQ(plot.SeriesCount(), 1);

    QTreeWidgetItem* otherDay = frame.StartList()->topLevelItem(1);
    DoubleClick(otherDay);
    EXPECT_EQ(plot.Table().Count(), 2);
    EXPECT_EQ(plot.Table().Data(), frame.SpeedWindow()->Pane().Plot().Table().Data());
}

TEST_F(StartListTest, ReloadingClearsSelectionAndDisablesExports)
{
    CMainFrame& frame = MakeFrame();
    Select(StartItem(2));
    ASSERT_TRUE(frame.Action(Command::ExportCsv)->isEnabled());
    frame.LoadBaseDirectory(cardPath_);
    EXPECT_TRUE(frame.StartList()->selectedItems().isEmpty());
    EXPECT_FALSE(frame.Action(Command::ExportCsv)->isEnabled());
    EXPECT_EQ(frame.StartList()->topLevelItemCount(), 2);
}

TEST_F(StartListTest, CancelledLoadChangesNothing)
{
    CMainFrame& frame = MakeFrame();
    DoubleClick(StartItem(0));
    dialogs_->folderAnswers.push_back(QString());
    frame.Action(Command::LoadDirectory)->trigger();
    EXPECT_EQ(dialogs_->browseCount, 1);
    EXPECT_EQ(dialogs_->lastBrowseStart, cardPath_);
    EXPECT_EQ(frame.BaseDirectory(), cardPath_);
    EXPECT_EQ(frame.LoadedRecording().size(), 3u);
    EXPECT_EQ(frame.StartList()->topLevelItemCount(), 2);
    EXPECT_EQ(frame.AccelerationWindow()->Pane().Plot().Table().Count(), 2);
}

TEST_F(StartListTest, LoadOfAnEmptyFolderEmptiesTheListButKeepsTheGraphs)
{
    CMainFrame& frame = MakeFrame();
    DoubleClick(StartItem(0));
    const QString statusBefore = frame.StatusText();
    QTemporaryDir empty;
    dialogs_->folderAnswers.push_back(empty.path());
    frame.Action(Command::LoadDirectory)->trigger();

    EXPECT_EQ(frame.BaseDirectory(), empty.path());
    EXPECT_TRUE(frame.LoadedRecording().empty());
    EXPECT_EQ(frame.StartList()->topLevelItemCount(), 0);
    EXPECT_FALSE(frame.Action(Command::ExportCsv)->isEnabled());
    EXPECT_FALSE(frame.Action(Command::ExportKml)->isEnabled());
    EXPECT_EQ(frame.StatusText(), statusBefore);
    for (CChildFrame* window :
         {frame.AccelerationWindow(), frame.SpeedWindow(), frame.AltitudeWindow()}) {
        const GraphTable& table = window->Pane().Plot().Table();
        ASSERT_EQ(table.Count(), 2);
        EXPECT_NEAR(table.Value(1, 0), 3.4, 1e-6);
        EXPECT_NEAR(table.Value(1, 1), 182.0, 1e-6);
        EXPECT_NEAR(table.Value(1, 2), 1450.0, 1e-6);
    }
}

}  // namespace
}  // namespace veltrin::test
