// The GPX document of a start, byte for byte, and its agreement with the
// extended KML document's times.

#include "export/gpx_writer.h"
#include "export/start_export.h"
#include "export_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace veltrin {
namespace {

using test::Fix;
using test::ReadFile;
using test::TempDir;

constexpr std::string_view kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<gpx version=\"1.1\" creator=\"Veltrin View\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
    "http://www.topografix.com/GPX/1/1/gpx.xsd\">\n"
    "  <trk>\n";

struct MadePoint {
    bool valid;
    double timeOfDay;
    double latitude;
    double longitude;
    double gpsAltitude;
};

StartRecord StartWith(CalendarSeconds startTime, const std::vector<MadePoint>& points)
{
    StartRecord start;
    start.startTime = startTime;
    start.loaded = true;
    for (const MadePoint& point : points) {
        // The recorder's altitude differs, so that a mix-up shows.
        start.fixes.push_back(
            Fix(point.valid, point.latitude, point.longitude, 1234.0, point.gpsAltitude));
        start.fixes.back().utcTime = point.timeOfDay;
    }
    return start;
}

std::string Document(const StartRecord& start)
{
    StringOutput out;
    WriteGpx(start, out);
    return out.Text();
}

TEST(GpxDocument, WholeDocumentByteForByteAcrossMidnight)
{
    // A start two minutes before midnight UTC in the south-west: points
    // without fix are left out, the point at 00:00:00 is dated the next day.
    const CalendarSeconds start = test::kAugust26 + 23 * 3600 + 58 * 60;
    const std::string document =
        Document(StartWith(start, {
                                      {false, 86279.0, 0.0, 0.0, 0.0},
                                      {true, 86340.0, -33.45, -70.6666666667, 545.44},
                                      {true, 86399.9, -33.4500001, -70.66, -12.36},
                                      {true, 0.0, -33.46, -70.65, 0.05},
                                      {false, 1.0, 0.0, 0.0, 0.0},
                                      {true, 2.7, -33.47, 70.64, 1e4},
                                  }));
    const std::string expected = std::string(kHead) +
                                 "    <name>vlt_20120826_2358</name>\n"
                                 "    <trkseg>\n"
                                 "      <trkpt lat=\"-33.45000000\" lon=\"-70.66666667\">\n"
                                 "        <ele>545.4</ele>\n"
                                 "        <time>2012-08-26T23:59:00Z</time>\n"
                                 "      </trkpt>\n"
                                 "      <trkpt lat=\"-33.45000010\" lon=\"-70.66000000\">\n"
                                 "        <ele>-12.4</ele>\n"
                                 "        <time>2012-08-26T23:59:59Z</time>\n"
                                 "      </trkpt>\n"
                                 "      <trkpt lat=\"-33.46000000\" lon=\"-70.65000000\">\n"
                                 "        <ele>0.1</ele>\n"
                                 "        <time>2012-08-27T00:00:00Z</time>\n"
                                 "      </trkpt>\n"
                                 "      <trkpt lat=\"-33.47000000\" lon=\"70.64000000\">\n"
                                 "        <ele>10000.0</ele>\n"
                                 "        <time>2012-08-27T00:00:02Z</time>\n"
                                 "      </trkpt>\n"
                                 "    </trkseg>\n"
                                 "  </trk>\n"
                                 "</gpx>\n";
    EXPECT_EQ(document, expected);
}

TEST(GpxDocument, StartWithoutFixGivesAnEmptySegment)
{
    const std::string expected = std::string(kHead) +
                                 "    <name>vlt_20120826_1405</name>\n"
                                 "    <trkseg>\n"
                                 "    </trkseg>\n"
                                 "  </trk>\n"
                                 "</gpx>\n";
    const CalendarSeconds start = test::kAugust26 + 14 * 3600 + 5 * 60;
    EXPECT_EQ(Document(StartWith(start, {})), expected);
    EXPECT_EQ(Document(StartWith(
                  start, {{false, 50700.0, 48.0, 11.0, 500.0}, {false, 50701.0, 0.0, 0.0, 0.0}})),
              expected);
}

TEST(GpxDocument, PositionsOutsideTheRangeOfGpxAreLeftOut)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::string document =
        Document(StartWith(test::kAugust26 + 12 * 3600, {
                                                            {true, 43200.0, 90.0, -180.0, 1.0},
                                                            {true, 43201.0, 90.0001, 0.0, 1.0},
                                                            {true, 43202.0, 0.0, 180.5, 1.0},
                                                            {true, 43203.0, -1e308, 0.0, 1.0},
                                                            {true, 43204.0, nan, 0.0, 1.0},
                                                            {true, 43205.0, 0.0, -inf, 1.0},
                                                            {true, 43206.0, -90.0, 180.0, nan},
                                                            {true, 43207.0, 1.0, 2.0, -inf},
                                                        }));
    const std::string points = document.substr(document.find("<trkseg>\n") + 9);
    EXPECT_EQ(points,
              "      <trkpt lat=\"90.00000000\" lon=\"-180.00000000\">\n"
              "        <ele>1.0</ele>\n"
              "        <time>2012-08-26T12:00:00Z</time>\n"
              "      </trkpt>\n"
              "      <trkpt lat=\"-90.00000000\" lon=\"180.00000000\">\n"
              "        <time>2012-08-26T12:00:06Z</time>\n"
              "      </trkpt>\n"
              "      <trkpt lat=\"1.00000000\" lon=\"2.00000000\">\n"
              "        <time>2012-08-26T12:00:07Z</time>\n"
              "      </trkpt>\n"
              "    </trkseg>\n"
              "  </trk>\n"
              "</gpx>\n");
}

// The text between each `open` and the next `close`, in order.
std::vector<std::string> Elements(const std::string& document, const std::string& open,
                                  const std::string& close)
{
    std::vector<std::string> texts;
    for (std::size_t at = document.find(open); at != std::string::npos;
         at = document.find(open, at + 1)) {
        const std::size_t begin = at + open.size();
        texts.push_back(document.substr(begin, document.find(close, begin) - begin));
    }
    return texts;
}

TEST(GpxDocument, PointTimesAreThoseOfTheExtendedKml)
{
    // Points without fix between them still date the rest: a run across
    // midnight, one garbled time of day, points without any time.
    const std::vector<MadePoint> points = {
        {true, 86390.0, 48.0, 11.0, 500.0},
        {false, 86395.0, 0, 0, 0},
        {false, 3.0, 0, 0, 0},
        {true, 5.0, 48.1, 11.1, 510.0},
        {true, 50000.0, 48.2, 11.2, 520.0},
        {true, 8.0, 48.3, 11.3, 530.0},
        {false, 0.0, 0, 0, 0},
        {true, 9.0, 48.4, 11.4, 540.0},
        {true, 0.0, 48.5, 11.5, 550.0},
        {true, 90000.0, 48.6, 11.6, 560.0},
    };
    const StartRecord start = StartWith(test::kAugust26 + 23 * 3600 + 50 * 60, points);
    TempDir dir;
    KmlWriter writer(test::FixedEnvironment({}));
    ASSERT_TRUE(ExportKml(start, dir / "track.kml", true, writer).Ok());
    const std::vector<std::string> kmlTimes =
        Elements(ReadFile(dir / "track.kml"), "<when>", "</when>");
    ASSERT_EQ(kmlTimes.size(), points.size());
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i].valid)
            expected.push_back(kmlTimes[i]);
    }
    EXPECT_EQ(Elements(Document(start), "<time>", "</time>"), expected);
    EXPECT_EQ(expected[1], "2012-08-27T00:00:05Z");
}

TEST(GpxDocument, ExportWritesTheDocumentAndKeepsAnOldFileOnFailure)
{
    TempDir dir;
    const StartRecord start = StartWith(
        test::kAugust26, {{true, 1.0, 48.0, 11.0, 500.0}, {true, 2.0, 48.1, 11.1, 501.0}});
    ASSERT_TRUE(ExportGpx(start, dir / "a.gpx").Ok());
    EXPECT_EQ(ReadFile(dir / "a.gpx"), Document(start));

    test::WriteFile(dir / "blocker", "old");
    const ExportResult failed = ExportGpx(start, dir / "blocker" / "a.gpx");
    EXPECT_EQ(failed.status, ExportStatus::CannotCreate);
    EXPECT_EQ(ReadFile(dir / "blocker"), "old");
}

}  // namespace
}  // namespace veltrin
