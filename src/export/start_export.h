#pragma once
// Exporting one start to a file: the steps that the desktop program and the
// command-line tool share. Each export reports whether the file was written.

#include "data/recording.h"
#include "export/csv_writer.h"
#include "export/export_result.h"
#include "export/kml_writer.h"

#include <filesystem>

namespace veltrin {

// Writes the start's samples to `target` in the variant its extension selects.
// On failure an existing target is left untouched.
ExportResult ExportCsv(const StartRecord& start, const std::filesystem::path& target);
ExportResult ExportCsv(const StartRecord& start, const std::filesystem::path& target,
                       CsvVariant variant);

// Writes the start's track to `target` through `writer`: the extended document
// when `extended`, else the plain one. A start without track points leaves an
// empty file. On failure an existing target is left untouched.
ExportResult ExportKml(const StartRecord& start, const std::filesystem::path& target,
                       bool extended, KmlWriter& writer);

// Altitude offset of the plain document: 0 for 10 or fewer track points, else
// the eleventh point's GPS altitude minus its recorder's altitude, truncated.
int AltitudeOffset(const StartRecord& start);

// Time of a track point: the start's UTC date with the point's time of day
// (whole seconds); the next day's date when that would put the point more than
// twelve hours before the start (a flight past midnight UTC).
CalendarSeconds TrackPointTime(CalendarSeconds startTime, double utcTimeOfDay);

}  // namespace veltrin
