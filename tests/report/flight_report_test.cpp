// The flight report: what its PDF says, read back with pdftotext and pdfinfo.

#include "report/flight_report.h"
#include "report_test_support.h"
#include "support/temp_dir.h"

#include <QPainter>
#include <QPrinter>

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

namespace veltrin {
namespace {

namespace fs = std::filesystem;

// pdftotext's columns with every run of blanks made one.
// The text with runs of blanks and of line ends as one each: the words and
// their order, not where the device's resolution rounded a line to.
std::string Collapsed(const std::string& text)
{
    const std::string blanks = std::regex_replace(text, std::regex("[ \t]+"), " ");
    return std::regex_replace(blanks, std::regex("\n( ?\n)+"), "\n");
}

class FlightReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::WriteLines(file_, test::EventfulStart());
        start_ = test::ReadMadeStart(file_);
    }

    test::TempDir dir_{"veltrin-report"};
    fs::path file_ = dir_ / "VELT" / "D120826" / "S143000.LOG";
    StartRecord start_;
    const AircraftLimits limits_{-2.0, 5.0, 250.0};
};

TEST_F(FlightReportTest, PdfShowsTimesExtremesAndEveryEventRow)
{
    const FlightReport report = MakeFlightReport(start_, limits_);
    const fs::path pdf = dir_ / "flug.pdf";
    ASSERT_TRUE(WriteFlightReport(report, QString::fromStdString(pdf.string())).Ok());
    const std::string text = Collapsed(test::PdfText(pdf));
    ASSERT_FALSE(text.empty());
    for (const char* expected :
         {"Flugbericht", "26.08.2012", "14:30:00", "14:40:00", "0:10:00", "-2,40 g", "6,20 g",
          "265,5 km/h", "900,0 m", "-2,00 g / 5,00 g / 250,0 km/h", "S143000.LOG",
          "Beschleunigung (g)", "Geschwindigkeit (km/h)", "Höhe (m)"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    // Every event: number, time, duration, min and max g, max IAS, altitude.
    EXPECT_NE(text.find("1 100,000 0,300 4,70 6,20 130,0 400"), std::string::npos) << text;
    EXPECT_NE(text.find("2 400,000 0,000 -2,40 -2,40 265,5 700"), std::string::npos) << text;
    // Every exceedance: kind, time, duration, peak.
    EXPECT_NE(text.find("+g 100,000 0,200 6,20 g"), std::string::npos);
    EXPECT_NE(text.find("-g 400,000 0,000 -2,40 g"), std::string::npos);
    EXPECT_NE(text.find("IAS 400,000 0,000 265,5 km/h"), std::string::npos);
    const int pages = test::PdfPages(pdf);
    EXPECT_GE(pages, 2);
    EXPECT_NE(text.find("Seite " + std::to_string(pages) + " von " + std::to_string(pages)),
              std::string::npos);
}

TEST_F(FlightReportTest, WithoutLimitsNothingIsCheckedAndTheVnDiagramHasNoEnvelope)
{
    const FlightReport report = MakeFlightReport(start_, std::nullopt);
    EXPECT_EQ(report.events.size(), 2u);
    EXPECT_TRUE(report.exceedances.empty());
    const fs::path pdf = dir_ / "flug.pdf";
    ASSERT_TRUE(WriteFlightReport(report, QString::fromStdString(pdf.string())).Ok());
    const std::string text = Collapsed(test::PdfText(pdf));
    EXPECT_NE(text.find("Keine Grenzwerte angegeben"), std::string::npos);
    EXPECT_NE(text.find("V-n-Diagramm"), std::string::npos);
    EXPECT_EQ(text.find("+g "), std::string::npos);
}

TEST_F(FlightReportTest, UnusableLimitsCountAsNone)
{
    const FlightReport report = MakeFlightReport(start_, AircraftLimits{5.0, -2.0, 250.0});
    EXPECT_FALSE(report.limits.has_value());
    EXPECT_TRUE(report.exceedances.empty());
}

TEST_F(FlightReportTest, VnDiagramHookPaintsIntoItsBoxOnce)
{
    FlightReport report = MakeFlightReport(start_, limits_);
    int calls = 0;
    QRectF box;
    report.paintVnDiagram = [&](QPainter& painter, const QRectF& into) {
        ++calls;
        box = into;
        painter.drawText(into, Qt::AlignCenter, QStringLiteral("Hüllkurve hier"));
    };
    const fs::path pdf = dir_ / "flug.pdf";
    ASSERT_TRUE(WriteFlightReport(report, QString::fromStdString(pdf.string())).Ok());
    EXPECT_EQ(calls, 1);
    // 174 mm wide at 600 dpi.
    EXPECT_NEAR(box.width(), 174.0 / 25.4 * 600.0, 1.0);
    const std::string text = test::PdfText(pdf);
    EXPECT_NE(text.find("V-n-Diagramm"), std::string::npos);
    EXPECT_NE(text.find("Hüllkurve hier"), std::string::npos);
}

TEST_F(FlightReportTest, FailedWriteLeavesTheTargetAsItWas)
{
    const FlightReport report = MakeFlightReport(start_, limits_);
    const ReportResult missing =
        WriteFlightReport(report, QString::fromStdString((dir_ / "no" / "f.pdf").string()));
    EXPECT_FALSE(missing.Ok());
    EXPECT_NE(missing.error.indexOf(QStringLiteral("nicht angelegt")), -1);

    // A folder where the file should go is left as it was, with its contents.
    const fs::path folder = dir_ / "ordner.pdf";
    fs::create_directories(folder);
    {
        std::ofstream(folder / "inhalt") << "old";
    }
    EXPECT_FALSE(WriteFlightReport(report, QString::fromStdString(folder.string())).Ok());
    EXPECT_TRUE(fs::is_directory(folder));
    std::ifstream in(folder / "inhalt");
    std::string kept;
    in >> kept;
    EXPECT_EQ(kept, "old");
    // Nothing but the folder and the data is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 2);
}

TEST_F(FlightReportTest, PrinterGetsTheSamePages)
{
    const FlightReport report = MakeFlightReport(start_, limits_);
    const fs::path pdf = dir_ / "flug.pdf";
    ASSERT_TRUE(WriteFlightReport(report, QString::fromStdString(pdf.string())).Ok());
    const fs::path printed = dir_ / "gedruckt.pdf";
    QPrinter printer(QPrinter::HighResolution);
    PrepareReportPrinter(printer);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(printed.string()));
    ASSERT_TRUE(PrintFlightReport(report, printer).Ok());
    EXPECT_EQ(test::PdfPages(printed), test::PdfPages(pdf));
    EXPECT_EQ(Collapsed(test::PdfText(printed)), Collapsed(test::PdfText(pdf)));
}

}  // namespace
}  // namespace veltrin
