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
        return {frame_->accelerationWindow(), frame_->altitudeWindow(), frame_->speedWindow()};
    }

    int ToggleOf(CChildFrame* window) const
    {
        const std::map<CChildFrame*, int> toggles {
            {frame_->accelerationWindow(), command::ToggleAcceleration},
            {frame_->altitudeWindow(), command::ToggleAltitude},
            {frame_->speedWindow(), command::ToggleSpeed}};
        return toggles.at(window);
    }

    void Trigger(int id) const
    {
        frame_->action(id)->trigger();
        QCoreApplication::processEvents();
    }

    QMdiSubWindow* Active() const { return frame_->mdiArea()->activeSubWindow(); }

    // The active window is `expected`, the title names it with nothing added,
    // and the ticks of the "Ansicht" menu match the windows shown.
    void ExpectActive(QMdiSubWindow* expected, const char* step) const
    {
        ASSERT_NE(Active(), nullptr) << step;
        EXPECT_EQ(Active(), expected)
            << step << ": " << Active()->windowTitle().toStdString();
        EXPECT_EQ(frame_->windowTitle().toStdString(),
                  "ZADUdir - " + expected->windowTitle().toStdString())
            << step;
        // The menu ticks follow the windows Qt hid and showed on the way.
        for (CChildFrame* window : Windows()) {
            EXPECT_EQ(frame_->action(ToggleOf(window))->isChecked(), !window->isHidden())
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
        frame.mdiArea()->setActiveSubWindow(maximised);
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
            frame.mdiArea()->setActiveSubWindow(maximised);
            QCoreApplication::processEvents();
            ExpectActive(maximised, "maximised one active again");
        }

        // Ctrl+Tab from each window goes to the window used before it; the
        // next-window command goes round all three.
        for (CChildFrame* from : Windows()) {
            frame.mdiArea()->setActiveSubWindow(from);
            CtrlTab();
            ASSERT_NE(Active(), nullptr);
            EXPECT_NE(Active(), from);
            ExpectActive(Active(), "Ctrl+Tab");
        }
        std::set<QMdiSubWindow*> visited;
        for (std::size_t i = 0; i < Windows().size(); ++i) {
            frame.mdiArea()->activateNextSubWindow();
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

        Trigger(command::StackWindows);
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
    Trigger(command::ToggleSpeed);
    frame.mdiArea()->setActiveSubWindow(frame.accelerationWindow());
    frame.accelerationWindow()->showMaximized();
    QCoreApplication::processEvents();
    Trigger(command::ToggleSpeed);
    ExpectActive(frame.speedWindow(), "shown while another is maximised");
    EXPECT_TRUE(frame.speedWindow()->isMaximized());
    EXPECT_FALSE(frame.accelerationWindow()->isHidden());
    EXPECT_FALSE(frame.altitudeWindow()->isHidden());

    // Its close request hides it; the window below takes over.
    frame.speedWindow()->close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame.speedWindow()->isHidden());
    ASSERT_NE(Active(), nullptr);
    EXPECT_FALSE(Active()->isHidden());
    ExpectActive(Active(), "after the close request");
}

TEST_F(WindowStatesTest, RegressionCascadeShrinksWindowsToTitleBars)
{
    CMainFrame& frame = MakeActiveFrame();
    const QSize client = frame.mdiArea()->viewport()->size();
    for (bool oneHidden : {false, true}) {
        if (oneHidden)
            Trigger(command::ToggleAltitude);
        Trigger(command::Cascade);
        QPoint previous(-1, -1);
        for (QMdiSubWindow* window : frame.mdiArea()->subWindowList()) {
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
