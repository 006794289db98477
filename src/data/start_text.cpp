#include "data/start_text.h"

#include "data/calendar.h"
#include "data/number_format.h"

namespace veltrin {

std::string DayText(CalendarSeconds time)
{
    const auto civil = BreakDownUtc(time);
    if (!civil) {
        return {};
    }
    std::string text;
    AppendInt(text, civil->day, 2, true);
    text += '.';
    AppendInt(text, civil->month, 2, true);
    text += '.';
    AppendInt(text, civil->year, 4, true);
    return text;
}

std::string TimeOfDayText(CalendarSeconds time)
{
    const auto civil = BreakDownUtc(time);
    if (!civil) {
        return {};
    }
    std::string text;
    AppendInt(text, civil->hour, 2, true);
    text += ':';
    AppendInt(text, civil->minute, 2, true);
    text += ':';
    AppendInt(text, civil->second, 2, true);
    return text;
}

std::string StartTimeText(const StartRecord& start)
{
    std::string text = TimeOfDayText(start.startTime);
    if (start.landingTime != 0) {
        text += " - ";
        text += TimeOfDayText(start.landingTime);
    }
    return text;
}

std::string StartValuesText(const StartRecord& start)
{
    std::string text = "Acc.: ";
    AppendFixed(text, start.minAccZ, 2);
    text += " - ";
    AppendFixed(text, start.maxAccZ, 2);
    text += " V: ";
    AppendFixed(text, start.maxIas, 1);
    text += "  H: ";
    AppendFixed(text, start.maxAltitude, 1);
    return text;
}

}  // namespace veltrin
