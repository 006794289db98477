// Stacked graph windows follow the size of the graph area until one of them
// is moved by hand.
#include "shell_test_support.h"

#include "shell/child_frame.h"
#include "shell/command_table.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMouseEvent>
#include <QStyle>

namespace veltrin::test {
namespace {

class StackFollowTest : public ShellTest {
protected:
    CMainFrame& MakeStackedFrame()
    {
        CMainFrame& frame = MakeFrame(QSize(900, 700));
        QCoreApplication::processEvents();  // the stacking of the start-up
        return frame;
    }

    std::vector<CChildFrame*> Windows() const
    {
        return {frame_->AccelerationWindow(), frame_->SpeedWindow(), frame_->AltitudeWindow()};
    }

    std::vector<QRect> Geometries() const
    {
        std::vector<QRect> rects;
        for (CChildFrame* window : Windows())
            rects.push_back(window->geometry());
        return rects;
    }

    // The three windows fill the graph area's width and, one below the
    // other, its height.
    void ExpectStacked(const std::string& when) const
    {
        const QRect client = frame_->MdiArea()->viewport()->rect();
        const std::vector<QRect> rects = Geometries();
        EXPECT_EQ(rects.front().top(), client.top()) << when;
        EXPECT_EQ(rects.back().bottom(), client.bottom()) << when;
        for (std::size_t i = 0; i < rects.size(); ++i) {
            EXPECT_EQ(rects[i].left(), client.left()) << when << " window " << i;
            EXPECT_EQ(rects[i].width(), client.width()) << when << " window " << i;
            if (i > 0) {
                EXPECT_EQ(rects[i].top(), rects[i - 1].bottom() + 2) << when << " window " << i;
            }
        }
    }

    void Resize(QSize size) const
    {
        frame_->resize(size);
        QCoreApplication::processEvents();
    }

    // Drags `window` by its caption as the user would.
    static void DragCaption(CChildFrame* window, QPoint by)
    {
        const int caption =
            window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
        const QPoint from = window->mapToGlobal(QPoint(window->width() / 2, caption / 2));
        const auto send = [window](QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
            QMouseEvent event(type, window->mapFromGlobal(global), global, Qt::LeftButton, buttons,
                              Qt::NoModifier);
            QApplication::sendEvent(window, &event);
        };
        // The sub-window picks its operation (move, which border) while hovered.
        send(QEvent::MouseMove, from, Qt::NoButton);
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        for (int step = 1; step <= 4; ++step)
            send(QEvent::MouseMove, from + by * step / 4, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, from + by, Qt::NoButton);
    }
};

TEST_F(StackFollowTest, ResizingTheFrameRestacksStackedWindows)
{
    MakeStackedFrame();
    ASSERT_TRUE(frame_->StackFollowsResize());
    ExpectStacked("after start-up");
    Resize(QSize(1200, 900));
    ExpectStacked("larger");
    Resize(QSize(640, 480));
    ExpectStacked("smaller");
}

TEST_F(StackFollowTest, AWindowMovedByHandStopsTheFollowingUntilStackedAgain)
{
    MakeStackedFrame();
    CChildFrame* moved = frame_->SpeedWindow();
    const QRect before = moved->geometry();
    DragCaption(moved, QPoint(40, 30));
    ASSERT_NE(moved->geometry(), before);
    EXPECT_FALSE(frame_->StackFollowsResize());

    const std::vector<QRect> byHand = Geometries();
    Resize(QSize(1200, 900));
    EXPECT_EQ(Geometries(), byHand);

    frame_->Action(Command::StackWindows)->trigger();
    EXPECT_TRUE(frame_->StackFollowsResize());
    Resize(QSize(1000, 750));
    ExpectStacked("stacked again");
}

TEST_F(StackFollowTest, CascadedOrMaximisedWindowsStayAsTheyAre)
{
    MakeStackedFrame();
    frame_->Action(Command::Cascade)->trigger();
    QCoreApplication::processEvents();
    const std::vector<QRect> cascaded = Geometries();
    Resize(QSize(1200, 900));
    EXPECT_EQ(Geometries(), cascaded);

    frame_->Action(Command::StackWindows)->trigger();
    frame_->AltitudeWindow()->showMaximized();
    QCoreApplication::processEvents();
    Resize(QSize(800, 600));
    EXPECT_TRUE(frame_->AltitudeWindow()->isMaximized());
}

TEST_F(StackFollowTest, ADragWithoutMovingKeepsTheFollowing)
{
    MakeStackedFrame();
    DragCaption(frame_->AccelerationWindow(), QPoint(0, 0));
    EXPECT_TRUE(frame_->StackFollowsResize());
}

}  // namespace
}  // namespace veltrin::test
