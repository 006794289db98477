// The measured range in the main frame: cursor B by Ctrl + middle click and by
// "Messbereich" in all graphs, the read-out in the "Messung" bar and the status
// bar, copying it under a German locale, and what takes B away again.
#include "shell_test_support.h"

#include "graph/graph_pane.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"
#include "shell/measure_window.h"

#include <QAction>
#include <QClipboard>
#include <QDockWidget>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

#include <clocale>
#include <string>
#include <vector>

namespace veltrin::test {
namespace {

// 60 s, one sample a second: the load alternates 1.0 and 1.5 g, the speed is
// 100 km/h plus the second, the altitude 500 m plus twice the second.
std::vector<std::string> MadeStart(double recorderStart)
{
    std::vector<std::string> lines;
    for (int s = 0; s <= 60; ++s)
        lines.push_back(
            SampleLine(recorderStart + s, s % 2 == 0 ? 1.0 : 1.5, 100.0 + s, 500 + 2 * s));
    return lines;
}

class MeasureTest : public ShellTest {
protected:
    CMainFrame& ShowMadeStart()
    {
        WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"),
                      MadeStart(1000));
        WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S150000.TXT"),
                      MadeStart(5000));
        CMainFrame& frame = MakeFrame(QSize(1000, 800));
        frame.ShowStart(0);
        return frame;
    }
    std::vector<CChildFrame*> Windows() const
    {
        return {frame_->AccelerationWindow(), frame_->SpeedWindow(), frame_->AltitudeWindow()};
    }
    // Ctrl + middle click on second `second` of `window`'s graph.
    void SetBAt(CChildFrame* window, int second) const
    {
        CGraphPane& pane = window->Pane();
        // One pixel on: the pixel of a row's time may stand for a time just before it.
        const int x = pane.Plot().Mapping().PixelOfTime(second * 1000) + 1;
        QTest::mouseClick(&pane, Qt::MiddleButton, Qt::ControlModifier,
                          QPoint(x, pane.Plot().GetPlotArea().center().y()));
    }
    QLabel* Pane() const { return frame_->findChild<QLabel*>(QStringLiteral("MeasurePane")); }
    void ExpectBEverywhere(double timeMs) const
    {
        for (CChildFrame* window : Windows()) {
            EXPECT_TRUE(window->Pane().Plot().RangeEndShown())
                << window->windowTitle().toStdString();
            EXPECT_EQ(window->Pane().Plot().RangeEndTime(), timeMs);
        }
    }
    void ExpectNoBAnywhere() const
    {
        for (CChildFrame* window : Windows())
            EXPECT_FALSE(window->Pane().Plot().RangeEndShown())
                << window->windowTitle().toStdString();
        EXPECT_FALSE(frame_->Action(Command::MeasureRange)->isChecked());
        EXPECT_TRUE(Pane()->isHidden());
    }
};

// Makes Qt's default locale German, and the process locale too where the
// system has it, while it lives.
class GermanLocale {
public:
    GermanLocale() : saved_(std::setlocale(LC_ALL, nullptr))
    {
        std::setlocale(LC_ALL, "de_DE.UTF-8");
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    ~GermanLocale()
    {
        std::setlocale(LC_ALL, saved_.c_str());
        QLocale::setDefault(QLocale::c());
    }

private:
    std::string saved_;
};

constexpr const char* kCopiedTenToForty =
    "\tA\tB\tDifferenz\tMinimum\tMaximum\tMittelwert\n"
    "Zeit [s]\t10.0\t40.0\t30.0\t\t\t\n"
    "Beschleunigung [g]\t1.00\t1.00\t0.00\t1.00\t1.50\t1.24\n"
    "Geschwindigkeit [km/h]\t110\t140\t30\t110\t140\t125\n"
    "Höhe [m]\t520\t580\t60\t520\t580\t550\n";

TEST_F(MeasureTest, CtrlMiddleClickSetsBInAllGraphsAndTheReadOutCopiesLocaleFree)
{
    CMainFrame& frame = ShowMadeStart();
    const GermanLocale german;
    frame.MarkSample(10);
    ASSERT_TRUE(frame.MeasureBar()->isHidden());
    SetBAt(frame.SpeedWindow(), 40);
    ExpectBEverywhere(40000);
    EXPECT_TRUE(frame.Action(Command::MeasureRange)->isChecked());
    // The bar comes up the first time B is set.
    EXPECT_FALSE(frame.MeasureBar()->isHidden());
    EXPECT_TRUE(frame.Action(Command::ToggleMeasureWindow)->isChecked());

    // Over 10..40 s: 16 samples of 1.0 g and 15 of 1.5 g, a mean of 1.2419.
    EXPECT_EQ(Pane()->text(), QStringLiteral("Δt 30.0 s · Δ 0.00 g · Δ 30 km/h · Δ 60 m"));
    EXPECT_FALSE(Pane()->isHidden());
    QTreeWidget* table = frame.Measure()->Table();
    ASSERT_EQ(table->topLevelItemCount(), 4);
    EXPECT_EQ(table->topLevelItem(1)->text(6), QStringLiteral("1.24"));

    QGuiApplication::clipboard()->clear();
    frame.Measure()->CopyButton()->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), kCopiedTenToForty);
    // The bar shows the numbers it copies, cell for cell.
    const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
    for (int row = 0; row < table->topLevelItemCount(); ++row) {
        const QStringList cells = lines[row + 1].split(QLatin1Char('\t'));
        for (int column = 0; column < table->columnCount(); ++column)
            EXPECT_EQ(table->topLevelItem(row)->text(column), cells[column]) << row << column;
    }

    // Ctrl+C in the bar copies as well; moving the marker measures anew.
    frame.MarkSample(20);
    QGuiApplication::clipboard()->clear();
    table->setFocus();
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(copied.contains(QStringLiteral("Zeit [s]\t20.0\t40.0\t20.0\t")))
        << copied.toStdString();
    EXPECT_TRUE(
        copied.contains(QStringLiteral("Geschwindigkeit [km/h]\t120\t140\t20\t120\t140\t130")))
        << copied.toStdString();
}

TEST_F(MeasureTest, TheCommandSetsBAtTheCentreOnceTheMarkerIsSetAndClearsItAgain)
{
    CMainFrame& frame = ShowMadeStart();
    QAction* command = frame.Action(Command::MeasureRange);
    ASSERT_TRUE(command->isEnabled());
    ASSERT_TRUE(command->isCheckable());

    // Without the marker there is nothing to measure from.
    command->trigger();
    ExpectNoBAnywhere();
    EXPECT_EQ(
        frame.StatusText(),
        QStringLiteral("Zuerst die Marke setzen (mittlere Maustaste), dann den Messbereich."));
    // A click does not set B either.
    SetBAt(frame.AltitudeWindow(), 20);
    ExpectNoBAnywhere();

    frame.MarkSample(10);
    command->trigger();
    ExpectBEverywhere(30000);  // the view shows 0..60 s
    EXPECT_TRUE(command->isChecked());
    EXPECT_EQ(Pane()->text(), QStringLiteral("Δt 20.0 s · Δ 0.00 g · Δ 20 km/h · Δ 40 m"));

    command->trigger();
    ExpectNoBAnywhere();
    // The bar that came up stays until the user closes it.
    EXPECT_FALSE(frame.MeasureBar()->isHidden());
    EXPECT_TRUE(frame.Measure()->Shown().rows.empty());
}

TEST_F(MeasureTest, EscAndAnotherStartTakeBAwayAndAClosedBarStaysClosed)
{
    CMainFrame& frame = ShowMadeStart();
    frame.MarkSample(10);
    SetBAt(frame.AccelerationWindow(), 30);
    ExpectBEverywhere(30000);

    CGraphPane& pane = frame.AltitudeWindow()->Pane();
    pane.setFocus();
    QTest::keyClick(&pane, Qt::Key_Escape);
    ExpectNoBAnywhere();

    SetBAt(frame.AccelerationWindow(), 30);
    ExpectBEverywhere(30000);
    frame.ShowStart(1);
    ExpectNoBAnywhere();
    EXPECT_TRUE(frame.Measure()->Shown().rows.empty());

    // Closing the bar keeps it closed when B is set again.
    ASSERT_FALSE(frame.MeasureBar()->isHidden());
    frame.Action(Command::ToggleMeasureWindow)->trigger();
    ASSERT_TRUE(frame.MeasureBar()->isHidden());
    frame.MarkSample(5);
    SetBAt(frame.SpeedWindow(), 50);
    ExpectBEverywhere(50000);
    EXPECT_TRUE(frame.MeasureBar()->isHidden());
    EXPECT_FALSE(Pane()->isHidden());
}

}  // namespace
}  // namespace veltrin::test
