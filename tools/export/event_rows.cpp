#include "event_rows.h"

#include "data/number_format.h"
#include "data/start_text.h"
#include "logbook.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace veltrin::tool {
namespace {

constexpr int kTimePrecision = 3;
constexpr int kLoadPrecision = 2;
constexpr int kSpeedPrecision = 1;

// "%0.*f" of `value` with a decimal comma, then ";".
void AppendField(std::string& row, double value, int precision)
{
    const std::size_t from = row.size();
    AppendFixed(row, value, precision);
    std::replace(row.begin() + static_cast<std::ptrdiff_t>(from), row.end(), '.', ',');
    row += ';';
}

std::string StartFields(const StartRecord& start)
{
    std::string row = DayText(start.startTime);
    row += ';';
    row += TimeOfDayText(start.startTime);
    row += ';';
    return row;
}

}  // namespace

std::string EventRow(const StartRecord& start, int number, const FlightEvent& event)
{
    std::string row = StartFields(start);
    AppendInt(row, number);
    row += ';';
    AppendField(row, event.time, kTimePrecision);
    AppendField(row, event.duration, kTimePrecision);
    AppendField(row, event.minAccZ, kLoadPrecision);
    AppendField(row, event.maxAccZ, kLoadPrecision);
    AppendField(row, event.maxIas, kSpeedPrecision);
    // The recorder writes altitudes as whole metres.
    AppendInt(row, std::llround(event.altitude));
    row += ';';
    AppendFileField(row, start.path.string());
    return row;
}

std::string ExceedanceRow(const StartRecord& start, const Exceedance& exceedance)
{
    std::string row = StartFields(start);
    row += ExceedanceKindText(exceedance.kind);
    row += ';';
    AppendField(row, exceedance.time, kTimePrecision);
    AppendField(row, exceedance.duration, kTimePrecision);
    AppendField(row, exceedance.peak,
                exceedance.kind == ExceedanceKind::Speed ? kSpeedPrecision : kLoadPrecision);
    AppendFileField(row, start.path.string());
    return row;
}

}  // namespace veltrin::tool
