// The logbook report: rows, totals and pages, read back with the PDF tools.

#include "report/logbook_report.h"
#include "data/calendar.h"
#include "report_test_support.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

namespace veltrin {
namespace {

namespace fs = std::filesystem;

std::string Collapsed(const std::string& text)
{
    return std::regex_replace(text, std::regex("[ \t]+"), " ");
}

// Start `i`: one a day from 01.03.2024 at 10:00, ten minutes long, i % 3 events.
StartSummary MadeSummary(std::size_t i)
{
    StartSummary s;
    s.index = i;
    s.file.startTime = ToCalendarSeconds({2024, 3, 1 + static_cast<int>(i), 10, 0, 0});
    s.file.path = "/karte/VELT/D240301/S100000.LOG";
    s.landingTime = s.file.startTime + 600;
    s.landingIsTimeOfDay = true;
    s.minAccZ = -1.25;
    s.maxAccZ = 3.5 + static_cast<double>(i % 10) / 10.0;
    s.maxIas = 180.25;
    s.maxAltitude = 1200;
    s.sampleCount = 6000;
    s.events = static_cast<int>(i % 3);
    s.exceedances = i % 50 == 0 ? 1 : 0;
    return s;
}

LogbookReport MadeReport(std::size_t starts)
{
    LogbookReport report;
    for (std::size_t i = 0; i < starts; ++i)
        report.starts.push_back(MadeSummary(i));
    report.source = QStringLiteral("/karte/VELT");
    report.limits = AircraftLimits{-2.0, 5.0, 250.0};
    return report;
}

class LogbookReportTest : public ::testing::Test {
protected:
    std::string Write(const LogbookReport& report)
    {
        const ReportResult result =
            WriteLogbookReport(report, QString::fromStdString(pdf_.string()));
        EXPECT_TRUE(result.Ok()) << result.error.toStdString();
        if (const char* keep = std::getenv("VELTRIN_KEEP_REPORT"))
            fs::copy_file(pdf_, keep, fs::copy_options::overwrite_existing);
        return Collapsed(test::PdfText(pdf_));
    }

    test::TempDir dir_{"veltrin-logbook-report"};
    fs::path pdf_ = dir_ / "flugbuch.pdf";
};

TEST_F(LogbookReportTest, OneStartOnOnePageWithItsRowAndTotals)
{
    const std::string text = Write(MadeReport(1));
    EXPECT_EQ(test::PdfPages(pdf_), 1);
    EXPECT_NE(text.find("Flugbuch-Bericht"), std::string::npos);
    EXPECT_NE(text.find("alle Starts der Karte"), std::string::npos);
    EXPECT_NE(text.find("Grenzwerte -2,00 g / 5,00 g / 250,0 km/h"), std::string::npos);
    EXPECT_NE(text.find("1 01.03.2024 10:00:00 10:10:00 0:10:00 -1,25 3,50 180,2 1200,0 0 1"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Summe 1 Starts 0:10:00 0 1"), std::string::npos) << text;
    EXPECT_NE(text.find("Seite 1 von 1"), std::string::npos);
}

TEST_F(LogbookReportTest, TwoHundredStartsRunOverPagesWithHeadsRepeated)
{
    const std::string text = Write(MadeReport(200));
    const int pages = test::PdfPages(pdf_);
    // 51 rows fit on the first page below the title, 56 on each further one.
    EXPECT_EQ(pages, 4);
    for (int page = 1; page <= pages; ++page) {
        const std::string number =
            "Seite " + std::to_string(page) + " von " + std::to_string(pages);
        EXPECT_EQ(test::Count(text, number), 1) << number;
    }
    // The column heads on every page.
    EXPECT_EQ(test::Count(text, "Datum"), pages);
    EXPECT_EQ(test::Count(text, "Ereig-"), pages);
    // Every start once, the totals once: 200 × 10 min, 199 events (0+1+2 ...), 4 exceedances.
    EXPECT_EQ(test::Count(text, " 10:00:00 10:10:00 0:10:00 "), 200);
    EXPECT_NE(text.find("\f"), std::string::npos);
    EXPECT_NE(text.find("Summe 200 Starts 33:20:00 199 4"), std::string::npos);
    EXPECT_NE(text.find("200 16.09.2024"), std::string::npos);
}

TEST_F(LogbookReportTest, RangeUnreadableStartsAndNoLimits)
{
    LogbookReport report = MadeReport(3);
    report.starts[1].read.error = StartReadError::CannotOpen;
    report.limits.reset();
    report.fromDay = ToCalendarSeconds({2024, 3, 1, 0, 0, 0});
    report.toDay = ToCalendarSeconds({2024, 3, 3, 0, 0, 0});
    const std::string text = Write(report);
    EXPECT_NE(text.find("01.03.2024 bis 03.03.2024"), std::string::npos);
    EXPECT_NE(text.find("Grenzwerte keine angegeben"), std::string::npos);
    EXPECT_NE(text.find("2 02.03.2024 10:00:00 Datei nicht lesbar"), std::string::npos) << text;
    // The unreadable start is counted as a start but adds no time or events.
    EXPECT_NE(text.find("Summe 3 Starts 0:20:00 2 –"), std::string::npos) << text;
}

TEST_F(LogbookReportTest, EmptyLogbookStillAPage)
{
    const std::string text = Write(MadeReport(0));
    EXPECT_EQ(test::PdfPages(pdf_), 1);
    EXPECT_NE(text.find("Summe 0 Starts 0:00:00 0 0"), std::string::npos) << text;
}

}  // namespace
}  // namespace veltrin
