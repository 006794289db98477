#include "shell/command_table.h"
#include "shell/graph_window_config.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <type_traits>

namespace veltrin {
namespace {

// A number that is not a command must not pass for one.
static_assert(!std::is_convertible_v<int, Command>);

TEST(CommandTable, EveryCommandHasOneEntryAndItsNumber)
{
    std::set<int> numbers;
    for (const CommandEntry& entry : Commands()) {
        EXPECT_TRUE(numbers.insert(CommandNumber(entry.id)).second) << CommandNumber(entry.id);
        EXPECT_EQ(FindCommand(entry.id), &entry) << CommandNumber(entry.id);
    }
    // The numbers the menus and tool bar carry, spot-checked at both ends.
    EXPECT_EQ(CommandNumber(Command::LoadDirectory), 57601);
    EXPECT_EQ(CommandNumber(Command::ToggleStartList), 32772);
    EXPECT_EQ(CommandNumber(Command::ToggleStatusBar), 59393);
}

TEST(GraphWindowTable, RowsAreConsistent)
{
    std::set<int> columns;
    std::set<int> toggles;
    std::set<int> slots;
    std::set<std::string> titles;
    for (const GraphWindowEntry& graph : kGraphWindows) {
        SCOPED_TRACE(graph.title);
        EXPECT_TRUE(columns.insert(graph.config.column).second);
        EXPECT_GE(graph.config.column, 0);
        EXPECT_LT(graph.config.column, kGraphColumns);
        EXPECT_TRUE(toggles.insert(CommandNumber(graph.toggle)).second);
        EXPECT_NE(FindCommand(graph.toggle), nullptr);
        EXPECT_TRUE(slots.insert(graph.stackSlot).second);
        EXPECT_GE(graph.stackSlot, 0);
        EXPECT_LT(graph.stackSlot, static_cast<int>(kGraphWindowCount));
        EXPECT_TRUE(titles.insert(graph.title).second);
    }
}

TEST(GraphWindowTable, StacksAccelerationSpeedAltitudeFromTheTop)
{
    const auto order = GraphWindowsByStackSlot();
    EXPECT_EQ(order[0], static_cast<std::size_t>(GraphWindow::Acceleration));
    EXPECT_EQ(order[1], static_cast<std::size_t>(GraphWindow::Speed));
    EXPECT_EQ(order[2], static_cast<std::size_t>(GraphWindow::Altitude));
    EXPECT_STREQ(kGraphWindows[static_cast<std::size_t>(GraphWindow::Speed)].title, kSpeedTitle);
    EXPECT_EQ(kGraphWindows[static_cast<std::size_t>(GraphWindow::Speed)].config.column,
              kSpeedColumn);
}

}  // namespace
}  // namespace veltrin
