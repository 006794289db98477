#include "shell_test_support.h"

#include "graph/graph_pane.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"

#include <QAction>
#include <QHelpEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QToolTip>
#include <QTreeWidget>

namespace veltrin::test {
namespace {

// A menu or tool bar as one line: texts (or ids) joined by " | ", "-" for a separator.
QString Layout(const QList<QAction*>& actions, bool byId)
{
    QStringList parts;
    for (const QAction* action : actions) {
        if (action->isSeparator())
            parts << QStringLiteral("-");
        else
            parts << (byId ? QString::number(action->data().toInt()) : action->text());
    }
    return parts.join(QStringLiteral(" | "));
}

// The tool tip that a pointer resting on `button` brings up; empty when none.
std::string ToolTipShownBy(QWidget* button)
{
    QToolTip::hideText();
    const QPoint at = button->rect().center();
    QHelpEvent help(QEvent::ToolTip, at, button->mapToGlobal(at));
    QCoreApplication::sendEvent(button, &help);
    const std::string shown = QToolTip::isVisible() ? QToolTip::text().toStdString() : "";
    QToolTip::hideText();
    return shown;
}

class FrameCommandsTest : public ShellTest {
protected:
    QStringList MenuBarLayout() const
    {
        QStringList menus;
        for (QAction* entry : frame_->menuBar()->actions()) {
            if (entry->isVisible() && entry->menu())
                menus << entry->text() + QStringLiteral(": ") +
                             Layout(entry->menu()->actions(), false);
        }
        return menus;
    }
};

TEST_F(FrameCommandsTest, MenusAndToolBarCarryTheCommandsInTheirOrder)
{
    CMainFrame& frame = MakeFrame();
    frame.MdiArea()->setActiveSubWindow(frame.AccelerationWindow());
    EXPECT_EQ(MenuBarLayout(),
              (QStringList{
                  QStringLiteral("&Datei: Verzeichnis &laden | - | Logger konfigurieren | "
                                 "&Grenzwerte… | - | Flugbericht als PDF… | Flugbericht drucken… | "
                                 "Flugbuch-Bericht als PDF… | - | Grafik speichern… | Kopieren | "
                                 "- | &Beenden"),
                  QStringLiteral("&Ansicht: &Symbolleiste | Status&leiste | Startliste | "
                                 "Ereignisse | Messung | - | Beschleunigung | Höhe | "
                                 "Geschwindigkeit | V-n-Diagramm | Flug&weg | - | &Messbereich | "
                                 "- | &Flugbuch"),
                  QStringLiteral("Export: Excel CSV | KML | GPX"),
                  QStringLiteral("&Fenster: Über&einander | Ü&berlappend | &Nebeneinander | "
                                 "&Symbole anordnen"),
                  QStringLiteral("&Hilfe: &Hilfe | &Info über VELT Win..."),
              }));

    auto* toolBar = frame.findChild<QToolBar*>(QStringLiteral("ToolBar"));
    ASSERT_NE(toolBar, nullptr);
    EXPECT_EQ(Layout(toolBar->actions(), true),
              QStringLiteral("57601 | - | 57664 | - | 32788 | - | 32789 | 32790 | 32793 | 32792 | "
                             "32794 | - | 33600 | 33900"));
}

TEST_F(FrameCommandsTest, PromptsSplitIntoStatusTextAndToolTip)
{
    CMainFrame& frame = MakeFrame();
    struct Prompt {
        Command id;
        const char* status;
        const char* tip;  // empty: the button shows no tool tip
    };
    const Prompt prompts[] = {
        {Command::LoadDirectory, "Loggerdaten laden", ""},
        {Command::ConfigureLogger, "Logger einrichten", ""},
        {Command::ExportKml, "KML für Google Earth", ""},
        {Command::ZoomIn, "Vergrößern", ""},
        {Command::ZoomOut, "Verkleinern", ""},
        {Command::ShiftRight, "Nacht rechts schieben", ""},
        {Command::ShiftLeft, "Nach links schieben", ""},
        {Command::FullView, "Vollansicht", ""},
        {Command::Help, "Hilfe", ""},
        {Command::About, "Zeigt Programminformationen, Versionsnummer und Copyright an.", "Info"},
        {Command::Exit, "Beendet die Anwendung und fordert zum Speichern der Dokumente auf.",
         "Beenden"},
        {Command::ArrangeIcons, "Ordnet die Symbole im unteren Fensterrand an.",
         "Symbole anordnen"},
        {Command::Cascade, "Ordnet die Fenster überlappend an.", "Überlappende Fenster"},
        {Command::Tile, "Ordnet die Fenster nebeneinander an.", "Fenster nebeneinander"},
        {Command::ToggleToolBar, "Blendet die Symbolleiste ein oder aus.", "Symbolleiste"},
        {Command::ToggleStatusBar, "Blendet die Statusleiste ein oder aus.", "Statusleiste"},
        {Command::ExportCsv, "", ""},
        {Command::ToggleStartList, "", ""},
        {Command::MeasureRange,
         "Misst von der Marke bis zu einem zweiten Cursor (auch Strg + mittlere Maustaste, Esc "
         "hebt ihn auf).",
         "Messbereich"},
    };
    for (const Prompt& p : prompts) {
        QAction* action = frame.Action(p.id);
        ASSERT_NE(action, nullptr) << CommandNumber(p.id);
        EXPECT_EQ(action->statusTip().toStdString(), p.status) << CommandNumber(p.id);
        const CommandEntry* entry = FindCommand(p.id);
        ASSERT_NE(entry, nullptr) << CommandNumber(p.id);
        EXPECT_EQ(SplitPrompt(entry->prompt).toolTip, p.tip) << CommandNumber(p.id);
        if (p.tip[0] != '\0') {
            EXPECT_EQ(action->toolTip().toStdString(), p.tip) << CommandNumber(p.id);
        }
        if (QWidget* button = frame.findChild<QToolBar*>()->widgetForAction(action)) {
            EXPECT_EQ(ToolTipShownBy(button), p.tip) << CommandNumber(p.id);
        }
    }
}

// Adding a window to the work area put the system menu and with it the close box back.
TEST_F(FrameCommandsTest, RegressionCloseBoxCameBackInTheWorkArea)
{
    CMainFrame& frame = MakeFrame();
    for (QMdiSubWindow* window : frame.MdiArea()->subWindowList()) {
        SCOPED_TRACE(window->windowTitle().toStdString());
        EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowSystemMenuHint));
        EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    }
    // The three graphs and the track.
    EXPECT_EQ(frame.MdiArea()->subWindowList().size(), 4);
}

TEST_F(FrameCommandsTest, RegressionClickIntoAGraphDidNotActivateItsWindow)
{
    CMainFrame& frame = MakeFrame();
    frame.MdiArea()->setActiveSubWindow(frame.SpeedWindow());
    for (CChildFrame* window : {frame.AltitudeWindow(), frame.AccelerationWindow()}) {
        CGraphPane& pane = window->Pane();
        QTest::mouseClick(&pane, Qt::MiddleButton, {}, pane.rect().center());
        EXPECT_EQ(frame.MdiArea()->activeSubWindow(), window);
        EXPECT_EQ(frame.windowTitle(), QStringLiteral("ZADUdir - ") + window->windowTitle());
    }
}

TEST_F(FrameCommandsTest, RegressionHidingTheActiveWindowLeftNoneActive)
{
    WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"),
                  SteadyStart(60));
    CMainFrame& frame = MakeFrame();
    frame.ShowStart(0);
    frame.MdiArea()->setActiveSubWindow(frame.AltitudeWindow());
    frame.MdiArea()->setActiveSubWindow(frame.SpeedWindow());

    // The window active before takes over; view commands and "Fenster" stay.
    frame.Action(Command::ToggleSpeed)->trigger();
    EXPECT_EQ(frame.MdiArea()->activeSubWindow(), frame.AltitudeWindow());
    EXPECT_TRUE(frame.Action(Command::ZoomIn)->isEnabled());
    EXPECT_EQ(MenuBarLayout().size(), 5);

    frame.AltitudeWindow()->close();  // hides it as well
    EXPECT_EQ(frame.MdiArea()->activeSubWindow(), frame.AccelerationWindow());

    // With every graph hidden nothing is active: no view commands, no "Fenster".
    frame.Action(Command::ToggleAcceleration)->trigger();
    EXPECT_FALSE(frame.Action(Command::ZoomIn)->isEnabled());
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("ZADUdir"));
    EXPECT_EQ(MenuBarLayout().size(), 4);

    // Shown again, a window is active and has the focus.
    frame.Action(Command::ToggleSpeed)->trigger();
    EXPECT_EQ(frame.MdiArea()->activeSubWindow(), frame.SpeedWindow());
    EXPECT_TRUE(frame.Action(Command::ZoomIn)->isEnabled());
    EXPECT_EQ(MenuBarLayout().size(), 5);
}

TEST_F(FrameCommandsTest, RegressionSingleClickShowedTheGraphs)
{
    WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"),
                  SteadyStart(60));
    CMainFrame& frame = MakeFrame();
    QTreeWidget* tree = frame.StartList();
    QTreeWidgetItem* item = StartItem(0);
    ASSERT_NE(item, nullptr);
    item->parent()->setExpanded(true);
    const QPoint at = tree->visualItemRect(item).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(frame.StatusText().startsWith(QStringLiteral("Acc.: ")));
    EXPECT_EQ(frame.AccelerationWindow()->Pane().Plot().SeriesCount(), 0);

    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(frame.AccelerationWindow()->Pane().Plot().SeriesCount(), 1);
    EXPECT_EQ(frame.AccelerationWindow()->Pane().Plot().Table().Count(), 61);

    // Enter on a day item leaves the graphs alone.
    tree->setCurrentItem(item->parent());
    QTest::keyClick(tree, Qt::Key_Enter);
    EXPECT_EQ(frame.AccelerationWindow()->Pane().Plot().Table().Count(), 61);
}

}  // namespace
}  // namespace veltrin::test
