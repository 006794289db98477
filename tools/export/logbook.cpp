#include "logbook.h"

#include "data/number_format.h"
#include "data/start_text.h"
#include "export/export_constants.h"

#include <algorithm>

namespace veltrin::tool {
namespace {

// The extreme values as logbook columns, with decimal commas.
constexpr StartValuesLayout kLogbookValues{"", ";", ";", ";", ','};

void AppendDuration(std::string& row, CalendarSeconds seconds)
{
    AppendInt(row, seconds / 3600);
    row += ':';
    AppendInt(row, (seconds / 60) % 60, 2, true);
    row += ':';
    AppendInt(row, seconds % 60, 2, true);
}

}  // namespace

void AppendFileField(std::string& row, const std::string& path)
{
    if (path.find_first_of(";\"\r\n") == std::string::npos) {
        row += path;
        return;
    }
    row += '"';
    for (char c : path) {
        if (c == '"')
            row += '"';
        row += c;
    }
    row += '"';
}

std::string LogbookRow(const StartRecord& start, std::optional<std::size_t> exceedances)
{
    std::string row = DayText(start.startTime);
    row += ';';
    row += TimeOfDayText(start.startTime);
    row += ';';
    // A damaged landing sentence (a negative or out-of-range time) gives no
    // landing and no duration here; the start list still shows what it reads.
    if (start.landingTime != 0 && start.landingIsTimeOfDay) {
        row += TimeOfDayText(start.landingTime);
        row += ';';
        CalendarSeconds duration = start.landingTime - start.startTime;
        if (duration < 0)
            duration += export_constants::kSecondsPerDay;
        AppendDuration(row, duration);
    } else {
        row += ';';
    }
    row += ';';
    AppendStartValues(row, start, kLogbookValues);
    row += ';';
    AppendInt(row,
              static_cast<long long>(std::count_if(start.samples.begin(), start.samples.end(),
                                                   [](const Sample& s) { return s.eventMark; })));
    row += ';';
    if (exceedances) {
        AppendInt(row, static_cast<long long>(*exceedances));
        row += ';';
    }
    AppendFileField(row, start.path.string());
    return row;
}

void WriteLogbook(const std::vector<std::string>& rows, OutputBuffer& out, bool withExceedances)
{
    out.Write(withExceedances ? kLogbookHeaderWithExceedances : kLogbookHeader);
    out.Write(export_constants::kLineEnd);
    for (const std::string& row : rows) {
        out.Write(row);
        out.Write(export_constants::kLineEnd);
    }
}

}  // namespace veltrin::tool
