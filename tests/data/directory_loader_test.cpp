#include "data/directory_loader.h"

#include "data/calendar.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <iterator>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace veltrin {
namespace {

using test::TempDir;
using test::WriteFile;

CalendarSeconds Utc(int year, int month, int day, int hour, int minute, int second)
{
    return ToCalendarSeconds({year, month, day, hour, minute, second});
}

std::vector<std::string> FileNames(const Recording& recording)
{
    std::vector<std::string> names;
    for (const StartRecord& start : recording) {
        names.push_back(start.path.parent_path().filename().string() + "/" +
                        start.path.filename().string());
    }
    return names;
}

TEST(LoadDirectory, StartsFromDayAndFileNames)
{
    TempDir base;
    WriteFile(base.path() / "D120826" / "S143502.LOG", "x");
    WriteFile(base.path() / "D120826" / "S101500", "x");
    Recording recording;
    LoadDirectory(base.path(), recording);
    ASSERT_EQ(recording.size(), 2U);
    EXPECT_EQ(recording[0].path, base.path() / "D120826" / "S101500");
    EXPECT_EQ(recording[0].startTime, Utc(2012, 8, 26, 10, 15, 0));
    EXPECT_EQ(recording[1].path, base.path() / "D120826" / "S143502.LOG");
    EXPECT_EQ(recording[1].startTime, 1345991702);
    for (const StartRecord& start : recording) {
        EXPECT_FALSE(start.loaded);
        EXPECT_TRUE(start.samples.empty());
        EXPECT_EQ(start.landingTime, 0);
        EXPECT_EQ(start.maxIas, 0.0);
    }
}

TEST(LoadDirectory, NamesThatDoNotQualifyAreSkipped)
{
    TempDir base;
    const char* const badDays[] = {"D1208", "DATA", "D000826", "D120026", "D120800", "X120826"};
    for (const char* day : badDays) {
        WriteFile(base.path() / day / "S101500", "x");
    }
    WriteFile(base.path() / "D120827", "a file, not a day directory");
    const std::filesystem::path day = base.path() / "D120826";
    WriteFile(day / "SETUP.TXT", "x");          // hour piece holds no digit
    WriteFile(day / "S1015", "x");              // seconds piece missing
    WriteFile(day / "README", "x");             // not an S name
    WriteFile(day / "S101500" / "inner", "x");  // a directory is no start
    WriteFile(day / "S12AB00", "x");            // minutes "AB" count as 0
    WriteFile(day / "S10150", "x");             // one-character seconds piece
    Recording recording;
    LoadDirectory(base.path(), recording);
    EXPECT_EQ(FileNames(recording),
              (std::vector<std::string>{"D120826/S10150", "D120826/S12AB00"}));
    ASSERT_EQ(recording.size(), 2U);
    EXPECT_EQ(recording[0].startTime, Utc(2012, 8, 26, 10, 15, 0));
    EXPECT_EQ(recording[1].startTime, Utc(2012, 8, 26, 12, 0, 0));
}

TEST(LoadDirectory, LetterCaseAndOrderIgnoreCase)
{
    TempDir base;
    WriteFile(base.path() / "D120827" / "S080000", "x");
    WriteFile(base.path() / "d120826" / "s143502.log", "x");
    WriteFile(base.path() / "d120826" / "S101500", "x");
    WriteFile(base.path() / "D120826b" / "S090000", "x");
    Recording recording;
    LoadDirectory(base.path(), recording);
    EXPECT_EQ(FileNames(recording),
              (std::vector<std::string>{"d120826/S101500", "d120826/s143502.log",
                                        "D120826b/S090000", "D120827/S080000"}));
}

struct NamedStart {
    const char* file;
    CalendarSeconds startTime;
};

// Writes one data file per case below a fresh base and expects the loaded starts
// in that order with those start times.
template <std::size_t N>
void ExpectStartTimes(const NamedStart (&cases)[N])
{
    TempDir base;
    for (const NamedStart& c : cases)
        WriteFile(base.path() / c.file, "x");
    Recording recording;
    LoadDirectory(base.path(), recording);
    ASSERT_EQ(recording.size(), N);
    for (std::size_t i = 0; i < N; ++i) {
        SCOPED_TRACE(cases[i].file);
        EXPECT_EQ(recording[i].startTime, cases[i].startTime);
    }
}

// A flight that started between 00:00 and 00:59 UTC vanished from the list.
TEST(LoadDirectory, RegressionFirstHourStartsWereDropped)
{
    const NamedStart cases[] = {
        {"D120826/S000512.LOG", Utc(2012, 8, 26, 0, 5, 12)},
        {"D120826/S0A0000", Utc(2012, 8, 26, 0, 0, 0)},
    };
    ExpectStartTimes(cases);
}

TEST(LoadDirectory, StartTimesFromDayAndStartNames)
{
    const NamedStart cases[] = {
        // Dates after 2038.
        {"D400101/S000000", CalendarSeconds{2208988800}},
        {"D991231/S235959", Utc(2099, 12, 31, 23, 59, 59)},
    };
    ExpectStartTimes(cases);
}

TEST(LoadDirectory, ReloadReplacesEverythingAndMissingBaseGivesNothing)
{
    TempDir base;
    WriteFile(base.path() / "D120826" / "S101500", "x");
    Recording recording;
    LoadDirectory(base.path(), recording);
    ASSERT_EQ(recording.size(), 1U);
    recording[0].loaded = true;
    recording[0].samples.resize(3);
    LoadDirectory(base.path(), recording);
    ASSERT_EQ(recording.size(), 1U);
    EXPECT_FALSE(recording[0].loaded);
    EXPECT_TRUE(recording[0].samples.empty());

    LoadDirectory(base.path() / "missing", recording);
    EXPECT_TRUE(recording.empty());
}

TEST(LoadDirectory, LongPaths)
{
    TempDir temp;
    std::filesystem::path base = temp.path();
    for (int i = 0; i < 4; ++i) {
        base /= std::string(100, static_cast<char>('a' + i));
    }
    WriteFile(base / "D120826" / "S101500", "x");
    Recording recording;
    LoadDirectory(base, recording);
    ASSERT_EQ(recording.size(), 1U);
    EXPECT_GT(recording[0].path.string().size(), 400U);
    EXPECT_EQ(recording[0].path, base / "D120826" / "S101500");
}

// What a loading told of: each path with its reason.
struct Problems {
    std::vector<std::pair<std::filesystem::path, std::error_code>> seen;
    DirectoryProblem Sink()
    {
        return [this](const std::filesystem::path& path, std::error_code reason) {
            seen.emplace_back(path, reason);
        };
    }
};

TEST(LoadDirectory, RegressionUnreadableFoldersSkippedWithoutAWord)
{
    // Works as root too: a looping link cannot be followed by anyone.
    TempDir base;
    WriteFile(base.path() / "D120826" / "S143502", "x");
    std::filesystem::create_symlink("D120827", base.path() / "D120827");
    std::filesystem::create_symlink("S090000", base.path() / "D120826" / "S090000");
    Problems problems;
    Recording recording;
    EXPECT_TRUE(LoadDirectory(base.path(), recording, problems.Sink()));
    EXPECT_EQ(FileNames(recording), std::vector<std::string>{"D120826/S143502"});
    ASSERT_EQ(problems.seen.size(), 2U);
    // The base is listed before its day folders are scanned.
    EXPECT_EQ(problems.seen[0].first, base.path() / "D120827");
    EXPECT_EQ(problems.seen[1].first, base.path() / "D120826" / "S090000");
    for (const auto& problem : problems.seen) {
        EXPECT_EQ(problem.second, std::errc::too_many_symbolic_link_levels) << problem.first;
    }

    // The silent form loads the same starts.
    Recording silent;
    LoadDirectory(base.path(), silent);
    EXPECT_EQ(FileNames(silent), FileNames(recording));
}

TEST(LoadDirectory, BaseThatCannotBeListedIsTold)
{
    TempDir dir;
    WriteFile(dir.path() / "card", "not a folder");
    std::filesystem::create_symlink("loop", dir.path() / "loop");
    for (const char* name : {"card", "loop", "missing"}) {
        Problems problems;
        Recording recording;
        EXPECT_FALSE(LoadDirectory(dir.path() / name, recording, problems.Sink())) << name;
        ASSERT_EQ(problems.seen.size(), 1U) << name;
        EXPECT_EQ(problems.seen[0].first, dir.path() / name);
        EXPECT_TRUE(problems.seen[0].second) << name;
        LoadDirectory(dir.path() / name, recording);
        EXPECT_TRUE(recording.empty()) << "the silent form loads nothing";
    }
}

TEST(LoadDirectory, DayFolderWithoutReadPermissionIsTold)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root";
    }
    TempDir base;
    WriteFile(base.path() / "D120826" / "S143502", "x");
    std::filesystem::permissions(base.path() / "D120826", std::filesystem::perms::none);
    Problems problems;
    Recording recording;
    EXPECT_TRUE(LoadDirectory(base.path(), recording, problems.Sink()));
    std::filesystem::permissions(base.path() / "D120826", std::filesystem::perms::owner_all);
    EXPECT_TRUE(recording.empty());
    ASSERT_EQ(problems.seen.size(), 1U);
    EXPECT_EQ(problems.seen[0].first, base.path() / "D120826");
    EXPECT_EQ(problems.seen[0].second, std::errc::permission_denied);
}

}  // namespace
}  // namespace veltrin
