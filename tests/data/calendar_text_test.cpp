#include "data/calendar.h"
#include "data/start_text.h"

#include <gtest/gtest.h>

namespace veltrin {
namespace {

struct CalendarCase {
    CalendarSeconds seconds;
    CivilTime civil;
};

TEST(Calendar, BreakDownAndInverseAgree)
{
    const CalendarCase cases[] = {
        {0, {1970, 1, 1, 0, 0, 0}},
        {1345991702, {2012, 8, 26, 14, 35, 2}},
        {2147483647, {2038, 1, 19, 3, 14, 7}},
        {2208988800, {2040, 1, 1, 0, 0, 0}},
        {4107542400, {2100, 3, 1, 0, 0, 0}},  // 2100 is no leap year
    };
    for (const CalendarCase& c : cases) {
        SCOPED_TRACE(c.seconds);
        const auto civil = BreakDownUtc(c.seconds);
        ASSERT_TRUE(civil.has_value());
        EXPECT_EQ(civil->year, c.civil.year);
        EXPECT_EQ(civil->month, c.civil.month);
        EXPECT_EQ(civil->day, c.civil.day);
        EXPECT_EQ(civil->hour, c.civil.hour);
        EXPECT_EQ(civil->minute, c.civil.minute);
        EXPECT_EQ(civil->second, c.civil.second);
        EXPECT_EQ(ToCalendarSeconds(c.civil), c.seconds);
    }
}

TEST(Calendar, EveryDayOfFourCenturiesRoundTrips)
{
    for (CalendarSeconds day = 0; day < 146097 + 10957; ++day) {
        const CalendarSeconds seconds = day * 86400 + 3723;
        const auto civil = BreakDownUtc(seconds);
        ASSERT_TRUE(civil.has_value());
        ASSERT_EQ(ToCalendarSeconds(*civil), seconds) << day;
    }
}

TEST(Calendar, OutOfRangeFieldsCarryOver)
{
    // Month 13 of 2012 is January 2013; day 40 of August is 9 September.
    EXPECT_EQ(ToCalendarSeconds({2012, 13, 1, 0, 0, 0}), ToCalendarSeconds({2013, 1, 1, 0, 0, 0}));
    EXPECT_EQ(ToCalendarSeconds({2012, 8, 40, 0, 0, 0}), ToCalendarSeconds({2012, 9, 9, 0, 0, 0}));
    EXPECT_EQ(ToCalendarSeconds({2012, 8, 26, 25, 0, -1}),
              ToCalendarSeconds({2012, 8, 27, 0, 59, 59}));
    EXPECT_EQ(ToCalendarSeconds({2012, 0, 1, 0, 0, 0}), ToCalendarSeconds({2011, 12, 1, 0, 0, 0}));
}

TEST(Calendar, NegativeSecondsHaveNoBreakdown)
{
    EXPECT_FALSE(BreakDownUtc(-1).has_value());
    EXPECT_EQ(DayText(-1), "");
}

TEST(StartText, DayTimeAndValues)
{
    StartRecord start;
    start.startTime = 1345991702;
    EXPECT_EQ(DayText(start.startTime), "26.08.2012");
    EXPECT_EQ(TimeOfDayText(start.startTime), "14:35:02");
    EXPECT_EQ(StartTimeText(start), "14:35:02");
    start.landingTime = 1345995012;
    EXPECT_EQ(StartTimeText(start), "14:35:02 - 15:30:12");
    EXPECT_EQ(DayText(2208988800), "01.01.2040");

    start.minAccZ = -0.5;
    start.maxAccZ = 2.505;
    start.maxIas = 182.25;
    start.maxAltitude = 1234;
    EXPECT_EQ(StartValuesText(start), "Acc.: -0.50 - 2.50 V: 182.2  H: 1234.0");
    EXPECT_EQ(StartValuesText(StartRecord{}), "Acc.: 0.00 - 0.00 V: 0.0  H: 0.0");
    start.minAccZ = -0.001;
    EXPECT_EQ(StartValuesText(start).substr(0, 11), "Acc.: -0.00");
}

TEST(StartText, ValuesLayoutPutsTheDecimalMarkInTheValuesOnly)
{
    StartRecord start;
    start.minAccZ = -1.25;
    start.maxAccZ = 4.5;
    start.maxIas = 182.25;
    start.maxAltitude = 612;
    std::string text = "kept.";
    AppendStartValues(text, start, {"a.", "|b.", "|c.", "|d.", ','});
    EXPECT_EQ(text, "kept.a.-1,25|b.4,50|c.182,2|d.612,0");
}

}  // namespace
}  // namespace veltrin
