#include "shell/logbook_entry.h"

#include "data/number_format.h"

#include <algorithm>

namespace veltrin {

namespace {

constexpr CalendarSeconds kSecondsPerDay = 86400;

}  // namespace

LogbookEntry LogbookEntryOf(const StartSummary& summary)
{
    LogbookEntry entry;
    entry.startIndex = static_cast<int>(summary.index);
    entry.startTime = summary.file.startTime;
    entry.readable = summary.read.Ok();
    if (!entry.readable)
        return entry;
    if (summary.landingTime != 0 && summary.landingIsTimeOfDay) {
        entry.landingTime = summary.landingTime;
        CalendarSeconds duration = summary.landingTime - summary.file.startTime;
        if (duration < 0)
            duration += kSecondsPerDay;
        entry.durationSeconds = duration;
    }
    entry.minAccZ = summary.minAccZ;
    entry.maxAccZ = summary.maxAccZ;
    entry.maxIas = summary.maxIas;
    entry.maxAltitude = summary.maxAltitude;
    entry.events = summary.events;
    entry.exceedances = summary.exceedances;
    return entry;
}

void AddToTotals(LogbookTotals& totals, const LogbookEntry& entry)
{
    ++totals.starts;
    totals.flightSeconds += entry.durationSeconds.value_or(0);
    totals.events += entry.events;
    totals.exceedances += entry.exceedances;
}

std::string DurationText(long long seconds)
{
    std::string text;
    AppendInt(text, seconds / 3600);
    text += ':';
    AppendInt(text, (seconds / 60) % 60, 2, true);
    text += ':';
    AppendInt(text, seconds % 60, 2, true);
    return text;
}

std::string DecimalText(double value, int precision)
{
    std::string text;
    AppendFixed(text, value, precision);
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

}  // namespace veltrin
