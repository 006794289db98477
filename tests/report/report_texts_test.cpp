// The report's number, date and duration texts.

#include "report/report_texts.h"
#include "data/calendar.h"
#include "report/logbook_report.h"

#include <gtest/gtest.h>

#include <clocale>
#include <optional>

namespace veltrin {
namespace {

TEST(ReportTexts, DecimalCommaAndCLibraryRounding)
{
    struct Case {
        double value;
        int precision;
        const char* text;
    };
    const Case cases[] = {
        {6.2, 2, "6,20"},   {-2.4, 2, "-2,40"},    {265.55, 1, "265,6"}, {0.0405, 3, "0,041"},
        {2.675, 2, "2,67"}, {1234.0, 1, "1234,0"}, {-0.001, 2, "-0,00"}, {100.0, 3, "100,000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecimalText(c.value, c.precision).toStdString(), c.text) << c.value;
}

TEST(ReportTexts, DecimalTextIgnoresTheProcessLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    EXPECT_EQ(DecimalText(1.5, 2), QStringLiteral("1,50"));
    EXPECT_EQ(DecimalText(1234567.25, 1), QStringLiteral("1234567,2"));
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(ReportTexts, DurationsRunPastOneDay)
{
    EXPECT_EQ(DurationText(0), QStringLiteral("0:00:00"));
    EXPECT_EQ(DurationText(3599), QStringLiteral("0:59:59"));
    EXPECT_EQ(DurationText(120000), QStringLiteral("33:20:00"));
    EXPECT_EQ(DurationText(-5), QStringLiteral("0:00:00"));
}

TEST(ReportTexts, FlightSecondsFromLanding)
{
    const CalendarSeconds start = ToCalendarSeconds({2012, 8, 26, 23, 50, 0});
    EXPECT_EQ(FlightSeconds(start, start + 600, true), 600);
    // A landing earlier in the day than the start is on the next day.
    EXPECT_EQ(FlightSeconds(start, start - 23 * 3600, true), 3600);
    EXPECT_EQ(FlightSeconds(start, 0, true), std::nullopt);
    EXPECT_EQ(FlightSeconds(start, start + 600, false), std::nullopt);
}

TEST(ReportTexts, DatesAsDayMonthYear)
{
    EXPECT_EQ(ParseReportDate(QStringLiteral("26.08.2012")),
              ToCalendarSeconds({2012, 8, 26, 0, 0, 0}));
    EXPECT_EQ(ParseReportDate(QStringLiteral("1.2.2025")),
              ToCalendarSeconds({2025, 2, 1, 0, 0, 0}));
    EXPECT_EQ(ParseReportDate(QStringLiteral("29.02.2024")),
              ToCalendarSeconds({2024, 2, 29, 0, 0, 0}));
    for (const char* bad : {"29.02.2025", "31.04.2025", "0.1.2025", "1.13.2025", "2025-01-01",
                            "01.01.25", "01.01.2025x", "", "1..2025", "١.١.٢٠٢٥"})
        EXPECT_EQ(ParseReportDate(QString::fromUtf8(bad)), std::nullopt) << bad;
}

TEST(ReportTexts, DateRangeTakesInBothWholeDays)
{
    const CalendarSeconds from = ToCalendarSeconds({2025, 7, 18, 0, 0, 0});
    const CalendarSeconds to = ToCalendarSeconds({2025, 7, 19, 0, 0, 0});
    EXPECT_TRUE(StartInRange(from, from, to));
    EXPECT_TRUE(StartInRange(to + 86399, from, to));
    EXPECT_FALSE(StartInRange(to + 86400, from, to));
    EXPECT_FALSE(StartInRange(from - 1, from, to));
    EXPECT_TRUE(StartInRange(from - 1, std::nullopt, to));
    EXPECT_TRUE(StartInRange(to + 86400, from, std::nullopt));
}

}  // namespace
}  // namespace veltrin
