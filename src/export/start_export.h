#pragma once
// Exporting one start to a file: the steps that the desktop program and the
// command-line tool share. Each export reports whether the file was written.

#include "data/recording.h"
#include "export/csv_writer.h"
#include "export/export_result.h"
#include "export/kml_writer.h"

#include <deque>
#include <filesystem>
#include <vector>

namespace veltrin {

// Writes the start's samples to `target` in the variant its extension selects.
// On failure an existing target is left untouched.
ExportResult ExportCsv(const StartRecord& start, const std::filesystem::path& target);
ExportResult ExportCsv(const StartRecord& start, const std::filesystem::path& target,
                       CsvVariant variant);

// Writes the start's track to `target` through `writer`: the extended document
// when `extended`, else the plain one. A start without track points leaves an
// empty file. On failure an existing target is left untouched.
ExportResult ExportKml(const StartRecord& start, const std::filesystem::path& target, bool extended,
                       KmlWriter& writer);

// Writes the start's track to `target` as a GPX document (see gpx_writer.h).
// On failure an existing target is left untouched.
ExportResult ExportGpx(const StartRecord& start, const std::filesystem::path& target);

// Altitude offset of the plain document: the GPS altitude minus the recorder's
// altitude, truncated, of the eleventh track point, or of the first point after
// it with fix when it has none; 0 when no point from the eleventh on has a fix.
int AltitudeOffset(const StartRecord& start);

// Time of the first track point that has a time of day: the start's UTC date
// with the point's whole seconds; the next day's date when that would put the
// point more than twelve hours before the start (a flight past midnight UTC).
CalendarSeconds TrackPointTime(CalendarSeconds startTime, double utcTimeOfDay);

// Times of all track points in order. A point has a time of day when its whole
// seconds lie in 1 to 86,399, or are 0 on a point with fix. The first such point
// is dated by TrackPointTime; each later one takes, of the previous such point's
// date and the days before and after it, the one nearest to that point (the
// previous date on a tie), so that a flight across midnight moves on to the next
// day and one garbled time does not shift the rest. A point without a time of
// day takes its whole seconds from 00:00 of the date of the last point with one,
// or of the start's date before the first.
std::vector<CalendarSeconds> TrackPointTimes(CalendarSeconds startTime,
                                             const std::deque<GpsFix>& fixes);

}  // namespace veltrin
