// "veltrin-export report", run as the built program and in-process.

#include "export_commands.h"
#include "report_test_support.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace veltrin {
namespace {

namespace fs = std::filesystem;

// Runs the built tool without a display; its exit status, stderr in `err`.
int RunTool(const std::string& arguments, const fs::path& errFile)
{
    const std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "
        "LC_ALL=de_DE.UTF-8 TZ=Asia/Tokyo '" VELTRIN_EXPORT_TOOL "' " +
        arguments + " >/dev/null 2>'" + errFile.string() + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ReportCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::WriteLines(card_ / "D120826" / "S143000.LOG", test::EventfulStart());
        test::WriteLines(card_ / "D120826" / "S160000.LOG", test::EventfulStart());
        test::WriteLines(card_ / "D120828" / "S090000.LOG", test::EventfulStart());
    }
    std::string Quoted(const fs::path& path) const
    {
        std::string quoted(1, '\'');
        quoted += path.string();
        quoted += '\'';
        return quoted;
    }

    test::TempDir dir_{"veltrin-report-command"};
    fs::path card_ = dir_ / "VELT";
    fs::path err_ = dir_ / "err.txt";
};

TEST_F(ReportCommandTest, FlightReportOfADataFileWithoutADisplay)
{
    const fs::path pdf = dir_ / "flug.pdf";
    ASSERT_EQ(RunTool("report --limits=-2,5,250 " + Quoted(card_ / "D120826" / "S143000.LOG") +
                          " " + Quoted(pdf),
                      err_),
              0)
        << ReadAll(err_);
    const std::string text = test::PdfText(pdf);
    EXPECT_NE(text.find("Flugbericht"), std::string::npos);
    EXPECT_NE(text.find("26.08.2012"), std::string::npos);
    EXPECT_NE(text.find("265,5 km/h"), std::string::npos);
    EXPECT_NE(text.find("Spitzenwert"), std::string::npos);
    // Only the temporary file's rename put it there: nothing else is left.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 3);
}

TEST_F(ReportCommandTest, LogbookReportOfACardAndOfADateRange)
{
    const fs::path all = dir_ / "alle.pdf";
    ASSERT_EQ(RunTool("report " + Quoted(card_) + " " + Quoted(all), err_), 0) << ReadAll(err_);
    const std::string text = test::PdfText(all);
    EXPECT_EQ(test::PdfPages(all), 1);
    EXPECT_NE(text.find("Flugbuch-Bericht"), std::string::npos);
    EXPECT_EQ(test::Count(text, "14:40:00"), 3);
    EXPECT_NE(text.find("28.08.2012"), std::string::npos);

    const fs::path range = dir_ / "zeitraum.pdf";
    ASSERT_EQ(RunTool("report --from 26.08.2012 --to=27.08.2012 --limits=-2,5,250 " +
                          Quoted(card_) + " " + Quoted(range),
                      err_),
              0)
        << ReadAll(err_);
    const std::string ranged = test::PdfText(range);
    EXPECT_NE(ranged.find("26.08.2012 bis 27.08.2012"), std::string::npos);
    EXPECT_EQ(ranged.find("28.08.2012"), std::string::npos);
    EXPECT_NE(ranged.find("16:00:00"), std::string::npos);
}

TEST_F(ReportCommandTest, WrongArgumentsAndUnwritableTargets)
{
    struct Case {
        std::vector<std::string> arguments;
        int status;
        const char* message;
    };
    const std::string data = (card_ / "D120826" / "S143000.LOG").string();
    const std::string out = (dir_ / "x.pdf").string();
    const Case cases[] = {
        {{"report", data}, 2, "report erwartet"},
        {{"report", "--from", "31.02.2012", card_.string(), out}, 2, "ungültiges Datum"},
        {{"report", "--from", "2012-08-26", card_.string(), out}, 2, "TT.MM.JJJJ"},
        {{"report", "--to"}, 2, "erwartet ein Datum"},
        {{"report", "--limits=5,-2,250", data, out}, 2, "die negative Lastgrenze NEG muss kleiner"},
        {{"report", "--limits=-2;5;250", data, out}, 2, "--limits erwartet drei Zahlen"},
        {{"report", "--limits=-2,5", data, out}, 2, "--limits erwartet drei Zahlen"},
        {{"report", "--from", "26.08.2012", data, out}, 2, "nur für BASISVERZ"},
        {{"report", "--bunt", data, out}, 2, "unbekannte Option"},
        {{"report", (dir_ / "fehlt").string(), out}, 2, "existiert nicht"},
        {{"report", data, (dir_ / "fehlt" / "x.pdf").string()}, 1, "nicht angelegt"},
        {{"report", card_.string(), (dir_ / "fehlt" / "x.pdf").string()}, 1, "nicht angelegt"},
    };
    for (const Case& c : cases) {
        std::ostringstream output, err;
        EXPECT_EQ(tool::RunExportTool(c.arguments, output, err), c.status)
            << testing::PrintToString(c.arguments);
        EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
    }
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(ReportCommandTest, HelpNamesTheReportsAndTheDateForm)
{
    std::ostringstream output, err;
    ASSERT_EQ(tool::RunExportTool({"--help"}, output, err), 0);
    EXPECT_NE(output.str().find("report [--from DATUM] [--to DATUM]"), std::string::npos);
    EXPECT_NE(output.str().find("TT.MM.JJJJ"), std::string::npos);
    EXPECT_NE(output.str().find("logbook.csv"), std::string::npos);
}

}  // namespace
}  // namespace veltrin
