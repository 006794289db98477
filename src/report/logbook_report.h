#pragma once
// "Flugbuch-Bericht": the logbook of a card, or of the starts of a date
// range, as a table over as many A4 pages as it needs, with a totals row.

#include "analysis/aircraft_limits.h"
#include "analysis/start_summary.h"
#include "data/recording.h"
#include "report/report_document.h"

#include <QString>

#include <optional>
#include <vector>

class QPrinter;

namespace veltrin {

struct LogbookReport {
    std::vector<StartSummary> starts;  // in the order of the table
    QString source;                    // the card's base directory
    // The days shown, as UTC midnights; an open end has none.
    std::optional<CalendarSeconds> fromDay;
    std::optional<CalendarSeconds> toDay;
    // The limits the exceedances were counted against; none: not counted.
    std::optional<AircraftLimits> limits;
};

// True when `startTime` lies on a day from `fromDay` to `toDay` (UTC
// midnights, both days included, either end open).
bool StartInRange(CalendarSeconds startTime, const std::optional<CalendarSeconds>& fromDay,
                  const std::optional<CalendarSeconds>& toDay);

// Writes the report as the PDF file `path` (replaced only when complete).
ReportResult WriteLogbookReport(const LogbookReport& report, const QString& path);
// Prints the report on `printer`.
ReportResult PrintLogbookReport(const LogbookReport& report, QPrinter& printer);

}  // namespace veltrin
