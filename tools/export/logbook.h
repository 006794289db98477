#pragma once
// The logbook that "veltrin-export all" writes: one row per start, separated
// and with decimal commas like the CSV export.

#include "data/recording.h"
#include "export/output_buffer.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace veltrin::tool {

// "Date;Start;Landing;Duration;MinAccZ;MaxAccZ;MaxIAS;MaxAltitude;Events;File"
inline constexpr const char* kLogbookHeader =
    "Date;Start;Landing;Duration;MinAccZ;MaxAccZ;MaxIAS;MaxAltitude;Events;File";
// The same with the column "Exceedances" after "Events", when limits were given.
inline constexpr const char* kLogbookHeaderWithExceedances =
    "Date;Start;Landing;Duration;MinAccZ;MaxAccZ;MaxIAS;MaxAltitude;Events;Exceedances;File";
inline constexpr const char* kLogbookFileName = "logbook.csv";

// One row without line end: date "dd.mm.yyyy", start and landing "hh:mm:ss"
// (landing and duration empty when the start has no landing or its landing
// sentence holds no real time of day), duration
// "h:mm:ss" (a landing earlier in the day than the start counts as the next
// day), the four extreme values, the number of event marks, the number of
// `exceedances` when given, the data file (quoted when it holds ";" or a quote).
std::string LogbookRow(const StartRecord& start,
                       std::optional<std::size_t> exceedances = std::nullopt);

// The header (with the column "Exceedances" when `withExceedances`) and the
// rows, each ending in CR LF.
void WriteLogbook(const std::vector<std::string>& rows, OutputBuffer& out,
                  bool withExceedances = false);

// Appends `path` as a field, in double quotes (doubled inside) when it holds
// ";", a quote or a line end.
void AppendFileField(std::string& row, const std::string& path);

}  // namespace veltrin::tool
