#pragma once
// "Flugbericht": one start on A4 pages. Its times and data file, its extreme
// values, the three graphs over the whole flight, the V-n diagram, and its
// events and exceedances as tables.

#include "analysis/aircraft_limits.h"
#include "analysis/exceedances.h"
#include "analysis/flight_events.h"
#include "data/recording.h"
#include "report/report_document.h"

#include <QRectF>

#include <functional>
#include <optional>
#include <vector>

class QPainter;
class QPrinter;

namespace veltrin {

// Paints the V-n diagram of the start into the box (pixels of the painter's device).
using VnDiagramPainter = std::function<void(QPainter& painter, const QRectF& box)>;

struct FlightReport {
    const StartRecord* start = nullptr;  // read, with its samples; borrowed
    std::optional<AircraftLimits> limits;
    std::vector<FlightEvent> events;
    std::vector<Exceedance> exceedances;  // empty without limits
    // Draws the V-n diagram section; MakeFlightReport sets it to the start's
    // samples over the limit envelope. Without it the report has none.
    VnDiagramPainter paintVnDiagram;
};

// The report of `start` (read, with its samples): its events, its
// exceedances when `limits` are usable, and its V-n diagram.
FlightReport MakeFlightReport(const StartRecord& start,
                              const std::optional<AircraftLimits>& limits);

// Writes the report as the PDF file `path` (replaced only when complete).
ReportResult WriteFlightReport(const FlightReport& report, const QString& path);
// Prints the report on `printer`.
ReportResult PrintFlightReport(const FlightReport& report, QPrinter& printer);

}  // namespace veltrin
