#include "data/start_text.h"

#include "data/calendar.h"
#include "data/number_format.h"

#include <algorithm>
#include <cstddef>

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

namespace {

void AppendValue(std::string& text, const char* before, double value, int precision,
                 char decimalMark)
{
    text += before;
    const std::size_t from = text.size();
    AppendFixed(text, value, precision);
    if (decimalMark != '.') {
        std::replace(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), '.',
                     decimalMark);
    }
}

}  // namespace

void AppendStartValues(std::string& text, const StartRecord& start, const StartValuesLayout& layout)
{
    AppendValue(text, layout.beforeMinAccZ, start.minAccZ, 2, layout.decimalMark);
    AppendValue(text, layout.beforeMaxAccZ, start.maxAccZ, 2, layout.decimalMark);
    AppendValue(text, layout.beforeMaxIas, start.maxIas, 1, layout.decimalMark);
    AppendValue(text, layout.beforeMaxAltitude, start.maxAltitude, 1, layout.decimalMark);
}

std::string StartValuesText(const StartRecord& start)
{
    std::string text;
    AppendStartValues(text, start, {"Acc.: ", " - ", " V: ", "  H: ", '.'});
    return text;
}

}  // namespace veltrin
