// The graph windows maximised, switched with Ctrl+Tab, shown and hidden
// from the menu, and cascaded: the frame stays alive, the right window is
// active and the title names it.

#include "shell_test_support.h"

#include "shell/child_frame.h"
#include "shell/command_table.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QTest>

#include <map>
#include <set>

namespace veltrin::test {
namespace {

class WindowStatesTest : public ShellTest {
protected:
    CMainFrame& MakeActiveFrame()
    {
        WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"),
                      SteadyStart(60));
        CMainFrame& frame = MakeFrame();
        frame.ShowStart(0);
        frame.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&frame));
        // The posted stacking runs before the test begins.
        QCoreApplication::processEvents();
        return frame;
    }

    std::vector<CChildFrame*> Windows() const
    {
        return {frame_->AccelerationWindow(), frame_->AltitudeWindow(), frame_->SpeedWindow()};
    }

    Command ToggleOf(CChildFrame* window) const
    {
        const std::map<CChildFrame*, Command> toggles{
            {frame_->AccelerationWindow(), Command::ToggleAcceleration},
            {frame_->AltitudeWindow(), Command::ToggleAltitude},
            {frame_->SpeedWindow(), Command::ToggleSpeed}};
        return toggles.at(window);
    }

    void Trigger(Command id) const
    {
        frame_->Action(id)->trigger();
        QCoreApplication::processEvents();
    }

    QMdiSubWindow* Active() const { return frame_->MdiArea()->activeSubWindow(); }

    // The active window is `expected`, the title names it with nothing added,
    // and the ticks of the "Ansicht" menu match the windows shown.
    void ExpectActive(QMdiSubWindow* expected, const char* step) const
    {
        ASSERT_NE(Active(), nullptr) << step;
        EXPECT_EQ(Active(), expected) << step << ": " << Active()->windowTitle().toStdString();
        EXPECT_EQ(frame_->windowTitle().toStdString(),
                  "ZADUdir - " + expected->windowTitle().toStdString())
            << step;
        // The menu ticks follow the windows Qt hid and showed on the way.
        for (CChildFrame* window : Windows()) {
            EXPECT_EQ(frame_->Action(ToggleOf(window))->isChecked(), !window->isHidden())
                << step << ": " << window->windowTitle().toStdString();
        }
    }

    void CtrlTab() const
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget()
                                                      : static_cast<QWidget*>(Active());
        QTest::keyPress(target, Qt::Key_Tab, Qt::ControlModifier);
        QTest::keyRelease(target, Qt::Key_Tab, Qt::ControlModifier);
        QTest::keyRelease(target, Qt::Key_Control);
        QCoreApplication::processEvents();
    }
};

TEST_F(WindowStatesTest, RegressionMaximisedWindowStackOverflowAndDoubledTitle)
{
    CMainFrame& frame = MakeActiveFrame();
    for (CChildFrame* maximised : Windows()) {
        const std::string name = maximised->windowTitle().toStdString();
        SCOPED_TRACE(name);
        frame.MdiArea()->setActiveSubWindow(maximised);
        maximised->showMaximized();
        QCoreApplication::processEvents();
        ExpectActive(maximised, "maximised");

        for (CChildFrame* other : Windows()) {
            if (other == maximised)
                continue;
            const std::string step = other->windowTitle().toStdString();
            Trigger(ToggleOf(other));
            EXPECT_TRUE(other->isHidden()) << step;
            ExpectActive(maximised, "other hidden");
            Trigger(ToggleOf(other));
            EXPECT_FALSE(other->isHidden()) << step;
            ExpectActive(other, "other shown again");
            frame.MdiArea()->setActiveSubWindow(maximised);
            QCoreApplication::processEvents();
            ExpectActive(maximised, "maximised one active again");
        }

        // Ctrl+Tab from each window goes to the window used before it; the
        // next-window command goes round all three.
        for (CChildFrame* from : Windows()) {
            frame.MdiArea()->setActiveSubWindow(from);
            CtrlTab();
            ASSERT_NE(Active(), nullptr);
            EXPECT_NE(Active(), from);
            ExpectActive(Active(), "Ctrl+Tab");
        }
        std::set<QMdiSubWindow*> visited;
        for (std::size_t i = 0; i < Windows().size(); ++i) {
            frame.MdiArea()->activateNextSubWindow();
            QCoreApplication::processEvents();
            ASSERT_NE(Active(), nullptr);
            ExpectActive(Active(), "next window");
            EXPECT_TRUE(Active()->isMaximized());
            visited.insert(Active());
        }
        EXPECT_EQ(visited.size(), 3u);

        QMdiSubWindow* active = Active();
        active->showNormal();
        QCoreApplication::processEvents();
        ExpectActive(active, "restored");

        Trigger(Command::StackWindows);
        for (CChildFrame* window : Windows()) {
            EXPECT_FALSE(window->isHidden()) << window->windowTitle().toStdString();
            EXPECT_FALSE(window->isMaximized()) << window->windowTitle().toStdString();
        }
        ExpectActive(active, "stacked");
    }
}

TEST_F(WindowStatesTest, RegressionShowingAWindowWhileAnotherIsMaximisedOverflowsTheStack)
{
    CMainFrame& frame = MakeActiveFrame();
    Trigger(Command::ToggleSpeed);
    frame.MdiArea()->setActiveSubWindow(frame.AccelerationWindow());
    frame.AccelerationWindow()->showMaximized();
    QCoreApplication::processEvents();
    Trigger(Command::ToggleSpeed);
    ExpectActive(frame.SpeedWindow(), "shown while another is maximised");
    EXPECT_TRUE(frame.SpeedWindow()->isMaximized());
    EXPECT_FALSE(frame.AccelerationWindow()->isHidden());
    EXPECT_FALSE(frame.AltitudeWindow()->isHidden());

    // Its close request hides it; the window below takes over.
    frame.SpeedWindow()->close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame.SpeedWindow()->isHidden());
    ASSERT_NE(Active(), nullptr);
    EXPECT_FALSE(Active()->isHidden());
    ExpectActive(Active(), "after the close request");
}

TEST_F(WindowStatesTest, RegressionClosingWithWindowsMaximisedAndBarsShownCrashed)
{
    // Taking the frame apart hides its bars and windows one by one; their
    // notifications once reached the half-destroyed frame.
    CMainFrame& frame = MakeActiveFrame();
    frame.MdiArea()->setActiveSubWindow(frame.SpeedWindow());
    frame.SpeedWindow()->showMaximized();
    QCoreApplication::processEvents();
    ExpectActive(frame.SpeedWindow(), "maximised before closing");
    DestroyFrame();
    QCoreApplication::processEvents();
    SUCCEED();
}

TEST_F(WindowStatesTest, RegressionCascadeShrinksWindowsToTitleBars)
{
    CMainFrame& frame = MakeActiveFrame();
    const QSize client = frame.MdiArea()->viewport()->size();
    for (bool oneHidden : {false, true}) {
        if (oneHidden)
            Trigger(Command::ToggleAltitude);
        Trigger(Command::Cascade);
        QPoint previous(-1, -1);
        for (QMdiSubWindow* window : frame.MdiArea()->subWindowList()) {
            if (window->isHidden())
                continue;
            const std::string name = window->windowTitle().toStdString();
            EXPECT_GE(window->width(), client.width() / 2) << name;
            EXPECT_GE(window->height(), client.height() / 2) << name;
            EXPECT_GT(window->x(), previous.x()) << name;
            EXPECT_GT(window->y(), previous.y()) << name;
            previous = window->pos();
        }
    }
}

}  // namespace
}  // namespace veltrin::test
