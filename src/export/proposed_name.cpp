#include "export/proposed_name.h"

#include "data/calendar.h"
#include "data/number_format.h"

namespace veltrin {

std::string ProposedFileName(CalendarSeconds startTime)
{
    const CivilTime time = BreakDownUtc(startTime).value_or(CivilTime{});
    char text[64] = "vlt_";
    char* const end = text + sizeof text;
    char* p = text + 4;
    p = FormatInt(p, end, time.year, 4, true);
    p = FormatInt(p, end, time.month, 2, true);
    p = FormatInt(p, end, time.day, 2, true);
    *p++ = '_';
    p = FormatInt(p, end, time.hour, 2, true);
    p = FormatInt(p, end, time.minute, 2, true);
    return std::string(text, p);
}

}  // namespace veltrin
