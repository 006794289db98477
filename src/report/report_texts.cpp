#include "report/report_texts.h"

#include "data/calendar.h"
#include "data/number_format.h"
#include "data/start_text.h"

#include <QRegularExpression>

#include <string>

namespace veltrin {

namespace {

constexpr CalendarSeconds kSecondsPerDay = 86400;

}  // namespace

QString DecimalText(double value, int precision)
{
    std::string text;
    AppendFixed(text, value, precision);
    for (char& c : text) {
        if (c == '.')
            c = ',';
    }
    return QString::fromStdString(text);
}

QString DurationText(CalendarSeconds seconds)
{
    if (seconds < 0)
        seconds = 0;
    std::string text;
    AppendInt(text, seconds / 3600);
    text += ':';
    AppendInt(text, (seconds / 60) % 60, 2, true);
    text += ':';
    AppendInt(text, seconds % 60, 2, true);
    return QString::fromStdString(text);
}

QString ReportDayText(CalendarSeconds time)
{
    return QString::fromStdString(DayText(time));
}

QString ReportTimeText(CalendarSeconds time)
{
    return QString::fromStdString(TimeOfDayText(time));
}

std::optional<CalendarSeconds> FlightSeconds(CalendarSeconds startTime, CalendarSeconds landingTime,
                                             bool landingIsTimeOfDay)
{
    if (landingTime == 0 || !landingIsTimeOfDay)
        return std::nullopt;
    CalendarSeconds seconds = landingTime - startTime;
    if (seconds < 0)
        seconds += kSecondsPerDay;
    return seconds;
}

QString LimitsText(const std::optional<AircraftLimits>& limits)
{
    if (!limits)
        return QString::fromUtf8("keine angegeben");
    return DecimalText(limits->negativeLoad, 2) + QStringLiteral(" g / ") +
           DecimalText(limits->positiveLoad, 2) + QStringLiteral(" g / ") +
           DecimalText(limits->speed, 1) + QStringLiteral(" km/h");
}

std::optional<CalendarSeconds> ParseReportDate(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^([0-9]{1,2})\\.([0-9]{1,2})\\.([0-9]{4})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    CivilTime date;
    date.day = match.captured(1).toInt();
    date.month = match.captured(2).toInt();
    date.year = match.captured(3).toInt();
    const CalendarSeconds seconds = ToCalendarSeconds(date);
    // A day the calendar had to carry over (31.02., 0.13.) does not exist.
    const std::optional<CivilTime> back = BreakDownUtc(seconds);
    if (!back || back->day != date.day || back->month != date.month || back->year != date.year)
        return std::nullopt;
    return seconds;
}

}  // namespace veltrin
