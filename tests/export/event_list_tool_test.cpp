// veltrin-export events and exceedances: the lists written byte for byte from
// made starts, whatever the locale and time zone, with unreadable starts told
// of and skipped; and the limits as the command line gives them.

#include "data/directory_loader.h"
#include "event_lists.h"
#include "export_commands.h"
#include "export_test_support.h"
#include "limits_option.h"
#include "tool_run.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace veltrin {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::Tool;
using test::ToolRun;

// Data file lines from "$VLTDR" fields: seconds, accZ, ias, altitude, flags.
std::string DataFile(const std::vector<std::string>& samples)
{
    std::string text;
    for (const std::string& sample : samples)
        text += test::Framed("$VLTDR," + sample) + "\r\n";
    return text;
}

constexpr const char* kLimits = "--limits=-1.0,3.0,250";

// Fields: time, accX, accY, accZ, ias, vertical speed, temperature, altitude, flags.
const std::vector<std::string> kFirstStart = {
    "10.000,0.00,0.00,1.00,80.0,0.0,0.0,300,0",
    "10.500,0.00,0.00,2.675,95.3,0.0,0.0,512,1",    // event 1 begins
    "11.000,0.00,0.00,-0.45,120.05,0.0,0.0,530,0",  // unflagged, inside event 1
    "12.500,0.00,0.00,2.10,110.0,0.0,0.0,540,1",    // 2000 ms on: still event 1
    "14.501,0.00,0.00,1.00,100.0,0.0,0.0,545,1",    // 2001 ms on: event 2
    "20.000,0.00,0.00,3.50,260.5,0.0,0.0,600,0",    // beyond +g and IAS
    "20.250,0.00,0.00,3.00,255.25,0.0,0.0,601,0",   // +g limit itself: within
    "20.500,0.00,0.00,-1.00,250.0,0.0,0.0,602,0",   // both limits themselves
    "21.000,0.00,0.00,-1.20,200.0,0.0,0.0,603,0",   // beyond -g up to the end
    "21.750,0.00,0.00,-1.30,190.0,0.0,0.0,604,1",   // event 3 at the last sample
};

// An event at the first sample; the unflagged sample after it stays outside.
const std::vector<std::string> kSecondStart = {
    "5.000,0.00,0.00,1.50,90.0,0.0,0.0,400,1",
    "5.100,0.00,0.00,1.60,91.0,0.0,0.0,401,0",
};

class EventListTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(card_ / "D120826");
        fs::create_directories(card_ / "D120827");
        test::WriteFile(first_, DataFile(kFirstStart));
        test::WriteFile(second_, DataFile(kSecondStart));
        test::WriteFile(card_ / "D120826" / "S160000.LOG", "");  // a start without samples
    }

    std::string EventRows() const
    {
        return "Date;Start;Event;Time;Duration;MinAccZ;MaxAccZ;MaxIAS;Altitude;File\r\n"
               "26.08.2012;14:35:02;1;0,500;2,000;-0,45;2,67;120,1;512;" +
               first_.string() +
               "\r\n"
               "26.08.2012;14:35:02;2;4,501;0,000;1,00;1,00;100,0;545;" +
               first_.string() +
               "\r\n"
               "26.08.2012;14:35:02;3;11,750;0,000;-1,30;-1,30;190,0;604;" +
               first_.string() +
               "\r\n"
               "27.08.2012;09:00:00;1;0,000;0,000;1,50;1,50;90,0;400;" +
               second_.string() + "\r\n";
    }
    std::string ExceedanceRows() const
    {
        return "Date;Start;Kind;Time;Duration;Peak;File\r\n"
               "26.08.2012;14:35:02;+g;10,000;0,000;3,50;" +
               first_.string() +
               "\r\n"
               "26.08.2012;14:35:02;IAS;10,000;0,250;260,5;" +
               first_.string() +
               "\r\n"
               "26.08.2012;14:35:02;-g;11,000;0,750;-1,30;" +
               first_.string() + "\r\n";
    }

    TempDir dir_;
    fs::path card_ = dir_ / "VELT";
    fs::path first_ = card_ / "D120826" / "S143502.LOG";
    fs::path second_ = card_ / "D120827" / "S090000.LOG";
};

TEST_F(EventListTool, EventsOfACardInRecordingOrderNumberedWithinTheStart)
{
    const ToolRun run = Tool({"events", card_.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, EventRows());
}

TEST_F(EventListTool, ExceedancesOrderedByTimeThenKind)
{
    const ToolRun run = Tool({"exceedances", kLimits, card_.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, ExceedanceRows());
    // The value may follow the option as the next argument too.
    EXPECT_EQ(Tool({"exceedances", "--limits", "-1.0,3.0,250", card_.string()}).out,
              ExceedanceRows());
}

// Sets a German locale and the Tokyo time zone for one test and restores both.
class GermanTokyo {
public:
    GermanTokyo()
    {
        if (const char* zone = std::getenv("TZ"))
            zone_ = zone;
        setenv("TZ", "Asia/Tokyo", 1);
        tzset();
        german_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    }
    ~GermanTokyo()
    {
        std::setlocale(LC_ALL, "C");
        if (zone_) {
            setenv("TZ", zone_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    bool German() const { return german_; }

private:
    std::optional<std::string> zone_;
    bool german_ = false;
};

TEST_F(EventListTool, ListsAreTheSameUnderAGermanLocaleAndInTokyo)
{
    const GermanTokyo environment;
    if (!environment.German())
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    EXPECT_EQ(Tool({"events", card_.string()}).out, EventRows());
    EXPECT_EQ(Tool({"exceedances", kLimits, card_.string()}).out, ExceedanceRows());
}

TEST_F(EventListTool, BuiltProgramWritesTheSameFilesUnderAGermanLocaleAndInTokyo)
{
    const std::string run = "LC_ALL=de_DE.UTF-8 TZ=Asia/Tokyo " + std::string(VELTRIN_EXPORT_TOOL);
    const std::string events = run + " events '" + card_.string() + "' '" +
                               (dir_ / "events.csv").string() + "' >/dev/null 2>&1";
    ASSERT_EQ(WEXITSTATUS(std::system(events.c_str())), 0);
    EXPECT_EQ(ReadFile(dir_ / "events.csv"), EventRows());
    const std::string exceedances = run + " exceedances " + kLimits + " '" + card_.string() +
                                    "' '" + (dir_ / "exceedances.csv").string() +
                                    "' >/dev/null 2>&1";
    ASSERT_EQ(WEXITSTATUS(std::system(exceedances.c_str())), 0);
    EXPECT_EQ(ReadFile(dir_ / "exceedances.csv"), ExceedanceRows());
}

TEST_F(EventListTool, RegressionShortListToAFullStdoutExitedWithZero)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    const std::string command = std::string(VELTRIN_EXPORT_TOOL) + " events '" + card_.string() +
                                "' >/dev/full 2>'" + (dir_ / "err").string() + "'";
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 1);
    EXPECT_NE(ReadFile(dir_ / "err").find("Die Ausgabe konnte nicht geschrieben werden."),
              std::string::npos);
}

TEST_F(EventListTool, UnreadableFolderEntryIsReportedTheRestWritten)
{
    fs::create_symlink("S170000", card_ / "D120826" / "S170000");  // a link to itself
    const ToolRun run = Tool({"events", card_.string(), (dir_ / "list.csv").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find((card_ / "D120826" / "S170000").string() +
                           ": Konnte nicht gelesen werden (Too many levels of symbolic links)."),
              std::string::npos)
        << run.err;
    EXPECT_EQ(ReadFile(dir_ / "list.csv"), EventRows());
}

TEST_F(EventListTool, StartThatCannotBeReadIsReportedAndSkippedTheRestWritten)
{
    // The card changes after it was listed: one data file gives way to a named
    // pipe, another is gone.
    const fs::path empty = card_ / "D120826" / "S160000.LOG";
    const std::string secondRows =
        "27.08.2012;09:00:00;1;0,000;0,000;1,50;1,50;90,0;400;" + second_.string() + "\r\n";
    const std::vector<std::string> headers = {
        "Date;Start;Event;Time;Duration;MinAccZ;MaxAccZ;MaxIAS;Altitude;File\r\n",
        "Date;Start;Kind;Time;Duration;Peak;File\r\n"};
    for (bool events : {true, false}) {
        test::WriteFile(first_, DataFile(kFirstStart));
        test::WriteFile(empty, "");
        Recording starts;
        LoadDirectory(card_, starts);
        ASSERT_EQ(starts.size(), 3u);
        fs::remove(first_);
        ASSERT_EQ(::mkfifo(first_.c_str(), 0600), 0);
        fs::remove(empty);
        std::ostringstream out, err;
        const fs::path target = dir_ / "list.csv";
        const int status =
            events ? tool::WriteEventList(starts, target, out, err)
                   : tool::WriteExceedanceList(starts, {-1.0, 1.55, 250.0}, target, out, err);
        EXPECT_EQ(status, 1);
        EXPECT_EQ(out.str(), "");
        EXPECT_NE(err.str().find(first_.string() + ": Keine reguläre Datei"), std::string::npos)
            << err.str();
        EXPECT_NE(err.str().find(empty.string() +
                                 ": Die Datei konnte nicht gelesen werden (No such file"),
                  std::string::npos)
            << err.str();
        EXPECT_EQ(ReadFile(target), events
                                        ? headers[0] + secondRows
                                        : headers[1] + "27.08.2012;09:00:00;+g;0,100;0,000;1,60;" +
                                              second_.string() + "\r\n");
        fs::remove(first_);
    }
}

TEST_F(EventListTool, StartWithoutReadPermissionIsReportedAndSkipped)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    fs::permissions(first_, fs::perms::none);
    const ToolRun run = Tool({"events", card_.string()});
    fs::permissions(first_, fs::perms::owner_all);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(first_.string() +
                           ": Die Datei konnte nicht gelesen werden (Permission denied)."),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.out.find(second_.string()), std::string::npos);
    EXPECT_EQ(run.out.find(first_.string()), std::string::npos);
}

TEST_F(EventListTool, DataFileNamedAsGivenAndQuotedWhenItHoldsASemicolon)
{
    const fs::path odd = dir_ / "a;b" / "D120827" / "S090000";
    fs::create_directories(odd.parent_path());
    fs::copy_file(second_, odd);
    const ToolRun run = Tool({"events", odd.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "Date;Start;Event;Time;Duration;MinAccZ;MaxAccZ;MaxIAS;Altitude;File\r\n"
              "27.08.2012;09:00:00;1;0,000;0,000;1,50;1,50;90,0;400;\"" +
                  odd.string() + "\"\r\n");
    const ToolRun missing = Tool({"events", (dir_ / "none" / "S090000").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Die Datei existiert nicht."), std::string::npos) << missing.err;
}

TEST_F(EventListTool, UnwritableTargetIsReportedAndAnOldTargetKeptUntilTheListIsComplete)
{
    test::WriteFile(dir_ / "blocker", "");
    const ToolRun blocked =
        Tool({"events", card_.string(), (dir_ / "blocker" / "events.csv").string()});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_NE(blocked.err.find("events.csv"), std::string::npos) << blocked.err;

    // A card whose base cannot be read gives no list; the old file stays.
    test::WriteFile(dir_ / "events.csv", "old");
    fs::create_symlink("loop", dir_ / "loop");
    EXPECT_EQ(Tool({"events", (dir_ / "loop").string(), (dir_ / "events.csv").string()}).status, 1);
    EXPECT_EQ(ReadFile(dir_ / "events.csv"), "old");
    EXPECT_EQ(Tool({"events", card_.string(), (dir_ / "events.csv").string()}).status, 0);
    EXPECT_EQ(ReadFile(dir_ / "events.csv"), EventRows());
}

TEST_F(EventListTool, WrongUsageExitsWithTwoAndSaysWhy)
{
    const std::string card = card_.string();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"events"}, "events erwartet"},
        {{"events", card, "a", "b"}, "events erwartet"},
        {{"events", kLimits, card}, "--limits gilt nur für all und exceedances"},
        {{"exceedances", card}, "exceedances erwartet --limits"},
        {{"exceedances", kLimits}, "exceedances erwartet"},
        {{"exceedances", "--limits=-3.5,5.5", card}, "drei Zahlen"},
        {{"exceedances", "--limits=5.5,-3.5,250", card}, "negative Lastgrenze"},
        {{"exceedances", "--limits=-3.5,5.5,0", card}, "Geschwindigkeitsgrenze"},
        {{"exceedances", card, "--limits"}, "--limits erwartet einen Wert"},
        {{"all", "--limits=x", card, (dir_ / "out").string()}, "drei Zahlen"},
        {{"events", "--extended", card}, "--extended gilt nur für kml und all"},
    };
    for (const auto& [arguments, message] : cases) {
        const ToolRun run = Tool(arguments);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(arguments);
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(fs::exists(dir_ / "out"));
}

TEST(LimitsOption, ReadsThreeNumbersAndRefusesLimitsThatCannotBeChecked)
{
    const struct {
        const char* text;
        bool ok;
        const char* reason;  // part of the message when refused
    } cases[] = {
        {"-3.5,5.5,250", true, ""},
        {"-1,3.8,240.5", true, ""},
        {"1,2,3", true, ""},  // only the order of the load limits is checked
        {"-3.5,5.5", false, "drei Zahlen"},
        {"-3.5,5.5,250,1", false, "drei Zahlen"},
        {"-3.5,5.5,250,", false, "drei Zahlen"},
        {"", false, "drei Zahlen"},
        {"-3,5,5,250", false, "drei Zahlen"},
        {"-3.5, 5.5,250", false, "drei Zahlen"},
        {"a,b,c", false, "drei Zahlen"},
        {"-3.5,5.5,inf", false, "drei Zahlen"},
        {"nan,5.5,250", false, "drei Zahlen"},
        {"5.5,5.5,250", false, "negative Lastgrenze"},
        {"6,5.5,250", false, "negative Lastgrenze"},
        {"-3.5,5.5,0", false, "Geschwindigkeitsgrenze"},
        {"-3.5,5.5,-250", false, "Geschwindigkeitsgrenze"},
    };
    for (const auto& c : cases) {
        std::string error;
        const std::optional<AircraftLimits> limits = tool::ParseLimits(c.text, error);
        EXPECT_EQ(limits.has_value(), c.ok) << c.text;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.text << ": " << error;
    }
    std::string error;
    const std::optional<AircraftLimits> limits = tool::ParseLimits("-3.5,5.5,250", error);
    ASSERT_TRUE(limits.has_value());
    EXPECT_EQ(limits->negativeLoad, -3.5);
    EXPECT_EQ(limits->positiveLoad, 5.5);
    EXPECT_EQ(limits->speed, 250.0);
}

}  // namespace
}  // namespace veltrin
