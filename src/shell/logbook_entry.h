#pragma once
// One row of the logbook window, taken from a start's summary, the totals of
// a set of rows, and the texts in which the window shows them.

#include "analysis/start_summary.h"

#include <optional>
#include <string>

namespace veltrin {

// What the logbook shows of one start. The values are empty when the
// start's file could not be read.
struct LogbookEntry {
    int startIndex = 0;  // the start's position in the loaded recording
    CalendarSeconds startTime = 0;
    bool readable = false;
    std::optional<CalendarSeconds> landingTime;  // only a landing at a real time of day
    std::optional<CalendarSeconds> durationSeconds;
    double minAccZ = 0.0;
    double maxAccZ = 0.0;
    double maxIas = 0.0;
    double maxAltitude = 0.0;
    int events = 0;
    int exceedances = 0;
};

// The row of `summary`. The duration runs from start to landing; a landing
// earlier in the day than the start counts as the next day.
LogbookEntry LogbookEntryOf(const StartSummary& summary);

struct LogbookTotals {
    int starts = 0;
    long long flightSeconds = 0;  // of the starts with a known duration
    int events = 0;
    int exceedances = 0;
};

void AddToTotals(LogbookTotals& totals, const LogbookEntry& entry);

// "h:mm:ss", the hours not wrapped at a day ("123:04:05").
std::string DurationText(long long seconds);

// `value` with `precision` decimals and a decimal comma, as the logbook shows it.
std::string DecimalText(double value, int precision);

}  // namespace veltrin
