#pragma once
// The logbook that "veltrin-export all" writes: one row per start, separated
// and with decimal commas like the CSV export.

#include "data/recording.h"
#include "export/output_buffer.h"

#include <string>
#include <vector>

namespace veltrin::tool {

// "Date;Start;Landing;Duration;MinAccZ;MaxAccZ;MaxIAS;MaxAltitude;Events;File"
inline constexpr const char* kLogbookHeader =
    "Date;Start;Landing;Duration;MinAccZ;MaxAccZ;MaxIAS;MaxAltitude;Events;File";
inline constexpr const char* kLogbookFileName = "logbook.csv";

// One row without line end: date "dd.mm.yyyy", start and landing "hh:mm:ss"
// (landing and duration empty when the start has no landing or its landing
// sentence holds no real time of day), duration
// "h:mm:ss" (a landing earlier in the day than the start counts as the next
// day), the four extreme values, the number of event marks, the data file
// (quoted when it holds ";" or a quote).
std::string LogbookRow(const StartRecord& start);

// Header and the rows, each ending in CR LF.
void WriteLogbook(const std::vector<std::string>& rows, OutputBuffer& out);

}  // namespace veltrin::tool
