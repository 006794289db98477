// Dating and positions of the extended KML track: the date each point gets,
// the document's time span, and the speed of long gaps without a fix.

#include "data/number_format.h"
#include "data/start_rules.h"
#include "export/start_export.h"
#include "export_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>
#include <vector>

namespace veltrin {
namespace {

using test::CoordLines;
using test::Fix;
using test::FixedEnvironment;
using test::PositionAtCoordLines;
using test::ReadFile;
using test::TempDir;

constexpr double kHour = 3600.0;

struct Point {
    bool valid;
    double timeOfDay;
};

StartRecord StartWith(CalendarSeconds startTime, const std::vector<Point>& points)
{
    StartRecord start;
    start.startTime = startTime;
    start.loaded = true;
    for (const Point& point : points) {
        start.fixes.push_back(
            Fix(point.valid, point.valid ? 48.0 : 0.0, point.valid ? 11.0 : 0.0, 500.0));
        start.fixes.back().utcTime = point.timeOfDay;
    }
    return start;
}

std::vector<std::string> TimeStrings(const StartRecord& start)
{
    std::vector<std::string> texts;
    for (const CalendarSeconds time : TrackPointTimes(start.startTime, start.fixes)) {
        texts.push_back(KmlTimeString(time));
    }
    return texts;
}

std::string ExportTrack(const StartRecord& start)
{
    TempDir dir;
    KmlWriter writer(FixedEnvironment({}));
    const ExportResult result = ExportKml(start, dir / "track.kml", true, writer);
    EXPECT_TRUE(result.Ok()) << result.Message();
    return ReadFile(dir / "track.kml");
}

std::string Between(const std::string& text, const std::string& open, const std::string& close)
{
    const auto from = text.find(open);
    if (from == std::string::npos)
        return {};
    const auto begin = from + open.size();
    return text.substr(begin, text.find(close, begin) - begin);
}

TEST(KmlTrackDocument, RegressionAfternoonBeginAfterEnd)
{
    // A receiver without a time yet writes fixes with an empty time field (0).
    const StartRecord start =
        StartWith(test::kAugust26 + 14 * kHour + 35 * 60 + 2, {{false, 0},
                                                               {false, 0},
                                                               {true, 14 * kHour + 35 * 60 + 3},
                                                               {true, 14 * kHour + 46 * 60 + 2}});
    EXPECT_EQ(TimeStrings(start),
              (std::vector<std::string>{"2012-08-26T00:00:00Z", "2012-08-26T00:00:00Z",
                                        "2012-08-26T14:35:03Z", "2012-08-26T14:46:02Z"}));
    const std::string document = ExportTrack(start);
    EXPECT_EQ(Between(document, "<begin>", "</begin>"), "2012-08-26T00:00:00Z");
    EXPECT_EQ(Between(document, "<end>", "</end>"), "2012-08-26T14:46:02Z");
}

TEST(KmlTrackDocument, ZeroTimeWithFixAtMidnightMovesOnToTheNextDay)
{
    const StartRecord start = StartWith(test::kAugust26 + 23 * kHour + 58 * 60 + 30,
                                        {{true, 23 * kHour + 59 * 60 + 55}, {true, 0}, {true, 5}});
    EXPECT_EQ(TimeStrings(start),
              (std::vector<std::string>{"2012-08-26T23:59:55Z", "2012-08-27T00:00:00Z",
                                        "2012-08-27T00:00:05Z"}));
}

TEST(KmlTrackDocument, FirstFixAfterMidnightOfAStartJustBeforeIt)
{
    const StartRecord start =
        StartWith(test::kAugust26 + 23 * kHour + 59 * 60 + 58, {{true, 2}, {true, 3}});
    EXPECT_EQ(TimeStrings(start),
              (std::vector<std::string>{"2012-08-27T00:00:02Z", "2012-08-27T00:00:03Z"}));
}

TEST(KmlTrackDocument, GarbledTimeOfDayShiftsNoLaterPoint)
{
    // One fix in an afternoon track reads a time of day just after midnight:
    // that point alone may move, the points after it keep their date.
    const StartRecord start = StartWith(test::kAugust26 + 14 * kHour, {{true, 14 * kHour + 1},
                                                                       {true, 14 * kHour + 2},
                                                                       {true, 1 * kHour},
                                                                       {true, 14 * kHour + 4},
                                                                       {true, 14 * kHour + 5}});
    const std::vector<std::string> times = TimeStrings(start);
    ASSERT_EQ(times.size(), 5u);
    EXPECT_EQ(times[0], "2012-08-26T14:00:01Z");
    EXPECT_EQ(times[1], "2012-08-26T14:00:02Z");
    EXPECT_EQ(times[3], "2012-08-26T14:00:04Z");
    EXPECT_EQ(times[4], "2012-08-26T14:00:05Z");
}

TEST(KmlTrackDocument, PointsWithoutTimeOfDayFollowTheLastTimedDate)
{
    // Before the first timed point the start's date; after a midnight crossing
    // the new date; out-of-range seconds roll over from 00:00 of that date.
    const StartRecord start =
        StartWith(test::kAugust26 + 23 * kHour + 59 * 60, {{false, 0},
                                                           {false, -5},
                                                           {true, 23 * kHour + 59 * 60 + 30},
                                                           {true, 10},
                                                           {false, 0},
                                                           {false, 86400 + 7},
                                                           {false, -1.5}});
    EXPECT_EQ(TimeStrings(start),
              (std::vector<std::string>{"2012-08-26T00:00:00Z", "2012-08-25T23:59:55Z",
                                        "2012-08-26T23:59:30Z", "2012-08-27T00:00:10Z",
                                        "2012-08-27T00:00:00Z", "2012-08-28T00:00:07Z",
                                        "2012-08-26T23:59:59Z"}));
}

TEST(KmlTrackDocument, TimesWithinOneDayAreThoseOfThePointRule)
{
    // A flight that stays within one UTC day: every timed point is dated as
    // the single-point rule dates it, whatever the order of its times.
    const CalendarSeconds startTime = test::kAugust26 + 10 * kHour;
    const std::vector<Point> points = {{true, 10 * kHour + 5.9}, {true, 9 * kHour},
                                       {true, 11 * kHour},       {false, 11 * kHour + 1},
                                       {true, 10 * kHour},       {true, 0}};
    const StartRecord start = StartWith(startTime, points);
    const std::vector<CalendarSeconds> times = TrackPointTimes(startTime, start.fixes);
    ASSERT_EQ(times.size(), points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(times[i], TrackPointTime(startTime, points[i].timeOfDay)) << i;
    }
}

// Invalid fixes whose times lie outside the valid fixes around them: every
// one of them is a case the interpolation cannot settle by ratio.
StartRecord GapOutsideItsFixes(int gapPoints)
{
    std::vector<Point> points;
    points.push_back({true, 14 * kHour});
    for (int i = 0; i < gapPoints; ++i)
        points.push_back({false, 0});
    points.push_back({true, 14 * kHour + 60});
    StartRecord start = StartWith(test::kAugust26 + 14 * kHour, points);
    start.fixes.back().latitude = 48.5;
    return start;
}

TEST(KmlTrackDocument, RegressionLongGapWithoutFixIsQuadratic)
{
    const StartRecord start = GapOutsideItsFixes(100000);
    const auto begin = std::chrono::steady_clock::now();
    const std::string document = ExportTrack(start);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    // Linear work takes a few hundredths of a second; the quadratic search took ten.
    EXPECT_LT(seconds, 3.0);
    // The same bytes as before: the gap takes the position PositionAt gives.
    const Position p = PositionAt(start.fixes, 1);
    std::string gapCoord = "\t\t\t<gx:coord>";
    AppendFixed(gapCoord, p.longitude, 8);
    gapCoord += ' ';
    AppendFixed(gapCoord, p.latitude, 8);
    gapCoord += " 500.00</gx:coord>\r\n";
    EXPECT_NE(document.find("48.00000000 500.00</gx:coord>\r\n" + gapCoord + gapCoord),
              std::string::npos);
}

TEST(KmlTrackDocument, GapOutsideItsFixesAgreesWithPositionAt)
{
    StartRecord start = GapOutsideItsFixes(5);
    start.fixes[2].utcTime = 14 * kHour + 120;  // after the later fix
    start.fixes[3].utcTime = 14 * kHour + 30;   // between them
    const std::string document = ExportTrack(start);
    EXPECT_EQ(CoordLines(document), PositionAtCoordLines(start, "500.00"));
}

TEST(KmlTrackDocument, RepeatedValuesAreWrittenAsTheirOwnText)
{
    // Equal lines are copied from the one before: values that compare equal
    // but print differently, and values that never compare equal, keep their text.
    StartRecord start = GapOutsideItsFixes(4);
    const double values[] = {0.0, -0.0, 0.0, std::nan(""), std::nan(""), 1.5};
    for (std::size_t i = 0; i < start.fixes.size(); ++i)
        start.fixes[i].accZ = values[i];
    start.fixes[2].altitude = -0.0;
    const std::string document = ExportTrack(start);
    EXPECT_NE(
        document.find(
            "<gx:value>0.000000</gx:value>\r\n\t\t\t\t\t\t<gx:value>-0.000000</gx:value>\r\n"
            "\t\t\t\t\t\t<gx:value>0.000000</gx:value>\r\n\t\t\t\t\t\t<gx:value>nan</gx:value>\r\n"
            "\t\t\t\t\t\t<gx:value>nan</gx:value>\r\n\t\t\t\t\t\t<gx:value>1.500000</"
            "gx:value>\r\n"),
        std::string::npos);
    EXPECT_NE(document.find(" 500.00</gx:coord>\r\n\t\t\t<gx:coord>"), std::string::npos);
    EXPECT_NE(document.find(" -0.00</gx:coord>\r\n"), std::string::npos);
}

}  // namespace
}  // namespace veltrin
