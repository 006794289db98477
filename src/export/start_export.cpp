#include "export/start_export.h"

#include "data/calendar.h"
#include "data/start_rules.h"
#include "export/atomic_file.h"
#include "export/export_constants.h"
#include "export/gpx_writer.h"
#include "export/proposed_name.h"

#include <cmath>
#include <cstddef>
#include <optional>
#include <string>

namespace veltrin {
namespace {

// Whole seconds of a time of day or altitude difference, truncated toward zero;
// values that are not finite or far out of any sensible range give 0 or the limit.
long long Truncated(double value)
{
    constexpr double kLimit = 1e12;
    if (std::isnan(value))
        return 0;
    if (value > kLimit)
        return static_cast<long long>(kLimit);
    if (value < -kLimit)
        return static_cast<long long>(-kLimit);
    return static_cast<long long>(value);
}

// 00:00:00 UTC of the start's date.
CalendarSeconds DayStart(CalendarSeconds startTime)
{
    CivilTime time = BreakDownUtc(startTime).value_or(CivilTime{});
    time.hour = 0;
    time.minute = 0;
    time.second = 0;
    return ToCalendarSeconds(time);
}

// Whether a point's whole seconds are a time of day the receiver wrote: an
// empty time field reads 0, which counts only on a point with fix.
bool HasTimeOfDay(const GpsFix& fix, long long seconds)
{
    return (seconds > 0 && seconds < export_constants::kSecondsPerDay) ||
           (seconds == 0 && fix.valid);
}

CalendarSeconds Distance(CalendarSeconds a, CalendarSeconds b)
{
    return a > b ? a - b : b - a;
}

void WriteLineDocument(const StartRecord& start, const std::string& name, KmlWriter& writer)
{
    const double offset = static_cast<double>(AltitudeOffset(start));
    for (const GpsFix& fix : start.fixes) {
        writer.KmlLinePoint(fix.latitude, fix.longitude, fix.altitude + offset, fix.valid,
                            export_constants::kLineColour, name);
    }
}

void WriteTrackDocument(const StartRecord& start, const std::string& name, KmlWriter& writer)
{
    const std::deque<GpsFix>& fixes = start.fixes;
    const GpsFix& first = fixes.front();
    const std::vector<CalendarSeconds> times = TrackPointTimes(start.startTime, fixes);
    writer.KmlTrackBegin(first.latitude, first.longitude, first.altitude,
                         export_constants::kTrackColour, times.front(), times.back(), name);
    for (const CalendarSeconds time : times)
        writer.KmlTrackWhen(time);
    TrackPositions positions(fixes);
    for (std::size_t i = 0; i < fixes.size(); ++i) {
        const Position p = positions.At(i);
        writer.KmlTrackCoord(p.longitude, p.latitude, fixes[i].altitude);
    }
    writer.KmlTrackBeginAcceleration();
    for (const GpsFix& fix : fixes)
        writer.KmlTrackValue(fix.accZ);
    writer.KmlTrackBeginSpeed();
    for (const GpsFix& fix : fixes)
        writer.KmlTrackValue(fix.ias);
    writer.KmlTrackFinish();
}

}  // namespace

ExportResult ExportCsv(const StartRecord& start, const std::filesystem::path& target)
{
    return ExportCsv(start, target, CsvVariantForPath(target));
}

ExportResult ExportCsv(const StartRecord& start, const std::filesystem::path& target,
                       CsvVariant variant)
{
    AtomicFile file;
    ExportResult result = file.Open(target);
    if (!result.Ok())
        return result;
    WriteCsv(start, variant, file);
    return file.Commit();
}

ExportResult ExportKml(const StartRecord& start, const std::filesystem::path& target, bool extended,
                       KmlWriter& writer)
{
    const std::string name = ProposedFileName(start.startTime);
    ExportResult result = writer.KmlOpen(target);
    if (!result.Ok())
        return result;
    if (!start.fixes.empty()) {
        if (extended) {
            WriteTrackDocument(start, name, writer);
        } else {
            WriteLineDocument(start, name, writer);
            result = writer.KmlLineFinish();
        }
    }
    ExportResult closed = writer.KmlClose();
    return result.Ok() ? closed : result;
}

ExportResult ExportGpx(const StartRecord& start, const std::filesystem::path& target)
{
    AtomicFile file;
    ExportResult result = file.Open(target);
    if (!result.Ok())
        return result;
    WriteGpx(start, file);
    return file.Commit();
}

int AltitudeOffset(const StartRecord& start)
{
    // The first points of a start often have no fix and so no GPS altitude:
    // the offset comes from the eleventh point or the first one after it that has.
    std::size_t index = export_constants::kOffsetPointIndex;
    while (index < start.fixes.size() && !start.fixes[index].valid)
        ++index;
    if (index >= start.fixes.size())
        return 0;
    const GpsFix& fix = start.fixes[index];
    const long long offset = Truncated(fix.gpsAltitude - fix.altitude);
    constexpr long long kMax = 2147483647LL;
    return static_cast<int>(offset > kMax ? kMax : (offset < -kMax ? -kMax : offset));
}

CalendarSeconds TrackPointTime(CalendarSeconds startTime, double utcTimeOfDay)
{
    const CalendarSeconds point = DayStart(startTime) + Truncated(utcTimeOfDay);
    // A flight that goes on past midnight UTC: its later points belong to the next day.
    if (point < startTime - export_constants::kMidnightWrapSeconds) {
        return point + export_constants::kSecondsPerDay;
    }
    return point;
}

std::vector<CalendarSeconds> TrackPointTimes(CalendarSeconds startTime,
                                             const std::deque<GpsFix>& fixes)
{
    using export_constants::kSecondsPerDay;
    std::vector<CalendarSeconds> times;
    times.reserve(fixes.size());
    CalendarSeconds day = DayStart(startTime);  // date of the last point with a time
    std::optional<CalendarSeconds> previous;    // time of the last point with a time
    for (const GpsFix& fix : fixes) {
        const long long seconds = Truncated(fix.utcTime);
        if (!HasTimeOfDay(fix, seconds)) {
            times.push_back(day + seconds);
            continue;
        }
        CalendarSeconds point = 0;
        if (!previous) {
            point = TrackPointTime(startTime, fix.utcTime);
        } else {
            // Of the previous date and the days either side, the one nearest in
            // time to the previous point; on a tie the previous date.
            point = day + seconds;
            for (const long long shift : {-kSecondsPerDay, kSecondsPerDay}) {
                const CalendarSeconds other = day + shift + seconds;
                if (Distance(other, *previous) < Distance(point, *previous))
                    point = other;
            }
        }
        day = point - seconds;
        previous = point;
        times.push_back(point);
    }
    return times;
}

}  // namespace veltrin
