#include "recorder/card/card_files.h"
#include "recorder/card/card_constants.h"

#include "card_test_folder.h"

namespace veltrin::card {
namespace {

using CardFiles = CardFolderTest;

TEST_F(CardFiles, FindsCardFilesWrittenInOtherLetterCase)
{
    Write("velt/LastEv.log", "x\n");
    EXPECT_EQ(FindCardFile(root_, kLastEventsFile), root_ / "velt" / "LastEv.log");
    // A missing file keeps the given spelling inside the folder that exists.
    EXPECT_EQ(FindCardFile(root_, kCommandFile), root_ / "velt" / "CONFIG.INI");
    EXPECT_EQ(FindCardFile(root_ / "none", kEventsFile), root_ / "none" / "VELT" / "EVENTS.LOG");
}

TEST_F(CardFiles, ExactSpellingWinsOverOtherCase)
{
    Write("velt/events.log", "lower\n");
    Write("VELT/EVENTS.LOG", "upper\n");
    EXPECT_EQ(FindCardFile(root_, kEventsFile), root_ / "VELT" / "EVENTS.LOG");
}

TEST_F(CardFiles, FileExistsOnlyForReadableRegularFiles)
{
    const auto file = Write("VELT/EVENTS.LOG", "");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(root_ / "VELT"));
    EXPECT_FALSE(FileExists(root_ / "VELT" / "LASTEV.LOG"));
}

TEST_F(CardFiles, ReadsLastLineWithAnyLineEnd)
{
    EXPECT_EQ(ReadLastLine(Write("a", "A\nB\nC\n")), "C");
    EXPECT_EQ(ReadLastLine(Write("b", "A\r\nB\r\n")), "B");
    EXPECT_EQ(ReadLastLine(Write("c", "A\nB")), "B");
    EXPECT_EQ(ReadLastLine(Write("d", "")), "");
    EXPECT_EQ(ReadLastLine(root_ / "missing"), "");
    EXPECT_EQ(ReadLastLine(root_), "");
}

TEST_F(CardFiles, ReadsLinesNewestFirst)
{
    EXPECT_EQ(ReadLinesNewestFirst(Write("a", "A\r\nB\r\nC\r\n")),
              (std::vector<std::string>{"C", "B", "A"}));
    EXPECT_TRUE(ReadLinesNewestFirst(Write("b", "")).empty());
    EXPECT_TRUE(ReadLinesNewestFirst(root_ / "missing").empty());
}

TEST_F(CardFiles, RegressionLastLineWithoutLineEndJoinedToThePreviousLine)
{
    EXPECT_EQ(ReadLinesNewestFirst(Write("a", "A\nB\nC")),
              (std::vector<std::string>{"C", "B", "A"}));
}

}  // namespace
}  // namespace veltrin::card
