// The veltrin-export commands, run in-process and as the built program.

#include "data/directory_loader.h"
#include "data/start_reader.h"
#include "data/start_rules.h"
#include "data/start_text.h"
#include "export/data_file_start.h"
#include "export/start_export.h"
#include "export_commands.h"
#include "export_test_support.h"
#include "logbook.h"
#include "tool_run.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
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

// A card with two starts in the same minute and one on the next day.
class ExportToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(card_ / "d120826");
        fs::create_directories(card_ / "D120827");
        test::WriteSampleDataFile(card_ / "d120826" / "S143559.LOG");
        test::WriteSampleDataFile(card_ / "d120826" / "s143502.log");
        test::WriteFile(card_ / "D120827" / "S090000", "");
    }
    StartRecord Read(const fs::path& file)
    {
        std::optional<StartRecord> start = StartForDataFile(file);
        EXPECT_TRUE(start.has_value());
        EXPECT_TRUE(LoadStartData(*start));
        return *start;
    }

    TempDir dir_;
    fs::path card_ = dir_ / "VELT";
};

TEST_F(ExportToolTest, ListPrintsOneLinePerStartInRecordingOrder)
{
    const ToolRun run = Tool({"list", card_.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    Recording recording;
    LoadDirectory(card_, recording);
    ASSERT_EQ(recording.size(), 3u);
    std::string expected;
    for (StartRecord& start : recording) {
        LoadStartData(start);
        expected += DayText(start.startTime) + " " + StartTimeText(start) + "\t" +
                    StartValuesText(start) + "\t" + start.path.string() + "\n";
    }
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.out.rfind("26.08.2012 14:35:02 - 15:30:12\t", 0), 0u);
}

TEST_F(ExportToolTest, WrongUsageAndMissingBaseDirectoryExitWithTwo)
{
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"list"},
        {"csv", "only-one"},
        {"frobnicate", "x"},
        {"kml", "--bogus", "a", "b"},
        {"csv", "--extended", "a", "b"},
        {"gpx", "only-one"},
        {"gpx", "--extended", "a", "b"},
        {"kml", "--gpx", "a", "b"},
        {"list", (dir_ / "no-such-card").string()},
        {"all", (dir_ / "no-such-card").string(), (dir_ / "out").string()}};
    for (const auto& arguments : cases) {
        const ToolRun run = Tool(arguments);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(arguments);
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_NE(Tool({"list", (dir_ / "no-such-card").string()}).err.find("no-such-card"),
              std::string::npos);
    const ToolRun help = Tool({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("logbook.csv"), std::string::npos);
}

TEST_F(ExportToolTest, CsvAndKmlWriteTheLibrarysBytes)
{
    const fs::path data = card_ / "d120826" / "s143502.log";
    const StartRecord start = Read(data);
    for (const char* name : {"out.csv", "out.dat"}) {
        ASSERT_EQ(Tool({"csv", data.string(), (dir_ / name).string()}).status, 0);
        ASSERT_TRUE(ExportCsv(start, dir_ / "ref", CsvVariantForPath(name)).Ok());
        EXPECT_EQ(ReadFile(dir_ / name), ReadFile(dir_ / "ref")) << name;
    }
    for (bool extended : {false, true}) {
        std::vector<std::string> arguments = {"kml", data.string(), (dir_ / "out.kml").string()};
        if (extended)
            arguments.insert(arguments.begin() + 1, "--extended");
        ASSERT_EQ(Tool(arguments).status, 0);
        KmlWriter writer;
        ASSERT_TRUE(ExportKml(start, dir_ / "ref.kml", extended, writer).Ok());
        EXPECT_EQ(ReadFile(dir_ / "out.kml"), ReadFile(dir_ / "ref.kml"));
        EXPECT_FALSE(ReadFile(dir_ / "out.kml").empty());
    }
}

TEST_F(ExportToolTest, DataFileWithoutStartTimeOrUnwritableTargetExitsWithOne)
{
    fs::create_directories(dir_ / "flights");
    test::WriteSampleDataFile(dir_ / "flights" / "S143502.LOG");
    test::WriteFile(dir_ / "blocker", "");
    const std::string good = (card_ / "d120826" / "s143502.log").string();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"csv", (dir_ / "flights" / "S143502.LOG").string(), (dir_ / "o.csv").string()},
         "flights"},
        {{"kml", (card_ / "d120826" / "S999999").string(), (dir_ / "o.kml").string()}, "S999999"},
        {{"csv", good, (dir_ / "blocker" / "o.csv").string()}, "angelegt"},
        {{"gpx", good, (dir_ / "blocker" / "o.gpx").string()}, "o.gpx"},
        {{"gpx", (card_ / "d120826" / "S999999").string(), (dir_ / "o.gpx").string()}, "S999999"},
    };
    for (const auto& [arguments, mention] : cases) {
        const ToolRun run = Tool(arguments);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_NE(run.err.find(mention), std::string::npos) << run.err;
    }
}

TEST_F(ExportToolTest, AllNamesASecondStartOfTheSameMinuteWithSuffixTwo)
{
    const fs::path out = dir_ / "export";
    const ToolRun run = Tool({"all", card_.string(), out.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    for (const char* name : {"vlt_20120826_1435.csv", "vlt_20120826_1435.kml",
                             "vlt_20120826_1435_2.csv", "vlt_20120826_1435_2.kml",
                             "vlt_20120827_0900.csv", "vlt_20120827_0900.kml", "logbook.csv"}) {
        EXPECT_TRUE(fs::exists(out / name)) << name;
    }
    // Name order: S143502 before S143559, so the later start gets the suffix.
    KmlWriter writer;
    ASSERT_TRUE(
        ExportKml(Read(card_ / "d120826" / "S143559.LOG"), dir_ / "ref.kml", false, writer).Ok());
    EXPECT_EQ(ReadFile(out / "vlt_20120826_1435_2.kml"), ReadFile(dir_ / "ref.kml"));
    EXPECT_EQ(ReadFile(out / "vlt_20120827_0900.csv"), "Time;AccX;AccY;AccZ;IAS;Altitude\r\n");

    const std::string logbook = ReadFile(out / "logbook.csv");
    const std::string first =
        "Date;Start;Landing;Duration;MinAccZ;MaxAccZ;MaxIAS;MaxAltitude;Events;File\r\n"
        "26.08.2012;14:35:02;15:30:12;0:55:10;-0,45;2,51;101,5;530,0;1;" +
        (card_ / "d120826" / "s143502.log").string() + "\r\n";
    EXPECT_EQ(logbook.substr(0, first.size()), first);
    EXPECT_NE(logbook.find("27.08.2012;09:00:00;;;0,00;0,00;0,0;0,0;0;"), std::string::npos);
}

TEST_F(ExportToolTest, GpxCommandAndAllWithGpxWriteTheLibrarysDocuments)
{
    const fs::path data = card_ / "d120826" / "S143559.LOG";
    const StartRecord start = Read(data);
    ASSERT_TRUE(ExportGpx(start, dir_ / "ref.gpx").Ok());
    const std::string reference = ReadFile(dir_ / "ref.gpx");
    EXPECT_NE(reference.find("<trkpt lat=\"-48.11833333\" lon=\"-11.52000000\">"),
              std::string::npos);

    const ToolRun single = Tool({"gpx", data.string(), (dir_ / "out.gpx").string()});
    EXPECT_EQ(single.status, 0) << single.err;
    EXPECT_EQ(single.out, "");
    EXPECT_EQ(ReadFile(dir_ / "out.gpx"), reference);

    const ToolRun plain = Tool({"all", card_.string(), (dir_ / "plain").string()});
    const ToolRun withGpx = Tool({"all", "--gpx", card_.string(), (dir_ / "gpx").string()});
    ASSERT_EQ(plain.status, 0) << plain.err;
    ASSERT_EQ(withGpx.status, 0) << withGpx.err;
    EXPECT_EQ(ReadFile(dir_ / "gpx" / "vlt_20120826_1435_2.gpx"), reference);
    EXPECT_TRUE(fs::exists(dir_ / "gpx" / "vlt_20120826_1435.gpx"));
    EXPECT_TRUE(fs::exists(dir_ / "gpx" / "vlt_20120827_0900.gpx"));  // a start without fix too
    for (const fs::directory_entry& entry : fs::directory_iterator(dir_ / "plain")) {
        EXPECT_NE(entry.path().extension(), ".gpx") << entry.path();
        EXPECT_EQ(ReadFile(entry.path()), ReadFile(dir_ / "gpx" / entry.path().filename()))
            << entry.path();
    }
    // Each .gpx is listed after its start's .kml; the rest of the listing stays.
    const std::string gpxDir = (dir_ / "gpx").string();
    const std::string kmlLine = gpxDir + "/vlt_20120826_1435.kml\n";
    EXPECT_NE(withGpx.out.find(kmlLine + gpxDir + "/vlt_20120826_1435.gpx\n"), std::string::npos);
    std::string withoutGpx;
    std::istringstream lines(withGpx.out);
    for (std::string line; std::getline(lines, line);) {
        if (!line.ends_with(".gpx"))
            withoutGpx += line.substr(0, gpxDir.size()) == gpxDir
                              ? (dir_ / "plain").string() + line.substr(gpxDir.size()) + "\n"
                              : line + "\n";
    }
    EXPECT_EQ(withoutGpx, plain.out);
}

TEST_F(ExportToolTest, LogbookWithoutLimitsKeepsItsColumns)
{
    const fs::path out = dir_ / "export";
    ASSERT_EQ(Tool({"all", card_.string(), out.string()}).status, 0);
    const std::string day = (card_ / "d120826").string();
    EXPECT_EQ(ReadFile(out / "logbook.csv"),
              "Date;Start;Landing;Duration;MinAccZ;MaxAccZ;MaxIAS;MaxAltitude;Events;File\r\n"
              "26.08.2012;14:35:02;15:30:12;0:55:10;-0,45;2,51;101,5;530,0;1;" +
                  day + "/s143502.log\r\n" +
                  "26.08.2012;14:35:59;15:30:12;0:54:13;-0,45;2,51;101,5;530,0;1;" + day +
                  "/S143559.LOG\r\n" + "27.08.2012;09:00:00;;;0,00;0,00;0,0;0,0;0;" +
                  (card_ / "D120827" / "S090000").string() + "\r\n");
}

TEST_F(ExportToolTest, LogbookWithLimitsCountsExceedancesAfterTheEvents)
{
    // The sample file's second sample is beyond +g, its third beyond -g and IAS.
    const fs::path out = dir_ / "export";
    const ToolRun run = Tool({"all", "--limits=-0.4,2.5,100", card_.string(), out.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string logbook = ReadFile(out / "logbook.csv");
    const std::string first =
        "Date;Start;Landing;Duration;MinAccZ;MaxAccZ;MaxIAS;MaxAltitude;Events;Exceedances;"
        "File\r\n"
        "26.08.2012;14:35:02;15:30:12;0:55:10;-0,45;2,51;101,5;530,0;1;3;" +
        (card_ / "d120826" / "s143502.log").string() + "\r\n";
    EXPECT_EQ(logbook.substr(0, first.size()), first);
    EXPECT_NE(logbook.find("27.08.2012;09:00:00;;;0,00;0,00;0,0;0,0;0;0;"), std::string::npos);
    // The exports beside the logbook are those without limits.
    ASSERT_EQ(Tool({"all", card_.string(), (dir_ / "plain").string()}).status, 0);
    EXPECT_EQ(ReadFile(out / "vlt_20120826_1435.csv"),
              ReadFile(dir_ / "plain" / "vlt_20120826_1435.csv"));
}

TEST_F(ExportToolTest, RegressionUnreadableFoldersSkippedWithoutAWord)
{
    // A day folder that cannot be read (a looping link stops root too): told
    // with its name and reason, the rest of the card is still listed and exported.
    fs::create_symlink("D120828", card_ / "D120828");
    const ToolRun list = Tool({"list", card_.string()});
    EXPECT_EQ(list.status, 1);
    EXPECT_NE(list.err.find((card_ / "D120828").string() +
                            ": Konnte nicht gelesen werden (Too many levels of symbolic links)."),
              std::string::npos)
        << list.err;
    EXPECT_NE(list.out.find("S090000"), std::string::npos) << list.out;
    const ToolRun all = Tool({"all", card_.string(), (dir_ / "export").string()});
    EXPECT_EQ(all.status, 1);
    EXPECT_NE(all.err.find("D120828"), std::string::npos) << all.err;
    EXPECT_TRUE(fs::exists(dir_ / "export" / "vlt_20120827_0900.kml"));
}

TEST_F(ExportToolTest, RegressionUnreadableBaseDirectoryExitsWithZero)
{
    fs::create_symlink("loop", dir_ / "loop");
    for (const char* command : {"list", "all"}) {
        std::vector<std::string> arguments = {command, (dir_ / "loop").string()};
        if (std::string(command) == "all")
            arguments.push_back((dir_ / "export").string());
        const ToolRun run = Tool(arguments);
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_EQ(run.out, "") << command;
        EXPECT_NE(run.err.find((dir_ / "loop").string() +
                               ": Das Basisverzeichnis konnte nicht gelesen werden (Too"),
                  std::string::npos)
            << run.err;
    }
    EXPECT_FALSE(fs::exists(dir_ / "export" / "logbook.csv"));
    // A base that is a file stays a usage error.
    EXPECT_EQ(Tool({"list", (card_ / "D120827" / "S090000").string()}).status, 2);
}

TEST_F(ExportToolTest, BaseDirectoryWithoutReadPermissionIsReported)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    fs::permissions(card_, fs::perms::none);
    const ToolRun run = Tool({"list", card_.string()});
    fs::permissions(card_, fs::perms::owner_all);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(
        run.err.find(card_.string() +
                     ": Das Basisverzeichnis konnte nicht gelesen werden (Permission denied)."),
        std::string::npos)
        << run.err;
}

TEST_F(ExportToolTest, RegressionPipeOrFolderAsDataFileReportedAsNameWithoutStartTime)
{
    const fs::path pipe = card_ / "d120826" / "S150000";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    fs::create_directories(card_ / "d120826" / "S160000");
    fs::create_symlink("S170000", card_ / "d120826" / "S170000");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {pipe.string(), "Keine reguläre Datei"},
        {(card_ / "d120826" / "S160000").string(), "Keine reguläre Datei"},
        {(card_ / "d120826" / "S170000").string(), "Too many levels of symbolic links"},
    };
    for (const auto& [file, reason] : cases) {
        const ToolRun run = Tool({"kml", file, (dir_ / "o.kml").string()});
        EXPECT_EQ(run.status, 1) << file;
        EXPECT_NE(run.err.find(file + ": "), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("Startzeitpunkt"), std::string::npos) << run.err;
    }
}

TEST(LogbookRow, RegressionDamagedLandingSentenceGivesNegativeDuration)
{
    StartRecord start;
    start.path = "/card/D120826/S143502";
    start.startTime = 1345991702;  // 26.08.2012 14:35:02 UTC
    const struct {
        int value;
        const char* landingAndDuration;
    } cases[] = {
        {153012, ";15:30:12;0:55:10;"},
        {140000, ";14:00:00;23:24:58;"},
        {-3456, ";;;"},
        {764039, ";;;"},
        {5960, ";;;"},
        {240000, ";;;"},
    };
    for (const auto& c : cases) {
        ApplyLandingRule(start, c.value);
        EXPECT_EQ(tool::LogbookRow(start).substr(std::string("26.08.2012;14:35:02").size(),
                                                 std::string(c.landingAndDuration).size()),
                  c.landingAndDuration)
            << c.value;
    }
}

TEST_F(ExportToolTest, BuiltProgramReportsExitStatus)
{
    const std::string tool = VELTRIN_EXPORT_TOOL;
    const std::string quiet = " >/dev/null 2>&1";
    EXPECT_EQ(WEXITSTATUS(std::system((tool + " list '" + card_.string() + "'" + quiet).c_str())),
              0);
    EXPECT_EQ(WEXITSTATUS(
                  std::system((tool + " list '" + (dir_ / "none").string() + "'" + quiet).c_str())),
              2);
    EXPECT_EQ(WEXITSTATUS(std::system(
                  (tool + " csv '" + (dir_ / "none").string() + "' x.csv" + quiet).c_str())),
              1);
}

}  // namespace
}  // namespace veltrin
