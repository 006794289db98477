#include "export/start_export.h"

#include "data/calendar.h"
#include "data/start_rules.h"
#include "export/atomic_file.h"
#include "export/export_constants.h"
#include "export/proposed_name.h"

#include <cmath>
#include <cstddef>
#include <string>

namespace veltrin {
namespace {

// Whole seconds of a time of day or altitude difference, truncated toward zero;
// values that are not finite or far out of any sensible range give 0 or the limit.
long long Truncated(double value) {
    constexpr double kLimit = 1e12;
    if (std::isnan(value)) return 0;
    if (value > kLimit) return static_cast<long long>(kLimit);
    if (value < -kLimit) return static_cast<long long>(-kLimit);
    return static_cast<long long>(value);
}

// Positions of all track points in order, as PositionAt gives them, in one pass:
// a point with fix keeps its own, a point between two fixes is interpolated by
// time of day, a run before the first or after the last fix takes that fix's.
class TrackPositions {
public:
    explicit TrackPositions(const std::deque<GpsFix>& fixes) : fixes_(fixes) {}

    Position At(std::size_t k) {
        const GpsFix& fix = fixes_[k];
        if (fix.valid) {
            before_ = static_cast<std::ptrdiff_t>(k);
            return {fix.latitude, fix.longitude};
        }
        if (after_ <= static_cast<std::ptrdiff_t>(k)) after_ = NextValid(k);
        const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(fixes_.size());
        if (before_ < 0 && after_ >= n) return {};
        if (before_ < 0) return Own(after_);
        if (after_ >= n) return Own(before_);
        const GpsFix& b = fixes_[static_cast<std::size_t>(before_)];
        const GpsFix& a = fixes_[static_cast<std::size_t>(after_)];
        const double span = a.utcTime - b.utcTime;
        const double m = (fix.utcTime - b.utcTime) / span;
        const Position p{b.latitude + m * (a.latitude - b.latitude), b.longitude + m * (a.longitude - b.longitude)};
        if (!(span > 0.0) || !(m >= 0.0 && m <= 1.0) || !std::isfinite(p.latitude) ||
            !std::isfinite(p.longitude)) {
            // Equal times, a gap across midnight or a position out of range:
            // the data layer decides.
            return PositionAt(fixes_, static_cast<std::ptrdiff_t>(k));
        }
        return p;
    }

private:
    std::ptrdiff_t NextValid(std::size_t k) const {
        std::size_t i = k + 1;
        while (i < fixes_.size() && !fixes_[i].valid) ++i;
        return static_cast<std::ptrdiff_t>(i);
    }
    Position Own(std::ptrdiff_t i) const {
        const GpsFix& fix = fixes_[static_cast<std::size_t>(i)];
        return {fix.latitude, fix.longitude};
    }

    const std::deque<GpsFix>& fixes_;
    std::ptrdiff_t before_ = -1;  // last point with fix before the current one
    std::ptrdiff_t after_ = -1;   // next point with fix after the current run
};

void WriteLineDocument(const StartRecord& start, const std::string& name, KmlWriter& writer) {
    const double offset = static_cast<double>(AltitudeOffset(start));
    for (const GpsFix& fix : start.fixes) {
        writer.KmlLinePoint(fix.latitude, fix.longitude, fix.altitude + offset, fix.valid,
                            export_constants::kLineColour, name);
    }
}

void WriteTrackDocument(const StartRecord& start, const std::string& name, KmlWriter& writer) {
    const std::deque<GpsFix>& fixes = start.fixes;
    const GpsFix& first = fixes.front();
    writer.KmlTrackBegin(first.latitude, first.longitude, first.altitude,
                         export_constants::kTrackColour,
                         TrackPointTime(start.startTime, first.utcTime),
                         TrackPointTime(start.startTime, fixes.back().utcTime), name);
    for (const GpsFix& fix : fixes) writer.KmlTrackWhen(TrackPointTime(start.startTime, fix.utcTime));
    TrackPositions positions(fixes);
    for (std::size_t i = 0; i < fixes.size(); ++i) {
        const Position p = positions.At(i);
        writer.KmlTrackCoord(p.longitude, p.latitude, fixes[i].altitude);
    }
    writer.KmlTrackBeginAcceleration();
    for (const GpsFix& fix : fixes) writer.KmlTrackValue(fix.accZ);
    writer.KmlTrackBeginSpeed();
    for (const GpsFix& fix : fixes) writer.KmlTrackValue(fix.ias);
    writer.KmlTrackFinish();
}

}  // namespace

ExportResult ExportCsv(const StartRecord& start, const std::filesystem::path& target) {
    return ExportCsv(start, target, CsvVariantForPath(target));
}

ExportResult ExportCsv(const StartRecord& start, const std::filesystem::path& target,
                       CsvVariant variant) {
    AtomicFile file;
    ExportResult result = file.Open(target);
    if (!result.ok()) return result;
    WriteCsv(start, variant, file);
    return file.Commit();
}

ExportResult ExportKml(const StartRecord& start, const std::filesystem::path& target,
                       bool extended, KmlWriter& writer) {
    const std::string name = ProposedFileName(start.startTime);
    ExportResult result = writer.KmlOpen(target);
    if (!result.ok()) return result;
    if (!start.fixes.empty()) {
        if (extended) {
            WriteTrackDocument(start, name, writer);
        } else {
            WriteLineDocument(start, name, writer);
            result = writer.KmlLineFinish();
        }
    }
    ExportResult closed = writer.KmlClose();
    return result.ok() ? closed : result;
}

int AltitudeOffset(const StartRecord& start) {
    if (start.fixes.size() <= export_constants::kOffsetPointIndex) return 0;
    const GpsFix& fix = start.fixes[export_constants::kOffsetPointIndex];
    const long long offset = Truncated(fix.gpsAltitude - fix.altitude);
    constexpr long long kMax = 2147483647LL;
    return static_cast<int>(offset > kMax ? kMax : (offset < -kMax ? -kMax : offset));
}

CalendarSeconds TrackPointTime(CalendarSeconds startTime, double utcTimeOfDay) {
    CivilTime time = BreakDownUtc(startTime).value_or(CivilTime{});
    const long long seconds = Truncated(utcTimeOfDay);
    const long long hours = seconds / 3600;
    const long long rest = seconds - hours * 3600;
    time.hour = static_cast<int>(hours);
    time.minute = static_cast<int>(rest / 60);
    time.second = static_cast<int>(rest - (rest / 60) * 60);
    const CalendarSeconds point = ToCalendarSeconds(time);
    // A flight that goes on past midnight UTC: its later points belong to the next day.
    if (point < startTime - export_constants::kMidnightWrapSeconds) {
        return point + export_constants::kSecondsPerDay;
    }
    return point;
}

}  // namespace veltrin
