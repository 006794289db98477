// Exports of a whole recorded start: well-formed XML, a GPX document another
// program reads, and the same bytes whatever the process locale.

#include "data/directory_loader.h"
#include "data/start_reader.h"
#include "export/start_export.h"
#include "export_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace veltrin {
namespace {

using test::ReadFile;
using test::TempDir;

// The start with the most track points on the bundled sample card; none when
// the card is missing.
std::optional<StartRecord> RecordedStart()
{
    Recording recording;
    LoadDirectory(std::filesystem::path(VELTRIN_SAMPLES_DIR) / "VELT", recording);
    StartRecord* best = nullptr;
    for (StartRecord& start : recording) {
        if (LoadStartData(start) && (best == nullptr || start.fixes.size() > best->fixes.size()))
            best = &start;
    }
    if (best == nullptr || best->fixes.empty())
        return std::nullopt;
    return *best;
}

struct Outputs {
    std::string csv, dat, line, track, gpx;
};

Outputs ExportAll(const StartRecord& start)
{
    TempDir dir;
    KmlWriter writer(test::FixedEnvironment({}));
    EXPECT_TRUE(ExportCsv(start, dir / "a.csv").Ok());
    EXPECT_TRUE(ExportCsv(start, dir / "a.dat").Ok());
    EXPECT_TRUE(ExportKml(start, dir / "line.kml", false, writer).Ok());
    EXPECT_TRUE(ExportKml(start, dir / "track.kml", true, writer).Ok());
    EXPECT_TRUE(ExportGpx(start, dir / "track.gpx").Ok());
    return {ReadFile(dir / "a.csv"), ReadFile(dir / "a.dat"), ReadFile(dir / "line.kml"),
            ReadFile(dir / "track.kml"), ReadFile(dir / "track.gpx")};
}

// Runs xmllint on each of `files`; each must be well-formed.
void ExpectWellFormed(const std::vector<std::filesystem::path>& files)
{
    const std::string xmllint = "/usr/bin/xmllint";
    for (const std::filesystem::path& file : files) {
        const std::string command = xmllint + " --noout '" + file.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
}

TEST(WholeStartExport, KmlAndGpxDocumentsAreWellFormedXml)
{
    if (!std::filesystem::exists("/usr/bin/xmllint"))
        GTEST_SKIP() << "xmllint is not installed";
    const std::optional<StartRecord> start = RecordedStart();
    if (!start)
        GTEST_SKIP() << "the sample card is missing";
    TempDir scratch;
    KmlWriter writer(test::FixedEnvironment({{"KML_REMOVECNT", "3"}}));
    ASSERT_TRUE(ExportKml(*start, scratch / "line.kml", false, writer).Ok());
    ASSERT_TRUE(ExportKml(*start, scratch / "track.kml", true, writer).Ok());
    ASSERT_TRUE(ExportGpx(*start, scratch / "track.gpx").Ok());
    ExpectWellFormed({scratch / "line.kml", scratch / "track.kml", scratch / "track.gpx"});
}

// The standard output of `command`, or nullopt when it could not be run or
// did not end with status 0.
std::optional<std::string> Output(const std::string& command)
{
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return std::nullopt;
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        text.append(buffer, n);
    return pclose(pipe) == 0 ? std::optional<std::string>(text) : std::nullopt;
}

// The lines of `text`, without their CR LF or LF.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// "lat,lon,ele,YYYY/MM/DD,hh:mm:ss" of each track point of a GPX document
// as this program writes it, the form another program's CSV output takes,
// the position to six decimals.
std::vector<std::string> ExpectedRows(const std::string& document)
{
    std::vector<std::string> rows;
    for (std::size_t at = document.find("<trkpt lat=\""); at != std::string::npos;
         at = document.find("<trkpt lat=\"", at + 1)) {
        const auto text = [&](const std::string& open, const std::string& close) {
            const std::size_t begin = document.find(open, at) + open.size();
            return document.substr(begin, document.find(close, begin) - begin);
        };
        const auto sixDecimals = [](const std::string& number) {
            char out[64];
            std::snprintf(out, sizeof out, "%.6f", std::stod(number));
            return std::string(out);
        };
        std::string time = text("<time>", "</time>");  // YYYY-MM-DDThh:mm:ssZ
        std::string date = time.substr(0, 10);
        for (char& c : date) {
            if (c == '-')
                c = '/';
        }
        rows.push_back(sixDecimals(text("lat=\"", "\"")) + "," + sixDecimals(text("lon=\"", "\"")) +
                       "," + text("<ele>", "</ele>") + "," + date + "," + time.substr(11, 8));
    }
    return rows;
}

TEST(WholeStartExport, GpsbabelReadsEveryGpxPointWithItsTimeAndElevation)
{
    if (!Output("command -v gpsbabel >/dev/null 2>&1"))
        GTEST_SKIP() << "gpsbabel is not installed";
    std::optional<StartRecord> recorded = RecordedStart();
    if (!recorded)
        GTEST_SKIP() << "the sample card is missing";
    // Also a made start across midnight UTC in the south-west.
    StartRecord made;
    made.startTime = test::kAugust26 + 23 * 3600 + 59 * 60;
    for (const double timeOfDay : {86398.0, 86399.0, 0.0, 1.0}) {
        made.fixes.push_back(test::Fix(true, -33.45 - timeOfDay * 1e-6, -70.66, 0.0, 512.25));
        made.fixes.back().utcTime = timeOfDay;
    }
    TempDir scratch;
    for (const StartRecord* start : {&*recorded, &made}) {
        const std::filesystem::path file = scratch / "track.gpx";
        ASSERT_TRUE(ExportGpx(*start, file).Ok());
        // Without -t the program passes on waypoints only.
        const std::optional<std::string> csv =
            Output("TZ=UTC gpsbabel -t -i gpx -f '" + file.string() + "' -o unicsv -F -");
        ASSERT_TRUE(csv.has_value());
        std::vector<std::string> lines = Lines(*csv);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front(), "No,Latitude,Longitude,Altitude,Date,Time");
        std::vector<std::string> rows;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const std::string number = std::to_string(i) + ",";
            ASSERT_EQ(lines[i].rfind(number, 0), 0u) << lines[i];
            rows.push_back(lines[i].substr(number.size()));
        }
        const std::vector<std::string> expected = ExpectedRows(ReadFile(file));
        EXPECT_EQ(rows, expected);
        EXPECT_EQ(expected.size(), static_cast<std::size_t>(
                                       std::count_if(start->fixes.begin(), start->fixes.end(),
                                                     [](const GpsFix& fix) { return fix.valid; })));
    }
    EXPECT_EQ(ExpectedRows(ReadFile(scratch / "track.gpx")).back(),
              "-33.450001,-70.660000,512.2,2012/08/27,00:00:01");
}

TEST(WholeStartExport, OutputsAreTheSameUnderAGermanLocale)
{
    const std::optional<StartRecord> start = RecordedStart();
    if (!start)
        GTEST_SKIP() << "the sample card is missing";
    const Outputs plain = ExportAll(*start);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    const Outputs german = ExportAll(*start);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(german.csv, plain.csv);
    EXPECT_EQ(german.dat, plain.dat);
    EXPECT_EQ(german.line, plain.line);
    EXPECT_EQ(german.track, plain.track);
    EXPECT_EQ(german.gpx, plain.gpx);
    EXPECT_NE(plain.dat.find('.'), std::string::npos);  // decimal points really were written
}

}  // namespace
}  // namespace veltrin
