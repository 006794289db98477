#pragma once
// The texts of the reports: numbers with decimal commas, dates, times and
// durations, all independent of the process locale and time zone.

#include "analysis/aircraft_limits.h"
#include "data/recording.h"

#include <QString>

#include <optional>

namespace veltrin {

// `value` like printf("%.*f") in the C locale, with a decimal comma.
QString DecimalText(double value, int precision);

// "h:mm:ss" of a count of seconds; hours are not limited to a day. Negative
// counts give "0:00:00".
QString DurationText(CalendarSeconds seconds);

// "dd.mm.yyyy" and "hh:mm:ss" of a UTC time; empty for a negative time.
QString ReportDayText(CalendarSeconds time);
QString ReportTimeText(CalendarSeconds time);

// Seconds from start to landing, a landing earlier in the day than the start
// counting as the next day; nullopt when the start has no usable landing
// (none, or a landing sentence that holds no real time of day).
std::optional<CalendarSeconds> FlightSeconds(CalendarSeconds startTime, CalendarSeconds landingTime,
                                             bool landingIsTimeOfDay);

// "-3,50 g / 5,50 g / 250,0 km/h", or "keine angegeben".
QString LimitsText(const std::optional<AircraftLimits>& limits);

// Parses "dd.mm.yyyy" (day and month with one or two digits) to the UTC
// midnight of that day; nullopt for any other text or a date that does not exist.
std::optional<CalendarSeconds> ParseReportDate(const QString& text);

}  // namespace veltrin
