#pragma once
// The file name the exports propose for a start, also the placemark name.

#include "data/recording.h"

#include <string>

namespace veltrin {

// "vlt_YYYYMMDD_hhmm" of the start time broken down as UTC, whatever the
// local time zone. A time before 1970 gives the name of 1 January 1970 00:00.
std::string ProposedFileName(CalendarSeconds startTime);

}  // namespace veltrin
