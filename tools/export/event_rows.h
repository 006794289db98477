#pragma once
// The rows of the event list and the exceedance list that "veltrin-export
// events" and "exceedances" write: ";" between fields, decimal commas, the
// start's UTC date and time first and its data file last.

#include "analysis/exceedances.h"
#include "analysis/flight_events.h"
#include "data/recording.h"

#include <string>

namespace veltrin::tool {

inline constexpr const char* kEventsHeader =
    "Date;Start;Event;Time;Duration;MinAccZ;MaxAccZ;MaxIAS;Altitude;File";
inline constexpr const char* kExceedancesHeader = "Date;Start;Kind;Time;Duration;Peak;File";

// One row without line end: the start's date "dd.mm.yyyy" and time "hh:mm:ss",
// `number` (from 1 within the start), time and duration "%0.3f", the load
// extremes "%0.2f", the speed "%0.1f", the altitude "%d", the data file.
std::string EventRow(const StartRecord& start, int number, const FlightEvent& event);

// One row without line end: date, time, "+g", "-g" or "IAS", time and duration
// "%0.3f", the peak "%0.2f" (g) or "%0.1f" (IAS), the data file.
std::string ExceedanceRow(const StartRecord& start, const Exceedance& exceedance);

}  // namespace veltrin::tool
